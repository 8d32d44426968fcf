#include <gmock/gmock.h>
#include <gst/gst.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>

#include "manager/playback/transport.h"
#include "tests/manager/playback/channel.h"
#include "tests/support/camera_clip.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace playback_testing;
using testing::ElementsAre;

constexpr std::int64_t kSecond = 10'000'000;
const std::vector<std::string> kSilentOutput{"audioconvert", "audioresample", "volume", "fakesink"};

// The `volume` element is there only when the sound stream reached the audio renderer.
bool AudioConnected(const playback::CVideo& video) {
  GstElement* volume = gst_bin_get_by_name(GST_BIN(video.graph.get()), "volume");
  if (volume == nullptr) return false;
  gst_object_unref(volume);
  return true;
}

double VolumeGain(const playback::CVideo& video) {
  GstElement* volume = gst_bin_get_by_name(GST_BIN(video.graph.get()), "volume");
  double gain = -1;
  if (volume != nullptr) {
    g_object_get(volume, "volume", &gain, nullptr);
    gst_object_unref(volume);
  }
  return gain;
}

TEST(BuildGraph, LeavesTheChannelPausedAtTheFirstFrame) {
  for (const Clip clip : {Clip::kVga, Clip::kHd}) {
    Channel channel;
    ASSERT_TRUE(channel.Build(ClipPath(clip)));
    EXPECT_TRUE(channel.messages.texts.empty());
    EXPECT_EQ(channel.video.state, playback::EngineState::kPaused);
    EXPECT_EQ(channel.Position(), 0);
    EXPECT_NEAR(channel.result.duration, 2 * kSecond, kSecond / 20);
    EXPECT_EQ(channel.surface.shows.load(), 1);
    const auto frame = channel.surface.Last();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->Position(), 0);
    EXPECT_EQ(frame, playback::CurrentFrame(channel.video));
    const playback::VideoSize expected =
        clip == Clip::kHd ? playback::VideoSize{1280, 720} : playback::VideoSize{640, 480};
    EXPECT_EQ(frame->Size(), expected);
    EXPECT_GE(frame->Stride(), expected.width * 4);
    // autoaudiosink settles for a fakesink on a machine without sound: that is no audio output.
    if (!std::filesystem::exists("/dev/snd") && std::getenv("PULSE_SERVER") == nullptr) {
      EXPECT_EQ(channel.result.hasAudioRenderer, 0);
    }
  }
}

TEST(BuildGraph, ARecordingWithoutSoundPlaysItsPicture) {
  Channel channel;
  channel.video.filters.audioRenderer = kSilentOutput;
  ASSERT_TRUE(channel.Build(ClipPath(Clip::kSilent)));
  EXPECT_TRUE(channel.messages.texts.empty());
  EXPECT_EQ(channel.result.hasAudioRenderer, 1);
  EXPECT_FALSE(AudioConnected(channel.video));
  EXPECT_EQ(channel.result.duration, 2 * kSecond);
  // No audio path: volume changes find nothing to set.
  playback::SetVolumePercent(channel.video, 50);
  playback::Play(channel.video);
  EXPECT_TRUE(channel.WaitForEvent(playback::GraphEventCode::kEndOfStream));
}

TEST(BuildGraph, ConnectsTheSoundWhicheverStreamComesFirst) {
  for (const Clip clip : {Clip::kVga, Clip::kAudioFirst}) {
    Channel channel;
    channel.video.filters.audioRenderer = kSilentOutput;
    ASSERT_TRUE(channel.Build(ClipPath(clip)));
    EXPECT_TRUE(channel.messages.texts.empty());
    EXPECT_EQ(channel.result.hasAudioRenderer, 1);
    EXPECT_TRUE(AudioConnected(channel.video));
    EXPECT_EQ(playback::NativeVideoSize(channel.video), (playback::VideoSize{640, 480}));
    // With both renderers the end is still reported once, when both have finished.
    playback::SetRate(channel.video, 4.0);
    playback::Play(channel.video);
    ASSERT_TRUE(channel.WaitForEvent(playback::GraphEventCode::kEndOfStream));
    channel.waiter.Wait(std::chrono::milliseconds(200));
    playback::PumpGraphEvents(channel.video, &channel);
    EXPECT_EQ(channel.events.size(), 1u);
  }
}

