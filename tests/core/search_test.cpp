// SPDX-License-Identifier: MIT
// Tests of search normalisation and TVocabFile::Find.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "TestSupport.h"
#include "text/Search.h"

namespace {

TSearchData Request(std::string text, uint8_t mode = smAnyPart, uint8_t options = 0,
                    uint8_t field = 0) {
  TSearchData s;
  s.Text = std::move(text);
  s.Field = field;
  s.Options = options;
  s.Mode = mode;
  return s;
}

std::unique_ptr<TVocabFile> Words3(std::string a, std::string b, std::string c, int32_t current) {
  auto v = SampleVocabulary({{a, "", "", ""}, {b, "", "", ""}, {c, "", "", ""}});
  v->SetItemIndex(current);
  return v;
}

}  // namespace

TEST(NormaliseForSearch, AppliesTheOptionsInOrder) {
  const uint16_t de = 0x0407;
  EXPECT_EQ(NormaliseForSearch("H\xC4USER", de, 0), "hauser");
  EXPECT_EQ(NormaliseForSearch("H\xC4USER", de, sdMatchCase), "HAUSER");
  EXPECT_EQ(NormaliseForSearch("H\xC4USER", de, sdMatchAccents), "h\xE4user");
  EXPECT_EQ(NormaliseForSearch("H\xC4USER", de, sdMatchCase | sdMatchAccents), "H\xC4USER");
  EXPECT_EQ(NormaliseForSearch("can't stop", 0x0409, sdWholeWord), "\tcan\tt\tstop\t");
  EXPECT_EQ(NormaliseForSearch("", 0x0409, sdWholeWord), "\t\t");
  EXPECT_EQ(NormaliseForSearch("\xC9t\xE9!", 0x040C, sdWholeWord), "\tete\t\t");
}

TEST(Find, StartsAfterTheCurrentEntryWrapsAndTestsItLast) {
  const struct {
    int32_t current;
    const char* text;
    int32_t found;
  } cases[] = {
      {2, "e", 0},      // from the last entry on to the first
      {0, "e", 1},      // the current entry is passed over at first
      {1, "zwei", 1},   // the only match is the current entry: found last
      {-1, "eins", 0},  // no current entry: from the first
      {-1, "drei", 2}, {1, "vier", -1},
  };
  for (const auto& c : cases) {
    auto v = Words3("eins", "zwei", "drei", c.current);
    EXPECT_EQ(v->Find(Request(c.text)), c.found) << c.current << " " << c.text;
    EXPECT_EQ(v->ItemIndex(), c.current);
    EXPECT_FALSE(v->Modified());
  }
}

TEST(Find, EmptyRequestsAndBadFields) {
  auto v = SampleVocabulary({{"a", "", "x", ""}, {"b", "", "", ""}, {"c", "", "y", ""}});
  EXPECT_EQ(v->Find(Request("", smAnyPart, 0, 2)), -1);
  // "Whole field" with an empty text finds the next empty field.
  EXPECT_EQ(v->Find(Request("", smWholeField, 0, 2)), 1);
  EXPECT_EQ(v->Find(Request("a", smAnyPart, 0, 4)), -1);
  EXPECT_EQ(v->Find(Request("a", 7)), -1);
  TVocabFile empty;
  EXPECT_EQ(empty.Find(Request("", smWholeField)), -1);
}

TEST(Find, ModesCompareAtTheirEnd) {
  const struct {
    uint8_t mode;
    const char* key;
    const char* field;
    bool found;
  } cases[] = {
      {smAnyPart, "rte", "der Garten", true},
      {smStartOfField, "der", "der Garten", true},
      {smStartOfField, "garten", "der Garten", false},
      {smEndOfField, "garten", "der Garten", true},
      {smEndOfField, "der", "der Garten", false},
      {smEndOfField, "xder garten", "der Garten", false},  // longer than the field
      {smWholeField, "der garten", "der Garten", true},
      {smWholeField, "garten", "der Garten", false},
  };
  for (const auto& c : cases) {
    auto v = SampleVocabulary({{c.field, "", "", ""}});
    v->SetItemIndex(-1);
    EXPECT_EQ(v->Find(Request(c.key, c.mode)), c.found ? 0 : -1) << int{c.mode} << " " << c.key;
  }
}

