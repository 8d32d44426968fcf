// Scripted runs: the window and its state reach the files, message boxes are recorded rather
// than shown, and any failed action turns the exit code to 2.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QTimer>

#include "common/gui/automation.h"
#include "common/gui/message_box.h"
#include "tests/support/temp_dir.h"

namespace {

QJsonObject ReadJson(const std::filesystem::path& path) {
  QFile file(QString::fromStdString(path.string()));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  return QJsonDocument::fromJson(file.readAll()).object();
}

class GuiAutomation : public ::testing::Test {
 protected:
  void SetUp() override { gui::ClearRecordedMessages(); }
  void TearDown() override { gui::SetMessageRecording(false); }
  testing_support::TempDir dir;
};

TEST_F(GuiAutomation, WritesScreenshotStateAndRecordedMessagesOnceSettled) {
  const auto png = dir / "shot.png";
  const auto json = dir / "state.json";
  gui::Automation automation({QString::fromStdString(png.string()), QString::fromStdString(json.string())});
  ASSERT_TRUE(gui::MessageRecording());

  QLabel window("hello");
  window.resize(120, 40);
  window.show();
  EXPECT_EQ(gui::ShowMessage(&window, "Cannot open the file."), QMessageBox::Ok);

  bool ready = false;
  QTimer::singleShot(200, [&] { ready = true; });
  int polls = 0;
  automation.FinishWhen(
      &window,
      [] {
        return QJsonObject{{"title", "demo"}};
      },
      [&] {
        ++polls;
        return ready;
      },
      std::chrono::milliseconds(0));
  EXPECT_EQ(qApp->exec(), 0);
  EXPECT_GT(polls, 1);  // it waited for the actions, it did not grab at once

  const QImage image(QString::fromStdString(png.string()));
  EXPECT_EQ(image.size(), QSize(120, 40));
  const QJsonObject state = ReadJson(json);
  EXPECT_EQ(state["title"].toString(), "demo");
  EXPECT_EQ(state["messages"].toArray(), QJsonArray{"Cannot open the file."});
  EXPECT_TRUE(state["failures"].toArray().isEmpty());
}

TEST_F(GuiAutomation, AFailedActionOrATimeoutExitsWithTwo) {
  gui::Automation automation({QString(), QString::fromStdString((dir / "state.json").string())});
  QLabel window("x");
  automation.Fail("row 7 does not exist");
  automation.FinishWhen(&window, {}, {}, std::chrono::milliseconds(0));
  EXPECT_EQ(qApp->exec(), 2);
  EXPECT_EQ(ReadJson(dir / "state.json")["failures"].toArray(), QJsonArray{"row 7 does not exist"});

  gui::Automation never({QString(), QString::fromStdString((dir / "never.json").string())});
  never.FinishWhen(
      &window, {}, [] { return false; }, std::chrono::milliseconds(0), std::chrono::milliseconds(100));
  EXPECT_EQ(qApp->exec(), 2);
}

TEST_F(GuiAutomation, AnUnwritableScreenshotIsAFailure) {
  gui::Automation automation({QString::fromStdString((dir / "missing/folder/shot.png").string()), QString()});
  QLabel window("x");
  window.resize(10, 10);
  EXPECT_EQ(automation.WriteResults(&window, {}), 2);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
