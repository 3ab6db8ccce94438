// SPDX-License-Identifier: MIT
// Tests of question selection, answer recording and statistics.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <vector>

#include "TestSupport.h"
#include "text/Random.h"
#include "vocab/StreamIO.h"
#include "vocab/VocFile.h"

namespace {
struct TStats {
  int32_t lastAsked;
  int32_t points;
};

// A loaded vocabulary whose entries and counters hold the given statistics.
std::unique_ptr<TVocabFile> WithStats(int32_t questionCount, const std::vector<TStats>& stats) {
  TVocabFile built;
  for (size_t i = 0; i < stats.size(); ++i) {
    AddEntry(built, {std::string(1, static_cast<char>('A' + i))});
    built.CurrentItem().LastAsked = stats[i].lastAsked;
    built.CurrentItem().PenaltyPoints = stats[i].points;
  }
  std::string bytes = SavedBytes(built);
  // QuestionCount sits at offset 17.
  for (int b = 0; b < 4; ++b) bytes[17 + b] = static_cast<char>((questionCount >> (8 * b)) & 0xFF);
  std::istringstream in(bytes);
  auto v = std::make_unique<TVocabFile>();
  v->LoadFromStream(in);
  return v;
}

std::string Asked(TVocabFile& v) {
  return v.CurrentItem().Values[0];
}
}  // namespace

TEST(SelectNextQuestion, ChoosesTheHighestAgeTimesPointsPlusOne) {
  // A scores 1 x 1, B scores 5 x 3, C (never asked) scores (3 - 1) x 1.
  auto v = WithStats(10, {{9, 0}, {5, 2}, {0, 0}});
  for (uint32_t seed = 0; seed < 50; ++seed) {
    SetRandSeed(seed);
    ASSERT_TRUE(v->SelectNextQuestion());
    EXPECT_EQ(Asked(*v), "B");
  }
}

TEST(SelectNextQuestion, BreaksTiesByTheShuffledOrder) {
  // Every entry ties; the winner is the first of the shuffled order, drawn as the formula says.
  auto v = WithStats(0, {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}});
  std::vector<int> seen(5);
  for (uint32_t seed = 0; seed < 200; ++seed) {
    SetRandSeed(seed);
    int32_t order[5] = {0, 1, 2, 3, 4};
    for (int i = 0; i < 5; ++i) std::swap(order[i], order[Random(5)]);
    SetRandSeed(seed);
    ASSERT_TRUE(v->SelectNextQuestion());
    EXPECT_EQ(v->ItemIndex(), order[0]) << "seed " << seed;
    ++seen[v->ItemIndex()];
  }
  for (int count : seen) EXPECT_GT(count, 10);
}

TEST(SelectNextQuestion, DrawsOncePerEntryWhateverDecides) {
  // One clear winner, a tie, everything learnt: the generator moves on by N draws each time.
  for (const auto& stats :
       {std::vector<TStats>{{9, 0}, {5, 2}, {0, 0}}, std::vector<TStats>(40, TStats{0, 0}),
        std::vector<TStats>{{1, -1}, {2, -1}}}) {
    auto v = WithStats(10, stats);
    SetRandSeed(5);
    for (size_t i = 0; i < stats.size(); ++i) Random(1);
    const uint32_t expected = RandSeed();
    SetRandSeed(5);
    v->SelectNextQuestion();
    EXPECT_EQ(RandSeed(), expected) << stats.size() << " entries";
  }
}

TEST(SelectNextQuestion, SkipsLearntAndDamagedEntriesAndKeepsTheIndexWhenDone) {
  auto v = WithStats(3, {{1, -1}, {2, -7}, {0, -1}});
  v->SetItemIndex(1);
  EXPECT_FALSE(v->SelectNextQuestion());
  EXPECT_EQ(v->ItemIndex(), 1);
  EXPECT_EQ(v->LearntCount(), 2) << "points below -1 are not learnt either";

  TVocabFile empty;
  EXPECT_FALSE(empty.SelectNextQuestion());
  EXPECT_EQ(empty.ItemIndex(), -1);
}

TEST(SelectNextQuestion, AJustAnsweredEntryComesAgainOnlyWhenAlone) {
  auto one = SampleVocabulary({{"A"}});
  ASSERT_TRUE(one->SelectNextQuestion()) << "score 0 beats the initial maximum";
  EXPECT_EQ(Asked(*one), "A");

  for (uint32_t seed = 0; seed < 30; ++seed) {
    SetRandSeed(seed);
    auto two = SampleVocabulary({{"A"}, {"B"}});
    two->SetItemIndex(0);
    for (int i = 0; i < 3; ++i) two->RecordAnswer(false, 5);
    ASSERT_TRUE(two->SelectNextQuestion());
    EXPECT_EQ(Asked(*two), "B") << "whatever A's points";
  }
}

TEST(SelectNextQuestion, WrapsScoresInSigned32BitArithmetic) {
  // A: age 2^30 x (3 + 1) wraps to 0; B: age 1 x 1 = 1.
  auto v = WithStats((1 << 30) + 1, {{1, 3}, {1 << 30, 0}});
  ASSERT_TRUE(v->SelectNextQuestion());
  EXPECT_EQ(Asked(*v), "B");
  auto w = WithStats(INT32_MAX, {{1, 1}, {INT32_MAX - 1, 0}});
  // A: age (2^31 - 2) x 2 wraps to -4; B: age 1 x 1 = 1.
  ASSERT_TRUE(w->SelectNextQuestion());
  EXPECT_EQ(Asked(*w), "B");
}