TEST(Find, CaseAndAccentOptions) {
  // Haus finds häuser and HAUS with both boxes off; matching accents passes häuser over.
  auto v = SampleVocabulary({{"x", "", "", ""}, {"h\xE4user", "", "", ""}, {"HAUS", "", "", ""}});
  EXPECT_EQ(v->Find(Request("Haus")), 1);
  EXPECT_EQ(v->Find(Request("Haus", smAnyPart, sdMatchAccents)), 2);
  EXPECT_EQ(v->Find(Request("Haus", smAnyPart, sdMatchCase)), -1);
  EXPECT_EQ(v->Find(Request("HAUS", smAnyPart, sdMatchCase)), 2);
  EXPECT_EQ(v->Find(Request("H\xC4U", smAnyPart, sdMatchAccents)), 1);
}

TEST(Find, WholeWordsOnly) {
  const struct {
    uint8_t mode;
    const char* field;
    bool found;
  } cases[] = {
      {smAnyPart, "the house", true},       {smAnyPart, "houses", false},
      {smAnyPart, "a house-boat", true},    {smStartOfField, "house (big)", true},
      {smStartOfField, "household", false}, {smEndOfField, "big house", true},
      {smEndOfField, "big house!", false},  {smWholeField, "house", true},
      {smWholeField, "house boat", false},  {smAnyPart, "HOUSE", true},
  };
  for (const auto& c : cases) {
    auto v = SampleVocabulary({{c.field, "", "", ""}});
    v->SetItemIndex(-1);
    EXPECT_EQ(v->Find(Request("house", c.mode, sdWholeWord)), c.found ? 0 : -1)
        << int{c.mode} << " " << c.field;
  }
}

TEST(Find, UsesTheLanguageOfTheField) {
  // English word/phrase, Turkish translations: the same capitals lower-case differently.
  auto v = SampleVocabulary({{"ISTANBUL", "", "", "ISTANBUL"}});
  v->SetForeignLangID(0x0409);
  v->SetNativeLangID(0x041F);
  v->SetItemIndex(-1);
  EXPECT_EQ(v->Find(Request("istanbul", smAnyPart, 0, 0)), 0);
  EXPECT_EQ(v->Find(Request("istanbul", smAnyPart, 0, 3)), -1);
  EXPECT_EQ(v->Find(Request("\xFDstanbul", smAnyPart, 0, 3)), 0);
}

// The byte-table path of the matcher must decide exactly as the full normalisation does.
TEST(SearchMatcher, AgreesWithNormaliseForSearch) {
  std::mt19937 gen(11);
  const char* alphabet[] = {" ",    "s",    "S",    "-", "\xD3", "\xF3", "\xF2", "\xDC",
                            "\xC1", "\xDE", "\xE1", "I", "i",    "\xDD", "\xFD", "'"};
  for (const uint16_t lang : {uint16_t{0x0408}, uint16_t{0x041F}, uint16_t{0x0407}}) {
    for (int round = 0; round < 400; ++round) {
      std::string key, text;
      for (int i = 1 + static_cast<int>(gen() % 2); i > 0; --i) key += alphabet[gen() % 16];
      for (int i = static_cast<int>(gen() % 7); i > 0; --i) text += alphabet[gen() % 16];
      for (uint8_t options = 0; options < 8; ++options) {
        for (uint8_t mode = 0; mode < 4; ++mode) {
          TSearchMatcher matcher(key, lang, options, mode);
          const std::string k = NormaliseForSearch(key, lang, options);
          const std::string f = NormaliseForSearch(text, lang, options);
          const bool expected = mode == smAnyPart        ? f.find(k) != std::string::npos
                                : mode == smStartOfField ? f.starts_with(k)
                                : mode == smEndOfField   ? f.ends_with(k)
                                                         : f == k;
          ASSERT_EQ(matcher.Matches(text), expected)
              << lang << " [" << key << "] in [" << text << "] options " << int{options} << " mode "
              << int{mode};
        }
      }
    }
  }
}
