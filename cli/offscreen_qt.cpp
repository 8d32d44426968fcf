#include "cli/offscreen_qt.h"

#include <iostream>

namespace cli {
namespace {

void QtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtDebugMsg || type == QtInfoMsg || message.startsWith(QStringLiteral("QStandardPaths:"))) return;
  std::cerr << "blackbox: " << message.toStdString() << '\n';
}

}  // namespace

std::unique_ptr<QGuiApplication> StartOffscreenQt() {
  qInstallMessageHandler(QtMessages);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "blackbox";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace cli
