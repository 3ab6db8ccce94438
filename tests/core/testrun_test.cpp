// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "testing/Options.h"
#include "testing/TestRun.h"
#include "text/Matching.h"
#include "vocab/VocFile.h"

namespace {
constexpr uint16_t kGerman = 0x0407, kEnglishUS = 0x0409, kEnglishUK = 0x0809, kFrench = 0x040C,
                   kTurkish = 0x041F;

// A run asking the vocabulary's current entry.
TTestRun Asking(const TVocabFile& v, const TProgramOptions& options, uint8_t mode,
                bool multipleChoice = false) {
  TTestRun run;
  run.TestMode = mode;
  run.MultipleChoice = multipleChoice;
  run.BeginQuestion(v.CurrentItem(), options);
  return run;
}
}  // namespace

TEST(TestRunCheck, AnswerTextLanguageAndOptionsFollowTheDirection) {
  TProgramOptions options;
  options.PassiveFlags = moIgnoreCase;
  options.ActiveFlags = moIgnorePunctuation;
  options.EnglishFlags = moOmitTo;
  struct TCase {
    uint16_t foreign, native;
    uint8_t mode;
    uint16_t lang;
    TMatchOptions flags;
  };
  // The English word is added only when the language typed in is English, whichever side it is.
  for (const TCase& c : std::vector<TCase>{
           {kGerman, kEnglishUS, kTestPassive, kEnglishUS, moIgnoreCase | moSynonymList | moOmitTo},
           {kGerman, kEnglishUS, kTestActive, kGerman, moIgnorePunctuation | moSynonymList},
           {kEnglishUK, kGerman, kTestPassive, kGerman, moIgnoreCase | moSynonymList},
           {kEnglishUK, kGerman, kTestActive, kEnglishUK,
            moIgnorePunctuation | moSynonymList | moOmitTo},
           {kGerman, kFrench, kTestPassive, kFrench, moIgnoreCase | moSynonymList},
       }) {
    auto v = SampleVocabulary({{"gehen", "v", "irregular", "to go"}});
    v->SetForeignLangID(c.foreign);
    v->SetNativeLangID(c.native);
    const TTestRun run = Asking(*v, options, c.mode);
    const TAnswerRequest request = run.ResponseRequest(*v, options);
    const std::string& expected =
        v->CurrentItem().Values[c.mode == kTestPassive ? Native : Foreign];
    EXPECT_EQ(request.Expected, &expected) << "mode " << int{c.mode};
    EXPECT_EQ(&run.ExpectedAnswer(v->CurrentItem()), &expected);
    EXPECT_EQ(request.LangID, c.lang);
    EXPECT_EQ(run.AnswerLangID(*v), c.lang);
    EXPECT_EQ(request.Options, c.flags) << std::hex << c.foreign << "/" << c.native;
  }
}

TEST(TestRunCheck, TypedAnswersAreJudgedWithTheDirectionsOptions) {
  TProgramOptions options;
  options.PassiveFlags = moIgnoreCase;
  options.ActiveFlags = 0;
  options.EnglishFlags = moOmitTo;
  struct TCase {
    uint8_t mode;
    uint16_t native;
    std::string typed;
    bool right;
  };
  for (const TCase& c : std::vector<TCase>{
           {kTestPassive, kEnglishUS, "GO; WALK", true},  // the English word forgives "to "
           {kTestPassive, kFrench, "GO; WALK", false},    // not for another native language
           {kTestPassive, kEnglishUS, "go", false},       // one of two is not enough here
           {kTestPassive, kEnglishUS, "run", false},
           {kTestActive, kEnglishUS, "gehen", true},
           {kTestActive, kEnglishUS, "Gehen", false},  // no case forgiven into German
       }) {
    auto v = SampleVocabulary({{"gehen", "v", "", "to go; walk"}});
    v->SetNativeLangID(c.native);
    TTestRun run = Asking(*v, options, c.mode);
    run.SavedResponse = c.typed;
    run.CheckAnswer(*v, options);
    EXPECT_EQ(run.ResponseRight, c.right) << c.typed;
    EXPECT_EQ(run.AnswerCorrect, c.right) << c.typed;
    EXPECT_FALSE(run.NotesRight);
  }
}

