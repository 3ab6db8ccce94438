// SPDX-License-Identifier: MIT
// Languages of every script: UTF-8 and the right-to-left and South-East Asian code pages, through
// conversion, characters, comparison, sorting, files, the clipboard, import and export.
#include <gtest/gtest.h>

#include <array>

#include "TempFiles.h"
#include "TestSupport.h"
#include "testing/TestRun.h"
#include "text/Languages.h"
#include "text/Matching.h"
#include "text/Search.h"
#include "text/Utf8.h"
#include "vocab/Clipboard.h"
#include "vocab/Export.h"
#include "vocab/Import.h"

namespace {
constexpr uint16_t kJapanese = 0x0411, kChinese = 0x0804, kChineseTw = 0x0404, kKorean = 0x0412,
                   kHindi = 0x0439, kArabic = 0x0401, kHebrew = 0x040D, kVietnamese = 0x042A,
                   kThai = 0x041E, kEnglish = 0x0409;

// Text in the language's stored form, written here in UTF-8.
std::string Stored(const char* utf8, uint16_t lang) {
  return WideToAnsi(Utf8ToWide(utf8), lang);
}

// One vocabulary per new language pair with the texts that stress each step: characters of three
// and four UTF-8 bytes, combining marks, an emoji sequence, right-to-left with numbers and Latin.
struct TPair {
  uint16_t Foreign, Native;
  std::array<const char*, 4> Texts;
};
const TPair kPairs[] = {
    {kJapanese, kEnglish, {"勉強する/𠮷野家", "v", "study, learn", "study"}},
    {kChinese, kEnglish, {"学习, 學習", "v", "xue2xi2", "study"}},
    {kKorean, kEnglish, {"공부하다 (工夫)", "v", "", "study"}},
    {kEnglish, kHindi, {"study", "क्रिया", "👩‍👩‍👧 पढ़ाई, 2024", "पढ़ना"}},
    {kArabic, kEnglish, {"درس 12 مرة في PDF", "v", "darasa", "study"}},
    {kHebrew, kEnglish, {"לָמַד", "v", "", "study"}},
    {kVietnamese, kEnglish, {"học", "v", "", "study"}},
    {kThai, kEnglish, {"เรียน", "v", "", "study"}},
};

std::unique_ptr<TVocabFile> PairVocabulary(const TPair& pair) {
  auto v = std::make_unique<TVocabFile>();
  v->SetForeignLangID(pair.Foreign);
  v->SetNativeLangID(pair.Native);
  for (int field = 0; field < 4; ++field) {
    v->EditItem().Values[field] =
        Stored(pair.Texts[field], field == 0 ? pair.Foreign : pair.Native);
  }
  v->EditItem().SortPos = 0;
  v->AddItem(2);
  return v;
}
}  // namespace

// Every form a vocabulary leaves the program in comes back with the same bytes.
TEST(Scripts, EveryLanguageRoundTripsThroughFilesClipboardImportAndExport) {
  TTempDir dir;
  for (const TPair& pair : kPairs) {
    const auto v = PairVocabulary(pair);
    const TVocabItem& item = *v->Items()[0];
    for (int field = 0; field < 4; ++field) {
      const uint16_t lang = field == 0 ? pair.Foreign : pair.Native;
      ASSERT_EQ(WideToUtf8(AnsiToWide(item.Values[field], lang)), pair.Texts[field]);
    }
    TVocabFile loaded;
    v->SaveToFile(dir.Path("v.doz"));
    loaded.LoadFromFile(dir.Path("v.doz"));
    EXPECT_EQ(loaded.Items()[0]->Values, item.Values) << pair.Texts[0];

    TClipboardEntry clip{pair.Foreign, pair.Native, 0, item.Values}, back;
    ASSERT_TRUE(DecodeClipboardBlock(EncodeClipboardBlock(clip), back));
    EXPECT_EQ(back.Values, item.Values);

    for (int format = 0; format <= 5; ++format) {
      v->ExportText(dir.Path("v.txt"), format);
      TVocabFile imported;
      imported.SetForeignLangID(pair.Foreign);
      imported.SetNativeLangID(pair.Native);
      ASSERT_EQ(imported.ImportText(dir.Path("v.txt"), format, {1, 2, 3, 4}, 1), 1);
      EXPECT_EQ(imported.Items()[0]->Values, item.Values) << pair.Texts[0] << " " << format;
    }
  }
}

