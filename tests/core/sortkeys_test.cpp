// SPDX-License-Identifier: MIT
// Tests of entry sort keys and sorting by each field.
#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>

#include "TestSupport.h"
#include "text/Languages.h"
#include "vocab/SortKeys.h"

namespace {

std::string SortedWords(TVocabFile& v, uint8_t field) {
  FillSortKeys(v, field);
  v.Sort();
  return Words(v);
}

std::string Tail(int32_t index) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(index));
  return std::string(1, '\0') + hex;
}

int g_Calls = 0;
// A locale key that fails on the third entry, as a language without collation would.
std::string FailOnThird(const std::string& text, uint16_t langId) {
  if (++g_Calls == 3) throw std::runtime_error("no collation");
  return MakeSortKey(text, langId);
}

}  // namespace

TEST(SortKeys, EndInNulAndTheIndexInUpperCaseHex) {
  auto v = SampleVocabulary({{"b", "", "", ""}});
  const TVocabItem& item = v->GetItem(0);
  const struct {
    int32_t index;
    const char* hex;
  } cases[] = {{0, "0000"}, {10, "000A"}, {0xBEEF, "BEEF"}, {0x1A2B3, "1A2B3"}};
  for (const auto& c : cases) {
    EXPECT_EQ(EntrySortKey(item, c.index, 0, 0x0409, nullptr), std::string("b\0", 2) + c.hex);
  }
  EXPECT_EQ(EntrySortKey(item, 1, 0, 0x0409, MakeSortKey), MakeSortKey("b", 0x0409) + Tail(1));
}

TEST(SortKeys, SkipSortPosCharactersOfTheWordOnly) {
  auto v = SampleVocabulary(
      {{"the house", "", "", "zz"}, {"garden", "", "", "aa"}, {"kitchen", "", "", "mm"}});
  TVocabItem& item = v->GetItem(0);
  item.SortPos = 4;
  EXPECT_EQ(SortedWords(*v, 0), "garden the house kitchen");
  // Translations are keyed whole, whatever SortPos says.
  EXPECT_EQ(SortedWords(*v, 3), "garden kitchen the house");

  const struct {
    int32_t sortPos;
    const char* text;
  } cases[] = {{0, "the house"}, {4, "house"}, {9, ""}, {100, ""}, {-3, "the house"}};
  for (const auto& c : cases) {
    item.SortPos = c.sortPos;
    EXPECT_EQ(EntrySortKey(item, 0, 0, 0x0409, nullptr), c.text + Tail(0)) << c.sortPos;
  }
}

TEST(SortKeys, EqualTextsKeepTheirOrder) {
  EXPECT_EQ(MakeSortKey("co-op", 0x0409), MakeSortKey("coop", 0x0409));
  auto v = SampleVocabulary({{"Apple", "", "", ""},
                             {"coop", "", "", ""},
                             {"banana", "", "", ""},
                             {"apple", "", "", ""},
                             {"co-op", "", "", ""}});
  EXPECT_EQ(SortedWords(*v, 0), "Apple apple banana coop co-op");
  auto w = SampleVocabulary(
      {{"co-op", "", "", ""}, {"apple", "", "", ""}, {"coop", "", "", ""}, {"Apple", "", "", ""}});
  EXPECT_EQ(SortedWords(*w, 0), "apple Apple co-op coop");
}

TEST(SortKeys, UseTheLanguageOfTheField) {
  // The same words sort differently as Swedish (foreign) and as German (native).
  auto v = SampleVocabulary(
      {{"\xF6l", "", "", "\xF6l"}, {"zebra", "", "", "zebra"}, {"ofen", "", "", "ofen"}});
  v->SetForeignLangID(0x041D);
  v->SetNativeLangID(0x0407);
  EXPECT_EQ(SortedWords(*v, 0), "ofen zebra \xF6l");
  EXPECT_EQ(SortedWords(*v, 3), "ofen \xF6l zebra");
  // A field number out of range sorts by the word/phrase.
  EXPECT_EQ(SortedWords(*v, 9), "ofen zebra \xF6l");
}

TEST(SortKeys, SortsByCategoryAndNotesToo) {
  auto v = SampleVocabulary(
      {{"a", "verb", "3 x", ""}, {"b", "noun", "1 y", ""}, {"c", "adj", "2 z", ""}});
  EXPECT_EQ(SortedWords(*v, 1), "c b a");
  EXPECT_EQ(SortedWords(*v, 2), "b c a");
}

TEST(SortKeys, AFailingLocaleKeyMakesEveryKeyRaw) {
  auto v = SampleVocabulary(
      {{"xx b", "", "", ""}, {"xx B", "", "", ""}, {"xx a", "", "", ""}, {"xx-c", "", "", ""}});
  for (TVocabItem* item : v->Items()) item->SortPos = 3;
  g_Calls = 0;
  FillSortKeys(*v, 0, FailOnThird);
  EXPECT_EQ(g_Calls, 3);
  for (int32_t i = 0; i < v->Count(); ++i) {
    EXPECT_EQ(v->GetItem(i).SortKey, v->GetItem(i).Values[0].substr(3) + Tail(i)) << i;
  }
  // Raw byte order: case-sensitive, upper case first.
  v->Sort();
  EXPECT_EQ(Words(*v), "xx B xx a xx b xx-c");
}
