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
