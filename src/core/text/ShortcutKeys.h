// SPDX-License-Identifier: MIT
// The fixed table of keys that the user can assign characters to.
#pragma once

#include <array>
#include <cstdint>

// A key combination as a 16-bit code: the virtual key code ('A'..'Z', 0x71 F2 .. 0x7B F12) in
// the low byte, plus these modifier bits.
constexpr uint16_t kScShift = 0x2000, kScCtrl = 0x4000, kScAlt = 0x8000;
constexpr uint8_t kVkF1 = 0x70;

// The 92 keys, in the order of the options' ShortcutChars: Ctrl+Shift+A..Z, Ctrl+Alt+A..Z, then
// Shift, Ctrl, Ctrl+Shift and Ctrl+Alt each with F2..F9, F11, F12. None of them is a command key
// of the main window; F1 and F10 are left to help and the menu bar.
const std::array<uint16_t, 92>& ShortcutKeyTable();

// The index of code in the table, or -1.
int FindShortcutKey(uint16_t code);
