#pragma once

#include <QString>
#include <filesystem>
#include <optional>

#include "manager/setup/dialog/setup_host.h"
#include "tests/manager/setup/dialog/fake_card_system.h"

namespace setup::testing {

// The main window as the dialog sees it, with the folder browser answered by the test.
class FakeSetupHost final : public SetupHost {
 public:
  explicit FakeSetupHost(std::filesystem::path temp_ms) : temp_ms_(std::move(temp_ms)) {}

  std::optional<QString> answer;  // what the browser returns; nothing: cancelled
  int browsed = 0;
  QString browse_title;
  QString browse_initial;
  int stops = 0;
  FakeCardSystem card;

  void StopPlaybackAndClearList() override { ++stops; }
  std::optional<QString> BrowseForCardFolder(QWidget*, const QString& title, const QString& initial) override {
    ++browsed;
    browse_title = title;
    browse_initial = initial;
    return answer;
  }
  std::filesystem::path TempMsFilePath() const override { return temp_ms_; }
  CardSystem& Card() override { return card; }

 private:
  std::filesystem::path temp_ms_;
};

}  // namespace setup::testing
