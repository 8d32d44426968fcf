// The tracker's page map_ex.html in the map area, offline: a row's route and figures, a
// parking stop, the marker with and without its time, the languages, printing, and texts that
// must never run as script.
#include <gtest/gtest.h>
#include <QFile>
#include <QImage>
#include <QPrinter>

#include <filesystem>

#include "tests/support/temp_dir.h"
#include "tests/tracker/map/map_fixture.h"
#include "tracker/app/profile/tracker_profile.h"
#include "tracker/app/settings/language_table.h"
#include "tracker/log/field_text.h"
#include "tracker/log/local_time.h"
#include "tracker/log/route_encoding.h"
#include "tracker/map/page_values.h"

namespace {

using tracker_map_test::WaitFor;

class MapPageTest : public tracker_map_test::MapAreaTest {
 protected:
  void SetUp() override {
    MapAreaTest::SetUp();
    points = tracker_map_test::Drive(300);
  }

  tracker::PageCall ShowRow(const tracker::TripRecord& row, bool withLine,
                            const tracker::TrackerProfile& profile = tracker::kCurrentProfile) {
    auto call = tracker::ShowRowCall(row, points, offset, withLine, {profile.thin_route, profile.sends_levels});
    EXPECT_TRUE(call);
    return call ? *call : tracker::PageCall{};
  }

  // The information box's lines as [label, value or text, unit], titles as [title].
  static QStringList InfoLines(const QJsonObject& pageState) {
    QStringList lines;
    for (const QJsonValue& v : pageState["info"].toArray()) {
      const QJsonObject line = v.toObject();
      if (line.contains("title")) {
        lines << line["title"].toString();
      } else if (line.contains("text")) {
        lines << line["label"].toString() + " | " + line["text"].toString();
      } else {
        lines << line["label"].toString() + " | " + line["value"].toString() + " " + line["unit"].toString();
      }
    }
    return lines;
  }

  static int AmberPixels(tracker::BrowserHost& host) {
    const QImage image = host.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == qRgb(0xf2, 0xa9, 0x00);
    }
    return count;
  }

  tracker::PointStore points;
  // Seoul, +9 h.
  std::int64_t offset = tracker::OffsetSeconds({9, 0}, false);
};

TEST_F(MapPageTest, ADriveShowsEveryEncodedVertexWithItsStartEndAndFigures) {
  auto host = MakeLoaded();
  const tracker::TripRecord row = tracker_map_test::DriveRow(0, 300);
  const tracker::PageCall call = ShowRow(row, true);
  const tracker::BridgeAnswer answer = MapCallAndWait(*host, call);
  EXPECT_EQ(answer.matches, 17);  // sixteen values and the trigger
  EXPECT_TRUE(answer.clicked);

  const QJsonObject state = PageState(*host);
  EXPECT_EQ(state["trigger"].toString(), "init_data");
  const tracker::EncodedRoute route = tracker::EncodeRowRoute(row, points, true);
  ASSERT_GT(route.levels.size(), 2u);
  ASSERT_LT(route.levels.size(), 300u);  // thinned
  EXPECT_EQ(state["routePoints"].toInt(), int(route.levels.size()));
  EXPECT_EQ(state["values"].toObject()["map_path"].toString(), QString::fromStdString(route.path));
  // Offline, the route is drawn on the plain background.
  EXPECT_EQ(state["tiles"].toString(), "offline");
  ASSERT_TRUE(WaitFor([&] { return host->Settled() && AmberPixels(*host) > 100; }));
  if (!qEnvironmentVariableIsEmpty("TRACKER_MAP_TEST_GRAB"))
    host->grab().save(qEnvironmentVariable("TRACKER_MAP_TEST_GRAB"));
  // The whole route at the closest zoom, only its coarse levels when far out.
  Eval(*host, "webmap.map.setZoom(18, {animate: false}); 0");
  ASSERT_TRUE(WaitFor([&] { return LivePageState(*host)["routeShown"].toInt() == int(route.levels.size()); }));
  Eval(*host, "webmap.map.setZoom(8, {animate: false}); 0");
  ASSERT_TRUE(WaitFor([&] { return LivePageState(*host)["routeShown"].toInt() < int(route.levels.size()); }));
  EXPECT_GE(LivePageState(*host)["routeShown"].toInt(), 2);

  // Start and end marks, and the box: radians as km and miles, the average over the moving
  // seconds (36000 knot-seconds over 3600 s = 10 knots).
  EXPECT_EQ(Eval(*host, "document.querySelectorAll('path.leaflet-interactive').length").toInt(), 2);
  EXPECT_EQ(InfoLines(PageState(*host)),
            (QStringList{"Driving Information", "Start | 2024.03.15 17:00:00", "End | 2024.03.15 17:04:59",
                         "Total Distance | 12.76 km", " | 7.93 mile", "Driving Time | 01:02:05 hh/mm/ss",
                         "Stopped Duration | 00:02:05 hh/mm/ss", "Average Speed | 18.52 km/h", " | 11.52 mile/h",
                         "Maximum Speed | 92.60 km/h", " | 57.60 mile/h", "Trip Information", "Driver | ", "Purpose | ",
                         "Memo | "}));
}

