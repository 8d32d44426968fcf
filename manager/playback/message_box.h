#pragma once

#include <string>

namespace playback {

// Where the build shows its failures: a modal message box with an OK button in the GUI,
// stderr in the command-line tool.
class MessageBox {
 public:
  virtual ~MessageBox() = default;
  virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace playback
