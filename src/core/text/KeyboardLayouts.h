// SPDX-License-Identifier: MIT
// Keyboard layout switching: which layout a field wants and the switcher over a layout backend.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The language tags of fields: a field for the vocabulary's foreign or native language. Any
// other tag means the field holds no particular language.
constexpr int kTagForeign = -1, kTagNative = -2;

// The language a field with tag holds: foreign for kTagForeign, native for kTagNative, else 0.
uint16_t TagLanguage(int tag, uint16_t foreignLang, uint16_t nativeLang);

// The keyboard layouts of the system, in the order of their groups. Implementations are cheap
// enough to be asked on every idle pass.
class TKeyboardLayouts {
public:
  virtual ~TKeyboardLayouts() = default;
  // The layout name of each group ("us", "de", "ru"); empty when layouts cannot be switched.
  virtual std::vector<std::string> Layouts() = 0;
  // The active group, counted from 0.
  virtual int CurrentGroup() = 0;
  virtual void LockGroup(int group) = 0;
};

// A system whose layouts the program cannot switch: one group, which stays.
class TNoKeyboardLayouts : public TKeyboardLayouts {
public:
  std::vector<std::string> Layouts() override { return {}; }
  int CurrentGroup() override { return 0; }
  void LockGroup(int) override {}
};

// The layout names that suit a language, best first ("at" then "de" for Austrian German). A
// language missing from the table is looked up by its primary language; none: empty.
std::vector<std::string_view> LanguageLayoutNames(uint16_t langId);

// The group among layouts whose layout suits the language (the first group of the best name),
// or -1. A layout's variant in parentheses is ignored: "de(nodeadkeys)" suits German.
int FindLayoutGroup(const std::vector<std::string>& layouts, uint16_t langId);

// The layouts of the comma-separated list of a keyboard's rule names ("us,de,ru").
std::vector<std::string> SplitLayoutList(std::string_view list);

// The layouts of a compiled keymap's symbols name ("pc+us+de:2+ru:3+inet(evdev)"), by group: a
// part with ":n" is the layout of group n, the first other part that is not a common keyboard
// part (pc, inet, group, ...) is group 1's. Groups without a layout get an empty name.
std::vector<std::string> SymbolsLayouts(std::string_view symbols);

// Follows the focused field with the layout of its language. The default layout is the one
// active when the switcher was made or, later, when the program last became active; fields of
// no language, languages without a layout and message boxes get it.
class TKeyboardSwitcher {
public:
  explicit TKeyboardSwitcher(TKeyboardLayouts& layouts);

  // Makes the layout of language (0: the default layout) the active one, unless it already is.
  // Does nothing while enabled is false, so the user's own choice stands.
  void Switch(bool enabled, uint16_t language);
  // The program became active: the layout active now becomes the default.
  void Activated();
  // The program stops being active: the layout lock is global to the display, so the default
  // layout is given back to the other programs.
  void Deactivated(bool enabled);
  int DefaultGroup() const { return m_DefaultGroup; }

private:
  TKeyboardLayouts& m_Layouts;
  int m_DefaultGroup = 0;
  // The list is read again whenever the wanted language changes, so a layout added while the
  // program runs is found at the next change of field.
  std::vector<std::string> m_LayoutNames;
  uint16_t m_LastLanguage = 0;
  bool m_NamesRead = false;
};