TEST(TestRunNotes, AskedOnlyForTypedAnswersToEntriesWithNotesWhenTheOptionIsOn) {
  for (int mask = 0; mask < 32; ++mask) {
    const bool hasNotes = mask & 1, passiveOn = mask & 2, activeOn = mask & 4,
               multipleChoice = mask & 8;
    const uint8_t mode = (mask & 16) ? kTestActive : kTestPassive;
    TProgramOptions options;
    options.TestNotesPassive = passiveOn;
    options.TestNotesActive = activeOn;
    auto v = SampleVocabulary({{"Baum", "n", hasNotes ? "der" : "", "tree"}});
    const TTestRun run = Asking(*v, options, mode, multipleChoice);
    const bool optionOn = mode == kTestPassive ? passiveOn : activeOn;
    EXPECT_EQ(run.TestingNotes, hasNotes && optionOn && !multipleChoice) << "mask " << mask;
  }
}

TEST(TestRunNotes, NotesForgiveOnlyCasePunctuationAndSpacingInTheNativeLanguage) {
  // The direction words are strict or list-minded; the notes ignore both.
  TProgramOptions options;
  options.TestNotesPassive = options.TestNotesActive = true;
  options.PassiveFlags = 0;
  options.ActiveFlags = moAnyOrder | moIgnoreCase | moIgnorePunctuation | moIgnoreSpacing;
  struct TCase {
    std::string notes, typed;
    bool right;
  };
  for (uint8_t mode : {kTestPassive, kTestActive}) {
    for (const TCase& c : std::vector<TCase>{
             {"in the garden", "IN the   garden!", true},
             {"in the garden", "in the gardens", false},
             {"big, old", "old, big", false},  // no list, so no order forgiven
             {"a (b)", "a", false},            // no optional brackets
         }) {
      auto v = SampleVocabulary({{"Baum", "n", c.notes, "tree"}});
      TTestRun run = Asking(*v, options, mode);
      ASSERT_TRUE(run.TestingNotes);
      run.SavedResponse = mode == kTestPassive ? "tree" : "Baum";
      run.SavedNotesResponse = c.typed;
      run.CheckAnswer(*v, options);
      EXPECT_TRUE(run.ResponseRight);
      EXPECT_EQ(run.NotesRight, c.right) << c.typed << " mode " << int{mode};
      EXPECT_EQ(run.AnswerCorrect, c.right) << c.typed;
    }
  }
  // Turkish lower-cases I to dotless i: only the native language's locale accepts it, even when
  // the answer itself is typed in English.
  auto v = SampleVocabulary({{"tree", "", "\xFD", "a\xFE"}});
  v->SetForeignLangID(kEnglishUS);
  v->SetNativeLangID(kTurkish);
  TTestRun run = Asking(*v, options, kTestActive);
  run.SavedResponse = "tree";
  run.SavedNotesResponse = "I";
  run.CheckAnswer(*v, options);
  EXPECT_TRUE(run.NotesRight);
  EXPECT_FALSE(MatchAnswer("\xFD", "I", kEnglishUS, kNotesMatchOptions)) << "needs the locale";
}

TEST(TestRunNotes, BothPartsMustBeRightAndUntestedNotesAreIgnored) {
  TProgramOptions options;
  options.TestNotesPassive = true;
  for (int mask = 0; mask < 8; ++mask) {
    const bool responseRight = mask & 1, notesRight = mask & 2;
    const bool tested = mask & 4;
    options.TestNotesPassive = tested;
    auto v = SampleVocabulary({{"Baum", "n", "der", "tree"}});
    TTestRun run = Asking(*v, options, kTestPassive);
    run.SavedResponse = responseRight ? "tree" : "bush";
    run.SavedNotesResponse = notesRight ? "der" : "die";
    run.CheckAnswer(*v, options);
    EXPECT_EQ(run.ResponseRight, responseRight);
    EXPECT_EQ(run.NotesRight, tested && notesRight);
    EXPECT_EQ(run.AnswerCorrect, responseRight && (!tested || notesRight)) << "mask " << mask;
  }
}

