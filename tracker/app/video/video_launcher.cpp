#include "tracker/app/video/video_launcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace tracker {

bool ProcessLauncher::Launch(const QString& program, const QStringList& arguments) {
  const QDir here(QCoreApplication::applicationDirPath());
  QString path = program;
  for (const QString& candidate :
       {here.filePath(program), here.filePath(QStringLiteral("../../manager/app/") + program)}) {
    if (QFileInfo(candidate).isExecutable()) {
      path = QFileInfo(candidate).canonicalFilePath();
      break;
    }
  }
  return QProcess::startDetached(path, arguments);
}

}  // namespace tracker
