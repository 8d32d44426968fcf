// The snapshot, print and setup buttons of the main window, with their dialogs answered by the
// test: which channel lands in which file and slot, and what a stop, a cancel or a format does.
#include <gtest/gtest.h>
#include <QApplication>
#include <QImageReader>
#include <QJsonArray>
#include <QPrinter>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>

#include "common/gui/message_box.h"
#include "manager/display/label.h"
#include "manager/display/map_view.h"
#include "manager/display/rules/button_table.h"
#include "manager/display/video_widget.h"
#include "manager/library/recording_name.h"
#include "manager/setup/dialog/setup_dialog.h"
#include "tests/manager/app/window_fixture.h"
#include "tests/manager/output/print_fixtures.h"
#include "tests/manager/setup/dialog/fake_card_system.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace window_testing;
using app::ManagerWindow;
using samplecard::RecordingKind;
namespace commands = display::commands;
namespace controls = app::controls;

QSize JpegSize(const fs::path& path) { return QImageReader(QString::fromStdString(path.string())).size(); }

int FilesIn(const fs::path& folder) {
  return static_cast<int>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

int EngineState(const ManagerWindow& window, int channel) {
  return static_cast<int>(window.VideoWindow(channel)->video().state);
}

// Opens `row` and waits until its pictures are on screen and the panel has shown a fix.
void OpenWithPanel(ManagerWindow& window, int row, int channels) {
  window.ClickRow(row);
  ASSERT_TRUE(WaitFor([&] {
    for (int channel = 0; channel < channels; ++channel) {
      if (window.VideoWindow(channel)->PaintedFrames() == 0) return false;
    }
    return window.Label(controls::kGpsStatus)->Text() == "GPS >>" && window.panelFix().speed > 0;
  })) << gui::RecordedMessages().join("; ").toStdString();
}

// The save dialog, answered with a file of `folder` and remembering what it proposed.
struct SaveDialog {
  fs::path answer;
  int asked = 0;
  QString proposed;
  output::SnapshotPathChooser Chooser() {
    return [this](QWidget* parent, const QString& name) {
      EXPECT_NE(parent, nullptr);  // owned by the window
      ++asked;
      proposed = name;
      return answer.empty() ? QString() : QString::fromStdString(answer.string());
    };
  }
};

// The print dialog, answered with a PDF printer (or cancelled).
struct PrintDialog {
  fs::path pdf;
  bool accept = true;
  int asked = 0;
  output::PrinterChooser Chooser() {
    return [this](QPrinter& printer, QWidget*) {
      ++asked;
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString(pdf.string()));
      printer.setResolution(150);
      return accept;
    };
  }
};

// Runs `act` on the modal dialog of type T once it is up; counts how many came up.
template <typename T>
void WhenModal(std::function<void(T&)> act, int* shown = nullptr) {
  QTimer::singleShot(0, [act, shown] {
    auto* modal = qobject_cast<T*>(QApplication::activeModalWidget());
    ASSERT_NE(modal, nullptr);
    if (shown != nullptr) ++*shown;
    act(*modal);
  });
}

