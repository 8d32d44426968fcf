// Graph events in a Qt program: the notify target re-posts each wake-up as a queued call, and
// the events reach OnGraphEvent on the thread that runs the event loop, as in the main window.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QMetaObject>
#include <QTimer>

#include <thread>
#include <vector>

#include "manager/playback/build_graph.h"
#include "manager/playback/transport.h"
#include "tests/manager/playback/playback_fixtures.h"

namespace {

using namespace playback_testing;

class QueuedPump : public QObject, public playback::GraphNotifyTarget, public playback::GraphEventCallback {
 public:
  explicit QueuedPump(playback::CVideo& video) : video_(video) {}

  void PostGraphNotify(std::uint32_t) override {
    // Called on a streaming thread: only schedule the pump on the object's own thread.
    QMetaObject::invokeMethod(
        this, [this] { playback::PumpGraphEvents(video_, this); }, Qt::QueuedConnection);
  }
  void OnGraphEvent(playback::GraphEventCode code, std::intptr_t, std::intptr_t) override {
    codes.push_back(code);
    threads.push_back(std::this_thread::get_id());
    if (code == playback::GraphEventCode::kEndOfStream) QCoreApplication::quit();
  }

  std::vector<playback::GraphEventCode> codes;
  std::vector<std::thread::id> threads;

 private:
  playback::CVideo& video_;
};

TEST(QtGraphEvents, ReachTheEventLoopThreadInOrder) {
  int argc = 1;
  char name[] = "manager_playback_qt_tests";
  char* argv[] = {name, nullptr};
  QCoreApplication application(argc, argv);

  playback::CVideo video;
  video.filters.audioRenderer.clear();
  QueuedPump pump(video);
  video.notifyWindow = &pump;
  video.notifyMessage = playback::kGraphNotifyMessage;
  RecordedMessages messages;
  playback::ChannelSettings settings;
  settings.channelNumber = 1;
  settings.eventsOn = 1;
  ASSERT_TRUE(playback::BuildGraph(video, nullptr, ClipPath(Clip::kSilent).string(), 0, settings, 0, messages));
  playback::SetRate(video, 4.0);
  playback::Play(video);

  QTimer::singleShot(20000, &application, &QCoreApplication::quit);  // a hang fails below
  application.exec();
  playback::Teardown(video);

  ASSERT_EQ(pump.codes, std::vector<playback::GraphEventCode>{playback::GraphEventCode::kEndOfStream});
  EXPECT_EQ(pump.threads[0], std::this_thread::get_id());
}

}  // namespace
