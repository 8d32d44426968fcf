#include "tracker/app/window/tracker_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QJsonArray>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTableView>
#include <QToolTip>
#include <QWindow>
#include <filesystem>

#include "common/gui/message_box.h"
#include "common/gui/utf8_text.h"
#include "tracker/app/rules/note_box.h"
#include "tracker/app/rules/note_text.h"
#include "tracker/app/rules/panel_layout.h"
#include "tracker/app/rules/row_display.h"
#include "tracker/app/rules/row_list.h"
#include "tracker/app/rules/row_notes.h"
#include "tracker/app/settings/language_table.h"
#include "tracker/app/settings/tracker_settings.h"
#include "tracker/app/settings/window_texts.h"
#include "tracker/app/video/video_action.h"
#include "tracker/app/video/video_rules.h"
#include "tracker/app/window/palette.h"
#include "tracker/app/window/progress_window.h"
#include "tracker/app/window/row_list_model.h"
#include "tracker/app/window/scan_job.h"
#include "tracker/app/window/skin.h"
#include "tracker/app/window/skin_button.h"
#include "tracker/app/window/track_slider.h"
#include "tracker/log/local_time.h"
#include "tracker/log/trip_builder.h"
#include "tracker/log/trip_database.h"
#include "tracker/map/browser_host.h"
#include "tracker/map/page_values.h"
#include "tracker/map/replay_driver.h"

namespace tracker {

namespace {

// How often the window looks at a running job: often enough that the bars move smoothly and
// the rows appear promptly, rarely enough to cost nothing.
constexpr int kPollMs = 15;
// A re-cut is usually over before a progress window could be read; show one only if not.
constexpr int kRecutProgressDelayMs = 300;

QRect ToQRect(const Rect& r) { return {r.x, r.y, r.width, r.height}; }

using gui::FromUtf8;

std::filesystem::path ToPath(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QFont ListFont() {
  QFont font("Liberation Sans");
  font.setPixelSize(12);
  return font;
}

// The dark look of the window's own controls; the list gets a light sheet of its own.
QPalette DarkPalette() {
  QPalette p;
  p.setColor(QPalette::Window, palette::kBackground);
  p.setColor(QPalette::WindowText, palette::kText);
  p.setColor(QPalette::Base, QColor(0x14, 0x17, 0x1b));
  p.setColor(QPalette::AlternateBase, palette::kPanel);
  p.setColor(QPalette::Text, palette::kText);
  p.setColor(QPalette::Button, QColor(0x2a, 0x30, 0x38));
  p.setColor(QPalette::ButtonText, palette::kText);
  p.setColor(QPalette::Highlight, palette::kBlue);
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::ToolTipBase, palette::kPanel);
  p.setColor(QPalette::ToolTipText, palette::kText);
  p.setColor(QPalette::PlaceholderText, palette::kDimText);
  p.setColor(QPalette::Disabled, QPalette::Text, palette::kDimText);
  p.setColor(QPalette::Disabled, QPalette::ButtonText, palette::kDimText);
  p.setColor(QPalette::Disabled, QPalette::WindowText, palette::kDimText);
  return p;
}

QPalette ListPalette() {
  QPalette p = DarkPalette();
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    p.setColor(group, QPalette::Base, palette::kListBase);
    p.setColor(group, QPalette::AlternateBase, palette::kListAlternate);
    p.setColor(group, QPalette::Text, QColor(0x28, 0x28, 0x28));
    // The selection stays plain to see when the list loses the focus.
    p.setColor(group, QPalette::Highlight, palette::kBlue);
    p.setColor(group, QPalette::HighlightedText, Qt::white);
  }
  return p;
}

const char* kEditStyle =
    "QLineEdit, QPlainTextEdit { background: #14171b; color: #d8dde3; border: 1px solid #3a414b;"
    " border-radius: 2px; padding: 0 2px; selection-background-color: #3d8bfd; }"
    "QLineEdit:focus, QPlainTextEdit:focus { border-color: #f2a900; }"
    "QLineEdit[full=\"true\"], QPlainTextEdit[full=\"true\"] { border-color: #e0533d; }";

const char* kListStyle =
    "QTableView { gridline-color: #bfc5cc; border: none; }"
    "QHeaderView::section { background: #2e343d; color: #d8dde3; border: none;"
    " border-right: 1px solid #3a414b; border-bottom: 1px solid #3a414b; padding: 0 4px; }";

const char* kComboStyle =
    "QComboBox { background: #2a3038; color: #d8dde3; border: 1px solid #3a414b; border-radius: 2px;"
    " padding: 0 4px; }"
    "QComboBox:hover { border-color: #6b7684; }"
    "QComboBox:disabled { color: #5b636d; background: #22262b; }"
    "QComboBox QAbstractItemView { background: #252a31; color: #d8dde3; selection-background-color: #3d8bfd;"
    " border: 1px solid #3a414b; }";

}  // namespace

