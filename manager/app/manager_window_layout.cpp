// The main window's controls at their places: the buttons, the list, the labels and the video
// windows as the layout table (window_layout.h) puts them, and the moves between the normal
// and the full-screen layout and of a channel swap.
#include <QHeaderView>
#include <QTableView>

#include "common/gui/utf8_text.h"
#include "manager/app/manager_window.h"
#include "manager/app/recording_list_model.h"
#include "manager/display/image_button.h"
#include "manager/display/label.h"
#include "manager/display/map_view.h"
#include "manager/display/qt_geometry.h"
#include "manager/display/rules/button_table.h"
#include "manager/display/rules/palette.h"
#include "manager/display/rules/video_layout.h"
#include "manager/display/rules/window_layout.h"
#include "manager/display/video_widget.h"
#include "manager/language/lookup_text.h"
#include "manager/playback/transport.h"

namespace app {

using namespace display;
namespace keys = language::keys;

namespace {

using gui::FromUtf8;

// Bold, in pixels, so the labels fit their places on every desktop.
constexpr int kCaptionPixels = 12;
constexpr int kDataPixels = 10;
constexpr int kListPixels = 12;
constexpr int kListColumnWidth = 100;
constexpr int kListRowHeight = 18;

QFont LabelFont(const char* face, int pixelSize) {
  QFont font(QString::fromLatin1(face));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelSize);
  font.setBold(true);
  return font;
}

// The buttons that the full-screen layout hides (with the labels and the list).
constexpr int kHiddenInFullScreen[] = {commands::kPrint, commands::kSnapshot, commands::kSetup, commands::kSwap,
                                       commands::kFolder};

// A label's first text: the captions come from the language table, the data labels start empty.
QString FirstText(int id, const setup::Profile& profile) {
  switch (id) {
    case controls::kListCaption: return FromUtf8(language::LookupText(keys::kFileList));
    case controls::kDateCaption: return FromUtf8(language::LookupText(keys::kDate));
    case controls::kTimeCaption: return FromUtf8(language::LookupText(keys::kTime));
    case controls::kCauseCaption: return FromUtf8(language::LookupText(keys::kDescription));
    case controls::kVersion:
      return FromUtf8(language::LookupText(keys::kManagerVersion.key, setup::VersionLabelDefault(profile)));
    default: return {};
  }
}

}  // namespace

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
  listView_->setGeometry(ToQRect(kRecordingListArea));
  listView_->horizontalHeader()->hide();
  listView_->verticalHeader()->hide();
  listView_->horizontalHeader()->setDefaultSectionSize(kListColumnWidth);
  // The last column takes the rest, so a selected row is highlighted across the whole list.
  listView_->horizontalHeader()->setStretchLastSection(true);
  listView_->verticalHeader()->setDefaultSectionSize(kListRowHeight);
  listView_->setShowGrid(false);
  listView_->setSelectionBehavior(QAbstractItemView::SelectRows);
  listView_->setSelectionMode(QAbstractItemView::SingleSelection);
  listView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  listView_->setFrameShape(QFrame::NoFrame);
  listView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  listView_->setWordWrap(false);
  QFont listFont = listView_->font();
  listFont.setPixelSize(kListPixels);
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

  const QColor dataBackground = QColor::fromRgb(static_cast<QRgb>(palette::kDataLabelBackground));
  for (const LabelPlace& place : kLabelPlaces) {
    switch (place.style) {
      case LabelStyle::Caption:
        CreateLabel(place.id, LabelFont("Arial", kCaptionPixels), std::nullopt, place.rect,
                    FirstText(place.id, profile_));
        break;
      case LabelStyle::GpsStatus:
        CreateLabel(place.id, LabelFont("_sans", kCaptionPixels), std::nullopt, place.rect, {});
        break;
      case LabelStyle::Data:
        CreateLabel(place.id, LabelFont("Arial", kDataPixels), dataBackground, place.rect, {});
        break;
    }
  }

  // Channel 1 in the large window: it reports its graph events to this window.
  auto* large = new VideoWidget(controls::kLargeVideo, this);
  large->setGeometry(ToQRect(kNormalVideoArea));
  large->SetIdleBackground(&cleanSkin());
  playback::AttachWindow(large->video(), large);
  large->video().notifyWindow = this;
  large->video().notifyMessage = playback::kGraphNotifyMessage;
  channelSettings_[kChannel1].channelNumber = 1;
  channelSettings_[kChannel1].eventsOn = 1;
  channels_[kChannel1] = large;
  if (profile_.channels > 1) {
    auto* small = new VideoWidget(controls::kSmallVideo, this);
    small->setGeometry(ToQRect(kSmallVideoArea));
    small->SetIdleBackground(&cleanSkin());
    playback::AttachWindow(small->video(), small);
    channelSettings_[kChannel2].channelNumber = 2;
    channels_[kChannel2] = small;
    if (auto* swap = Button(commands::kSwap)) swap->raise();
  }
}

