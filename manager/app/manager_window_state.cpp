// What scripted runs see of the main window: its state as JSON, and when it has settled.
#include <QJsonArray>
#include <QTableView>

#include "manager/app/manager_window.h"
#include "manager/display/image_button.h"
#include "manager/display/label.h"
#include "manager/display/map_view.h"
#include "manager/display/video_widget.h"
#include "manager/library/recording_name.h"
#include "manager/setup/dialog/setup_dialog.h"

namespace app {

using namespace display;

namespace {

QJsonArray RectArray(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

}  // namespace

QJsonObject ManagerWindow::StateJson() const {
  QJsonObject state;
  state["profile"] = QString::fromUtf8(profile_.name.data(), static_cast<qsizetype>(profile_.name.size()));
  state["title"] = windowTitle();
  state["window"] = RectArray(geometry());
  state["fullScreen"] = fullScreen_;
  state["swap"] = swap_;
  state["playState"] = static_cast<int>(transport_.playState());
  state["hasChannel2"] = transport_.hasChannel2;
  state["noData"] = sensor_.noData;
  state["duration"] = static_cast<qint64>(transport_.duration);
  state["position"] = static_cast<qint64>(transport_.position());
  state["positionOffset"] = transport_.positionOffset();
  state["fullScreenOffset"] = transport_.fullScreenOffset();
  state["ratePosition"] = transport_.ratePosition();
  state["volumePosition"] = transport_.volumePosition();
  state["timeText"] = timeText_;

  QJsonObject labels;
  QJsonObject colours;
  for (const auto& [id, label] : labels_) {
    labels[QString::number(id)] = label->Text();
    colours[QString::number(id)] = label->TextColour().name();
  }
  state["labels"] = labels;
  state["labelColors"] = colours;

  QJsonArray rows;
  for (int row = 0; row < list_->recordingCount(); ++row) {
    rows.append(QJsonArray{QString::fromStdString(list_->RowText(row, 0)),
                           QString::fromStdString(list_->RowText(row, 1)),
                           QString::fromStdString(list_->RowText(row, 2))});
  }
  state["list"] = QJsonObject{{"count", list_->recordingCount()},
                              {"currentRow", list_->currentRow()},
                              {"currentRecording", QString::fromStdString(list_->currentRecording())},
                              {"rows", rows}};

  QJsonArray channels;
  for (int channel = 0; channel < profile_.channels; ++channel) {
    const VideoWidget* window = channels_[channel];
    const ChannelRecord& record = channelRecords_[channel];
    channels.append(QJsonObject{{"engineState", static_cast<int>(window->video().state)},
                                {"visible", window->isVisible()},
                                {"rect", RectArray(window->geometry())},
                                {"muted", record.muted},
                                {"rate", record.rate},
                                {"volumePercent", record.volumePercent},
                                {"hasAudioRenderer", record.hasAudioRenderer},
                                {"paintedFrames", window->PaintedFrames()},
                                {"paintedPosition", static_cast<qint64>(window->PaintedPosition())}});
  }
  state["channels"] = channels;
  state["videoRect"] = QJsonArray{videoRect_.left, videoRect_.top, videoRect_.Width(), videoRect_.Height()};

  QJsonObject buttons;
  for (const auto& [id, button] : buttons_) {
    buttons[QString::number(id)] = QJsonObject{
        {"rect", RectArray(button->geometry())}, {"visible", button->isVisible()}, {"toggled", button->Toggled()}};
  }
  state["buttons"] = buttons;
  state["map"] = map_ != nullptr ? map_->State() : QJsonObject{{"visible", false}};
  if (const setup::CSetupDlg* dialog = setupDialog()) state["setup"] = dialog->State();
  return state;
}

void ManagerWindow::MarkActionsDone() {
  positionTicksAtMark_ = positionTicks_;
  panelTicksAtMark_ = panelTicks_;
}

bool ManagerWindow::Settled(std::int64_t target) const {
  if (openRequestPending_ || opener_.inProgress()) return false;
  if (positionTicks_ <= positionTicksAtMark_ || panelTicks_ <= panelTicksAtMark_) return false;
  if (map_ == nullptr || !map_->Settled()) return false;
  // A picture may start up to a frame before the requested time.
  constexpr std::int64_t kFrameSlack = 1'000'000;
  for (int channel = 0; channel < profile_.channels; ++channel) {
    const VideoWidget* window = channels_[channel];
    if (window->video().state == playback::EngineState::kNoGraph || !window->isVisible()) continue;
    if (window->PaintedFrames() == 0 || window->PaintedPosition() < target - kFrameSlack) return false;
  }
  return true;
}

}  // namespace app