TEST(TestRunChoice, APickIsRightOnlyWhenItIsTheAskedEntryItself) {
  // Two entries with the same translations: picking the twin is wrong.
  auto v = SampleVocabulary({{"Haus", "n", "", "house"}, {"Heim", "n", "", "house"}});
  v->SetItemIndex(0);
  TProgramOptions options;
  options.TestNotesPassive = true;
  for (uint8_t mode : {kTestPassive, kTestActive}) {
    const std::vector<std::pair<const TVocabItem*, bool>> picks = {
        {&v->GetItem(0), true}, {&v->GetItem(1), false}, {nullptr, false}};
    for (const auto& [pick, right] : picks) {
      TTestRun run = Asking(*v, options, mode, true);
      EXPECT_FALSE(run.TestingNotes);
      run.SavedResponse = mode == kTestPassive ? "house" : "Haus";  // no typed text counts
      run.ChosenEntry = pick;
      run.CheckAnswer(*v, options);
      EXPECT_EQ(run.AnswerCorrect, right) << (pick ? pick->Values[Foreign] : "no pick");
    }
  }
}

TEST(TestRunRecord, HintsCountAgainstOnlyWhenDisallowed) {
  for (int mask = 0; mask < 8; ++mask) {
    const bool correct = mask & 1, hint = mask & 2, disallow = mask & 4;
    TProgramOptions options;
    options.DisallowHints = disallow;
    options.UsePenaltyPoints = true;
    auto v = SampleVocabulary({{"Haus", "n", "", "house"}, {"Baum", "n", "", "tree"}});
    TTestRun run = Asking(*v, options, kTestPassive);
    run.HintUsed = hint;
    EXPECT_TRUE(run.Submit(*v, options, correct ? "house" : "home", "", nullptr));
    // Shown as the comparison says; recorded with the hint rule.
    EXPECT_EQ(run.AnswerCorrect, correct) << "mask " << mask;
    const bool recorded = correct && !(hint && disallow);
    EXPECT_EQ(run.RecordedRight(options), recorded) << "mask " << mask;
    EXPECT_EQ(v->QuestionCount(), 1);
    EXPECT_EQ(v->CorrectCount(), recorded ? 1 : 0) << "mask " << mask;
    EXPECT_EQ(v->GetItem(0).PenaltyPoints, recorded ? -1 : 1) << "mask " << mask;
    EXPECT_EQ(run.SavedResponse, correct ? "house" : "home");
    EXPECT_FALSE(run.Answered) << "the window marks it";
  }
}

TEST(TestRunRecord, ANewQuestionForgetsTheLastOnesHintAndAnswers) {
  TProgramOptions options;
  options.DisallowHints = true;
  auto v = SampleVocabulary({{"Haus", "n", "", "house"}, {"Baum", "n", "", "tree"}});
  TTestRun run = Asking(*v, options, kTestPassive, true);
  run.HintUsed = true;
  run.ShowingOwnAnswer = true;
  run.Submit(*v, options, "", "x", &v->CurrentItem());
  run.MarkAnswered();
  v->SetItemIndex(1);
  run.BeginQuestion(v->CurrentItem(), options);
  EXPECT_FALSE(run.Answered || run.AnswerCorrect || run.ResponseRight || run.HintUsed ||
               run.ShowingOwnAnswer);
  EXPECT_EQ(run.ChosenEntry, nullptr);
  EXPECT_EQ(run.SavedNotesResponse, "");
  // The stale pick of entry 0 is gone: no pick now is wrong, and a right pick counts in full.
  run.CheckAnswer(*v, options);
  EXPECT_FALSE(run.AnswerCorrect);
  run.Submit(*v, options, "", "", &v->CurrentItem());
  EXPECT_TRUE(run.RecordedRight(options));
  EXPECT_EQ(v->GetItem(1).PenaltyPoints, -1);
}

TEST(TestRunRecord, PenaltyPointsAreCappedByTheLimitOnlyWhenUsed) {
  TProgramOptions options;
  options.MaxPenaltyPoints = 2;
  for (bool used : {false, true}) {
    options.UsePenaltyPoints = used;
    EXPECT_EQ(TTestRun::PenaltyLimit(options), used ? 2 : 0);
    auto v = SampleVocabulary({{"Haus", "n", "", "house"}, {"Baum", "n", "", "tree"}});
    std::vector<int32_t> points;
    for (int i = 0; i < 3; ++i) {
      TTestRun run = Asking(*v, options, kTestPassive);
      run.Submit(*v, options, "home", "", nullptr);
      points.push_back(v->GetItem(0).PenaltyPoints);
    }
    EXPECT_EQ(points, used ? std::vector<int32_t>({1, 2, 2}) : std::vector<int32_t>({0, 0, 0}));
    EXPECT_EQ(v->QuestionCount(), 3);
  }
}