TrackerWindow::TrackerWindow(const TrackerProfile& profile, SettingsStore& settings, LayoutKind layout, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      profile_(profile),
      settings_(settings),
      layout_(LayoutOf(layout)),
      background_(SkinBackground(layout_)),
      list_font_(ListFont()) {
  setObjectName(
      QString::fromLatin1(profile_.window_class.data(), static_cast<qsizetype>(profile_.window_class.size())));
  setWindowTitle(FromUtf8(WindowTitle(profile_)));
  QIcon icon;
  icon.addPixmap(SkinBitmap(skin::kIcon));
  icon.addPixmap(SkinBitmap(skin::kSmallIcon));
  setWindowIcon(icon);
  setFixedSize(layout_.window.width, layout_.window.height);
  setPalette(DarkPalette());
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAcceptDrops(true);
  last_opened_path_ = QDir::currentPath();
  route_worker_.setMaxThreadCount(1);

  CreateControls();

  // Start-up selects the stored language and time zone, which writes both back.
  const StartupSettings startup = ApplyStartupSettings(settings_);
  SelectLanguage(startup.language_index);
  SelectTimeZone(startup.time_zone_index);
  LoadMapPage();

  poll_timer_.setInterval(kPollMs);
  connect(&poll_timer_, &QTimer::timeout, this, &TrackerWindow::PollJob);
  progress_delay_.setSingleShot(true);
  connect(&progress_delay_, &QTimer::timeout, this, [this] {
    if (job_) progress_->show();
  });
}

TrackerWindow::~TrackerWindow() {
  // Stop the scan thread before the document it reads goes; let a route in the works finish
  // (what it posts back is dropped with the window).
  job_.reset();
  route_worker_.waitForDone();
}

void TrackerWindow::CreateControls() {
  const WindowLayout& l = layout_;
  // The map area; when the web view cannot be placed the area stays empty and the rest works.
  map_ = new BrowserHost(ToQRect(l.map), this);
  map_->SetPageTexts(profile_);
  map_->Embed();
  replay_ = new ReplayDriver(*map_, this);
  replay_->SetShowTimeReader([this] { return show_time_->IsOn(); });
  connect(replay_, &ReplayDriver::PlayStateChanged, this, [this](bool playing, Direction direction) {
    play_forward_->SetOn(playing && direction == Direction::kForward);
    play_reverse_->SetOn(playing && direction == Direction::kReverse);
  });
  // What was chosen while the page was still loading reaches it once it has.
  // The replay keeps its place.
  connect(map_, &BrowserHost::PageLoaded, this, [this](bool ok) {
    if (!ok) return;
    if (language_ != page_language_) map_->Call(ChangeLanguageCall(language_));
    if (job_ || current_row_ < 0) return;
    const TripRecord& row = document_.trips.rows[static_cast<std::size_t>(current_row_)];
    SendRowToMap(row, row.type != RowType::kParking, [this] { replay_->ShowLastPoint(); });
  });

  model_ = new RowListModel(profile_, this);
  model_->SetFont(list_font_);
  list_ = new QTableView(this);
  list_->setObjectName("RowList");
  list_->setGeometry(ToQRect(l.row_list));
  list_->setModel(model_);
  list_->setFont(list_font_);
  list_->setPalette(ListPalette());
  list_->setStyleSheet(kListStyle);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setShowGrid(true);
  list_->setWordWrap(false);
  list_->setIconSize(QSize(16, 16));
  list_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  list_->verticalHeader()->hide();
  list_->verticalHeader()->setDefaultSectionSize(18);
  list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  QHeaderView* header = list_->horizontalHeader();
  header->setSectionsMovable(true);
  header->setHighlightSections(false);
  header->setStretchLastSection(false);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setFixedHeight(20);
  header->setFont(list_font_);
  header->resizeSection(0, 130);
  header->resizeSection(1, 100);
  header->resizeSection(2, 100);
  // The selection, not the current item: right after a trip database is listed, row 0 is
  // current without being selected, and choosing it must still show it.
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection&, const QItemSelection&) {
            const int list_row = SelectedRow();
            if (list_row < 0) return;
            // The selection is shown from the event loop, as the list's own notification would be.
            ++pending_selections_;
            QMetaObject::invokeMethod(
                this,
                [this, list_row] {
                  --pending_selections_;
                  OnRowSelected(list_row);
                },
                Qt::QueuedConnection);
          });
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { Redraw(); });

  auto button = [this](ButtonKind kind, int bitmap, const Rect& at) {
    auto* b = new SkinButton(kind, bitmap, this);
    b->setGeometry(ToQRect(at));
    return b;
  };
  open_ = button(ButtonKind::kPlain, skin::kOpen, l.open);
  save_ = button(ButtonKind::kPlain, skin::kSave, l.save);
  print_ = button(ButtonKind::kPlain, skin::kPrint, l.print);
  play_forward_ = button(ButtonKind::kPlay, skin::kPlayForward, l.play_forward);
  play_reverse_ = button(ButtonKind::kPlay, skin::kPlayReverse, l.play_reverse);
  show_time_ = button(ButtonKind::kToggle, skin::kShowTime, l.show_time);
  daylight_box_ = button(ButtonKind::kCheck, skin::kCheckBox, l.daylight_saving);
  minimise_ = button(ButtonKind::kPlain, skin::kMinimise, l.minimise);
  close_ = button(ButtonKind::kPlain, skin::kClose, l.close);
  open_->setObjectName("Open");
  save_->setObjectName("Save");
  print_->setObjectName("Print");
  daylight_box_->setObjectName("DaylightSaving");
  daylight_box_->setFont(list_font_);
  connect(open_, &QAbstractButton::clicked, this, &TrackerWindow::OnOpenClicked);
  connect(save_, &QAbstractButton::clicked, this, &TrackerWindow::OnSaveClicked);
  connect(print_, &QAbstractButton::clicked, this, [this] { map_->Call(PrintCall()); });
  connect(play_forward_, &QAbstractButton::clicked, this, [this] { replay_->PressPlay(Direction::kForward); });
  connect(play_reverse_, &QAbstractButton::clicked, this, [this] { replay_->PressPlay(Direction::kReverse); });
  connect(minimise_, &QAbstractButton::clicked, this, &QWidget::showMinimized);
  connect(close_, &QAbstractButton::clicked, this, &QWidget::close);
  connect(daylight_box_, &QAbstractButton::toggled, this, &TrackerWindow::SetDaylightSaving);

  auto combo = [this](const Rect& at) {
    auto* box = new QComboBox(this);
    box->setGeometry(ToQRect(at));
    box->setFont(list_font_);
    box->setStyleSheet(kComboStyle);
    box->setFocusPolicy(Qt::ClickFocus);
    return box;
  };
  language_box_ = combo(l.language_box);
  language_box_->setObjectName("Language");
  for (const Language& language : kLanguages) language_box_->addItem(FromUtf8(language.label));
  time_zone_box_ = combo(l.time_zone_box);
  time_zone_box_->setObjectName("TimeZone");
  for (const std::string_view name : kTimeZoneNames) time_zone_box_->addItem(FromUtf8(name));
  time_zone_box_->view()->setMinimumWidth(320);
  speed_box_ = combo(l.speed_box);
  speed_box_->setObjectName("Speed");
  for (const int step : kReplaySteps) speed_box_->addItem(FromUtf8(SpeedEntryText(step)));
  speed_box_->setCurrentIndex(0);
  connect(speed_box_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0 && index < static_cast<int>(kReplaySteps.size()))
      replay_->SetStep(kReplaySteps[static_cast<std::size_t>(index)]);
  });
  connect(language_box_, &QComboBox::activated, this, &TrackerWindow::SelectLanguage);
  connect(time_zone_box_, &QComboBox::activated, this, &TrackerWindow::SelectTimeZone);

  driver_ = new QLineEdit(this);
  driver_->setObjectName("Driver");
  driver_->setMaxLength(static_cast<int>(NoteBytes(RowTextField::kDriver)));
  purpose_ = new QLineEdit(this);
  purpose_->setObjectName("Purpose");
  purpose_->setMaxLength(static_cast<int>(NoteBytes(RowTextField::kPurpose)));
  comments_ = new QPlainTextEdit(this);
  comments_->setObjectName("Comments");
  comments_->setTabChangesFocus(true);
  comments_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  comments_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Hangul comes from the CJK font, whose lines are taller than the list font's: the boxes
  // keep their places and grow to hold a line of it.
  QFont edit_font = list_font_;
  edit_font.setFamilies({list_font_.family(), "Noto Sans CJK KR"});
  QFont hangul_font = list_font_;
  hangul_font.setFamily("Noto Sans CJK KR");
  const int line_height = std::max(QFontMetrics(list_font_).height(), QFontMetrics(hangul_font).height());
  const std::pair<QWidget*, Rect> boxes[] = {{driver_, l.driver}, {purpose_, l.purpose}, {comments_, l.comments}};
  for (const auto& [edit, at] : boxes) {
    QRect area = ToQRect(at);
    area.setHeight(std::max(area.height(), line_height + 4));  // a border and a pixel of room each side
    edit->setGeometry(area);
    edit->setFont(edit_font);
    edit->setStyleSheet(kEditStyle);
  }
  connect(driver_, &QLineEdit::textEdited, this, [this] { OnNoteEdited(RowTextField::kDriver); });
  connect(purpose_, &QLineEdit::textEdited, this, [this] { OnNoteEdited(RowTextField::kPurpose); });
  connect(comments_, &QPlainTextEdit::textChanged, this, [this] {
    if (!filling_edits_) OnNoteEdited(RowTextField::kComments);
  });

  slider_ = new TrackSlider(this);
  slider_->setObjectName("Position");
  slider_->setGeometry(ToQRect(l.slider));
  connect(slider_, &TrackSlider::Released, replay_, &ReplayDriver::ReleaseSlider);
  connect(replay_, &ReplayDriver::SliderMoved, slider_, &TrackSlider::SetValue);

  progress_ = new ProgressWindow(this);

  // Play video: the recording of the replay point, from the card the logs came from.
  connect(replay_, &ReplayDriver::PointShown, this, [this](int offset) { shown_offset_ = offset; });
  video_ = new VideoAction(*this, settings_, profile_.id,
                           {[this](int list_row) {
                              const int row = list_row < 0 ? current_row_ : model_->RowIndexAt(list_row);
                              return RowPointMoment(document_, row, row == current_row_ ? shown_offset_ : 0);
                            },
                            [this] { return DisplayOffset(); }, [this] { return language_; }});
  video_->AttachTo(*map_, *list_);
}

