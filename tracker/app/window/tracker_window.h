#pragma once

#include <QImage>
#include <QJsonObject>
#include <QPixmap>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tracker/app/profile/tracker_profile.h"
#include "tracker/app/rules/row_list.h"
#include "tracker/app/rules/window_layout.h"
#include "tracker/app/settings/settings_store.h"
#include "tracker/app/settings/window_texts.h"
#include "tracker/log/scan_host.h"
#include "tracker/log/track_document.h"
#include "tracker/map/replay_rules.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QTableView;

namespace tracker {

class BrowserHost;
class ProgressWindow;
class ReplayDriver;
class RowListModel;
class ScanJob;
class SkinButton;
class TrackSlider;
class VideoAction;
struct ScanOutcome;
struct OverflowNote;
enum class DatabaseError;

// The tracker's main window: the row list, the information panel, the three text boxes, the
// language, time-zone and speed boxes and the replay controls around the map area. Opening
// and re-cutting run on the scan thread; the window keeps drawing meanwhile and takes the
// result when the job is done.
class TrackerWindow : public QWidget {
  Q_OBJECT
 public:
  TrackerWindow(const TrackerProfile& profile, SettingsStore& settings, LayoutKind layout, QWidget* parent = nullptr);
  ~TrackerWindow() override;

  enum class OpenStart {
    kStarted,  // the scan thread runs
    kBusy,     // refused: a scan is already running
    kMissing,  // no such file or folder: nothing was touched
  };
  // Opens a folder of GPS logs or a trip database, as the Open button, a drop or the
  // command line do.
  OpenStart OpenPath(const QString& path);
  // Writes the ticked rows and every point as a trip database; false (after a message) when
  // it could not be written.
  bool SaveTo(const QString& path);

  // As the list, the boxes and the daylight-saving box do.
  void SelectRow(int list_row);
  void SelectLanguage(int index);
  void SelectTimeZone(int index);
  void SetDaylightSaving(bool on);
  // As the speed box, the Show time button and the play buttons do.
  void SetSpeedEntry(int index);
  void SetShowTime(bool on);
  void PressPlay(Direction direction);

  // A scan or re-cut runs, or a row selection waits to be shown.
  bool Busy() const;
  // A scan of a folder or file runs (its worker holds the window's document).
  bool Scanning() const { return job_ != nullptr; }
  int SelectedRow() const;
  const TrackDocument& document() const { return document_; }
  const WindowLayout& layout() const { return layout_; }
  const QString& last_opened_path() const { return last_opened_path_; }
  BrowserHost* map() const { return map_; }
  ReplayDriver* replay() const { return replay_; }
  RowListModel* model() const { return model_; }
  ProgressWindow* progress_window() const { return progress_; }
  VideoAction* video() const { return video_; }
  // What --state reports.
  QJsonObject State() const;

 signals:
  // The window has taken a job's result (rows, a notice, a refusal) and enabled its controls.
  void ScanFinished();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool event(QEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  enum class JobKind { kOpen, kRecut };

  void CreateControls();
  void ApplyLanguageTexts();
  void SetControlsEnabled(bool enabled);

  void OnOpenClicked();
  void OnSaveClicked();
  void StartJob(JobKind kind, std::function<ScanOutcome(TrackDocument&, ScanHost&)> work, int progress_delay_ms);
  void StartRecut();
  void PollJob();
  void FinishJob();
  void FinishOpen(ScanJob& job);
  void ShowNoDataNotice();

  void OnRowSelected(int list_row);
  // Shows the row: replay, boxes at once; the map once its route is ready, then `then`.
  void ShowRow(int list_row, bool with_line, std::function<void()> then = {});
  void SendRowToMap(const TripRecord& row, bool with_line, std::function<void()> then);
  // Load page, in the current language.
  void LoadMapPage();
  void MoveMarkerToCurrentPoint();
  void StopPlayback();
  // The document was replaced or emptied: no row is on the map any more.
  void ForgetCurrentRow();
  // Shows the row's notes in the boxes (none: empties them and refuses typing).
  void FillEdits(const TripRecord* row);
  // One edit of a box: cut to what the row's field stores, then written into the row.
  void OnNoteEdited(RowTextField field);
  void MarkNoteFull(RowTextField field, bool full, bool tell);
  // Notes a re-cut could not join into a row, shown so they can still be copied.
  void ShowNotesSetAside(const std::vector<OverflowNote>& notes);
  // The list row of `type` that holds fix `point` (0 when none does).
  int ListRowHolding(RowType type, std::int32_t point) const;
  static WindowText RefusalText(DatabaseError error);
  TripRecord* SelectedRecord();
  std::int64_t DisplayOffset() const;
  // The window's own drawing (skin, title, panel) goes to the back buffer; Redraw marks it
  // out of date and asks for a paint.
  void Redraw();
  void PaintBackBuffer();

  const TrackerProfile& profile_;
  SettingsStore& settings_;
  const WindowLayout& layout_;
  QPixmap background_;
  QImage back_buffer_;
  bool buffer_dirty_ = true;
  QFont list_font_;

  // Settings and document state.
  int language_ = 0;
  int page_language_ = 0;  // the language the map page was loaded with
  int time_zone_ = 0;
  TimeZoneOffset zone_;
  bool daylight_saving_ = false;
  TrackDocument document_;
  int current_row_ = -1;  // row table index of the row on the map; its point index is the replay's
  QString last_opened_path_;
  QString job_path_;
  bool job_is_folder_ = false;
  JobKind job_kind_ = JobKind::kOpen;
  bool recut_pending_ = false;
  int pending_selections_ = 0;
  bool filling_edits_ = false;
  std::array<std::string, 3> note_texts_;         // each box's text as it was before the last edit
  std::array<const char*, 3> note_code_pages_{};  // the code page each note was read in, or none

  // Controls.
  RowListModel* model_ = nullptr;
  QTableView* list_ = nullptr;
  SkinButton* open_ = nullptr;
  SkinButton* save_ = nullptr;
  SkinButton* print_ = nullptr;
  SkinButton* play_forward_ = nullptr;
  SkinButton* play_reverse_ = nullptr;
  SkinButton* show_time_ = nullptr;
  SkinButton* daylight_box_ = nullptr;
  SkinButton* minimise_ = nullptr;
  SkinButton* close_ = nullptr;
  QComboBox* language_box_ = nullptr;
  QComboBox* time_zone_box_ = nullptr;
  QComboBox* speed_box_ = nullptr;
  QLineEdit* driver_ = nullptr;
  QLineEdit* purpose_ = nullptr;
  QPlainTextEdit* comments_ = nullptr;
  TrackSlider* slider_ = nullptr;
  BrowserHost* map_ = nullptr;
  ReplayDriver* replay_ = nullptr;
  ProgressWindow* progress_ = nullptr;
  VideoAction* video_ = nullptr;
  int shown_offset_ = 0;  // the replay point last put on the map, in its row
  QTimer poll_timer_;
  QTimer progress_delay_;

  // Thins and encodes routes off the window thread; one at a time, newest wins.
  QThreadPool route_worker_;
  int route_generation_ = 0;
  int routes_pending_ = 0;

  // Last, so it is destroyed first: the thread is stopped before anything it reads goes.
  std::unique_ptr<ScanJob> job_;
};

}  // namespace tracker