TEST_F(MapPageTest, TheOlderBuildSendsNoLevelsAndItsRouteHoldsEveryPoint) {
  auto host = MakeLoaded();
  const tracker::PageCall call = ShowRow(tracker_map_test::DriveRow(0, 300), true, tracker::kOlderProfile);
  EXPECT_EQ(call.values.size(), 15u);
  EXPECT_EQ(MapCallAndWait(*host, call).matches, 16);
  const QJsonObject state = PageState(*host);
  EXPECT_EQ(state["routePoints"].toInt(), 300);
  EXPECT_FALSE(state["values"].toObject()["map_levels"].toString().size() > 0);
  Eval(*host, "webmap.map.setZoom(6, {animate: false}); 0");
  ASSERT_TRUE(WaitFor([&] { return LivePageState(*host)["routeShown"].toInt() == 300; }));
}

TEST_F(MapPageTest, AParkingStopIsOneMarkerEndingAtItsSecondPoint) {
  auto host = MakeLoaded();
  tracker::TripRecord parking{};
  parking.type = tracker::RowType::kParking;
  parking.first_point = 100;
  parking.point_count = 2;
  const tracker::PageCall call = ShowRow(parking, false);
  EXPECT_EQ(call.trigger, "init_data_no_line");
  MapCallAndWait(*host, call);
  const QJsonObject state = PageState(*host);
  EXPECT_EQ(state["trigger"].toString(), "init_data_no_line");
  const QJsonObject values = state["values"].toObject();
  EXPECT_EQ(values["end_lat"].toString().toStdString(), tracker::FieldText(points[101].latitude));
  EXPECT_EQ(values["end_lng"].toString().toStdString(), tracker::FieldText(points[101].longitude));
  // Its two points and the two after them, thinned like any route.
  EXPECT_EQ(state["routePoints"].toInt(), int(tracker::EncodeRowRoute(parking, points, true).levels.size()));
  EXPECT_EQ(state["routeShown"].toInt(), 0);
  EXPECT_EQ(Eval(*host, "document.querySelectorAll('.tracker-parking').length").toInt(), 1);
  EXPECT_EQ(Eval(*host, "document.querySelectorAll('path.leaflet-interactive').length").toInt(), 0);
  EXPECT_EQ(InfoLines(state).value(0), "Parking");
  EXPECT_EQ(InfoLines(state).value(2), "End | 2024.03.15 17:01:41");
}

TEST_F(MapPageTest, TheMarkerShowsItsTimeOnlyWhenAsked) {
  auto host = MakeLoaded();
  const tracker::TrackPoint& point = points[42];
  MapCallAndWait(*host, tracker::MoveMarkerCall(point, offset, false));
  QJsonObject state = PageState(*host);
  EXPECT_EQ(state["values"].toObject()["map_showtime"].toString(), "0");
  EXPECT_EQ(state["marker"].toArray(),
            (QJsonArray{QString(point.latitude).toDouble(), QString(point.longitude).toDouble()}));
  EXPECT_TRUE(state["markerTime"].isNull());
  EXPECT_EQ(Eval(*host, "document.querySelectorAll('.tracker-time').length").toInt(), 0);

  MapCallAndWait(*host, tracker::MoveMarkerCall(points[43], offset, true));
  state = PageState(*host);
  EXPECT_EQ(state["values"].toObject()["map_showtime"].toString(), "1");
  EXPECT_EQ(state["markerTime"].toString(), "2024.03.15 17:00:43");
  EXPECT_EQ(Eval(*host, "document.querySelector('.tracker-time').textContent").toString(), "2024.03.15 17:00:43");
  // The marker alone is brought into view at the zoom asked for.
  EXPECT_EQ(Eval(*host, "webmap.map.getZoom()").toInt(), 12);

  MapCallAndWait(*host, tracker::MoveMarkerCall(points[44], offset, false));
  EXPECT_EQ(Eval(*host, "document.querySelectorAll('.tracker-time').length").toInt(), 0);
}

