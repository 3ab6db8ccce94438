// SPDX-License-Identifier: MIT
// Tests of delimited-text splitting, quoting and RTF escaping.
#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "text/TextUtils.h"

namespace {

// Runs the 8-bit and the UTF-16 splitter on the same ASCII input, so both forms are held to one
// expectation.
std::u16string Widen(const std::string& s) {
  return std::u16string(s.begin(), s.end());
}

std::vector<std::string> List(const std::string& text, const std::string& delims, bool trim,
                              bool skipEmpty, size_t capacity) {
  std::vector<std::string> parts(capacity);
  const int n = SplitList(text, delims, trim, parts, skipEmpty);
  parts.resize(n);

  std::vector<std::u16string> wide(capacity);
  const int w = SplitListWide(Widen(text), Widen(delims), trim, wide, skipEmpty);
  EXPECT_EQ(w, n) << text;
  for (int i = 0; i < std::min(n, w); ++i) EXPECT_EQ(wide[i], Widen(parts[i])) << text;
  return parts;
}

std::vector<std::string> Csv(const std::string& line, bool trim, bool skipEmpty,
                             size_t capacity = 64) {
  std::vector<std::string> parts(capacity);
  const int n = SplitCsv(line, trim, skipEmpty, parts);
  parts.resize(n);

  std::vector<std::u16string> wide(capacity);
  const int w = SplitCsvWide(Widen(line), trim, skipEmpty, wide);
  EXPECT_EQ(w, n) << line;
  for (int i = 0; i < std::min(n, w); ++i) EXPECT_EQ(wide[i], Widen(parts[i])) << line;
  return parts;
}

using Parts = std::vector<std::string>;

}  // namespace

TEST(SplitList, CutsAtEveryDelimiterAndAtTheEnd) {
  EXPECT_EQ(List("a,,b", ",", true, true, 16), (Parts{"a", "b"}));
  EXPECT_EQ(List("a,,b", ",", true, false, 16), (Parts{"a", "", "b"}));
  EXPECT_EQ(List("a,", ",", true, false, 16), (Parts{"a", ""}));
  EXPECT_EQ(List(",", ",", false, false, 16), (Parts{"", ""}));
  EXPECT_EQ(List("one; two ,three", ",;", true, true, 16), (Parts{"one", "two", "three"}));
  EXPECT_EQ(List(" a ; b", ";", false, true, 16), (Parts{" a ", " b"}));
  EXPECT_EQ(List("x\ty", "\t", true, false, 64), (Parts{"x", "y"}));
  EXPECT_EQ(List("", ",", true, false, 16), (Parts{}));
  EXPECT_EQ(List(" ", ",", true, true, 16), (Parts{}));
}

TEST(SplitList, TrimsBytesUpToBlankOnly) {
  // Control bytes go; 0xA0 and other high bytes are text, whatever the sign of char.
  EXPECT_EQ(List(" \x01\ta\xA0\x1F ,b", ",", true, false, 16), (Parts{"a\xA0", "b"}));
}

TEST(SplitList, StopsWhenTheArrayIsFull) {
  EXPECT_EQ(List("a,b,c,d", ",", true, false, 2), (Parts{"a", "b"}));
  // Skipped empty parts do not take room.
  EXPECT_EQ(List(",,a,,b,c", ",", true, true, 2), (Parts{"a", "b"}));
  EXPECT_EQ(List("a,b", ",", true, false, 0), (Parts{}));
  std::vector<std::string> sixteen(16);
  std::string many;
  for (int i = 0; i < 20; ++i) many += std::to_string(i) + ",";
  EXPECT_EQ(SplitList(many, ",", true, sixteen, true), 16);
  EXPECT_EQ(sixteen[15], "15");
}

TEST(SplitCsv, QuotesProtectCommasAndPairsBecomeOneQuote) {
  EXPECT_EQ(Csv("\"a,b\",z", true, false), (Parts{"a,b", "z"}));
  EXPECT_EQ(Csv("\"say \"\"hi\"\"\",x", true, false), (Parts{"say \"hi\"", "x"}));
  EXPECT_EQ(Csv(" \" padded \" , y ", true, false), (Parts{"padded", "y"}));
  EXPECT_EQ(Csv(" \" padded \" , y ", false, false), (Parts{" padded ", " y "}));
  EXPECT_EQ(Csv("a,,b,", true, false), (Parts{"a", "", "b", ""}));
  EXPECT_EQ(Csv("a,,b,", true, true), (Parts{"a", "b"}));
  EXPECT_EQ(Csv("\"\",x", true, true), (Parts{"x"}));
  EXPECT_EQ(Csv("", true, false), (Parts{}));
  // An unclosed quote runs to the end of the line.
  EXPECT_EQ(Csv("a,\"b,c", true, false), (Parts{"a", "\"b,c"}));
  EXPECT_EQ(Csv("1,2,3,4", true, false, 3), (Parts{"1", "2", "3"}));
}

