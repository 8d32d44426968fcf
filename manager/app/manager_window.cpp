#include "manager/app/manager_window.h"
#include "manager/app/incident_action.h"

#include <QApplication>
#include <QFileDialog>
#include <QIcon>
#include <QLoggingCategory>
#include <QPainter>
#include <QScreen>
#include <QTableView>

#include <filesystem>
#include <utility>

#include "common/gui/message_box.h"
#include "common/gui/utf8_text.h"
#include "common/path_text.h"
#include "manager/app/recording_list_model.h"
#include "manager/display/label.h"
#include "manager/display/map_view.h"
#include "manager/display/rules/recording_track.h"
#include "manager/display/rules/slider_rules.h"
#include "manager/display/rules/video_layout.h"
#include "manager/display/rules/window_layout.h"
#include "manager/display/video_widget.h"
#include "manager/language/lookup_text.h"
#include "manager/library/recording_name.h"
#include "manager/playback/build_graph.h"
#include "manager/playback/transport.h"
#include "manager/recording/structure_check.h"

Q_LOGGING_CATEGORY(lcManagerWindow, "blackbox.manager.window", QtInfoMsg)

namespace app {

using namespace display;

namespace {

using gui::FromUtf8;

// The program's own icon, the one its menu entry shows.
QIcon ProgramIcon(const setup::Profile& profile) {
  if (profile.name == "park") return QIcon(QStringLiteral(":/icons/kel-manager.svg"));
  if (profile.name == "brand") return QIcon(QStringLiteral(":/icons/ryn-manager.svg"));
  return QIcon(QStringLiteral(":/icons/kel2ch-manager.svg"));
}

}  // namespace

ManagerWindow::ManagerWindow(const setup::Profile& profile, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint),
      profile_(profile),
      skin_(profile),
      list_(std::make_unique<library::RecordingList>(*this)),
      transport_(*this, profile.channels),
      opener_(channelEngine_, *this, {profile.channels, profile.runs_structure_check}) {
  setObjectName(QStringLiteral("ManagerWindow"));
  setWindowTitle(FromUtf8(profile_.window_title));
  setWindowIcon(ProgramIcon(profile_));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);

  // Layout: the window centred on the desktop, the controls at their places, the back buffer.
  const QScreen* screen = QGuiApplication::primaryScreen();
  screenRect_ = screen != nullptr ? screen->geometry() : QRect(0, 0, kNormalWidth, kNormalHeight);
  const auto origin = CentredOrigin(screenRect_.width(), screenRect_.height());
  normalOrigin_ = QPoint(screenRect_.x() + origin[0], screenRect_.y() + origin[1]);
  setGeometry(QRect(normalOrigin_, QSize(kNormalWidth, kNormalHeight)));
  backBuffer_ = cleanSkin().copy();
  transport_.fullScreenBar = FullScreenPositionBar(screenRect_.width(), screenRect_.height());
  videoRect_ = kNormalVideoArea;
  CreateControls();
  new IncidentAction(*this);  // a child: its menu, keys and export live as long as the window

  resultBlock_.duration = 0;
  resultBlock_.hasAudioRenderer = 1;
  StartTimers();
  ResetPositionDisplay();
  qApp->installEventFilter(this);
  // GStreamer's registry and the decoders load while the user looks at the list.
  playback::WarmUpInBackground();
}

ManagerWindow::~ManagerWindow() {
  qApp->removeEventFilter(this);
  positionTimer_.stop();
  panelTimer_.stop();
  transport_.StopPlayback();
  // Channel 2 first; each window tears its channel down before it goes.
  for (int channel = 1; channel >= 0; --channel) {
    if (channels_[channel] != nullptr) playback::Teardown(channels_[channel]->video());
  }
  // The video windows outlive this part of the window: they must not wake it any more.
  channels_[kChannel1]->video().notifyWindow = nullptr;
}

// ---- Recording list ----

void ManagerWindow::LoadFolder(const std::string& folder) {
  // An empty folder would become the root of the file system, scanned and cleaned of stubs.
  if (folder.empty()) return;
  list_->LoadFolder(common::WithTrailingSeparator(folder));
}

