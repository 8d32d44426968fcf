#include "tests/manager/app/window_fixture.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <vector>

#include "common/gui/message_box.h"
#include "manager/display/video_widget.h"
#include "manager/library/recording_name.h"
#include "tests/support/temp_dir.h"

namespace window_testing {

namespace fs = std::filesystem;

QApplication& Application() {
  static int argc = 1;
  static char name[] = "manager_window_tests";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The map view is a web view: no sandbox as root, no tiles from the network.
  if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  if (qEnvironmentVariableIsEmpty("BLACKBOX_TILE_URL")) qputenv("BLACKBOX_TILE_URL", "none");
  static QApplication* app = [] {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    auto* made = new QApplication(argc, argv);
    static testing_support::TempDir workingFolder;
    fs::current_path(workingFolder.path());
    // The manager remembers folders in the user's config folder: a scratch one here.
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((workingFolder / "config").string()));
    return made;
  }();
  return *app;
}

const SampleCard& Card() {
  static testing_support::TempDir dir;
  static const SampleCard card = [] {
    SampleCard made;
    made.folder = dir / "card";
    made.manifest = samplecard::WriteCard(made.folder, samplecard::PresetOptions(samplecard::Preset::Small));
    return made;
  }();
  return card;
}

fs::path CopyOfCard(const std::string& name) {
  static testing_support::TempDir copies;
  const fs::path target = copies / name;
  fs::remove_all(target);
  fs::copy(Card().folder, target, fs::copy_options::recursive);
  return target;
}

int RowOf(samplecard::RecordingKind kind) {
  std::vector<std::string> names;
  for (const auto& recording : Card().manifest.recordings) names.push_back(recording.front.filename().string());
  std::sort(names.begin(), names.end());
  for (const auto& recording : Card().manifest.recordings) {
    if (recording.kind != kind) continue;
    const auto it = std::find(names.begin(), names.end(), recording.front.filename().string());
    return static_cast<int>(it - names.begin());
  }
  return -1;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > timeout.count()) return false;
    QTest::qWait(10);
  }
  return true;
}

void Pump(std::chrono::milliseconds duration) { QTest::qWait(static_cast<int>(duration.count())); }

std::unique_ptr<app::ManagerWindow> MakeWindow(const setup::Profile& profile) {
  Application();
  gui::SetMessageRecording(true);
  gui::ClearRecordedMessages();
  auto window = std::make_unique<app::ManagerWindow>(profile);
  for (int channel = 0; channel < profile.channels; ++channel) {
    // A silent sink that still counts as an audio output, so the volume slider works.
    window->VideoWindow(channel)->video().filters.audioRenderer = {"audioconvert", "audioresample", "volume",
                                                                   "fakesink"};
  }
  window->show();
  if (!QTest::qWaitForWindowExposed(window.get())) ADD_FAILURE() << "the window was never exposed";
  return window;
}

}  // namespace window_testing
