#include "manager/recording/gps_decode.h"

#include <gtest/gtest.h>

#include <cstring>

#include "common/nmea_sentence.h"
#include "manager/recording/user_data_writer.h"

namespace {

using namespace recording;

GpsSample Sample(std::string_view text) {
  GpsSample sample;
  std::memcpy(sample.text.data(), text.data(), std::min(text.size(), sample.text.size()));
  return sample;
}

void ExpectFix(const GpsFix& fix, double lat, double lon, double speed) {
  EXPECT_EQ(fix.latitude, lat);
  EXPECT_EQ(fix.longitude, lon);
  EXPECT_EQ(fix.speed, speed);
}

TEST(DecodeGpsSample, ValidFixInSinglePrecision) {
  const GpsFix fix = DecodeGpsSample(Sample("$GPRMC,142530.000,A,3731.9980,N,12702.1234,E,10.50,90.0,150310,,"));
  EXPECT_EQ(fix.latitude, double(37.533302f));
  EXPECT_EQ(fix.longitude, double(127.035385f));
  EXPECT_EQ(fix.speed, 10.5);
  EXPECT_EQ(ClassifyFix(fix), FixKind::Ok);

  const GpsFix southWest = DecodeGpsSample(Sample("$GPRMC,142530.000,A,3731.9980,S,12702.1234,W,10.50,90.0,150310,,"));
  ExpectFix(southWest, -fix.latitude, -fix.longitude, 10.5);
}

TEST(DecodeGpsSample, NoFixMarkerAndNothing) {
  ExpectFix(DecodeGpsSample(Sample("$GPRMC,142530.000,V,3731.9980,N,12702.1234,E,10.50,,,")), -9, -9, 0);
  ExpectFix(DecodeGpsSample(Sample("$GPRMC,142530.000,,3731.9980,N,12702.1234,E,10.50,,,")), -9, -9, 0);
  ExpectFix(DecodeGpsSample(Sample("$GPVTG,90.0,T,,M,10.5,N,19.4,K")), -9, -9, 0);
  ExpectFix(DecodeGpsSample(Sample("$GPGGA,142530,3731.9980,N,12702.1234,E,1,08,0.9,")), 0, 0, 0);
  ExpectFix(DecodeGpsSample(Sample("")), 0, 0, 0);
  ExpectFix(DecodeGpsSample(Sample("GPRMC,142530,A,3731.9980,N,12702.1234,E,1.0,,")), 0, 0, 0);
  EXPECT_EQ(ClassifyFix(DecodeGpsSample(Sample(""))), FixKind::None);
  EXPECT_EQ(ClassifyFix(GpsFix{-9, -9, 0}), FixKind::NoFix);
}

TEST(DecodeGpsSample, LeadingZeroByteBeforeGIsReadAsDollar) {
  const std::string text = std::string(1, '\0') + "GPRMC,142530,A,3731.9980,N,12702.1234,E,1.0,,";
  EXPECT_EQ(DecodeGpsSample(Sample(text)).speed, 1.0);
}

TEST(DecodeGpsSample, ShortAndLongFields) {
  // A one-character number counts as empty.
  EXPECT_EQ(DecodeGpsSample(Sample("$GPRMC,142530,A,3,N,12702.1234,E,7,,")).latitude, 0);
  EXPECT_EQ(DecodeGpsSample(Sample("$GPRMC,142530,A,3,N,12702.1234,E,7,,")).speed, 0);
  // A latitude longer than its 10 characters is cut there; the next field still starts after
  // the comma that ends it.
  const GpsFix fix = DecodeGpsSample(Sample("$GPRMC,142530,A,3731.99801234,N,12702.1234,W,2.5,,"));
  EXPECT_EQ(fix.latitude, DecodeGpsSample(Sample("$GPRMC,142530,A,3731.99801,N,12702.1234,W,2.5,,")).latitude);
  EXPECT_NEAR(fix.latitude, 37.5333, 1e-4);
  EXPECT_LT(fix.longitude, 0);
  EXPECT_EQ(fix.speed, 2.5);
  // A 64-byte sentence without terminator is read within its 64 bytes.
  const std::string full = "$GPRMC,142530.000,A,3731.9980,N,12702.1234,E,10.50,123.45,150310,,,A*00";
  EXPECT_EQ(DecodeGpsSample(Sample(full)).speed, 10.5);
}

TEST(DecodeGpsSample, ReadsWhatTheWriterWrites) {
  const std::string sentence = FormatRmcSentence(1268663130, -33.8688, 151.2093, 42.25, 180.0);
  EXPECT_LE(sentence.size(), 64u);
  const GpsFix fix = DecodeGpsSample(Sample(sentence));
  EXPECT_NEAR(fix.latitude, -33.8688, 1e-4);
  EXPECT_NEAR(fix.longitude, 151.2093, 1e-4);
  EXPECT_EQ(fix.speed, 42.25);
  EXPECT_EQ(ClassifyFix(DecodeGpsSample(Sample(FormatRmcSentence(0, 1, 1, 0, 0, false)))), FixKind::NoFix);
}

TEST(DecodeGpsSample, DamagedNumbersGiveNoPosition) {
  // Fields a damaged record or a crafted file may hold: never a place on the map (and no
  // undefined conversion of 1e30 to an integer on the way).
  for (const char* sentence : {
           "$GPRMC,142530,A,1e30,N,12702.1234,E,10.5,,",  // far too large
           "$GPRMC,142530,A,3731.9980,N,-1e30,E,10.5,,",
           "$GPRMC,142530,A,nan,N,12702.1234,E,10.5,,",          // not a number
           "$GPRMC,142530,A,3731.9980,N,inf,E,10.5,,",           // infinite
           "$GPRMC,142530,A,3731.9980,N,12702.1234,E,nan,,",     // a speed that is no number
           "$GPRMC,142530,A,9100.0000,N,12702.1234,E,10.5,,",    // 91 degrees north
           "$GPRMC,142530,A,8961.0000,S,12702.1234,E,10.5,,",    // 89 degrees 61 minutes
           "$GPRMC,142530,A,3731.9980,N,18100.0000,W,10.5,,",    // 181 degrees west
           "$GPRMC,142530,A,12654.9260,E,17.36,240.4,130524,,",  // the fields shifted by one
       }) {
    SCOPED_TRACE(sentence);
    const GpsFix fix = DecodeGpsSample(Sample(sentence));
    ExpectFix(fix, 0, 0, 0);
    EXPECT_EQ(ClassifyFix(fix), FixKind::None);
  }
  // A checksum that disagrees with the sentence (one digit flipped on the way) leaves nothing;
  // any talker's RMC with a matching one, or none, is read.
  std::string flipped = common::NmeaSentence("GPRMC,142530,A,3731.9980,N,12702.1234,E,10.5,,150310,,");
  flipped[17] = '4';
  ExpectFix(DecodeGpsSample(Sample(flipped)), 0, 0, 0);
  const GpsFix multi =
      DecodeGpsSample(Sample(common::NmeaSentence("GNRMC,142530,A,3731.9980,N,12702.1234,E,10.5,,150310,,")));
  EXPECT_EQ(multi.latitude, double(37.533302f));
  EXPECT_EQ(multi.speed, 10.5);
  // The edges of the earth are still places.
  const GpsFix pole = DecodeGpsSample(Sample("$GPRMC,142530,A,9000.0000,S,18000.0000,W,0.5,,"));
  EXPECT_EQ(pole.latitude, -90.0);
  EXPECT_EQ(pole.longitude, -180.0);
  EXPECT_EQ(ClassifyFix(pole), FixKind::Ok);
}

}  // namespace
