// SPDX-License-Identifier: MIT
// The keyboard aids: the keys that type assigned characters and the Ctrl accent keys.
#include "text/ShortcutKeys.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace {
struct TAccent {
  std::string_view Source;
  std::string_view Target;  // Windows-1252 codes
};
// In the order of the accent characters "'`:^~@,/&".
constexpr std::string_view kAccentChars = "'`:^~@,/&";
constexpr std::array<TAccent, 9> kAccents = {{
    {"aeiouydAEIOUYD", "\xE1\xE9\xED\xF3\xFA\xFD\xF0\xC1\xC9\xCD\xD3\xDA\xDD\xD0"},
    {"aeiouAEIOU", "\xE0\xE8\xEC\xF2\xF9\xC0\xC8\xCC\xD2\xD9"},
    {"aeiouyAEIOUY", "\xE4\xEB\xEF\xF6\xFC\xFF\xC4\xCB\xCF\xD6\xDC\x9F"},
    {"aeiouAEIOU", "\xE2\xEA\xEE\xF4\xFB\xC2\xCA\xCE\xD4\xDB"},
    {"anoANO", "\xE3\xF1\xF5\xC3\xD1\xD5"},
    {"aA", "\xE5\xC5"},
    {"cC", "\xE7\xC7"},
    {"oO", "\xF8\xD8"},
    {"aosAOS", "\xE6\x9C\xDF\xC6\x8C\xDF"},
}};

std::array<uint16_t, 92> MakeTable() {
  std::array<uint16_t, 92> table{};
  size_t i = 0;
  for (const int modifiers : {kScCtrl | kScShift, kScCtrl | kScAlt}) {
    for (uint16_t letter = 'A'; letter <= 'Z'; ++letter) {
      table[i++] = static_cast<uint16_t>(modifiers | letter);
    }
  }
  for (const int modifiers : {int{kScShift}, int{kScCtrl}, kScCtrl | kScShift, kScCtrl | kScAlt}) {
    for (const int f : {2, 3, 4, 5, 6, 7, 8, 9, 11, 12}) {
      table[i++] = static_cast<uint16_t>(modifiers | (kVkF1 + f - 1));
    }
  }
  return table;
}
}  // namespace

const std::array<uint16_t, 92>& ShortcutKeyTable() {
  static const std::array<uint16_t, 92> table = MakeTable();
  return table;
}

int FindShortcutKey(uint16_t code) {
  const auto& table = ShortcutKeyTable();
  const auto found = std::find(table.begin(), table.end(), code);
  return found == table.end() ? -1 : static_cast<int>(found - table.begin());
}

uint16_t CharsetLanguage(uint8_t charset) {
  switch (charset) {
    case 186:
      return 0x0426;  // Latvian, 1257
    case 238:
      return 0x0405;  // Czech, 1250
    case 204:
      return 0x0419;  // Russian, 1251
    case 161:
      return 0x0408;  // Greek, 1253
    case 162:
      return 0x041F;  // Turkish, 1254
    default:
      return 0x0409;  // 1252
  }
}

int AccentNumber(char32_t c) {
  if (c == 0 || c > 0x7F) return 0;
  const size_t found = kAccentChars.find(static_cast<char>(c));
  return found == std::string_view::npos ? 0 : static_cast<int>(found) + 1;
}

int ComposeAccent(int accent, char32_t letter) {
  if (accent < 1 || accent > static_cast<int>(kAccents.size()) || letter == 0 || letter > 0x7F) {
    return -1;
  }
  const TAccent& a = kAccents[static_cast<size_t>(accent - 1)];
  const size_t found = a.Source.find(static_cast<char>(letter));
  return found == std::string_view::npos ? -1 : static_cast<unsigned char>(a.Target[found]);
}

bool TAccentComposer::CtrlKey(char32_t c) {
  m_PendingAccent = AccentNumber(c);
  return m_PendingAccent != 0;
}

int TAccentComposer::Character(char32_t c) {
  const int accent = std::exchange(m_PendingAccent, 0);
  return accent == 0 ? -1 : ComposeAccent(accent, c);
}
