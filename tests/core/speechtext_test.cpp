// SPDX-License-Identifier: MIT
// Tests of the spoken form of fields and of the choice of a voice for a language.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/SpeechText.h"

namespace {

TEST(SpeechText, ReadsTheNotationAsSpoken) {
  const struct {
    std::string Text;
    std::string Spoken;
  } cases[] = {
      {"der Hund", "der Hund"},  // an article before the sorting position is spoken too
      {"(sich) waschen", "sich waschen"},
      {"Haus(e)", "Hause"},
      {"er/sie", "er, sie"},
      {"he / she / it", "he, she, it"},
      {"to go/", "to go"},
      {"/ ( ) /", ""},
      {"  viel   Glück \t", "viel Glück"},
      {"dog, hound; cur", "dog, hound; cur"},
      {"\xE7\x8A\xAC/\xE7\x8B\x97", "\xE7\x8A\xAC, \xE7\x8B\x97"},  // UTF-8 stays whole
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SpeechText(c.Text), c.Spoken) << c.Text;
  }
}

TEST(SpeechText, ChoosesTheExactVoiceElseOneOfTheSameLanguage) {
  const std::vector<std::string> voices = {"en_US", "de", "de_CH", "en-GB", "fr_FR"};
  const struct {
    std::string Wanted;
    int Chosen;
  } cases[] = {
      {"en_GB", 3}, {"en_US", 0}, {"en_AU", 0},  {"de_CH", 2}, {"de_AT", 1},
      {"de", 1},    {"fr_CA", 4}, {"ru_RU", -1}, {"", -1},     {"EN-gb.UTF-8", 3},
  };
  for (const auto& c : cases) EXPECT_EQ(ChooseVoice(c.Wanted, voices), c.Chosen) << c.Wanted;
  EXPECT_EQ(ChooseVoice("zh_Hans_CN", {"zh_TW", "zh_CN"}), 1);
  // The languages' own locales: German (Austrian) and English (United Kingdom); none for id 0.
  EXPECT_EQ(ChooseVoice(LanguageLocaleName(0x0C07), {"de_DE", "de_AT"}), 1);
  EXPECT_EQ(ChooseVoice(LanguageLocaleName(0x0809), {"en_US", "en_GB"}), 1);
  EXPECT_EQ(LanguageLocaleName(0), "");
}

}  // namespace