void ManagerWindow::ClickRow(int row) {
  if (row >= 0 && row < list_->recordingCount()) {
    listView_->selectRow(row);
  } else {
    listView_->clearSelection();
  }
  list_->OnRowClick(row);
  WaitForOpening();
}

void ManagerWindow::StopPlaybackAndClearList() {
  transport_.StopPlayback();
  ReleaseSensorData();
  list_ = std::make_unique<library::RecordingList>(*this);
  model_->SetList(list_.get());
}

void ManagerWindow::SetItemCount(int) { model_->Reset(); }

void ManagerWindow::ShowHotItem(int row) {
  const QModelIndex index = model_->index(row, 0);
  listView_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
  listView_->scrollTo(index);
}

void ManagerWindow::SelectRow(int row) {
  const QModelIndex index = model_->index(row, 0);
  listView_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  listView_->scrollTo(index);
}

std::optional<std::string> ManagerWindow::ChooseFolder(const std::string& initialFolder, const std::string& title) {
  const QString chosen =
      QFileDialog::getExistingDirectory(this, QString::fromStdString(title), QString::fromStdString(initialFolder));
  // A cancelled dialog gives an empty path: nothing was chosen.
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.toStdString();
}

void ManagerWindow::DebugOutput(std::string_view line) {
  qCDebug(lcManagerWindow, "%.*s", static_cast<int>(line.size()), line.data());
}

// ---- Opening a recording ----

void ManagerWindow::OpenRecording(const std::string& path) { opener_.OpenRecording(path); }

void ManagerWindow::PrepareForOpening(const std::string& path) {
  Label(controls::kFileName)->SetText(FromUtf8(FileNameLabelText(common::FileNameOf(path))));
  ResetPositionDisplay();

  const bool hasData = recording::LoadSensorRecord(path, sensor_);
  traces_.Build(sensor_, profile_.gsensor_axes);
  HandTrackToMap();
  if (!fullScreen_) mapView()->setVisible(hasData);
  if (!hasData) {
    // No GPS data: the previous recording's position must not stay on show.
    ApplyGpsPanelChange(ClearedGpsPanel(gpsFlags_));
  }
}

void ManagerWindow::ShowFlags(bool rearFile, int& showChannel1, int& showChannel2) const {
  showChannel1 = fullScreen_ && FullScreenChannel(swap_, rearFile) == kChannel2 ? 0 : 1;
  // Full screen shows one channel; the normal layout both.
  showChannel2 = fullScreen_ ? (showChannel1 == 0 ? 1 : 0) : showChannel1;
}

