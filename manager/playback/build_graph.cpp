#include "manager/playback/build_graph.h"

#include <gst/gst.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <system_error>

#include "manager/playback/pipeline.h"
#include "manager/playback/transport.h"
#include "manager/playback/video_renderer.h"
#include "manager/recording/open_check.h"

namespace playback {

// An open between its start and its outcome: what it was asked, and the elements it links once
// the demuxer has shown its streams.
struct PendingBuild {
  enum class Stage { kLoading, kPrerolling };
  BuildRequest request;
  std::function<void(const BuildOutcome&)> done;
  std::uint64_t number = 0;
  Stage stage = Stage::kLoading;
  GstRef<GstElement> source;
  GstRef<GstElement> h264;
  GstRef<GstElement> aac;
  GstRef<GstElement> vmr;
  GstRef<GstElement> audio;
  std::int64_t duration = 0;
  std::uint64_t settledMark = 0;  // completed state changes before the pipeline was set PAUSED
};

namespace {

// How long the demuxer may take to show its streams, and the first picture to come. A file that
// passed the check before opening gives both in milliseconds.
constexpr auto kLoadTimeout = std::chrono::seconds(10);
constexpr auto kPrerollTimeout = std::chrono::seconds(5);

// The fixed code a failed link shows in its message.
ResultCode CodeOf(LinkResult link) {
  switch (link) {
    case LinkResult::kLinked: return kOk;
    case LinkResult::kNoPadFree: return kNoFreePad;
    case LinkResult::kFormatMismatch: return kFormatsDiffer;
    case LinkResult::kPadTaken: return kAlreadyLinked;
    case LinkResult::kRefused: return kLinkRefused;
  }
  return kLinkRefused;
}

BuildOutcome Failure(std::string message) {
  BuildOutcome outcome;
  outcome.message = std::move(message);
  return outcome;
}

BuildOutcome FailureWithCause(std::string message, std::string cause) {
  BuildOutcome outcome = Failure(std::move(message));
  outcome.cause = std::move(cause);
  outcome.withCause = true;
  return outcome;
}

BuildOutcome FailureWithCode(std::string_view text, ResultCode code) { return Failure(MessageWithCode(text, code)); }

// Links the sound, silently, when it is the source's first free stream. True when the sound
// reached the audio output.
bool LinkSoundIfFirst(GstElement* source, GstElement* decoder, GstElement* output) {
  const GstRef<GstPad> first = FindFreePad(source, PadDirection::kSource);
  return first && LinkToFreeSinkPad(first.get(), decoder) == LinkResult::kLinked && output != nullptr &&
         LinkFreePads(decoder, output) == LinkResult::kLinked;
}

// The message a file the check before opening refuses shows: the one its failure in the
// pipeline would have shown, with the reason in plain words.
std::string MessageOfVerdict(recording::OpenVerdict verdict) {
  using recording::OpenVerdict;
  switch (verdict) {
    case OpenVerdict::kNoVideoTrack: return MessageWithCode(messages::kConnectVideoDecoder, kNoFreePad);
    case OpenVerdict::kHevc:
    case OpenVerdict::kAv1:
    case OpenVerdict::kH263:
    case OpenVerdict::kMpeg4Visual:
    case OpenVerdict::kOtherVideoFormat: return MessageWithCode(messages::kConnectVideoDecoder, kFormatsDiffer);
    default: return MessageWithCode(messages::kLoadFile, kFailed);
  }
}

// Why a role's elements could not be made: the first one GStreamer does not know.
std::string MissingElementCause(std::span<const std::string> factories) {
  for (const std::string& factory : factories) {
    if (!GstRef<GstElementFactory>(gst_element_factory_find(factory.c_str()))) {
      return recording::MissingElementCause(factory);
    }
  }
  return {};
}

// Runs `step` on the channel's owner thread, unless the open has ended or been replaced by then.
template <class Step>
void PostStep(CVideo& video, Step step) {
  video.owner->Post([&video, number = video.buildNumber, step = std::move(step)] {
    if (video.build && video.buildNumber == number) step(video);
  });
}

template <class Step>
void PostStepAfter(CVideo& video, std::chrono::milliseconds delay, Step step) {
  video.owner->PostDelayed(delay, [&video, number = video.buildNumber, step = std::move(step)] {
    if (video.build && video.buildNumber == number) step(video);
  });
}

// Ends the open: a failure leaves the channel without a graph; `done` hears the outcome last.
void Finish(CVideo& video, BuildOutcome outcome) {
  const std::shared_ptr<PendingBuild> build = std::move(video.build);
  if (video.bus) video.bus->SetWake(nullptr);
  outcome.result.hasAudioRenderer = build->audio ? 1 : 0;
  if (outcome.built) outcome.result.duration = build->duration;
  // The audio output was opened on its own; outside the pipeline nobody else closes it.
  if (build->audio && GST_OBJECT_PARENT(build->audio.get()) == nullptr) {
    gst_element_set_state(build->audio.get(), GST_STATE_NULL);
  }
  if (!outcome.built) Teardown(video);
  if (build->done) build->done(outcome);
}

// The first picture is in the sink (or an error came, which also reaches the window as a graph
// event and moves it on, as it would during playback): paused at the start.
void Complete(CVideo& video) {
  video.state = EngineState::kPaused;
  SeekTo(video, 0.0);
  BuildOutcome outcome;
  outcome.built = true;
  Finish(video, outcome);
}

// The demuxer has shown its streams: link them as the window's graph always was, then let the
// first picture preroll.
void LinkStreams(CVideo& video) {
  PendingBuild& build = *video.build;
  GstElement* pipeline = video.graph.get();
  GstElement* source = build.source.get();
  GstElement* h264 = build.h264.get();
  GstElement* aac = build.aac.get();
  GstElement* audio = build.audio.get();
  const auto fail = [&](std::string_view text, LinkResult link) { Finish(video, FailureWithCode(text, CodeOf(link))); };

  // Sound first, silently: this works when the sound is the source's first stream.
  const bool audioLinked = LinkSoundIfFirst(source, aac, audio);

  LinkResult link = LinkResult::kNoPadFree;
  if (const GstRef<GstPad> videoPad = FindFreePad(source, PadDirection::kSource)) {
    video.streamSize = DeclaredVideoSize(videoPad.get());
    link = LinkToFreeSinkPad(videoPad.get(), h264);
  }
  if (link != LinkResult::kLinked) return fail(messages::kConnectVideoDecoder, link);
  link = LinkFreePads(h264, build.vmr.get());
  if (link != LinkResult::kLinked) return fail(messages::kConnectVideoRenderer, link);

  // A recording made with the microphone off has no sound stream left to link: it plays its
  // picture alone instead of failing the whole build.
  if (!audioLinked && audio != nullptr && !AllPadsLinked(source, PadDirection::kSource)) {
    link = LinkFreePads(source, aac);
    if (link != LinkResult::kLinked) return fail(messages::kConnectAudioDecoder, link);
    link = LinkFreePads(aac, audio);
    if (link != LinkResult::kLinked) return fail(messages::kConnectAudioRenderer, link);
  }
  RemoveUnlessLinked(pipeline, aac, true);
  RemoveUnlessLinked(pipeline, audio, false);

  if (!GST_IS_PIPELINE(pipeline)) return Finish(video, FailureWithCode(messages::kNoPositionControl, kNotSupported));
  if (build.request.settings.eventsOn == 1) {
    video.events = std::make_shared<GraphEventQueue>();
    video.events->SetNotifyWindow(video.notifyWindow, video.notifyMessage);
    video.bus->RegisterEvents(video.events);
  }

  SetMuted(video, build.request.channelIndex != 0);
  ResizeVideo(video);
  video.rate = 1.0;
  if (const auto duration = QueryDuration(video)) build.duration = *duration;
  if (build.request.showWindow == 1 && video.videoWindow != nullptr) video.videoWindow->ShowAndUpdate();

  // Paused rather than running: the first frame prerolls without a clock moving on.
  build.stage = PendingBuild::Stage::kPrerolling;
  build.settledMark = video.bus->SettledCount();
  const GstStateChangeReturn change = gst_element_set_state(pipeline, GST_STATE_PAUSED);
  video.source->StartFlowing();
  if (change != GST_STATE_CHANGE_ASYNC) return Complete(video);
  // A picture that never comes would leave the channel paused on nothing.
  PostStepAfter(video, kPrerollTimeout, [](CVideo& channel) {
    if (channel.build->stage != PendingBuild::Stage::kPrerolling) return;
    Finish(channel, FailureWithCause(MessageWithCode(messages::kLoadFile, kFailed), "the recording gives no picture"));
  });
}

// The bus said something an open waits for: the next step, if its time has come.
void ContinueBuild(CVideo& video) {
  PendingBuild& build = *video.build;
  PipelineBus& bus = *video.bus;
  if (build.stage == PendingBuild::Stage::kLoading) {
    if (bus.ErrorSeen()) {
      return Finish(video, FailureWithCause(MessageWithCode(messages::kLoadFile, kFailed), bus.ErrorCause()));
    }
    if (bus.StreamsReady()) LinkStreams(video);
    return;
  }
  if (bus.SettledCount() > build.settledMark || bus.ErrorSeen()) Complete(video);
}

// Opens the file: the demuxer reads it on its own thread and shows its streams as the source
// bin's pads; the bus then wakes the owner. False when the pipeline refused to start.
bool LoadFile(CVideo& video, const std::string& path) {
  PendingBuild& build = *video.build;
  const GstRef<GstElement> fileSource = FileSourceOf(build.source.get(), video.filters.source);
  g_object_set(fileSource.get(), "location", path.c_str(), nullptr);
  video.bus->SetWake([owner = video.owner, &video, number = build.number] {
    owner->Post([&video, number] {
      if (video.build && video.buildNumber == number) ContinueBuild(video);
    });
  });
  PostStepAfter(video, kLoadTimeout, [](CVideo& channel) {
    if (channel.build->stage != PendingBuild::Stage::kLoading) return;
    Finish(channel, FailureWithCause(MessageWithCode(messages::kLoadFile, kFailed), channel.bus->ErrorCause()));
  });
  if (gst_element_set_state(video.graph.get(), GST_STATE_READY) == GST_STATE_CHANGE_FAILURE) return false;
  // Only the source runs yet; its pads hold the data back until the pipeline is linked.
  return gst_element_set_state(build.source.get(), GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE;
}

// What can be done before the demuxer has read the file: the checks, the elements, the
// pipeline. The outcome of a failure here, when there is one.
std::optional<BuildOutcome> Prepare(CVideo& video) {
  PendingBuild& build = *video.build;
  const std::string& path = build.request.path;
  const auto failToCreate = [](std::string_view text, std::span<const std::string> factories) {
    return FailureWithCause(MessageWithCode(text, kFailed), MissingElementCause(factories));
  };

  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (error || !std::filesystem::exists(status)) return Failure(MessageWithPath(messages::kFileNotFound, path));
  // A FIFO, device or folder named like a recording has no size to play, and opening it would
  // block the window for good.
  if (!std::filesystem::is_regular_file(status) || (std::filesystem::file_size(path, error) == 0 && !error)) {
    return Failure(MessageWithPath(messages::kFileSizeImproper, path));
  }
  // The demuxer believes whatever the file's boxes say, and a crafted file keeps it (and
  // whoever waits for it) busy for minutes: only a file whose boxes make sense goes further.
  const recording::OpenCheck check = recording::CheckBeforeOpening(path);
  if (check.verdict != recording::OpenVerdict::kPlayable) {
    return FailureWithCause(MessageOfVerdict(check.verdict), recording::CauseOf(check.verdict, check.videoFormat));
  }

  GstElement* pipeline = gst_pipeline_new(nullptr);
  if (pipeline == nullptr) return FailureWithCode(messages::kCreateGraph, kFailed);
  video.graph.reset(static_cast<GstElement*>(gst_object_ref_sink(pipeline)));
  video.bus = std::make_unique<PipelineBus>(pipeline);
  video.source = std::make_unique<SourceBin>();
  video.rate = 1.0;

  build.source = video.source->Make(video.filters.source);
  if (!build.source) return failToCreate(messages::kCreateSource, video.filters.source);
  build.h264 = MakeElementChain(kVideoDecoderBin, video.filters.h264Decoder);
  if (!build.h264) return failToCreate(messages::kCreateVideoDecoder, video.filters.h264Decoder);
  build.aac = MakeElementChain(kAudioDecoderBin, video.filters.aacDecoder);
  if (!build.aac) return failToCreate(messages::kCreateAudioDecoder, video.filters.aacDecoder);
  build.vmr = MakeElementChain(kVideoSinkBin, video.filters.videoRenderer);
  if (!build.vmr) return failToCreate(messages::kCreateVideoRenderer, video.filters.videoRenderer);
  if (!video.filters.audioRenderer.empty()) build.audio = OpenAudioOutput(video.filters.audioRenderer);

  GstBin* bin = GST_BIN(pipeline);
  if (!gst_bin_add(bin, build.source.get())) return FailureWithCode(messages::kAddSource, kFailed);
  if (!gst_bin_add(bin, build.h264.get())) return FailureWithCode(messages::kAddVideoDecoder, kFailed);
  if (!gst_bin_add(bin, build.vmr.get())) return FailureWithCode(messages::kAddVideoRenderer, kFailed);
  if (!gst_bin_add(bin, build.aac.get())) return FailureWithCode(messages::kAddAudioDecoder, kFailed);
  if (build.audio && !gst_bin_add(bin, build.audio.get())) return FailureWithCode(messages::kAddAudioRenderer, kFailed);

  if (!InitializeVMR(video, build.vmr.get())) return Failure(std::string(messages::kInitializeRenderer));
  if (!FileSourceOf(build.source.get(), video.filters.source)) {
    return FailureWithCode(messages::kSourceTakesNoFile, kNotSupported);
  }
  if (!LoadFile(video, path)) {
    return FailureWithCause(MessageWithCode(messages::kLoadFile, kFailed), video.bus->ErrorCause());
  }
  return std::nullopt;
}

}  // namespace

bool InitializeVMR(CVideo& video, GstElement* renderer) {
  if (renderer == nullptr || !GST_IS_BIN(renderer) || video.filters.videoRenderer.empty()) return false;
  GstElement* sink = gst_bin_get_by_name(GST_BIN(renderer), video.filters.videoRenderer.back().c_str());
  if (sink == nullptr) return false;
  GstRef<GstElement> owned(sink);
  if (!video.renderer->Attach(sink)) return false;
  // Decoded pictures are large: a queue in front holds a few, not the default second of them.
  if (const GstRef<GstElement> queue{gst_bin_get_by_name(GST_BIN(renderer), "queue")}) {
    g_object_set(queue.get(), "max-size-buffers", 3u, "max-size-bytes", 0u, "max-size-time", static_cast<guint64>(0),
                 nullptr);
  }
  video.windowless = std::move(owned);
  return true;
}

void StartBuildGraph(CVideo& video, BuildRequest request, std::function<void(const BuildOutcome&)> done) {
  EnsureGStreamer();
  if (video.graph || video.build) Teardown(video);
  auto build = std::make_shared<PendingBuild>();
  build->request = std::move(request);
  build->done = std::move(done);
  build->number = ++video.buildNumber;
  video.build = build;
  // A failure found at once still comes back from the owner's thread, like every outcome.
  if (std::optional<BuildOutcome> failed = Prepare(video)) {
    PostStep(video, [outcome = std::move(*failed)](CVideo& channel) { Finish(channel, outcome); });
  }
}

void ShowBuildFailure(const BuildOutcome& outcome, MessageBox& messages) {
  if (outcome.built) return;
  if (outcome.withCause) {
    messages.ShowFailure(outcome.message, outcome.cause);
  } else {
    messages.ShowMessage(outcome.message);
  }
}

bool BuildGraph(CVideo& video, ResultBlock* result, const std::string& path, int channelIndex,
                const ChannelSettings& settings, int showWindow, MessageBox& messages) {
  OwnerThread* const owner = video.owner;
  video.owner = &video.waitingOwner;
  std::optional<BuildOutcome> outcome;
  StartBuildGraph(video, {path, channelIndex, settings, showWindow},
                  [&outcome](const BuildOutcome& ended) { outcome = ended; });
  // Every open ends: in its outcome, or at the time limit of the step it waits in.
  while (!outcome) video.waitingOwner.RunNext();
  video.owner = owner;
  if (result != nullptr) {
    result->hasAudioRenderer = outcome->result.hasAudioRenderer;
    if (outcome->built) result->duration = outcome->result.duration;
  }
  ShowBuildFailure(*outcome, messages);
  return outcome->built;
}

}  // namespace playback
