// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <set>
#include <string_view>

#include "testing/Options.h"
#include "text/Languages.h"
#include "text/ShortcutKeys.h"

// The table is indexed by the stored assignments, so its order is part of the stored format.
TEST(ShortcutKeyTable, OrderAndCodes) {
  const auto& table = ShortcutKeyTable();
  static_assert(std::tuple_size_v<std::remove_cvref_t<decltype(table)>> == kShortcutKeyCount);
  EXPECT_EQ(table[0], 0x6041);   // Ctrl+Shift+A
  EXPECT_EQ(table[25], 0x605A);  // Ctrl+Shift+Z
  EXPECT_EQ(table[26], 0xC041);  // Ctrl+Alt+A
  EXPECT_EQ(table[51], 0xC05A);  // Ctrl+Alt+Z
  EXPECT_EQ(table[52], 0x2071);  // Shift+F2
  EXPECT_EQ(table[59], 0x2078);  // Shift+F9
  EXPECT_EQ(table[60], 0x207A);  // Shift+F11
  EXPECT_EQ(table[61], 0x207B);  // Shift+F12
  EXPECT_EQ(table[62], 0x4071);  // Ctrl+F2
  EXPECT_EQ(table[72], 0x6071);  // Ctrl+Shift+F2
  EXPECT_EQ(table[82], 0xC071);  // Ctrl+Alt+F2
  EXPECT_EQ(table[91], 0xC07B);  // Ctrl+Alt+F12
  std::set<uint16_t> distinct(table.begin(), table.end());
  EXPECT_EQ(distinct.size(), table.size());
  for (const uint16_t code : table) {
    const int key = code & 0xFF;
    // Never F1 or F10, never a key without Ctrl or Shift.
    EXPECT_NE(key, 0x70);
    EXPECT_NE(key, 0x79);
    EXPECT_NE(code & (kScCtrl | kScShift), 0);
  }
}

TEST(ShortcutKeyTable, FindGivesTheFirstIndexOrNone) {
  const auto& table = ShortcutKeyTable();
  for (size_t i = 0; i < table.size(); ++i) EXPECT_EQ(FindShortcutKey(table[i]), int(i));
  EXPECT_EQ(FindShortcutKey(0x4043), -1);  // Ctrl+C
  EXPECT_EQ(FindShortcutKey(0x0041), -1);
  EXPECT_EQ(FindShortcutKey(0x7071), -1);  // a Shift with a stray bit
}

TEST(AccentKeys, NumbersAndComposedCharacters) {
  const std::string_view accents = "'`:^~@,/&";
  for (size_t i = 0; i < accents.size(); ++i) EXPECT_EQ(AccentNumber(accents[i]), int(i) + 1);
  for (const char32_t other : {U'a', U'"', U'.', U'\0', U'\u00B4', U'\u2019'}) {
    EXPECT_EQ(AccentNumber(other), 0);
  }
  struct TCase {
    char Accent;
    char32_t Letter;
    int Code;
  };
  const TCase cases[] = {
      {'\'', 'a', 0xE1},     {'\'', 'A', 0xC1}, {'\'', 'd', 0xF0}, {'\'', 'D', 0xD0},
      {'\'', 'y', 0xFD},     {'`', 'e', 0xE8},  {'`', 'U', 0xD9},  {':', 'u', 0xFC},
      {':', 'Y', 0x9F},      {':', 'y', 0xFF},  {'^', 'o', 0xF4},  {'~', 'n', 0xF1},
      {'~', 'O', 0xD5},      {'@', 'A', 0xC5},  {',', 'c', 0xE7},  {'/', 'O', 0xD8},
      {'&', 'a', 0xE6},      {'&', 'o', 0x9C},  {'&', 'O', 0x8C},  {'&', 's', 0xDF},
      {'&', 'S', 0xDF},      {'\'', 'b', -1},   {'`', 'y', -1},    {'~', 'e', -1},
      {'\'', U'\u00E9', -1}, {'\'', '\'', -1},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(ComposeAccent(AccentNumber(c.Accent), c.Letter), c.Code)
        << c.Accent << char(c.Letter);
  }
  EXPECT_EQ(ComposeAccent(0, 'a'), -1);
  EXPECT_EQ(ComposeAccent(10, 'a'), -1);
}

// The sequences a user types: the accent waits for the next character, anywhere.
TEST(AccentKeys, ComposerRemembersOneAccent) {
  TAccentComposer composer;
  EXPECT_EQ(composer.Character('a'), -1);  // nothing pending
  EXPECT_TRUE(composer.CtrlKey('\''));
  EXPECT_EQ(composer.PendingAccent(), 1);
  EXPECT_EQ(composer.Character('A'), 0xC1);
  EXPECT_EQ(composer.Character('A'), -1);  // used up
  EXPECT_TRUE(composer.CtrlKey('\''));
  EXPECT_EQ(composer.Character('b'), -1);  // no form: typed as it is, accent gone
  EXPECT_EQ(composer.PendingAccent(), 0);
  // The second accent replaces the first.
  EXPECT_TRUE(composer.CtrlKey('`'));
  EXPECT_TRUE(composer.CtrlKey('\''));
  EXPECT_EQ(composer.Character('e'), 0xE9);
  // Any other Ctrl key that types a character (Ctrl+C) clears a waiting accent.
  EXPECT_TRUE(composer.CtrlKey('&'));
  EXPECT_FALSE(composer.CtrlKey('c'));
  EXPECT_EQ(composer.Character('s'), -1);
}

TEST(CharsetLanguage, EachSetHasItsCodePage) {
  for (const int charset : {0, 186, 238, 204, 161, 162}) {
    EXPECT_EQ(LanguageCharset(CharsetLanguage(static_cast<uint8_t>(charset))), charset);
  }
  EXPECT_EQ(CharsetLanguage(77), CharsetLanguage(0));
}
