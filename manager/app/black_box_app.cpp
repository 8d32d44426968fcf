#include "manager/app/black_box_app.h"

#include <QApplication>
#include <QTimer>

#include <clocale>
#include <cstdio>

#include "common/gui/automation.h"
#include "manager/app/black_box_dlg.h"
#include "manager/app/language/language.h"
#include "manager/app/language/lookup_text.h"
#include "manager/app/manager_options.h"

namespace app {

int CBlackBoxApp::Run(int argc, char** argv) {
  // The map is a web view, which shares its GL context with the window's.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication application(argc, argv);
  // Qt took the user's locale for everything; numbers in texts and files stay in the C form.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QString::fromUtf8(profile_.window_title.data(),
                                                     static_cast<qsizetype>(profile_.window_title.size())));
  QApplication::setApplicationVersion(QString::fromStdString(setup::VersionLabelDefault(profile_)));

  QCommandLineParser parser;
  ManagerOptions options;
  QString error;
  if (!ParseManagerOptions(parser, QApplication::arguments(), options, error)) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 2;
  }
  if (parser.isSet(QStringLiteral("help"))) parser.showHelp(0);
  if (parser.isSet(QStringLiteral("version"))) parser.showVersion();

  language::SetCurrentLanguageTable(
      language::LanguageTable::ForUser(language::ProgramPath(), profile_.language_file_name));

  gui::Automation automation(options.automation);
  CBlackBoxDlg window(profile_);
  QObject::connect(&window, &QDialog::finished, &application, [] { QCoreApplication::exit(0); });
  window.show();

  // The actions run once the window is up, as a user's clicks would.
  QTimer::singleShot(0, &window, [&] {
    const std::int64_t shown = PerformActions(window, options, automation);
    if (automation.active()) {
      automation.FinishWhen(
          &window, [&] { return window.StateJson(); }, [&window, shown] { return window.Settled(shown); });
    }
  });
  return QApplication::exec();
}

}  // namespace app
