#include "manager/app/black_box_app.h"

#include <QApplication>
#include <QTimer>

#include <clocale>
#include <cstdio>

#include "common/gui/automation.h"
#include "manager/app/language_choice.h"
#include "manager/app/manager_options.h"
#include "manager/app/manager_window.h"
#include "manager/language/language.h"
#include "manager/language/lookup_text.h"

namespace app {

namespace {

// The desktop file (and icon) that stands for this build, so a Wayland desktop shows the window
// under the right menu entry.
QString DesktopFileName(const setup::Profile& profile) {
  if (profile.name == "park") return QStringLiteral("org.blackbox_dashcam.KelManager");
  if (profile.name == "brand") return QStringLiteral("org.blackbox_dashcam.RynManager");
  return QStringLiteral("org.blackbox_dashcam.Kel2CHManager");
}

}  // namespace

int CBlackBoxApp::Run(int argc, char** argv) {
  const gui::ProgramInfo program = ManagerProgramInfo(profile_);
  if (const auto answered = gui::AnswerHelpOrVersion(argc, argv, program, DescribeManagerOptions)) return *answered;

  // The map is a web view, which shares its GL context with the window's.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  // Qt took the user's locale for everything; numbers in texts and files stay in the C form.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(program.name);
  QApplication::setApplicationVersion(program.version);
  QApplication::setDesktopFileName(DesktopFileName(profile_));

  QCommandLineParser parser;
  ManagerOptions options;
  QString error;
  if (!ParseManagerOptions(parser, program, QApplication::arguments(), options, error)) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 2;
  }

  language::SetCurrentLanguageTable(
      language::LanguageTable(StartLanguageName(profile_, language::SystemLocale()),
                              language::LanguageFilePath(language::ProgramPath(), profile_.language_file_name)));

  gui::Automation automation(options.automation);
  ManagerWindow window(profile_);
  QObject::connect(&window, &QDialog::finished, &application, [] { QCoreApplication::exit(0); });
  window.show();

  // The actions run once the window is up, as a user's clicks would.
  QTimer::singleShot(0, &window, [&] {
    const std::int64_t shown = PerformActions(window, options, automation);
    const auto settled = [&window, shown] { return window.Settled(shown); };
    const auto finish = [&, settled] {
      if (automation.active())
        automation.FinishWhen(
            &window, [&] { return window.StateJson(); }, settled);
    };
    if (!HasOutputActions(options)) {
      finish();
      return;
    }
    WhenSettled(&window, settled, [&, finish] {
      PerformOutputActions(window, options, automation);
      finish();
    });
  });
  return QApplication::exec();
}

}  // namespace app
