#pragma once

#include <QDialog>
#include <QImage>
#include <QJsonObject>
#include <QPointer>
#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "manager/app/channel_engine.h"
#include "manager/app/playback_control.h"
#include "manager/app/recording_opener.h"
#include "manager/display/rules/panel_text.h"
#include "manager/display/rules/window_layout.h"
#include "manager/display/sensor_graph.h"
#include "manager/display/skin.h"
#include "manager/library/recording_list.h"
#include "manager/output/qt/frame_output.h"
#include "manager/playback/build_graph.h"
#include "manager/playback/graph_event.h"
#include "manager/playback/video_frame.h"
#include "manager/recording/sensor_record.h"
#include "manager/setup/dialog/setup_host.h"
#include "manager/setup/profile.h"

class QTableView;

namespace setup {
class CSetupDlg;
}  // namespace setup

namespace display {
class CLabel;
class VideoWidget;
class MapView;
class ImageButton;
}  // namespace display

namespace app {

class RecordingListModel;

// Control ids of the window's labels, list and video windows (in the layout table).
namespace controls = display::controls;

// The timers of the main window.
inline constexpr int kPanelTimerId = 123;     // GPS panel and map, every 500 ms
inline constexpr int kPositionTimerId = 145;  // position bar, graph cursor, time text, every 100 ms
inline constexpr int kPanelTimerMs = 500;
inline constexpr int kPositionTimerMs = 100;

// The dialogs the snapshot, print and setup commands open. An empty member is the desktop's own
// dialog; scripted runs and tests answer them instead.
struct WindowDialogs {
  output::SnapshotPathChooser snapshotPath;  // the save dialog of the snapshot
  output::PrinterChooser printer;            // the print dialog
  // The setup command's card-folder browser (asked again before a format): the chosen folder,
  // or nothing when cancelled.
  std::function<std::optional<QString>(QWidget* parent, const QString& title, const QString& initialFolder)> cardFolder;
  setup::CardSystem* cardSystem = nullptr;  // the mounts and programs a format uses; null: this machine's
};

// The manager's one window: the skinned, borderless player with its recording list, one video
// window per channel, transport buttons, three drawn sliders, the GPS panel, the G-sensor graph
// and the map. The profile decides the title, the channels and the map's place.
class ManagerWindow : public QDialog,
                      public playback::GraphEventCallback,
                      public playback::GraphNotifyTarget,
                      public library::RecordingListView,
                      public PlaybackHost,
                      public OpeningWindow,
                      public setup::SetupHost {
  Q_OBJECT
 public:
  explicit ManagerWindow(const setup::Profile& profile, QWidget* parent = nullptr);
  ~ManagerWindow() override;

  const setup::Profile& profile() const { return profile_; }

  // A command by id, as its button sends it; false for an id this window does not handle.
  bool OnCommand(int id);

  // ---- The recording list ----
  library::RecordingList& recordingList() { return *list_; }
  const library::RecordingList& recordingList() const { return *list_; }
  // Loads a folder as the folder command does once a folder was chosen. An empty path is no
  // choice and changes nothing.
  void LoadFolder(const std::string& folder);
  // A click on a row of the list (-1: beside the rows), returning once its open has finished.
  void ClickRow(int row);
  // Stops and releases both channels and empties the list (before the card is formatted).
  void StopPlaybackAndClearList() override;

  // ---- Playback, for snapshot and print ----
  PlaybackControl& transport() { return transport_; }
  PlayState playState() const { return transport_.playState(); }
  std::int64_t currentPosition() const { return transport_.position(); }
  std::int64_t duration() const { return transport_.duration; }
  bool hasChannel2() const { return transport_.hasChannel2; }
  // The video window of channel 0 (drf_) or 1 (drr_); null for a channel the profile lacks.
  display::VideoWidget* VideoWindow(int channel) const;
  // The picture on screen in that channel; null when it shows none.
  playback::VideoFramePtr CurrentFrame(int channel) const;
  // The channel the large window shows: 0, or 1 after a swap.
  // How many times a recording was opened: one per click or double click on a row.
  int opensStarted() const { return opener_.opensStarted(); }
  bool openInProgress() const { return opener_.inProgress(); }
  // Runs the event loop until the open under way has finished (automation and tests).
  void WaitForOpening();
  int LargeWindowChannel() const { return swap_ ? kChannel2 : kChannel1; }
  const recording::SensorRecord& sensorRecord() const { return sensor_; }
  // The GPS values the panel last decoded: degrees and knots (the speed outlives a reset).
  const recording::GpsFix& panelFix() const { return panelFix_; }
  const std::string& currentRecording() const { return list_->currentRecording(); }
  // The map view (made on first use, or right after the window's first paint: the web view
  // takes long to start and the window shows first).
  display::MapView* mapView();

  // ---- Snapshot, print and setup ----
  WindowDialogs& dialogs() { return dialogs_; }
  // What the snapshot and print commands are handed at this moment.
  output::FrameOutputContext FrameOutput();
  // Opens the setup dialog on `cardFolder` as if the folder browser had returned it, without
  // waiting for it to end (window-modal). Null when it ended at once (no SETUP folder there:
  // the message has been shown) or one is up already. The dialog deletes itself when it ends.
  setup::CSetupDlg* OpenSetup(const QString& cardFolder);
  // The dialog OpenSetup opened, while it is up.
  setup::CSetupDlg* setupDialog() const;

  // ---- Layout ----
  void ToggleFullScreen();
  void SwapChannels();
  bool fullScreen() const { return fullScreen_; }
  bool swapped() const { return swap_; }
  display::Rect videoRect() const { return videoRect_; }
  const QString& timeText() const { return timeText_; }
  display::CLabel* Label(int id) const;
  display::ImageButton* Button(int id) const;
  QTableView* listView() const { return listView_; }
  // The back buffer as the last paint left it, and the untouched skin.
  const QImage& backBuffer() const { return backBuffer_; }
  const QImage& cleanSkin() const { return skin_.Bitmap(display::bitmaps::kBackground); }

  // ---- Timers (each also runs on its own) ----
  void OnTimer(int id);

  // ---- Scripted runs ----
  QJsonObject StateJson() const;
  // Every shown channel has painted a picture at or after `target` (100 ns units) and each
  // timer has ticked since the last call of MarkActionsDone; the map is settled.
  bool Settled(std::int64_t target) const;
  void MarkActionsDone();

  // GraphEventCallback
  void OnGraphEvent(playback::GraphEventCode code, std::intptr_t param1, std::intptr_t param2) override;
  // GraphNotifyTarget: called on streaming threads.
  void PostGraphNotify(std::uint32_t message) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  // RecordingListView
  void StopPlayback() override { transport_.StopPlayback(); }
  void ReleaseSensorData() override {
    sensor_.Clear();
    traces_.Clear();
  }
  void SetItemCount(int count) override;
  void ShowHotItem(int row) override;
  void SelectRow(int row) override;
  void OpenRecording(const std::string& path) override;
  std::optional<std::string> ChooseFolder(const std::string& initialFolder, const std::string& title) override;
  void DebugOutput(std::string_view line) override;

  // PlaybackHost
  bool HasCurrentRecording() const override;
  int EngineState(int channel) const override;
  void Play(int channel) override;
  void Pause(int channel) override;
  void StopAndTeardown(int channel) override;
  void SeekTo(int channel, double target) override;
  void StepBack(int channel) override;
  void StepForward(int channel) override;
  void SetRate(int channel, double rate) override;
  void SetVolumePercent(int channel, int percent) override;
  bool ReadPosition(std::int64_t* position) override;
  void PostOpenRequest() override;
  void ResetPanel() override;
  void InvalidateVideoArea() override;
  void Invalidate(const display::Rect& rect) override;
  void RestoreFromSkin(const display::Rect& rect) override;

  // Start-up.
  void CreateControls();
  void CreateLabel(int id, const QFont& font, std::optional<QColor> background, display::Rect place,
                   const QString& text);
  void StartTimers();

  // Commands 1123, 1124 and 1125.
  void OnSnapshotCommand();
  void OnPrintCommand();
  void OnSetupCommand();

  // SetupHost: the folder browser and the card system, unless the dialogs are answered.
  std::optional<QString> BrowseForCardFolder(QWidget* parent, const QString& title,
                                             const QString& initialFolder) override;
  setup::CardSystem& Card() override;

  void OnOpenRequest();
  // OpeningWindow: the window's part of an open (recording_opener.h).
  void PrepareForOpening(const std::string& path) override;
  void ShowFlags(bool rearFile, int& showChannel1, int& showChannel2) const override;
  bool IsRegularFile(const std::string& path) const override;
  int CheckRecordingStructure(const std::string& path) const override;
  void SetWaitCursor(bool on) override;
  void ShowMessage(const std::string& text, const std::string& cause) override;
  void ChannelOpenEnded(int channel, const ChannelOpened& opened) override;
  void SetHasChannel2(bool has) override { transport_.hasChannel2 = has; }
  void StartPlaying() override;
  void SetMuted(int channel, bool muted);
  void OnPanelTimer();
  void OnPositionTimer();

  // Panel.
  void UpdateGpsPanel(std::int64_t position);
  // The only writer of the GPS status label and its flags, so the two stay in step.
  void ApplyGpsPanelChange(const display::GpsPanelChange& change);
  void UpdatePositionDisplay();
  void ResetPositionDisplay();
  void SetGpsLabels(const display::GpsLabels& labels);
  void HandTrackToMap();

  // Layout.
  void EnterFullScreen();
  void LeaveFullScreen();
  void LayoutVideoArea(int mode);
  void PlaceButtons(bool fullScreen);
  void SetPanelControlsVisible(bool visible);
  int TitleBandHeight() const { return fullScreen_ ? display::kFullScreenTitleBandHeight : display::kTitleBandHeight; }
  display::Rect FullScreenTimeTextRect() const;

  // Painting.
  void PaintNormal(const QRegion& region);
  void PaintFullScreen(const QRegion& region);
  void DrawSliders(QPainter& painter);

  const setup::Profile& profile_;
  display::Skin skin_;
  QImage backBuffer_;
  QRect screenRect_;                       // the desktop, read once at start
  QPoint normalOrigin_;                    // where the window returns from full screen
  std::optional<QPoint> titleDragOffset_;  // mouse to window origin while the title band is dragged

  std::unique_ptr<library::RecordingList> list_;
  RecordingListModel* model_ = nullptr;
  QTableView* listView_ = nullptr;
  int pressedRow_ = -1;

  std::map<int, display::ImageButton*> buttons_;
  std::map<int, display::CLabel*> labels_;
  std::array<display::VideoWidget*, 2> channels_{};  // [1] is null in the one-channel builds
  std::array<playback::ChannelSettings, 2> channelSettings_;
  display::MapView* map_ = nullptr;  // see mapView()
  bool mapPending_ = false;

  // What the window last told each channel, for the state report.
  struct ChannelRecord {
    bool muted = false;
    double rate = 1.0;
    int volumePercent = 90;
    int hasAudioRenderer = 0;
  };
  std::array<ChannelRecord, 2> channelRecords_;

  PlaybackControl transport_;
  playback::ResultBlock resultBlock_;
  recording::SensorRecord sensor_;
  display::SensorTraces traces_;
  display::GpsPanelFlags gpsFlags_;
  recording::GpsFix panelFix_;
  QString timeText_;

  bool fullScreen_ = false;
  bool layoutInProgress_ = false;
  bool swap_ = false;
  display::Rect videoRect_;

  QTimer positionTimer_;
  QTimer panelTimer_;
  int positionTicks_ = 0;
  int panelTicks_ = 0;
  int positionTicksAtMark_ = 0;
  int panelTicksAtMark_ = 0;
  bool openRequestPending_ = false;
  bool secondClickOfDouble_ = false;  // the list's double click is under way: its release opens nothing
  ChannelEngine channelEngine_{channels_, channelSettings_};
  RecordingOpener opener_;

  WindowDialogs dialogs_;
  QPointer<setup::CSetupDlg> setupDialog_;
};

}  // namespace app
