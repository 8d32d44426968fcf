#include "tracker/log/gprmc_record.h"

#include <gtest/gtest.h>

#include <string>

#include "tracker/log/field_text.h"

namespace {

using tracker::FieldText;
using tracker::TrackPoint;

std::optional<TrackPoint> Parse(const std::string& sentence) {
  std::string record = sentence.substr(0, tracker::kGpsRecordSize);
  record.resize(tracker::kGpsRecordSize, '\0');
  return tracker::ParseGprmcRecord(std::span<const char, 64>(record.data(), 64));
}

TEST(GprmcRecord, ReadsTheTextbookSentence) {
  const auto point = Parse("$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W");
  ASSERT_TRUE(point);
  EXPECT_EQ(FieldText(point->latitude), "48.11730");
  EXPECT_EQ(FieldText(point->longitude), "11.516667");
  EXPECT_EQ(FieldText(point->date), "19940323");
  EXPECT_EQ(point->date_number, 19940323);
  EXPECT_EQ(FieldText(point->time), "123519");
  EXPECT_EQ(point->time_number, 123519);
  EXPECT_EQ(FieldText(point->speed), "022.4");
}

TEST(GprmcRecord, CenturyComesFromTheTensDigitOfTheYear) {
  const std::string head = "$GPRMC,000000,A,0100.000,N,00100.000,E,0.0,0.0,";
  EXPECT_EQ(Parse(head + "010105,,")->date_number, 19050101);
  EXPECT_EQ(Parse(head + "010113,,")->date_number, 20130101);
  EXPECT_EQ(Parse(head + "311249,,")->date_number, 20491231);
  EXPECT_EQ(Parse(head + "010150,,")->date_number, 19500101);
  EXPECT_FALSE(Parse(head + "0101AB,,"));
  EXPECT_FALSE(Parse(head + "01011"));  // cut inside the date
}

TEST(GprmcRecord, SouthAndWestAreNegativeAndCutToTheField) {
  const auto point = Parse("$GPRMC,010203,A,3707.4074,S,12218.4000,W,000.0,,010113,,");
  ASSERT_TRUE(point);
  EXPECT_EQ(FieldText(point->latitude), "-37.1234");
  EXPECT_EQ(FieldText(point->longitude), "-122.3066");
}

TEST(GprmcRecord, DropsWhatIsNotAValidFix) {
  EXPECT_FALSE(Parse("$GPRMC,123519,V,4807.038,N,01131.000,E,022.4,084.4,230394,,"));
  EXPECT_FALSE(Parse("$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"));
  EXPECT_FALSE(Parse(""));
  EXPECT_FALSE(Parse("$GPRMC,123519,A,4807.038,N"));  // no date at all
  // The second comma lies past the record's 64 characters.
  EXPECT_FALSE(Parse("$GPRMC," + std::string(60, '1') + ",A,4807.038,N,01131.000,E,1,2,230394"));
}

TEST(GprmcRecord, ReadsARecordThatFillsAllSixtyFourBytes) {
  const std::string sentence = "$GPRMC,123519.000,A,4807.0380,N,01131.0000,E,022.4,84.4,230394,,";
  ASSERT_GE(sentence.size(), 64u);
  const auto point = Parse(sentence);
  ASSERT_TRUE(point);
  EXPECT_EQ(FieldText(point->time), "123519");
  EXPECT_EQ(point->date_number, 19940323);
}

TEST(GprmcRecord, CoordinateWithoutFractionUsesTheWholeField) {
  const auto point = Parse("$GPRMC,123519,A,4807,N,01131,E,5,,230394,,");
  ASSERT_TRUE(point);
  EXPECT_EQ(FieldText(point->latitude), "48.11666");
  EXPECT_EQ(FieldText(point->longitude), "11.516667");
}

}  // namespace
