// SPDX-License-Identifier: MIT
// Tests of the language table and the code-page conversions.
#include <gtest/gtest.h>

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/uloc.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "text/Languages.h"

namespace {

constexpr uint16_t kEnglish = 0x0409;
constexpr uint16_t kGerman = 0x0407;
constexpr uint16_t kGreek = 0x0408;
constexpr uint16_t kRussian = 0x0419;
constexpr uint16_t kTurkish = 0x041F;
constexpr uint16_t kCzech = 0x0405;
constexpr uint16_t kSwedish = 0x041D;
constexpr uint16_t kUnlisted = 0x0470;  // Igbo: a valid id that is not in the table

// What the full ICU round trip gives, computed independently of the byte tables under test.
std::string IcuRoundTrip(const std::string& text, int32_t codePage, const char* locale,
                         bool lower) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* conv = ucnv_open(("windows-" + std::to_string(codePage)).c_str(), &status);
  ucnv_setSubstChars(conv, "?", 1, &status);
  std::u16string wide(text.size() * 2 + 4, u'\0');
  int32_t n = ucnv_toUChars(conv, wide.data(), static_cast<int32_t>(wide.size()), text.data(),
                            static_cast<int32_t>(text.size()), &status);
  std::u16string mapped(n * 4 + 4, u'\0');
  int32_t m = 0;
  if (lower) {
    m = u_strToLower(mapped.data(), static_cast<int32_t>(mapped.size()), wide.data(), n, locale,
                     &status);
  } else {
    const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
    std::u16string decomposed(n * 4 + 4, u'\0');
    const int32_t d = unorm2_normalize(nfd, wide.data(), n, decomposed.data(),
                                       static_cast<int32_t>(decomposed.size()), &status);
    for (int32_t i = 0; i < d; ++i) {
      if (u_charType(decomposed[i]) != U_NON_SPACING_MARK) mapped[m++] = decomposed[i];
    }
  }
  std::string out(m * 2 + 4, '\0');
  const int32_t k = ucnv_fromUChars(conv, out.data(), static_cast<int32_t>(out.size()),
                                    mapped.data(), m, &status);
  ucnv_close(conv);
  EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
  out.resize(k);
  return out;
}

}  // namespace

TEST(LanguageTable, HasEveryRowInOrderWithUniqueIds) {
  const auto& table = LanguageTable();
  ASSERT_EQ(table.size(), 88u);
  EXPECT_EQ(table[0].LangName, "Afrikaans");
  EXPECT_EQ(table[19].LangId, 0x0409);
  EXPECT_EQ(table[32].LangCode, "El");
  EXPECT_EQ(table[61].LangName, "Spanish (International Sort)");
  EXPECT_EQ(table[73].LangId, 0x0422);
  EXPECT_EQ(table[73].CodePage, 1251);
  std::set<uint16_t> ids;
  int english = 0;
  for (const TLangInfo& row : table) {
    ids.insert(row.LangId);
    if (row.LangCode == "En") ++english;
    EXPECT_EQ(FindLanguage(row.LangId).LangName, row.LangName);
    EXPECT_EQ(LanguageCodePage(row.LangId), row.CodePage);
  }
  EXPECT_EQ(ids.size(), 88u);
  EXPECT_EQ(english, 9);
}