// ---------------------------------------------------------------------------------------------
// Settings

void TrackerWindow::SelectLanguage(int index) {
  if (index < 0 || index >= kLanguageCount) return;
  language_ = index;
  WriteLanguageIndex(settings_, index);
  if (language_box_->currentIndex() != index) language_box_->setCurrentIndex(index);
  ApplyLanguageTexts();
  map_->Call(ChangeLanguageCall(index));
  Redraw();
}

void TrackerWindow::ApplyLanguageTexts() {
  model_->SetLanguage(language_);
  daylight_box_->setText(FromUtf8(Text(language_, kTextDaylightSaving, profile_)));
  // The boxes' hint is in the new language; a note from an older program reads in its code page.
  FillEdits(SelectedRecord());
  video_->ApplyLanguageTexts();
}

void TrackerWindow::SelectTimeZone(int index) {
  if (index < 0 || index >= kTimeZoneCount) return;
  time_zone_ = index;
  zone_ = TimeZoneOffsetAt(index);
  WriteTimeZoneIndex(settings_, index);
  if (time_zone_box_->currentIndex() != index) time_zone_box_->setCurrentIndex(index);
  model_->SetDisplayOffset(DisplayOffset());
  replay_->SetOffsetSeconds(DisplayOffset());
  if (job_) {
    // The running job cuts for the zone it started with; cut again once it is done.
    recut_pending_ = true;
    return;
  }
  if (!document_.trips.rows.empty()) StartRecut();
}