TEST(Unquote, OnlyAFullyQuotedTextIsUnquoted) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"\"abc\"", "abc"}, {"  \"a\"\"b\"  ", "a\"b"}, {"\"\"", ""},       {"\"", "\""},
      {" \"x ", " \"x "}, {" plain ", " plain "},     {"\"\"\"\"", "\""}, {"a\"b\"", "a\"b\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Unquote(c.in), c.out) << c.in;
    EXPECT_EQ(UnquoteWide(Widen(c.in)), Widen(c.out)) << c.in;
  }
}

TEST(CsvQuote, QuotesOnlyWhenNeededAndSurvivesSplitting) {
  EXPECT_EQ(CsvQuote("ab"), "ab");
  EXPECT_EQ(CsvQuote("a\"b"), "\"a\"\"b\"");
  EXPECT_EQ(CsvQuote("a,b"), "\"a,b\"");
  EXPECT_EQ(CsvQuote(""), "");
  EXPECT_EQ(CsvQuoteWide(u"x\"y,"), u"\"x\"\"y,\"");
  const std::vector<std::string> fields = {"plain", "with, comma", "\"quoted\"", "a\"\"b", ","};
  std::string line;
  for (const std::string& f : fields) line += (line.empty() ? "" : ",") + CsvQuote(f);
  EXPECT_EQ(Csv(line, true, false), fields);
}

TEST(WideText, PosReplaceAndTrim) {
  EXPECT_EQ(WidePos(u"", u"abc"), 1);
  EXPECT_EQ(WidePos(u"", u""), 1);
  EXPECT_EQ(WidePos(u"c", u"abc"), 3);
  EXPECT_EQ(WidePos(u"bc", u"abcbc"), 2);
  EXPECT_EQ(WidePos(u"B", u"abc"), 0);
  EXPECT_EQ(WidePos(u"abcd", u"abc"), 0);

  EXPECT_EQ(WideReplaceAll(u"aaa", u"aa", u"b"), u"ba");
  EXPECT_EQ(WideReplaceAll(u"aa", u"a", u"aa"), u"aaaa");
  EXPECT_EQ(WideReplaceAll(u"xAx", u"a", u"b"), u"xAx");
  EXPECT_EQ(WideReplaceAll(u"abc", u"", u"z"), u"abc");

  EXPECT_EQ(WideTrim(u" \t\x01 a b\x20\n"), u"a b");
  EXPECT_EQ(WideTrim(u" \x1F "), u"");
  EXPECT_EQ(WideTrim(u"\u00A0!\u3000"), u"\u00A0!\u3000");
  EXPECT_EQ(Trim("\x20\x7F\x20"), "\x7F");
  EXPECT_EQ(Trim("  "), "");
}

TEST(WriteBytes, WritesTheBytesAsTheyAre) {
  std::ostringstream out;
  WriteBytes(std::string("a\0\xFF", 3), out);
  WriteBytes("", out);
  EXPECT_EQ(out.str(), std::string("a\0\xFF", 3));
}

TEST(RtfEscape, EscapesControlWordsAndHighBytes) {
  EXPECT_EQ(RtfEscape("{\xE9}"), "\\{\\'e9\\}");
  EXPECT_EQ(RtfEscape("a\\b"), "a\\\\b");
  EXPECT_EQ(RtfEscape("\x80\xFF\x7F"), "\\'80\\'ff\x7F");
  EXPECT_EQ(RtfEscape(""), "");
}

TEST(FormatPercent, RoundsHalvesUp) {
  const struct {
    int32_t part, whole;
    const char* text;
  } cases[] = {{1, 3, "33%"},
               {1, 2, "50%"},
               {2, 3, "67%"},
               {5, 0, "0%"},
               {1, 8, "13%"},
               {7, 200, "4%"},
               {3, 3, "100%"},
               {0, 7, "0%"},
               {199, 200, "100%"},
               {1, 201, "0%"},
               {2147483647, 2147483647, "100%"}};
  for (const auto& c : cases) {
    EXPECT_EQ(FormatPercent(c.part, c.whole), c.text) << c.part << "/" << c.whole;
  }
}

TEST(CapitaliseWords, CapitalisesAfterBlanksAndBackslashes) {
  EXPECT_EQ(CapitaliseWords("c:\\program files\\SOUNDS\\clap.WAV"),
            "C:\\Program Files\\Sounds\\Clap.wav");
  EXPECT_EQ(CapitaliseWords(""), "");
  EXPECT_EQ(CapitaliseWords(" x"), " X");
  // Bytes outside ASCII are left alone (a path need not be in any one code page).
  EXPECT_EQ(CapitaliseWords("\xC3\xA9t\xC3\xA9 \xC3\x89T\xC3\x89"),
            "\xC3\xA9t\xC3\xA9 \xC3\x89t\xC3\x89");
}
