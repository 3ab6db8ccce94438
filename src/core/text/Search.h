// SPDX-License-Identifier: MIT
// The search request of the Find window and the matcher that applies it to one field.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// TSearchData::Options
constexpr uint8_t sdMatchCase = 1;
constexpr uint8_t sdMatchAccents = 2;
constexpr uint8_t sdWholeWord = 4;

// TSearchData::Mode
enum TSearchMode : uint8_t {
  smAnyPart = 0,  // "Any part of field"
  smStartOfField = 1,
  smEndOfField = 2,
  smWholeField = 3,
};

// The one search request, owned by the main window for the whole run and never saved.
struct TSearchData {
  std::string Text;     // what to look for
  uint8_t Field = 0;    // 0 word/phrase, 1 part of speech, 2 notes, 3 translations
  uint8_t Options = 0;  // sdMatchCase | sdMatchAccents | sdWholeWord
  uint8_t Mode = 0;     // TSearchMode
};

// The text as searching compares it: lower-cased unless sdMatchCase, accents stripped unless
// sdMatchAccents, and with sdWholeWord every non-letter-or-digit (blanks too) turned into a tab
// and one tab added at each end, so that "\thouse\t" only occurs where house is a whole word.
std::string NormaliseForSearch(const std::string& text, uint16_t langId, uint8_t options);

// One request prepared for testing many texts of one language: the key is normalised once, and
// texts whose bytes all map on their own go through one composed byte table instead of ICU,
// with exactly the result NormaliseForSearch would give.
class TSearchMatcher {
public:
  TSearchMatcher(const std::string& text, uint16_t langId, uint8_t options, uint8_t mode);

  // True when the field text passes the mode's test against the key (byte for byte).
  bool Matches(const std::string& fieldText);
  const std::string& Key() const { return m_Key; }

private:
  bool MapExact(const std::string& text);

  std::string m_Key;
  uint16_t m_LangId;
  uint8_t m_Options;
  uint8_t m_Mode;
  bool m_Utf8;
  std::array<uint8_t, 256> m_Map{};
  std::array<bool, 256> m_Exact{};
  std::string m_Buffer;  // the normalised field text, reused from call to call
};
