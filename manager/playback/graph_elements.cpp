#include "manager/playback/graph_elements.h"

#include <gst/gst.h>

#include "manager/playback/pipeline.h"

namespace playback {
namespace {

// Calls `visit` with each pad or child the iterator yields, until it returns false.
template <class Visit>
void ForEach(GstIterator* iterator, Visit visit) {
  GValue item = G_VALUE_INIT;
  bool more = true;
  while (more) {
    switch (gst_iterator_next(iterator, &item)) {
      case GST_ITERATOR_OK:
        more = visit(g_value_get_object(&item));
        g_value_reset(&item);
        break;
      case GST_ITERATOR_RESYNC: gst_iterator_resync(iterator); break;
      default: more = false; break;
    }
  }
  g_value_unset(&item);
  gst_iterator_free(iterator);
}

GstElement* MakeLinkedElements(GstElement* bin, std::span<const std::string> factories, GstElement** first) {
  GstElement* previous = nullptr;
  for (const std::string& factory : factories) {
    GstElement* element = gst_element_factory_make(factory.c_str(), factory.c_str());
    if (element == nullptr || !gst_bin_add(GST_BIN(bin), element)) return nullptr;
    if (previous != nullptr && !gst_element_link(previous, element)) return nullptr;
    if (*first == nullptr) *first = element;
    previous = element;
  }
  return previous;
}

bool AddGhostPad(GstElement* bin, GstElement* element, const char* name) {
  const GstRef<GstPad> target(gst_element_get_static_pad(element, name));
  if (!target) return true;  // a sink has no source pad, a source no sink pad
  GstPad* ghost = gst_ghost_pad_new(name, target.get());
  return ghost != nullptr && gst_element_add_pad(bin, ghost);
}

GstRef<GstElement> NewBin(const char* name) {
  return GstRef<GstElement>(static_cast<GstElement*>(gst_object_ref_sink(gst_bin_new(name))));
}

bool IsFactory(GstElement* element, const char* name) {
  GstElementFactory* factory = gst_element_get_factory(element);
  return factory != nullptr && g_strcmp0(GST_OBJECT_NAME(factory), name) == 0;
}

// autoaudiosink settles for a fakesink when the machine has no sound device. A sink chosen by
// name (fakeaudiosink is a bin around a fakesink too) is what it was asked to be.
bool FellBackToFakeSink(GstElement* sink) {
  if (!GST_IS_BIN(sink) || !IsFactory(sink, "autoaudiosink")) return false;
  bool fake = false;
  ForEach(gst_bin_iterate_elements(GST_BIN(sink)), [&](gpointer child) {
    fake = fake || IsFactory(static_cast<GstElement*>(child), "fakesink");
    return true;
  });
  return fake;
}

LinkResult ResultOf(GstPadLinkReturn link) {
  switch (link) {
    case GST_PAD_LINK_OK: return LinkResult::kLinked;
    case GST_PAD_LINK_NOFORMAT: return LinkResult::kFormatMismatch;
    case GST_PAD_LINK_WAS_LINKED: return LinkResult::kPadTaken;
    default: return LinkResult::kRefused;
  }
}

GstPadProbeReturn HoldData(GstPad*, GstPadProbeInfo*, gpointer) { return GST_PAD_PROBE_OK; }

void PadAdded(GstElement*, GstPad* pad, gpointer source) { static_cast<SourceBin*>(source)->OnPadAdded(pad); }

void NoMorePads(GstElement*, gpointer source) { static_cast<SourceBin*>(source)->OnNoMorePads(); }

}  // namespace

GstRef<GstElement> MakeElementChain(const char* name, std::span<const std::string> factories) {
  if (factories.empty()) return nullptr;
  GstRef<GstElement> bin = NewBin(name);
  GstElement* first = nullptr;
  GstElement* last = MakeLinkedElements(bin.get(), factories, &first);
  if (last == nullptr || !AddGhostPad(bin.get(), first, "sink") || !AddGhostPad(bin.get(), last, "src")) return nullptr;
  return bin;
}

GstRef<GstElement> OpenAudioOutput(std::span<const std::string> factories) {
  GstRef<GstElement> output = MakeElementChain(kAudioSinkBin, factories);
  if (!output) return nullptr;
  const GstRef<GstElement> sink(gst_bin_get_by_name(GST_BIN(output.get()), factories.back().c_str()));
  if (!sink) return nullptr;
  if (g_object_class_find_property(G_OBJECT_GET_CLASS(sink.get()), "sync") != nullptr) {
    g_object_set(sink.get(), "sync", TRUE, nullptr);
  }
  // Opening the output once tells whether there is one.
  const bool opened =
      gst_element_set_state(sink.get(), GST_STATE_READY) != GST_STATE_CHANGE_FAILURE && !FellBackToFakeSink(sink.get());
  if (!opened) gst_element_set_state(sink.get(), GST_STATE_NULL);
  return opened ? std::move(output) : nullptr;
}

SourceBin::~SourceBin() = default;

GstRef<GstElement> SourceBin::Make(std::span<const std::string> factories) {
  if (factories.size() < 2) return nullptr;
  GstRef<GstElement> bin = NewBin(kSourceBin);
  GstElement* first = nullptr;
  GstElement* demuxer = MakeLinkedElements(bin.get(), factories, &first);
  if (demuxer == nullptr) return nullptr;
  g_signal_connect(demuxer, "pad-added", G_CALLBACK(&PadAdded), this);
  g_signal_connect(demuxer, "no-more-pads", G_CALLBACK(&NoMorePads), this);
  bin_ = bin.get();
  return bin;
}

void SourceBin::OnPadAdded(GstPad* pad) {
  if (GST_PAD_DIRECTION(pad) != GST_PAD_SRC) return;
  std::lock_guard lock(mutex_);
  const gulong probe = gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BLOCK_DOWNSTREAM, &HoldData, nullptr, nullptr);
  held_.push_back({GstRef<GstPad>(static_cast<GstPad*>(gst_object_ref(pad))), probe});
  gchar* name = gst_pad_get_name(pad);
  GstPad* ghost = gst_ghost_pad_new(name, pad);
  g_free(name);
  gst_pad_set_active(ghost, TRUE);
  gst_element_add_pad(bin_, ghost);
}