// RTF names the characters of UTF-8 text by number; HTML of such a file is UTF-8 as it stands.
TEST(Scripts, RtfAndHtmlExportWriteUnicode) {
  TTempDir dir;
  const auto v = PairVocabulary(kPairs[0]);
  ExportRtf(*v, dir.Path("v.rtf"));
  const std::string rtf = TTempDir::Read(dir.Path("v.rtf"));
  // 勉 is U+52C9; 𠮷 is the surrogate pair D842 DFB7, written as signed 16-bit numbers.
  EXPECT_NE(rtf.find("\\u21193?"), std::string::npos);
  EXPECT_NE(rtf.find("\\u-10174?\\u-8265?"), std::string::npos);
  ExportHtml(*v, dir.Path("v.html"));
  const std::string html = TTempDir::Read(dir.Path("v.html"));
  EXPECT_NE(html.find("<b>勉強する/𠮷野家</b> <i>v study, learn</i> study<br>"), std::string::npos)
      << html;
  EXPECT_EQ(html.find("&#"), std::string::npos);
}

// 8-bit text goes into a UTF-8 language only when it is valid UTF-8.
TEST(Scripts, EightBitImportIntoUtf8LanguageTakesOnlyUtf8) {
  TTempDir dir;
  TVocabFile v;
  v.SetForeignLangID(kJapanese);
  v.SetNativeLangID(kEnglish);
  const std::string good = dir.Write("good.txt", "\xEF\xBB\xBF猫,caf\xE9\r\n");
  EXPECT_EQ(v.ImportText(good, ttCommaText, {1, 0, 0, 2}, 1), 1);
  EXPECT_EQ(v.Items()[0]->Values[0], "猫");
  EXPECT_EQ(v.Items()[0]->Values[3], "caf\xE9");  // the English side keeps its code page
  const std::string latin = dir.Write("latin.txt", "caf\xE9,coffee\r\n");
  EXPECT_THROW_MSG(v.ImportText(latin, ttCommaText, {1, 0, 0, 2}, 1),
                   "The file " + latin +
                       " is not UTF-8 text. Save it as UTF-8 or Unicode text and import it as "
                       "such.");
  EXPECT_EQ(v.Count(), 1);
}

// The hint shows whole characters: a kanji, a letter with its marks, never part of either.
TEST(Scripts, HintStepsByWholeCharacters) {
  const struct {
    uint16_t lang;
    const char *expected, *typed, *hint;
  } cases[] = {
      {kJapanese, "勉強する", "", "勉"},
      {kJapanese, "勉強する", "勉", "勉強"},
      {kJapanese, "勉強する", "勉\xE5", "勉強"},  // the first byte of 強 alone is not correct
      {kJapanese, "勉強する", "勉強す", "勉強する"},
      {kJapanese, "𠮷野家", "", "𠮷"},
      {kJapanese, "猫", "犬", "猫"},
      {kHindi, "पढ़ना", "", "प"},
      {kHindi, "पढ़ना", "प", "पढ़"},
      {kVietnamese, "Việt", "Vi", "Việ"},
      {kHebrew, "לָמַד", "", "לָ"},
      {kThai, "เรียน", "เร", "เรี"},
      {kEnglish, "Haus", "Hxyz", "Ha"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WideToUtf8(AnsiToWide(
                  HintStep(Stored(c.expected, c.lang), Stored(c.typed, c.lang), c.lang), c.lang)),
              c.hint)
        << c.expected << " / " << c.typed;
  }
}

// Cutting at a byte limit ends on the last whole character that fits.
TEST(Scripts, ByteLimitNeverSplitsACharacter) {
  std::string cats = "a";
  for (int i = 0; i < 21845; ++i) cats += "猫";
  ASSERT_EQ(cats.size(), 65536u);
  EXPECT_EQ(CharacterStart(cats, 65535, kJapanese), 65533u);
  EXPECT_EQ(CharacterStart(cats, 65536, kJapanese), 65536u);
  EXPECT_EQ(CharacterStart("e\xCC\x81x", 2, kJapanese), 0u);  // e with a combining acute
  EXPECT_EQ(CharacterStart("abc", 2, kEnglish), 2u);
  EXPECT_EQ(NextCharacter("👩‍👩‍👧!", 0, kHindi),
            std::string("👩‍👩‍👧").size());
}

