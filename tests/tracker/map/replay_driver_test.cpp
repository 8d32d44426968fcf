// Replay on the real page: the points the marker visits at a step in both directions, the
// slider, the release rule, the timer with its step limit, and that marker calls never pile up.
#include <gtest/gtest.h>

#include <vector>

#include "tests/tracker/map/map_fixture.h"
#include "tracker/map/page_values.h"
#include "tracker/map/replay_driver.h"

namespace {

using tracker::Direction;
using tracker_map_test::WaitFor;

class ReplayDriverTest : public tracker_map_test::MapAreaTest {
 protected:
  void SetUp() override {
    MapAreaTest::SetUp();
    points = tracker_map_test::Drive(10);
    host = MakeLoaded();
    driver = std::make_unique<tracker::ReplayDriver>(*host);
    QObject::connect(driver.get(), &tracker::ReplayDriver::PointShown, [this](int offset) { shown.push_back(offset); });
    QObject::connect(driver.get(), &tracker::ReplayDriver::SliderMoved, [this](int p) { sliders.push_back(p); });
    driver->SetRowsExist(true);
  }

  void TearDown() override {
    driver.reset();
    host.reset();
  }

  // One tick, once the page has taken the last marker.
  void TickWhenFree() {
    ASSERT_TRUE(WaitFor([&] { return !driver->markerInFlight(); }, 10000));
    ASSERT_TRUE(driver->Tick());
  }

  QJsonArray MarkerAt(int offset) const {
    return QJsonArray{QString(points[offset].latitude).toDouble(), QString(points[offset].longitude).toDouble()};
  }

  bool PageMarkerAt(int offset) { return PageState(*host)["marker"].toArray() == MarkerAt(offset); }

