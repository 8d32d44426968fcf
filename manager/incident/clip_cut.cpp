#include "manager/incident/clip_cut.h"

#include <gst/gst.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>

#include "manager/playback/gstreamer.h"

namespace incident {
namespace {

constexpr GstClockTime kNanosPerUnit = 100;
constexpr GstClockTime kBusPoll = 20 * GST_MSECOND;

GstClockTime ToNanos(std::int64_t units) { return static_cast<GstClockTime>(units) * kNanosPerUnit; }
std::int64_t ToUnits(GstClockTime nanos) { return static_cast<std::int64_t>(nanos / kNanosPerUnit); }

bool Cancelled(const std::atomic<bool>* cancel) { return cancel != nullptr && cancel->load(); }

struct PipelineDeleter {
  void operator()(GstElement* pipeline) const {
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
  }
};
using Pipeline = std::unique_ptr<GstElement, PipelineDeleter>;

GstElement* Make(GstElement* pipeline, const char* factory) {
  GstElement* element = gst_element_factory_make(factory, nullptr);
  if (element != nullptr) gst_bin_add(GST_BIN(pipeline), element);
  return element;
}

std::string PadCapsText(GstPad* pad) {
  GstCaps* caps = gst_pad_get_current_caps(pad);
  if (caps == nullptr) return {};
  gchar* text = gst_caps_to_string(caps);
  std::string out = text != nullptr ? text : "";
  g_free(text);
  gst_caps_unref(caps);
  return out;
}

bool PadCapsStartWith(GstPad* pad, const char* prefix) {
  GstCaps* caps = gst_pad_get_current_caps(pad);
  if (caps == nullptr) caps = gst_pad_query_caps(pad, nullptr);
  bool match = false;
  if (caps != nullptr && gst_caps_get_size(caps) > 0) {
    match = g_str_has_prefix(gst_structure_get_name(gst_caps_get_structure(caps, 0)), prefix);
  }
  if (caps != nullptr) gst_caps_unref(caps);
  return match;
}

// The stream time of a buffer, by the last segment seen on its pad: buffer times are not the
// recording's time where an edit list shifts a track.
struct PadClock {
  GstSegment segment;
  PadClock() { gst_segment_init(&segment, GST_FORMAT_TIME); }

