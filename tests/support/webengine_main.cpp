// main() of the test executables that open web views: the application object QtWebEngine
// needs, headless defaults, and GoogleTest.
#include <gtest/gtest.h>
#include <QApplication>
#include <QtGlobal>

int main(int argc, char** argv) {
  // Headless unless told otherwise; the sandbox refuses to start as root.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  QCoreApplication::setApplicationName("webmap-tests");
  QCoreApplication::setApplicationVersion("1.0");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
