// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/KeyboardLayouts.h"
#include "text/Languages.h"

namespace {
constexpr uint16_t kGerman = 0x0407, kRussian = 0x0419, kEnglishUs = 0x0409, kFrench = 0x040C;

// A keyboard with fixed layouts that records every lock and counts its questions.
class TFakeLayouts : public TKeyboardLayouts {
public:
  explicit TFakeLayouts(std::vector<std::string> layouts, int group = 0)
      : Names(std::move(layouts)), Group(group) {}
  std::vector<std::string> Layouts() override {
    ++NameReads;
    return Names;
  }
  int CurrentGroup() override { return Group; }
  void LockGroup(int group) override {
    Group = group;
    Locks.push_back(group);
  }
  std::vector<std::string> Names;
  int Group;
  std::vector<int> Locks;
  int NameReads = 0;
};
}  // namespace

TEST(TagLanguage, ForeignNativeAndAnyOtherTag) {
  EXPECT_EQ(TagLanguage(kTagForeign, kGerman, kEnglishUs), kGerman);
  EXPECT_EQ(TagLanguage(kTagNative, kGerman, kEnglishUs), kEnglishUs);
  for (const int tag : {0, 1, -3, 2}) EXPECT_EQ(TagLanguage(tag, kGerman, kEnglishUs), 0) << tag;
}

// Every language the program offers has a layout, so switching works for each of them.
TEST(LanguageLayoutNames, EveryLanguageOfTheTableHasOne) {
  for (const TLangInfo& lang : LanguageTable()) {
    EXPECT_FALSE(LanguageLayoutNames(lang.LangId).empty()) << lang.LangName;
  }
  EXPECT_TRUE(LanguageLayoutNames(0).empty());
  EXPECT_TRUE(LanguageLayoutNames(0x0470).empty());  // Igbo: not in the table
  // Another sub-language of a known language takes the first row of that language.
  EXPECT_EQ(LanguageLayoutNames(0x7C07), (std::vector<std::string_view>{"at", "de"}));
}

TEST(FindLayoutGroup, BestNameFirstVariantsIgnored) {
  const std::vector<std::string> layouts{"us", "de(nodeadkeys)", "ru", "ch"};
  EXPECT_EQ(FindLayoutGroup(layouts, kGerman), 1);
  EXPECT_EQ(FindLayoutGroup(layouts, kRussian), 2);
  EXPECT_EQ(FindLayoutGroup(layouts, kEnglishUs), 0);
  EXPECT_EQ(FindLayoutGroup(layouts, 0x0807), 3);  // Swiss German: its own layout first
  EXPECT_EQ(FindLayoutGroup(layouts, 0x0C07), 1);  // Austrian German: no "at", so "de"
  EXPECT_EQ(FindLayoutGroup(layouts, kFrench), -1);
  EXPECT_EQ(FindLayoutGroup(layouts, 0), -1);
  EXPECT_EQ(FindLayoutGroup({}, kGerman), -1);
  // A layout whose name only begins like the wanted one is another layout.
  EXPECT_EQ(FindLayoutGroup({"us", "dex", "ru"}, kGerman), -1);
}

TEST(SplitLayoutList, CommasAndBlanks) {
  EXPECT_EQ(SplitLayoutList("us,de,ru"), (std::vector<std::string>{"us", "de", "ru"}));
  EXPECT_EQ(SplitLayoutList(" us , de"), (std::vector<std::string>{"us", "de"}));
  EXPECT_EQ(SplitLayoutList("de"), (std::vector<std::string>{"de"}));
  // An empty entry keeps the places of the groups after it.
  EXPECT_EQ(SplitLayoutList("us,,ru"), (std::vector<std::string>{"us", "", "ru"}));
  EXPECT_TRUE(SplitLayoutList("").empty());
}

