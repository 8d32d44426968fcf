#pragma once

// What the map area's tests share: a window of the large layout with a map area in it, the
// tile server out of reach, waiting for the page, and a drive to show.
#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonObject>
#include <QTimer>
#include <QWebEngineView>

#include <cmath>
#include <functional>
#include <memory>

#include "common/webmap/page_drawn.h"
#include "common/webmap/tile_source.h"
#include "tests/support/tile_server.h"
#include "tests/tracker/log/make_point.h"
#include "tracker/app/profile/tracker_profile.h"
#include "tracker/log/trip_record.h"
#include "tracker/map/browser_host.h"

namespace tracker_map_test {

inline const QRect kLargeMap(337, 31, 680, 684);
inline const QRect kSmallMap(309, 31, 488, 520);

inline void Spin(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// Runs the event loop until `done` holds; false after `limitMs`.
inline bool WaitFor(const std::function<bool()>& done, int limitMs = 30000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > limitMs) return false;
    Spin(10);
  }
  return true;
}

// A drive of `count` fixes a second apart from 08:00:00 UTC on 2024-03-15, winding north-east
// through Seoul at 30 knots.
inline tracker::PointStore Drive(int count) {
  tracker::PointStore points;
  for (int i = 0; i < count; ++i) {
    const double lat = 37.5665 + 0.0002 * i + 0.0006 * std::sin(i / 15.0);
    const double lng = 126.9780 + 0.0003 * i + 0.0004 * std::cos(i / 11.0);
    points.push_back(tracker_test::MakePoint(20240315, tracker_test::Clock(8 * 3600 + i), lat, lng, "030.0"));
  }
  return points;
}

inline tracker::TripRecord DriveRow(int first, int count) {
  tracker::TripRecord row{};
  row.type = tracker::RowType::kDrive;
  row.first_point = first;
  row.point_count = count;
  row.distance = 0.002;  // 12.76 km
  row.total_time = 3725;
  row.stop_time = 125;
  row.speed_sum = 36000.0;  // 10 knots over 3600 moving seconds
  row.max_speed = 50.0;
  return row;
}

class MapAreaTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // No test may depend on the network: every tile fails at once.
    qputenv(webmap::kTileUrlVariable, testing_support::UnreachableTileTemplate().toUtf8());
  }

  void SetUp() override {
    window.resize(1020, 760);
    window.setStyleSheet("background: #1b1e23");
    window.show();
  }

  // A map area of the large layout, embedded, showing the page in `language`.
  std::unique_ptr<tracker::BrowserHost> MakeLoaded(int language = 0, const QRect& rect = kLargeMap) {
    auto host = std::make_unique<tracker::BrowserHost>(rect, &window);
    host->SetPageTexts(tracker::kCurrentProfile);
    host->show();
    EXPECT_EQ(host->Embed(), tracker::kHostOk);
    EXPECT_EQ(host->LoadPage(language), tracker::kHostOk);
    EXPECT_TRUE(WaitFor([&] { return host->Settled() && PageState(*host)["ready"].toBool(); }))
        << "the page never settled";
    return host;
  }

  static QJsonObject PageState(const tracker::BrowserHost& host) { return host.State()["pageState"].toObject(); }

  // The page's state now, read from the page rather than from the host's last answer.
  static QJsonObject LivePageState(tracker::BrowserHost& host) {
    return QJsonObject::fromVariantMap(Eval(host, "pageState").toMap());
  }

  static QWebEnginePage& PageOf(tracker::BrowserHost& host) { return *host.findChild<QWebEngineView*>()->page(); }

  static QVariant Eval(tracker::BrowserHost& host, const QString& script) {
    return webmap::RunScriptAndWait(PageOf(host), script);
  }

  // Sends `call` and waits for the bridge's answer.
  static tracker::BridgeAnswer CallAndWait(tracker::BrowserHost& host, const tracker::PageCall& call,
                                           const QString& keep = {}) {
    tracker::BridgeAnswer answer;
    bool done = false;
    const int code = host.SetValuesAndClick(call, keep, [&](const tracker::BridgeAnswer& a) {
      answer = a;
      done = true;
    });
    EXPECT_EQ(code, tracker::kHostOk);
    if (code == tracker::kHostOk) {
      EXPECT_TRUE(WaitFor([&] { return done; }, 10000));
    }
    return answer;
  }

  static tracker::BridgeAnswer MapCallAndWait(tracker::BrowserHost& host, const tracker::PageCall& call) {
    tracker::BridgeAnswer answer;
    bool done = false;
    EXPECT_EQ(host.Call(call,
                        [&](const tracker::BridgeAnswer& a) {
                          answer = a;
                          done = true;
                        }),
              tracker::kHostOk);
    EXPECT_TRUE(WaitFor([&] { return done; }, 10000));
    return answer;
  }

  QWidget window;
};

}  // namespace tracker_map_test
