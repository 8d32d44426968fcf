#include "manager/app/recording_opener.h"

#include "common/path_text.h"
#include "manager/library/recording_name.h"

namespace app {

namespace {
constexpr int kFront = 0;
constexpr int kRear = 1;
constexpr int kStructureOk = 0;
constexpr int kStructureCannotOpen = -2;  // the engine has opened the file already: not reported
}  // namespace

std::string FileOpenErrorText(const std::string& path) {
  return std::string(common::FileNameOf(path)) + " file open error!";
}

RecordingOpener::RecordingOpener(OpeningEngine& engine, OpeningWindow& window, Options options)
    : engine_(engine), window_(window), options_(options) {}

std::function<void(const ChannelOpened&)> RecordingOpener::Answer(void (RecordingOpener::*step)(const std::string&,
                                                                                                const ChannelOpened&),
                                                                  std::string path) {
  return [this, step, open = opensStarted_, path = std::move(path)](const ChannelOpened& opened) {
    if (open != opensStarted_ || !inProgress_) return;
    (this->*step)(path, opened);
  };
}

void RecordingOpener::OpenRecording(const std::string& path) {
  ++opensStarted_;
  inProgress_ = true;
  window_.PrepareForOpening(path);
  const bool rearFile = options_.channels > 1 && window_.IsRegularFile(library::CompanionPath(path));
  int showChannel1 = 1;
  window_.ShowFlags(rearFile, showChannel1, showChannel2_);
  if (!cursorOn_) window_.SetWaitCursor(true);
  cursorOn_ = true;
  engine_.OpenChannel(kFront, path, showChannel1, Answer(&RecordingOpener::OnChannel1, path));
}

void RecordingOpener::OnChannel1(const std::string& path, const ChannelOpened& opened) {
  if (!opened.built) {
    End();
    if (!opened.message.empty()) window_.ShowMessage(opened.message, opened.cause);
    window_.ChannelOpenEnded(kFront, opened);
    window_.ShowMessage(FileOpenErrorText(path));
    return;
  }
  window_.ChannelOpenEnded(kFront, opened);
  if (options_.runsStructureCheck) {
    const int structure = window_.CheckRecordingStructure(path);
    if (structure != kStructureOk && structure != kStructureCannotOpen) {
      End();
      window_.ShowMessage("File \"" + std::string(common::FileNameOf(path)) + "\" is broken!");
      return;
    }
  }
  if (options_.channels > 1) {
    const std::string companion = library::CompanionPath(path);
    // Only a file can be a rear recording: a FIFO or folder of that name would block the player.
    const bool hasRear = window_.IsRegularFile(companion);
    window_.SetHasChannel2(hasRear);
    if (hasRear) {
      engine_.OpenChannel(kRear, companion, showChannel2_, Answer(&RecordingOpener::OnChannel2, companion));
      return;
    }
    // The small window must not go on showing the previous recording's rear camera.
    engine_.Teardown(kRear);
  }
  End();
  window_.StartPlaying();
}

void RecordingOpener::OnChannel2(const std::string& companion, const ChannelOpened& opened) {
  End();
  if (!opened.built && !opened.message.empty()) window_.ShowMessage(opened.message, opened.cause);
  window_.ChannelOpenEnded(kRear, opened);
  if (!opened.built) {
    window_.ShowMessage(FileOpenErrorText(companion));
    return;
  }
  // Stop pressed since the front was built has released it.
  if (!engine_.HasGraph(kFront)) return;
  window_.StartPlaying();
}

void RecordingOpener::Cancel() { End(); }

void RecordingOpener::End() {
  inProgress_ = false;
  if (cursorOn_) window_.SetWaitCursor(false);
  cursorOn_ = false;
}

}  // namespace app
