#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "common/byte_order.h"
#include "common/escaped_text.h"
#include "common/hhmmss.h"
#include "common/nmea_sentence.h"
#include "common/path_text.h"
#include "common/trim.h"

namespace {

using namespace std::string_view_literals;

TEST(PathText, NameAndFolderSplitAtEitherSeparator) {
  EXPECT_EQ(common::FileNameOf("/media/card/EVENT/drf_20100315_142530.mp4"), "drf_20100315_142530.mp4");
  EXPECT_EQ(common::FolderOf("/media/card/EVENT/drf_20100315_142530.mp4"), "/media/card/EVENT/");
  EXPECT_EQ(common::FileNameOf("E:\\DCIM\\drf_20100315_142530.mp4"), "drf_20100315_142530.mp4");
  EXPECT_EQ(common::FolderOf("E:\\DCIM/x\\y.mp4"), "E:\\DCIM/x\\");
  EXPECT_EQ(common::FileNameOf("plain.mp4"), "plain.mp4");
  EXPECT_EQ(common::FolderOf("plain.mp4"), "");
  EXPECT_EQ(common::FileNameOf("/media/card/"), "");
}

TEST(PathText, FoldersEndWithOneSeparatorAndEmptyMeansNoFolder) {
  EXPECT_EQ(common::WithTrailingSeparator("/media/card"), "/media/card/");
  EXPECT_EQ(common::WithTrailingSeparator("/media/card/"), "/media/card/");
  EXPECT_EQ(common::WithTrailingSeparator("/"), "/");
  EXPECT_EQ(common::WithTrailingSeparator("E:\\"), "E:\\");
  EXPECT_EQ(common::WithTrailingSeparator("D:\\cards\\cam1"), "D:\\cards\\cam1\\");
  // Backslashes in a native name are no Windows path: the file system wants '/'.
  EXPECT_EQ(common::WithTrailingSeparator("cards\\cam1"), "cards\\cam1/");
  EXPECT_EQ(common::WithTrailingSeparator(""), "");

  EXPECT_EQ(common::JoinPath("/media/card", "drf.mp4"), "/media/card/drf.mp4");
  EXPECT_EQ(common::JoinPath("/media/card/", "drf.mp4"), "/media/card/drf.mp4");
  EXPECT_EQ(common::JoinPath("E:\\", "SETUP"), "E:\\SETUP");
  EXPECT_EQ(common::JoinPath("", "drf.mp4"), "drf.mp4");
}

TEST(Trim, AsciiBlanksOrTheCallersOwn) {
  EXPECT_EQ(common::Trim(" \t\r\n\v\fkey = value \r\n"sv), "key = value");
  EXPECT_EQ(common::Trim("   "sv), "");
  EXPECT_EQ(common::Trim(""sv), "");
  EXPECT_EQ(common::TrimStart("  x  "sv), "x  ");
  EXPECT_EQ(common::TrimEnd("  x  "sv), "  x");
  EXPECT_EQ(common::Trim(u" \u00A0x\u00A0 "sv), u"\u00A0x\u00A0") << "only ASCII blanks";
  const auto isCtrlZ = [](char16_t c) { return c == 0x1A || c == u' '; };
  EXPECT_EQ(common::Trim(u"\x1A value \x1A"sv, isCtrlZ), u"value");
}

TEST(Hhmmss, SecondsSinceMidnight) {
  EXPECT_EQ(common::HhmmssSeconds(0), 0);
  EXPECT_EQ(common::HhmmssSeconds(142530), 14 * 3600 + 25 * 60 + 30);
  EXPECT_EQ(common::HhmmssSeconds(51200), 5 * 3600 + 12 * 60);
  EXPECT_EQ(common::HhmmssSeconds(235959), 86399);
}

TEST(ByteOrder, ReadsAndWritesBothOrders) {
  const std::uint8_t bytes[] = {0x12, 0x34, 0x56, 0x78, 0x00, 0x00, 0x80, 0x3F};
  EXPECT_EQ(common::ReadBigEndian32(bytes), 0x12345678u);
  EXPECT_EQ(common::ReadLittleEndian32(bytes), 0x78563412u);
  EXPECT_EQ(common::ReadLittleEndianFloat(bytes + 4), 1.0f);

  std::string out;
  common::AppendBigEndian32(out, 0x12345678u);
  common::AppendLittleEndian32(out, 0xFFFFFFFEu);
  EXPECT_EQ(out, "\x12\x34\x56\x78\xFE\xFF\xFF\xFF"sv);
  common::PutLittleEndian32(out, 2, 0x0A0B0C0Du);
  EXPECT_EQ(out, "\x12\x34\x0D\x0C\x0B\x0A\xFF\xFF"sv);
}

TEST(NmeaSentence, ChecksumAndCoordinates) {
  // The checksum of a sentence as a receiver wrote it.
  EXPECT_EQ(common::NmeaSentence("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W"),
            "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A");
  EXPECT_EQ(common::NmeaSentence(""), "$*00");
  EXPECT_EQ(common::NmeaCoordinate(37.5333, 2), "3731.9980");
  EXPECT_EQ(common::NmeaCoordinate(-127.0353, 3), "12702.1180");
  EXPECT_EQ(common::NmeaCoordinate(5.999999999, 2), "0600.0000") << "59.99995' carries into a degree";
  EXPECT_EQ(common::NmeaCoordinate(0.0, 3), "00000.0000");
}

TEST(EscapedForListing, ARowStaysOneRowAndReadsBackToTheSameBytes) {
  const struct {
    std::string_view text, escaped;
  } cases[] = {
      {"/card/EVENT/drf_20240101_000000.mp4", "/card/EVENT/drf_20240101_000000.mp4"},
      {"a\tb\nc\rd", "a\\tb\\nc\\rd"},
      {"back\\slash", "back\\\\slash"},
      {"esc\x1b[2J del\x7f nul"sv, "esc\\x1B[2J del\\x7F nul"},
      {std::string_view("nul\0end", 7), "nul\\x00end"},
      {"stray \xff byte, cut \xc3", "stray \\xFF byte, cut \\xC3"},
      {"overlong \xc0\xaf, surrogate \xed\xa0\x80", "overlong \\xC0\\xAF, surrogate \\xED\\xA0\\x80"},
      {"C1 \xc2\x9b control", "C1 \\xC2\\x9B control"},
      {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x9a\x97 <a href='x'>",
       "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x9a\x97 <a href='x'>"},
  };
  for (const auto& c : cases) {
    const std::string escaped = common::EscapedForListing(c.text);
    EXPECT_EQ(escaped, c.escaped) << c.text;
    EXPECT_EQ(escaped.find_first_of("\t\n\r"), std::string::npos);
  }
}

TEST(NmeaSentence, ChecksumIsCheckedOverEveryLengthOfBody) {
  using common::NmeaChecksum;
  const std::string body = "GNRMC,123519.00,A,4807.03800,N,01131.00000,E,0.0,,230394,,,A";
  for (std::size_t length = 0; length <= body.size(); ++length) {
    SCOPED_TRACE(length);
    std::string sentence = common::NmeaSentence(body.substr(0, length));
    EXPECT_EQ(common::CheckNmeaChecksum(sentence), NmeaChecksum::kGood);
    EXPECT_EQ(common::CheckNmeaChecksum(sentence + "\r\n"), NmeaChecksum::kGood);
    if (length > 0) {
      std::string flipped = sentence;
      flipped[length] ^= 0x01;  // the body's last character
      EXPECT_EQ(common::CheckNmeaChecksum(flipped), NmeaChecksum::kBad);
    }
    sentence[sentence.size() - 1] = 'x';
    EXPECT_EQ(common::CheckNmeaChecksum(sentence), NmeaChecksum::kBad);
    EXPECT_EQ(common::CheckNmeaChecksum(sentence.substr(0, sentence.size() - 1)), NmeaChecksum::kAbsent);
  }
  EXPECT_EQ(common::CheckNmeaChecksum("$GPRMC,123519,A"), NmeaChecksum::kAbsent);
  EXPECT_EQ(common::CheckNmeaChecksum("$GPRMC,123519,A*3a"), common::CheckNmeaChecksum("$GPRMC,123519,A*3A"));
}

}  // namespace

TEST(XmlEscaped, MarkupBecomesEntitiesAndControlsThatXmlCannotHoldGo) {
  const struct {
    std::string_view text, escaped;
  } cases[] = {
      {"Drive <a href=\"x\">&amp;</a>", "Drive &lt;a href=&quot;x&quot;&gt;&amp;amp;&lt;/a&gt;"},
      {"tab\there\nline\rreturn", "tab\there\nline\rreturn"},
      {std::string_view("bell\x07 nul\0 esc\x1b", 15), "bell nul esc"},
      {"\xec\x84\x9c\xec\x9a\xb8 caf\xc3\xa9", "\xec\x84\x9c\xec\x9a\xb8 caf\xc3\xa9"},
  };
  for (const auto& c : cases) EXPECT_EQ(common::XmlEscaped(c.text), c.escaped) << c.text;
}