  // Keeps segments; for a buffer, its stream time (or none).
  std::optional<GstClockTime> Observe(GstPadProbeInfo* info) {
    if ((info->type & GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM) != 0) {
      GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
      if (GST_EVENT_TYPE(event) == GST_EVENT_SEGMENT) {
        const GstSegment* seen = nullptr;
        gst_event_parse_segment(event, &seen);
        gst_segment_copy_into(seen, &segment);
      }
      return std::nullopt;
    }
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    const GstClockTime ts = GST_BUFFER_PTS_IS_VALID(buffer) ? GST_BUFFER_PTS(buffer) : GST_BUFFER_DTS(buffer);
    if (!GST_CLOCK_TIME_IS_VALID(ts)) return std::nullopt;
    const GstClockTime stream = gst_segment_to_stream_time(&segment, GST_FORMAT_TIME, ts);
    if (!GST_CLOCK_TIME_IS_VALID(stream)) return std::nullopt;
    return stream;
  }
};

// Waits for the end of the stream, an error or a cancel; `stop` ends the wait early. Calls
// `tick` between polls.
CutStatus Run(GstElement* pipeline, const std::atomic<bool>* cancel, const std::function<bool()>& stop,
              const std::function<void()>& tick, std::string& error) {
  GstBus* bus = gst_element_get_bus(pipeline);
  if (gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
    // The element that failed has said why on the bus, or nothing at all: never wait for it.
    error = "the recording cannot be read";
    if (GstMessage* message = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR)) {
      GError* gerror = nullptr;
      gst_message_parse_error(message, &gerror, nullptr);
      if (gerror != nullptr) error = gerror->message, g_error_free(gerror);
      gst_message_unref(message);
    }
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    return CutStatus::Failed;
  }
  CutStatus status = CutStatus::Failed;
  for (;;) {
    if (Cancelled(cancel)) {
      status = CutStatus::Cancelled;
      break;
    }
    if (stop && stop()) {
      status = CutStatus::Ok;
      break;
    }
    GstMessage* message =
        gst_bus_timed_pop_filtered(bus, kBusPoll, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    if (tick) tick();
    if (message == nullptr) continue;
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) {
      status = CutStatus::Ok;
    } else {
      GError* gerror = nullptr;
      gst_message_parse_error(message, &gerror, nullptr);
      error = gerror != nullptr ? gerror->message : "the media framework failed";
      if (gerror != nullptr) g_error_free(gerror);
    }
    gst_message_unref(message);
    break;
  }
  gst_object_unref(bus);
  gst_element_set_state(pipeline, GST_STATE_NULL);
  return status;
}

// The key-frame search: the video pad's buffers are looked at and dropped; the search stops at
// the first buffer past the position.
struct KeySearch {
  GstClockTime target = 0;
  std::string videoCaps;
  std::string soundCaps;
  PadClock clock;
  std::optional<GstClockTime> key;
  std::atomic<bool> done{false};
  std::atomic<bool> video{false};
  std::atomic<bool> sound{false};
  GstElement* sink = nullptr;
};

GstPadProbeReturn OnSearchData(GstPad*, GstPadProbeInfo* info, gpointer data) {
  auto* search = static_cast<KeySearch*>(data);
  const auto stream = search->clock.Observe(info);
  if ((info->type & GST_PAD_PROBE_TYPE_BUFFER) == 0) return GST_PAD_PROBE_OK;
  if (stream && !search->done) {
    if (*stream > search->target) {
      search->done = true;
    } else if (!GST_BUFFER_FLAG_IS_SET(GST_PAD_PROBE_INFO_BUFFER(info), GST_BUFFER_FLAG_DELTA_UNIT)) {
      search->key = *stream;
    }
  }
  return GST_PAD_PROBE_DROP;
}

void OnSearchPad(GstElement*, GstPad* pad, gpointer data) {
  auto* search = static_cast<KeySearch*>(data);
  if (PadCapsStartWith(pad, "audio/mpeg") && !search->sound) {
    search->soundCaps = PadCapsText(pad);
    search->sound = true;
  }
  if (!PadCapsStartWith(pad, "video/x-h264") || search->video) return;
  search->videoCaps = PadCapsText(pad);
  search->video = true;
  GstPad* sinkPad = gst_element_get_static_pad(search->sink, "sink");
  gst_pad_link(pad, sinkPad);
  gst_object_unref(sinkPad);
  gst_pad_add_probe(pad, static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
                    OnSearchData, search, nullptr);
}

// One piece of the clip while it is cut.
struct PieceState {
  GstClockTime from = 0;
  GstClockTime to = 0;
  GstElement* videoQueue = nullptr;
  GstElement* soundQueue = nullptr;  // none when the clip has no sound
  std::atomic<bool> soundLinked{false};
  GstClockTime doneBefore = 0;  // length of the pieces before this one
  std::atomic<GstClockTime>* reached = nullptr;
};

struct PadState {
  PieceState* piece = nullptr;
  bool video = false;
  PadClock clock;
};

GstPadProbeReturn OnPieceData(GstPad*, GstPadProbeInfo* info, gpointer data) {
  auto* pad = static_cast<PadState*>(data);
  const auto stream = pad->clock.Observe(info);
  if ((info->type & GST_PAD_PROBE_TYPE_BUFFER) == 0) return GST_PAD_PROBE_OK;
  if (!stream || *stream < pad->piece->from || *stream >= pad->piece->to) return GST_PAD_PROBE_DROP;
  if (pad->video) pad->piece->reached->store(pad->piece->doneBefore + (*stream - pad->piece->from));
  return GST_PAD_PROBE_OK;
}

struct CutState {
  std::deque<PieceState> pieces;
  std::deque<PadState> pads;  // filled from the streaming threads, one demuxer at a time
  std::mutex padsLock;
  std::atomic<GstClockTime> reached{0};
};

struct PieceLink {
  CutState* state;
  PieceState* piece;
};

void LinkTo(GstPad* pad, GstElement* queue, CutState& state, PieceState& piece, bool video) {
  GstPad* sinkPad = gst_element_get_static_pad(queue, "sink");
  const bool linked = !gst_pad_is_linked(sinkPad) && gst_pad_link(pad, sinkPad) == GST_PAD_LINK_OK;
  gst_object_unref(sinkPad);
  if (!linked) return;
  PadState* padState = nullptr;
  {
    std::lock_guard lock(state.padsLock);
    padState = &state.pads.emplace_back();
  }
  padState->piece = &piece;
  padState->video = video;
  gst_pad_add_probe(pad, static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
                    OnPieceData, padState, nullptr);
  if (!video) piece.soundLinked = true;
}

void OnPiecePad(GstElement*, GstPad* pad, gpointer data) {
  auto* link = static_cast<PieceLink*>(data);
  if (PadCapsStartWith(pad, "video/x-h264")) {
    LinkTo(pad, link->piece->videoQueue, *link->state, *link->piece, true);
  } else if (link->piece->soundQueue != nullptr && PadCapsStartWith(pad, "audio/mpeg")) {
    LinkTo(pad, link->piece->soundQueue, *link->state, *link->piece, false);
  }
}

// A recording without sound in a clip with sound: its sound branch ends at once, so the clip
// goes on with the next recording's sound.
void OnPieceNoMorePads(GstElement*, gpointer data) {
  auto* link = static_cast<PieceLink*>(data);
  if (link->piece->soundQueue == nullptr || link->piece->soundLinked) return;
  GstPad* sinkPad = gst_element_get_static_pad(link->piece->soundQueue, "sink");
  gst_pad_send_event(sinkPad, gst_event_new_stream_start("no-sound"));
  GstSegment segment;
  gst_segment_init(&segment, GST_FORMAT_TIME);
  gst_pad_send_event(sinkPad, gst_event_new_segment(&segment));
  gst_pad_send_event(sinkPad, gst_event_new_eos());
  gst_object_unref(sinkPad);
}

bool LinkElements(GstElement* a, GstElement* b) { return a != nullptr && b != nullptr && gst_element_link(a, b); }

}  // namespace