TEST(BuildGraph, WithoutAnAudioOutputPlaysSilentlyAndSaysNothing) {
  for (const Clip clip : {Clip::kVga, Clip::kAudioFirst}) {
    Channel channel;
    channel.video.filters.audioRenderer = {"audioconvert", "no-such-audio-sink"};
    ASSERT_TRUE(channel.Build(ClipPath(clip)));
    EXPECT_TRUE(channel.messages.texts.empty());
    EXPECT_EQ(channel.result.hasAudioRenderer, 0);
    EXPECT_FALSE(AudioConnected(channel.video));
    playback::SetRate(channel.video, 4.0);
    playback::Play(channel.video);
    EXPECT_TRUE(channel.WaitForEvent(playback::GraphEventCode::kEndOfStream));
  }
}

// A sound device that goes away while the recording plays (a USB headset pulled out, the sound
// server stopped): the audio sink's error stops streaming, and the cause a user reads names it.
TEST(BuildGraph, ALostAudioDeviceStopsPlaybackWithItsCause) {
  Channel channel;
  channel.video.filters.audioRenderer = {"audioconvert", "audioresample", "volume", "fakeaudiosink"};
  ASSERT_TRUE(channel.Build(ClipPath(Clip::kVga)));
  ASSERT_EQ(channel.result.hasAudioRenderer, 1);
  playback::Play(channel.video);
  GstElement* sink = gst_bin_get_by_name(GST_BIN(channel.video.graph.get()), "fakeaudiosink");
  ASSERT_NE(sink, nullptr);
  GError* error = g_error_new_literal(GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_OPEN_WRITE, "device gone");
  gst_element_post_message(sink, gst_message_new_error(GST_OBJECT(sink), error, nullptr));
  g_error_free(error);
  gst_object_unref(sink);
  EXPECT_TRUE(channel.WaitForEvent(playback::GraphEventCode::kError));
  EXPECT_EQ(playback::ErrorCause(channel.video), "no audio output device");
}

TEST(BuildGraph, VolumeFollowsTheDecibelTable) {
  Channel first;
  first.video.filters.audioRenderer = kSilentOutput;
  ASSERT_TRUE(first.Build(ClipPath(Clip::kVga), 0));
  EXPECT_NEAR(VolumeGain(first.video), std::pow(10.0, -45 / 2000.0), 1e-6);
  playback::SetVolumePercent(first.video, 50);
  EXPECT_NEAR(VolumeGain(first.video), std::pow(10.0, -301 / 2000.0), 1e-6);
  playback::SetVolumePercent(first.video, 0);
  EXPECT_EQ(VolumeGain(first.video), 0.0);
  playback::SetMuted(first.video, 0);
  EXPECT_NEAR(VolumeGain(first.video), std::pow(10.0, -45 / 2000.0), 1e-6);

  Channel second;
  second.video.filters.audioRenderer = kSilentOutput;
  ASSERT_TRUE(second.Build(ClipPath(Clip::kVga), 1));
  EXPECT_EQ(VolumeGain(second.video), 0.0);
}

TEST(BuildGraph, RebuildingReplacesTheFirstGraph) {
  Channel channel;
  ASSERT_TRUE(channel.Build(ClipPath(Clip::kVga)));
  GstElement* first = channel.video.graph.get();
  gst_object_ref(first);
  ASSERT_TRUE(channel.Build(ClipPath(Clip::kHd)));
  EXPECT_NE(channel.video.graph.get(), first);
  GstState state = GST_STATE_VOID_PENDING;
  gst_element_get_state(first, &state, nullptr, 0);
  EXPECT_EQ(state, GST_STATE_NULL);
  EXPECT_EQ(GST_OBJECT_REFCOUNT_VALUE(first), 1);
  gst_object_unref(first);
  EXPECT_EQ(playback::NativeVideoSize(channel.video), (playback::VideoSize{1280, 720}));
}