TEST(RecordAnswer, PenaltyPointsFollowRightAndWrongAnswers) {
  struct Case {
    const char* name;
    int32_t limit;
    std::vector<bool> answers;  // to entry A; B stays unlearnt
    int32_t points;
  } cases[] = {
      {"off: wrong adds nothing", 0, {false, false}, 0},
      {"off: one right learns", 0, {false, true}, -1},
      {"max 3: wrong answers count up", 3, {false, false, false}, 3},
      {"max 3: a fourth wrong keeps 3", 3, {false, false, false, false}, 3},
      {"max 3: three rights leave 0", 3, {false, false, false, true, true, true}, 0},
      {"max 3: the fourth right learns", 3, {false, false, false, true, true, true, true}, -1},
      {"wrong in between adds again", 3, {false, true, false}, 1},
  };
  for (const Case& c : cases) {
    auto v = SampleVocabulary({{"A"}, {"B"}});
    int right = 0;
    for (bool answer : c.answers) {
      v->SetItemIndex(0);
      v->RecordAnswer(answer, c.limit);
      right += answer;
    }
    EXPECT_EQ(v->GetItem(0).PenaltyPoints, c.points) << c.name;
    EXPECT_EQ(v->QuestionCount(), static_cast<int32_t>(c.answers.size())) << c.name;
    EXPECT_EQ(v->CorrectCount(), right) << c.name;
    EXPECT_EQ(v->GetItem(0).LastAsked, v->QuestionCount()) << c.name;
  }
}

TEST(RecordAnswer, TheLastUnlearntEntryIsLearntWithOneRightAnswer) {
  auto v = WithStats(4, {{1, 3}, {2, -1}});
  v->SetItemIndex(0);
  v->RecordAnswer(true, 3);
  EXPECT_TRUE(v->GetItem(0).IsLearnt());
  EXPECT_EQ(v->LearntCount(), 2);
  EXPECT_FALSE(v->SelectNextQuestion());
}

TEST(RecordAnswer, ALoweredMaximumCutsThePointsFirst) {
  for (bool right : {true, false}) {
    auto v = WithStats(9, {{1, 5}, {2, 0}});
    v->SetItemIndex(0);
    v->RecordAnswer(right, 2);
    EXPECT_EQ(v->GetItem(0).PenaltyPoints, right ? 1 : 2);
  }
}

TEST(RecordAnswer, RefusesLearntEntriesNegativeLimitsAndNoCurrentEntry) {
  auto v = WithStats(5, {{1, -1}, {2, 0}});
  v->SetItemIndex(0);
  EXPECT_THROW_MSG(v->RecordAnswer(true, 3), "Invalid procedure call.");
  v->SetItemIndex(1);
  EXPECT_THROW_MSG(v->RecordAnswer(true, -1), "Invalid procedure call.");
  EXPECT_EQ(v->QuestionCount(), 5);
  EXPECT_FALSE(v->Modified());
  v->SetItemIndex(-1);
  EXPECT_THROW_MSG(v->RecordAnswer(true, 3), "No current item");
}

TEST(ResetStatistics, MakesEverythingUnlearntAndCountsAsAChange) {
  auto v = WithStats(12, {{3, -1}, {7, 2}, {0, 0}});
  SavedBytes(*v);
  v->ResetStatistics();
  for (const TVocabItem* e : v->Items()) {
    EXPECT_EQ(e->LastAsked, 0);
    EXPECT_EQ(e->PenaltyPoints, 0);
  }
  EXPECT_EQ(v->QuestionCount(), 0);
  EXPECT_EQ(v->CorrectCount(), 0);
  EXPECT_EQ(v->LearntCount(), 0);
  EXPECT_TRUE(v->Modified());
  EXPECT_EQ(v->SavedPos(), -1);
}

TEST(Testing, ALoopOfQuestionsEndsWithEverythingLearnt) {
  SetRandSeed(2024);
  auto v = SampleVocabulary();
  int questions = 0;
  while (v->SelectNextQuestion()) {
    // Every third answer is wrong.
    v->RecordAnswer(questions % 3 != 2, 2);
    ASSERT_LE(v->LearntCount(), v->Count());
    ASSERT_LT(++questions, 1000);
  }
  EXPECT_EQ(v->LearntCount(), v->Count());
  EXPECT_EQ(v->QuestionCount(), questions);
}

// Revising a wrong answer gives exactly what recording it right would have given, from any
// state: entries learnt or not, points above or below the limit, the last unlearnt entry.
TEST(ReviseAnswer, WrongThenRevisedEqualsRight) {
  std::mt19937 random(11);
  const auto draw = [&](int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(random);
  };
  for (int round = 0; round < 500; ++round) {
    const int count = draw(1, 5);
    const int32_t questions = draw(0, 40);
    std::vector<TStats> stats;
    for (int i = 0; i < count; ++i) stats.push_back({draw(0, questions), draw(-1, 6)});
    const int current = draw(0, count - 1);
    stats[current].points = draw(0, 6);
    const int32_t limit = draw(0, 5);
    auto right = WithStats(questions, stats);
    auto revised = WithStats(questions, stats);
    right->SetItemIndex(current);
    revised->SetItemIndex(current);
    right->RecordAnswer(true, limit);
    revised->RecordAnswer(false, limit);
    revised->ReviseAnswer(stats[current].points, limit);
    EXPECT_EQ(Hex(SavedBytes(*revised)), Hex(SavedBytes(*right))) << "round " << round;
    EXPECT_EQ(revised->RevisedCount(), 1);
  }
}
