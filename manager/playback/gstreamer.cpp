#include "manager/playback/gstreamer.h"

#include <gst/gst.h>

#include <mutex>
#include <thread>

#include "manager/playback/graph_elements.h"

namespace playback {

void EnsureGStreamer() {
  static std::once_flag once;
  std::call_once(once, [] {
    gst_init(nullptr, nullptr);
    // Load the plugins of every role now, so the first recording opens as fast as the next.
    const ElementCatalog catalog;
    for (const auto* role :
         {&catalog.source, &catalog.h264Decoder, &catalog.aacDecoder, &catalog.videoRenderer, &catalog.audioRenderer}) {
      for (const std::string& name : *role) {
        if (const GstRef<GstElementFactory> factory{gst_element_factory_find(name.c_str())}) {
          const GstRef<GstPluginFeature> loaded(gst_plugin_feature_load(GST_PLUGIN_FEATURE(factory.get())));
        }
      }
    }
  });
}

void WarmUpInBackground() {
  static std::once_flag once;
  std::call_once(once, [] {
    std::thread([] {
      EnsureGStreamer();
      const ElementCatalog catalog;
      for (const auto* role : {&catalog.source, &catalog.h264Decoder, &catalog.aacDecoder, &catalog.videoRenderer}) {
        for (const std::string& name : *role) {
          GstElement* element = gst_element_factory_make(name.c_str(), nullptr);
          if (element == nullptr) continue;
          const GstRef<GstElement> owned(static_cast<GstElement*>(gst_object_ref_sink(element)));
          // READY opens what an element opens before it sees data (a decoder its codec context).
          gst_element_set_state(element, GST_STATE_READY);
          gst_element_set_state(element, GST_STATE_NULL);
        }
      }
    }).detach();
  });
}

void GstObjectUnref::operator()(void* object) const {
  if (object != nullptr) gst_object_unref(object);
}

}  // namespace playback
