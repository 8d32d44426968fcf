#include "manager/playback/build_graph.h"

#include <gst/gst.h>

#include <chrono>
#include <filesystem>
#include <system_error>

#include "manager/playback/connect_filters.h"
#include "manager/playback/filter_chain.h"
#include "manager/playback/graph_bus.h"
#include "manager/playback/graph_control.h"
#include "manager/playback/source_streams.h"
#include "manager/playback/transport.h"
#include "manager/playback/video_renderer.h"

namespace playback {
namespace {

constexpr auto kLoadTimeout = std::chrono::seconds(10);

GstRef<GstElement> Ref(GstElement* element) {
  return GstRef<GstElement>(static_cast<GstElement*>(gst_object_ref(element)));
}

bool IsFactory(GstElement* element, const char* name) {
  GstElementFactory* factory = gst_element_get_factory(element);
  return factory != nullptr && g_strcmp0(GST_OBJECT_NAME(factory), name) == 0;
}

// autoaudiosink settles for a fakesink when the machine has no sound device.
bool FellBackToFakeSink(GstElement* sink) {
  if (!GST_IS_BIN(sink)) return false;
  bool fake = false;
  GstIterator* children = gst_bin_iterate_elements(GST_BIN(sink));
  GValue item = G_VALUE_INIT;
  while (gst_iterator_next(children, &item) == GST_ITERATOR_OK) {
    if (IsFactory(static_cast<GstElement*>(g_value_get_object(&item)), "fakesink")) fake = true;
    g_value_reset(&item);
  }
  g_value_unset(&item);
  gst_iterator_free(children);
  return fake;
}

// The audio renderer, or null when no audio output can be opened: the channel then plays
// without sound.
GstRef<GstElement> MakeAudioRenderer(const std::vector<std::string>& factories) {
  GstRef<GstElement> renderer = MakeFilterChain(kAudioRendererName, factories);
  if (!renderer) return nullptr;
  GstElement* sink = gst_bin_get_by_name(GST_BIN(renderer.get()), factories.back().c_str());
  if (sink == nullptr) return nullptr;
  if (g_object_class_find_property(G_OBJECT_GET_CLASS(sink), "sync") != nullptr) {
    g_object_set(sink, "sync", TRUE, nullptr);
  }
  // Opening the output once tells whether there is one.
  const bool opened = gst_element_set_state(sink, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE &&
                      !FellBackToFakeSink(sink);
  if (!opened) gst_element_set_state(sink, GST_STATE_NULL);
  gst_object_unref(sink);
  return opened ? std::move(renderer) : nullptr;
}

bool PadLinked(GstElement* filter, PinDirection direction) {
  GstPad* pin = nullptr;
  const ResultCode found = FindUnconnectedPin(filter, direction, &pin);
  if (pin != nullptr) gst_object_unref(pin);
  // kNotFound: every pad of that direction is linked.
  return found == kNotFound;
}

// A filter left half connected (a decoder without renderer, a renderer without stream) would
// stop the stream it sits on: take it out of the graph.
void RemoveUnlessConnected(GstElement* graph, GstElement* filter, bool needsOutput) {
  if (filter == nullptr) return;
  if (PadLinked(filter, PinDirection::kInput) && (!needsOutput || PadLinked(filter, PinDirection::kOutput))) return;
  GstIterator* pads = gst_element_iterate_pads(filter);
  GValue item = G_VALUE_INIT;
  while (gst_iterator_next(pads, &item) == GST_ITERATOR_OK) {
    auto* pad = static_cast<GstPad*>(g_value_get_object(&item));
    if (GstPad* peer = gst_pad_get_peer(pad)) {
      if (GST_PAD_DIRECTION(pad) == GST_PAD_SRC) gst_pad_unlink(pad, peer);
      else gst_pad_unlink(peer, pad);
      gst_object_unref(peer);
    }
    g_value_reset(&item);
  }
  g_value_unset(&item);
  gst_iterator_free(pads);
  gst_element_set_locked_state(filter, TRUE);
  gst_element_set_state(filter, GST_STATE_NULL);
  gst_bin_remove(GST_BIN(graph), filter);
}

std::optional<VideoSize> SizeOfStream(GstPad* pad) {
  GstCaps* caps = gst_pad_query_caps(pad, nullptr);
  if (caps == nullptr) return std::nullopt;
  std::optional<VideoSize> size;
  gint width = 0;
  gint height = 0;
  if (gst_caps_get_size(caps) > 0) {
    const GstStructure* structure = gst_caps_get_structure(caps, 0);
    if (gst_structure_get_int(structure, "width", &width) && gst_structure_get_int(structure, "height", &height) &&
        width > 0 && height > 0) {
      size = VideoSize{width, height};
    }
  }
  gst_caps_unref(caps);
  return size;
}

// The file source inside the source filter: its first element, when it takes a location.
GstElement* FileSourceOf(GstElement* source, const std::vector<std::string>& factories) {
  GstElement* element = gst_bin_get_by_name(GST_BIN(source), factories.front().c_str());
  if (element != nullptr && g_object_class_find_property(G_OBJECT_GET_CLASS(element), "location") == nullptr) {
    gst_object_unref(element);
    return nullptr;
  }
  return element;
}

// Opens the file: the demuxer reads it and shows its streams as the source's output pins.
bool LoadFile(CVideo& video, GstElement* source, GstElement* fileSource, const std::string& path) {
  g_object_set(fileSource, "location", path.c_str(), nullptr);
  if (gst_element_set_state(video.graph.get(), GST_STATE_READY) == GST_STATE_CHANGE_FAILURE) return false;
  // Only the source runs yet; its pads hold the data back until the graph is connected.
  if (gst_element_set_state(source, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) return false;
  return video.bus->WaitForStreams(kLoadTimeout);
}

std::string Quoted(const char* format, const std::string& value) {
  std::string text = format;
  text.replace(text.find("%s"), 2, value);
  return text;
}

}  // namespace

bool InitializeVMR(CVideo& video, GstElement* renderer) {
  if (renderer == nullptr || !GST_IS_BIN(renderer) || video.filters.videoRenderer.empty()) return false;
  GstElement* sink = gst_bin_get_by_name(GST_BIN(renderer), video.filters.videoRenderer.back().c_str());
  if (sink == nullptr) return false;
  GstRef<GstElement> owned(sink);
  if (!video.renderer->Attach(sink)) return false;
  // Decoded pictures are large: a queue in front holds a few, not the default second of them.
  if (GstElement* queue = gst_bin_get_by_name(GST_BIN(renderer), "queue")) {
    g_object_set(queue, "max-size-buffers", 3u, "max-size-bytes", 0u, "max-size-time", static_cast<guint64>(0), nullptr);
    gst_object_unref(queue);
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
    // The audio output was opened on its own; outside the graph nobody else closes it.
    if (audio && GST_OBJECT_PARENT(audio.get()) == nullptr) gst_element_set_state(audio.get(), GST_STATE_NULL);
    if (!succeeded) Teardown(video);
    return succeeded;
  };
  const auto fail = [&](const std::string& text) {
    messages.ShowMessage(text);
    return finish(false);
  };
  const auto failWithCode = [&](const std::string& text, ResultCode code) { return fail(text + HexCode(code)); };

  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (error || !std::filesystem::exists(status)) return fail(Quoted("File \"%s\" not found", path));
  // A FIFO, device or folder named like a recording has no size to play, and opening it would
  // block the window for good.
  if (!std::filesystem::is_regular_file(status) || (std::filesystem::file_size(path, error) == 0 && !error)) {
    return fail(Quoted("File \"%s\" 's size is improper", path));
  }

  GstElement* pipeline = gst_pipeline_new(nullptr);
  if (pipeline == nullptr) return failWithCode("CoCreateInstance() failed : CLSID_FilterGraph. error code = ", kFailed);
  video.graph.reset(static_cast<GstElement*>(gst_object_ref_sink(pipeline)));
  video.bus = std::make_unique<GraphBus>(video.graph.get());
  video.sourceStreams = std::make_unique<SourceStreams>();
  video.rate = 1.0;
  GstElement* graph = video.graph.get();

  const GstRef<GstElement> source = video.sourceStreams->MakeFilter(video.filters.source);
  if (!source) return failWithCode("CoCreateInstance() failed : CLSID_MPCMP4Source. error code = ", kFailed);
  const GstRef<GstElement> h264 = MakeFilterChain(kH264DecoderName, video.filters.h264Decoder);
  if (!h264) return failWithCode("CoCreateInstance() failed : CLSID_DivXH264Decoder. error code = ", kFailed);
  const GstRef<GstElement> aac = MakeFilterChain(kAacDecoderName, video.filters.aacDecoder);
  if (!aac) return failWithCode("CoCreateInstance() failed : CLSID_CoreAACAudioDecoder. error code = ", kFailed);
  const GstRef<GstElement> vmr = MakeFilterChain(kVideoRendererName, video.filters.videoRenderer);
  if (!vmr) return failWithCode("CoCreateInstance() failed : CLSID_VideoMixingRenderer. error code = ", kFailed);
  if (!video.filters.audioRenderer.empty()) audio = MakeAudioRenderer(video.filters.audioRenderer);
  hasAudioRenderer = audio != nullptr;

  if (!gst_bin_add(GST_BIN(graph), source.get())) {
    return failWithCode("AddFilter() failed : pFilterMPCMP4Source. error code = ", kFailed);
  }
  if (!gst_bin_add(GST_BIN(graph), h264.get())) {
    return failWithCode("AddFilter() failed : DivX H.264 Decoder. error code = ", kFailed);
  }
  if (!gst_bin_add(GST_BIN(graph), vmr.get())) {
    return failWithCode("AddFilter() failed : Video Mixing Renderer. error code = ", kFailed);
  }
  if (!gst_bin_add(GST_BIN(graph), aac.get())) {
    return failWithCode("AddFilter() failed : CoreAAC Audio Decoder. error code = ", kFailed);
  }
  if (audio && !gst_bin_add(GST_BIN(graph), audio.get())) {
    return failWithCode("AddFilter() failed : DirectSound Audio Renderer. error code = ", kFailed);
  }

  if (!InitializeVMR(video, vmr.get())) return fail("InitializeVMR() failed : ");

  GstElement* fileSource = FileSourceOf(source.get(), video.filters.source);
  if (fileSource == nullptr) {
    return failWithCode("pFilterMPCMP4Source->QueryInterface() failed : error code = ", kNoInterface);
  }
  const bool loaded = LoadFile(video, source.get(), fileSource, path);
  gst_object_unref(fileSource);
  if (!loaded) return failWithCode("pFSF->Load failed : error code = ", kFailed);

  // Audio first, silently: this works when the sound is the source's first stream.
  bool audioConnected = false;
  if (GstPad* first = nullptr; Succeeded(FindUnconnectedPin(source.get(), PinDirection::kOutput, &first))) {
    if (Succeeded(ConnectFiltersDirect(graph, first, aac.get())) && audio) {
      audioConnected = Succeeded(ConnectFilters(graph, aac.get(), audio.get()));
    }
    gst_object_unref(first);
  }

  GstPad* videoPin = nullptr;
  ResultCode code = FindUnconnectedPin(source.get(), PinDirection::kOutput, &videoPin);
  if (Succeeded(code)) {
    video.streamSize = SizeOfStream(videoPin);
    code = ConnectFilters(graph, videoPin, h264.get());
    gst_object_unref(videoPin);
  }
  if (!Succeeded(code)) {
    return failWithCode("[pFilterMPCMP4Source -> pFilterH264Decoder] : ConnectFilters() error code = ", code);
  }
  code = ConnectFilters(graph, h264.get(), vmr.get());
  if (!Succeeded(code)) return failWithCode("[pFilterH264Decoder -> pVmr] : ConnectFilters() error code = ", code);

  if (!audioConnected && audio) {
    GstPad* remaining = nullptr;
    // A recording made with the microphone off has no sound stream left to connect: it plays
    // its picture alone instead of failing the whole build.
    if (FindUnconnectedPin(source.get(), PinDirection::kOutput, &remaining) != kNotFound) {
      if (remaining != nullptr) gst_object_unref(remaining);
      code = ConnectFilters(graph, source.get(), aac.get());
      if (!Succeeded(code)) {
        return failWithCode("ConnectFilters() failed : pFilterMPCMP4Source -> pFilterACCAudioDecoder error code = ", code);
      }
      code = ConnectFilters(graph, aac.get(), audio.get());
      if (!Succeeded(code)) {
        return failWithCode("ConnectFilters() failed : pFilterACCAudioDecoder -> pDirectXAudio error code = ", code);
      }
    }
  }
  RemoveUnlessConnected(graph, aac.get(), true);
  RemoveUnlessConnected(graph, audio.get(), false);

  if (!GST_IS_PIPELINE(graph)) {
    return failWithCode("QueryInterface() failed : IID_IMediaPosition. error code = ", kNoInterface);
  }
  video.position = Ref(graph);
  video.seeking = Ref(graph);
  video.control = Ref(graph);
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
  gst_element_set_state(graph, GST_STATE_PAUSED);
  video.sourceStreams->StartFlowing();
  WaitUntilSettled(video);
  video.state = 2;
  SeekTo(video, 0.0);
  return finish(true);
}

}  // namespace playback
