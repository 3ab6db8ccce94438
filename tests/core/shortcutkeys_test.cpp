// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <set>

#include "testing/Options.h"
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
    const uint8_t key = code & 0xFF;
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
