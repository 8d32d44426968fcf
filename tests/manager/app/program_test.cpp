// The three programs run as a user or a script runs them: options, state file, screenshot, exit code.
#include <gtest/gtest.h>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <filesystem>
#include <fstream>
#include <sstream>

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
  const auto result = RunCommand(
      "cd " + ShellQuoted(work.path().string()) + " && XDG_CONFIG_HOME=" + ShellQuoted((work / "config").string()) +
      " QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 BLACKBOX_TILE_URL=none " + environment + " " +
      ShellQuoted(program) + " " + arguments + " --state " + ShellQuoted(statePath.string()));
  ProgramRun run;
  run.status = result.status;
  run.err = result.out + result.err;
  std::ifstream file(statePath);
  std::ostringstream text;  // stays empty when the program wrote no state
  text << file.rdbuf();
  run.state = QJsonDocument::fromJson(QByteArray::fromStdString(text.str())).object();
  return run;
}

TEST(Program, PlaysPausesAndReportsItsState) {
  const fs::path card = CopyOfCard("program");
  testing_support::TempDir out;
  const fs::path png = out / "shot.png";
  const int row = RowOf(RecordingKind::Normal);
  const ProgramRun run =
      RunProgram(KEL2CH_MANAGER_EXE, ShellQuoted(card.string()) + " --row " + std::to_string(row) +
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
  // The picture on screen is the picture of the position shown, within a frame (30 fps).
  for (const auto& channel : s["channels"].toArray()) {
    EXPECT_NEAR(channel.toObject()["paintedPosition"].toDouble(), s["position"].toDouble(), 340'000);
  }
  EXPECT_EQ(s["list"].toObject()["count"].toInt(), 6);
  EXPECT_EQ(s["list"].toObject()["currentRow"].toInt(), row);
  EXPECT_EQ(s["list"].toObject()["rows"].toArray()[0].toArray()[1].toString(), "15:10:47");
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

  run = RunProgram(KEL2CH_MANAGER_EXE,
                   ShellQuoted(card.string()) + " --row " + std::to_string(RowOf(RecordingKind::DamagedMovie)));
  EXPECT_EQ(run.status, 2);
  const QJsonArray messages = run.state["messages"].toArray();
  ASSERT_FALSE(messages.isEmpty());
  EXPECT_TRUE(messages.last().toString().endsWith("file open error!"));

  run = RunProgram(KEL2CH_MANAGER_EXE, "/nonexistent/folder");
  EXPECT_EQ(run.status, 2);
}

// What the tracker's "Play video" runs: the card, the recording and the second.
TEST(Program, FileClicksTheRowOfThatRecording) {
  const fs::path card = CopyOfCard("file");
  const int row = RowOf(RecordingKind::RtcdTimeTable);
  const fs::path file = card / Card().manifest.recordings[2].front.lexically_relative(Card().folder);
  ASSERT_EQ(Card().manifest.recordings[2].kind, RecordingKind::RtcdTimeTable);
  ProgramRun run = RunProgram(KEL2CH_MANAGER_EXE,
                              ShellQuoted(card.string()) + " --file " + ShellQuoted(file.string()) + " --at 1 --pause");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.state["list"].toObject()["currentRow"].toInt(), row);
  EXPECT_GE(run.state["position"].toDouble(), 9'000'000);

  // Without a folder, the recording's own; a file that is no row fails.
  run = RunProgram(KEL2CH_MANAGER_EXE, "--file " + ShellQuoted(file.string()));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.state["list"].toObject()["count"].toInt(), 1);
  run = RunProgram(KEL2CH_MANAGER_EXE,
                   ShellQuoted(card.string()) + " --file " + ShellQuoted((card / "nothing.mp4").string()));
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
  EXPECT_EQ(run.state["map"].toObject()["tileSource"].toString(), "none");
}

TEST(Program, FullScreenOnALargeScreen) {
  testing_support::TempDir dir;
  const auto screens = dir / "screens.json";
  std::ofstream(screens) << R"({"screens":[{"name":"s1","x":0,"y":0,"width":1920,"height":1080,)"
                            R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})";
  const fs::path card = CopyOfCard("fullscreen");
  const ProgramRun run = RunProgram(
      KEL2CH_MANAGER_EXE,
      ShellQuoted(card.string()) + " --row " + std::to_string(RowOf(RecordingKind::Normal)) + " --fullscreen --swap",
      "QT_QPA_PLATFORM=offscreen:configfile=" + ShellQuoted(screens.string()));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.state["window"].toArray(), (QJsonArray{0, 0, 1920, 1080}));
  EXPECT_TRUE(run.state["fullScreen"].toBool());
  EXPECT_TRUE(run.state["swap"].toBool());
  EXPECT_EQ(run.state["videoRect"].toArray(), (QJsonArray{120, 49, 1680, 945}));
  EXPECT_FALSE(run.state["buttons"].toObject()["1124"].toObject()["visible"].toBool());
  EXPECT_EQ(run.state["buttons"].toObject()["1118"].toObject()["rect"].toArray(), (QJsonArray{935, 1027, 51, 45}));
}

