#include "manager/playback/pipeline.h"

#include <gst/gst.h>

#include "manager/playback/graph_event.h"
#include "manager/playback/messages.h"
#include "manager/playback/video.h"

namespace playback {

namespace {

constexpr const char* kStreamsReady = "blackbox-streams-ready";

GstBusSyncReply LookAt(GstBus*, GstMessage* message, gpointer bus) {
  static_cast<PipelineBus*>(bus)->Look(message);
  // A sync handler that drops a message owns it.
  gst_message_unref(message);
  return GST_BUS_DROP;
}

bool IsAudioSink(GstObject* object) {
  if (object == nullptr || !GST_IS_ELEMENT(object)) return false;
  GstElementFactory* factory = gst_element_get_factory(GST_ELEMENT(object));
  const gchar* klass =
      factory != nullptr ? gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS) : nullptr;
  return klass != nullptr && g_strrstr(klass, "Sink") != nullptr && g_strrstr(klass, "Audio") != nullptr;
}

std::string FactoryName(GstObject* object) {
  if (object == nullptr || !GST_IS_ELEMENT(object)) return {};
  GstElementFactory* factory = gst_element_get_factory(GST_ELEMENT(object));
  return factory != nullptr ? GST_OBJECT_NAME(factory) : "";
}

// What a user can make of an error message: GStreamer's error domains and codes, and which
// element posted it.
StreamingError KindOfError(GstMessage* message) {
  GError* error = nullptr;
  gst_message_parse_error(message, &error, nullptr);
  if (error == nullptr) return StreamingError::kOther;
  StreamingError kind = StreamingError::kOther;
  if (error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_MISSING_PLUGIN) {
    kind = StreamingError::kMissingPlugin;
  } else if (error->domain == GST_STREAM_ERROR) {
    kind = error->code == GST_STREAM_ERROR_CODEC_NOT_FOUND ? StreamingError::kMissingPlugin
                                                           : StreamingError::kDamagedMedia;
  } else if (error->domain == GST_RESOURCE_ERROR) {
    kind = IsAudioSink(GST_MESSAGE_SRC(message)) ? StreamingError::kNoAudioOutput : StreamingError::kUnreadableFile;
  }
  g_error_free(error);
  return kind;
}

}  // namespace

PipelineBus::PipelineBus(GstElement* pipeline) : pipeline_(pipeline) {
  const GstRef<GstBus> bus(gst_element_get_bus(pipeline_));
  gst_bus_set_sync_handler(bus.get(), &LookAt, this, nullptr);
}

PipelineBus::~PipelineBus() {
  const GstRef<GstBus> bus(gst_element_get_bus(pipeline_));
  gst_bus_set_sync_handler(bus.get(), nullptr, nullptr, nullptr);
}

void PipelineBus::RegisterEvents(std::shared_ptr<GraphEventQueue> events) {
  std::lock_guard lock(mutex_);
  events_ = std::move(events);
}

void PipelineBus::SetWake(std::function<void()> wake) {
  std::lock_guard lock(wakeMutex_);
  wake_ = std::move(wake);
}

bool PipelineBus::StreamsReady() const {
  std::lock_guard lock(mutex_);
  return streamsReady_;
}

bool PipelineBus::ErrorSeen() const {
  std::lock_guard lock(mutex_);
  return error_;
}

std::uint64_t PipelineBus::SettledCount() const {
  std::lock_guard lock(mutex_);
  return settled_;
}

PipelineBus::Wait PipelineBus::AwaitSettled(std::uint64_t mark, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  if (!changed_.wait_for(lock, timeout, [&] { return settled_ > mark || error_; })) return Wait::kTimedOut;
  return settled_ > mark ? Wait::kYes : Wait::kError;
}

std::string PipelineBus::ErrorCause() const {
  std::lock_guard lock(mutex_);
  return error_ ? CauseOfStreamingError(errorKind_, errorElement_) : std::string();
}

void PipelineBus::PostStreamsReady(GstElement* from) {
  gst_element_post_message(from, gst_message_new_application(GST_OBJECT(from), gst_structure_new_empty(kStreamsReady)));
}

