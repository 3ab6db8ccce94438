// SPDX-License-Identifier: MIT
// Tests of the notation rules for edited entries.
#include <gtest/gtest.h>

#include "text/EditRules.h"

#include <string_view>

TEST(EditRules, CollapseSpacesTouchesOnlyBlanks) {
  const std::pair<const char*, const char*> cases[] = {
      {"  the   house ", "the house"},
      {"house", "house"},
      {"", ""},
      {"   ", ""},
      {"a  ", "a"},
      {"a\t\tb", "a\t\tb"},
      {" \ta ", "\ta"},
      {"a b  c", "a b c"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(CollapseSpaces(in), out) << '"' << in << '"';
}

TEST(EditRules, BracketsMustBeBalancedAndFlat) {
  const std::pair<const char*, bool> cases[] = {
      {"a (b) (c)", true}, {"no brackets", true}, {"(x)", true},
      {"", true},          {"a (b (c))", false},  {"a )b(", false},
      {"(open", false},    {"close)", false},     {"((", false},
  };
  for (const auto& [text, valid] : cases) EXPECT_EQ(BracketsValid(text), valid) << text;
}

TEST(EditRules, TheFirstMarkerGivesTheSortingPosition) {
  struct Case {
    const char* in;
    bool found;
    const char* text;
    int32_t sortPos;
  } cases[] = {
      {"the @house", true, "the house", 4}, {"house@", true, "house", 0},
      {"@house", true, "house", 0},         {"a@b@c", true, "ab@c", 1},
      {"house", false, "house", -7},
  };
  for (const Case& c : cases) {
    std::string text = c.in;
    int32_t sortPos = -7;
    EXPECT_EQ(ExtractSortMarker(text, sortPos), c.found) << c.in;
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(sortPos, c.sortPos) << c.in;
  }
}

TEST(EditRules, TheMarkerIsShownWhereSortingStarts) {
  EXPECT_EQ(InsertSortMarker("the house", 4, false), "the @house");
  EXPECT_EQ(InsertSortMarker("house", 0, false), "house");
  EXPECT_EQ(InsertSortMarker("house", 0, true), "@house");
  EXPECT_EQ(InsertSortMarker("ab", 9, false), "ab@");
  EXPECT_EQ(InsertSortMarker("ab", -3, true), "@ab");
  // A word with a "@" of its own shows the marker, so the first "@" stays the marker.
  EXPECT_EQ(InsertSortMarker("ab@c", 0, false), "@ab@c");
  // What is shown comes back as it was stored, with or without the option.
  for (const char* word : {"the house", "ab@c", "@x", "x@"}) {
    for (int32_t pos : {0, 1, 2}) {
      // A "@" of the word before the sorting position cannot be told from the marker.
      if (std::string_view(word).substr(0, pos).find(kSortMarker) != std::string_view::npos) {
        continue;
      }
      for (bool always : {false, true}) {
        std::string shown = InsertSortMarker(word, pos, always);
        int32_t back = -1;
        if (!ExtractSortMarker(shown, back)) back = 0;
        EXPECT_EQ(shown, word) << word << ' ' << pos << ' ' << always;
        EXPECT_EQ(back, pos) << word << ' ' << pos << ' ' << always;
      }
    }
  }
}
