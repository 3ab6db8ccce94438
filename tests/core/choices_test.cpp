// SPDX-License-Identifier: MIT
// Tests of multiple-choice picks and their shuffling.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "TestSupport.h"
#include "testing/Choices.h"
#include "text/Random.h"
#include "vocab/VocFile.h"

namespace {
std::set<std::string> Names(const TVocabItemArray& items) {
  std::set<std::string> out;
  for (const TVocabItem* e : items) out.insert(e->Values[0]);
  return out;
}
}  // namespace

TEST(ShuffleItemArray, SwapsEachPositionWithOneDrawnFromTheWholeArray) {
  auto v = SampleVocabulary();
  TVocabItemArray items(v->Items().begin(), v->Items().end());
  TVocabItemArray expected = items;
  SetRandSeed(99);
  for (int i = 0; i < 5; ++i) std::swap(expected[i], expected[Random(5)]);
  SetRandSeed(99);
  ShuffleItemArray(items);
  EXPECT_EQ(items, expected);
  TVocabItemArray none;
  ShuffleItemArray(none);
  EXPECT_TRUE(none.empty());
}

TEST(GetChoices, PrefersThePartOfSpeechThenUnlearntEntries) {
  // Asked: "ask" (n). Same part of speech: n1 unlearnt, n2 learnt. Others: v1 unlearnt, v2 learnt.
  auto v = SampleVocabulary({{"ask", "n"}, {"v2", "v"}, {"n2", "n"}, {"v1", "v"}, {"n1", "n"}});
  v->GetItem(1).PenaltyPoints = -1;
  v->GetItem(2).PenaltyPoints = -1;
  v->SetItemIndex(0);
  const std::vector<std::set<std::string>> expected = {{"ask"},
                                                       {"ask", "n1"},
                                                       {"ask", "n1", "n2"},
                                                       {"ask", "n1", "n2", "v1"},
                                                       {"ask", "n1", "n2", "v1", "v2"},
                                                       {"ask", "n1", "n2", "v1", "v2"}};
  for (uint32_t seed = 0; seed < 20; ++seed) {
    SetRandSeed(seed);
    for (int n = 1; n <= 6; ++n) {
      TVocabItemArray choices;
      v->GetChoices(choices, n);
      EXPECT_EQ(Names(choices), expected[n - 1]) << "n = " << n;
      EXPECT_EQ(choices.size(), expected[n - 1].size()) << "no entry offered twice";
    }
  }
}

TEST(GetChoices, PartOfSpeechComparesExactlyAndTheAskedEntryLandsAnywhere) {
  auto v = SampleVocabulary({{"ask", "N"}, {"a", "n"}, {"b", "N"}, {"c", ""}, {"d", ""}});
  v->SetItemIndex(0);
  std::set<size_t> rows;
  for (uint32_t seed = 0; seed < 100; ++seed) {
    SetRandSeed(seed);
    TVocabItemArray choices;
    v->GetChoices(choices, 2);
    EXPECT_EQ(Names(choices), (std::set<std::string>{"ask", "b"}));
    rows.insert(std::find(choices.begin(), choices.end(), &v->CurrentItem()) - choices.begin());
  }
  EXPECT_EQ(rows.size(), 2u);

  // Two empty parts of speech are equal.
  v->SetItemIndex(3);
  TVocabItemArray choices;
  v->GetChoices(choices, 2);
  EXPECT_EQ(Names(choices), (std::set<std::string>{"c", "d"}));
}

TEST(GetChoices, ASmallVocabularyOffersEveryEntry) {
  auto one = SampleVocabulary({{"only"}});
  TVocabItemArray choices;
  one->GetChoices(choices, 4);
  ASSERT_EQ(choices.size(), 1u);
  EXPECT_EQ(choices[0], &one->CurrentItem());

  auto six = SampleVocabulary({{"a"}, {"b"}, {"c"}, {"d"}, {"e"}, {"f"}});
  six->GetChoices(choices, 10);
  EXPECT_EQ(Names(choices).size(), 6u);
}

