#include "manager/playback/filter_chain.h"

#include <gst/gst.h>

namespace playback {
namespace {

bool AddGhostPad(GstElement* bin, GstElement* element, const char* name) {
  GstPad* target = gst_element_get_static_pad(element, name);
  if (target == nullptr) return true;  // a sink has no output, a source no input
  GstPad* ghost = gst_ghost_pad_new(name, target);
  gst_object_unref(target);
  return ghost != nullptr && gst_element_add_pad(bin, ghost);
}

}  // namespace

GstRef<GstElement> MakeFilterChain(const char* name, std::span<const std::string> factories) {
  if (factories.empty()) return nullptr;
  GstRef<GstElement> bin(static_cast<GstElement*>(gst_object_ref_sink(gst_bin_new(name))));
  GstElement* previous = nullptr;
  GstElement* first = nullptr;
  for (const std::string& factory : factories) {
    GstElement* element = gst_element_factory_make(factory.c_str(), factory.c_str());
    if (element == nullptr || !gst_bin_add(GST_BIN(bin.get()), element)) return nullptr;
    if (previous != nullptr && !gst_element_link(previous, element)) return nullptr;
    if (first == nullptr) first = element;
    previous = element;
  }
  if (!AddGhostPad(bin.get(), first, "sink") || !AddGhostPad(bin.get(), previous, "src")) return nullptr;
  return bin;
}

}  // namespace playback
