// The manager's map view on its own, in a plain 1024 x 768 window, with the tile server out
// of reach: where each build puts it, what reaches the page and what never does, the drive of
// a recording, and that the route and the marker draw without tiles.
#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>
#include <QWebEngineView>

#include <cmath>
#include <fstream>
#include <memory>
#include <vector>

#include "common/webmap/page_call.h"
#include "common/webmap/page_drawn.h"
#include "common/webmap/tile_source.h"
#include "manager/display/map_view.h"
#include "manager/display/rules/recording_track.h"
#include "manager/language/language.h"
#include "manager/language/lookup_text.h"
#include "manager/recording/gps_decode.h"
#include "manager/recording/user_data_writer.h"
#include "tests/manager/map/sensor_record_maker.h"
#include "tests/support/temp_dir.h"
#include "tests/support/tile_server.h"

namespace {

void Spin(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// Runs the event loop until `done` holds; false after `limitMs`.
bool WaitFor(const std::function<bool()>& done, int limitMs = 30000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > limitMs) return false;
    Spin(20);
  }
  return true;
}

class MapViewTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // No test may depend on the network: every tile fails at once.
    qputenv(webmap::kTileUrlVariable, testing_support::UnreachableTileTemplate().toUtf8());
  }

  void SetUp() override {
    window.resize(1024, 768);
    window.setStyleSheet("background: #1b1e23");
    window.show();
  }

  std::unique_ptr<display::MapView> Make(const setup::Profile& profile = setup::kDualProfile) {
    return std::make_unique<display::MapView>(profile, &window);
  }

  static QJsonObject PageState(const display::MapView& map) { return map.State()["pageState"].toObject(); }

  static bool Loaded(const display::MapView& map) {
    return map.State()["loaded"].toBool() && PageState(map)["ready"].toBool();
  }

  static QWebEnginePage& PageOf(display::MapView& map) { return *map.findChild<QWebEngineView*>()->page(); }

  // Shows the map, waits until its page is in place and everything given to it is drawn.
  static void ShowAndSettle(display::MapView& map) {
    map.show();
    ASSERT_TRUE(WaitFor([&] { return map.Settled() && Loaded(map); })) << "the map never settled";
  }

  static QJsonArray Marker(const display::MapView& map) { return PageState(map)["marker"].toArray(); }

  QWidget window;
};

TEST_F(MapViewTest, EachBuildPlacesItsPageHiddenUntilTheWindowShowsIt) {
  struct Case {
    const setup::Profile* profile;
    QRect rect;
    const char* page;
  };
  for (const Case& c : {Case{&setup::kDualProfile, {679, 505, 320, 240}, "map2.html"},
                        Case{&setup::kParkProfile, {679, 325, 320, 422}, "map.html"},
                        Case{&setup::kBrandProfile, {676, 325, 326, 424}, "map.html"}}) {
    SCOPED_TRACE(c.page);
    auto map = Make(*c.profile);
    EXPECT_TRUE(map->isHidden());
    EXPECT_EQ(map->geometry(), c.rect);
    EXPECT_EQ(map->parentWidget(), &window);
    QJsonObject state = map->State();
    EXPECT_FALSE(state["visible"].toBool());
    EXPECT_EQ(state["rect"].toArray(), (QJsonArray{c.rect.x(), c.rect.y(), c.rect.width(), c.rect.height()}));
    EXPECT_EQ(state["page"].toString(), c.page);
    EXPECT_TRUE(state["lastAnimate"].isNull());
    // Hidden, a loaded page is enough for a screenshot.
    ASSERT_TRUE(WaitFor([&] { return Loaded(*map); }));
    EXPECT_TRUE(map->Settled());

    ShowAndSettle(*map);
    EXPECT_TRUE(map->State()["visible"].toBool());
    QWebEnginePage& page = PageOf(*map);
    EXPECT_EQ(webmap::RunScriptAndWait(page, "typeof L").toString(), "object");
    EXPECT_EQ(page.url().path(), QString("/") + c.page);
    // The page fills the view exactly: no scroll bars, nothing to scroll.
    EXPECT_EQ(webmap::RunScriptAndWait(page, "[window.innerWidth, window.innerHeight]").toList(),
              (QVariantList{c.rect.width(), c.rect.height()}));
    EXPECT_FALSE(webmap::RunScriptAndWait(page,
                                          "document.documentElement.scrollHeight > window.innerHeight || "
                                          "document.documentElement.scrollWidth > window.innerWidth")
                     .toBool());
    map->hide();
    EXPECT_FALSE(map->State()["visible"].toBool());
  }
}