class BuildFailure : public testing::Test {
 protected:
  void ExpectFailure(const std::filesystem::path& path, const std::string& message) {
    channel.result.hasAudioRenderer = 7;
    EXPECT_FALSE(channel.Build(path));
    EXPECT_THAT(channel.messages.texts, ElementsAre(message));
    EXPECT_EQ(channel.video.state, playback::EngineState::kNoGraph);
    EXPECT_FALSE(channel.video.graph);
    EXPECT_FALSE(channel.video.windowless);
    EXPECT_NE(channel.result.hasAudioRenderer, 7);
    // Nothing is left to play.
    playback::Play(channel.video);
    EXPECT_EQ(channel.video.state, playback::EngineState::kNoGraph);
  }

  testing_support::TempDir folder;
  Channel channel;
};

TEST_F(BuildFailure, MissingFile) {
  const auto path = folder / "drf_20100315_142530.mp4";
  ExpectFailure(path, "File \"" + path.string() + "\" not found");
}

TEST_F(BuildFailure, EmptyFile) {
  const auto path = folder / "empty.mp4";
  testing_support::WriteFile(path, "");
  ExpectFailure(path, "File \"" + path.string() + "\" 's size is improper");
}

TEST_F(BuildFailure, FifoOrFolderNamedLikeARecordingIsRefusedWithoutOpeningIt) {
  const auto fifo = folder / "drr_20100315_142530.mp4";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  ExpectFailure(fifo, "File \"" + fifo.string() + "\" 's size is improper");  // would block if opened
  channel.messages.texts.clear();
  const auto directory = folder / "drf_20100315_142530.mp4";
  std::filesystem::create_directory(directory);
  ExpectFailure(directory, "File \"" + directory.string() + "\" 's size is improper");
}

TEST_F(BuildFailure, FileWithoutMovieHeader) {
  ExpectFailure(ClipPath(Clip::kNoMovie),
                "pFSF->Load failed : error code = 0x80004005\n"
                "the file ends before its media data (the recording was cut off)");
}

TEST_F(BuildFailure, NotAnMp4File) {
  const auto path = folder / "notes.mp4";
  testing_support::WriteFile(path, std::string(5000, 'x'));
  ExpectFailure(path, "pFSF->Load failed : error code = 0x80004005\nthe file is not an MP4 recording");
}

TEST_F(BuildFailure, DecoderThatCannotBeCreated) {
  channel.video.filters.h264Decoder = {"queue", "h264parse", "no-such-decoder"};
  ExpectFailure(ClipPath(Clip::kVga),
                "CoCreateInstance() failed : CLSID_DivXH264Decoder. error code = 0x80004005\n"
                "the GStreamer element no-such-decoder is missing");
}

TEST_F(BuildFailure, RendererWithoutFrameAccess) {
  channel.video.filters.videoRenderer = {"videoconvert", "fakesink"};
  ExpectFailure(ClipPath(Clip::kVga), "InitializeVMR() failed : ");
}

TEST_F(BuildFailure, SourceThatTakesNoFile) {
  channel.video.filters.source = {"fakesrc", "qtdemux"};
  ExpectFailure(ClipPath(Clip::kVga), "pFilterMPCMP4Source->QueryInterface() failed : error code = 0x80004002");
}

