// SPDX-License-Identifier: MIT
// Tests of the slip rule and of the letters marked as different.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "text/Matching.h"
#include "text/Slip.h"

namespace {
constexpr uint16_t kEnglish = 0x0409;
constexpr uint16_t kGerman = 0x0407;
constexpr TMatchOptions kSlip =
    moSynonymList | kDefaultDirectionOptions | kDefaultEnglishOptions | moAcceptSlip;

// The marked letters, "|"-separated.
std::string Marked(const std::string& typed, const std::vector<TLetterSpan>& marks) {
  std::string out;
  for (const TLetterSpan& m : marks) {
    if (!out.empty()) out += "|";
    out += typed.substr(m.Begin, m.End - m.Begin);
  }
  return out;
}
}  // namespace

TEST(MatchSlip, ForgivesOneSlipWithinTheNotation) {
  struct TCase {
    const char* expected;
    const char* typed;
    TMatchOptions options;
    bool accepted;
    const char* marked;
  };
  for (const TCase& c : std::vector<TCase>{
           {"house", "hause", kSlip, true, "a"},
           {"house", "hause", kSlip & ~moAcceptSlip, false, ""},
           {"house", "huose", kSlip, true, "u|o"},
           {"House", "HAUSE", kSlip, true, "A"},
           {"cat", "cot", kSlip, false, ""},
           {"house", "hxusx", kSlip, false, ""},
           {"beautiful", "beutifull", kSlip, true, "e|l"},
           {"beautiful", "bautifl", kSlip, false, ""},
           {"room 12", "rom 12", kSlip, true, "r"},
           {"room 12", "room 13", kSlip, false, ""},
           {"colo(u)r", "colr", kSlip, true, "l"},
           {"to go (home)", "go hume", kSlip, true, "u"},
           {"to answer", "answr", kSlip, true, "w"},
           {"big, large, enormous", "enormus, big", kSlip, true, "m"},
           {"big, large, enormous", "enormus, big", kSlip & ~moAnyOrder, false, ""},
           {"house, garden", "hause", kSlip & ~moAnyCorrect, false, ""},
           {"house, garden", "hause, gardan", kSlip, false, ""},
           {"house, garden", "garden; hoose", kSlip, true, "o"},
           {"ice cream", "icecraem", kSlip, true, "a|e"},
           {"organize", "orgamise", kSlip, true, "m"},
           {"organize", "orgamise", kSlip & ~moIzIs, true, "m|s"},
       }) {
    const std::string expected = c.expected, typed = c.typed;
    ASSERT_FALSE(MatchAnswer(expected, typed, kEnglish, c.options)) << c.typed;
    const TSlipMatch slip = MatchSlip(expected, typed, kEnglish, c.options);
    EXPECT_EQ(slip.Accepted, c.accepted) << c.expected << " / " << c.typed;
    EXPECT_EQ(Marked(typed, slip.Marks), c.marked) << c.expected << " / " << c.typed;
    if (slip.Accepted) {
      EXPECT_TRUE(MatchAnswer(expected, slip.Corrected, kEnglish, c.options)) << slip.Corrected;
    }
  }
}

// Any one slip in a word of five letters or more is forgiven, in any language, and the
// correction is always one the comparison accepts.
TEST(MatchSlip, RandomSingleSlipsInWordsAreForgiven) {
  const std::vector<std::string> words = {"gehen",
                                          "Schmetterling",
                                          "Apfel",
                                          "laufen",
                                          "Wasser",
                                          "Zeitung",
                                          "Stra\xDF"
                                          "e",
                                          "M\xFC"
                                          "ller"};
  std::mt19937 random(7);
  const auto pick = [&](size_t n) {
    return std::uniform_int_distribution<size_t>(0, n - 1)(random);
  };
  for (int round = 0; round < 2000; ++round) {
    const std::string& word = words[pick(words.size())];
    std::string typed = word;
    const size_t at = pick(word.size());
    const char letter = static_cast<char>('a' + pick(26));
    switch (pick(4)) {
      case 0:
        typed.insert(at, 1, letter);
        break;
      case 1:
        typed.erase(at, 1);
        break;
      case 2:
        typed[at] = letter;
        break;
      default:
        if (at + 1 < typed.size()) std::swap(typed[at], typed[at + 1]);
    }
    if (MatchAnswer(word, typed, kGerman, kSlip)) continue;
    const TSlipMatch slip = MatchSlip(word, typed, kGerman, kSlip);
    ASSERT_TRUE(slip.Accepted) << word << " / " << typed;
    EXPECT_TRUE(MatchAnswer(word, slip.Corrected, kGerman, kSlip)) << slip.Corrected;
    EXPECT_FALSE(slip.Marks.empty());
  }
}

TEST(DifferingLetters, MarksTheLettersThatDifferFromTheClosestReading) {
  struct TCase {
    const char* expected;
    const char* typed;
    const char* marked;
  };
  for (const TCase& c : std::vector<TCase>{
           {"house", "hxusx", "x|x"},
           {"house, garden", "house, gxrdxn", "x|x"},
           {"colo(u)r, hue", "kolor", "k"},
           {"big", "small", "s|m|a|l|l"},
       }) {
    const std::string typed = c.typed;
    EXPECT_EQ(Marked(typed, DifferingLetters(c.expected, typed, kEnglish, kSlip)), c.marked)
        << c.expected << " / " << c.typed;
  }
}
