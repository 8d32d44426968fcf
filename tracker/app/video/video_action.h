#pragma once

#include <QAction>
#include <QJsonObject>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "manager/timeline/card_timeline.h"
#include "tracker/app/profile/tracker_profile.h"
#include "tracker/app/settings/settings_store.h"
#include "tracker/app/video/video_launcher.h"
#include "tracker/app/video/video_texts.h"

class QAbstractItemView;
class QThread;
class QWidget;

namespace tracker {

// "Play video": opens the manager on the recording of a moment of the track. It knows the card
// the GPS logs came from (or the one the user chose once), reads the card's recordings on a
// worker thread once per card, and turns a point of the track into the manager's command line.
class VideoAction : public QObject {
  Q_OBJECT
 public:
  struct Window {
    // The moment (UTC seconds) of a list row's point: the current replay point for the row on
    // the map, else the row's first point; -1 asks for the current replay point, whatever row.
    std::function<std::optional<std::int64_t>(int list_row)> moment;
    // Seconds the window adds to UTC: how its times are shown, and the camera's zone when the
    // card has no Setup.ini.
    std::function<std::int64_t()> display_offset;
    std::function<int()> language;
  };

  VideoAction(QWidget& window, SettingsStore& settings, TrackerProfileId profile, Window access);
  ~VideoAction() override;

  // Tests put a fake here; the default starts processes.
  void SetLauncher(VideoLauncher* launcher) { launcher_ = launcher ? launcher : &process_launcher_; }

  // The window opened `path` and it gave rows: the card it lies on, else the remembered card.
  void OpenedPath(const QString& path, bool is_folder);
  // The user's own card folder, remembered for folders that lie on no card.
  void ChooseCard();
  void SetCard(const QString& card, bool remember);

  // The action itself, for a list row's point (-1: the current replay point).
  void Play(int list_row = -1);

  // Context menus on the map area and the row list, and the shortcut on the window.
  void AttachTo(QWidget& map_area, QAbstractItemView& list);
  void ApplyLanguageTexts();

  QAction* playAction() const { return play_; }
  QAction* chooseAction() const { return choose_; }
  QMenu* lastMenu() const { return last_menu_; }
  const QString& card() const { return card_; }
  // The card's recordings are being read.
  bool Busy() const { return thread_ != nullptr; }
  // The --state "video" object: the card, its recordings, the match of the current replay point
  // and the last command started.
  QJsonObject State() const;

 signals:
  void Launched(const QString& program, const QStringList& arguments);

 private:
  void StartBuild();
  void BuildDone();
  void Perform(std::int64_t moment);
  void ShowMenu(QWidget& owner, const QPoint& position, int list_row);
  QString Text(VideoText text) const;
  void Message(const QString& text);

  QWidget& window_;
  SettingsStore& settings_;
  TrackerProfileId profile_;
  Window access_;
  ProcessLauncher process_launcher_;
  VideoLauncher* launcher_ = &process_launcher_;
  QAction* play_ = nullptr;
  QAction* choose_ = nullptr;
  QPointer<QMenu> last_menu_;

  QString card_;
  std::shared_ptr<const timeline::CardTimeline> timeline_;  // of card_, once read
  std::int64_t built_fallback_ = 0;
  QThread* thread_ = nullptr;
  std::shared_ptr<std::atomic<bool>> cancel_ = std::make_shared<std::atomic<bool>>(false);
  std::optional<std::int64_t> pending_;  // a moment asked for while the card was being read
  int menu_row_ = -1;
  QStringList last_command_;
};

}  // namespace tracker