// The rows are cut without the daylight-saving hour, so ticking the box changes only what is
// shown: the list's times, the panel and the map are shown again, and the texts typed for the
// rows stay.
void TrackerWindow::SetDaylightSaving(bool on) {
  if (daylight_box_->isChecked() != on) {
    daylight_box_->setChecked(on);  // comes back here through toggled
    return;
  }
  if (daylight_saving_ == on) return;
  daylight_saving_ = on;
  model_->SetDisplayOffset(DisplayOffset());
  replay_->SetOffsetSeconds(DisplayOffset());
  if (const int list_row = SelectedRow(); list_row >= 0 && !job_) {
    ShowRow(list_row, true, [this] { MoveMarkerToCurrentPoint(); });
  }
  Redraw();
}

std::int64_t TrackerWindow::DisplayOffset() const { return OffsetSeconds(zone_, daylight_saving_); }

void TrackerWindow::SetControlsEnabled(bool enabled) {
  for (QWidget* control :
       std::initializer_list<QWidget*>{open_, save_, print_, show_time_, play_forward_, play_reverse_, daylight_box_,
                                       language_box_, time_zone_box_}) {
    control->setEnabled(enabled);
  }
}

// ---------------------------------------------------------------------------------------------
// Opening and saving

void TrackerWindow::OnOpenClicked() {
  if (job_) return;
  QString start = FromUtf8(ReadOpenPath(settings_));
  if (start.isEmpty()) start = last_opened_path_;
  // One dialog for both kinds of thing to open: it lists folders and files, and takes a
  // folder while a folder is highlighted and a file while a file is.
  QFileDialog dialog(this, FromUtf8(Text(language_, WindowText::kOpenDialogTitle)), start);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, false);
  connect(&dialog, &QFileDialog::currentChanged, &dialog, [&dialog](const QString& path) {
    dialog.setFileMode(QFileInfo(path).isDir() ? QFileDialog::Directory : QFileDialog::ExistingFile);
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString chosen = dialog.selectedFiles().first();
  if (chosen.isEmpty()) return;
  WriteOpenPath(settings_, chosen.toStdString());
  OpenPath(chosen);
}

TrackerWindow::OpenStart TrackerWindow::OpenPath(const QString& path) {
  // One scan at a time: the document belongs to the running one.
  if (job_) return OpenStart::kBusy;
  const std::filesystem::path target = ToPath(path);
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(target, error);
  if (path.isEmpty() || !std::filesystem::exists(status)) return OpenStart::kMissing;
  StopPlayback();

  job_is_folder_ = std::filesystem::is_directory(status);
  if (job_is_folder_) {
    // A new folder replaces what is open from the start; a trip database only once it loaded.
    model_->Reset(nullptr);
    document_ = TrackDocument{};
    ForgetCurrentRow();
    FillEdits(nullptr);
    Redraw();
  }
  job_path_ = path;
  StartJob(
      JobKind::kOpen,
      [target, zone = zone_, magic = profile_.database_magic](TrackDocument& out, ScanHost& host) {
        ScanOutcome outcome;
        outcome.result = Open(target, zone, magic, out, host, &outcome.refused);
        return outcome;
      },
      0);
  return OpenStart::kStarted;
}

void TrackerWindow::StartRecut() {
  // The job reads the window's points, which stay untouched until it is done; the new rows
  // arrive in the job's document.
  StartJob(
      JobKind::kRecut,
      [&points = std::as_const(document_.points), zone = zone_](TrackDocument& out, ScanHost& host) {
        std::optional<TripList> trips = CutTrips(points, zone, host);
        if (!trips) return ScanOutcome{host.Cancelled() ? OpenResult::kCancelled : OpenResult::kNoData};
        out.trips = std::move(*trips);
        return ScanOutcome{OpenResult::kRowsReady};
      },
      kRecutProgressDelayMs);
}

void TrackerWindow::StartJob(JobKind kind, std::function<ScanOutcome(TrackDocument&, ScanHost&)> work,
                             int progress_delay_ms) {
  job_kind_ = kind;
  SetControlsEnabled(false);
  progress_->SetProgress(0, ScanPhase::kReading);
  job_ = std::make_unique<ScanJob>(std::move(work));
  if (progress_delay_ms <= 0) {
    progress_->show();
  } else {
    progress_delay_.start(progress_delay_ms);
  }
  poll_timer_.start();
}

void TrackerWindow::PollJob() {
  if (!job_) {
    poll_timer_.stop();
    return;
  }
  // Done first: once it reads true, the last progress the job reported is visible too.
  const bool done = job_->Done();
  progress_->SetProgress(job_->progress(), job_->phase());
  if (done) FinishJob();
}

void TrackerWindow::FinishJob() {
  poll_timer_.stop();
  progress_delay_.stop();
  progress_->hide();
  const std::unique_ptr<ScanJob> job = std::move(job_);  // the thread has ended; joined here
  const JobKind kind = job_kind_;
  if (kind == JobKind::kOpen) {
    FinishOpen(*job);
  } else if (job->outcome().result == OpenResult::kRowsReady) {
    // Rows rebuilt: they take over the notes and ticks of the rows they replace (typed up to
    // now), the list gets the focus and shows the row that holds the shown row's first fix.
    const TripRecord* selected = SelectedRecord();
    const RowType shown_type = selected ? selected->type : RowType::kDay;
    const std::int32_t shown_point = selected ? selected->first_point : -1;
    const std::vector<KeptNotes> kept = KeepNotes(document_.trips.rows, model_->TicksByRow(), document_.points);
    TripList trips = std::move(job->document().trips);
    GivenBack given = GiveNotesBack(kept, trips.rows, document_.points);
    document_.trips = std::move(trips);
    ForgetCurrentRow();
    model_->Reset(&document_, given.ticked);
    list_->setFocus();
    if (model_->rowCount() > 0) {
      const int shown = shown_point >= 0 ? ListRowHolding(shown_type, shown_point) : 0;
      list_->selectRow(shown);
      ShowRow(shown, true, [this] { MoveMarkerToCurrentPoint(); });
    }
    Redraw();
    if (!given.overflow.empty()) ShowNotesSetAside(given.overflow);
  }
  slider_->SetValue(0);
  SetControlsEnabled(true);
  if (recut_pending_) {
    recut_pending_ = false;
    if (!document_.trips.rows.empty()) StartRecut();
  }
  emit ScanFinished();
}

void TrackerWindow::FinishOpen(ScanJob& job) {
  const ScanOutcome& outcome = job.outcome();
  switch (outcome.result) {
    case OpenResult::kRowsReady:
      document_ = std::move(job.document());
      ForgetCurrentRow();
      model_->Reset(&document_);
      last_opened_path_ = job_path_;
      video_->OpenedPath(job_path_, job_is_folder_);
      // After a scan the first row is selected and shown; a loaded trip database is listed
      // without a selection.
      if (job_is_folder_ && model_->rowCount() > 0) {
        list_->setFocus();
        list_->selectRow(0);
      } else {
        FillEdits(nullptr);
      }
      Redraw();
      break;
    case OpenResult::kNoData:
    case OpenResult::kOutOfMemory: ShowNoDataNotice(); break;
    case OpenResult::kRefusedFile: {
      // A file that is not this build's trip database leaves what is open as it was.
      const bool other_build = outcome.refused == DatabaseError::kWrongMagic;
      const QString name = QDir::toNativeSeparators(job_path_);
      const QString text = other_build ? FromUtf8(Text(language_, WindowText::kNotThisBuildsDatabase))
                                             .arg(name, FromUtf8(profile_.title_words),
                                                  FromUtf8(std::string(profile_.save_filter_pattern)))
                                       : FromUtf8(Text(language_, WindowText::kCannotBeOpened))
                                             .arg(name, FromUtf8(Text(language_, RefusalText(outcome.refused))));
      gui::ShowMessage(this, text, FromUtf8(Text(language_, kTextNotice, profile_)), QMessageBox::Warning);
      break;
    }
    case OpenResult::kUnreadable:
      gui::ShowMessage(this,
                       FromUtf8(Text(language_, WindowText::kCannotBeRead)).arg(QDir::toNativeSeparators(job_path_)),
                       FromUtf8(Text(language_, kTextNotice, profile_)), QMessageBox::Warning);
      break;
    case OpenResult::kMissing:
    case OpenResult::kCancelled: break;
  }
  if (current_row_ >= 0) MoveMarkerToCurrentPoint();
}

void TrackerWindow::ShowNoDataNotice() {
  document_ = TrackDocument{};
  ForgetCurrentRow();
  model_->Reset(&document_);
  FillEdits(nullptr);
  Redraw();
  gui::ShowMessage(this, FromUtf8(Text(language_, kTextLogFileFormatNotFound, profile_)),
                   FromUtf8(Text(language_, kTextNotice, profile_)));
  LoadMapPage();
}

void TrackerWindow::OnSaveClicked() {
  if (job_) return;
  QFileDialog dialog(this, QString(), last_opened_path_);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  const QString extension = FromUtf8(profile_.database_extension).mid(1);
  dialog.setDefaultSuffix(extension);
  dialog.setNameFilters({FromUtf8(profile_.save_filter_label), "ALL file(*.*)"});
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString chosen = dialog.selectedFiles().first();
  if (!chosen.isEmpty()) SaveTo(chosen);
}

bool TrackerWindow::SaveTo(const QString& path) {
  const std::vector<TripRecord> rows = model_->CheckedRows();
  if (!SaveTripDatabase(ToPath(path), rows, document_.points, profile_.database_magic)) {
    gui::ShowMessage(this,
                     FromUtf8(Text(language_, WindowText::kCouldNotBeWritten)).arg(QDir::toNativeSeparators(path)),
                     FromUtf8(Text(language_, kTextNotice, profile_)), QMessageBox::Warning);
    return false;
  }
  last_opened_path_ = path;
  return true;
}

// ---------------------------------------------------------------------------------------------
// Rows

int TrackerWindow::SelectedRow() const {
  const QModelIndexList rows = list_->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

void TrackerWindow::SelectRow(int list_row) {
  if (list_row < 0 || list_row >= model_->rowCount()) {
    list_->clearSelection();
    return;
  }
  list_->selectRow(list_row);
  list_->scrollTo(model_->index(list_row, 0));
}

void TrackerWindow::OnRowSelected(int list_row) {
  if (list_row != SelectedRow() || model_->RowIndexAt(list_row) < 0) return;  // changed since
  StopPlayback();
  const TripRecord& row = document_.trips.rows[static_cast<std::size_t>(model_->RowIndexAt(list_row))];
  ShowRow(list_row, row.type != RowType::kParking, [this] {
    replay_->ShowFirstPoint();
    map_->update();
  });
  Redraw();
}

void TrackerWindow::ShowRow(int list_row, bool with_line, std::function<void()> then) {
  const int row_index = model_->RowIndexAt(list_row);
  if (row_index < 0) return;
  const TripRecord& row = document_.trips.rows[static_cast<std::size_t>(row_index)];
  // The replay starts again from the row's first point; a row without points is never stepped.
  replay_->SetRow(&document_.points, row.first_point, row.point_count);
  if (row.point_count <= 0 || row.first_point < 0 ||
      static_cast<std::size_t>(row.first_point) >= document_.points.size()) {
    return;  // a row without points is not shown
  }
  current_row_ = row_index;
  FillEdits(&row);
  SendRowToMap(row, with_line, std::move(then));
}

void TrackerWindow::SendRowToMap(const TripRecord& row, bool with_line, std::function<void()> then) {
  // The route of a long drive takes a while to thin and encode: that is done by the route
  // worker on a copy of the row's fixes, and the page gets it (and then the marker) when it is
  // ready. A row chosen meanwhile makes the older result void.
  const auto first = static_cast<std::size_t>(row.first_point);
  const std::size_t wanted = row.type == RowType::kParking ? 4 : static_cast<std::size_t>(row.point_count);
  const std::size_t count = std::min(wanted, document_.points.size() - first);
  PointStore points(document_.points.begin() + static_cast<std::ptrdiff_t>(first),
                    document_.points.begin() + static_cast<std::ptrdiff_t>(first + count));
  TripRecord copy = row;
  copy.first_point = 0;
  const int generation = ++route_generation_;
  ++routes_pending_;
  route_worker_.start([this, copy, points = std::move(points), generation, with_line, then = std::move(then),
                       offset = DisplayOffset(), style = RouteStyle{profile_.thin_route, profile_.sends_levels},
                       language = language_] {
    std::optional<PageCall> call = ShowRowCall(copy, points, offset, with_line, style);
    if (call) {
      // Notes an older program wrote in a code page reach the page as the boxes show them.
      for (auto& [id, value] : call->values) {
        if (id == "driver" || id == "purpose" || id == "comment") value = NoteText(value, language);
      }
    }
    QMetaObject::invokeMethod(
        this,
        [this, call = std::move(call), generation, then] {
          --routes_pending_;
          if (generation != route_generation_) return;
          if (call) map_->Call(*call);
          if (then) then();
        },
        Qt::QueuedConnection);
  });
}

void TrackerWindow::LoadMapPage() {
  page_language_ = language_;
  map_->LoadPage(language_);
}

void TrackerWindow::MoveMarkerToCurrentPoint() {
  if (current_row_ >= 0) replay_->ShowCurrentPoint();
}

void TrackerWindow::StopPlayback() {
  replay_->Stop();
  play_forward_->SetOn(false);
  play_reverse_->SetOn(false);
}

void TrackerWindow::ForgetCurrentRow() {
  current_row_ = -1;
  replay_->SetRow(nullptr, 0, 0);
  replay_->SetRowsExist(!document_.trips.rows.empty());
}

void TrackerWindow::SetSpeedEntry(int index) {
  if (index >= 0 && index < speed_box_->count()) speed_box_->setCurrentIndex(index);
}

void TrackerWindow::SetShowTime(bool on) { show_time_->SetOn(on); }

void TrackerWindow::PressPlay(Direction direction) {
  (direction == Direction::kForward ? play_forward_ : play_reverse_)->click();
}

void TrackerWindow::FillEdits(const TripRecord* row) {
  filling_edits_ = true;
  for (const RowTextField field : {RowTextField::kDriver, RowTextField::kPurpose, RowTextField::kComments}) {
    const NoteReading reading = row ? ReadNote(RowText(*row, field), language_) : NoteReading{};
    const std::string& text = reading.text;
    note_texts_[static_cast<std::size_t>(field)] = text;
    note_code_pages_[static_cast<std::size_t>(field)] = reading.code_page;
    if (field == RowTextField::kComments) {
      comments_->setPlainText(FromUtf8(text));
    } else {
      (field == RowTextField::kDriver ? driver_ : purpose_)->setText(FromUtf8(text));
    }
    MarkNoteFull(field, (row ? RowText(*row, field).size() : 0) >= NoteBytes(field), false);
  }
  // Without a row a note would have nowhere to go: the boxes say so and take nothing.
  const QString hint = row ? QString() : FromUtf8(Text(language_, WindowText::kSelectRowForNotes));
  driver_->setPlaceholderText(hint);
  purpose_->setPlaceholderText(hint);
  comments_->setPlaceholderText(hint);
  for (QWidget* edit :
       {static_cast<QWidget*>(driver_), static_cast<QWidget*>(purpose_), static_cast<QWidget*>(comments_)}) {
    edit->setEnabled(row != nullptr);
  }
  filling_edits_ = false;
}

TripRecord* TrackerWindow::SelectedRecord() {
  const int row_index = model_->RowIndexAt(SelectedRow());
  if (row_index < 0) return nullptr;
  return &document_.trips.rows[static_cast<std::size_t>(row_index)];
}

void TrackerWindow::OnNoteEdited(RowTextField field) {
  if (filling_edits_) return;
  const auto f = static_cast<std::size_t>(field);
  const QString typed = field == RowTextField::kComments ? comments_->toPlainText()
                        : field == RowTextField::kDriver ? driver_->text()
                                                         : purpose_->text();
  const std::string after = typed.toStdString();
  // A note read from a code page is written back in it, where it has the room it had.
  const char* code_page = note_code_pages_[f];
  const auto stored_size = [code_page](std::string_view text) { return StoredNote(text, code_page).size(); };
  const FittedNote fitted = FitNote(note_texts_[f], after, NoteBytes(field), stored_size);
  if (fitted.text != after) {
    // Put back what fits, with the cursor where the edit ended.
    filling_edits_ = true;
    const int cursor = static_cast<int>(FromUtf8(std::string_view(fitted.text).substr(0, fitted.cursor)).size());
    if (field == RowTextField::kComments) {
      comments_->setPlainText(FromUtf8(fitted.text));
      QTextCursor at = comments_->textCursor();
      at.setPosition(cursor);
      comments_->setTextCursor(at);
    } else {
      QLineEdit* box = field == RowTextField::kDriver ? driver_ : purpose_;
      box->setText(FromUtf8(fitted.text));
      box->setCursorPosition(cursor);
    }
    filling_edits_ = false;
  }
  note_texts_[f] = fitted.text;
  const std::string stored = StoredNote(fitted.text, code_page);
  MarkNoteFull(field, fitted.cut || stored.size() >= NoteBytes(field), fitted.cut);
  if (TripRecord* row = SelectedRecord()) SetRowText(*row, field, stored);
}

void TrackerWindow::MarkNoteFull(RowTextField field, bool full, bool tell) {
  QWidget* box = field == RowTextField::kComments ? static_cast<QWidget*>(comments_)
                 : field == RowTextField::kDriver ? static_cast<QWidget*>(driver_)
                                                  : static_cast<QWidget*>(purpose_);
  const QString text = FromUtf8(Text(language_, WindowText::kNoteBoxFull)).arg(NoteBytes(field));
  if (box->property("full").toBool() != full) {
    box->setProperty("full", full);
    box->style()->unpolish(box);
    box->style()->polish(box);
    box->setToolTip(full ? text : QString());
  }
  if (tell) QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())), text, box);
}

