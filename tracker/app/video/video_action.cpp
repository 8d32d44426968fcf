#include "tracker/app/video/video_action.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QJsonArray>
#include <QMenu>
#include <QThread>

#include "common/gui/message_box.h"
#include "common/gui/utf8_text.h"
#include "tracker/app/video/video_rules.h"

namespace tracker {
namespace {

using gui::FromUtf8;

QString Moment(std::int64_t seconds) { return QString::fromStdString(timeline::MomentText(seconds)); }

// The map's web view comes and goes with the page; each new one gets our menu instead of the
// browser's.
class MapMenuFilter : public QObject {
 public:
  MapMenuFilter(QWidget& area, std::function<void(QWidget&, const QPoint&)> show)
      : QObject(&area), show_(std::move(show)) {
    area.installEventFilter(this);
    Adopt(area);
    for (QWidget* child : area.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) Adopt(*child);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildPolished) {
      if (auto* widget = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child())) Adopt(*widget);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  void Adopt(QWidget& widget) {
    if (widget.contextMenuPolicy() == Qt::CustomContextMenu) return;
    widget.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&widget, &QWidget::customContextMenuRequested, this,
                     [this, w = &widget](const QPoint& at) { show_(*w, at); });
  }

  std::function<void(QWidget&, const QPoint&)> show_;
};

}  // namespace

VideoAction::VideoAction(QWidget& window, SettingsStore& settings, TrackerProfileId profile, Window access)
    : QObject(&window), window_(window), settings_(settings), profile_(profile), access_(std::move(access)) {
  play_ = new QAction(&window);
  play_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
  play_->setShortcutContext(Qt::WindowShortcut);
  connect(play_, &QAction::triggered, this, [this] {
    const int row = menu_row_;
    menu_row_ = -1;
    Play(row);
  });
  window.addAction(play_);
  choose_ = new QAction(&window);
  connect(choose_, &QAction::triggered, this, &VideoAction::ChooseCard);
  ApplyLanguageTexts();
  if (const auto remembered = settings_.ReadString(kVideoCardKey); remembered && !remembered->empty()) {
    SetCard(QString::fromStdString(*remembered), false);
  }
}

VideoAction::~VideoAction() {
  // The worker only reads the card and its own result; it stops at the next recording.
  cancel_->store(true);
  if (thread_) thread_->wait();
}

QString VideoAction::Text(VideoText text) const { return FromUtf8(VideoTextFor(access_.language(), text)); }

void VideoAction::ApplyLanguageTexts() {
  play_->setText(Text(VideoText::kPlayVideo));
  choose_->setText(Text(VideoText::kChooseCard));
}

void VideoAction::Message(const QString& text) { gui::ShowMessage(&window_, text, play_->text()); }

void VideoAction::OpenedPath(const QString& path, bool is_folder) {
  if (const auto card = CardOfOpenedPath(path.toStdString(), is_folder)) {
    SetCard(QString::fromStdString(*card), false);
  } else if (const auto remembered = settings_.ReadString(kVideoCardKey); remembered && !remembered->empty()) {
    SetCard(QString::fromStdString(*remembered), false);
  }
}

void VideoAction::ChooseCard() {
  const QString chosen = QFileDialog::getExistingDirectory(&window_, Text(VideoText::kChooseCardTitle), card_);
  if (!chosen.isEmpty()) SetCard(chosen, true);
}

void VideoAction::SetCard(const QString& card, bool remember) {
  const QString absolute = QFileInfo(card).absoluteFilePath();
  if (remember) settings_.WriteString(kVideoCardKey, absolute.toStdString());
  if (absolute == card_ && (timeline_ || thread_)) return;
  card_ = absolute;
  timeline_.reset();
  StartBuild();
}

void VideoAction::StartBuild() {
  if (thread_ || card_.isEmpty()) return;
  auto result = std::make_shared<timeline::CardTimeline>();
  const std::string card = card_.toStdString();
  const std::int64_t fallback = access_.display_offset();
  built_fallback_ = fallback;
  thread_ = QThread::create([result, card, fallback, cancel = cancel_] {
    *result = timeline::CardTimeline::Build(card, fallback, cancel.get());
  });
  thread_->setParent(this);
  connect(thread_, &QThread::finished, this, [this, result, card] {
    thread_->deleteLater();
    thread_ = nullptr;
    // The card changed while this one was read: read the new one.
    if (card != card_.toStdString()) {
      StartBuild();
      return;
    }
    timeline_ = result;
    BuildDone();
  });
  thread_->start();
}