std::optional<KeyFrame> KeyFrameAtOrBefore(const std::string& path, std::int64_t position,
                                           const std::atomic<bool>* cancel, std::string& error) {
  playback::EnsureGStreamer();
  Pipeline pipeline(gst_pipeline_new("key-frame-search"));
  GstElement* source = Make(pipeline.get(), "filesrc");
  GstElement* demuxer = Make(pipeline.get(), "qtdemux");
  KeySearch search;
  search.target = ToNanos(std::max<std::int64_t>(position, 0));
  search.sink = Make(pipeline.get(), "fakesink");
  if (!LinkElements(source, demuxer) || search.sink == nullptr) {
    error = "the media framework lacks its MP4 elements";
    return std::nullopt;
  }
  g_object_set(source, "location", path.c_str(), nullptr);
  g_object_set(search.sink, "sync", FALSE, nullptr);
  g_signal_connect(demuxer, "pad-added", G_CALLBACK(OnSearchPad), &search);
  const CutStatus status = Run(
      pipeline.get(), cancel, [&] { return search.done.load(); }, {}, error);
  pipeline.reset();  // the streaming threads are gone before `search` is read
  if (status == CutStatus::Cancelled) return std::nullopt;
  if (status == CutStatus::Failed && !search.done) {
    if (error.empty()) error = "the recording cannot be read";
    return std::nullopt;
  }
  if (!search.video || !search.key) {
    error = "no H.264 video with a key frame before that moment";
    return std::nullopt;
  }
  return KeyFrame{ToUnits(*search.key), search.sound.load(), search.videoCaps, search.soundCaps};
}