  tracker::PointStore points;
  std::unique_ptr<tracker::BrowserHost> host;
  std::unique_ptr<tracker::ReplayDriver> driver;
  std::vector<int> shown;
  std::vector<int> sliders;
};

TEST_F(ReplayDriverTest, StepThreeVisitsEveryThirdPointForwardAndBack) {
  driver->SetStep(3);
  driver->SetRow(&points, 0, 10);
  driver->ShowFirstPoint();
  for (int i = 0; i < 5; ++i) TickWhenFree();
  EXPECT_EQ(shown, (std::vector<int>{0, 3, 6, 9, 2, 5}));
  EXPECT_EQ(sliders, (std::vector<int>{30, 60, 90, 20, 50, 80}));
  ASSERT_TRUE(WaitFor([&] { return PageMarkerAt(5); }));
  EXPECT_EQ(driver->pointIndex(), 8);

  shown.clear();
  driver->SetRow(&points, 0, 10);  // Show row: back to the first point
  driver->PressPlay(Direction::kReverse);
  driver->Stop();
  for (int i = 0; i < 5; ++i) TickWhenFree();
  EXPECT_EQ(shown, (std::vector<int>{0, 7, 4, 1, 8}));
  ASSERT_TRUE(WaitFor([&] { return PageMarkerAt(8); }));
}

TEST_F(ReplayDriverTest, ATickWaitsWhileTheLastMarkerIsOnItsWay) {
  driver->SetRow(&points, 0, 10);
  driver->ShowFirstPoint();
  ASSERT_TRUE(driver->markerInFlight());
  EXPECT_FALSE(driver->Tick());
  EXPECT_FALSE(driver->Tick());
  EXPECT_EQ(shown, std::vector<int>{0});
  EXPECT_EQ(host->callsInFlight(), 1);
  ASSERT_TRUE(WaitFor([&] { return !driver->markerInFlight(); }));
  EXPECT_TRUE(driver->Tick());
  EXPECT_EQ(shown, (std::vector<int>{0, 1}));
}

TEST_F(ReplayDriverTest, AReleaseAtTheEndShowsTheFirstPoint) {
  driver->SetRow(&points, 0, 10);
  driver->ShowFirstPoint();
  ASSERT_TRUE(WaitFor([&] { return PageMarkerAt(0) && !driver->markerInFlight(); }));
  driver->ReleaseSlider(50);
  EXPECT_EQ(shown.back(), 5);
  ASSERT_TRUE(WaitFor([&] { return PageMarkerAt(5) && !driver->markerInFlight(); }));
  driver->ReleaseSlider(100);
  EXPECT_EQ(shown.back(), 0);
  EXPECT_EQ(driver->pointIndex(), 1);
  ASSERT_TRUE(WaitFor([&] { return PageMarkerAt(0); }));
  EXPECT_FALSE(driver->playing());
}

TEST_F(ReplayDriverTest, AReleaseWhilePlayingGoesOnInTheSameDirection) {
  driver->SetRow(&points, 0, 10);
  driver->ShowFirstPoint();
  for (Direction direction : {Direction::kForward, Direction::kReverse}) {
    driver->PressPlay(direction);
    ASSERT_TRUE(driver->playing());
    driver->ReleaseSlider(70);
    EXPECT_EQ(shown.back(), 7);
    EXPECT_TRUE(driver->playing());
    EXPECT_EQ(driver->direction(), direction);
    EXPECT_TRUE(host->playbackTimerActive());
    driver->Stop();
    EXPECT_FALSE(host->playbackTimerActive());
  }
}

TEST_F(ReplayDriverTest, TheTimerPlaysUntilTheStepLimitAndTheButtonsTurnIt) {
  std::vector<std::pair<bool, Direction>> looks;
  QObject::connect(driver.get(), &tracker::ReplayDriver::PlayStateChanged,
                   [&](bool playing, Direction direction) { looks.emplace_back(playing, direction); });
  bool limit = false;
  QObject::connect(driver.get(), &tracker::ReplayDriver::StepLimitReached, [&] { limit = true; });
  driver->SetRow(&points, 0, 10);
  driver->ShowFirstPoint();
  driver->SetStepLimit(12);
  driver->PressPlay(Direction::kForward);
  EXPECT_TRUE(host->playbackTimerActive());
  ASSERT_TRUE(WaitFor([&] { return limit; }));
  EXPECT_FALSE(driver->playing());
  EXPECT_FALSE(host->playbackTimerActive());
  EXPECT_EQ(driver->stepsTaken(), 12);
  // The first point, then twelve steps: the marker went round once and on to point 2.
  EXPECT_EQ(shown.size(), 13u);
  EXPECT_EQ(shown.back(), 2);
  ASSERT_TRUE(WaitFor([&] { return PageMarkerAt(2); }));
  EXPECT_EQ(driver->State()["pointIndex"].toInt(), 3);
  EXPECT_EQ(driver->State()["slider"].toInt(), 30);
  EXPECT_EQ(driver->State()["direction"].toString(), "forward");

  // Reverse turns, reverse again stops; both leave the looks behind.
  looks.clear();
  driver->PressPlay(Direction::kForward);
  driver->PressPlay(Direction::kReverse);
  driver->PressPlay(Direction::kReverse);
  EXPECT_EQ(looks, (std::vector<std::pair<bool, Direction>>{
                       {true, Direction::kForward}, {true, Direction::kReverse}, {false, Direction::kReverse}}));
  EXPECT_FALSE(host->playbackTimerActive());
}

TEST_F(ReplayDriverTest, ARowWithoutPointsIsNeverPlayed) {
  const int calls = host->State()["calls"].toInt();
  driver->SetRow(&points, 0, 0);
  driver->ShowFirstPoint();
  // A row reaching past the store is no better.
  driver->SetRow(&points, 8, 5);
  driver->ShowFirstPoint();
  for (Direction direction : {Direction::kForward, Direction::kReverse}) {
    driver->PressPlay(direction);
    EXPECT_FALSE(driver->Tick());
    driver->Stop();
  }
  driver->ReleaseSlider(40);
  driver->ShowCurrentPoint();
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(host->State()["calls"].toInt(), calls);

  // Without rows, nothing starts at all.
  driver->SetRowsExist(false);
  driver->PressPlay(Direction::kForward);
  EXPECT_FALSE(driver->playing());
}

TEST_F(ReplayDriverTest, AfterAScanTheMarkerShowsTheCurrentPointWithoutAStep) {
  driver->SetRow(&points, 0, 10);
  driver->ShowFirstPoint();
  ASSERT_TRUE(WaitFor([&] { return !driver->markerInFlight(); }));
  driver->ShowCurrentPoint();
  EXPECT_EQ(shown, (std::vector<int>{0, 1}));
  EXPECT_EQ(driver->pointIndex(), 1);
}

}  // namespace
