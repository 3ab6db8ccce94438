// SPDX-License-Identifier: MIT
// The state of a test run's current question and the rules that judge, record and hint it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "testing/Options.h"
#include "text/Matching.h"
#include "text/Slip.h"
#include "vocab/VocFile.h"

// What a typed answer is compared with: the stored text, the language it is in and the
// comparison options.
struct TAnswerRequest {
  const std::string* Expected = nullptr;
  uint16_t LangID = 0;
  TMatchOptions Options = 0;
};

// The test direction: into the native language (the word/phrase is asked, the translations are
// typed) or into the foreign language (the reverse).
constexpr uint8_t kTestPassive = 0;
constexpr uint8_t kTestActive = 1;

// The question being asked by the main window, from the moment it is shown until the next one.
// The entry asked is always the vocabulary's current entry. The window shows this state and
// forwards the user's commands to it; nothing here knows about widgets.
class TTestRun {
public:
  uint8_t TestMode = kTestPassive;
  bool MultipleChoice = false;

  bool Answered = false;       // the answer was marked; Enter now continues
  bool AnswerCorrect = false;  // overall result of the last check
  bool ResponseRight = false;  // the typed response was accepted
  bool NotesRight = false;     // the typed notes were accepted
  bool TestingNotes = false;   // the notes are asked as part of this question
  bool HintUsed = false;
  bool ShowingOwnAnswer = false;
  std::string SavedResponse;
  std::string SavedNotesResponse;
  const TVocabItem* ChosenEntry = nullptr;  // the picked entry of a multiple-choice answer
  bool SlipAccepted = false;  // the response was accepted with one typing slip forgiven
  bool Revised = false;       // the user said the answer was right (Revise)
  bool AnswerAdded = false;   // the response was added to the entry (AddAnswer)
  // The letters of SavedResponse that slipped, or after a wrong response those that differ from
  // the closest acceptable answer.
  std::vector<TLetterSpan> ResponseMarks;

  // Starts asking item: clears the per-question state and decides whether its notes are tested
  // (only typed answers, only when item has notes and the option of this direction is on).
  void BeginQuestion(const TVocabItem& item, const TProgramOptions& options);

  // The text a typed answer to item must match: its translations into the native language, its
  // word/phrase into the foreign one.
  const std::string& ExpectedAnswer(const TVocabItem& item) const;
  // The language typed answers are in: native into the native language, else foreign.
  uint16_t AnswerLangID(const TVocabFile& vocab) const;
  // The full comparison request for the typed response to the current entry: the direction's
  // option word with moSynonymList added, and the English options only when the answer
  // language is English.
  TAnswerRequest ResponseRequest(const TVocabFile& vocab, const TProgramOptions& options) const;

  // Judges the answer to the vocabulary's current entry from SavedResponse, SavedNotesResponse
  // and ChosenEntry: sets ResponseRight, NotesRight and AnswerCorrect. A multiple-choice answer
  // is right only when the picked entry is the current entry itself (not an equal text).
  void CheckAnswer(const TVocabFile& vocab, const TProgramOptions& options);

  // What the vocabulary is told after CheckAnswer: a correct answer after a hint counts as wrong
  // when hints are disallowed.
  bool RecordedRight(const TProgramOptions& options) const;
  // The penalty limit passed to RecordAnswer: MaxPenaltyPoints when penalty points are used,
  // else 0.
  static int32_t PenaltyLimit(const TProgramOptions& options);

  // The submit step of Enter while asking: saves the responses (response when typed, chosen for
  // multiple choice, notesResponse always), checks, records the answer in vocab and returns
  // whether the window must show the result (false only for a correct answer with AutoContinue
  // on, which goes straight to the next question, unless a typing slip was forgiven). Does not set
  // Answered: the window sets it when it shows the result (MarkAnswered). Call it once per
  // question: each call records.
  bool Submit(TVocabFile& vocab, const TProgramOptions& options, const std::string& response,
              const std::string& notesResponse, const TVocabItem* chosen);
  void MarkAnswered() { Answered = true; }

  // "I was right": while the result of a typed answer judged wrong is shown.
  bool CanRevise() const { return Answered && !MultipleChoice && !AnswerCorrect; }
  // Judges the answer right after all and records it so, as Submit would have recorded a right
  // answer from the state before it (a hint with DisallowHints still makes it wrong). Raises
  // "Command unavailable." when CanRevise does not hold.
  void Revise(TVocabFile& vocab, const TProgramOptions& options);

  enum class TAddResult { Added, InvalidBrackets, TooLong, NotAccepted };
  // "Add my answer": while CanRevise holds or after Revise, once, for a typed response.
  bool CanAddAnswer() const {
    return Answered && !MultipleChoice && (!AnswerCorrect || Revised) && !AnswerAdded &&
           !SavedResponse.empty();
  }
  // Appends the items of SavedResponse that the expected field does not accept yet to that
  // field's list, as one undoable edit of the current entry that keeps its statistics; the
  // edited field must be valid for the edit dialog and accept the whole response afterwards,
  // else nothing changes and the result says why. Raises "Command unavailable." when
  // CanAddAnswer does not hold.
  TAddResult AddAnswer(TVocabFile& vocab, const TProgramOptions& options);

private:
  int32_t m_PenaltyBefore = 0;  // the entry's points before the answer was recorded
  int32_t m_LimitUsed = 0;      // the penalty limit it was recorded with
};

// One hint step: the correct part of typed (compared exactly, case counting) plus one more
// character of expected, or the whole of expected when only its last character was missing or
// typed already holds all of it. "Hau" -> "Haus", "Hxyz" -> "Ha", "haus" -> "H",
// "Hausboot" -> "Haus", "" -> "H".
// Steps by whole characters (grapheme clusters) of the language: never half a kanji or a
// letter without its mark.
std::string HintStep(const std::string& expected, const std::string& typed, uint16_t langId = 0);

// Type-ahead in the multiple-choice list into the foreign language: the row, after selected and
// wrapping (from row 0 with no selection, selected = -1), whose word/phrase, past its sorting
// prefix (SortPos characters) and any leading characters that are neither letters nor digits,
// begins with typed (one character in the foreign code page), compared lower-cased in the
// foreign language. A selected row out of range counts as none. -1 when no row does, for empty
// rows and for empty typed.
int32_t ChoiceTypeAhead(const TVocabItemArray& rows, int32_t selected, const std::string& typed,
                        uint16_t foreignLangID);