CutOutcome CutClip(std::span<const ClipPiece> pieces, const std::string& out, const std::atomic<bool>* cancel,
                   const Progress& progress) {
  CutOutcome outcome;
  if (pieces.empty()) {
    outcome.error = "nothing to cut";
    return outcome;
  }
  const auto key = KeyFrameAtOrBefore(pieces.front().path, pieces.front().from, cancel, outcome.error);
  if (!key) {
    outcome.status = Cancelled(cancel) ? CutStatus::Cancelled : CutStatus::Failed;
    if (outcome.status == CutStatus::Failed) outcome.error = pieces.front().path + ": " + outcome.error;
    return outcome;
  }
  outcome.pieces.assign(pieces.begin(), pieces.end());
  outcome.pieces.front().from = key->time;
  outcome.sound = key->sound;
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    const auto other = KeyFrameAtOrBefore(pieces[i].path, 0, cancel, outcome.error);
    if (!other || other->videoCaps != key->videoCaps || other->soundCaps != key->soundCaps) {
      outcome.status = Cancelled(cancel) ? CutStatus::Cancelled : CutStatus::Failed;
      outcome.error = pieces[i].path + ": its streams differ from " + pieces.front().path + "'s and cannot be joined";
      return outcome;
    }
  }

  Pipeline pipeline(gst_pipeline_new("incident-clip"));
  GstElement* videoConcat = Make(pipeline.get(), "concat");
  GstElement* soundConcat = outcome.sound ? Make(pipeline.get(), "concat") : nullptr;
  GstElement* muxer = Make(pipeline.get(), "mp4mux");
  GstElement* sink = Make(pipeline.get(), "filesink");
  if (videoConcat == nullptr || muxer == nullptr || sink == nullptr || (outcome.sound && soundConcat == nullptr) ||
      !gst_element_link(muxer, sink)) {
    outcome.error = "the media framework lacks the elements to write an MP4 file";
    return outcome;
  }
  g_object_set(sink, "location", out.c_str(), nullptr);
  // The pieces are placed in time by the pad offsets below, so the concat elements keep the
  // times as they come.
  g_object_set(videoConcat, "adjust-base", FALSE, nullptr);
  if (soundConcat != nullptr) g_object_set(soundConcat, "adjust-base", FALSE, nullptr);
  if (!gst_element_link_pads(videoConcat, "src", muxer, "video_%u") ||
      (soundConcat != nullptr && !gst_element_link_pads(soundConcat, "src", muxer, "audio_%u"))) {
    outcome.error = "the MP4 writer refuses the streams";
    return outcome;
  }

  CutState state;
  std::deque<PieceLink> links;
  GstClockTime total = 0;
  for (const ClipPiece& piece : outcome.pieces) {
    PieceState& ps = state.pieces.emplace_back();
    ps.from = ToNanos(piece.from);
    ps.to = ToNanos(piece.to);
    ps.doneBefore = total;
    ps.reached = &state.reached;
    total += ps.to > ps.from ? ps.to - ps.from : 0;

    GstElement* source = Make(pipeline.get(), "filesrc");
    GstElement* demuxer = Make(pipeline.get(), "qtdemux");
    ps.videoQueue = Make(pipeline.get(), "queue");
    GstElement* videoParser = Make(pipeline.get(), "h264parse");
    bool ok = LinkElements(source, demuxer) && LinkElements(ps.videoQueue, videoParser);
    GstPad* concatPads[2] = {nullptr, nullptr};
    if (ok) {
      concatPads[0] = gst_element_request_pad_simple(videoConcat, "sink_%u");
      GstPad* parserPad = gst_element_get_static_pad(videoParser, "src");
      ok = concatPads[0] != nullptr && gst_pad_link(parserPad, concatPads[0]) == GST_PAD_LINK_OK;
      gst_object_unref(parserPad);
    }
    if (ok && soundConcat != nullptr) {
      ps.soundQueue = Make(pipeline.get(), "queue");
      GstElement* soundParser = Make(pipeline.get(), "aacparse");
      ok = LinkElements(ps.soundQueue, soundParser);
      if (ok) {
        concatPads[1] = gst_element_request_pad_simple(soundConcat, "sink_%u");
        GstPad* parserPad = gst_element_get_static_pad(soundParser, "src");
        ok = concatPads[1] != nullptr && gst_pad_link(parserPad, concatPads[1]) == GST_PAD_LINK_OK;
        gst_object_unref(parserPad);
      }
    }
    // Each piece's running time starts where the pieces before it end.
    for (GstPad* pad : concatPads) {
      if (pad == nullptr) continue;
      gst_pad_set_offset(pad, static_cast<gint64>(ps.doneBefore) - static_cast<gint64>(ps.from));
      gst_object_unref(pad);
    }
    if (!ok) {
      outcome.error = "the media framework lacks its H.264 or AAC parser";
      return outcome;
    }
    g_object_set(source, "location", piece.path.c_str(), nullptr);
    PieceLink& link = links.emplace_back(PieceLink{&state, &ps});
    g_signal_connect(demuxer, "pad-added", G_CALLBACK(OnPiecePad), &link);
    g_signal_connect(demuxer, "no-more-pads", G_CALLBACK(OnPieceNoMorePads), &link);
  }

  const auto tick = [&] {
    if (progress && total > 0) progress(std::min(1.0, static_cast<double>(state.reached.load()) / total));
  };
  outcome.status = Run(pipeline.get(), cancel, {}, tick, outcome.error);
  pipeline.reset();
  if (outcome.status != CutStatus::Ok) {
    std::error_code ignored;
    std::filesystem::remove(out, ignored);
    if (outcome.status == CutStatus::Failed) outcome.error = out + ": " + outcome.error;
  }
  return outcome;
}

}  // namespace incident
