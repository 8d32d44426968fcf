// kel-tracker and lumaro-tracker: the same program, built once per profile.
#include <QApplication>
#include <QScreen>
#include <QSplashScreen>
#include <QStyleFactory>
#include <QTimer>
#include <cstdio>

#include "common/gui/automation.h"
#include "common/gui/help_without_display.h"
#include "tracker/app/profile/tracker_profile.h"
#include "tracker/app/window/qt_settings_store.h"
#include "tracker/app/window/skin.h"
#include "tracker/app/window/tracker_options.h"
#include "tracker/app/window/tracker_window.h"

namespace {

#ifdef TRACKER_OLDER_PROFILE
const tracker::TrackerProfile& kProfile = tracker::kOlderProfile;
// The desktop file (and icon) that stands for this build, so a Wayland desktop shows the window
// under the right entry.
constexpr char kDesktopFileName[] = "org.blackbox_dashcam.LumaroTracker";
#else
const tracker::TrackerProfile& kProfile = tracker::kCurrentProfile;
constexpr char kDesktopFileName[] = "org.blackbox_dashcam.KelTracker";
#endif

constexpr int kSplashMs = 2000;

}  // namespace

int main(int argc, char** argv) {
  const gui::ProgramInfo program = tracker::TrackerProgramInfo(kProfile);
  if (const auto answered = gui::AnswerHelpOrVersion(argc, argv, program, tracker::DescribeTrackerOptions))
    return *answered;

  // The map is a web view; QtWebEngine wants this before the application object exists.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  QApplication::setApplicationName(program.name);
  QApplication::setApplicationVersion(program.version);
  QApplication::setDesktopFileName(kDesktopFileName);
  QApplication::setStyle(QStyleFactory::create("Fusion"));

  QCommandLineParser parser;
  tracker::TrackerOptions options;
  QStringList refused;
  QString error;
  if (!tracker::ParseTrackerOptions(parser, program, QApplication::arguments(), options, refused, error)) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
  }

  gui::Automation automation(options.automation);
  for (const QString& reason : refused) automation.Fail(reason);
  tracker::QtSettingsStore settings;
  const QRect screen = application.primaryScreen()->geometry();
  tracker::TrackerWindow window(kProfile, settings, tracker::ChooseLayout(screen.width(), screen.height()));
  window.move(screen.center() - window.rect().center());
  tracker::ScriptedRun run(window, options, automation);
  run.Start();

  if (automation.active()) {
    window.show();
    automation.FinishWhen(
        &window, [&] { return window.State(); }, [&] { return run.Settled(); });
    return application.exec();
  }

  // The splash shows for two seconds (the scan of a path given on the command line has
  // started behind it), then the main window comes up.
  QSplashScreen splash(tracker::SplashPicture(program.name, program.version), Qt::WindowStaysOnTopHint);
  splash.show();
  QTimer::singleShot(kSplashMs, &window, [&] {
    splash.close();
    window.show();
    window.raise();
    window.activateWindow();
  });
  return application.exec();
}
