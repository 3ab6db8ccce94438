// SPDX-License-Identifier: MIT
// Recognising UTF-8 and converting it to and from UTF-16.
#include "text/Utf8.h"

#include <random>

#include "TestSupport.h"

TEST(IsUtf8, AcceptsOnlyWellFormedText) {
  struct TCase {
    std::string Bytes;
    bool Valid;
  };
  const TCase cases[] = {
      {"", true},
      {"plain ASCII\t\r\n", true},
      {"th\xC3\xA9 \xD1\x87\xD0\xB0\xD0\xB9 \xE2\x82\xAC \xF0\x9F\x98\x80", true},
      {"\xEF\xBB\xBF", true},      // the byte-order mark is a character
      {"\xF4\x8F\xBF\xBF", true},  // U+10FFFF, the last code point
      {"\xE9", false},             // Latin-1
      {"\x80", false},             // a lone continuation byte
      {"\xC0\x80", false},         // overlong forms
      {"\xC1\xBF", false},
      {"\xE0\x9F\xBF", false},
      {"\xF0\x8F\xBF\xBF", false},
      {"\xED\xA0\x80", false},      // a surrogate
      {"\xF4\x90\x80\x80", false},  // above U+10FFFF
      {"\xF5\x80\x80\x80", false},
      {"\xFE\xFF", false},
      {"\xC3", false},  // cut short
      {"\xE2\x82", false},
      {"\xE2\x82x", false},
  };
  for (const TCase& c : cases) EXPECT_EQ(IsUtf8(c.Bytes), c.Valid) << Hex(c.Bytes);
  // A sequence cut by the end of a sample counts when asked, but only at the very end.
  EXPECT_TRUE(IsUtf8("a\xF0\x9F\x98", true));
  EXPECT_FALSE(IsUtf8("a\xF0\x9F\x98", false));
  EXPECT_FALSE(
      IsUtf8("a\xF0\x9F"
             "b",
             true));
  EXPECT_FALSE(IsUtf8("a\xF0\x8F", true));  // already ill-formed before the end
}

// Each ill-formed part becomes one U+FFFD: the longest prefix that could still have become a
// character, or a single byte.
TEST(Utf8ToWide, ReplacesIllFormedParts) {
  EXPECT_EQ(Utf8ToWide("th\xC3\xA9 \xF0\x9F\x98\x80"), u"th\u00E9 \U0001F600");
  EXPECT_EQ(Utf8ToWide("a\xF0\x9F\x98"
                       "b"),
            u"a\uFFFDb");
  EXPECT_EQ(Utf8ToWide("\xE0\x80\x80"), u"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToWide("\xED\xA0\x80x"), u"\uFFFD\uFFFD\uFFFDx");
  EXPECT_EQ(Utf8ToWide("\xFF\xC3"), u"\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToWide(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(WideToUtf8, WritesEveryLengthAndReplacesLoneSurrogates) {
  EXPECT_EQ(WideToUtf8(u"A\u00E9\u0416\u20AC\U0001F600"),
            "A\xC3\xA9\xD0\x96\xE2\x82\xAC\xF0\x9F\x98\x80");
  EXPECT_EQ(WideToUtf8(u"\xD800x\xDC00"), "\xEF\xBF\xBDx\xEF\xBF\xBD");
  EXPECT_EQ(WideToUtf8(u"\xD83D"), "\xEF\xBF\xBD");
}

// Any well-formed UTF-16 survives the way through UTF-8, which is then valid.
TEST(Utf8, RandomRoundTrips) {
  std::mt19937 random(5);
  for (int round = 0; round < 2000; ++round) {
    std::u16string text;
    const int length = static_cast<int>(random() % 12);
    for (int i = 0; i < length; ++i) {
      // A quarter beyond the BMP; the rest anywhere in the BMP but the surrogates.
      char32_t code = random() % 4 == 0 ? 0x10000 + random() % 0x100000 : random() % 0xF800;
      if (code >= 0xD800 && code < 0x10000) code += 0x800;
      if (code >= 0x10000) {
        text += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
        text += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
      } else {
        text += static_cast<char16_t>(code);
      }
    }
    const std::string bytes = WideToUtf8(text);
    ASSERT_TRUE(IsUtf8(bytes)) << Hex(bytes);
    ASSERT_EQ(Utf8ToWide(bytes), text) << Hex(bytes);
  }
}
