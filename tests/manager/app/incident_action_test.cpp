// Export incident... and the jump to the impact on the main window, driven by real keys and
// clicks: Ctrl+E, the video window's context menu, the progress dialog's Cancel, key I.
#include <gtest/gtest.h>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include "common/gui/message_box.h"
#include "manager/app/incident_action.h"
#include "manager/display/video_widget.h"
#include "tests/manager/app/window_fixture.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace window_testing;
using app::IncidentAction;

// The list row of the card's first event recording: its G record holds the card's impact.
int EventRow() {
  std::vector<std::string> names;
  for (const auto& recording : Card().manifest.recordings) names.push_back(recording.front.filename().string());
  std::sort(names.begin(), names.end());
  for (const auto& recording : Card().manifest.recordings) {
    if (recording.cause != "EVENT" || recording.kind != samplecard::RecordingKind::Normal) continue;
    return static_cast<int>(std::find(names.begin(), names.end(), recording.front.filename().string()) - names.begin());
  }
  return -1;
}

struct Export {
  IncidentAction* action = nullptr;
  fs::path answer;
  QString proposed;
  std::optional<incident::ExportStatus> status;

  explicit Export(app::ManagerWindow& window) : action(window.findChild<IncidentAction*>()) {
    action->chooseFolder = [this](QWidget*, const QString& offered) {
      proposed = offered;
      return QString::fromStdString(answer.string());
    };
    QObject::connect(action, &IncidentAction::exportFinished, action,
                     [this](incident::ExportStatus done, const QString&) { status = done; });
  }
};

std::vector<std::string> Entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(IncidentAction, ExportsTheMomentShownByKeyAndMenu) {
  const auto window = MakeWindow(setup::kDualProfile);
  window->LoadFolder(CopyOfCard("incident").string());
  window->ClickRow(EventRow());
  ASSERT_TRUE(WaitFor([&] { return window->VideoWindow(0)->PaintedFrames() > 0; }));
  window->transport().TogglePause();
  Export exported(*window);
  testing_support::TempDir out;

  // Ctrl+E: the folder is asked for, the export runs, the message names the folder.
  exported.answer = out / "by-key";
  gui::ClearRecordedMessages();
  QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);
  ASSERT_TRUE(WaitFor([&] { return exported.status.has_value(); }));
  EXPECT_EQ(*exported.status, incident::ExportStatus::Ok) << gui::RecordedMessages().join("; ").toStdString();
  EXPECT_TRUE(exported.proposed.contains(QStringLiteral("incident_2024")));
  EXPECT_EQ(Entries(exported.answer), (std::vector<std::string>{"SHA256SUMS", "front.mp4", "gsensor.csv", "page.pdf",
                                                                "rear.mp4", "summary.json", "track.gpx", "track.kml"}));
  EXPECT_EQ(testing_support::RunCommand("cd " + testing_support::ShellQuoted(exported.answer.string()) +
                                        " && sha256sum --quiet -c SHA256SUMS")
                .status,
            0);
  ASSERT_EQ(gui::RecordedMessages().size(), 1);
  EXPECT_TRUE(gui::RecordedMessages().front().contains(QString::fromStdString(exported.answer.string())));

  // The video window's context menu: a right click, then the menu's one item.
  exported.answer = out / "by-menu";
  exported.status.reset();
  QTimer::singleShot(50, [] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->actions().front()->text(), "Export incident...");
    menu->setActiveAction(menu->actions().front());
    QTest::keyClick(menu, Qt::Key_Return);
  });
  // Through the window, as the desktop delivers it, so that Qt makes the context-menu event.
  QTest::mouseClick(window->windowHandle(), Qt::RightButton, {},
                    window->VideoWindow(0)->mapTo(window.get(), QPoint(100, 100)));
  ASSERT_TRUE(WaitFor([&] { return exported.status.has_value(); }));
  EXPECT_EQ(*exported.status, incident::ExportStatus::Ok);
  EXPECT_TRUE(fs::exists(exported.answer / "SHA256SUMS"));

  // The same folder again: it holds files, so the user is asked first; No leaves it alone.
  gui::ClearRecordedMessages();
  gui::SetMessageRecording(true, QMessageBox::No);
  exported.status.reset();
  QApplication::setActiveWindow(window.get());  // the menu had it; the desktop gives it back
  QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);
  EXPECT_FALSE(exported.action->running());
  ASSERT_EQ(gui::RecordedMessages().size(), 1);
  EXPECT_TRUE(gui::RecordedMessages().front().contains(QStringLiteral("already holds files")));
  gui::SetMessageRecording(true, QMessageBox::Yes);
  QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);
  ASSERT_TRUE(WaitFor([&] { return exported.status.has_value(); }));
  EXPECT_EQ(*exported.status, incident::ExportStatus::Ok);
  gui::SetMessageRecording(true);
}

TEST(IncidentAction, CancelLeavesNoFolder) {
  const auto window = MakeWindow(setup::kDualProfile);
  window->LoadFolder(CopyOfCard("incident-cancel").string());
  window->ClickRow(EventRow());
  ASSERT_TRUE(WaitFor([&] { return window->VideoWindow(0)->PaintedFrames() > 0; }));
  Export exported(*window);
  testing_support::TempDir out;
  exported.answer = out / "cancelled";
  QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);
  QProgressDialog* progress = exported.action->progressDialog();
  ASSERT_NE(progress, nullptr);
  QPushButton* cancel = progress->findChild<QPushButton*>();
  ASSERT_NE(cancel, nullptr);
  QTest::mouseClick(cancel, Qt::LeftButton);
  ASSERT_TRUE(WaitFor([&] { return exported.status.has_value(); }));
  EXPECT_EQ(*exported.status, incident::ExportStatus::Cancelled);
  EXPECT_TRUE(Entries(out.path()).empty()) << "neither the folder nor its temporary sibling";
}

TEST(IncidentAction, KeyIJumpsToTheImpact) {
  const auto window = MakeWindow(setup::kDualProfile);
  window->LoadFolder(CopyOfCard("incident-impact").string());
  window->ClickRow(EventRow());
  ASSERT_TRUE(WaitFor([&] { return window->VideoWindow(0)->PaintedFrames() > 0; }));
  window->transport().TogglePause();
  const auto impact = window->findChild<IncidentAction*>()->ImpactPosition();
  ASSERT_TRUE(impact.has_value());
  // The card's jolt lies in the middle second of the recording.
  EXPECT_GT(*impact, window->duration() / 2 - 10'000'000 / 10);
  EXPECT_LT(*impact, window->duration() / 2 + 3 * 10'000'000 / 10);
  QTest::keyClick(window.get(), Qt::Key_I);
  EXPECT_GE(window->currentPosition(), *impact);
  EXPECT_LT(window->currentPosition(), *impact + 10'000'000 / 2);
}

}  // namespace
