// SPDX-License-Identifier: MIT
// What a field sounds like when spoken, and which installed voice speaks a language.
#include "text/SpeechText.h"

#include <unicode/uloc.h>

#include <algorithm>
#include <cctype>
#include <string_view>

namespace {

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= 0x20;
}

// One "/" piece without brackets, its blanks collapsed and trimmed.
std::string TidyPiece(std::string_view piece) {
  std::string out;
  bool blank = false;
  for (const char c : piece) {
    if (c == '(' || c == ')') continue;
    if (IsBlank(c)) {
      blank = !out.empty();
      continue;
    }
    if (blank) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

struct TLocaleParts {
  std::string Language;
  std::string Territory;
};

// "de_DE", "de-AT", "zh_Hans_CN", "es_419": the language, and the first later part of two
// letters or three digits as the territory.
TLocaleParts SplitLocale(const std::string& locale) {
  TLocaleParts parts;
  size_t start = 0;
  bool first = true;
  while (start <= locale.size()) {
    size_t end = locale.find_first_of("_-.@", start);
    if (end == std::string::npos) end = locale.size();
    std::string part = locale.substr(start, end - start);
    if (first) {
      for (char& c : part) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      parts.Language = part;
      first = false;
    } else if (parts.Territory.empty() &&
               ((part.size() == 2 && std::isalpha(static_cast<unsigned char>(part[0])) &&
                 std::isalpha(static_cast<unsigned char>(part[1]))) ||
                (part.size() == 3 && std::all_of(part.begin(), part.end(), [](char c) {
                   return std::isdigit(static_cast<unsigned char>(c)) != 0;
                 })))) {
      for (char& c : part) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      parts.Territory = part;
    }
    // Encoding and modifier ("de_DE.UTF-8", "sr@latin") end the name.
    if (end >= locale.size() || locale[end] == '.' || locale[end] == '@') break;
    start = end + 1;
  }
  return parts;
}

}  // namespace

std::string SpeechText(const std::string& text) {
  const std::string_view rest = text;
  std::string out;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t slash = rest.find('/', start);
    if (slash == std::string_view::npos) slash = rest.size();
    const std::string piece = TidyPiece(rest.substr(start, slash - start));
    if (!piece.empty()) {
      if (!out.empty()) out += ", ";
      out += piece;
    }
    start = slash + 1;
  }
  return out;
}

std::string LanguageLocaleName(uint16_t langId) {
  if (langId == 0) return {};
  char locale[ULOC_FULLNAME_CAPACITY];
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n = uloc_getLocaleForLCID(langId, locale, ULOC_FULLNAME_CAPACITY, &status);
  if (U_FAILURE(status) || n <= 0 || n >= ULOC_FULLNAME_CAPACITY) return {};
  return std::string(locale, static_cast<size_t>(n));
}

int ChooseVoice(const std::string& wanted, const std::vector<std::string>& available) {
  const TLocaleParts want = SplitLocale(wanted);
  if (want.Language.empty()) return -1;
  int sameLanguage = -1;
  for (size_t i = 0; i < available.size(); ++i) {
    const TLocaleParts have = SplitLocale(available[i]);
    if (have.Language != want.Language) continue;
    if (have.Territory == want.Territory) return static_cast<int>(i);
    if (sameLanguage < 0) sameLanguage = static_cast<int>(i);
  }
  return sameLanguage;
}
