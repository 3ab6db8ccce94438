// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <limits>
#include <sstream>

#include "TempFiles.h"
#include "testing/Tips.h"
#include "text/RtfText.h"

namespace {
std::vector<std::string> Lines(const std::string& bytes) {
  std::istringstream in(bytes);
  return ReadTipLines(in);
}
}  // namespace

TEST(ReadTipLines, EveryLineEndCountsOnce) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Lines(""), V{});
  EXPECT_EQ(Lines("one"), V{"one"});
  EXPECT_EQ(Lines("one\r\ntwo\rthree\nfour"), (V{"one", "two", "three", "four"}));
  EXPECT_EQ(Lines("a\r\n"), V{"a"});
  EXPECT_EQ(Lines("a\n\nb\n"), (V{"a", "", "b"}));
  EXPECT_EQ(Lines("a\n\r"), (V{"a", ""}));  // LF then CR: two ends
  EXPECT_EQ(Lines("\r\n"), V{""});
}

TEST(ReadTipLines, ReadsAtMostTheBound) {
  std::string big(kMaxTipFileSize + 100, 'x');
  big[10] = '\n';
  const auto lines = Lines(big);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size() + 1 + lines[1].size(), kMaxTipFileSize);
}

TEST(ReadTipFile, MissingFileGivesNoLines) {
  EXPECT_TRUE(ReadTipFile("/nonexistent/folder/dadezivu.tip").empty());
  TTempDir dir;
  const std::string path = dir.Write("x.tip", "2010\tFirst\r\nSecond");
  EXPECT_EQ(ReadTipFile(path), (std::vector<std::string>{"2010\tFirst", "Second"}));
}

TEST(SplitTipLine, HelpContextBeforeTheFirstTab) {
  struct TCase {
    const char* Line;
    int32_t Context;
    const char* Text;
  };
  const TCase cases[] = {
      {"2010\tSee {\\b this}", 2010, "See {\\b this}"},
      {"\tNo context", 0, "No context"},
      {"No tab at all", 0, "No tab at all"},
      {"12a\tx", 0, "x"},
      {" 12\tx", 0, "x"},
      {"-5\tx", 0, "x"},
      {"99999999999\tx", 0, "x"},
      {"2147483647\tx\ty", 2147483647, "x\ty"},
      {"7\t", 7, ""},
      {"", 0, ""},
  };
  for (const TCase& c : cases) {
    const TTip tip = SplitTipLine(c.Line);
    EXPECT_EQ(tip.HelpContext, c.Context) << c.Line;
    EXPECT_EQ(tip.Text, c.Text) << c.Line;
  }
}

// Three tips cycle 1, 2, 3, 1 however the index was left, by this run or a stored setting.
TEST(TakeNextTip, CyclesAndRecoversFromBadIndexes) {
  int32_t next = 0;
  std::vector<size_t> shown;
  for (int k = 0; k < 5; ++k) shown.push_back(TakeNextTip(next, 3));
  EXPECT_EQ(shown, (std::vector<size_t>{0, 1, 2, 0, 1}));
  EXPECT_EQ(next, 2);
  for (const int32_t stored :
       {3, 100, -1, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()}) {
    next = stored;
    EXPECT_EQ(TakeNextTip(next, 3), 0u) << stored;
    EXPECT_EQ(next, 1);
  }
}

// The tip file shipped with the program: enough tips, each readable, with real help topics.
TEST(TipFile, ShippedTipsAreWellFormed) {
  const auto lines = ReadTipFile(DADEZIVU_SOURCE_DIR "/resources/dadezivu.tip");
  EXPECT_GE(lines.size(), 25u);
  for (const std::string& line : lines) {
    const TTip tip = SplitTipLine(line);
    EXPECT_GT(tip.HelpContext, 0) << line;
    const std::u16string text = RtfPlainText(ReadRtfText(TipDocument(tip.Text)));
    EXPECT_GT(text.size(), 20u) << line;
    // Braces balance, so no tip swallows the frame's closing brace.
    int depth = 0;
    for (size_t k = 0; k < tip.Text.size(); ++k) {
      if (tip.Text[k] == '\\') {
        ++k;
      } else if (tip.Text[k] == '{') {
        ++depth;
      } else if (tip.Text[k] == '}') {
        EXPECT_GT(depth--, 0) << line;
      }
    }
    EXPECT_EQ(depth, 0) << line;
  }
}