void ManagerWindow::CreateLabel(int id, const QFont& font, std::optional<QColor> background, Rect place,
                                const QString& text) {
  auto* label = new CLabel(id, this);
  label->SetLabelFont(font);
  label->SetTextColour(Qt::white);
  label->SetBackground(background);
  label->setGeometry(ToQRect(place));
  label->SetText(text);
  labels_[id] = label;
}

MapView* ManagerWindow::mapView() {
  if (map_ == nullptr) {
    map_ = new MapView(profile_, this);
    map_->hide();
  }
  return map_;
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

void ManagerWindow::SetPanelControlsVisible(bool visible) {
  for (const int id : kHiddenInFullScreen) {
    if (ImageButton* button = Button(id)) button->setVisible(visible);
  }
  for (const LabelPlace& place : kLabelPlaces) Label(place.id)->setVisible(visible);
  listView_->setVisible(visible);
}

void ManagerWindow::PlaceButtons(bool fullScreen) {
  const auto places =
      fullScreen ? FullScreenButtonPlaces(screenRect_.width(), screenRect_.height()) : NormalButtonPlaces();
  for (const ButtonPlace& place : places) {
    if (ImageButton* button = Button(place.id)) button->setGeometry(ToQRect(place.rect));
  }
}

void ManagerWindow::LayoutVideoArea(int mode) {
  const Rect area = mode == 1 ? FullScreenVideoArea(screenRect_.width(), screenRect_.height()) : kNormalVideoArea;
  std::optional<PictureSize> picture;
  if (const auto size = playback::NativeVideoSize(channels_[kChannel1]->video())) {
    picture = PictureSize{size->width, size->height};
  }
  videoRect_ = FitVideo(area, picture);

  const int largeChannel = profile_.channels < 2 ? kChannel1
                           : mode == 1           ? FullScreenChannel(swap_, transport_.hasChannel2)
                                                 : LargeWindowChannel();
  VideoWidget* large = channels_[largeChannel];
  large->show();
  large->setGeometry(ToQRect(videoRect_));
  SetMuted(largeChannel, false);
  large->video().videoRect = {0, 0, videoRect_.Width(), videoRect_.Height()};
  playback::ResizeVideo(large->video());

  if (profile_.channels < 2) return;
  VideoWidget* other = channels_[1 - largeChannel];
  if (mode == 1) {
    other->hide();
  } else {
    other->setGeometry(ToQRect(kSmallVideoArea));
    other->show();
  }
}

void ManagerWindow::SwapChannels() {
  if (profile_.channels < 2) return;
  VideoWidget* channel1 = channels_[kChannel1];
  VideoWidget* channel2 = channels_[kChannel2];
  if (!swap_) {
    channel2->setGeometry(ToQRect(kNormalVideoArea));
    channel1->setGeometry(ToQRect(kSmallVideoArea));
    swap_ = true;
  } else {
    channel1->setGeometry(ToQRect(kNormalVideoArea));
    channel2->setGeometry(ToQRect(kSmallVideoArea));
    swap_ = false;
  }
  for (const int channel : {kChannel1, kChannel2}) {
    VideoWidget* window = channels_[channel];
    SetMuted(channel, false);
    window->video().videoRect = window->ClientRect();
    playback::ResizeVideo(window->video());
    window->update();
  }
}

}  // namespace app