TEST(LanguageTable, CharsetAndFontSuffixFollowTheCodePage) {
  EXPECT_EQ(FindLanguage(kEnglish).LangCode, "En");
  EXPECT_EQ(LanguageCharset(kEnglish), 0);
  EXPECT_EQ(FindLanguage(kRussian).LangCode, "Ru");
  EXPECT_EQ(FindLanguage(kRussian).CodePage, 1251);
  EXPECT_EQ(LanguageCharset(kRussian), 204);
  const struct {
    uint16_t lang;
    uint8_t charset;
    const char* suffix;
  } cases[] = {{0x0405, 238, " CE"},     {0x0419, 204, " Cyr"},
               {0x0408, 161, " Greek"},  {0x041F, 162, " Tur"},
               {0x0425, 186, " Baltic"}, {0x0407, 0, ""},
               {kUnlisted, 0, ""},       {0, 0, ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(LanguageCharset(c.lang), c.charset) << c.lang;
    EXPECT_EQ(CharsetFontSuffix(c.charset), c.suffix) << c.lang;
  }
  EXPECT_EQ(CharsetFontSuffix(77), "");
}

TEST(LanguageTable, UnknownIdsGiveTheEmptyRowAndCodePage1252) {
  for (const uint16_t id : {uint16_t{0}, kUnlisted, uint16_t{0xFFFF}, uint16_t{0x0009}}) {
    const TLangInfo row = FindLanguage(id);
    EXPECT_EQ(row.LangId, 0);
    EXPECT_EQ(row.LangName, "");
    EXPECT_EQ(row.CodePage, 0);
    EXPECT_EQ(LanguageCodePage(id), 1252);
    EXPECT_EQ(LanguageCharset(id), 0);
    EXPECT_EQ(AnsiToWide("caf\xE9", id), u"caf\u00E9") << id;
    EXPECT_EQ(WideToAnsi(u"\u20AC\u0416", id), "\x80?") << id;
    EXPECT_EQ(LocaleLowerCase("\xC9"
                              "COLE",
                              id),
              "\xE9"
              "cole")
        << id;
  }
}

TEST(LanguageTable, IsEnglishLooksAtThePrimaryLanguageOnly) {
  EXPECT_TRUE(IsEnglish(0x0809));
  EXPECT_TRUE(IsEnglish(0x1409));
  EXPECT_TRUE(IsEnglish(0x0009));
  EXPECT_FALSE(IsEnglish(0x0407));
  EXPECT_FALSE(IsEnglish(0x0209));  // the sub-language bits start at bit 10
}

// Locale codes as other programs' files write them.
TEST(LanguageFromLocale, MapsLocaleCodesToTableRows) {
  const std::pair<const char*, uint16_t> cases[] = {
      {"en", 0x0409},    {"de", 0x0407},          {"fr", 0x040C},
      {"ru", 0x0419},    {"en_GB", 0x0809},       {"en-gb", 0x0809},
      {"EN_us", 0x0409}, {"pt_BR", 0x0416},       {"pt-PT", 0x0816},
      {"de_AT", 0x0C07}, {"de_DE.UTF-8", 0x0407}, {"nb", 0x0414},
      {"id", 0x0421},                        // the table spells these "No" and "In"
      {"sr", 0x0C1A},    {"hr", 0x041A},     // one primary language, told apart by the code
      {"en_IN", 0x0409}, {"de_BE", 0x0407},  // a region the table lacks: its default row
      {"zh", 0x0804},    {"ja", 0x0411},          {"x", 0},
      {"", 0},           {"english", 0},          {"_en", 0},
  };
  for (const auto& [locale, id] : cases) {
    EXPECT_EQ(LanguageFromLocale(locale), id) << locale;
  }
}

TEST(Conversion, CyrillicGreekAndTurkishBothWays) {
  const struct {
    uint16_t lang;
    std::string ansi;
    std::u16string wide;
  } cases[] = {
      {kRussian, "\xCF\xF0\xE8\xE2\xE5\xF2", u"Привет"},
      {kRussian, "\xA8\xEB\xEA\xE0", u"Ёлка"},
      {kGreek, "\xC1\xE8\xDE\xED\xE1", u"Αθήνα"},
      {kGreek, "\x80", u"€"},
      {kTurkish, "\xFD\xDD\xF0", u"ıİğ"},
      {kCzech, "\x9E\x6C\x75\x9D", u"žluť"},
      {kEnglish, "", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AnsiToWide(c.ansi, c.lang), c.wide) << c.ansi;
    EXPECT_EQ(WideToAnsi(c.wide, c.lang), c.ansi) << c.ansi;
  }
}

TEST(Conversion, CharactersTheCodePageLacksBecomeQuestionMarks) {
  EXPECT_EQ(WideToAnsi(u"Жa", kEnglish), "?a");
  EXPECT_EQ(WideToAnsi(u"Ωé", kRussian), "??");
  EXPECT_EQ(WideToAnsi(u"\u0101", kEnglish), "?");        // no best-fit 'a'
  EXPECT_EQ(WideToAnsi(u"x\U0001F600y", kGreek), "x?y");  // one mark for a surrogate pair
  EXPECT_EQ(WideToAnsi(std::u16string(1, u'\xD800'), kEnglish), "?");
}

TEST(Conversion, EveryCodePageOfTheTableRoundTripsItsBytes) {
  std::set<int32_t> done;
  for (const TLangInfo& row : LanguageTable()) {
    // Vietnamese composes a letter and its tone mark on the way to UTF-16 (tested on its own).
    if (row.CodePage == kUtf8CodePage || row.CodePage == 1258) continue;
    if (!done.insert(row.CodePage).second) continue;
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const std::u16string wide = AnsiToWide(all, row.LangId);
    ASSERT_EQ(wide.size(), all.size()) << row.CodePage;
    const std::string back = WideToAnsi(wide, row.LangId);
    ASSERT_EQ(back.size(), all.size());
    for (size_t i = 0; i < all.size(); ++i) {
      // Bytes the code page leaves undefined come back as the default character.
      EXPECT_EQ(back[i], wide[i] == 0xFFFD ? '?' : all[i]) << row.CodePage << " byte " << i + 1;
    }
  }
}

// Texts of characters the code page holds skip the converter: the bytes must be the same.
TEST(Conversion, EveryUnitOfTheBasicPlaneConvertsAsTheConverterDoes) {
  std::set<int32_t> done;
  for (const TLangInfo& row : LanguageTable()) {
    if (row.CodePage == kUtf8CodePage || row.CodePage == 1258) continue;
    if (!done.insert(row.CodePage).second) continue;
    UErrorCode status = U_ZERO_ERROR;
    UConverter* conv = ucnv_open(("windows-" + std::to_string(row.CodePage)).c_str(), &status);
    ucnv_setSubstChars(conv, "?", 1, &status);
    ASSERT_TRUE(U_SUCCESS(status)) << row.CodePage;
    for (char32_t unit = 0; unit < 0x10000; ++unit) {
      const std::u16string text{u'a', static_cast<char16_t>(unit), u'\u00E9'};
      char expected[16];
      const int32_t n = ucnv_fromUChars(conv, expected, sizeof expected, text.data(), 3, &status);
      if (WideToAnsi(text, row.LangId) != std::string(expected, static_cast<size_t>(n))) {
        ADD_FAILURE() << "code page " << row.CodePage << ", unit " << std::hex << unsigned(unit);
        break;
      }
    }
    ucnv_close(conv);
  }
}

TEST(Conversion, HtmlCharRefsWriteEveryUnitInDecimal) {
  EXPECT_EQ(HtmlCharRefs("Ab", kEnglish), "&#65;&#98;");
  EXPECT_EQ(HtmlCharRefs("\xCF<", kRussian), "&#1055;&#60;");
  EXPECT_EQ(HtmlCharRefs("\xE9", kEnglish), "&#233;");
  EXPECT_EQ(HtmlCharRefs("", kEnglish), "");
}

TEST(Conversion, BytesToWideAndByteOrder) {
  EXPECT_EQ(BytesToWide(std::string("A\0\x16\x04!", 5)), u"AЖ");  // odd last byte dropped
  EXPECT_EQ(BytesToWide(""), u"");
  const struct {
    std::u16string in, out;
  } cases[] = {
      {u"\uFFFE\u4100\u1604", u"A\u0416"},  // big-endian with mark
      {u"\uFEFFAb", u"Ab"},
      {u"Ab", u"Ab"},
      {u"A\uFEFF", u"A\uFEFF"},  // a mark further on is text
      {u"\uFFFE", u""},
      {u"", u""},
  };
  for (const auto& c : cases) {
    std::u16string text = c.in;
    NormaliseByteOrder(text);
    EXPECT_EQ(text, c.out);
  }
}

TEST(LocaleLowerCase, FollowsTheLanguage) {
  const struct {
    uint16_t lang;
    std::string in, out;
  } cases[] = {
      // Turkish: dotless I lower-cases to dotless i, dotted capital I to plain i.
      {kTurkish, "ISTANBUL", "\xFDstanbul"},
      {kTurkish, "\xDDzmir", "izmir"},
      {kTurkish, "I", "\xFD"},
      {kEnglish, "ISTANBUL", "istanbul"},
      {kGerman, "\xC4\xD6\xDC STRASSE \xDF", "\xE4\xF6\xFC strasse \xDF"},
      {kRussian, "\xCF\xD0\xC8\xC2\xC5\xD2", "\xEF\xF0\xE8\xE2\xE5\xF2"},
      // Greek capital sigma takes its final form at the end of a word only.
      {kGreek, "\xCF\xC4\xCF\xD3", "\xEF\xE4\xEF\xF2"},
      {kGreek, "\xD3\xC1", "\xF3\xE1"},
      {kEnglish, "", ""},
      {kEnglish, "a1-B2", "a1-b2"},
  };
  for (const auto& c : cases) EXPECT_EQ(LocaleLowerCase(c.in, c.lang), c.out) << c.in;
}

TEST(StripAccents, RemovesDiacriticsButKeepsOtherLetters) {
  const struct {
    uint16_t lang;
    std::string in, out;
  } cases[] = {
      {kEnglish, "caf\xE9", "cafe"},
      {kGerman, "h\xE4user", "hauser"},
      {kGerman, "\xDF\xF8\xE6", "\xDF\xF8\xE6"},  // ß, ø and æ have no accent to drop
      {kCzech, "\x9E\x6C\x75\x9D\x6F\x75\xE8\x6B\xFD", "zlutoucky"},
      {kGreek, "\xC1\xE8\xDE\xED\xE1", "\xC1\xE8\xE7\xED\xE1"},
      {kRussian, "\xB8\xEB\xEA\xE0 \xE9", "\xE5\xEB\xEA\xE0 \xE8"},
      {kEnglish, "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(StripAccents(c.in, c.lang), c.out) << c.in;
}

// The byte tables must give what the whole-text ICU operation gives, context included.
TEST(LocaleOperations, ByteTablesAgreeWithTheFullOperation) {
  std::mt19937 gen(7);
  std::set<int32_t> strippedPages;
  for (const TLangInfo& row : LanguageTable()) {
    if (row.CodePage == kUtf8CodePage) continue;
    char locale[100];
    UErrorCode status = U_ZERO_ERROR;
    uloc_getLocaleForLCID(row.LangId, locale, sizeof locale, &status);
    // Thai keeps its vowel marks (they are no accents): tested on its own.
    const bool strip = strippedPages.insert(row.CodePage).second && row.CodePage != 874;
    for (int round = 0; round < 1000; ++round) {
      std::string text;
      const int length = 1 + static_cast<int>(gen() % 8);
      for (int i = 0; i < length; ++i) {
        // Mostly letters and blanks, so that words and their ends occur.
        const uint32_t r = gen() % 4;
        text += r == 0 ? ' ' : static_cast<char>(r == 1 ? 'A' + gen() % 26 : 0x80 + gen() % 128);
      }
      ASSERT_EQ(LocaleLowerCase(text, row.LangId), IcuRoundTrip(text, row.CodePage, locale, true))
          << row.LangName << " [" << text << "]";
      if (strip) {
        // A text of marks alone would strip to nothing, and nothing is never the result.
        const std::string stripped = IcuRoundTrip(text, row.CodePage, "", false);
        ASSERT_EQ(StripAccents(text, row.LangId), stripped.empty() ? text : stripped)
            << row.LangName << " [" << text << "]";
      }
    }
  }
}

TEST(LettersDigits, ClassifiesByTheLanguage) {
  EXPECT_EQ(LettersDigitsOnly("can't stop!", kEnglish, false), "cant stop");
  EXPECT_EQ(LettersDigitsOnly("can't stop!", kEnglish, true), "cantstop");
  EXPECT_EQ(LettersDigitsOnly("\xCF\xF0\xE8\xE2\xE5\xF2, 42!", kRussian, false),
            "\xCF\xF0\xE8\xE2\xE5\xF2 42");
  EXPECT_EQ(LettersDigitsOnly("\xE9\xA0\xB2\xBF", kEnglish, false), "\xE9");  // nbsp, ², ¿
  EXPECT_EQ(LettersDigitsOnly("", kEnglish, false), "");
  EXPECT_EQ(ReplaceNonWordChars("a-b c", kEnglish, '\t'), "a\tb\tc");
  EXPECT_EQ(ReplaceNonWordChars("\xE1\xE2-\xE3", kGreek, '_'), "\xE1\xE2_\xE3");
  EXPECT_EQ(ReplaceNonWordChars("", kEnglish, '\t'), "");
}

TEST(MakeSortKey, IgnoresCaseAndPunctuationButNotAccentsOrBlanks) {
  EXPECT_EQ(MakeSortKey("", kEnglish), "");
  EXPECT_EQ(MakeSortKey("co-op", kEnglish), MakeSortKey("coop", kEnglish));
  EXPECT_EQ(MakeSortKey("Apple", kEnglish), MakeSortKey("apple", kEnglish));
  EXPECT_EQ(MakeSortKey("Coop", kUnlisted), MakeSortKey("co-op", kUnlisted));
  EXPECT_NE(MakeSortKey("r\xE9sum\xE9", kEnglish), MakeSortKey("resume", kEnglish));
  EXPECT_NE(MakeSortKey("a b", kEnglish), MakeSortKey("ab", kEnglish));
  EXPECT_EQ(MakeSortKey("house", kEnglish).find('\0'), std::string::npos);
}

TEST(MakeSortKey, ByteOrderIsTheLanguagesAlphabet) {
  const struct {
    uint16_t lang;
    std::vector<std::string> ordered;
  } cases[] = {
      {kEnglish, {"apple", "Banana", "banana split", "bananas", "cherry"}},
      {kEnglish, {"resume", "r\xE9sum\xE9", "resumes"}},
      // Swedish puts ö after z; German files it with o.
      {kSwedish, {"ofen", "zebra", "\xF6l"}},
      {kGerman, {"ofen", "\xF6l", "zebra"}},
      // Traditional Spanish sorts ch as a letter of its own after c.
      {0x040A, {"cuna", "chico", "dedo"}},
      {0x0C0A, {"chico", "cuna", "dedo"}},
      {kRussian, {"\xE0\xE1", "\xC1\xE0", "\xFF"}},
      {kGreek, {"\xE1", "\xE2", "\xF9"}},
      {kCzech, {"cena", "\xE8\x61j", "d\xF9m"}},  // č after c
  };
  for (const auto& c : cases) {
    for (size_t i = 1; i < c.ordered.size(); ++i) {
      EXPECT_LT(MakeSortKey(c.ordered[i - 1], c.lang), MakeSortKey(c.ordered[i], c.lang))
          << c.lang << ": " << c.ordered[i - 1] << " < " << c.ordered[i];
    }
  }
}