void PipelineBus::Look(GstMessage* message) {
  std::optional<GraphEvent> event;
  std::shared_ptr<GraphEventQueue> events;
  bool wake = false;
  {
    std::lock_guard lock(mutex_);
    switch (GST_MESSAGE_TYPE(message)) {
      case GST_MESSAGE_EOS:
        // The pipeline posts this once all its sinks have reached the end.
        if (GST_MESSAGE_SRC(message) == GST_OBJECT(pipeline_)) event = GraphEvent{GraphEventCode::kEndOfStream, 0, 0};
        break;
      case GST_MESSAGE_ERROR:
        // Streaming stops at the first error; the follow-up errors of other elements say nothing new.
        if (!error_) {
          event = GraphEvent{GraphEventCode::kError, static_cast<std::intptr_t>(kFailed), 0};
          errorKind_ = KindOfError(message);
          errorElement_ = FactoryName(GST_MESSAGE_SRC(message));
          wake = true;
        }
        error_ = true;
        break;
      case GST_MESSAGE_ASYNC_DONE:
        // The pipeline's own: every sink holds its picture after a state change or a seek.
        if (GST_MESSAGE_SRC(message) == GST_OBJECT(pipeline_)) {
          ++settled_;
          wake = true;
        }
        break;
      case GST_MESSAGE_APPLICATION:
        if (gst_message_has_name(message, kStreamsReady)) {
          streamsReady_ = true;
          wake = true;
        }
        break;
      default: break;
    }
    events = events_;
  }
  changed_.notify_all();
  if (wake) {
    std::lock_guard lock(wakeMutex_);
    if (wake_) wake_();
  }
  if (event && events) events->Post(*event);
}

namespace {

// One thread that stops and releases the pipelines the channels let go, started on first use
// and joined at exit once it has released them all.
class Releaser {
 public:
  ~Releaser() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
  }

  void Hand(PipelineRemains remains) {
    {
      std::lock_guard lock(mutex_);
      queue_.push_back(std::move(remains));
      if (!worker_.joinable()) worker_ = std::thread([this] { Run(); });
    }
    changed_.notify_all();
  }

  void Finish() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queue_.empty() && !busy_; });
  }

 private:
  void Run() {
    std::unique_lock lock(mutex_);
    while (true) {
      changed_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      if (queue_.empty()) return;  // stopping, and nothing left
      PipelineRemains remains = std::move(queue_.front());
      queue_.pop_front();
      busy_ = true;
      lock.unlock();
      if (remains.graph) gst_element_set_state(remains.graph.get(), GST_STATE_NULL);
      // No streaming thread runs any more: the bus watch and the held pads can go.
      remains.bus.reset();
      remains.sink.reset();
      remains.graph.reset();
      remains.source.reset();
      lock.lock();
      busy_ = false;
      changed_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<PipelineRemains> queue_;
  bool busy_ = false;
  bool stopping_ = false;
  std::thread worker_;
};

Releaser& TheReleaser() {
  static Releaser releaser;
  return releaser;
}

}  // namespace

void ReleaseInBackground(PipelineRemains remains) { TheReleaser().Hand(std::move(remains)); }

void FinishReleases() { TheReleaser().Finish(); }

namespace {

// An owner that waits gives a state change or seek this long to settle.
constexpr auto kSettleTimeout = std::chrono::seconds(10);

}  // namespace

bool PausePipeline(CVideo& video) {
  if (!video.graph) return false;
  const std::uint64_t mark = video.bus ? video.bus->SettledCount() : 0;
  const GstStateChangeReturn result = gst_element_set_state(video.graph.get(), GST_STATE_PAUSED);
  video.state = EngineState::kPaused;
  if (result == GST_STATE_CHANGE_FAILURE) return false;
  if (result != GST_STATE_CHANGE_ASYNC || !video.OwnerWaits() || !video.bus) return true;
  return video.bus->AwaitSettled(mark, kSettleTimeout) == PipelineBus::Wait::kYes;
}

bool SeekPipeline(CVideo& video, std::int64_t position) {
  if (!video.graph || position < 0) return false;
  const std::uint64_t mark = video.bus ? video.bus->SettledCount() : 0;
  const auto flags = static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
  if (!gst_element_seek(video.graph.get(), video.rate, GST_FORMAT_TIME, flags, GST_SEEK_TYPE_SET,
                        static_cast<gint64>(position) * 100, GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE)) {
    return false;
  }
  video.seekTarget = position;
  video.seekMark = mark;
  if (!video.OwnerWaits() || !video.bus) return true;
  return video.bus->AwaitSettled(mark, kSettleTimeout) == PipelineBus::Wait::kYes;
}

namespace {

// A time query's answer in 100 ns units; none when the pipeline could not tell.
template <class Query>
std::optional<std::int64_t> AskTime(const CVideo& video, Query query) {
  gint64 nanoseconds = 0;
  if (!video.graph || !query(video.graph.get(), GST_FORMAT_TIME, &nanoseconds) || nanoseconds < 0) {
    return std::nullopt;
  }
  return nanoseconds / 100;
}

}  // namespace

std::optional<std::int64_t> QueryDuration(const CVideo& video) { return AskTime(video, &gst_element_query_duration); }

std::optional<std::int64_t> QueryPosition(const CVideo& video) {
  // A flushing seek under way has no position to tell yet (or the old one): it is where it goes.
  if (video.seekTarget && video.bus && video.bus->SettledCount() <= video.seekMark && !video.bus->ErrorSeen()) {
    return video.seekTarget;
  }
  return AskTime(video, &gst_element_query_position);
}

}  // namespace playback
