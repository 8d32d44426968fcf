#pragma once

#include <functional>
#include <string>

namespace reliability_test {

// How a piece of work run in a child process ended. The child is stopped by SIGALRM when it
// runs past its time, so a hang fails the test instead of blocking the run.
struct ChildOutcome {
  bool finished = false;  // exited on its own
  int code = -1;          // exit code when it finished
  int signal = 0;         // the signal that ended it otherwise (SIGALRM: it hung)
  long peakKiB = 0;       // the child's peak resident memory
  double seconds = 0;     // wall time, for the report only

  std::string Describe() const;
};

// Runs `body` in a forked child, which exits with `body`'s result (0..255).
ChildOutcome RunInChild(const std::function<int()>& body, unsigned seconds);

// Runs a shell command with a time limit; its exit status (124 when it hung), output and time.
struct CommandOutcome {
  int status = -1;
  std::string out;
  std::string err;
  double seconds = 0;
};
CommandOutcome RunWithTimeLimit(const std::string& command, unsigned seconds);

}  // namespace reliability_test
