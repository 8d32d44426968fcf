#pragma once

#include <span>
#include <string>

#include "manager/playback/gstreamer.h"

namespace playback {

// One filter of the graph: the elements of a role linked in order inside a bin named `name`,
// with the first element's "sink" pad as the bin's input pin and the last element's "src" pad
// as its output pin, where they have them. Elements are named after their factory. Null when
// an element cannot be made or the elements do not link.
GstRef<GstElement> MakeFilterChain(const char* name, std::span<const std::string> factories);

}  // namespace playback