TEST_F(BuildFailure, NoVideoStream) {
  // The AAC decoder takes the only stream in the first attempt; none is left for the picture.
  channel.video.filters.audioRenderer = kSilentOutput;
  const auto path = folder / "sound-only.mp4";
  ASSERT_EQ(testing_support::RunCommand("ffmpeg -nostdin -loglevel error -f lavfi -i sine=d=1 -c:a aac " +
                                        testing_support::ShellQuoted(path.string()))
                .status,
            0);
  ExpectFailure(path,
                "[pFilterMPCMP4Source -> pFilterH264Decoder] : ConnectFilters() error code = 0x80040216\n"
                "the file holds no video");
}

TEST_F(BuildFailure, PictureDecoderThatCannotTakeTheStream) {
  // An MPEG-4 part 2 picture: the H.264 decoder's formats do not match.
  const auto path = folder / "mpeg4.mp4";
  ASSERT_EQ(testing_support::RunCommand("ffmpeg -nostdin -loglevel error -f lavfi -i testsrc=s=64x48:d=1 -c:v mpeg4 " +
                                        testing_support::ShellQuoted(path.string()))
                .status,
            0);
  ExpectFailure(path,
                "[pFilterMPCMP4Source -> pFilterH264Decoder] : ConnectFilters() error code = 0x80040207\n"
                "the video is MPEG-4 Visual (DivX, Xvid); this program plays H.264 recordings");
}

TEST_F(BuildFailure, HostileFilesAreRefusedBeforeTheDemuxerWithTheirCause) {
  for (const HostileFile& file : kHostileFiles) {
    SCOPED_TRACE(file.what);
    const bool videoFormat = file.clip == Clip::kHevc;
    const std::string message =
        videoFormat ? "[pFilterMPCMP4Source -> pFilterH264Decoder] : ConnectFilters() error code = 0x80040207"
                    : "pFSF->Load failed : error code = 0x80004005";
    // No pipeline is ever made for them: a demuxer given 450,000 tracks would take minutes.
    ExpectFailure(ClipPath(file.clip), message + "\n" + file.cause);
    channel.messages.texts.clear();
  }
}

}  // namespace

namespace {

// The open as a window drives it: started, then finished by the owner thread's tasks. The
// channel's own queue stands in for the window's event loop.
TEST(StartBuildGraph, FinishesOnlyOnTheOwnersThreadAndOnlyForTheLatestOpen) {
  struct Step {
    const char* what;
    std::vector<Clip> opens;  // started one after the other, without running the owner between
    bool tearDownFirst;       // a Stop before the owner runs
    bool lastBuilt;           // how the last open ends
  };
  const std::vector<Step> steps = {
      {"one open", {Clip::kVga}, false, true},
      {"a new open replaces the one under way", {Clip::kRandomBytes, Clip::kHd}, false, true},
      {"a failure found at once still comes later", {Clip::kHeaderOnly}, false, false},
      {"Stop before the streams came, then a new open", {Clip::kHd, Clip::kVga}, true, true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    Channel channel;
    std::vector<std::pair<std::size_t, bool>> outcomes;
    for (std::size_t i = 0; i < step.opens.size(); ++i) {
      if (i > 0 && step.tearDownFirst) playback::Teardown(channel.video);
      playback::StartBuildGraph(
          channel.video, {ClipPath(step.opens[i]).string(), 0, {}, 1},
          [&outcomes, i](const playback::BuildOutcome& outcome) { outcomes.emplace_back(i, outcome.built); });
      EXPECT_TRUE(outcomes.empty()) << "never inside StartBuildGraph";
    }
    while (outcomes.empty()) channel.video.waitingOwner.RunNext();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].first, step.opens.size() - 1) << "only the latest open answers";
    EXPECT_EQ(outcomes[0].second, step.lastBuilt);
    EXPECT_EQ(channel.video.state, step.lastBuilt ? playback::EngineState::kPaused : playback::EngineState::kNoGraph);
    if (step.lastBuilt) {
      // The first picture is on the surface once the open has answered.
      ASSERT_TRUE(channel.surface.Last());
      EXPECT_EQ(channel.Position(), 0);
    }
  }
}

}  // namespace