TEST_F(MapViewTest, APositionWhileThePageLoadsIsDroppedWithoutWaiting) {
  auto map = Make();
  map->ShowMapPosition(37.566535, 126.977969);
  EXPECT_FALSE(map->State()["loaded"].toBool());
  EXPECT_TRUE(map->State()["lastAnimate"].isNull());
  ASSERT_TRUE(WaitFor([&] { return Loaded(*map); }));
  EXPECT_TRUE(Marker(*map).isEmpty());
}

TEST_F(MapViewTest, AnimateGetsLongitudeThenLatitudeInSinglePrecisionAndMovesTheMarker) {
  auto map = Make();
  ShowAndSettle(*map);
  map->ShowMapPosition(37.566535, 126.977969);
  const double lat = double(float(37.566535));
  const double lng = double(float(126.977969));
  EXPECT_EQ(map->State()["lastAnimate"].toArray(), (QJsonArray{lng, lat}));
  ASSERT_TRUE(WaitFor([&] {
    return Marker(*map) == QJsonArray{lat, lng};
  })) << QJsonDocument(PageState(*map)).toJson().constData();

  // The next position moves it; a second far away is brought into view.
  map->ShowMapPosition(35.179554, 129.075642);
  ASSERT_TRUE(WaitFor([&] { return Marker(*map) == QJsonArray{double(35.179554f), double(129.075642f)}; }));
  ASSERT_TRUE(WaitFor([&] { return map->Settled(); }));
  const QVariant inView = webmap::RunScriptAndWait(
      PageOf(*map), "webmap.map.getBounds().contains(L.latLng(pageState.marker[0], pageState.marker[1]))");
  EXPECT_TRUE(inView.toBool());
}

TEST_F(MapViewTest, NoPositionHidesTheMarkerAndKeepsTheDrive) {
  auto map = Make();
  map->SetTrack({{37.5665, 126.9780}, {37.5700, 126.9850}, {37.5750, 126.9900}});
  ShowAndSettle(*map);
  map->ShowMapPosition(37.5700, 126.9850);
  ASSERT_TRUE(WaitFor([&] { return !Marker(*map).isEmpty(); }));

  map->ShowMapPosition(1.0, 1.0);
  EXPECT_EQ(map->State()["lastAnimate"].toArray(), (QJsonArray{1.0, 1.0}));
  ASSERT_TRUE(WaitFor([&] { return PageState(*map)["marker"].isNull(); }));
  EXPECT_EQ(PageState(*map)["trackPoints"].toInt(), 3);
  EXPECT_EQ(
      webmap::RunScriptAndWait(PageOf(*map), "document.querySelector('.manager-no-position').style.display").toString(),
      "");

  // A position again takes the note away.
  map->ShowMapPosition(37.5750, 126.9900);
  ASSERT_TRUE(WaitFor([&] { return !Marker(*map).isEmpty(); }));
  EXPECT_EQ(
      webmap::RunScriptAndWait(PageOf(*map), "document.querySelector('.manager-no-position').style.display").toString(),
      "none");
}

