// SPDX-License-Identifier: MIT
// The fixed table of keys that the user can assign characters to.
#include "text/ShortcutKeys.h"

#include <algorithm>

namespace {
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
