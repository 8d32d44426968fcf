// Shuts GStreamer down after the last test, so the leak checker sees only what is really lost.
#include <gst/gst.h>
#include <gtest/gtest.h>

#include "manager/playback/pipeline.h"

namespace {

class GStreamerEnvironment : public testing::Environment {
 public:
  void TearDown() override {
    playback::FinishReleases();  // pipelines still being stopped on the engine's own thread
    gst_deinit();
  }
};

const testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new GStreamerEnvironment);

}  // namespace