int TrackerWindow::ListRowHolding(RowType type, std::int32_t point) const {
  int best = 0;
  for (int list_row = 0; list_row < model_->rowCount(); ++list_row) {
    const TripRecord& row = document_.trips.rows[static_cast<std::size_t>(model_->RowIndexAt(list_row))];
    if (row.type != type || row.first_point > point || point >= row.first_point + row.point_count) continue;
    if (row.first_point == point) return list_row;
    best = list_row;
  }
  return best;
}

void TrackerWindow::ShowNotesSetAside(const std::vector<OverflowNote>& notes) {
  QString text = FromUtf8(Text(language_, WindowText::kNotesSetAside)) + "\n";
  const int items[3] = {kTextDriver, kTextPurpose, kTextMemo};
  for (const OverflowNote& note : notes) {
    text += "\n" + FromUtf8(Text(language_, items[note.field], profile_)).trimmed() + ": " +
            FromUtf8(NoteText(note.text, language_));
  }
  gui::ShowMessage(this, text, FromUtf8(Text(language_, kTextNotice, profile_)), QMessageBox::Warning);
}

WindowText TrackerWindow::RefusalText(DatabaseError error) {
  switch (error) {
    case DatabaseError::kCannotOpen: return WindowText::kReasonCannotOpen;
    case DatabaseError::kShortHeader: return WindowText::kReasonShortHeader;
    case DatabaseError::kWrongMagic: return WindowText::kReasonWrongMagic;
    case DatabaseError::kNewerVersion: return WindowText::kReasonNewerVersion;
    case DatabaseError::kBadHeader: return WindowText::kReasonBadHeader;
    case DatabaseError::kSizeMismatch: return WindowText::kReasonSizeMismatch;
    case DatabaseError::kDamagedRows: return WindowText::kReasonDamagedRows;
    case DatabaseError::kDamagedPoints: return WindowText::kReasonDamagedPoints;
    case DatabaseError::kBadRow: return WindowText::kReasonBadRow;
    case DatabaseError::kOutOfMemory:
    case DatabaseError::kNone: break;
  }
  return WindowText::kReasonOutOfMemory;
}

