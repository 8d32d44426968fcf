#include "manager/playback/source_streams.h"

#include <gst/gst.h>

#include "manager/playback/filter_catalog.h"
#include "manager/playback/graph_bus.h"

namespace playback {
namespace {

GstPadProbeReturn HoldData(GstPad*, GstPadProbeInfo*, gpointer) { return GST_PAD_PROBE_OK; }

}  // namespace

SourceStreams::~SourceStreams() {
  for (const Held& held : held_) gst_object_unref(held.pad);
}

GstRef<GstElement> SourceStreams::MakeFilter(std::span<const std::string> factories) {
  if (factories.size() < 2) return nullptr;
  GstRef<GstElement> bin(static_cast<GstElement*>(gst_object_ref_sink(gst_bin_new(kSourceName))));
  GstElement* previous = nullptr;
  for (const std::string& factory : factories) {
    GstElement* element = gst_element_factory_make(factory.c_str(), factory.c_str());
    if (element == nullptr || !gst_bin_add(GST_BIN(bin.get()), element)) return nullptr;
    if (previous != nullptr && !gst_element_link(previous, element)) return nullptr;
    previous = element;
  }
  g_signal_connect(previous, "pad-added", G_CALLBACK(&OnPadAdded), this);
  g_signal_connect(previous, "no-more-pads", G_CALLBACK(&OnNoMorePads), this);
  bin_ = bin.get();
  return bin;
}

void SourceStreams::OnPadAdded(GstElement*, GstPad* pad, void* data) {
  auto* self = static_cast<SourceStreams*>(data);
  if (GST_PAD_DIRECTION(pad) != GST_PAD_SRC) return;
  std::lock_guard lock(self->mutex_);
  const gulong probe = gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BLOCK_DOWNSTREAM, &HoldData, nullptr, nullptr);
  self->held_.push_back({static_cast<GstPad*>(gst_object_ref(pad)), probe});
  gchar* name = gst_pad_get_name(pad);
  GstPad* ghost = gst_ghost_pad_new(name, pad);
  g_free(name);
  gst_pad_set_active(ghost, TRUE);
  gst_element_add_pad(self->bin_, ghost);
}

void SourceStreams::OnNoMorePads(GstElement*, void* data) {
  GraphBus::PostStreamsReady(static_cast<SourceStreams*>(data)->bin_);
}

void SourceStreams::StartFlowing() {
  std::lock_guard lock(mutex_);
  for (Held& held : held_) {
    if (held.probe != 0) gst_pad_remove_probe(held.pad, held.probe);
    held.probe = 0;
  }
}

}  // namespace playback
