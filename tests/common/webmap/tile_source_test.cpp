// Which tiles a page gets: OpenStreetMap unless the environment or the program's setting
// says otherwise, and never an address a page should not load tiles from. Also where a map
// page may navigate, and the name it gives tile servers.
#include <QCoreApplication>
#include <gtest/gtest.h>

#include <optional>

#include "common/webmap/map_page.h"
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
  for (const char* bad : {"", "https://tile.example/{z}/{x}.png", "ftp://tile.example/{z}/{x}/{y}.png",
                          "file:///tiles/{z}/{x}/{y}.png", "javascript:alert('{z}{x}{y}')", "http:///{z}/{x}/{y}.png",
                          "tile.example/{z}/{x}/{y}.png", "none"}) {
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
    // An unusable override is passed over, not obeyed and not fatal.
    const TileUrlVariable env("file:///etc/{z}/{x}/{y}");
    EXPECT_EQ(webmap::ChooseTileSource(setting).urlTemplate, setting);
    EXPECT_EQ(webmap::ChooseTileSource("not a template").urlTemplate, webmap::OpenStreetMapTiles().urlTemplate);
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

}  // namespace