// The notes come from the language file like every other text (English when a key is missing).
TEST_F(MapViewTest, TheNotesSpeakTheUsersLanguage) {
  struct Case {
    const char* file;
    const char* noPosition;
    const char* noTiles;
  };
  const std::vector<Case> cases = {
      {"[English]\n", "No GPS position", "Map tiles unavailable"},
      {"[English]\nNO_GPS_POSITION=Kein GPS\nMAP_TILES_UNAVAILABLE=Keine Karte\n", "Kein GPS", "Keine Karte"},
  };
  for (const Case& c : cases) {
    testing_support::TempDir dir;
    const auto file = dir / "lang.ini";
    std::ofstream(file) << c.file;
    language::SetCurrentLanguageTable(language::LanguageTable("English", file));
    auto map = Make();
    ShowAndSettle(*map);
    language::SetCurrentLanguageTable(language::LanguageTable());
    map->ShowMapPosition(1.0, 1.0);
    const auto text = [&](const char* selector) {
      return webmap::RunScriptAndWait(PageOf(*map), QString("document.querySelector('%1').textContent").arg(selector))
          .toString();
    };
    ASSERT_TRUE(WaitFor([&] { return text(".manager-no-position") == c.noPosition; })) << c.file;
    ASSERT_TRUE(WaitFor([&] { return text(".webmap-note:not(.manager-no-position)") == c.noTiles; })) << c.file;
  }
}

TEST_F(MapViewTest, PositionsTheMapCannotTakeNeverReachThePage) {
  auto map = Make();
  ShowAndSettle(*map);
  map->ShowMapPosition(37.5665, 126.9780);
  const QJsonArray sent = map->State()["lastAnimate"].toArray();
  ASSERT_TRUE(WaitFor([&] { return !Marker(*map).isEmpty(); }));
  const QJsonArray marker = Marker(*map);

  // A sample without a fix decodes to the no-fix marker; it calls nothing.
  recording::GpsSample noFix;
  const std::string sentence = recording::FormatRmcSentence(1000, 37.6, 127.0, 0, 0, /*valid=*/false);
  std::copy(sentence.begin(), sentence.end(), noFix.text.begin());
  const recording::GpsFix fix = recording::DecodeGpsSample(noFix);
  ASSERT_EQ(recording::ClassifyFix(fix), recording::FixKind::NoFix);
  map->ShowMapPosition(fix.latitude, fix.longitude);

  for (const auto& [a, b] : std::vector<std::pair<double, double>>{{NAN, 126.9},
                                                                   {37.5, NAN},
                                                                   {INFINITY, 0.5},
                                                                   {37.5, -INFINITY},
                                                                   {90.5, 126.9},
                                                                   {-91, 126.9},
                                                                   {37.5, 180.01},
                                                                   {37.5, -200},
                                                                   {1e300, 1e300}}) {
    map->ShowMapPosition(a, b);
  }
  EXPECT_EQ(map->State()["lastAnimate"].toArray(), sent);
  // Let anything that was sent after all arrive before looking.
  webmap::RunScriptAndWait(PageOf(*map), "0");
  ASSERT_TRUE(WaitFor([&] { return map->Settled(); }));
  EXPECT_EQ(Marker(*map), marker);
}

TEST_F(MapViewTest, TheRecordingsDriveIsDrawnWithEveryValidFix) {
  const testing_support::RecordedDrive drive = testing_support::RecordDrive(7, 180);
  const std::vector<display::LatLng> track = display::RecordingTrack(drive.record);
  ASSERT_EQ(track.size(), drive.validFixes);
  ASSERT_GT(drive.validFixes, 100u);

  // Handed over while the page still loads: it is drawn once the page is there.
  auto map = Make(setup::kParkProfile);
  map->SetTrack(track);
  ShowAndSettle(*map);
  EXPECT_EQ(PageState(*map)["trackPoints"].toInt(), int(drive.validFixes));
  const QVariant fitted = webmap::RunScriptAndWait(
      PageOf(*map), QString("webmap.map.getBounds().contains(L.latLngBounds([[%1, %2], [%3, %4]]))")
                        .arg(track.front()[0], 0, 'f', 6)
                        .arg(track.front()[1], 0, 'f', 6)
                        .arg(track.back()[0], 0, 'f', 6)
                        .arg(track.back()[1], 0, 'f', 6));
  EXPECT_TRUE(fitted.toBool()) << "start and end of the drive are in view";

  // The next recording has no fixes at all: the old drive goes.
  map->SetTrack({});
  ASSERT_TRUE(WaitFor([&] { return map->Settled() && PageState(*map)["trackPoints"].toInt() == 0; }));
}