TEST(TestRunSubmit, OnlyARightAnswerWithAutoContinueSkipsTheResult) {
  for (int mask = 0; mask < 8; ++mask) {
    const bool autoContinue = mask & 1, correct = mask & 2, multipleChoice = mask & 4;
    TProgramOptions options;
    options.AutoContinue = autoContinue;
    auto v = SampleVocabulary({{"Haus", "n", "", "house"}, {"Baum", "n", "", "tree"}});
    TTestRun run = Asking(*v, options, kTestActive, multipleChoice);
    const bool show = run.Submit(*v, options, correct ? "Haus" : "Baum", "",
                                 correct ? &v->GetItem(0) : &v->GetItem(1));
    EXPECT_EQ(run.AnswerCorrect, correct) << "mask " << mask;
    EXPECT_EQ(show, !(autoContinue && correct)) << "mask " << mask;
    EXPECT_EQ(run.ChosenEntry,
              multipleChoice ? (correct ? &v->GetItem(0) : &v->GetItem(1)) : nullptr);
    EXPECT_EQ(v->CorrectCount(), correct ? 1 : 0);
  }
}

// "I was right" on a wrong answer, with and without a disallowed hint.
TEST(TestRunRevise, ARevisedAnswerIsRecordedAsARightOneWouldHaveBeen) {
  for (const bool hint : {false, true}) {
    TProgramOptions options;
    options.DisallowHints = true;
    options.UsePenaltyPoints = true;
    auto v = SampleVocabulary({{"Haus", "n", "", "house"}, {"Baum", "n", "", "tree"}});
    TTestRun run = Asking(*v, options, kTestPassive);
    run.HintUsed = hint;
    run.Submit(*v, options, "home", "", nullptr);
    EXPECT_FALSE(run.CanRevise()) << "not before the result is shown";
    run.MarkAnswered();
    ASSERT_TRUE(run.CanRevise());
    run.Revise(*v, options);
    EXPECT_TRUE(run.AnswerCorrect && run.ResponseRight && run.Revised);
    EXPECT_TRUE(run.ResponseMarks.empty());
    EXPECT_FALSE(run.CanRevise());
    EXPECT_EQ(v->QuestionCount(), 1);
    EXPECT_EQ(v->CorrectCount(), hint ? 0 : 1);
    EXPECT_EQ(v->GetItem(0).PenaltyPoints, hint ? 1 : -1);
    EXPECT_THROW_MSG(run.Revise(*v, options), "Command unavailable.");
  }
}

TEST(TestRunSubmit, AForgivenSlipIsShownEvenWithAutoContinue) {
  TProgramOptions options;
  options.AutoContinue = true;
  options.PassiveFlags |= moAcceptSlip;
  auto v = SampleVocabulary({{"Haus", "n", "", "house"}, {"Baum", "n", "", "tree"}});
  TTestRun run = Asking(*v, options, kTestPassive);
  EXPECT_TRUE(run.Submit(*v, options, "hause", "", nullptr));
  EXPECT_TRUE(run.AnswerCorrect && run.SlipAccepted);
  v->SetItemIndex(1);
  run.BeginQuestion(v->CurrentItem(), options);
  EXPECT_FALSE(run.Submit(*v, options, "tree", "", nullptr));
}

