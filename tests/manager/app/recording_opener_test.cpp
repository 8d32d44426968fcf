// The opening sequence against a fake engine and window: which channel opens when, which
// messages show in which order, and what a new click or Stop does to an open under way.
#include "manager/app/recording_opener.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using app::ChannelOpened;
using Log = std::vector<std::string>;

constexpr const char* kFront = "/card/EVENT/drf_20240101_000000.mp4";
constexpr const char* kRear = "/card/EVENT/drr_20240101_000000.mp4";
constexpr const char* kOther = "/card/EVENT/drf_20240101_000100.mp4";

// The engine answers only when the test says so, as the bus would, later.
struct Fake : app::OpeningEngine, app::OpeningWindow {
  Log log;
  bool rearExists = true;
  int structure = 0;
  std::map<int, std::deque<std::function<void(const ChannelOpened&)>>> pending;
  bool graph[2] = {false, false};

  void OpenChannel(int channel, const std::string& path, int showWindow,
                   std::function<void(const ChannelOpened&)> done) override {
    log.push_back("open " + std::to_string(channel) + " " + path + " show " + std::to_string(showWindow));
    pending[channel].push_back(std::move(done));
  }
  void Teardown(int channel) override {
    log.push_back("teardown " + std::to_string(channel));
    graph[channel] = false;
  }
  bool HasGraph(int channel) const override { return graph[channel]; }

  void PrepareForOpening(const std::string& path) override { log.push_back("prepare " + path); }
  void ShowFlags(bool rearFile, int& showChannel1, int& showChannel2) const override {
    showChannel1 = 1;
    showChannel2 = rearFile ? 1 : 0;
  }
  bool IsRegularFile(const std::string& path) const override {
    return path.find("drr_") == std::string::npos || rearExists;
  }
  int CheckRecordingStructure(const std::string&) const override { return structure; }
  void SetWaitCursor(bool on) override { log.push_back(on ? "cursor on" : "cursor off"); }
  void ShowMessage(const std::string& text, const std::string& cause) override {
    log.push_back("message " + text + (cause.empty() ? "" : " / " + cause));
  }
  void ChannelOpenEnded(int channel, const ChannelOpened& opened) override {
    log.push_back("ended " + std::to_string(channel) + (opened.built ? " built" : " failed"));
    graph[channel] = opened.built;
  }
  void SetHasChannel2(bool has) override { log.push_back(has ? "rear" : "no rear"); }
  void StartPlaying() override { log.push_back("play"); }

  // The engine's answer for the oldest open of `channel` still waiting.
  void Answer(int channel, const ChannelOpened& opened) {
    auto done = std::move(pending[channel].front());
    pending[channel].pop_front();
    log.push_back("-- answer " + std::to_string(channel));
    done(opened);
  }
};

const ChannelOpened kBuilt{true, 20'000'000, 1, {}, {}};
const ChannelOpened kFailed{false, 0, 0, "pFSF->Load failed : error code = 0x80004005",
                            "the file is not an MP4 recording"};
const ChannelOpened kRearFailed{
    false, 0, 1, "[pFilterMPCMP4Source -> pFilterH264Decoder] : ConnectFilters() error code = 0x80040216", {}};

struct Case {
  const char* what;
  app::RecordingOpener::Options options;
  int structure;  // what the check says of the front file
  bool rearExists;
  std::function<void(Fake&, app::RecordingOpener&)> script;  // after the click on the front
  Log expected;
  bool inProgressAfter = false;
};

const std::string kOpenFront = std::string("open 0 ") + kFront + " show 1";
const std::string kOpenRear = std::string("open 1 ") + kRear + " show 1";

