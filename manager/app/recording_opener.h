#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace app {

// How one channel's open ended, as the engine tells it.
struct ChannelOpened {
  bool built = false;
  std::int64_t duration = 0;  // 100 ns units, when built
  int hasAudioRenderer = 0;
  std::string message;  // the engine's own message for a failure (with its cause), else empty
  std::string cause;
};

// The channels' playback engines, as the opener drives them.
class OpeningEngine {
 public:
  virtual ~OpeningEngine() = default;
  // Starts opening `path` on `channel` (0 front, 1 rear) and returns at once; `done` runs
  // later on this thread, unless the channel is torn down or opened again first.
  virtual void OpenChannel(int channel, const std::string& path, int showWindow,
                           std::function<void(const ChannelOpened&)> done) = 0;
  virtual void Teardown(int channel) = 0;
  virtual bool HasGraph(int channel) const = 0;
};

// What an open shows and asks of the main window.
class OpeningWindow {
 public:
  virtual ~OpeningWindow() = default;
  // The name label, the panel reset, the sensor record and the map, before any channel opens.
  virtual void PrepareForOpening(const std::string& path) = 0;
  // Whether each channel's window is shown, given that the recording has a rear file.
  virtual void ShowFlags(bool rearFile, int& showChannel1, int& showChannel2) const = 0;
  virtual bool IsRegularFile(const std::string& path) const = 0;
  // The structure check's result for the front file: 0 sound, -1 broken, -2 cannot open.
  virtual int CheckRecordingStructure(const std::string& path) const = 0;
  virtual void SetWaitCursor(bool on) = 0;
  // A message box; `cause`, when not empty, goes in the same box.
  virtual void ShowMessage(const std::string& text, const std::string& cause = {}) = 0;
  // A channel's open ended (built or not): what the window keeps of it.
  virtual void ChannelOpenEnded(int channel, const ChannelOpened& opened) = 0;
  virtual void SetHasChannel2(bool has) = 0;
  // Everything is open: play both channels.
  virtual void StartPlaying() = 0;
};

// Opens a recording chosen in the list: the front channel, its checks, the rear channel, then
// play, each step once the engine has answered the one before, so the window never waits. A
// failing step shows its messages and ends the open; what was built stays. A new open or Stop
// ends the one under way.
class RecordingOpener {
 public:
  struct Options {
    int channels = 2;                // 1 in the one-channel builds
    bool runsStructureCheck = true;  // the dual build checks the front file's boxes
  };
  RecordingOpener(OpeningEngine& engine, OpeningWindow& window, Options options);

  void OpenRecording(const std::string& path);
  // Stop: the open under way (if any) ends without a message; the engine's channels are the
  // caller's to tear down.
  void Cancel();

  bool inProgress() const { return inProgress_; }
  // How many opens were started: one per click on a row.
  int opensStarted() const { return opensStarted_; }

 private:
  void OnChannel1(const std::string& path, const ChannelOpened& opened);
  void OnChannel2(const std::string& companion, const ChannelOpened& opened);
  void End();
  // A channel's answer, unless a later open or Stop has ended its open meanwhile.
  std::function<void(const ChannelOpened&)> Answer(void (RecordingOpener::*step)(const std::string&,
                                                                                 const ChannelOpened&),
                                                   std::string path);

  OpeningEngine& engine_;
  OpeningWindow& window_;
  Options options_;
  int opensStarted_ = 0;
  bool inProgress_ = false;
  bool cursorOn_ = false;
  int showChannel2_ = 1;
};

// "%s file open error!" for the file of `path`.
std::string FileOpenErrorText(const std::string& path);

}  // namespace app
