#include "manager/playback/graph_bus.h"

#include <gst/gst.h>

#include "manager/playback/result_codes.h"

namespace playback {
namespace {

constexpr const char* kStreamsReady = "blackbox-streams-ready";

}  // namespace

GraphBus::GraphBus(GstElement* pipeline) : pipeline_(pipeline) {
  GstBus* bus = gst_element_get_bus(pipeline_);
  gst_bus_set_sync_handler(bus, &OnMessage, this, nullptr);
  gst_object_unref(bus);
}

GraphBus::~GraphBus() {
  GstBus* bus = gst_element_get_bus(pipeline_);
  gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
  gst_object_unref(bus);
}

void GraphBus::RegisterEvents(std::shared_ptr<GraphEventQueue> events) {
  std::lock_guard lock(mutex_);
  events_ = std::move(events);
}

bool GraphBus::WaitForStreams(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, timeout, [this] { return streamsReady_ || error_; });
  return streamsReady_ && !error_;
}

bool GraphBus::ErrorSeen() const {
  std::lock_guard lock(mutex_);
  return error_;
}

void GraphBus::PostStreamsReady(GstElement* from) {
  gst_element_post_message(from, gst_message_new_application(GST_OBJECT(from), gst_structure_new_empty(kStreamsReady)));
}

GstBusSyncReply GraphBus::OnMessage(GstBus*, GstMessage* message, gpointer data) {
  auto* self = static_cast<GraphBus*>(data);
  std::optional<GraphEvent> event;
  std::shared_ptr<GraphEventQueue> events;
  {
    std::lock_guard lock(self->mutex_);
    switch (GST_MESSAGE_TYPE(message)) {
      case GST_MESSAGE_EOS:
        // The pipeline posts this once all its sinks have reached the end.
        if (GST_MESSAGE_SRC(message) == GST_OBJECT(self->pipeline_)) event = GraphEvent{EC_COMPLETE, 0, 0};
        break;
      case GST_MESSAGE_ERROR:
        // Streaming stops at the first error; the follow-up errors of other elements say nothing new.
        if (!self->error_) event = GraphEvent{EC_ERRORABORT, static_cast<std::intptr_t>(kFailed), 0};
        self->error_ = true;
        break;
      case GST_MESSAGE_APPLICATION:
        if (gst_message_has_name(message, kStreamsReady)) self->streamsReady_ = true;
        break;
      default:
        break;
    }
    events = self->events_;
  }
  self->changed_.notify_all();
  if (event && events) events->Post(*event);
  // A sync handler that drops a message owns it.
  gst_message_unref(message);
  return GST_BUS_DROP;
}

}  // namespace playback
