// SPDX-License-Identifier: MIT
// A whole test run without any window: choose a question, judge the typed answer, record it.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "text/Matching.h"
#include "text/Random.h"
#include "vocab/VocFile.h"

TEST(TestLoop, RunsOverALoadedFileUntilEverythingIsLearnt) {
  TVocabFile v;
  v.LoadFromFile(std::string(DADEZIVU_SOURCE_DIR) + "/resources/samples/German-English.doz");
  ASSERT_GT(v.Count(), 0);
  SetRandSeed(31);
  // As the test run combines them: the direction word, the list stage, the English word.
  const TMatchOptions options = kDefaultDirectionOptions | moSynonymList | kDefaultEnglishOptions;
  int questions = 0;
  int wrong = 0;
  while (v.SelectNextQuestion()) {
    const TVocabItem& asked = v.CurrentItem();
    // Every fourth answer is a slip; the others type one translation of the list, in upper case
    // and without the "to " of verbs, which the default options forgive.
    std::string typed = asked.Values[Native].substr(0, asked.Values[Native].find(','));
    for (char& c : typed) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (questions % 4 == 3) typed += "x";
    const bool right = MatchAnswer(asked.Values[Native], typed, v.NativeLangID(), options);
    EXPECT_EQ(right, questions % 4 != 3) << asked.Values[Native] << " / " << typed;
    wrong += !right;
    v.RecordAnswer(right, 3);
    ASSERT_LT(++questions, 10000);
  }
  EXPECT_EQ(v.LearntCount(), v.Count());
  EXPECT_EQ(v.QuestionCount(), questions);
  EXPECT_EQ(v.CorrectCount(), questions - wrong);
  EXPECT_TRUE(v.Modified());
}
