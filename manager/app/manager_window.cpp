#include "manager/app/manager_window.h"
#include "manager/app/incident_action.h"

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTableView>
#include <QWindow>

#include <filesystem>
#include <utility>

#include "common/gui/message_box.h"
#include "common/gui/utf8_text.h"
#include "common/path_text.h"
#include "manager/app/recording_list_model.h"
#include "manager/display/button_table.h"
#include "manager/display/map_view.h"
#include "manager/display/image_button.h"
#include "manager/display/label.h"
#include "manager/display/video_widget.h"
#include "manager/display/palette.h"
#include "manager/display/recording_track.h"
#include "manager/display/slider_rules.h"
#include "manager/display/video_layout.h"
#include "manager/language/lookup_text.h"
#include "manager/library/recording_name.h"
#include "manager/playback/build_graph.h"
#include "manager/playback/transport.h"
#include "manager/recording/structure_check.h"
#include "manager/setup/dialog/setup_command.h"
#include "manager/setup/dialog/setup_dialog.h"

Q_LOGGING_CATEGORY(lcManagerWindow, "blackbox.manager.window", QtInfoMsg)

namespace app {

using namespace display;
namespace keys = language::keys;

namespace {

QColor Colour(std::uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

QFont LabelFont(const char* face, int pixelSize) {
  QFont font(QString::fromLatin1(face));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelSize);
  font.setBold(true);
  return font;
}

using gui::FromUtf8;

// The engine's failures go to a message box with the program's name as its caption.
class WindowMessages : public playback::MessageBox {
 public:
  explicit WindowMessages(QWidget* window) : window_(window) {}
  void ShowMessage(const std::string& text) override {
    gui::ShowMessage(window_, QString::fromStdString(text), window_->windowTitle());
  }

 private:
  QWidget* window_;
};

// The wait cursor while a recording opens; turned off before any message box.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { Off(); }
  void Off() {
    if (!on_) return;
    on_ = false;
    QApplication::restoreOverrideCursor();
  }

