#pragma once

#include "manager/playback/gstreamer.h"
#include "manager/playback/result_codes.h"

namespace playback {

enum class PinDirection { kInput, kOutput };

// The first pad of `filter` in the given direction that is not linked, with a reference the
// caller releases. kNotFound when every pad is linked, kNullPointer without a filter.
ResultCode FindUnconnectedPin(GstElement* filter, PinDirection direction, GstPad** pin);

// Links `output` to the first unconnected input of `downstream`. GStreamer never inserts
// converters here: the formats must match as they are.
ResultCode ConnectFilters(GstElement* graph, GstPad* output, GstElement* downstream);
// Links the first unconnected output of `upstream` to the first unconnected input of `downstream`.
ResultCode ConnectFilters(GstElement* graph, GstElement* upstream, GstElement* downstream);
// Like the pad form, but the pads are joined without asking the graph.
ResultCode ConnectFiltersDirect(GstElement* graph, GstPad* output, GstElement* downstream);

}  // namespace playback