TEST(SymbolsLayouts, GroupsFromTheSymbolsName) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SymbolsLayouts("pc+us+de:2+ru:3+inet(evdev)"), (V{"us", "de", "ru"}));
  EXPECT_EQ(SymbolsLayouts("pc+de(nodeadkeys)+inet(evdev)"), (V{"de"}));
  EXPECT_EQ(SymbolsLayouts("pc+us+ru:2+inet(evdev)+group(alt_shift_toggle)"), (V{"us", "ru"}));
  EXPECT_EQ(SymbolsLayouts("pc105+us+fr:3"), (V{"us", "", "fr"}));
  // Damaged parts are left out rather than misread.
  EXPECT_EQ(SymbolsLayouts("pc+us+de:x+ru:9+:2+gr:0"), (V{"us"}));
  EXPECT_TRUE(SymbolsLayouts("").empty());
  EXPECT_TRUE(SymbolsLayouts("pc+inet(evdev)").empty());
}

// The layout follows the language of the focused field and falls back to the default.
TEST(KeyboardSwitcher, FollowsTheLanguageAndFallsBackToTheDefault) {
  TFakeLayouts keyboard({"us", "de", "ru"});
  TKeyboardSwitcher switcher(keyboard);
  switcher.Switch(true, kGerman);
  EXPECT_EQ(keyboard.Group, 1);
  switcher.Switch(true, kRussian);
  EXPECT_EQ(keyboard.Group, 2);
  switcher.Switch(true, kFrench);  // no French layout
  EXPECT_EQ(keyboard.Group, 0);
  switcher.Switch(true, kGerman);
  switcher.Switch(true, 0);  // a field of no language, or a message box
  EXPECT_EQ(keyboard.Group, 0);
  EXPECT_EQ(keyboard.Locks, (std::vector<int>{1, 2, 0, 1, 0}));
}

// The default is the layout active at the start, not the first one.
TEST(KeyboardSwitcher, DefaultIsTheStartLayout) {
  TFakeLayouts keyboard({"us", "de", "ru"}, 2);
  TKeyboardSwitcher switcher(keyboard);
  EXPECT_EQ(switcher.DefaultGroup(), 2);
  switcher.Switch(true, kGerman);
  switcher.Switch(true, kFrench);
  EXPECT_EQ(keyboard.Group, 2);
}

// Repeated idle passes in one field neither lock again nor read the layout list again; the
// user's own change of layout is undone at the next pass.
TEST(KeyboardSwitcher, IdlePassesLockOnlyOnChange) {
  TFakeLayouts keyboard({"us", "de"});
  TKeyboardSwitcher switcher(keyboard);
  for (int i = 0; i < 5; ++i) switcher.Switch(true, kGerman);
  EXPECT_EQ(keyboard.Locks, (std::vector<int>{1}));
  EXPECT_EQ(keyboard.NameReads, 1);
  keyboard.Group = 0;  // the system's own layout key
  switcher.Switch(true, kGerman);
  EXPECT_EQ(keyboard.Group, 1);
  EXPECT_EQ(keyboard.NameReads, 1);
  // A layout added while the program runs is found at the next change of language.
  keyboard.Names.push_back("ru");
  switcher.Switch(true, kRussian);
  EXPECT_EQ(keyboard.Group, 2);
  EXPECT_EQ(keyboard.NameReads, 2);
}

TEST(KeyboardSwitcher, OffLeavesTheLayoutAlone) {
  TFakeLayouts keyboard({"us", "de"});
  TKeyboardSwitcher switcher(keyboard);
  switcher.Switch(false, kGerman);
  keyboard.Group = 1;  // the user's choice
  switcher.Switch(false, 0);
  switcher.Deactivated(false);
  EXPECT_EQ(keyboard.Group, 1);
  EXPECT_TRUE(keyboard.Locks.empty());
}

// The lock holds for every program on the display: leaving gives the default back, and the
// layout the user picked elsewhere becomes the default when the program is active again.
TEST(KeyboardSwitcher, LeavingRestoresAndComingBackAdopts) {
  TFakeLayouts keyboard({"us", "de", "ru"});
  TKeyboardSwitcher switcher(keyboard);
  switcher.Switch(true, kGerman);
  switcher.Deactivated(true);
  EXPECT_EQ(keyboard.Group, 0);
  keyboard.Group = 2;  // chosen in another program
  switcher.Activated();
  EXPECT_EQ(switcher.DefaultGroup(), 2);
  switcher.Switch(true, kGerman);
  switcher.Switch(true, 0);
  EXPECT_EQ(keyboard.Group, 2);
}