TEST(WindowCommands, SnapshotSavesEachChannelToItsOwnFile) {
  auto window = MakeWindow(setup::kDualProfile);
  window->LoadFolder(CopyOfCard("snapshot").string());
  const int row = RowOf(RecordingKind::Normal);
  OpenWithPanel(*window, row, 2);
  // The rear camera in the large window changes nothing about the files.
  window->OnCommand(commands::kSwap);

  testing_support::TempDir out;
  SaveDialog save;
  save.answer = out / "x.jpg";
  window->dialogs().snapshotPath = save.Chooser();
  window->OnCommand(commands::kSnapshot);
  ASSERT_EQ(save.asked, 1);
  const std::string stem = fs::path(window->currentRecording()).stem().string();
  EXPECT_TRUE(save.proposed.startsWith(QString::fromStdString(stem + "_"))) << save.proposed.toStdString();
  EXPECT_TRUE(save.proposed.endsWith(".jpg"));
  EXPECT_EQ(JpegSize(out / "x.jpg"), QSize(1280, 720)) << "channel 1, the front camera";
  EXPECT_EQ(JpegSize(out / "x.jpg.drr.jpg"), QSize(640, 480)) << "channel 2, the rear camera";
  // The saved pictures are the ones left on screen; the window still counts as playing.
  EXPECT_EQ(EngineState(*window, 0), 2);
  EXPECT_EQ(EngineState(*window, 1), 2);
  EXPECT_EQ(window->playState(), app::kPlaying);
  EXPECT_TRUE(gui::RecordedMessages().isEmpty());

  // Cancelled: nothing written, the channels play on.
  window->ClickRow(row);
  ASSERT_TRUE(WaitFor([&] { return EngineState(*window, 0) == 3 && EngineState(*window, 1) == 3; }));
  save.answer.clear();
  window->OnCommand(commands::kSnapshot);
  EXPECT_EQ(save.asked, 2);
  EXPECT_EQ(FilesIn(out.path()), 2);
  EXPECT_EQ(EngineState(*window, 0), 3);
  EXPECT_EQ(EngineState(*window, 1), 3);

  // Stopped: no dialog at all.
  window->OnCommand(commands::kStop);
  window->OnCommand(commands::kSnapshot);
  EXPECT_EQ(save.asked, 2);
}

TEST(WindowCommands, OneChannelBuildsSaveOnlyTheChosenFile) {
  auto window = MakeWindow(setup::kBrandProfile);
  window->LoadFolder(CopyOfCard("snapshot-brand").string());
  OpenWithPanel(*window, RowOf(RecordingKind::Normal), 1);
  testing_support::TempDir out;
  SaveDialog save;
  save.answer = out / "one.jpg";
  window->dialogs().snapshotPath = save.Chooser();
  window->OnCommand(commands::kSnapshot);
  EXPECT_EQ(JpegSize(out / "one.jpg"), QSize(1280, 720));
  EXPECT_EQ(FilesIn(out.path()), 1);
}

TEST(WindowCommands, PrintPutsTheLargeWindowsChannelFirstWithThePanelsSpeed) {
  auto window = MakeWindow(setup::kDualProfile);
  window->LoadFolder(CopyOfCard("print").string());
  OpenWithPanel(*window, RowOf(RecordingKind::Normal), 2);
  window->OnCommand(commands::kPause);

  testing_support::TempDir out;
  PrintDialog print;
  print.pdf = out / "front.pdf";
  window->dialogs().printer = print.Chooser();
  window->OnCommand(commands::kPrint);
  ASSERT_EQ(print.asked, 1);
  const std::string front = print_testing::PdfText(print.pdf);
  // The speed line carries the number the panel shows, and the picture under the title is the
  // large window's: the front camera first, then the rear.
  const QString km = window->Label(controls::kSpeed)->Text().section(" : ", 1);
  ASSERT_FALSE(km.isEmpty());
  EXPECT_NE(front.find(km.toStdString() + " "), std::string::npos) << front;
  ASSERT_NE(front.find("1280 x 720"), std::string::npos) << front;
  EXPECT_LT(front.find("1280 x 720"), front.find("640 x 480"));

  window->OnCommand(commands::kSwap);
  print.pdf = out / "rear.pdf";
  window->OnCommand(commands::kPrint);
  const std::string rear = print_testing::PdfText(print.pdf);
  ASSERT_NE(rear.find("640 x 480"), std::string::npos) << rear;
  EXPECT_LT(rear.find("640 x 480"), rear.find("1280 x 720"));

  // Cancelled: no page. Stopped: no dialog.
  print.accept = false;
  print.pdf = out / "cancelled.pdf";
  window->OnCommand(commands::kPrint);
  EXPECT_FALSE(fs::exists(print.pdf));
  window->OnCommand(commands::kStop);
  window->OnCommand(commands::kPrint);
  EXPECT_EQ(print.asked, 3);
}