TEST_F(MapViewTest, ThePageDrawsOnlyWhatIsAPlaceWhateverItIsGiven) {
  auto map = Make();
  ShowAndSettle(*map);
  // Straight to the page, past the view's own checks.
  const QJsonArray junk{QJsonArray{37.5, 127.0}, QJsonArray{"37.6", 127.1}, QJsonArray{QJsonValue::Null, 127.0},
                        QJsonArray{95.0, 127.0}, QJsonArray{37.6, 200.0},   "</script>",
                        QJsonArray{37.7},        QJsonObject{{"lat", 1}},   QJsonArray{37.8, 127.2}};
  bool done = false;
  webmap::CallPage(PageOf(*map), "setTrack", QJsonArray{junk}, [&](const webmap::PageCallResult& r) {
    EXPECT_TRUE(r.called) << qPrintable(r.error);
    EXPECT_EQ(r.pageState.value("trackPoints").toInt(), 2);
    done = true;
  });
  webmap::CallPage(PageOf(*map), "animate", QJsonArray{"126.9", "37.5"});
  ASSERT_TRUE(WaitFor([&] { return done; }));
  EXPECT_TRUE(webmap::RunScriptAndWait(PageOf(*map), "pageState.marker === null").toBool());
}

TEST_F(MapViewTest, WithoutTilesTheDriveAndTheMarkerStillDraw) {
  const testing_support::RecordedDrive drive = testing_support::RecordDrive(3, 240);
  const std::vector<display::LatLng> track = display::RecordingTrack(drive.record);
  auto map = Make();
  ShowAndSettle(*map);
  map->SetTrack(track);
  const display::LatLng& here = track[track.size() / 2];
  map->ShowMapPosition(here[0], here[1]);
  ASSERT_TRUE(WaitFor([&] { return map->Settled() && !Marker(*map).isEmpty(); }));
  ASSERT_TRUE(WaitFor([&] { return PageState(*map)["tiles"].toString() == "offline"; }));
  EXPECT_EQ(PageState(*map)["trackPoints"].toInt(), int(track.size()));
  Spin(300);  // the last pan's frame

  const QImage image = map->grab().toImage().convertToFormat(QImage::Format_RGB32);
  if (const QByteArray dir = qgetenv("BLACKBOX_TEST_GRABS"); !dir.isEmpty()) {
    image.save(QDir(QString::fromUtf8(dir)).filePath("map_offline.png"));
  }
  int amber = 0, blue = 0, light = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.red() > 220 && c.green() > 150 && c.green() < 190 && c.blue() < 40) ++amber;  // #f2a900
      if (c.red() < 80 && c.green() > 120 && c.green() < 160 && c.blue() > 230) ++blue;   // #3d8bfd
      if (c.lightness() > 200) ++light;
    }
  }
  EXPECT_GT(amber, 200) << "the drive";
  EXPECT_GT(blue, 40) << "the marker";
  EXPECT_LT(light, image.width() * image.height() / 10) << "a plain dark background, not white";
}

TEST_F(MapViewTest, GoingAwayWithCallsInFlightIsSafe) {
  auto map = Make();
  ShowAndSettle(*map);
  for (int i = 0; i < 50; ++i) map->ShowMapPosition(37.5 + i * 0.001, 127.0);
  map->SetTrack({{37.5, 127.0}, {37.6, 127.1}});
  map.reset();
  Spin(200);
}

TEST_F(MapViewTest, TilesReachTheManagersPageWhenTheServerAnswers) {
  testing_support::TileServer server;
  qputenv(webmap::kTileUrlVariable, server.urlTemplate().toUtf8());
  auto map = Make(setup::kBrandProfile);
  qputenv(webmap::kTileUrlVariable, testing_support::UnreachableTileTemplate().toUtf8());
  map->SetTrack({{37.5665, 126.9780}, {37.5700, 126.9850}});
  ShowAndSettle(*map);
  ASSERT_TRUE(WaitFor([&] { return PageState(*map)["tiles"].toString() == "online"; }));
  EXPECT_FALSE(server.requests().isEmpty());
}

}  // namespace
