// SPDX-License-Identifier: MIT
// Normalisation of texts for searching and the per-field matcher.
#include "text/Search.h"

#include <unicode/utf8.h>

#include <string_view>

#include "text/Languages.h"

std::string NormaliseForSearch(const std::string& text, uint16_t langId, uint8_t options) {
  std::string result = text;
  if ((options & sdMatchCase) == 0) result = LocaleLowerCase(result, langId);
  if ((options & sdMatchAccents) == 0) result = StripAccents(result, langId);
  if ((options & sdWholeWord) != 0)
    result = '\t' + ReplaceNonWordChars(result, langId, '\t') + '\t';
  return result;
}

TSearchMatcher::TSearchMatcher(const std::string& text, uint16_t langId, uint8_t options,
                               uint8_t mode)
    : m_Key(NormaliseForSearch(text, langId, options)),
      m_LangId(langId),
      m_Options(options),
      m_Mode(mode),
      m_Utf8(IsUtf8Language(langId)) {
  const TByteMap& lower = LowerCaseMap(langId);
  const TByteMap& strip = StripAccentsMap(langId);
  const std::array<bool, 256>& word = WordCharMap(langId);
  // Each step is exact on a byte when it maps that byte on its own; the composition is exact
  // when every step it goes through is.
  for (int b = 0; b < 256; ++b) {
    uint8_t x = static_cast<uint8_t>(b);
    bool exact = true;
    if ((options & sdMatchCase) == 0) {
      exact = lower.Exact[x];
      x = lower.Map[x];
    }
    if (exact && (options & sdMatchAccents) == 0) {
      exact = strip.Exact[x];
      x = strip.Map[x];
    }
    if (exact && (options & sdWholeWord) != 0 && !word[x]) x = '\t';
    // A UTF-8 byte above 0x7F is part of a character, which is judged whole.
    if (m_Utf8 && b >= 0x80) exact = false;
    m_Exact[b] = exact;
    m_Map[b] = x;
  }
}

bool TSearchMatcher::MapExact(const std::string& text) {
  const bool wholeWord = (m_Options & sdWholeWord) != 0;
  m_Buffer.resize(text.size() + (wholeWord ? 2 : 0));
  char* out = m_Buffer.data();
  if (wholeWord) *out++ = '\t';
  const auto size = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < size;) {
    const auto b = static_cast<uint8_t>(text[i]);
    if (m_Exact[b]) {
      *out++ = static_cast<char>(m_Map[b]);
      ++i;
      continue;
    }
    // A UTF-8 character that neither lower-casing nor accent stripping changes stays as it is
    // (a non-letter turned into tabs, byte for byte, for whole words).
    if (!m_Utf8 || b < 0x80) return false;
    int32_t next = i;
    UChar32 ch;
    U8_NEXT(text.data(), next, size, ch);
    if (!IsInertCharacter(ch)) return false;
    const bool tabs = wholeWord && !IsWordCharacter(ch);
    for (; i < next; ++i) *out++ = tabs ? '\t' : text[i];
  }
  if (wholeWord) *out = '\t';
  return true;
}

bool TSearchMatcher::Matches(const std::string& fieldText) {
  if (!MapExact(fieldText)) m_Buffer = NormaliseForSearch(fieldText, m_LangId, m_Options);
  const std::string_view field(m_Buffer);
  switch (m_Mode) {
    case smAnyPart:
      return field.find(m_Key) != std::string_view::npos;
    case smStartOfField:
      return field.starts_with(m_Key);
    case smEndOfField:
      return field.ends_with(m_Key);
    case smWholeField:
      return field == m_Key;
    default:
      return false;
  }
}
