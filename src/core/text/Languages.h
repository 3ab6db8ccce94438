// SPDX-License-Identifier: MIT
// The language table and the locale operations (ICU) that depend on a language.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A language is a 16-bit Windows language identifier: primary language in the low 10 bits,
// sub-language above.
// Vocabulary text is 8-bit in the language's ANSI code page, or UTF-8 for the languages whose
// code page is kUtf8CodePage; UTF-16 is std::u16string.
// The ICU converters and collators behind these are opened once per thread and language.

struct TLangInfo {
  uint16_t LangId = 0;
  std::string LangName;  // English name, as shown in language lists
  std::string LangCode;  // two letters, first upper case ("En")
  int32_t CodePage = 0;  // 0 for a language not in the table
};

constexpr int kLanguageCount = 88;
// The code page value of the languages whose texts are stored as UTF-8 (scripts no 8-bit code
// page holds).
constexpr int32_t kUtf8CodePage = 65001;
// The table in its fixed order (the order of the language lists).
const std::array<TLangInfo, kLanguageCount>& LanguageTable();

// The first row with this id, or an empty row (id 0, empty texts, CodePage 0).
TLangInfo FindLanguage(uint16_t langId);
// The code page the conversions use: the row's, or 1252 for a language not in the table.
int32_t LanguageCodePage(uint16_t langId);
// Font character set of the language's code page (238, 204, 161, 162, 186 or 0).
uint8_t LanguageCharset(uint16_t langId);
// " CE", " Cyr", " Greek", " Tur", " Baltic" or empty.
std::string CharsetFontSuffix(uint8_t charset);
bool IsEnglish(uint16_t langId);
// True when the language's texts are UTF-8.
bool IsUtf8Language(uint16_t langId);
// True for Arabic, Persian and Hebrew: their texts run from right to left.
bool IsRightToLeft(uint16_t langId);
// The table's language for a locale code such as "de", "en_GB", "pt-BR" or "nb" (other programs'
// files name languages so): the row with the locale's own identifier when the table has it, else
// the row of the same primary language and two-letter code (its default sub-language first).
// 0 when the table has no such language.
uint16_t LanguageFromLocale(const std::string& locale);

// Locale operations on 8-bit text in the language's code page. They return the text unchanged
// when the locale service fails.
std::string LocaleLowerCase(const std::string& text, uint16_t langId);
std::string StripAccents(const std::string& text, uint16_t langId);
// Only letters and digits, plus blanks unless dropSpaces.
std::string LettersDigitsOnly(const std::string& text, uint16_t langId, bool dropSpaces);
// Every character that is not a letter or digit (blanks included) replaced by replacement.
std::string ReplaceNonWordChars(const std::string& text, uint16_t langId, char replacement);
// Case-insensitive collation key of LettersDigitsOnly(text, keep blanks): its byte order is the
// language's alphabetical order. Empty for empty text. Throws std::runtime_error on failure.
std::string MakeSortKey(const std::string& text, uint16_t langId);

// Characters as a reader sees them (grapheme clusters: a base letter with its marks, a syllable
// of Hangul, an emoji sequence). Positions are byte offsets into the stored text.
// The byte offset just past the character that starts at pos (text.size() at the end).
size_t NextCharacter(const std::string& text, size_t pos, uint16_t langId);
// The start of the character that holds byte pos: the largest character boundary <= pos (so
// cutting there never splits a character). text.size() for pos beyond the text.
size_t CharacterStart(const std::string& text, size_t pos, uint16_t langId);
// True when every byte is a character of its own in this language (the 8-bit code pages without
// combining marks), so byte loops step by character.
bool BytesAreCharacters(uint16_t langId);
// The first character of text at or after byte skip that holds a letter or digit, lower-cased;
// empty when there is none.
std::string FirstLetterLowerCase(const std::string& text, size_t skip, uint16_t langId);
// The characters a language uses (ICU's exemplar set: for Japanese the kana and common kanji),
// then its punctuation, each as one UTF-16 string. Empty when ICU has no data for the language.
std::vector<std::u16string> ExemplarCharacters(uint16_t langId);

// Conversions. AnsiToWide and WideToAnsi throw std::runtime_error when conversion fails;
// characters the code page lacks become its default character.
std::u16string AnsiToWide(const std::string& text, uint16_t langId);
std::string WideToAnsi(const std::u16string& text, uint16_t langId);
// "&#65;&#98;" for "Ab": every UTF-16 code unit as a decimal character reference.
std::string HtmlCharRefs(const std::string& text, uint16_t langId);
// The bytes read as little-endian UTF-16 code units; an odd last byte is dropped.
std::u16string BytesToWide(const std::string& bytes);
// Turns big-endian UTF-16 (first unit 0xFFFE) into little-endian, then drops a leading 0xFEFF.
void NormaliseByteOrder(std::u16string& text);

// Per code point, for loops over UTF-8 text: a letter, digit or combining mark; and a character
// that lower-casing and accent stripping leave as it is whatever surrounds it (most kana, kanji,
// Hangul and digits).
bool IsWordCharacter(int32_t codePoint);
bool IsInertCharacter(int32_t codePoint);

// Byte-for-byte forms of the locale operations, for loops over many texts (search). Where
// Exact[b] holds, byte b becomes Map[b] whatever surrounds it, so a text made only of exact bytes
// gives, mapped byte by byte, exactly what the full operation gives. Bytes that depend on their
// neighbours (Greek capital sigma) or change length are not exact. The tables stay valid for the
// life of the calling thread.
struct TByteMap {
  std::array<uint8_t, 256> Map{};
  std::array<bool, 256> Exact{};
};
const TByteMap& LowerCaseMap(uint16_t langId);
const TByteMap& StripAccentsMap(uint16_t langId);
// True for the bytes that are letters or digits (or combining marks) of the language. For UTF-8
// only the ASCII bytes can be true; see BytesAreCharacters.
const std::array<bool, 256>& WordCharMap(uint16_t langId);
