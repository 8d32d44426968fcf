// The panel's texts: time, file name, and what a GPS sample does to the status and value labels.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "manager/display/rules/palette.h"
#include "manager/display/rules/panel_text.h"
#include "manager/language/lookup_text.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace display;
using recording::GpsFix;

constexpr std::int64_t kSecond = 10'000'000;

TEST(PanelText, TimeText) {
  EXPECT_EQ(TimeText(0, 0), "00:00:00 / 00:00:00");
  EXPECT_EQ(TimeText(65 * kSecond, 120 * kSecond), "00:01:05 / 00:02:00");
  EXPECT_EQ(TimeText(3725 * kSecond, 7200 * kSecond), "01:02:05 / 02:00:00");
  EXPECT_EQ(TimeText(kSecond - 1, 2 * kSecond - 1), "00:00:00 / 00:00:01");  // truncated, not rounded
  EXPECT_EQ(TimeText(100 * 3600 * kSecond, 0), "100:00:00 / 00:00:00");
}

TEST(PanelText, FileNameLabelHasTheNameIndentedOnItsOwnLine) {
  EXPECT_EQ(FileNameLabelText("drf_20100315_142530.mp4"), "File : \r\n      drf_20100315_142530.mp4");
  EXPECT_EQ(FileNameLabelText(""), "File : \r\n      ");
}

TEST(GpsPanel, AFixFillsTheLabelsTurnsTheStatusRedAndMovesTheMap) {
  GpsPanelFlags flags;
  const auto change = GpsPanelChangeFor(GpsFix{37.566535, 126.977969, 10.0}, flags);
  EXPECT_EQ(change.statusText, std::optional<std::string>("GPS >>"));
  EXPECT_EQ(change.statusColour, std::optional<std::uint32_t>(palette::kFixRed));
  ASSERT_TRUE(change.mapPosition);
  EXPECT_EQ((*change.mapPosition)[0], 37.566535);
  EXPECT_EQ((*change.mapPosition)[1], 126.977969);
  ASSERT_TRUE(change.labels);
  EXPECT_EQ(change.labels->latitude, "Latitude : 37.5665");
  EXPECT_EQ(change.labels->longitude, "Longitude : 126.9780");
  EXPECT_EQ(change.labels->kmPerHour, "km/h : 18.5");
  EXPECT_EQ(change.labels->milesPerHour, "m/h : 11.5");
  EXPECT_TRUE(flags.gpsShown);
  EXPECT_TRUE(flags.fixColour);

  // The next fix changes only the values: status text and colour are already right.
  const auto next = GpsPanelChangeFor(GpsFix{-33.5, -70.25, 0.0}, flags);
  EXPECT_FALSE(next.statusText);
  EXPECT_FALSE(next.statusColour);
  EXPECT_EQ(next.labels->latitude, "Latitude : -33.5000");
}

TEST(GpsPanel, NoFixKeepsTheValuesAndTurnsTheStatusWhite) {
  GpsPanelFlags flags;
  const GpsFix noFix{recording::kNoFixMarker, recording::kNoFixMarker, 0.0};
  auto change = GpsPanelChangeFor(noFix, flags);
  EXPECT_FALSE(change.labels);
  EXPECT_FALSE(change.mapPosition);   // the marker stays where it was
  EXPECT_FALSE(change.statusColour);  // it was never red
  EXPECT_EQ(change.statusText, std::optional<std::string>("GPS >>"));

  GpsPanelChangeFor(GpsFix{37.5, 127.0, 1.0}, flags);
  change = GpsPanelChangeFor(noFix, flags);
  EXPECT_EQ(change.statusColour, std::optional<std::uint32_t>(palette::kWhite));
  EXPECT_FALSE(flags.fixColour);
  EXPECT_FALSE(change.statusText);
}

TEST(GpsPanel, AZeroCoordinateIsNoPosition) {
  GpsPanelFlags flags;
  GpsPanelChangeFor(GpsFix{37.5, 127.0, 1.0}, flags);
  for (const GpsFix& fix : {GpsFix{0.0, 127.0, 5.0}, GpsFix{37.5, 0.0, 5.0}}) {
    const auto change = GpsPanelChangeFor(fix, flags);
    ASSERT_TRUE(change.mapPosition);
    EXPECT_EQ(*change.mapPosition, (std::array<double, 2>{1.0, 1.0}));
    EXPECT_EQ(change.labels, BareGpsLabels());
    EXPECT_FALSE(flags.gpsShown);
    EXPECT_FALSE(change.statusColour);  // the colour flag survives: the next fix is not re-coloured
  }
  EXPECT_EQ(BareGpsLabels().kmPerHour, "km/h : ");
  // Only the first of the two emptied the status text.
  GpsPanelFlags fresh;
  EXPECT_FALSE(GpsPanelChangeFor(GpsFix{}, fresh).statusText);
}

TEST(GpsPanel, TranslatedCaptionsAreTextEvenWithPercentSigns) {
  testing_support::TempDir dir;
  const auto file = dir / "lang.ini";
  std::ofstream(file) << "[English]\nLATITUDE=Lat %s %n\nK_M=km/h\n";
  language::SetCurrentLanguageTable(language::LanguageTable("English", file));
  const GpsLabels labels = GpsLabelsFor(GpsFix{1.5, 2.5, 0.0});
  language::SetCurrentLanguageTable(language::LanguageTable());
  EXPECT_EQ(labels.latitude, "Lat %s %n : 1.5000");
  EXPECT_EQ(labels.kmPerHour, "km/h : 0.0");
}

// After Stop or a folder load the next recording's first fix must show "GPS >>" again.
TEST(GpsPanel, ClearingThePanelLetsTheNextFixShowTheStatusAgain) {
  GpsPanelFlags flags;
  GpsPanelChangeFor(GpsFix{37.5, 127.0, 1.0}, flags);
  const auto cleared = ClearedGpsPanel(flags);
  EXPECT_EQ(cleared.statusText, std::optional<std::string>(""));
  EXPECT_EQ(cleared.labels, BareGpsLabels());
  EXPECT_FALSE(cleared.mapPosition);
  const auto next = GpsPanelChangeFor(GpsFix{37.6, 127.1, 1.0}, flags);
  EXPECT_EQ(next.statusText, std::optional<std::string>("GPS >>"));
}

}  // namespace
