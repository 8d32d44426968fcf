#include "manager/playback/gstreamer.h"

#include <gst/gst.h>

#include <mutex>

#include "manager/playback/graph_elements.h"

namespace playback {

void EnsureGStreamer() {
  static std::once_flag once;
  std::call_once(once, [] {
    gst_init(nullptr, nullptr);
    // Load the plugins of every role now, so the first recording opens as fast as the next.
    const ElementCatalog catalog;
    for (const auto* role : {&catalog.source, &catalog.h264Decoder, &catalog.aacDecoder, &catalog.videoRenderer,
                             &catalog.audioRenderer}) {
      for (const std::string& name : *role) {
        if (GstElementFactory* factory = gst_element_factory_find(name.c_str())) {
          if (GstPluginFeature* loaded = gst_plugin_feature_load(GST_PLUGIN_FEATURE(factory))) gst_object_unref(loaded);
          gst_object_unref(factory);
        }
      }
    }
  });
}

void GstObjectUnref::operator()(void* object) const {
  if (object != nullptr) gst_object_unref(object);
}

}  // namespace playback
