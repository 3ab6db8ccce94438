// SPDX-License-Identifier: MIT
// The test run's question state: judging, recording, hints and type-ahead in the choice list.
#include "testing/TestRun.h"

#include <algorithm>
#include <array>
#include <exception>
#include <stdexcept>

#include "text/EditRules.h"
#include "text/Languages.h"
#include "text/TextUtils.h"

void TTestRun::BeginQuestion(const TVocabItem& item, const TProgramOptions& options) {
  Answered = false;
  AnswerCorrect = false;
  ResponseRight = false;
  NotesRight = false;
  HintUsed = false;
  ShowingOwnAnswer = false;
  SavedResponse.clear();
  SavedNotesResponse.clear();
  ChosenEntry = nullptr;
  SlipAccepted = false;
  Revised = false;
  AnswerAdded = false;
  ResponseMarks.clear();
  // A multiple-choice question has no field to type notes into.
  TestingNotes = !MultipleChoice && !item.Values[Notes].empty() && options.TestNotes(TestMode);
}

const std::string& TTestRun::ExpectedAnswer(const TVocabItem& item) const {
  return item.Values[TestMode == kTestPassive ? Native : Foreign];
}

uint16_t TTestRun::AnswerLangID(const TVocabFile& vocab) const {
  return TestMode == kTestPassive ? vocab.NativeLangID() : vocab.ForeignLangID();
}

TAnswerRequest TTestRun::ResponseRequest(const TVocabFile& vocab,
                                         const TProgramOptions& options) const {
  TAnswerRequest request;
  request.Expected = &ExpectedAnswer(vocab.CurrentItem());
  request.LangID = AnswerLangID(vocab);
  request.Options = static_cast<TMatchOptions>(options.Flags(TestMode) | moSynonymList);
  if (IsEnglish(request.LangID)) request.Options |= options.EnglishFlags;
  return request;
}

void TTestRun::CheckAnswer(const TVocabFile& vocab, const TProgramOptions& options) {
  const TVocabItem& item = vocab.CurrentItem();
  if (MultipleChoice) {
    // By identity: another entry with the same translations is a wrong pick.
    AnswerCorrect = ChosenEntry != nullptr && ChosenEntry == &item;
    ResponseRight = AnswerCorrect;
    NotesRight = false;
    return;
  }
  const TAnswerRequest request = ResponseRequest(vocab, options);
  ResponseRight = MatchAnswer(*request.Expected, SavedResponse, request.LangID, request.Options);
  SlipAccepted = false;
  ResponseMarks.clear();
  if (!ResponseRight) {
    TSlipMatch slip = MatchSlip(*request.Expected, SavedResponse, request.LangID, request.Options);
    if (slip.Accepted) {
      ResponseRight = SlipAccepted = true;
      ResponseMarks = std::move(slip.Marks);
    } else {
      ResponseMarks =
          DifferingLetters(*request.Expected, SavedResponse, request.LangID, request.Options);
    }
  }
  if (TestingNotes) {
    NotesRight = MatchAnswer(item.Values[Notes], SavedNotesResponse, vocab.NativeLangID(),
                             kNotesMatchOptions);
    AnswerCorrect = ResponseRight && NotesRight;
  } else {
    NotesRight = false;
    AnswerCorrect = ResponseRight;
  }
}

bool TTestRun::RecordedRight(const TProgramOptions& options) const {
  return AnswerCorrect && !(HintUsed && options.DisallowHints);
}

int32_t TTestRun::PenaltyLimit(const TProgramOptions& options) {
  return options.UsePenaltyPoints ? options.MaxPenaltyPoints : 0;
}

bool TTestRun::Submit(TVocabFile& vocab, const TProgramOptions& options,
                      const std::string& response, const std::string& notesResponse,
                      const TVocabItem* chosen) {
  if (MultipleChoice) {
    ChosenEntry = chosen;
  } else {
    SavedResponse = response;
  }
  SavedNotesResponse = notesResponse;
  CheckAnswer(vocab, options);
  m_PenaltyBefore = vocab.CurrentItem().PenaltyPoints;
  m_LimitUsed = PenaltyLimit(options);
  const bool right = RecordedRight(options);
  vocab.RecordAnswer(right, m_LimitUsed);
  if (right && SlipAccepted) vocab.CountSlip();
  // A forgiven slip is shown even with AutoContinue, so that the user sees where it was.
  return !(AnswerCorrect && options.AutoContinue && !SlipAccepted);
}