TEST(GetChoices, NeedsACurrentEntryAndAPositiveCount) {
  auto v = SampleVocabulary();
  TVocabItemArray choices;
  EXPECT_THROW_MSG(v->GetChoices(choices, 0), "Invalid parameter.");
  v->SetItemIndex(-1);
  EXPECT_THROW_MSG(v->GetChoices(choices, 4), "No current item");
}

namespace {
// count entries "e0".."e<count-1>"; isNoun and isLearnt decide each entry's part of speech
// ("n" or "v") and whether it is learnt.
template <typename NounFn, typename LearntFn>
std::unique_ptr<TVocabFile> LargeVocabulary(int count, NounFn isNoun, LearntFn isLearnt) {
  auto v = std::make_unique<TVocabFile>();
  for (int i = 0; i < count; ++i) AddEntry(*v, {"e" + std::to_string(i), isNoun(i) ? "n" : "v"});
  for (int i = 0; i < count; ++i) {
    if (isLearnt(i)) v->GetItem(i).PenaltyPoints = -1;
  }
  return v;
}

int EntryNumber(const TVocabItem* e) {
  return std::stoi(e->Values[0].substr(1));
}
}  // namespace

// A long list is not copied and shuffled for every question; the choices still follow the rules
// and every entry of the preferred kind is as likely to be offered.
TEST(GetChoices, LongListPrefersThePartOfSpeechAndSpreadsTheChoices) {
  // Nouns: every tenth entry, half of them learnt. Asked: entry 10, an unlearnt noun.
  auto v = LargeVocabulary(
      10'000, [](int i) { return i % 10 == 0; }, [](int i) { return i % 20 == 0; });
  ASSERT_EQ(v->GetItem(10).Values[0], "e10");
  v->SetItemIndex(10);
  std::set<int> offered;
  std::set<size_t> currentRows;
  for (uint32_t seed = 0; seed < 300; ++seed) {
    SetRandSeed(seed);
    TVocabItemArray choices;
    v->GetChoices(choices, 4);
    ASSERT_EQ(choices.size(), 4u);
    EXPECT_EQ(std::set<TVocabItem*>(choices.begin(), choices.end()).size(), 4u);
    for (size_t row = 0; row < choices.size(); ++row) {
      if (choices[row] == &v->CurrentItem()) {
        currentRows.insert(row);
        continue;
      }
      const int number = EntryNumber(choices[row]);
      EXPECT_EQ(number % 20, 10) << "not an unlearnt noun: e" << number;
      offered.insert(number);
    }
  }
  EXPECT_EQ(currentRows.size(), 4u);
  // 900 picks among 499 candidates: a fair draw offers most of them, from both ends of the list.
  EXPECT_GT(offered.size(), 300u);
  EXPECT_LT(*offered.begin(), 1000);
  EXPECT_GT(*offered.rbegin(), 9000);
}

// When few entries of the preferred kind exist, all of them are offered, then the next kind.
TEST(GetChoices, LongListWithFewPreferredEntriesTakesThemAllFirst) {
  // Nouns: 0, 5000, 9998 unlearnt, 7000 learnt; odd verbs learnt. Asked: noun 0.
  auto v = LargeVocabulary(
      10'000, [](int i) { return i == 0 || i == 5000 || i == 7000 || i == 9998; },
      [](int i) { return i == 7000 || i % 2 == 1; });
  v->SetItemIndex(0);
  for (uint32_t seed = 0; seed < 20; ++seed) {
    SetRandSeed(seed);
    TVocabItemArray choices;
    v->GetChoices(choices, 5);
    std::set<int> numbers;
    for (const TVocabItem* e : choices) numbers.insert(EntryNumber(e));
    ASSERT_EQ(numbers.size(), 5u);
    numbers.erase(0);
    numbers.erase(5000);
    numbers.erase(9998);
    ASSERT_EQ(numbers.erase(7000), 1u) << "the learnt noun before any verb";
    ASSERT_EQ(numbers.size(), 1u);
    EXPECT_EQ(*numbers.begin() % 2, 0) << "an unlearnt verb before a learnt one";
  }
}