TEST(WindowCommands, SetupOpensOnTheChosenCardOrNotAtAll) {
  auto window = MakeWindow(setup::kParkProfile);
  const fs::path card = CopyOfCard("setup");
  fs::remove(card / "SETUP/Setup.ini");
  int browsed = 0;
  std::optional<QString> answer = QString::fromStdString(card.string());
  window->dialogs().cardFolder = [&](QWidget*, const QString&, const QString&) {
    ++browsed;
    return answer;
  };

  int shown = 0;
  WhenModal<setup::CSetupDlg>(
      [&](setup::CSetupDlg& dialog) {
        EXPECT_EQ(dialog.parentWidget(), window.get());
        EXPECT_EQ(fs::path(dialog.card_folder()), card / "");
        // The park build's dialog: its parking group is there.
        EXPECT_NE(dialog.Control(1025), nullptr);
        dialog.OnApply();
      },
      &shown);
  window->OnCommand(commands::kSetup);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(browsed, 1);
  EXPECT_NE(testing_support::ReadFile(card / "SETUP/Setup.ini").find("ParkTriggerLevelX"), std::string::npos);

  // A cancelled folder choice: no dialog, nothing written.
  fs::remove(card / "SETUP/Setup.ini");
  answer.reset();
  QTimer guard;  // a dialog that comes up anyway must not hang the test
  QObject::connect(&guard, &QTimer::timeout, [&] {
    if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      ++shown;
      modal->done(QDialog::Rejected);
    }
  });
  guard.start(50);
  window->OnCommand(commands::kSetup);
  EXPECT_EQ(browsed, 2);
  EXPECT_EQ(shown, 1);
  EXPECT_FALSE(fs::exists(card / "SETUP/Setup.ini"));
}

// The format asks the window to let go of the card: both channels stop and the list empties
// before mkfs.fat runs on the (pretend) card behind the chosen folder.
TEST(WindowCommands, FormatFromSetupStopsBothChannelsAndEmptiesTheList) {
  auto window = MakeWindow(setup::kDualProfile);
  const fs::path card = CopyOfCard("format");
  window->LoadFolder(card.string());
  OpenWithPanel(*window, RowOf(RecordingKind::Normal), 2);

  testing_support::TempDir dir;
  const std::string image = (dir / "card.img").string();
  testing_support::MakeFileOfSize(image, 1024ULL * 1024 * 1024);
  setup::testing::FakeCardSystem system;
  system.mounts = std::string(setup::testing::kSystemMounts) + image + " " + card.string() + " vfat rw 0 0\n";
  system.facts[image] = setup::testing::UsbCardReader();
  system.media_folders = {card.parent_path().string()};  // the copies' folder plays /media
  window->dialogs().cardSystem = &system;
  window->dialogs().cardFolder = [&](QWidget*, const QString&, const QString&) {
    return std::optional<QString>(QString::fromStdString(card.string()));
  };

  WhenModal<setup::CSetupDlg>([&](setup::CSetupDlg& dialog) {
    EXPECT_EQ(window->playState(), app::kPlaying);
    gui::ClearRecordedMessages();
    dialog.OnSdFormat();  // the warning is answered OK
    EXPECT_EQ(window->playState(), app::kStopped);
    EXPECT_EQ(EngineState(*window, 0), 0);
    EXPECT_EQ(EngineState(*window, 1), 0);
    EXPECT_EQ(window->recordingList().recordingCount(), 0);
    EXPECT_EQ(window->listView()->model()->rowCount(), 0);
    EXPECT_FALSE(window->mapView()->isVisible());
    dialog.OnCancel();
  });
  window->OnCommand(commands::kSetup);

  ASSERT_EQ(gui::RecordedMessages().size(), 2);
  EXPECT_EQ(gui::RecordedMessages()[1], "The card has been formatted.");
  EXPECT_EQ(system.ProgramsRun(), (std::vector<std::string>{"umount", "mkfs.fat", "mount"}));
  EXPECT_NE(testing_support::RunCommand("file -b " + testing_support::ShellQuoted(image)).out.find("FAT (16 bit)"),
            std::string::npos);
  // Nothing is left to play.
  window->OnCommand(commands::kPlay);
  EXPECT_EQ(window->playState(), app::kStopped);
}

}  // namespace
