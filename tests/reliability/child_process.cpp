#include "tests/reliability/child_process.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstring>

#include "tests/support/camera_clip.h"

namespace reliability_test {

std::string ChildOutcome::Describe() const {
  if (finished) return "exited with " + std::to_string(code) + " after " + std::to_string(seconds) + " s";
  if (signal == SIGALRM) return "did not finish within its time (a hang)";
  return std::string("killed by ") + ::strsignal(signal);
}

ChildOutcome RunInChild(const std::function<int()>& body, unsigned seconds) {
  const auto started = std::chrono::steady_clock::now();
  const pid_t child = ::fork();
  if (child == 0) {
    ::alarm(seconds);
    ::_exit(body() & 0xff);
  }
  ChildOutcome outcome;
  int status = 0;
  rusage usage{};
  if (child < 0 || ::wait4(child, &status, 0, &usage) != child) return outcome;
  outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  outcome.peakKiB = usage.ru_maxrss;
  outcome.finished = WIFEXITED(status);
  if (outcome.finished) outcome.code = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) outcome.signal = WTERMSIG(status);
  return outcome;
}

CommandOutcome RunWithTimeLimit(const std::string& command, unsigned seconds) {
  const auto started = std::chrono::steady_clock::now();
  const testing_support::CommandResult result = testing_support::RunCommand(
      "timeout -k 5 " + std::to_string(seconds) + " sh -c " + testing_support::ShellQuoted(command));
  CommandOutcome outcome;
  outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  outcome.status = result.status;
  outcome.out = result.out;
  outcome.err = result.err;
  return outcome;
}

}  // namespace reliability_test
