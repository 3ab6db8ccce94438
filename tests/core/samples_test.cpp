// SPDX-License-Identifier: MIT
// Checks that the shipped sample vocabularies load and are well formed.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "text/Languages.h"
#include "text/Utf8.h"
#include "vocab/VocFile.h"

namespace {
std::string SamplePath(const char* name) {
  return std::string(DADEZIVU_SOURCE_DIR) + "/resources/samples/" + name;
}
}  // namespace

// The shipped vocabularies load, name their languages and hold text in the right code page.
TEST(Samples, ShippedVocabulariesLoad) {
  struct Case {
    const char* file;
    uint16_t foreign;
    const char* word;  // UTF-8
  } cases[] = {
      {"German-English.doz", 0x0407, "das Mädchen"},
      {"French-English.doz", 0x040C, "la bibliothèque"},
      {"Russian-English.doz", 0x0419, "здравствуйте"},
  };
  for (const Case& c : cases) {
    TVocabFile v;
    v.LoadFromFile(SamplePath(c.file));
    EXPECT_EQ(v.ForeignLangID(), c.foreign) << c.file;
    EXPECT_EQ(v.NativeLangID(), 0x0409) << c.file;
    EXPECT_GE(v.Count(), 20) << c.file;
    EXPECT_FALSE(v.GetProperty(0).empty());
    bool found = false;
    for (const TVocabItem* e : v.Items()) {
      const std::u16string wide = AnsiToWide(e->Values[0], c.foreign);
      std::string utf8;
      for (char16_t u : wide) {
        if (u < 0x80) {
          utf8 += static_cast<char>(u);
        } else if (u < 0x800) {
          utf8 += static_cast<char>(0xC0 | (u >> 6));
          utf8 += static_cast<char>(0x80 | (u & 0x3F));
        } else {
          utf8 += static_cast<char>(0xE0 | (u >> 12));
          utf8 += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
          utf8 += static_cast<char>(0x80 | (u & 0x3F));
        }
      }
      found = found || utf8 == c.word;
      EXPECT_EQ(e->Values[0].find('?'), std::string::npos) << "unmapped character in " << c.file;
    }
    EXPECT_TRUE(found) << c.word << " in " << c.file;
  }
}

// The samples of the other scripts: each language pair, real entries, and no character lost.
TEST(Samples, ScriptSamplesHoldTheirWords) {
  const struct {
    const char* file;
    uint16_t foreign, native;
    const char *word, *translation;  // UTF-8
  } cases[] = {
      {"Japanese-English.doz", 0x0411, 0x0409, "勉強する/べんきょうする", "study"},
      {"Chinese-English.doz", 0x0804, 0x0409, "学习", "study, learn"},
      {"Korean-English.doz", 0x0412, 0x0409, "공부하다", "study"},
      {"Arabic-English.doz", 0x0401, 0x0409, "كتاب", "book"},
      {"English-Hindi.doz", 0x0409, 0x0439, "study", "पढ़ना"},
  };
  for (const auto& c : cases) {
    TVocabFile v;
    v.LoadFromFile(SamplePath(c.file));
    EXPECT_EQ(v.ForeignLangID(), c.foreign) << c.file;
    EXPECT_EQ(v.NativeLangID(), c.native) << c.file;
    EXPECT_GE(v.Count(), 25) << c.file;
    int found = 0;
    for (const TVocabItem* e : v.Items()) {
      for (int field = 0; field < 4; ++field) {
        EXPECT_EQ(e->Values[field].find('?'), std::string::npos) << c.file;
      }
      const std::string word = WideToUtf8(AnsiToWide(e->Values[0], c.foreign));
      const std::string translation = WideToUtf8(AnsiToWide(e->Values[3], c.native));
      found += word == c.word && translation == c.translation;
    }
    EXPECT_EQ(found, 1) << c.word << " in " << c.file;
  }
}
