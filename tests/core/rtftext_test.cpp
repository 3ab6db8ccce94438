// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "testing/Tips.h"
#include "text/RtfText.h"

namespace {
std::u16string Plain(const std::string& rtf) {
  return RtfPlainText(ReadRtfText(rtf));
}
}  // namespace

// The fixed frame contributes nothing but the closing paragraph break.
TEST(ReadRtfText, TheTipFrameShowsOnlyTheTip) {
  EXPECT_EQ(Plain(TipDocument("Press F12.")), u"Press F12.\n");
  EXPECT_EQ(Plain(TipDocument("")), u"\n");
  const auto runs = ReadRtfText(TipDocument("A {\\b bold} word"));
  const std::vector<TRtfRun> want = {{u"A ", false, false, false},
                                     {u"bold", true, false, false},
                                     {u" word\n", false, false, false}};
  EXPECT_EQ(runs, want);
}

TEST(ReadRtfText, FormattingFollowsGroupsAndSwitches) {
  const auto runs = ReadRtfText("\\b on\\b0  off \\i\\ul both\\ulnone  i\\plain  none {\\i x}y");
  const std::vector<TRtfRun> want = {
      {u"on", true, false, false}, {u" off ", false, false, false},  {u"both", false, true, true},
      {u" i", false, true, false}, {u" none ", false, false, false}, {u"x", false, true, false},
      {u"y", false, false, false}};
  EXPECT_EQ(runs, want);
}

TEST(ReadRtfText, EscapesBreaksAndCharacters) {
  const std::pair<std::string, std::u16string> cases[] = {
      {"a\\par b\\line c\\tab d", u"a\nb\nc\td"},
      {"\\\\ \\{ \\}", u"\\ { }"},
      {"caf\\'e9 \\'80", u"caf\u00E9 \u20AC"},   // Windows-1252
      {"na\\'EFve", u"na\u00EFve"},              // upper-case hex
      {"plain \xE9", u"plain \u00E9"},           // unescaped 8-bit byte
      {"\\u1046?x", u"\u0416x"},                 // fallback skipped
      {"\\uc2\\u-3913\\'3f\\'3fz", u"\uF0B7z"},  // negative: above 0x7FFF
      {"\\uc0\\u65 x", u"Ax"},
      {"a\\~b\\_c\\-d", u"a\u00A0b-cd"},
      {"line\r\nbreaks\nin source", u"linebreaksin source"},
      {"\\f1\\fs24\\cf2\\highlight3 sized", u"sized"},  // skipped words eat one blank
      {"\\fs-20x", u"x"},
      {"{\\*\\generator hidden}shown", u"shown"},
      {"{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1;}text", u"text"},
      {"{\\info{\\title t}}{\\pict 0123}body", u"body"},
      {"\\unknownword123 z", u"z"},
      {"x\\\ny", u"x\ny"},  // backslash + line end: a break
  };
  for (const auto& [rtf, want] : cases) EXPECT_EQ(Plain(rtf), want) << rtf;
}

// Malformed input is read as far as it makes sense and never fails.
TEST(ReadRtfText, MalformedInput) {
  const std::pair<std::string, std::u16string> cases[] = {
      {"", u""},
      {"\\", u""},
      {"\\'", u""},
      {"\\'4", u"4"},
      {"\\'zz", u"zz"},
      {"}}}a{{{b", u"ab"},
      {"{\\b x", u"x"},
      {"\\u", u""},
      {"\\u-", u""},
      {"\\u99999999999999999999 yz", u"z"},
      {"\\b99999999999999999999999 z", u"z"},
      {std::string(100000, '{') + "deep" + std::string(100000, '}') + "after", u"deepafter"},
      {std::string(1000, '\\'), u"\\\\\\\\\\\\\\\\\\\\"}};
  for (const auto& [rtf, want] : cases) {
    if (rtf.size() == 1000) {
      EXPECT_EQ(Plain(rtf), std::u16string(500, u'\\'));
    } else {
      EXPECT_EQ(Plain(rtf), want) << rtf.substr(0, 40);
    }
  }
  // Formatting inside groups deeper than the kept ones still ends with the kept group.
  const std::string deep = "{" + std::string(200, '{') + "\\b " + std::string(200, '}') + "}x";
  const auto runs = ReadRtfText(deep);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_FALSE(runs[0].Bold);
}

// Random bytes, and random mixes of the tokens the reader knows, never fail, and what comes out
// never holds more units than bytes went in.
TEST(ReadRtfText, RandomInputIsSafe) {
  std::mt19937 rng(20260612);
  const char* const tokens[] = {
      "{",   "}",     "\\",  "\\b",   "\\b0", "\\i",   "\\ul", "\\ulnone",  "\\par",   "\\tab",
      "\\'", "\\'e9", "\\u", "\\u-1", "\\uc", "\\uc3", "\\*",  "\\fonttbl", "\\plain", "a",
      " ",   "\r\n",  "9",   "-",     "\\\\", "\\{",   "\xFF", "\\~"};
  for (int round = 0; round < 3000; ++round) {
    std::string input;
    const int length = static_cast<int>(rng() % 200);
    for (int k = 0; k < length; ++k) {
      if (round % 2 == 0) {
        input.push_back(static_cast<char>(rng() & 0xFF));
      } else {
        input += tokens[rng() % std::size(tokens)];
      }
    }
    const auto runs = ReadRtfText(input);
    size_t units = 0;
    for (const TRtfRun& run : runs) {
      EXPECT_FALSE(run.Text.empty());
      units += run.Text.size();
    }
    EXPECT_LE(units, input.size());
    // The same bytes as a tip file: lines without line ends, each read as a tip.
    std::istringstream file(input);
    size_t lineBytes = 0;
    for (const std::string& line : ReadTipLines(file)) {
      EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
      lineBytes += line.size();
      const TTip tip = SplitTipLine(line);
      EXPECT_GE(tip.HelpContext, 0);
      ReadRtfText(TipDocument(tip.Text));
    }
    EXPECT_LE(lineBytes, input.size());
  }
}
