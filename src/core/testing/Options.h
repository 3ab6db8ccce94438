// SPDX-License-Identifier: MIT
// The program options record, its shortcut characters and its settings byte block.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// A character assigned to one shortcut key: the 8-bit code it types (0: the key types nothing)
// and the character set the options dialog shows it in.
struct TShortcutChar {
  uint8_t Code = 0;
  uint8_t Charset = 0;
  bool operator==(const TShortcutChar&) const = default;
};

constexpr int kShortcutKeyCount = 92;

// Comparison option bits of PassiveFlags/ActiveFlags and of EnglishFlags.
constexpr uint16_t kDirectionFlagsMask = 0x00FE;
constexpr uint16_t kEnglishFlagsMask = 0x0700;

// The program options. The member initialisers are the defaults of a first start. Colours are
// 0x00BBGGRR values. Pairs of fields are indexed by the test direction (TestMode 0: into the
// native language, 1: into the foreign language) or by a right/wrong flag through the helpers.
struct TProgramOptions {
  bool AppendNewWords = false;
  bool ConfirmDuplicates = true;
  bool ConfirmNoSort = false;
  bool ConfirmNoCategory = false;
  bool SkipNotes = false;
  uint32_t LearntColour = 0x808080;
  std::array<TShortcutChar, kShortcutKeyCount> ShortcutChars{};
  bool KeyboardSwitching = true;
  bool TestNotesPassive = false;
  bool TestNotesActive = false;
  int32_t NumChoices = 4;
  uint16_t PassiveFlags = 0x00FE;
  uint16_t ActiveFlags = 0x00FE;
  uint16_t EnglishFlags = 0x0700;
  bool AutoContinue = false;
  uint32_t WrongColour = 0x0000FF;
  uint32_t RightColour = 0xFF0000;
  int32_t WrongDelay = 0;
  bool UsePenaltyPoints = false;
  int32_t MaxPenaltyPoints = 3;
  bool DisallowHints = false;

  bool TestNotes(int testMode) const { return testMode == 0 ? TestNotesPassive : TestNotesActive; }
  uint16_t Flags(int testMode) const { return testMode == 0 ? PassiveFlags : ActiveFlags; }
  uint32_t FeedbackColour(bool right) const { return right ? RightColour : WrongColour; }

  bool operator==(const TProgramOptions&) const = default;
};

// Ranges the options dialog accepts; values outside them are never in a sound record.
constexpr int32_t kMinChoices = 3, kMaxChoices = 10;
constexpr int32_t kMinPenaltyPoints = 1, kMaxPenaltyPoints = 5;
constexpr int32_t kMinWrongDelay = 0, kMaxWrongDelay = 20;

// The stored form: 236 bytes, little-endian, padding written as 0.
constexpr size_t kProgramOptionsSize = 236;

std::string EncodeProgramOptions(const TProgramOptions& options);

// Reads a stored block into options. A block longer than the record is damaged: options becomes
// the defaults. A shorter one is read as far as it goes and the rest of options keeps what it
// held. Afterwards every field is brought into its range (see BoundProgramOptions).
void DecodeProgramOptions(const std::string& bytes, TProgramOptions& options);

// Replaces values that no dialog can produce and that would mislead the program: a number of
// choices, penalty maximum or delay out of range and a colour above 0xFFFFFF get their defaults;
// flag words lose bits that have no meaning; a shortcut that would type a control character is
// cleared.
void BoundProgramOptions(TProgramOptions& options);