// Each program as its camera family's column says: one run plays a recording, saves its
// snapshot, (prints it,) and opens the setup dialog on the card.
struct ProgramCase {
  const char* profile;
  const char* exe;
  const char* title;
  const char* version;
  int channels;
  const char* mapPage;
  QJsonArray mapRect;
  bool parkDialog;  // the wide dialog with the parking group and the AV-out list
};

void PrintTo(const ProgramCase& program, std::ostream* out) { *out << program.profile; }

class Programs : public ::testing::TestWithParam<ProgramCase> {};

TEST_P(Programs, FollowTheirProfile) {
  const ProgramCase& program = GetParam();
  const fs::path card = CopyOfCard(std::string("profile-") + program.profile);
  testing_support::TempDir out;
  const fs::path shot = out / "setup.png";
  const fs::path pdf = out / "page.pdf";
  const ProgramRun run =
      RunProgram(program.exe, ShellQuoted(card.string()) + " --row " + std::to_string(RowOf(RecordingKind::Normal)) +
                                  " --at 1 --pause --snapshot " + ShellQuoted((out / "x.jpg").string()) + " --print " +
                                  ShellQuoted(pdf.string()) + " --open-setup " + ShellQuoted(card.string()) +
                                  " --screenshot " + ShellQuoted(shot.string()));
  ASSERT_EQ(run.status, 0) << run.err;
  const QJsonObject& s = run.state;
  EXPECT_EQ(s["profile"].toString(), program.profile);
  EXPECT_EQ(s["title"].toString(), program.title);
  EXPECT_EQ(s["labels"].toObject()["1071"].toString(), program.version);
  EXPECT_EQ(s["channels"].toArray().size(), program.channels);
  const QJsonObject buttons = s["buttons"].toObject();
  EXPECT_EQ(buttons.contains("1128"), program.channels == 2);
  for (const char* id : {"1112", "1118", "1121", "1122", "1123", "1124", "1125"})
    EXPECT_TRUE(buttons.contains(id)) << id;
  EXPECT_EQ(s["map"].toObject()["page"].toString(), program.mapPage);
  EXPECT_EQ(s["map"].toObject()["rect"].toArray(), program.mapRect);

  // One snapshot file per channel.
  EXPECT_TRUE(fs::exists(out / "x.jpg"));
  EXPECT_EQ(fs::exists(out / "x.jpg.drr.jpg"), program.channels == 2);
  // The page has a resolution text under each picture.
  const std::string page = testing_support::RunCommand("pdftotext " + ShellQuoted(pdf.string()) + " -").out;
  EXPECT_NE(page.find("1280 x 720"), std::string::npos) << page;
  EXPECT_EQ(page.find("640 x 480") != std::string::npos, program.channels == 2) << page;

  // The setup dialog of the profile, on the card, and the screenshot is the dialog's.
  const QJsonObject dialog = s["setup"].toObject();
  ASSERT_FALSE(dialog.isEmpty());
  EXPECT_EQ(dialog["title"].toString(), "Setup");
  const QJsonObject controls = dialog["controls"].toObject();
  EXPECT_EQ(controls.contains("1025"), program.parkDialog) << "the parking group";
  EXPECT_EQ(controls.contains("1090"), program.parkDialog) << "the AV-out list";
  const QJsonArray size = dialog["size"].toArray();
  EXPECT_EQ(size[0].toInt() > size[1].toInt() * 2, program.parkDialog) << "458 x 228 against 312 x 236 units";
  EXPECT_EQ(QImage(QString::fromStdString(shot.string())).size(), QSize(size[0].toInt(), size[1].toInt()));
}

INSTANTIATE_TEST_SUITE_P(
    EachFamily, Programs,
    ::testing::Values(
        ProgramCase{
            "dual", KEL2CH_MANAGER_EXE, "Kel2CH Manager", "Ver. 2.2.5.5", 2, "map2.html", {679, 505, 320, 240}, false},
        ProgramCase{
            "park", KEL_MANAGER_EXE, "Kel Manager", "J8 Manager 1.2.1.4", 1, "map.html", {679, 325, 320, 422}, true},
        ProgramCase{
            "brand", RYN_MANAGER_EXE, "Ryn Manager", "Ver. 1.2.5.4", 1, "map.html", {676, 325, 326, 424}, false}),
    [](const auto& test) { return std::string(test.param.profile); });

TEST(Program, OpenSetupOnAFolderWithoutSetupFails) {
  testing_support::TempDir empty;
  const ProgramRun run = RunProgram(KEL_MANAGER_EXE, "--open-setup " + ShellQuoted(empty.path().string()));
  EXPECT_EQ(run.status, 2);
  EXPECT_FALSE(run.state.contains("setup"));
  EXPECT_EQ(run.state["messages"].toArray(), (QJsonArray{"Please select storage card."}));
  EXPECT_FALSE(fs::exists(empty / "SETUP"));
}

}  // namespace
