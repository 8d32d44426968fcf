#pragma once

#include "manager/setup/profile.h"

namespace app {

// The manager program: chooses the language, runs the main window as the one window, performs
// the command line's actions, and ends when the window closes. Run returns the exit code.
class CBlackBoxApp {
 public:
  explicit CBlackBoxApp(const setup::Profile& profile) : profile_(profile) {}
  int Run(int argc, char** argv);

 private:
  const setup::Profile& profile_;
};

}  // namespace app
