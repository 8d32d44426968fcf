#include "tracker/log/rmc_record.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/nmea_sentence.h"
#include "tracker/log/field_text.h"

namespace {

using tracker::FieldText;
using tracker::TrackPoint;

std::optional<TrackPoint> Parse(const std::string& sentence) {
  std::string record = sentence.substr(0, tracker::kGpsRecordSize);
  record.resize(tracker::kGpsRecordSize, '\0');
  TrackPoint point{};
  if (!tracker::ParseRmcRecord(std::span<const char, 64>(record.data(), 64), point)) return std::nullopt;
  return point;
}

// A sentence with its checksum, as receivers write it.
std::string Summed(const std::string& body) { return common::NmeaSentence(body); }

struct Expected {
  std::string latitude;
  std::string longitude;
  int date;
  int time;
  std::string speed = "022.4";
};

struct Case {
  std::string what;
  std::string sentence;
  std::optional<Expected> point;  // none: the record is dropped
};

const Expected kMunich{"48.11730", "11.516667", 19940323, 123519};

TEST(RmcRecord, ReadsSentencesIntoTheStoredPoint) {
  // Short enough that the checksum fits the record.
  const std::string munich = "RMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,,";
  const auto at = [](const std::string& date, const std::string& time = "123519") {
    return Summed("GPRMC," + time + ",A,4807.038,N,01131.000,E,022.4,," + date + ",,");
  };
  const auto place = [](const std::string& latitude, const std::string& longitude) {
    return Summed("GNRMC,123519,A," + latitude + "," + longitude + ",022.4,,230394,,");
  };
  std::string flipped = Summed("GP" + munich);
  flipped[17] = '9';                                    // 4807.038 -> 4907.038 under the old checksum
  std::string lower_case_sum = at("230394", "123514");  // *3A
  lower_case_sum.back() = 'a';
  const std::vector<Case> cases = {
      // Talkers: every constellation's RMC is the same fix; other sentences are not.
      {"no checksum", "$GP" + munich, kMunich},
      {"GPS", Summed("GP" + munich), kMunich},
      {"multi-constellation", Summed("GN" + munich), kMunich},
      {"Galileo", Summed("GA" + munich), kMunich},
      {"GLONASS", Summed("GL" + munich), kMunich},
      {"BeiDou GB", Summed("GB" + munich), kMunich},
      {"BeiDou BD", Summed("BD" + munich), kMunich},
      {"inertial", Summed("IN" + munich), kMunich},
      {"GGA", Summed("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"), std::nullopt},
      {"longer address", Summed("GPRMCX,123519,A,4807.038,N,01131.000,E,022.4,,230394,,"), std::nullopt},
      {"lower-case talker", Summed("gp" + munich), std::nullopt},
      // Checksums: a wrong one drops the sentence, either case of hex digit is read.
      {"flipped digit", flipped, std::nullopt},
      {"checksum not hex", "$GP" + munich + "*G1", std::nullopt},
      {"lower-case checksum", lower_case_sum, Expected{"48.11730", "11.516667", 19940323, 123514}},
      {"cut at the record's end", Summed("GPRMC,123519.000,A,4807.0380,N,01131.0000,E,022.4,84.4,230394,,,A"),
       Expected{"48.11730", "11.516667", 19940323, 123519}},
      // Hemispheres and precision: five decimals everywhere; values that had five keep their
      // old (cut) text, the others are rounded into the spare character.
      {"north-east", place("3707.4074,N", "12218.4000,E"), Expected{"37.12345", "122.30666", 19940323, 123519}},
      {"south-east", place("3707.4074,S", "12218.4000,E"), Expected{"-37.12346", "122.30666", 19940323, 123519}},
      {"north-west", place("3707.4074,N", "12218.4000,W"), Expected{"37.12345", "-122.30667", 19940323, 123519}},
      {"south-west", place("3707.4074,S", "12218.4000,W"), Expected{"-37.12346", "-122.30667", 19940323, 123519}},
      {"short south-west", place("0807.0380,S", "01131.0000,W"), Expected{"-8.11730", "-11.51666", 19940323, 123519}},
      {"rounding carries", place("3759.99976,S", "17959.99976,W"),
       Expected{"-38.00000", "-180.00000", 19940323, 123519}},
      // Calendars: only real moments (a leap second is one).
      {"leap day", at("290212"), Expected{"48.11730", "11.516667", 20120229, 123519}},
      {"leap day 2000", at("290200"), Expected{"48.11730", "11.516667", 20000229, 123519}},
      {"leap second", at("311216", "235960"), Expected{"48.11730", "11.516667", 20161231, 235960}},
      {"29 February of a common year", at("290213"), std::nullopt},
      {"31 April", at("310413"), std::nullopt},
      {"month 13", at("011313"), std::nullopt},
      {"month 0", at("010013"), std::nullopt},
      {"day 0", at("000113"), std::nullopt},
      {"hour 24", at("010113", "246161"), std::nullopt},
      {"minute 60", at("010113", "126000"), std::nullopt},
      {"second 61", at("010113", "125961"), std::nullopt},
      {"short time", at("010113", "12351"), std::nullopt},
      {"letters in the date", at("0101AB"), std::nullopt},
      // Centuries: 80-99 are the 1900s, 00-79 the 2000s.
      {"2005", at("010105"), Expected{"48.11730", "11.516667", 20050101, 123519}},
      {"2079", at("311279"), Expected{"48.11730", "11.516667", 20791231, 123519}},
      {"1980", at("010180"), Expected{"48.11730", "11.516667", 19800101, 123519}},
      {"1999", at("311299"), Expected{"48.11730", "11.516667", 19991231, 123519}},
      // Not a fix.
      {"status V", "$GPRMC,123519,V,4807.038,N,01131.000,E,022.4,084.4,230394,,", std::nullopt},
      {"empty", "", std::nullopt},
      {"no date", "$GPRMC,123519,A,4807.038,N", std::nullopt},
      {"cut inside the date", "$GPRMC,000000,A,0100.000,N,00100.000,E,0.0,0.0,01011", std::nullopt},
      {"status past the record", "$GPRMC," + std::string(60, '1') + ",A,4807.038,N,01131.000,E,1,2,230394",
       std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what + ": " + c.sentence);
    const std::optional<TrackPoint> point = Parse(c.sentence);
    ASSERT_EQ(point.has_value(), c.point.has_value());
    if (!point) continue;
    EXPECT_EQ(FieldText(point->latitude), c.point->latitude);
    EXPECT_EQ(FieldText(point->longitude), c.point->longitude);
    EXPECT_EQ(point->date_number, c.point->date);
    EXPECT_EQ(FieldText(point->date), std::to_string(c.point->date));
    EXPECT_EQ(point->time_number, c.point->time);
    EXPECT_EQ(FieldText(point->speed), c.point->speed);
  }
}

TEST(RmcRecord, CoordinateWithoutFractionUsesTheWholeField) {
  const auto point = Parse("$GPRMC,123519,A,4807,N,01131,E,5,,230394,,");
  ASSERT_TRUE(point);
  EXPECT_EQ(FieldText(point->latitude), "48.11666");
  EXPECT_EQ(FieldText(point->longitude), "11.516667");
}

}  // namespace