bool TrackerWindow::Busy() const {
  return Scanning() || pending_selections_ > 0 || recut_pending_ || routes_pending_ > 0 || video_->Busy();
}

// ---------------------------------------------------------------------------------------------
// Window behaviour

void TrackerWindow::mousePressEvent(QMouseEvent* event) {
  // The top band is the caption: the window moves from there.
  if (event->button() == Qt::LeftButton && event->position().y() < kCaptionBandHeight && windowHandle()) {
    windowHandle()->startSystemMove();
    return;
  }
  QWidget::mousePressEvent(event);
}

void TrackerWindow::closeEvent(QCloseEvent* event) {
  if (job_) {
    // The scan stops within one file; wait for it so nothing it uses is freed under it.
    job_->Cancel();
    job_.reset();
    poll_timer_.stop();
    progress_->hide();
  }
  QWidget::closeEvent(event);
}

void TrackerWindow::dragEnterEvent(QDragEnterEvent* event) {
  // While a scan runs a drop is refused, and the pointer says so.
  if (!job_ && event->mimeData()->hasUrls()) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void TrackerWindow::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (job_ || urls.isEmpty()) return;
  const QString path = urls.first().toLocalFile();
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  OpenPath(path);
}

bool TrackerWindow::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    // Each panel label has a tooltip with its whole text, which may be cut short on screen.
    auto* help = static_cast<QHelpEvent*>(event);
    for (const PanelItem& item : PanelItems(layout_.kind)) {
      if (item.text_item == 0 || !item.rect.Contains(help->pos().x(), help->pos().y())) continue;
      QToolTip::showText(help->globalPos(), FromUtf8(Text(language_, item.text_item, profile_)), this,
                         ToQRect(item.rect));
      return true;
    }
    QToolTip::hideText();
    event->ignore();
    return true;
  }
  return QWidget::event(event);
}

