#include "common/text_encoding.h"

#include <gtest/gtest.h>

namespace {

using namespace common;

TEST(TextEncoding, RoundTripsEveryPlane) {
  const std::string text = "E:\\카드\\drf_😀.mp4";
  const std::u16string units = Utf8ToUtf16(text);
  EXPECT_EQ(units.size(), 16u) << "the emoji takes two units";
  EXPECT_EQ(Utf16ToUtf8(units), text);
  EXPECT_EQ(LittleEndianBytesToUtf16(Utf16ToLittleEndianBytes(units)), units);
  EXPECT_EQ(Utf16ToLittleEndianBytes(u"E:"), std::string("E\0:\0", 4));
  EXPECT_EQ(Utf16Length(text), 16u);
}

TEST(TextEncoding, DamagedInputBecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\xff"
                        "b"),
            u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xe0\x80"), u"\uFFFD\uFFFD") << "a sequence cut short";
  EXPECT_EQ(Utf8ToUtf16("\xc0\xaf"), u"\uFFFD") << "an overlong form";
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xef\xbf\xbd") << "an unpaired surrogate";
  EXPECT_EQ(LittleEndianBytesToUtf16(std::string("a\0b", 3)), u"a") << "an odd byte is dropped";
}

TEST(TextEncoding, LastUnitsNeverSplitACharacter) {
  EXPECT_EQ(LastUtf16Units("abc", 5), "abc");
  EXPECT_EQ(LastUtf16Units("abc", 2), "bc");
  EXPECT_EQ(LastUtf16Units("x카드", 2), "카드");
  EXPECT_EQ(LastUtf16Units("x😀", 2), "😀");
  EXPECT_EQ(LastUtf16Units("x😀", 1), "") << "half a pair is not taken";
  EXPECT_EQ(LastUtf16Units("", 3), "");
}

}  // namespace