TEST_F(MapPageTest, ColombiaLoadsAsLanguageTenAndChangeLanguageSendsAColon) {
  auto host = MakeLoaded(10);
  EXPECT_TRUE(host->State()["url"].toString().endsWith("map_ex.html?lang=10"));
  EXPECT_EQ(PageState(*host)["language"].toInt(), 10);

  const tracker::PageCall change = tracker::ChangeLanguageCall(10);
  MapCallAndWait(*host, change);
  EXPECT_EQ(host->State()["lastCall"].toObject()["values"].toObject()["map_language"].toString(), ":");
  EXPECT_EQ(host->State()["lastCall"].toObject()["trigger"].toString(), "onChangeLanguage");
  EXPECT_EQ(PageState(*host)["language"].toInt(), 10);

  // The box is relabelled in the language the program's table gives.
  MapCallAndWait(*host, ShowRow(tracker_map_test::DriveRow(0, 300), true));
  MapCallAndWait(*host, tracker::ChangeLanguageCall(1));
  const QStringList korean = InfoLines(PageState(*host));
  ASSERT_FALSE(korean.isEmpty());
  const auto text = [](int item) {
    return QString::fromUtf8(std::string(tracker::Text(1, item, tracker::kCurrentProfile)).c_str()).trimmed();
  };
  EXPECT_EQ(korean.value(0), text(tracker::kTextDrivingInformation));
  EXPECT_TRUE(korean.value(3).startsWith(text(tracker::kTextTotalDistance) + " | "));
  EXPECT_EQ(PageState(*host)["language"].toInt(), 1);

  // Taiwan is the last; anything past it is not a language.
  MapCallAndWait(*host, tracker::ChangeLanguageCall(11));
  EXPECT_EQ(PageState(*host)["language"].toInt(), 11);
  MapCallAndWait(*host, tracker::ChangeLanguageCall(12));
  EXPECT_EQ(PageState(*host)["language"].toInt(), 11);
}

TEST_F(MapPageTest, TextsTheUserTypedShowLiterallyAndNeverRun) {
  auto host = MakeLoaded();
  tracker::TripRecord row = tracker_map_test::DriveRow(0, 300);
  const std::string driver = "<img src=x onerror=injected=1>";  // fits the 31 characters
  const std::string purpose = "</script><script>window.injected=2</script>";
  const std::string memo = "a & b\n<b>bold</b> 'quoted' \"too\"";
  tracker::SetFieldText(row.driver, driver);
  tracker::SetFieldText(row.purpose, purpose);
  tracker::SetFieldText(row.comments, memo);
  MapCallAndWait(*host, ShowRow(row, true));
  const QStringList lines = InfoLines(PageState(*host));
  EXPECT_TRUE(lines.contains("Driver | " + QString::fromStdString(driver))) << lines.join('\n').toStdString();
  EXPECT_TRUE(lines.contains("Purpose | " + QString::fromStdString(purpose)));
  EXPECT_TRUE(lines.contains("Memo | " + QString::fromStdString(memo)));
  EXPECT_TRUE(Eval(*host, "document.querySelector('.tracker-info').textContent")
                  .toString()
                  .contains(QString::fromStdString(driver)));
  EXPECT_EQ(Eval(*host, "document.querySelectorAll('.tracker-info img, .tracker-info b').length").toInt(), 0);
  tracker_map_test::Spin(100);  // a broken image would have fired its onerror by now
  EXPECT_EQ(Eval(*host, "typeof window.injected").toString(), "undefined");
}

TEST_F(MapPageTest, OnPrintPrintsThePageOnThePrinterTheDialogGives) {
  auto host = MakeLoaded();
  MapCallAndWait(*host, ShowRow(tracker_map_test::DriveRow(0, 300), true));
  testing_support::TempDir dir;
  const QString pdf = QString::fromStdString((dir / "map.pdf").string());
  int asked = 0;
  std::optional<bool> printed;
  QObject::connect(host.get(), &tracker::BrowserHost::Printed, [&](bool ok) { printed = ok; });

  // Cancelled: nothing is printed.
  host->SetPrinterSetup([&](QPrinter&, QWidget*) {
    ++asked;
    return false;
  });
  MapCallAndWait(*host, tracker::PrintCall());
  ASSERT_TRUE(WaitFor([&] { return printed.has_value(); }));
  EXPECT_FALSE(*printed);
  EXPECT_EQ(asked, 1);

  printed.reset();
  host->SetPrinterSetup([&](QPrinter& printer, QWidget*) {
    ++asked;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    return true;
  });
  const tracker::BridgeAnswer answer = MapCallAndWait(*host, tracker::PrintCall());
  EXPECT_EQ(answer.matches, 1);
  EXPECT_TRUE(answer.clicked);
  ASSERT_TRUE(WaitFor([&] { return printed.has_value(); }));
  EXPECT_TRUE(*printed);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(PageState(*host)["prints"].toInt(), 2);
  EXPECT_EQ(host->State()["prints"].toInt(), 1);
  QFile file(pdf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.read(5).startsWith("%PDF"));
}

}  // namespace