void TTestRun::Revise(TVocabFile& vocab, const TProgramOptions& options) {
  if (!CanRevise()) throw std::runtime_error("Command unavailable.");
  if (!HintUsed || !options.DisallowHints) vocab.ReviseAnswer(m_PenaltyBefore, m_LimitUsed);
  ResponseRight = true;
  if (TestingNotes) NotesRight = true;
  AnswerCorrect = true;
  Revised = true;
  ResponseMarks.clear();
}

TTestRun::TAddResult TTestRun::AddAnswer(TVocabFile& vocab, const TProgramOptions& options) {
  if (!CanAddAnswer()) throw std::runtime_error("Command unavailable.");
  const TAnswerRequest request = ResponseRequest(vocab, options);
  const auto single = static_cast<TMatchOptions>(request.Options & ~moSynonymList);
  std::array<std::string, 16> expected;
  std::array<std::string, 16> typed;
  const int expectedCount = SplitList(*request.Expected, ",;", true, expected, true);
  const int typedCount = SplitList(SavedResponse, ",;", true, typed, true);
  // Only the items the field does not take yet, in the notation the edit dialog stores.
  std::string field = *request.Expected;
  for (int j = 0; j < typedCount; ++j) {
    const auto accepts = [&](const std::string& part) {
      return MatchAnswer(part, typed[j], request.LangID, single);
    };
    if (std::any_of(expected.begin(), expected.begin() + expectedCount, accepts)) continue;
    if (!Trim(field).empty()) field += ", ";
    field += CollapseSpaces(typed[j]);
  }
  if (!BracketsValid(field)) return TAddResult::InvalidBrackets;
  if (field.size() > 0xFFFF) return TAddResult::TooLong;
  if (!MatchAnswer(field, SavedResponse, request.LangID, request.Options)) {
    return TAddResult::NotAccepted;
  }
  const TVocabItem& current = vocab.CurrentItem();
  TVocabItem& edited = vocab.EditItem();
  edited.Values = current.Values;
  edited.Values[TestMode == kTestPassive ? Native : Foreign] = field;
  edited.SortPos = current.SortPos;
  // Unlike an edit in the dialog, the entry keeps its statistics: the answer did not change it.
  edited.LastAsked = current.LastAsked;
  edited.PenaltyPoints = current.PenaltyPoints;
  vocab.ReplaceCurrent();
  AnswerAdded = true;
  return TAddResult::Added;
}

std::string HintStep(const std::string& expected, const std::string& typed, uint16_t langId) {
  const auto differ = std::mismatch(expected.begin(), expected.end(), typed.begin(), typed.end());
  // The correct part ends on a whole character: bytes of a character typed only partly (a
  // different kanji sharing its first bytes, a letter without its mark) are not yet correct.
  const size_t correct =
      CharacterStart(expected, static_cast<size_t>(differ.first - expected.begin()), langId);
  // One more character than the correct part, unless that reaches the end of expected anyway.
  const size_t shown = NextCharacter(expected, correct, langId);
  if (shown < expected.size()) return expected.substr(0, shown);
  return expected;
}

int32_t ChoiceTypeAhead(const TVocabItemArray& rows, int32_t selected, const std::string& typed,
                        uint16_t foreignLangID) {
  const auto count = static_cast<int32_t>(rows.size());
  if (count == 0 || typed.empty()) return -1;
  if (selected < -1 || selected >= count) selected = -1;
  const std::string key = LocaleLowerCase(typed, foreignLangID);
  for (int32_t k = 1; k <= count; ++k) {
    const int32_t r = (selected + k) % count;
    if (rows[r] == nullptr) continue;
    const TVocabItem& item = *rows[r];
    const std::string& word = item.Values[Foreign];
    // SortPos comes from files too; keep it within the text.
    const size_t skip = static_cast<size_t>(std::clamp<int64_t>(item.SortPos, 0, word.size()));
    // The first character holding a letter or digit, which begins with the typed one (a
    // Devanagari syllable with its vowel sign begins with its consonant).
    const std::string first = FirstLetterLowerCase(word, skip, foreignLangID);
    if (!first.empty() && first.starts_with(key)) return r;
  }
  return -1;
}