void VideoAction::BuildDone() {
  // Without Setup.ini the names were read in the window's zone; a zone changed since then
  // needs them read again.
  if (!timeline_->zone().fromCard && built_fallback_ != access_.display_offset()) {
    timeline_.reset();
    StartBuild();
    return;
  }
  // A card without recordings (logs copied off the camera's card, say): the card the user chose.
  if (timeline_->empty()) {
    const auto remembered = settings_.ReadString(kVideoCardKey);
    if (remembered && !remembered->empty() &&
        QFileInfo(QString::fromStdString(*remembered)).absoluteFilePath() != card_) {
      SetCard(QString::fromStdString(*remembered), false);
      return;
    }
  }
  if (const auto moment = std::exchange(pending_, std::nullopt)) Perform(*moment);
}

void VideoAction::Play(int list_row) {
  const std::optional<std::int64_t> moment = access_.moment(list_row);
  if (!moment) {
    Message(Text(VideoText::kNoPoint));
    return;
  }
  if (card_.isEmpty()) {
    Message(Text(VideoText::kNoCard));
    return;
  }
  if (timeline_ && !timeline_->zone().fromCard && built_fallback_ != access_.display_offset()) {
    timeline_.reset();
    StartBuild();
  }
  if (!timeline_) {
    pending_ = moment;
    StartBuild();
    return;
  }
  Perform(*moment);
}

void VideoAction::Perform(std::int64_t moment) {
  const auto matches = timeline_->Find(moment);
  const std::int64_t shown = access_.display_offset();
  if (matches.empty()) {
    if (timeline_->empty()) {
      Message(Text(VideoText::kNoCard));
    } else {
      const timeline::TimelineEntry* nearest = timeline_->Nearest(moment);
      Message(Text(VideoText::kNoRecording).arg(Moment(moment + shown), Moment(nearest->start + shown)));
    }
    return;
  }
  const QString program = FromUtf8(ManagerProgram(profile_, HasRearRecordings(*timeline_)));
  QStringList arguments;
  for (const std::string& argument : ManagerArguments(card_.toStdString(), matches.front())) {
    arguments.append(QString::fromStdString(argument));
  }
  last_command_ = QStringList{program} + arguments;
  if (!launcher_->Launch(program, arguments)) {
    Message(Text(VideoText::kCannotStart).arg(program));
    return;
  }
  emit Launched(program, arguments);
}

void VideoAction::ShowMenu(QWidget& owner, const QPoint& position, int list_row) {
  if (last_menu_) last_menu_->close();
  auto* menu = new QMenu(&window_);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  // The menu's Play video acts on the row it was opened on; the shortcut on the replay point.
  QAction* play = menu->addAction(play_->text());
  connect(play, &QAction::triggered, this, [this, list_row] { Play(list_row); });
  menu->addSeparator();
  menu->addAction(choose_);
  last_menu_ = menu;
  menu->popup(owner.mapToGlobal(position));
}

void VideoAction::AttachTo(QWidget& map_area, QAbstractItemView& list) {
  new MapMenuFilter(map_area, [this](QWidget& owner, const QPoint& at) { ShowMenu(owner, at, -1); });
  // A scroll area takes its viewport's menu requests and reports them in viewport coordinates.
  list.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&list, &QWidget::customContextMenuRequested, this, [this, &list](const QPoint& at) {
    const QModelIndex index = list.indexAt(at);
    if (!index.isValid()) return;
    ShowMenu(*list.viewport(), at, index.row());
  });
}

QJsonObject VideoAction::State() const {
  QJsonObject state;
  state["card"] = card_.isEmpty() ? QJsonValue() : QJsonValue(card_);
  state["reading"] = Busy();
  state["recordings"] = timeline_ ? static_cast<qint64>(timeline_->entries().size()) : 0;
  state["cameraZoneFromCard"] = timeline_ && timeline_->zone().fromCard;
  QJsonValue match;
  QJsonValue nearest;
  const std::optional<std::int64_t> moment = access_.moment(-1);
  if (moment) state["momentUtc"] = Moment(*moment);
  if (timeline_ && moment) {
    const auto matches = timeline_->Find(*moment);
    if (!matches.empty()) {
      const timeline::TimelineMatch& first = matches.front();
      match = QJsonObject{{"path", QString::fromStdString(first.entry->path)},
                          {"cause", FromUtf8(first.entry->cause)},
                          {"offset", static_cast<double>(first.offset) / 1e7},
                          {"startUtc", Moment(first.entry->start)}};
    } else if (const timeline::TimelineEntry* entry = timeline_->Nearest(*moment)) {
      nearest = QJsonObject{{"path", QString::fromStdString(entry->path)}, {"startUtc", Moment(entry->start)}};
    }
  }
  state["match"] = match;
  state["nearest"] = nearest;
  state["lastCommand"] = last_command_.isEmpty() ? QJsonValue() : QJsonValue(QJsonArray::fromStringList(last_command_));
  return state;
}

}  // namespace tracker