bool TrackerWindow::focusNextPrevChild(bool next) {
  // Tab goes round the three text boxes: Driver, Purpose, Comments, Driver.
  QWidget* chain[] = {driver_, purpose_, comments_};
  for (int i = 0; i < 3; ++i) {
    if (focusWidget() == chain[i]) {
      chain[(i + (next ? 1 : 2)) % 3]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return true;
    }
  }
  return QWidget::focusNextPrevChild(next);
}

void TrackerWindow::Redraw() {
  buffer_dirty_ = true;
  update();
}

void TrackerWindow::paintEvent(QPaintEvent* event) {
  // The buffer is drawn again only when what it shows changed; a paint is one copy.
  if (buffer_dirty_ || back_buffer_.size() != size()) {
    PaintBackBuffer();
    buffer_dirty_ = false;
  }
  QPainter painter(this);
  painter.drawImage(event->rect(), back_buffer_, event->rect());
}

void TrackerWindow::PaintBackBuffer() {
  if (back_buffer_.size() != size()) back_buffer_ = QImage(size(), QImage::Format_RGB32);
  QPainter p(&back_buffer_);
  p.drawPixmap(0, 0, background_);

  // Title bar: the icon and the title in yellow.
  p.drawPixmap(7, 6, 16, 16, SkinBitmap(skin::kSmallIcon));
  QFont title_font("Liberation Sans");
  title_font.setPixelSize(13);
  title_font.setBold(true);
  p.setFont(title_font);
  p.setPen(palette::kTitle);
  const QRect title = ToQRect(layout_.title_text).adjusted(0, -2, 0, 4);
  p.drawText(title, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
             p.fontMetrics().elidedText(windowTitle(), Qt::ElideRight, title.width()));

  // The information panel: labels always, values only while a row is selected.
  const int row_index = model_->RowIndexAt(SelectedRow());
  const std::optional<RowDisplay> shown =
      row_index >= 0 ? std::optional(DisplayValues(document_.trips.rows[static_cast<std::size_t>(row_index)]))
                     : std::nullopt;
  QFont label_font = list_font_;
  QFont title_label_font = list_font_;
  title_label_font.setBold(true);
  QFont value_font = list_font_;
  value_font.setPixelSize(13);
  value_font.setBold(true);
  for (const PanelItem& item : PanelItems(layout_.kind)) {
    // The map covers whatever of a rectangle reaches under it.
    QRect area = ToQRect(item.rect);
    area.setRight(std::min(area.right(), layout_.map.x - 4));
    QString text;
    int flags = Qt::AlignVCenter | Qt::TextSingleLine;
    if (item.value != PanelValue::kNone) {
      if (!shown) continue;
      text = FromUtf8(PanelValueText(*shown, item.value));
      p.setFont(value_font);
      p.setPen(palette::kText);
      flags |= Qt::AlignRight;
    } else if (item.align == PanelAlign::kCentre) {
      text = FromUtf8(Text(language_, item.text_item, profile_));
      p.setFont(title_label_font);
      p.setPen(palette::kAmber);
      flags |= Qt::AlignHCenter;
    } else {
      text = FromUtf8(Text(language_, item.text_item, profile_));
      p.setFont(label_font);
      p.setPen(palette::kDimText);
      flags |= Qt::AlignLeft;
    }
    p.drawText(area, flags, p.fontMetrics().elidedText(text, Qt::ElideRight, area.width()));
  }
}