// Comparison, punctuation, accents, type-ahead, search and sort by each script's own rules.
TEST(Scripts, TextOperationsFollowTheScript) {
  const TMatchOptions all = kDefaultDirectionOptions | moSynonymList | moIgnoreAccents;
  const struct {
    uint16_t lang;
    const char *expected, *typed;
    TMatchOptions options;
    bool match;
  } answers[] = {
      {kJapanese, "猫/ねこ", "ねこ", all, true},
      {kJapanese, "猫/ねこ", "猫", all, true},
      {kJapanese, "猫/ねこ", "犬", all, false},
      {kJapanese, "ありがとう。", "ありがとう", all, true},
      {kJapanese, "がっこう", "かっこう", all, false},  // voicing marks are no accents
      {kChinese, "你好！", "你好", all, true},
      {kArabic, "كَتَبَ؟", "كتب", all, true},
      {kArabic, "كَتَبَ", "كتب", all & ~moIgnoreAccents, false},
      {kHebrew, "שָׁלוֹם׃", "שלום", all, true},
      {kVietnamese, "Việt Nam", "viet nam", all, true},
      {kHindi, "पढ़ना", "पढना", all, false},  // the nukta makes another letter
      {kThai, "เรียน", "เรยน", all, false},   // so do Thai vowel marks
  };
  for (const auto& a : answers) {
    EXPECT_EQ(MatchAnswer(Stored(a.expected, a.lang), Stored(a.typed, a.lang), a.lang, a.options),
              a.match)
        << a.expected << " / " << a.typed;
  }

  TVocabItem neko, kiiro, pa;
  neko.Values[0] = "ねこ";
  kiiro.Values[0] = "「黄色」";
  pa.Values[0] = "पढ़ना";
  const TVocabItemArray rows = {&neko, &kiiro};
  EXPECT_EQ(ChoiceTypeAhead(rows, -1, "ね", kJapanese), 0);
  EXPECT_EQ(ChoiceTypeAhead(rows, -1, "黄", kJapanese), 1);
  EXPECT_EQ(ChoiceTypeAhead(rows, -1, "こ", kJapanese), -1);
  EXPECT_EQ(ChoiceTypeAhead({&pa}, -1, "प", kHindi), 0);

  TSearchMatcher whole("猫", kJapanese, sdWholeWord, smAnyPart);
  EXPECT_TRUE(whole.Matches("黒い 猫。"));
  EXPECT_FALSE(whole.Matches("黒猫"));
  EXPECT_TRUE(
      TSearchMatcher("viet", kVietnamese, 0, smStartOfField).Matches(Stored("Việt", kVietnamese)));

  // The shortcut for characters that no step changes agrees with the full normalisation.
  for (const char* text : {"黒い 猫。", "ガッコウの猫", "Ｔｏｋｙｏ 東京の猫", "猫ー", "ネコ"}) {
    for (const int options : {0, int{sdWholeWord}, sdMatchCase | sdMatchAccents,
                              sdMatchCase | sdMatchAccents | sdWholeWord}) {
      TSearchMatcher m("猫", kJapanese, static_cast<uint8_t>(options), smAnyPart);
      EXPECT_EQ(m.Matches(text),
                NormaliseForSearch(text, kJapanese, static_cast<uint8_t>(options)).find(m.Key()) !=
                    std::string::npos)
          << text;
    }
  }

  const struct {
    uint16_t lang;
    std::vector<const char*> ordered;
  } sorts[] = {
      {kJapanese, {"あめ", "いぬ", "カメラ", "さくら", "ねこ"}},
      {kKorean, {"가방", "나무", "다리", "하늘"}},
      {kChinese, {"爱", "猫", "中"}},    // pinyin: ai, mao, zhong
      {kChineseTw, {"中", "猫", "愛"}},  // strokes: 4, 11, 13
      {kArabic, {"باب", "كتاب", "ولد"}},
  };
  for (const auto& s : sorts) {
    for (size_t i = 1; i < s.ordered.size(); ++i) {
      EXPECT_LT(MakeSortKey(Stored(s.ordered[i - 1], s.lang), s.lang),
                MakeSortKey(Stored(s.ordered[i], s.lang), s.lang))
          << s.ordered[i - 1] << " < " << s.ordered[i];
    }
  }
}

TEST(Scripts, LanguagePropertiesOfTheNewRows) {
  EXPECT_TRUE(IsUtf8Language(kJapanese));
  EXPECT_FALSE(IsUtf8Language(kArabic));
  EXPECT_EQ(LanguageCodePage(kThai), 874);
  EXPECT_EQ(LanguageCharset(kHebrew), 177);
  EXPECT_TRUE(IsRightToLeft(kArabic) && IsRightToLeft(kHebrew) && IsRightToLeft(0x0429));
  EXPECT_FALSE(IsRightToLeft(kJapanese) || IsRightToLeft(kEnglish));
  EXPECT_EQ(LettersDigitsOnly("क्या?", kHindi, true), "क्या");
  EXPECT_EQ(StripAccents("がっこう Café", kJapanese), "がっこう Cafe");
  EXPECT_EQ(StripAccents(Stored("Việt", kVietnamese), kVietnamese), "Viet");
  const std::vector<std::u16string> kana = ExemplarCharacters(kJapanese);
  EXPECT_NE(std::find(kana.begin(), kana.end(), u"ね"), kana.end());
  EXPECT_NE(std::find(kana.begin(), kana.end(), u"猫"), kana.end());
  EXPECT_TRUE(ExemplarCharacters(0).empty());
}
