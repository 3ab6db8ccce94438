// SPDX-License-Identifier: MIT
// Checks that the shipped sample vocabularies load and are well formed.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "text/Languages.h"
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
