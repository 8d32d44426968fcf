#include "manager/playback/connect_filters.h"

#include <gst/gst.h>

namespace playback {
namespace {

ResultCode CodeOfLink(GstPadLinkReturn link) {
  switch (link) {
    case GST_PAD_LINK_OK: return kOk;
    case GST_PAD_LINK_NOFORMAT: return kNoAcceptableTypes;
    case GST_PAD_LINK_WAS_LINKED: return kAlreadyConnected;
    default: return kCannotConnect;
  }
}

ResultCode LinkToFirstFreeInput(GstPad* output, GstElement* downstream, GstPadLinkCheck checks) {
  GstPad* input = nullptr;
  const ResultCode found = FindUnconnectedPin(downstream, PinDirection::kInput, &input);
  if (!Succeeded(found)) return found;
  const ResultCode code = CodeOfLink(gst_pad_link_full(output, input, checks));
  gst_object_unref(input);
  return code;
}

}  // namespace

ResultCode FindUnconnectedPin(GstElement* filter, PinDirection direction, GstPad** pin) {
  if (pin == nullptr) return kNullPointer;
  *pin = nullptr;
  if (filter == nullptr) return kNullPointer;
  GstIterator* pads = direction == PinDirection::kInput ? gst_element_iterate_sink_pads(filter)
                                                        : gst_element_iterate_src_pads(filter);
  GValue item = G_VALUE_INIT;
  bool done = false;
  while (!done && *pin == nullptr) {
    switch (gst_iterator_next(pads, &item)) {
      case GST_ITERATOR_OK: {
        auto* pad = static_cast<GstPad*>(g_value_get_object(&item));
        if (!gst_pad_is_linked(pad)) *pin = static_cast<GstPad*>(gst_object_ref(pad));
        g_value_reset(&item);
        break;
      }
      case GST_ITERATOR_RESYNC:
        gst_iterator_resync(pads);
        break;
      default:
        done = true;
        break;
    }
  }
  g_value_unset(&item);
  gst_iterator_free(pads);
  return *pin != nullptr ? kOk : kNotFound;
}

ResultCode ConnectFilters(GstElement* graph, GstPad* output, GstElement* downstream) {
  if (graph == nullptr || output == nullptr || downstream == nullptr) return kNullPointer;
  return LinkToFirstFreeInput(output, downstream, GST_PAD_LINK_CHECK_DEFAULT);
}

ResultCode ConnectFilters(GstElement* graph, GstElement* upstream, GstElement* downstream) {
  if (graph == nullptr || upstream == nullptr || downstream == nullptr) return kNullPointer;
  GstPad* output = nullptr;
  const ResultCode found = FindUnconnectedPin(upstream, PinDirection::kOutput, &output);
  if (!Succeeded(found)) return found;
  const ResultCode code = ConnectFilters(graph, output, downstream);
  gst_object_unref(output);
  return code;
}

ResultCode ConnectFiltersDirect(GstElement* graph, GstPad* output, GstElement* downstream) {
  if (graph == nullptr || output == nullptr || downstream == nullptr) return kNullPointer;
  // Still checks the formats: pads that cannot carry each other's data must stay apart.
  return LinkToFirstFreeInput(output, downstream, GST_PAD_LINK_CHECK_CAPS);
}

}  // namespace playback