bool ManagerWindow::IsRegularFile(const std::string& path) const {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

int ManagerWindow::CheckRecordingStructure(const std::string& path) const {
  return recording::CheckRecordingStructure(path);
}

void ManagerWindow::SetWaitCursor(bool on) {
  if (on) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void ManagerWindow::ShowMessage(const std::string& text, const std::string& cause) {
  gui::ShowMessage(this, FromUtf8(cause.empty() ? text : text + "\n" + cause), windowTitle());
}

void ManagerWindow::ChannelOpenEnded(int channel, const ChannelOpened& opened) {
  channelRecords_[channel] = {channel != kChannel1, 1.0, 90, opened.hasAudioRenderer};
  if (channel != kChannel1) return;
  resultBlock_.hasAudioRenderer = opened.hasAudioRenderer;
  transport_.hasAudioRenderer = opened.hasAudioRenderer;
  // The sound state is redrawn.
  for (const Rect& rect : {kNoAudioIcon, kSpeakerIcon, kVolumeArea}) Invalidate(rect);
  if (!opened.built) return;
  resultBlock_.duration = opened.duration;
  sensor_.duration = opened.duration;
  transport_.duration = opened.duration;
}

void ManagerWindow::StartPlaying() {
  // Full screen shows the channel this recording has.
  if (profile_.channels > 1 && fullScreen_) LayoutVideoArea(1);
  transport_.PlayRecording();
  // A new graph starts at the normal rate and volume: keep what the sliders show.
  if (transport_.ratePosition() != kNormalRatePosition) transport_.ApplyRate();
  if (transport_.volumeChosen()) transport_.ApplyVolume();
}

void ManagerWindow::WaitForOpening() {
  while (opener_.inProgress()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void ManagerWindow::OnOpenRequest() {
  openRequestPending_ = false;
  if (list_->currentRecording().empty()) return;
  OpenRecording(list_->currentRecording());
}

void ManagerWindow::HandTrackToMap() { mapView()->SetTrack(RecordingTrack(sensor_)); }

// ---- Graph events ----

void ManagerWindow::PostGraphNotify(std::uint32_t) {
  QMetaObject::invokeMethod(
      this, [this] { playback::PumpGraphEvents(channels_[kChannel1]->video(), this); }, Qt::QueuedConnection);
}

void ManagerWindow::OnGraphEvent(playback::GraphEventCode code, std::intptr_t, std::intptr_t) {
  using playback::GraphEventCode;
  if (code == GraphEventCode::kError) DebugOutput("EC_ERRORABORT\r\n");
  if (code == GraphEventCode::kEndOfStream || code == GraphEventCode::kError) list_->PlayNextRecording();
}

// ---- PlaybackHost ----

bool ManagerWindow::HasCurrentRecording() const {
  return list_->recordingCount() > 0 && !list_->currentRecording().empty();
}

int ManagerWindow::EngineState(int channel) const {
  const VideoWidget* window = VideoWindow(channel);
  return window == nullptr ? 0 : static_cast<int>(window->video().state);
}

void ManagerWindow::Play(int channel) {
  if (VideoWidget* window = VideoWindow(channel)) playback::Play(window->video());
}

void ManagerWindow::Pause(int channel) {
  if (VideoWidget* window = VideoWindow(channel)) playback::Pause(window->video());
}

void ManagerWindow::StopAndTeardown(int channel) {
  opener_.Cancel();  // an open under way ends here too
  if (VideoWidget* window = VideoWindow(channel)) {
    playback::StopAndRewind(window->video());
    playback::Teardown(window->video());
  }
}

void ManagerWindow::SeekTo(int channel, double target) {
  if (VideoWidget* window = VideoWindow(channel)) window->SeekTo(target);
}

void ManagerWindow::StepBack(int channel) {
  if (VideoWidget* window = VideoWindow(channel)) playback::StepBack(window->video());
}

void ManagerWindow::StepForward(int channel) {
  if (VideoWidget* window = VideoWindow(channel)) playback::StepForward(window->video());
}

void ManagerWindow::SetRate(int channel, double rate) {
  if (VideoWidget* window = VideoWindow(channel)) {
    playback::SetRate(window->video(), rate);
    if (window->video().state != playback::EngineState::kNoGraph) channelRecords_[channel].rate = rate;
  }
}

void ManagerWindow::SetVolumePercent(int channel, int percent) {
  if (VideoWidget* window = VideoWindow(channel)) {
    playback::SetVolumePercent(window->video(), percent);
    channelRecords_[channel].volumePercent = percent;
    channelRecords_[channel].muted = percent == 0;
  }
}

void ManagerWindow::SetMuted(int channel, bool muted) {
  if (VideoWidget* window = VideoWindow(channel)) {
    playback::SetMuted(window->video(), muted ? 1 : 0);
    channelRecords_[channel].muted = muted;
    channelRecords_[channel].volumePercent = muted ? 0 : 90;
  }
}

bool ManagerWindow::ReadPosition(std::int64_t* position) { return channels_[kChannel1]->ReadPosition(position); }

void ManagerWindow::PostOpenRequest() {
  openRequestPending_ = true;
  QMetaObject::invokeMethod(
      this, [this] { OnOpenRequest(); }, Qt::QueuedConnection);
}

void ManagerWindow::InvalidateVideoArea() {
  if (fullScreen_) {
    update();
    return;
  }
  Invalidate(kSmallVideoArea);
  Invalidate(kNormalVideoArea);
}

void ManagerWindow::Invalidate(const Rect& rect) { update(rect.left, rect.top, rect.Width(), rect.Height()); }

void ManagerWindow::RestoreFromSkin(const Rect& rect) {
  QPainter painter(&backBuffer_);
  const QRect area(rect.left, rect.top, rect.Width(), rect.Height());
  painter.drawImage(area.topLeft(), cleanSkin(), area);
}

}  // namespace app
