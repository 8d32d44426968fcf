// The page base in a real web view: Leaflet loads from the resources, values reach the page
// as data whatever they hold, tiles come from the configured server with our User-Agent, and
// without tiles the page still draws on its plain background.
#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QTimer>
#include <QWebEngineView>

#include "common/webmap/map_page.h"
#include "common/webmap/page_call.h"
#include "common/webmap/page_drawn.h"
#include "common/webmap/request_fence.h"
#include "tests/support/tile_server.h"

namespace {

const QColor kTileColor(120, 180, 120);

void Spin(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

class MapPageTest : public ::testing::Test {
 protected:
  // Shows the test page with `tiles` and waits until it has drawn and `until` holds.
  QVariantMap Open(const webmap::TileSource& tiles, const webmap::PageStateTest& until = {},
                   const std::function<void(webmap::MapPage&)>& prepare = {}) {
    page = new webmap::MapPage(tiles, &view);
    if (prepare) prepare(*page);
    view.setPage(page);
    view.resize(400, 300);
    view.show();
    page->load(QUrl("qrc:/webmap_test/test_page.html"));
    return webmap::WaitUntilDrawn(view, until);
  }

  QVariant Eval(const QString& script) { return webmap::RunScriptAndWait(*page, script); }

  webmap::PageCallResult CallAndWait(const QString& function, const QJsonArray& arguments) {
    webmap::PageCallResult result;
    bool done = false;
    QEventLoop loop;
    const bool sent = webmap::CallPage(*page, function, arguments, [&](const webmap::PageCallResult& r) {
      result = r;
      done = true;
      loop.quit();
    });
    EXPECT_TRUE(sent);
    if (sent && !done) {
      QTimer::singleShot(10000, &loop, &QEventLoop::quit);
      loop.exec();
    }
    EXPECT_TRUE(done);
    return result;
  }

  QColor CentrePixel() {
    const QImage image = view.grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
  }

  QWebEngineView view;
  webmap::MapPage* page = nullptr;
};

webmap::TileSource Unreachable(const QString& attribution = "Test tiles") {
  return webmap::TileSource{testing_support::UnreachableTileTemplate(), attribution, {}, 19};
}

bool TilesAre(const QVariantMap& state, const char* value) { return state.value("tiles").toString() == value; }

const QStringList kHostile = {
    "\"); window.injected = 1; (\"",
    "</script><script>window.injected = 1</script>",
    "back\\slash \\\" \\u0022",
    "it's",
    QString::fromUtf16(u"\u2028\u2029 \uC11C\uC6B8 \U0001F697"),
};

TEST_F(MapPageTest, LoadsLeafletAndThePageBaseFromTheResources) {
  const QVariantMap state = Open(webmap::TileSource{});
  ASSERT_FALSE(state.isEmpty()) << "the page never drew";
  EXPECT_EQ(Eval("typeof L").toString(), "object");
  EXPECT_EQ(Eval("L.version").toString().left(2), "1.");
  EXPECT_TRUE(state.value("ready").toBool());
  EXPECT_EQ(state.value("tiles").toString(), "offline");
  EXPECT_TRUE(Eval("!!document.querySelector('.leaflet-control-scale')").toBool());
  // No tiles on purpose is not a failure worth a note.
  EXPECT_FALSE(Eval("!!document.querySelector('.webmap-note')").toBool());
  EXPECT_FALSE(Eval("document.documentElement.scrollHeight > window.innerHeight").toBool());
}

TEST_F(MapPageTest, ConfigurationReachesThePageAsData) {
  const QVariantMap state = Open(webmap::TileSource{}, {}, [](webmap::MapPage& p) {
    p.SetConfigValue("labels", QJsonArray::fromStringList(kHostile));
    p.SetConfigValue("tiles", "ignored: the tile source is fixed with the page");
  });
  ASSERT_FALSE(state.isEmpty());
  EXPECT_EQ(Eval("webmapConfig.labels").toStringList(), kHostile);
  EXPECT_EQ(Eval("webmapConfig.tiles.url").toString(), "");
  EXPECT_EQ(Eval("typeof window.injected").toString(), "undefined");
}

TEST_F(MapPageTest, CallsHandHostileValuesOverAsData) {
  ASSERT_FALSE(Open(webmap::TileSource{}).isEmpty());
  QJsonArray arguments = QJsonArray::fromStringList(kHostile);
  arguments.append(126.97796630859375);
  arguments.append(QJsonObject{{"nested", QJsonArray{1, "</script>"}}});
  const webmap::PageCallResult result = CallAndWait("echo", arguments);
  EXPECT_TRUE(result.called);
  EXPECT_TRUE(result.error.isEmpty());
  const QVariantList received = result.pageState.value("received").toList();
  ASSERT_EQ(received.size(), arguments.size());
  for (int i = 0; i < kHostile.size(); ++i) EXPECT_EQ(received[i].toString(), kHostile[i]);
  EXPECT_EQ(received[kHostile.size()].toDouble(), 126.97796630859375);
  EXPECT_EQ(received.last().toMap().value("nested").toList().value(1).toString(), "</script>");
  EXPECT_EQ(result.returned.toMap().value("count").toInt(), arguments.size());
  EXPECT_EQ(Eval("typeof window.injected").toString(), "undefined");
}

TEST_F(MapPageTest, CallsOnlyWhatThePageDefinesAndReportsWhatItThrows) {
  ASSERT_FALSE(Open(webmap::TileSource{}).isEmpty());
  const webmap::PageCallResult missing = CallAndWait("noSuchFunction", {});
  EXPECT_FALSE(missing.called);
  EXPECT_TRUE(missing.pageState.value("ready").toBool());  // the state is read all the same

  const webmap::PageCallResult thrown = CallAndWait("fails", {1});
  EXPECT_FALSE(thrown.called);
  EXPECT_TRUE(thrown.returned.isNull());
  EXPECT_TRUE(thrown.error.contains("broken on purpose")) << qPrintable(thrown.error);

  EXPECT_FALSE(webmap::CallPage(*page, "alert(1)", {}));
}

TEST_F(MapPageTest, TilesComeFromTheServerAskedWithOurUserAgent) {
  testing_support::TileServer server(kTileColor);
  const webmap::TileSource tiles{server.urlTemplate(), "Test tiles", {}, 19};
  const QVariantMap state = Open(tiles, [](const QVariantMap& s) { return TilesAre(s, "online"); });
  ASSERT_FALSE(state.isEmpty()) << "the tiles never arrived";
  ASSERT_FALSE(server.requests().isEmpty());
  for (const auto& request : server.requests()) {
    EXPECT_TRUE(request.path.startsWith("/12/")) << request.path.constData();
    EXPECT_EQ(QString::fromUtf8(request.userAgent), webmap::MapUserAgent());
  }
  EXPECT_FALSE(Eval("!!document.querySelector('.webmap-note')").toBool());
  // The first tile switches the state; the frame showing them follows.
  QElapsedTimer clock;
  clock.start();
  while (CentrePixel() != kTileColor && clock.elapsed() < 10000) Spin(20);
  EXPECT_EQ(CentrePixel().name(), kTileColor.name());
}

TEST_F(MapPageTest, WithoutTilesThePageShowsItsPlainBackgroundAndSaysSo) {
  const QVariantMap state = Open(Unreachable(), [](const QVariantMap& s) { return TilesAre(s, "offline"); });
  ASSERT_FALSE(state.isEmpty()) << "the page never gave up on its tiles";
  EXPECT_EQ(Eval("document.querySelector('.webmap-note').textContent").toString(), "Map tiles unavailable");
  // Failed tiles are hidden, not drawn as broken images: the dark background shows.
  const QColor centre = CentrePixel();
  EXPECT_LT(centre.lightness(), 60) << qPrintable(centre.name());
}

TEST_F(MapPageTest, ThePageReachesTheTileServerAndNothingElse) {
  testing_support::TileServer tileServer(kTileColor);
  testing_support::TileServer elsewhere(kTileColor);
  const webmap::TileSource tiles{tileServer.urlTemplate(), "Test tiles", {}, 19};
  ASSERT_FALSE(Open(tiles, [](const QVariantMap& s) { return TilesAre(s, "online"); }).isEmpty());
  EXPECT_EQ(Eval("document.head.firstElementChild.httpEquiv").toString(), "Content-Security-Policy");

  // A script of the page tries every way out it has.
  const QString other = QString(elsewhere.urlTemplate()).replace("{z}/{x}/{y}", "1/2/3");
  Eval(
      "window.violations = 0;"
      "document.addEventListener('securitypolicyviolation', function () { ++window.violations; });"
      "var url = '" +
      other +
      "';"
      "new Image().src = url;"
      "fetch(url).catch(function () {});"
      "var x = new XMLHttpRequest(); try { x.open('GET', url); x.send(); } catch (e) {}"
      "var f = document.createElement('iframe'); f.src = url; document.body.appendChild(f);"
      "var s = document.createElement('script'); s.src = url; document.head.appendChild(s);");
  Spin(500);
  EXPECT_TRUE(elsewhere.requests().isEmpty()) << elsewhere.requests().front().path.constData();
  EXPECT_GE(Eval("window.violations").toInt(), 4) << "the policy refuses them in the page";
}

TEST_F(MapPageTest, ARejectedTileAddressShowsTheOfflineNote) {
  webmap::TileSource refused;
  refused.rejected = true;
  const QVariantMap state = Open(refused, [](const QVariantMap& s) { return TilesAre(s, "offline"); });
  ASSERT_FALSE(state.isEmpty());
  EXPECT_EQ(Eval("document.querySelector('.webmap-note').textContent").toString(), "Map tiles unavailable");
}

TEST_F(MapPageTest, AttributionIsShownAsTextNeverAsMarkup) {
  webmap::TileSource tiles = Unreachable("<img src=x onerror=\"window.injected = 1\"> & co");
  tiles.attributionUrl = "javascript:window.injected = 2";
  ASSERT_FALSE(Open(tiles).isEmpty());
  EXPECT_EQ(Eval("document.querySelector('.leaflet-control-attribution').textContent").toString(),
            "<img src=x onerror=\"window.injected = 1\"> & co");
  EXPECT_FALSE(
      Eval("!!document.querySelector('.leaflet-control-attribution a, .leaflet-control-attribution img')").toBool());
  EXPECT_EQ(Eval("typeof window.injected").toString(), "undefined");
}

}  // namespace
