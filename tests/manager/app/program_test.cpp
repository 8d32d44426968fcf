// The three programs run as a user or a script runs them: options, state file, screenshot, exit code.
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/manager/app/window_fixture.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace window_testing;
using samplecard::RecordingKind;
using testing_support::RunCommand;
using testing_support::ShellQuoted;

struct ProgramRun {
  int status = -1;
  QJsonObject state;
  std::string err;
};

ProgramRun RunProgram(const char* program, const std::string& arguments, const std::string& environment = {}) {
  static testing_support::TempDir work;
  const fs::path statePath = work / "state.json";
  fs::remove(statePath);
  const auto result = RunCommand("cd " + ShellQuoted(work.path().string()) + " && QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 BLACKBOX_TILE_URL=none " +
                                 environment + " " + ShellQuoted(program) + " " + arguments + " --state " +
                                 ShellQuoted(statePath.string()) + " 2>&1");
  ProgramRun run;
  run.status = result.status;
  run.err = result.out;
  std::ifstream file(statePath);
  const std::string text((std::istreambuf_iterator<char>(file)), {});
  run.state = QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
  return run;
}

TEST(Program, PlaysPausesAndReportsItsState) {
  const fs::path card = CopyOfCard("program");
  testing_support::TempDir out;
  const fs::path png = out / "shot.png";
  const int row = RowOf(RecordingKind::Normal);
  const ProgramRun run = RunProgram(KEL2CH_MANAGER_EXE, ShellQuoted(card.string()) + " --row " + std::to_string(row) +
                                                     " --at 1 --pause --screenshot " + ShellQuoted(png.string()));
  ASSERT_EQ(run.status, 0) << run.err;
  const QJsonObject& s = run.state;
  EXPECT_EQ(s["profile"].toString(), "dual");
  EXPECT_EQ(s["title"].toString(), "Kel2CH Manager");
  EXPECT_EQ(s["playState"].toInt(), 2);
  EXPECT_TRUE(s["hasChannel2"].toBool());
  EXPECT_EQ(s["noData"].toInt(), 0);
  // Paused after the seek to 1 s (channel 1 pauses last, so it may have moved on a little).
  EXPECT_GE(s["position"].toDouble(), 9'000'000);
  EXPECT_LT(s["position"].toDouble(), s["duration"].toDouble());
  EXPECT_GE(s["channels"].toArray()[0].toObject()["paintedPosition"].toDouble(), 9'000'000);
  EXPECT_EQ(s["list"].toObject()["count"].toInt(), 6);
  EXPECT_EQ(s["list"].toObject()["currentRow"].toInt(), row);
  EXPECT_EQ(s["list"].toObject()["rows"].toArray()[0].toArray()[1].toString(), "06:10:47");
  EXPECT_EQ(s["labels"].toObject()["1025"].toString(), "GPS >>");
  EXPECT_EQ(s["labelColors"].toObject()["1025"].toString(), "#ff0000");
  EXPECT_TRUE(s["labels"].toObject()["1077"].toString().startsWith("Latitude : "));
  EXPECT_EQ(s["channels"].toArray().size(), 2);
  EXPECT_EQ(s["channels"].toArray()[1].toObject()["engineState"].toInt(), 2);
  EXPECT_EQ(s["videoRect"].toArray(), (QJsonArray{25, 60, 640, 480}));
  EXPECT_TRUE(s["buttons"].toObject().contains("1128"));
  EXPECT_TRUE(s["messages"].toArray().isEmpty());
  const QImage shot(QString::fromStdString(png.string()));
  EXPECT_EQ(shot.size(), QSize(1024, 768));
}

TEST(Program, FailedActionsExitWithTwo) {
  const fs::path card = CopyOfCard("failing");
  ProgramRun run = RunProgram(KEL2CH_MANAGER_EXE, ShellQuoted(card.string()) + " --row 99");
  EXPECT_EQ(run.status, 2);
  EXPECT_FALSE(run.state["failures"].toArray().isEmpty());

  run = RunProgram(KEL2CH_MANAGER_EXE, ShellQuoted(card.string()) + " --row " +
                                           std::to_string(RowOf(RecordingKind::DamagedMovie)));
  EXPECT_EQ(run.status, 2);
  const QJsonArray messages = run.state["messages"].toArray();
  ASSERT_FALSE(messages.isEmpty());
  EXPECT_TRUE(messages.last().toString().endsWith("file open error!"));

  run = RunProgram(KEL2CH_MANAGER_EXE, "/nonexistent/folder");
  EXPECT_EQ(run.status, 2);
}

TEST(Program, OneChannelBuildsHaveNoSwap) {
  const fs::path card = CopyOfCard("brand");
  const ProgramRun run = RunProgram(RYN_MANAGER_EXE, ShellQuoted(card.string()) + " --row " +
                                                  std::to_string(RowOf(RecordingKind::Normal)) + " --swap");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.state["title"].toString(), "Ryn Manager");
  EXPECT_EQ(run.state["playState"].toInt(), 1);
  EXPECT_FALSE(run.state["buttons"].toObject().contains("1128"));
  EXPECT_EQ(run.state["channels"].toArray().size(), 1);
  EXPECT_EQ(run.state["map"].toObject()["page"].toString(), "map.html");
}

TEST(Program, FullScreenOnALargeScreen) {
  testing_support::TempDir dir;
  const auto screens = dir / "screens.json";
  std::ofstream(screens) << R"({"screens":[{"name":"s1","x":0,"y":0,"width":1920,"height":1080,)"
                            R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})";
  const fs::path card = CopyOfCard("fullscreen");
  const ProgramRun run = RunProgram(KEL2CH_MANAGER_EXE,
                             ShellQuoted(card.string()) + " --row " + std::to_string(RowOf(RecordingKind::Normal)) +
                                 " --fullscreen --swap",
                             "QT_QPA_PLATFORM=offscreen:configfile=" + ShellQuoted(screens.string()));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.state["window"].toArray(), (QJsonArray{0, 0, 1920, 1080}));
  EXPECT_TRUE(run.state["fullScreen"].toBool());
  EXPECT_TRUE(run.state["swap"].toBool());
  EXPECT_EQ(run.state["videoRect"].toArray(), (QJsonArray{120, 49, 1680, 945}));
  EXPECT_FALSE(run.state["buttons"].toObject()["1124"].toObject()["visible"].toBool());
  EXPECT_EQ(run.state["buttons"].toObject()["1118"].toObject()["rect"].toArray(), (QJsonArray{935, 1027, 51, 45}));
}

}  // namespace
