#include "manager/playback/build_graph.h"

#include <gst/gst.h>

#include <chrono>
#include <filesystem>
#include <system_error>

#include "manager/playback/pipeline.h"
#include "manager/recording/open_check.h"
#include "manager/playback/transport.h"
#include "manager/playback/video_renderer.h"

namespace playback {
namespace {

constexpr auto kLoadTimeout = std::chrono::seconds(10);
// The first picture of a file that passed the check before opening comes in milliseconds.
constexpr auto kPrerollTimeout = std::chrono::seconds(5);

// The fixed code a failed link shows in its message.
ResultCode CodeOf(LinkResult link) {
  switch (link) {
    case LinkResult::kLinked: return kOk;
    case LinkResult::kNoFreePad: return kNotFound;
    case LinkResult::kFormatsDiffer: return kNoAcceptableTypes;
    case LinkResult::kAlreadyLinked: return kAlreadyConnected;
    case LinkResult::kRefused: return kCannotConnect;
  }
  return kCannotConnect;
}

// Opens the file: the demuxer reads it and shows its streams as the source bin's pads.
bool LoadFile(CVideo& video, GstElement* source, GstElement* fileSource, const std::string& path) {
  g_object_set(fileSource, "location", path.c_str(), nullptr);
  if (gst_element_set_state(video.graph.get(), GST_STATE_READY) == GST_STATE_CHANGE_FAILURE) return false;
  // Only the source runs yet; its pads hold the data back until the pipeline is linked.
  if (gst_element_set_state(source, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) return false;
  return video.bus->WaitForStreams(kLoadTimeout);
}

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
    case OpenVerdict::kNoVideoTrack: return MessageWithCode(messages::kConnectVideoDecoder, kNotFound);
    case OpenVerdict::kHevc:
    case OpenVerdict::kAv1:
    case OpenVerdict::kH263:
    case OpenVerdict::kMpeg4Visual:
    case OpenVerdict::kOtherVideoFormat: return MessageWithCode(messages::kConnectVideoDecoder, kNoAcceptableTypes);
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

bool BuildGraph(CVideo& video, ResultBlock* result, const std::string& path, int channelIndex,
                const ChannelSettings& settings, int showWindow, MessageBox& messages) {
  EnsureGStreamer();
  if (video.graph) Teardown(video);

  bool hasAudioRenderer = false;
  GstRef<GstElement> audio;
  const auto finish = [&](bool succeeded) {
    if (result != nullptr) result->hasAudioRenderer = hasAudioRenderer ? 1 : 0;
    // The audio output was opened on its own; outside the pipeline nobody else closes it.
    if (audio && GST_OBJECT_PARENT(audio.get()) == nullptr) gst_element_set_state(audio.get(), GST_STATE_NULL);
    if (!succeeded) Teardown(video);
    return succeeded;
  };
  const auto fail = [&](const std::string& text) {
    messages.ShowMessage(text);
    return finish(false);
  };
  const auto failWithCode = [&](std::string_view text, ResultCode code) { return fail(MessageWithCode(text, code)); };
  const auto failWithCause = [&](const std::string& text, const std::string& cause) {
    messages.ShowFailure(text, cause);
    return finish(false);
  };
  const auto failToCreate = [&](std::string_view text, std::span<const std::string> factories) {
    return failWithCause(MessageWithCode(text, kFailed), MissingElementCause(factories));
  };

  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (error || !std::filesystem::exists(status)) return fail(MessageWithPath(messages::kFileNotFound, path));
  // A FIFO, device or folder named like a recording has no size to play, and opening it would
  // block the window for good.
  if (!std::filesystem::is_regular_file(status) || (std::filesystem::file_size(path, error) == 0 && !error)) {
    return fail(MessageWithPath(messages::kFileSizeImproper, path));
  }
  // The demuxer believes whatever the file's boxes say, and a crafted file keeps it (and
  // whoever waits for it) busy for minutes: only a file whose boxes make sense goes further.
  const recording::OpenCheck check = recording::CheckBeforeOpening(path);
  if (check.verdict != recording::OpenVerdict::kPlayable) {
    return failWithCause(MessageOfVerdict(check.verdict), recording::CauseOf(check.verdict, check.videoFormat));
  }

  GstElement* pipeline = gst_pipeline_new(nullptr);
  if (pipeline == nullptr) return failWithCode(messages::kCreateGraph, kFailed);
  video.graph.reset(static_cast<GstElement*>(gst_object_ref_sink(pipeline)));
  video.bus = std::make_unique<PipelineBus>(pipeline);
  video.source = std::make_unique<SourceBin>();
  video.rate = 1.0;

  const GstRef<GstElement> source = video.source->Make(video.filters.source);
  if (!source) return failToCreate(messages::kCreateSource, video.filters.source);
  const GstRef<GstElement> h264 = MakeElementChain(kVideoDecoderBin, video.filters.h264Decoder);
  if (!h264) return failToCreate(messages::kCreateVideoDecoder, video.filters.h264Decoder);
  const GstRef<GstElement> aac = MakeElementChain(kAudioDecoderBin, video.filters.aacDecoder);
  if (!aac) return failToCreate(messages::kCreateAudioDecoder, video.filters.aacDecoder);
  const GstRef<GstElement> vmr = MakeElementChain(kVideoSinkBin, video.filters.videoRenderer);
  if (!vmr) return failToCreate(messages::kCreateVideoRenderer, video.filters.videoRenderer);
  if (!video.filters.audioRenderer.empty()) audio = OpenAudioOutput(video.filters.audioRenderer);
  hasAudioRenderer = audio != nullptr;

  GstBin* bin = GST_BIN(pipeline);
  if (!gst_bin_add(bin, source.get())) return failWithCode(messages::kAddSource, kFailed);
  if (!gst_bin_add(bin, h264.get())) return failWithCode(messages::kAddVideoDecoder, kFailed);
  if (!gst_bin_add(bin, vmr.get())) return failWithCode(messages::kAddVideoRenderer, kFailed);
  if (!gst_bin_add(bin, aac.get())) return failWithCode(messages::kAddAudioDecoder, kFailed);
  if (audio && !gst_bin_add(bin, audio.get())) return failWithCode(messages::kAddAudioRenderer, kFailed);

  if (!InitializeVMR(video, vmr.get())) return fail(std::string(messages::kInitializeRenderer));

  const GstRef<GstElement> fileSource = FileSourceOf(source.get(), video.filters.source);
  if (!fileSource) return failWithCode(messages::kSourceTakesNoFile, kNoInterface);
  const bool loaded = LoadFile(video, source.get(), fileSource.get(), path);
  if (!loaded) return failWithCause(MessageWithCode(messages::kLoadFile, kFailed), video.bus->ErrorCause());

  // Sound first, silently: this works when the sound is the source's first stream.
  const bool audioLinked = LinkSoundIfFirst(source.get(), aac.get(), audio.get());

  LinkResult link = LinkResult::kNoFreePad;
  if (const GstRef<GstPad> videoPad = FindFreePad(source.get(), PadDirection::kSource)) {
    video.streamSize = DeclaredVideoSize(videoPad.get());
    link = LinkToFreeSinkPad(videoPad.get(), h264.get());
  }
  if (link != LinkResult::kLinked) return failWithCode(messages::kConnectVideoDecoder, CodeOf(link));
  link = LinkFreePads(h264.get(), vmr.get());
  if (link != LinkResult::kLinked) return failWithCode(messages::kConnectVideoRenderer, CodeOf(link));

  // A recording made with the microphone off has no sound stream left to link: it plays its
  // picture alone instead of failing the whole build.
  if (!audioLinked && audio && !AllPadsLinked(source.get(), PadDirection::kSource)) {
    link = LinkFreePads(source.get(), aac.get());
    if (link != LinkResult::kLinked) return failWithCode(messages::kConnectAudioDecoder, CodeOf(link));
    link = LinkFreePads(aac.get(), audio.get());
    if (link != LinkResult::kLinked) return failWithCode(messages::kConnectAudioRenderer, CodeOf(link));
  }
  RemoveUnlessLinked(pipeline, aac.get(), true);
  RemoveUnlessLinked(pipeline, audio.get(), false);

  if (!GST_IS_PIPELINE(pipeline)) return failWithCode(messages::kNoPositionControl, kNoInterface);
  if (settings.eventsOn == 1) {
    video.events = std::make_shared<GraphEventQueue>();
    video.events->SetNotifyWindow(video.notifyWindow, video.notifyMessage);
    video.bus->RegisterEvents(video.events);
  }

  SetMuted(video, channelIndex != 0);
  ResizeVideo(video);
  video.rate = 1.0;
  if (result != nullptr) {
    if (const auto duration = QueryDuration(video)) result->duration = *duration;
  }
  if (showWindow == 1 && video.videoWindow != nullptr) video.videoWindow->ShowAndUpdate();

  // Paused rather than running: the first frame prerolls without a clock moving on.
  gst_element_set_state(pipeline, GST_STATE_PAUSED);
  video.source->StartFlowing();
  // An error here is also queued as a graph event, which moves the window on as it would
  // during playback; a picture that never comes would leave the channel paused on nothing.
  if (WaitUntilSettled(video, kPrerollTimeout) == Settled::kTimedOut) {
    return failWithCause(MessageWithCode(messages::kLoadFile, kFailed), "the recording gives no picture");
  }
  video.state = EngineState::kPaused;
  SeekTo(video, 0.0);
  return finish(true);
}

}  // namespace playback
