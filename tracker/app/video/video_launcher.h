#pragma once

#include <QString>
#include <QStringList>

namespace tracker {

// Starts another program without waiting for it; tests record what would have run.
class VideoLauncher {
 public:
  virtual ~VideoLauncher() = default;
  virtual bool Launch(const QString& program, const QStringList& arguments) = 0;
};

// The manager programs lie next to the tracker when installed together or built in one tree;
// elsewhere they are looked up on PATH.
class ProcessLauncher : public VideoLauncher {
 public:
  bool Launch(const QString& program, const QStringList& arguments) override;
};

}  // namespace tracker