 private:
  bool on_ = true;
};

// The speaker icons and the volume bar, redrawn when a channel's sound may have changed.
constexpr Rect kNoAudioIcon{445, 654, 460, 667};
constexpr Rect kSpeakerIcon{466, 654, 481, 666};
constexpr Rect kVolumeArea{488, 655, 653, 667};

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
      transport_(*this, profile.channels) {
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

void ManagerWindow::CreateControls() {
  for (const ImageButtonSpec& spec : kImageButtons) {
    if (spec.id < profile_.first_command_id || spec.id > profile_.last_command_id) continue;
    if (spec.id == commands::kSwap && !profile_.has_channel_swap) continue;
    auto* button = new ImageButton(spec, skin_.Bitmap(spec.bitmap), this);
    connect(button, &QAbstractButton::clicked, this, [this, id = spec.id] { OnCommand(id); });
    buttons_[spec.id] = button;
  }

  model_ = new RecordingListModel(this);
  model_->SetList(list_.get());
  listView_ = new QTableView(this);
  listView_->setObjectName(QString::number(controls::kRecordingList));
  listView_->setModel(model_);
  listView_->setGeometry(675, 98, 328, 144);
  listView_->horizontalHeader()->hide();
  listView_->verticalHeader()->hide();
  listView_->horizontalHeader()->setDefaultSectionSize(100);
  // The last column takes the rest, so a selected row is highlighted across the whole list.
  listView_->horizontalHeader()->setStretchLastSection(true);
  listView_->verticalHeader()->setDefaultSectionSize(18);
  listView_->setShowGrid(false);
  listView_->setSelectionBehavior(QAbstractItemView::SelectRows);
  listView_->setSelectionMode(QAbstractItemView::SingleSelection);
  listView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  listView_->setFrameShape(QFrame::NoFrame);
  listView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  listView_->setWordWrap(false);
  QFont listFont = listView_->font();
  listFont.setPixelSize(12);
  listView_->setFont(listFont);
  listView_->setStyleSheet(QStringLiteral(
      "QTableView { background: #3f3f3f; color: #a2a2a2; selection-background-color: #3d8bfd;"
      " selection-color: #ffffff; outline: 0; }"
      "QScrollBar:vertical { background: #2c2c2c; width: 10px; margin: 0; }"
      "QScrollBar::handle:vertical { background: #5a626c; min-height: 20px; border-radius: 4px; margin: 1px; }"
      "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
      "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }"));
  // The list's clicks reach eventFilter through the application-wide filter the constructor
  // installs; a filter of its own as well would see every click twice and open the row twice.

  const QFont caption = LabelFont("Arial", 12);
  const QFont data = LabelFont("Arial", 10);
  const QColor dataBackground = Colour(palette::kDataLabelBackground);
  CreateLabel(controls::kListCaption, caption, std::nullopt, Rect::FromSize(677, 60, 200, 20),
              FromUtf8(language::LookupText(keys::kFileList)));
  CreateLabel(controls::kDateCaption, caption, std::nullopt, Rect::FromSize(720, 80, 107, 20),
              FromUtf8(language::LookupText(keys::kDate)));
  CreateLabel(controls::kTimeCaption, caption, std::nullopt, Rect::FromSize(817, 80, 95, 20),
              FromUtf8(language::LookupText(keys::kTime)));
  CreateLabel(controls::kCauseCaption, caption, std::nullopt, Rect::FromSize(905, 80, 105, 20),
              FromUtf8(language::LookupText(keys::kDescription)));
  CreateLabel(controls::kVersion, caption, std::nullopt, Rect::FromSize(30, 725, 200, 20),
              FromUtf8(language::LookupText(keys::kManagerVersion.key, setup::VersionLabelDefault(profile_))));
  CreateLabel(controls::kGpsStatus, LabelFont("_sans", 12), std::nullopt, Rect::FromSize(370, 669, 70, 12), {});
  CreateLabel(controls::kFileName, data, dataBackground, Rect::FromSize(460, 550, 200, 24), {});
  CreateLabel(controls::kSpeed, data, dataBackground, Rect::FromSize(460, 577, 100, 16), {});
  CreateLabel(controls::kSpeedMiles, data, dataBackground, Rect::FromSize(560, 577, 100, 16), {});
  CreateLabel(controls::kLatitude, data, dataBackground, Rect::FromSize(460, 594, 200, 16), {});
  CreateLabel(controls::kLongitude, data, dataBackground, Rect::FromSize(460, 611, 200, 16), {});

  // Channel 1 in the large window: it reports its graph events to this window.
  auto* large = new VideoWidget(controls::kLargeVideo, this);
  large->setGeometry(25, 60, 640, 480);
  large->SetIdleBackground(&cleanSkin());
  playback::AttachWindow(large->video(), large);
  large->video().notifyWindow = this;
  large->video().notifyMessage = playback::kGraphNotifyMessage;
  channelSettings_[kChannel1].channelNumber = 1;
  channelSettings_[kChannel1].eventsOn = 1;
  channels_[kChannel1] = large;
  if (profile_.channels > 1) {
    auto* small = new VideoWidget(controls::kSmallVideo, this);
    small->setGeometry(679, 252, 320, 240);
    small->SetIdleBackground(&cleanSkin());
    playback::AttachWindow(small->video(), small);
    channelSettings_[kChannel2].channelNumber = 2;
    channels_[kChannel2] = small;
    if (auto* swap = Button(commands::kSwap)) swap->raise();
  }

}

MapView* ManagerWindow::mapView() {
  if (map_ == nullptr) {
    map_ = new MapView(profile_, this);
    map_->hide();
  }
  return map_;
}

void ManagerWindow::CreateLabel(int id, const QFont& font, std::optional<QColor> background, Rect place,
                               const QString& text) {
  auto* label = new CLabel(id, this);
  label->SetLabelFont(font);
  label->SetTextColour(Qt::white);
  label->SetBackground(background);
  label->setGeometry(place.left, place.top, place.Width(), place.Height());
  label->SetText(text);
  labels_[id] = label;
}

void ManagerWindow::StartTimers() {
  positionTimer_.setObjectName(QString::number(kPositionTimerId));
  panelTimer_.setObjectName(QString::number(kPanelTimerId));
  connect(&positionTimer_, &QTimer::timeout, this, [this] { OnTimer(kPositionTimerId); });
  connect(&panelTimer_, &QTimer::timeout, this, [this] { OnTimer(kPanelTimerId); });
  positionTimer_.start(kPositionTimerMs);
  panelTimer_.start(kPanelTimerMs);
  for (const QTimer* timer : {&positionTimer_, &panelTimer_}) {
    if (!timer->isActive()) gui::ShowMessage(this, QStringLiteral("ERROR: Failed to set timer!"), windowTitle());
  }
}

CLabel* ManagerWindow::Label(int id) const {
  const auto it = labels_.find(id);
  return it == labels_.end() ? nullptr : it->second;
}

ImageButton* ManagerWindow::Button(int id) const {
  const auto it = buttons_.find(id);
  return it == buttons_.end() ? nullptr : it->second;
}

VideoWidget* ManagerWindow::VideoWindow(int channel) const {
  if (channel < 0 || channel >= static_cast<int>(channels_.size())) return nullptr;
  return channels_[channel];
}

playback::VideoFramePtr ManagerWindow::CurrentFrame(int channel) const {
  const VideoWidget* window = VideoWindow(channel);
  if (window == nullptr || window->video().state == playback::EngineState::kNoGraph) return nullptr;
  return playback::CurrentFrame(window->video());
}

// ---- Commands ----

bool ManagerWindow::OnCommand(int id) {
  if (id < profile_.first_command_id || id > profile_.last_command_id) return false;
  switch (id) {
    case commands::kFullScreen: ToggleFullScreen(); return true;
    case commands::kMinimize: showMinimized(); return true;
    case commands::kClose: accept(); return true;
    case commands::kStepForward: transport_.StepForward(); return true;
    case commands::kNext: list_->PlayNextRecording(); return true;
    case commands::kPause: transport_.TogglePause(); return true;
    case commands::kPlay: transport_.PlayRecording(); return true;
    case commands::kStepBack: transport_.StepBack(); return true;
    case commands::kPrevious: list_->PlayPreviousRecording(); return true;
    case commands::kStop: transport_.StopPlayback(); return true;
    case commands::kFolder: list_->OnFolderCommand(); return true;
    case commands::kSnapshot:
      if (transport_.playState() != kStopped) OnSnapshotCommand();
      return true;
    case commands::kPrint: OnPrintCommand(); return true;
    case commands::kSetup: OnSetupCommand(); return true;
    case commands::kSwap:
      if (!profile_.has_channel_swap) return false;
      SwapChannels();
      return true;
    default: return false;
  }
}

// ---- Snapshot, print and setup ----

output::FrameOutputContext ManagerWindow::FrameOutput() {
  output::FrameOutputContext context;
  context.profile = &profile_;
  context.window = this;
  for (int channel = 0; channel < static_cast<int>(channels_.size()); ++channel) {
    if (VideoWidget* window = VideoWindow(channel)) context.channels[channel] = &window->video();
  }
  context.largeWindowChannel = LargeWindowChannel();
  context.recordingPath = currentRecording();
  context.sensorRecord = &sensor_;
  context.position = currentPosition();
  context.speedKnots = panelFix_.speed;
  // The dialogs are modal and the timers go on: a recording may end and the next one open, or
  // a stop may come, while the user chooses.
  context.playState = [this] { return static_cast<int>(playState()); };
  context.chooseSnapshotPath = dialogs_.snapshotPath;
  context.choosePrinter = dialogs_.printer;
  return context;
}

void ManagerWindow::OnSnapshotCommand() { output::TakeSnapshot(FrameOutput()); }

void ManagerWindow::OnPrintCommand() { output::PrintFrame(FrameOutput()); }

void ManagerWindow::OnSetupCommand() { setup::RunSetupCommand(profile_, *this, this); }

setup::CSetupDlg* ManagerWindow::OpenSetup(const QString& cardFolder) {
  if (setupDialog_ != nullptr) return nullptr;  // one setup dialog at a time
  setupDialog_ = setup::OpenSetupDialog(profile_, *this, cardFolder, this);
  return setupDialog_;
}

setup::CSetupDlg* ManagerWindow::setupDialog() const { return setupDialog_; }

std::optional<QString> ManagerWindow::BrowseForCardFolder(QWidget* parent, const QString& title,
                                                         const QString& initialFolder) {
  if (dialogs_.cardFolder) return dialogs_.cardFolder(parent, title, initialFolder);
  return SetupHost::BrowseForCardFolder(parent, title, initialFolder);
}

setup::CardSystem& ManagerWindow::Card() {
  return dialogs_.cardSystem != nullptr ? *dialogs_.cardSystem : SetupHost::Card();
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
  listView_->selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  listView_->scrollTo(index);
}

std::optional<std::string> ManagerWindow::ChooseFolder(const std::string& initialFolder, const std::string& title) {
  const QString chosen = QFileDialog::getExistingDirectory(this, QString::fromStdString(title),
                                                           QString::fromStdString(initialFolder));
  // A cancelled dialog gives an empty path: nothing was chosen.
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.toStdString();
}

void ManagerWindow::DebugOutput(std::string_view line) {
  qCDebug(lcManagerWindow, "%.*s", static_cast<int>(line.size()), line.data());
}

// ---- Opening a recording ----

void ManagerWindow::OpenRecording(const std::string& path) {
  ++opensStarted_;
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

  std::error_code rearError;
  const bool rearFile =
      profile_.channels > 1 && std::filesystem::is_regular_file(library::CompanionPath(path), rearError);
  const int showChannel1 = fullScreen_ && FullScreenChannel(swap_, rearFile) == kChannel2 ? 0 : 1;
  // Each channel's build comes back through the event loop: the window answers between the
  // steps of an open instead of stalling for all of them at once.
  openInProgress_ = true;
  ContinueOpening([this, path, showChannel1] { OpenChannel1(path, showChannel1); });
}

void ManagerWindow::ContinueOpening(std::function<void()> step) {
  const int open = opensStarted_;
  // A timer rather than a posted call: posted calls run ahead of timers that are due, and the
  // window's own timers (position, panel, repaint) should get their turn between the steps.
  QTimer::singleShot(1, Qt::PreciseTimer, this, [this, open, step = std::move(step)] {
    // A later open (a click meanwhile) has replaced this one, or Stop has ended it.
    if (open != opensStarted_ || !openInProgress_) return;
    openInProgress_ = false;
    step();
  });
}

void ManagerWindow::OpenChannel1(const std::string& path, int showChannel1) {
  WaitCursor wait;
  WindowMessages messages(this);
  VideoWidget* channel1 = channels_[kChannel1];
  const bool built = playback::BuildGraph(channel1->video(), &resultBlock_, path, 0,
                                          channelSettings_[kChannel1], showChannel1, messages);
  channelRecords_[kChannel1] = {false, 1.0, 90, resultBlock_.hasAudioRenderer};
  transport_.hasAudioRenderer = resultBlock_.hasAudioRenderer;
  if (!built) {
    wait.Off();
    gui::ShowMessage(this, FromUtf8(std::string(common::FileNameOf(path)) + " file open error!"), windowTitle());
  }
  for (const Rect& rect : {kNoAudioIcon, kSpeakerIcon, kVolumeArea}) Invalidate(rect);
  if (!built) return;

  sensor_.duration = resultBlock_.duration;
  transport_.duration = resultBlock_.duration;

  if (profile_.runs_structure_check) {
    const int structure = recording::CheckRecordingStructure(path);
    if (structure != recording::kStructureOk && structure != recording::kStructureCannotOpen) {
      wait.Off();
      gui::ShowMessage(this, FromUtf8("File \"" + std::string(common::FileNameOf(path)) + "\" is broken!"),
                       windowTitle());
      return;
    }
  }
  openInProgress_ = true;
  ContinueOpening([this, path, showChannel1] { FinishOpening(path, showChannel1); });
}

void ManagerWindow::FinishOpening(const std::string& path, int showChannel1) {
  // Stop pressed since channel 1 was built has released it.
  if (channels_[kChannel1]->video().state == playback::EngineState::kNoGraph) return;
  if (profile_.channels > 1) {
    const std::string companion = library::CompanionPath(path);
    std::error_code error;
    // Only a file can be a rear recording: a FIFO or folder of that name would block the player.
    transport_.hasChannel2 = std::filesystem::is_regular_file(companion, error);
    VideoWidget* channel2 = channels_[kChannel2];
    if (transport_.hasChannel2) {
      WindowMessages messages(this);
      const int showChannel2 = fullScreen_ ? (showChannel1 == 0 ? 1 : 0) : showChannel1;
      playback::ResultBlock companionResult;
      const bool companionBuilt = playback::BuildGraph(channel2->video(), &companionResult, companion, 1,
                                                       channelSettings_[kChannel2], showChannel2, messages);
      channelRecords_[kChannel2] = {true, 1.0, 90, companionResult.hasAudioRenderer};
      if (!companionBuilt) {
        gui::ShowMessage(this, FromUtf8(std::string(common::FileNameOf(companion)) + " file open error!"),
                         windowTitle());
        return;
      }
    } else {
      // The small window must not go on showing the previous recording's rear camera.
      playback::Teardown(channel2->video());
    }
    // Full screen shows the channel this recording has.
    if (fullScreen_) LayoutVideoArea(1);
  }

  transport_.PlayRecording();
  // A new graph starts at the normal rate and volume: keep what the sliders show.
  if (transport_.ratePosition() != kNormalRatePosition) transport_.ApplyRate();
  if (transport_.volumeChosen()) transport_.ApplyVolume();
}

void ManagerWindow::WaitForOpening() {
  while (openInProgress_) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
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
  openInProgress_ = false;  // an open under way ends here too
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
  QMetaObject::invokeMethod(this, [this] { OnOpenRequest(); }, Qt::QueuedConnection);
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

// ---- Timers ----

void ManagerWindow::OnTimer(int id) {
  if (id == kPanelTimerId) {
    ++panelTicks_;
    OnPanelTimer();
  } else if (id == kPositionTimerId) {
    ++positionTicks_;
    OnPositionTimer();
  }
}

void ManagerWindow::OnPanelTimer() {
  if (transport_.playState() != kStopped && sensor_.noData == 0) UpdateGpsPanel(transport_.position());
}

void ManagerWindow::OnPositionTimer() {
  if (transport_.playState() == kStopped) return;
  transport_.FollowPosition();
  if (!fullScreen_) {
    Invalidate({70, 684, 670, 696});
    // Drawn only in full screen; kept current here for the state report.
    timeText_ = QString::fromStdString(TimeText(transport_.position(), transport_.duration));
  }
  // Without sensor data the full-screen bar and time must still follow the playback.
  if (transport_.playState() == kPlaying && (sensor_.noData == 0 || fullScreen_)) UpdatePositionDisplay();
}

// ---- Input ----

bool ManagerWindow::eventFilter(QObject* watched, QEvent* event) {
  // Enter toggles full screen before any control sees it, so it never presses a button.
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && widget != nullptr &&
        widget->window() == this) {
      ToggleFullScreen();
      return true;
    }
  }
  if (listView_ != nullptr && watched == listView_->viewport()) {
    if (event->type() == QEvent::MouseButtonPress) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::LeftButton) {
        pressedRow_ = listView_->indexAt(mouse->position().toPoint()).row();
        secondClickOfDouble_ = false;
      }
    } else if (event->type() == QEvent::MouseButtonDblClick) {
      // A double click is press, release, press, double click, release: its first release has
      // opened the row already.
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) secondClickOfDouble_ = true;
    } else if (event->type() == QEvent::MouseButtonRelease) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::LeftButton && !std::exchange(secondClickOfDouble_, false)) {
        const int row = pressedRow_;
        // After the list has drawn its new selection.
        QMetaObject::invokeMethod(this, [this, row] { list_->OnRowClick(row); }, Qt::QueuedConnection);
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void ManagerWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QDialog::mousePressEvent(event);
    return;
  }
  const QPoint point = event->position().toPoint();
  if (point.y() < TitleBandHeight()) {
    // The borderless window moves by its top band.
    // Where the window system cannot move it (no window manager), the window follows the mouse itself.
    if (!fullScreen_ && (windowHandle() == nullptr || !windowHandle()->startSystemMove())) {
      titleDragOffset_ = event->globalPosition().toPoint() - pos();
    }
    return;
  }
  if (!transport_.OnPress(point.x(), point.y())) QDialog::mousePressEvent(event);
}

void ManagerWindow::mouseMoveEvent(QMouseEvent* event) {
  if (titleDragOffset_) {
    move(event->globalPosition().toPoint() - *titleDragOffset_);
    return;
  }
  if (transport_.dragging()) {
    transport_.OnDrag(event->position().toPoint().x());
    return;
  }
  QDialog::mouseMoveEvent(event);
}

void ManagerWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && titleDragOffset_) {
    titleDragOffset_.reset();
    return;
  }
  if (event->button() == Qt::LeftButton && transport_.OnRelease()) return;
  QDialog::mouseReleaseEvent(event);
}

void ManagerWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && event->position().toPoint().y() < TitleBandHeight()) {
    titleDragOffset_.reset();
    ToggleFullScreen();
    return;
  }
  // Elsewhere a double click is no second press.
  event->accept();
}

}  // namespace app
