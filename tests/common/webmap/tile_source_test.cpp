// Which tiles a page gets: OpenStreetMap unless the environment or the program's setting
// says otherwise, and never an address a page should not load tiles from. Also where a map
// page may navigate, and the name it gives tile servers.
#include <gtest/gtest.h>
#include <QCoreApplication>

#include <optional>

#include "common/webmap/map_page.h"
#include "common/webmap/request_fence.h"
#include "common/webmap/tile_source.h"

namespace {

// Sets BLACKBOX_TILE_URL for one test and puts the old value back.
class TileUrlVariable {
 public:
  explicit TileUrlVariable(const char* value) {
    if (qEnvironmentVariableIsSet(webmap::kTileUrlVariable)) old_ = qgetenv(webmap::kTileUrlVariable);
    if (value) {
      qputenv(webmap::kTileUrlVariable, value);
    } else {
      qunsetenv(webmap::kTileUrlVariable);
    }
  }
  ~TileUrlVariable() {
    if (old_) {
      qputenv(webmap::kTileUrlVariable, *old_);
    } else {
      qunsetenv(webmap::kTileUrlVariable);
    }
  }

 private:
  std::optional<QByteArray> old_;
};

TEST(TileTemplate, AcceptsHttpTemplatesWithAllThreePlaceholders) {
  for (const char* good : {"https://tile.openstreetmap.org/{z}/{x}/{y}.png", "http://{s}.tiles.example/{z}/{x}/{y}.png",
                           "http://127.0.0.1:8080/t/{z}/{x}/{y}", "https://example.org/{z}/{y}/{x}.jpg?key=abc"}) {
    EXPECT_TRUE(webmap::IsUsableTileTemplate(good)) << good;
  }
  for (const char* bad :
       {"", "https://tile.example/{z}/{x}.png", "ftp://tile.example/{z}/{x}/{y}.png", "file:///tiles/{z}/{x}/{y}.png",
        "javascript:alert('{z}{x}{y}')", "http:///{z}/{x}/{y}.png", "tile.example/{z}/{x}/{y}.png", "none"}) {
    EXPECT_FALSE(webmap::IsUsableTileTemplate(bad)) << bad;
  }
}

TEST(ChooseTileSource, OpenStreetMapWithItsAttributionByDefault) {
  const TileUrlVariable unset(nullptr);
  const webmap::TileSource source = webmap::ChooseTileSource();
  EXPECT_EQ(source.urlTemplate, "https://tile.openstreetmap.org/{z}/{x}/{y}.png");
  EXPECT_TRUE(source.attribution.contains("OpenStreetMap contributors"));
  EXPECT_TRUE(source.attributionUrl.startsWith("https://www.openstreetmap.org/"));
  EXPECT_EQ(webmap::ChooseTileSource("   ").urlTemplate, source.urlTemplate);
}

TEST(ChooseTileSource, EnvironmentBeforeSettingBeforeDefault) {
  const QString setting = "https://setting.example/{z}/{x}/{y}.png";
  {
    const TileUrlVariable unset(nullptr);
    const webmap::TileSource fromSetting = webmap::ChooseTileSource(setting);
    EXPECT_EQ(fromSetting.urlTemplate, setting);
    EXPECT_EQ(fromSetting.attribution, "Tiles: setting.example");
  }
  {
    const TileUrlVariable env("http://env.example/{z}/{x}/{y}.png");
    EXPECT_EQ(webmap::ChooseTileSource(setting).urlTemplate, "http://env.example/{z}/{x}/{y}.png");
  }
  {
    // An unusable override is not obeyed and not fatal, and never turns into another server.
    const TileUrlVariable env("file:///etc/{z}/{x}/{y}");
    EXPECT_FALSE(webmap::ChooseTileSource(setting).hasTiles());
    EXPECT_EQ(webmap::TileSourceName(webmap::ChooseTileSource(setting)), "none");
  }
  {
    const TileUrlVariable unset(nullptr);
    EXPECT_FALSE(webmap::ChooseTileSource("not a template").hasTiles());
    EXPECT_EQ(webmap::TileSourceName(webmap::ChooseTileSource()), webmap::OpenStreetMapTiles().urlTemplate);
  }
}

TEST(ChooseTileSource, NoneMeansThePlainBackgroundOnly) {
  {
    const TileUrlVariable env("none");
    EXPECT_FALSE(webmap::ChooseTileSource("https://setting.example/{z}/{x}/{y}.png").hasTiles());
  }
  const TileUrlVariable unset(nullptr);
  EXPECT_FALSE(webmap::ChooseTileSource(" NONE ").hasTiles());
}

TEST(MapNavigation, PagesFromTheResourcesLinksOutsideNothingElse) {
  using webmap::Navigation;
  EXPECT_EQ(webmap::JudgeNavigation(QUrl("qrc:/map2.html"), false, true), Navigation::Load);
  EXPECT_EQ(webmap::JudgeNavigation(QUrl("about:blank"), false, true), Navigation::Load);
  // The attribution link opens in the desktop's browser; the map stays.
  EXPECT_EQ(webmap::JudgeNavigation(QUrl("https://www.openstreetmap.org/copyright"), true, true),
            Navigation::OpenOutside);
  EXPECT_EQ(webmap::JudgeNavigation(QUrl("javascript:alert(1)"), true, true), Navigation::Refuse);
  EXPECT_EQ(webmap::JudgeNavigation(QUrl("file:///etc/passwd"), true, true), Navigation::Refuse);
  EXPECT_EQ(webmap::JudgeNavigation(QUrl("https://example.org/"), false, true), Navigation::Refuse);
  EXPECT_EQ(webmap::JudgeNavigation(QUrl("file:///tmp/x.html"), false, true), Navigation::Refuse);
  EXPECT_EQ(webmap::JudgeNavigation(QUrl("qrc:/frame.html"), false, false), Navigation::Refuse);
}

TEST(MapUserAgent, NamesTheProgramAsOneProductToken) {
  EXPECT_EQ(webmap::MapUserAgent(), "webmap-tests/1.0 (dash-cam companion; QtWebEngine)");
  const QString old = QCoreApplication::applicationName();
  QCoreApplication::setApplicationName("Kel2CH Manager");
  EXPECT_TRUE(webmap::MapUserAgent().startsWith("Kel2CH-Manager/1.0 "));
  QCoreApplication::setApplicationName(old);
}

TEST(RequestFence, OwnResourcesAndTheTileServerOnly) {
  const webmap::TileSource osm{"https://{s}.tile.example.org/{z}/{x}/{y}.png", {}, {}, 19};
  const webmap::TileSource local{"http://127.0.0.1:8123/{z}/{x}/{y}.png", {}, {}, 19};
  const webmap::TileSource none{};
  const struct {
    const char* url;
    const webmap::TileSource* tiles;
    bool allowed;
  } cases[] = {
      {"qrc:/webmap/page_base.js", &none, true},
      {"data:image/png;base64,AAAA", &none, true},
      {"about:blank", &none, true},
      {"https://a.tile.example.org/1/2/3.png", &osm, true},
      {"https://B.Tile.Example.org/1/2/3.png", &osm, true},
      {"https://tile.example.org/1/2/3.png", &osm, false},
      {"https://a.b.tile.example.org/1/2/3.png", &osm, false},
      {"http://a.tile.example.org/1/2/3.png", &osm, false},
      {"https://a.tile.example.org:8443/1/2/3.png", &osm, false},
      {"https://a.tile.example.org.evil.example/1/2/3.png", &osm, false},
      {"https://evil.example/?a.tile.example.org", &osm, false},
      {"http://127.0.0.1:8123/12/1/2.png", &local, true},
      {"http://127.0.0.1:8124/12/1/2.png", &local, false},
      {"http://127.0.0.1/12/1/2.png", &local, false},
      {"https://127.0.0.1:8123/12/1/2.png", &local, false},
      {"file:///etc/passwd", &local, false},
      {"ws://127.0.0.1:8123/", &local, false},
      {"https://tile.openstreetmap.org/1/2/3.png", &none, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(webmap::MayRequest(QUrl(c.url), *c.tiles), c.allowed) << c.url;
  }
  const QString policy = webmap::ContentSecurityPolicy(osm);
  EXPECT_TRUE(policy.contains("img-src 'self' qrc: data: blob: https://*.tile.example.org;")) << qPrintable(policy);
  EXPECT_TRUE(policy.contains("default-src 'none'"));
  EXPECT_FALSE(webmap::ContentSecurityPolicy(none).contains("http")) << "no server at all without tiles";
}

}  // namespace