// ---------------------------------------------------------------------------------------------
// State for scripted runs

QJsonObject TrackerWindow::State() const {
  QJsonObject state;
  state["profile"] = FromUtf8(profile_.name);
  state["title"] = windowTitle();
  state["layout"] = LayoutName(layout_.kind);
  const QRect frame = geometry();
  state["window"] = QJsonArray{frame.x(), frame.y(), frame.width(), frame.height()};
  state["language"] = language_;
  state["timeZone"] = time_zone_;
  state["dst"] = daylight_saving_;
  QJsonArray columns;
  for (int column = 0; column < 3; ++column)
    columns.append(model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
  state["columns"] = columns;
  state["dstText"] = daylight_box_->text();
  state["rows"] = model_->State();
  state["selectedRow"] = SelectedRow();

  QJsonObject panel;
  const int row_index = model_->RowIndexAt(SelectedRow());
  const std::optional<RowDisplay> shown =
      row_index >= 0 ? std::optional(DisplayValues(document_.trips.rows[static_cast<std::size_t>(row_index)]))
                     : std::nullopt;
  QJsonArray labels;
  for (const PanelItem& item : PanelItems(layout_.kind)) {
    if (item.value == PanelValue::kNone) {
      labels.append(FromUtf8(Text(language_, item.text_item, profile_)));
    } else {
      panel[PanelValueName(item.value)] = shown ? FromUtf8(PanelValueText(*shown, item.value)) : QString();
    }
  }
  panel["labels"] = labels;
  state["panel"] = panel;
  state["edits"] =
      QJsonObject{{"driver", driver_->text()}, {"purpose", purpose_->text()}, {"comments", comments_->toPlainText()}};

  QJsonObject stored;
  const std::optional<std::string> open_path = settings_.ReadString(kOpenPathKey);
  stored["OPENPATH"] = open_path ? QJsonValue(FromUtf8(*open_path)) : QJsonValue();
  const std::optional<std::string> language = settings_.ReadString(kLanguageKey);
  stored["LANG"] = language ? QJsonValue(FromUtf8(*language)) : QJsonValue();
  const std::optional<std::uint32_t> zone = settings_.ReadNumber(kTimeZoneKey);
  stored["GMT"] = zone ? QJsonValue(static_cast<qint64>(*zone)) : QJsonValue();
  state["settings"] = stored;

  state["controlsEnabled"] = open_->isEnabled();
  state["showTime"] = show_time_->IsOn();
  state["speed"] = speed_box_->currentText();
  state["lastOpenedPath"] = last_opened_path_;
  state["map"] = map_->State();
  const QJsonObject replay = replay_->State();
  for (auto it = replay.begin(); it != replay.end(); ++it) state[it.key()] = it.value();
  state["video"] = video_->State();
  state["messages"] = QJsonArray::fromStringList(gui::RecordedMessages());
  return state;
}

}  // namespace tracker