void SourceBin::OnNoMorePads() { PipelineBus::PostStreamsReady(bin_); }

void SourceBin::StartFlowing() {
  std::lock_guard lock(mutex_);
  for (Held& held : held_) {
    if (held.probe != 0) gst_pad_remove_probe(held.pad.get(), held.probe);
    held.probe = 0;
  }
}

GstRef<GstElement> FileSourceOf(GstElement* source, std::span<const std::string> factories) {
  GstRef<GstElement> element(gst_bin_get_by_name(GST_BIN(source), factories.front().c_str()));
  if (element && g_object_class_find_property(G_OBJECT_GET_CLASS(element.get()), "location") == nullptr) return nullptr;
  return element;
}

GstRef<GstPad> FindFreePad(GstElement* element, PadDirection direction) {
  if (element == nullptr) return nullptr;
  GstRef<GstPad> found;
  ForEach(
      direction == PadDirection::kSink ? gst_element_iterate_sink_pads(element) : gst_element_iterate_src_pads(element),
      [&](gpointer item) {
        auto* pad = static_cast<GstPad*>(item);
        if (!gst_pad_is_linked(pad)) found.reset(static_cast<GstPad*>(gst_object_ref(pad)));
        return !found;
      });
  return found;
}

LinkResult LinkToFreeSinkPad(GstPad* source, GstElement* downstream) {
  const GstRef<GstPad> sink = FindFreePad(downstream, PadDirection::kSink);
  if (!sink) return LinkResult::kNoPadFree;
  return ResultOf(gst_pad_link(source, sink.get()));
}

LinkResult LinkFreePads(GstElement* upstream, GstElement* downstream) {
  const GstRef<GstPad> source = FindFreePad(upstream, PadDirection::kSource);
  if (!source) return LinkResult::kNoPadFree;
  return LinkToFreeSinkPad(source.get(), downstream);
}

bool AllPadsLinked(GstElement* element, PadDirection direction) { return !FindFreePad(element, direction); }

void RemoveUnlessLinked(GstElement* pipeline, GstElement* element, bool needsSource) {
  if (element == nullptr) return;
  if (AllPadsLinked(element, PadDirection::kSink) && (!needsSource || AllPadsLinked(element, PadDirection::kSource))) {
    return;
  }
  ForEach(gst_element_iterate_pads(element), [](gpointer item) {
    auto* pad = static_cast<GstPad*>(item);
    if (const GstRef<GstPad> peer{gst_pad_get_peer(pad)}) {
      if (GST_PAD_DIRECTION(pad) == GST_PAD_SRC) {
        gst_pad_unlink(pad, peer.get());
      } else {
        gst_pad_unlink(peer.get(), pad);
      }
    }
    return true;
  });
  gst_element_set_locked_state(element, TRUE);
  gst_element_set_state(element, GST_STATE_NULL);
  gst_bin_remove(GST_BIN(pipeline), element);
}

std::optional<VideoSize> DeclaredVideoSize(GstPad* pad) {
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

}  // namespace playback