TEST(TestRunAddAnswer, AddsTheUnacceptedItemsAsOneUndoableEdit) {
  struct TCase {
    const char* typed;
    TMatchOptions flags;
    TTestRun::TAddResult result;
    const char* field;
  };
  const TMatchOptions all = kDefaultDirectionOptions;
  for (const TCase& c : std::vector<TCase>{
           {"home", all, TTestRun::TAddResult::Added, "house, building, home"},
           {"building;  my   home", all, TTestRun::TAddResult::Added, "house, building, my home"},
           {"home (x", all, TTestRun::TAddResult::InvalidBrackets, "house, building"},
           {"home", all & ~moAnyCorrect, TTestRun::TAddResult::NotAccepted, "house, building"},
       }) {
    TProgramOptions options;
    options.UsePenaltyPoints = true;
    options.PassiveFlags = c.flags;
    auto v = SampleVocabulary({{"Haus", "n", "", "house, building"}, {"Baum", "n", "", "tree"}});
    TTestRun run = Asking(*v, options, kTestPassive);
    run.Submit(*v, options, c.typed, "", nullptr);
    run.MarkAnswered();
    ASSERT_TRUE(run.CanAddAnswer());
    EXPECT_EQ(run.AddAnswer(*v, options), c.result) << c.typed;
    EXPECT_EQ(v->CurrentItem().Values[Native], c.field);
    if (c.result != TTestRun::TAddResult::Added) continue;
    const TAnswerRequest request = run.ResponseRequest(*v, options);
    EXPECT_TRUE(MatchAnswer(*request.Expected, c.typed, request.LangID, request.Options));
    EXPECT_EQ(v->CurrentItem().PenaltyPoints, 1) << "the statistics stay";
    EXPECT_EQ(v->CurrentItem().LastAsked, 1);
    EXPECT_FALSE(run.CanAddAnswer());
    v->Undo();
    EXPECT_EQ(v->CurrentItem().Values[Native], "house, building");
  }
}

TEST(HintStep, RevealsOneCharacterPastTheCorrectPart) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Hau", "Haus"}, {"Hxyz", "Ha"}, {"haus", "H"},    {"Hausboot", "Haus"}, {"Haus", "Haus"},
      {"Ha", "Hau"},   {"H", "Ha"},    {"Hauz", "Haus"}, {"xHaus", "H"},
  };
  for (const auto& [typed, hint] : cases) EXPECT_EQ(HintStep("Haus", typed), hint) << typed;
  // From an empty field, one character at a time, and no further once complete.
  std::string field;
  std::vector<std::string> steps;
  for (int i = 0; i < 5; ++i) steps.push_back(field = HintStep("Haus", field));
  EXPECT_EQ(steps, (std::vector<std::string>{"H", "Ha", "Hau", "Haus", "Haus"}));
  EXPECT_EQ(HintStep("", "abc"), "");
  EXPECT_EQ(HintStep("a", ""), "a");
  EXPECT_EQ(HintStep("\xE4rger", "\xC4"), "\xE4") << "case counts for accented letters too";
}

TEST(ChoiceTypeAhead, FindsTheNextRowByTheFirstLetterPastTheSortingPrefix) {
  auto v = SampleVocabulary({{"der Apfel"},   // 0: sorted by "Apfel"
                             {"Birne"},       // 1
                             {"...ende"},     // 2: punctuation is skipped
                             {"!"},           // 3: nothing to match
                             {"\xC4rger"},    // 4: a capital umlaut
                             {"die Banane"},  // 5: sorted by "Banane"
                             {"3D-Druck"}});  // 6
  v->GetItem(0).SortPos = 4;
  v->GetItem(5).SortPos = 4;
  v->GetItem(3).SortPos = 99;  // past its end
  const TVocabItemArray rows(v->Items().begin(), v->Items().end());
  struct TCase {
    int32_t selected;
    std::string typed;
    int32_t row;
  };
  for (const TCase& c : std::vector<TCase>{
           {-1, "a", 0},
           {-1, "A", 0},
           {-1, "b", 1},
           {1, "b", 5},
           {5, "B", 1},
           {-1, "E", 2},
           {-1, "e", 2},
           {-1, "\xE4", 4},
           {-1, "3", 6},
           {6, "a", 0},
           {0, "a", 0},
           {-1, "d", -1},
           {-1, "!", -1},
           {2, ".", -1},
           {-1, "", -1},
           {42, "b", 1},
           {-7, "b", 1},
       }) {
    EXPECT_EQ(ChoiceTypeAhead(rows, c.selected, c.typed, kGerman), c.row)
        << "from " << c.selected << " typing '" << c.typed << "'";
  }
  EXPECT_EQ(ChoiceTypeAhead({}, -1, "a", kGerman), -1);
}