TEST(RecordingOpener, OpensChannelByChannelAndReportsEachFailureInOrder) {
  const std::vector<Case> cases = {
      {"both channels open, then play",
       {2, true},
       0,
       true,
       [](Fake& fake, app::RecordingOpener&) {
         fake.Answer(0, kBuilt);
         fake.Answer(1, kBuilt);
       },
       {"prepare " + std::string(kFront), "cursor on", kOpenFront, "-- answer 0", "ended 0 built", "rear", kOpenRear,
        "-- answer 1", "cursor off", "ended 1 built", "play"}},
      {"the front fails: the engine's message with its cause, then the window's",
       {2, true},
       0,
       true,
       [](Fake& fake, app::RecordingOpener&) { fake.Answer(0, kFailed); },
       {"prepare " + std::string(kFront), "cursor on", kOpenFront, "-- answer 0", "cursor off",
        "message pFSF->Load failed : error code = 0x80004005 / the file is not an MP4 recording", "ended 0 failed",
        "message drf_20240101_000000.mp4 file open error!"}},
      {"a broken front stops before the rear",
       {2, true},
       -1,
       true,
       [](Fake& fake, app::RecordingOpener&) { fake.Answer(0, kBuilt); },
       {"prepare " + std::string(kFront), "cursor on", kOpenFront, "-- answer 0", "ended 0 built", "cursor off",
        "message File \"drf_20240101_000000.mp4\" is broken!"}},
      {"a front that cannot be reopened for the check still plays",
       {2, true},
       -2,
       true,
       [](Fake& fake, app::RecordingOpener&) {
         fake.Answer(0, kBuilt);
         fake.Answer(1, kBuilt);
       },
       {"prepare " + std::string(kFront), "cursor on", kOpenFront, "-- answer 0", "ended 0 built", "rear", kOpenRear,
        "-- answer 1", "cursor off", "ended 1 built", "play"}},
      {"no rear file: the rear window is emptied and the front plays",
       {2, true},
       0,
       false,
       [](Fake& fake, app::RecordingOpener&) { fake.Answer(0, kBuilt); },
       {"prepare " + std::string(kFront), "cursor on", kOpenFront, "-- answer 0", "ended 0 built", "no rear",
        "teardown 1", "cursor off", "play"}},
      {"the rear fails: its messages, and nothing plays",
       {2, true},
       0,
       true,
       [](Fake& fake, app::RecordingOpener&) {
         fake.Answer(0, kBuilt);
         fake.Answer(1, kRearFailed);
       },
       {"prepare " + std::string(kFront), "cursor on", kOpenFront, "-- answer 0", "ended 0 built", "rear", kOpenRear,
        "-- answer 1", "cursor off",
        "message [pFilterMPCMP4Source -> pFilterH264Decoder] : ConnectFilters() error code = 0x80040216",
        "ended 1 failed", "message drr_20240101_000000.mp4 file open error!"}},
      {"a new click while the front opens: only the new recording goes on",
       {2, true},
       0,
       true,
       [](Fake& fake, app::RecordingOpener& opener) {
         opener.OpenRecording(kOther);
         fake.Answer(0, kFailed);  // the first click's answer, too late
         fake.rearExists = false;
         fake.Answer(0, kBuilt);
       },
       {"prepare " + std::string(kFront), "cursor on", kOpenFront, "prepare " + std::string(kOther),
        std::string("open 0 ") + kOther + " show 1", "-- answer 0", "-- answer 0", "ended 0 built", "no rear",
        "teardown 1", "cursor off", "play"}},
      {"Stop while the rear opens: its answer is dropped",
       {2, true},
       0,
       true,
       [](Fake& fake, app::RecordingOpener& opener) {
         fake.Answer(0, kBuilt);
         opener.Cancel();
         fake.Answer(1, kBuilt);
       },
       {"prepare " + std::string(kFront), "cursor on", kOpenFront, "-- answer 0", "ended 0 built", "rear", kOpenRear,
        "cursor off", "-- answer 1"}},
      {"one channel: no check, no rear",
       {1, false},
       -1,
       true,
       [](Fake& fake, app::RecordingOpener&) { fake.Answer(0, kBuilt); },
       {"prepare " + std::string(kFront), "cursor on", kOpenFront, "-- answer 0", "ended 0 built", "cursor off",
        "play"}},
      {"still waiting for the front",
       {2, true},
       0,
       true,
       [](Fake&, app::RecordingOpener&) {},
       {"prepare " + std::string(kFront), "cursor on", kOpenFront},
       true},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    Fake fake;
    fake.structure = test.structure;
    fake.rearExists = test.rearExists;
    app::RecordingOpener opener(fake, fake, test.options);
    opener.OpenRecording(kFront);
    test.script(fake, opener);
    EXPECT_EQ(fake.log, test.expected);
    EXPECT_EQ(opener.inProgress(), test.inProgressAfter);
  }
}

}  // namespace
