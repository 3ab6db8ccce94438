// SPDX-License-Identifier: MIT
// The keyboard aids: the keys that type assigned characters and the Ctrl accent keys.
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

// A language whose code page is that of the font character set (0 Western, 186 Baltic, 238
// Central European, 204 Cyrillic, 161 Greek, 162 Turkish; any other: Western). An assigned
// character's code means the character of that code page.
uint16_t CharsetLanguage(uint8_t charset);

// The accent characters "'`:^~@,/&", numbered 1 to 9; 0 for any other character.
int AccentNumber(char32_t c);

// The Windows-1252 code of letter carrying the accent (1..9); -1 when the letter has no such
// form (then the letter is typed as it is). "&" makes ligatures and the sharp s: &a = 0xE6,
// &o = 0x9C, &s and &S = 0xDF.
int ComposeAccent(int accent, char32_t letter);

// Composition of accented letters across key presses: Ctrl with an accent key, then a letter.
// Lives as long as the program, so an accent pressed in one field applies in the next.
class TAccentComposer {
public:
  // A key pressed with Ctrl (and without Alt) that types c without Ctrl. Remembers the accent
  // and returns true (swallow the key) for an accent key; any other character clears it.
  bool CtrlKey(char32_t c);
  // A typed character while no Ctrl is held: the Windows-1252 code to type instead, or -1 to
  // type c itself. Either way the accent is used up.
  int Character(char32_t c);
  // The accent waiting for its letter (1..9), 0 for none.
  int PendingAccent() const { return m_PendingAccent; }

private:
  int m_PendingAccent = 0;
};
