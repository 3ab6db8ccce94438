// SPDX-License-Identifier: MIT
// Tests of text import, merging doz files and text type detection.
#include "vocab/Import.h"

#include <filesystem>
#include <random>

#include <sys/stat.h>

#include "AllocFailure.h"
#include "TempFiles.h"
#include "TestSupport.h"
#include "text/Utf8.h"

namespace {
using TMap = std::array<int32_t, 4>;
constexpr TMap kWordTranslation = {1, 0, 0, 2};

bool IsUtf16(int type) {
  return type == ttUnicodeCommaText || type == ttUnicodeTabText;
}

std::string Utf16(const std::u16string& text, bool bigEndian, bool mark = true) {
  std::string bytes;
  auto put = [&](char16_t unit) {
    const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  };
  if (mark) put(0xFEFF);
  for (char16_t unit : text) put(unit);
  return bytes;
}

// The entries from index first on, as "word|category|notes|translations" lines.
std::string Entries(const TVocabFile& v, int32_t first = 0) {
  std::string out;
  for (int32_t i = first; i < v.Count(); ++i) {
    const TVocabItem& e = v.GetItem(i);
    out += e.Values[0] + "|" + e.Values[1] + "|" + e.Values[2] + "|" + e.Values[3] + "\n";
    EXPECT_EQ(e.LastAsked, 0);
    EXPECT_EQ(e.SortPos, 0);
    EXPECT_EQ(e.PenaltyPoints, 0);
  }
  return out;
}

// Everything an import that adds nothing or fails must leave alone.
std::string State(const TVocabFile& v) {
  return Words(v) + "|" + std::to_string(v.ItemIndex()) + "|" + std::to_string(v.JournalPos()) +
         "|" + std::to_string(v.Journal().size()) + "|" + std::to_string(v.Modified()) + "|" +
         std::to_string(v.SavedPos()) + "|" + std::to_string(LiveItemCount);
}

// A vocabulary with one undoable edit, saved at that point.
std::unique_ptr<TVocabFile> Edited() {
  auto v = SampleVocabulary();
  v->SetItemIndex(2);
  v->EditItem().Values = {"gehen", "v", "", "go"};
  v->ReplaceCurrent();
  v->SetModified(false);
  return v;
}

std::string Import(const std::string& bytes, int type, const TMap& map = kWordTranslation,
                   int32_t firstLine = 1) {
  TTempDir dir;
  TVocabFile v;
  v.ImportText(dir.Write("in.txt", bytes), type, map, firstLine);
  return Entries(v);
}
}  // namespace

TEST(ImportText, CommaColumnsAreUnquotedAndTrimmed) {
  const std::string text =
      "\"Haus, das\",house\r\n"
      "\"sagte \"\"ja\"\"\",  said yes \t\r\n"
      "  Baum  , tree ,adj\r\n";
  EXPECT_EQ(Import(text, ttCommaText, {1, 3, 0, 2}),
            "Haus, das|||house\n"
            "sagte \"ja\"|||said yes\n"
            "Baum|adj||tree\n");
  // Columns go to the fields the map names, in any order.
  EXPECT_EQ(Import("a,b,c,d\n", ttCommaText, {4, 3, 2, 1}), "d|c|b|a\n");
}

TEST(ImportText, TabColumnsKeepEmptyOnesAndQuotes) {
  EXPECT_EQ(Import("a\t\tc\n \"q,x\" \t z\n", ttTabText, {1, 0, 0, 3}),
            "a|||c\n\"q,x\"|||#Value?#\n");
  EXPECT_EQ(Import("a,b\tc\n", ttTabText), "a,b|||c\n");
}

// Lines without a word/phrase are skipped and not counted; missing translations get a
// placeholder; a column past the end of a line is empty.
TEST(ImportText, EntryRule) {
  TTempDir dir;
  const std::string path =
      dir.Write("in.txt", "word only\n,translation only\n\n   \nx,y\n\"\",z\n");
  TVocabFile v;
  EXPECT_EQ(v.ImportText(path, ttCommaText, kWordTranslation, 1), 2);
  EXPECT_EQ(Entries(v), "word only|||#Value?#\nx|||y\n");
  TVocabFile w;
  EXPECT_EQ(w.ImportText(path, ttCommaText, {1, 0, 0, 5}, 1), 2);
  EXPECT_EQ(Entries(w), "word only|||#Value?#\nx|||#Value?#\n");
}

// At most 64 columns of a line are looked at, in every text type.
TEST(ImportText, SixtyFourColumnLimit) {
  for (int type = 0; type < 6; ++type) {
    const bool tabs = type == ttTabText || type == ttUnicodeTabText || type == ttUtf8TabText;
    std::string line;
    for (int i = 1; i <= 70; ++i) {
      if (i > 1) line += tabs ? '\t' : ',';
      line += std::to_string(i);
    }
    std::string bytes = line + "\n";
    if (IsUtf16(type)) bytes = Utf16(std::u16string(bytes.begin(), bytes.end()), false);
    EXPECT_EQ(Import(bytes, type, {64, 0, 0, 65}), "64|||#Value?#\n") << type;
    EXPECT_EQ(Import(bytes, type, {65, 0, 0, 1}), "") << type;
  }
}

TEST(ImportText, EveryLineBreakIsAccepted) {
  const char* breaks[] = {"\n", "\r", "\r\n"};
  for (int type = 0; type < 6; ++type) {
    const bool tabs = type == ttTabText || type == ttUnicodeTabText || type == ttUtf8TabText;
    const std::string sep = tabs ? "\t" : ",";
    for (const char* a : breaks) {
      for (const char* b : breaks) {
        for (const char* end : {"", "\n", "\r\n"}) {
          std::string text = "a" + sep + "1" + a + "b" + sep + "2" + b + "c" + sep + "3" + end;
          if (IsUtf16(type)) text = Utf16(std::u16string(text.begin(), text.end()), false);
          EXPECT_EQ(Import(text, type), "a|||1\nb|||2\nc|||3\n") << type << Hex(text);
        }
      }
    }
  }
}

TEST(ImportText, ZeroByteEndsEightBitText) {
  EXPECT_EQ(Import(std::string("a,1\nb,2\0\nc,3\n", 13), ttCommaText), "a|||1\nb|||2\n");
}

TEST(ImportText, FirstLine) {
  TTempDir dir;
  const std::string path = dir.Write("in.txt", "Word,Translation\nHaus,house\nBaum,tree\n");
  const std::string wide =
      dir.Write("in16.txt", Utf16(u"Word,Translation\nHaus,house\nBaum,tree", false));
  for (const std::string& file : {path, wide}) {
    const int type = file == path ? ttCommaText : ttUnicodeCommaText;
    TVocabFile v;
    EXPECT_EQ(v.ImportText(file, type, kWordTranslation, 2), 2);
    EXPECT_EQ(Entries(v), "Haus|||house\nBaum|||tree\n");
    EXPECT_EQ(v.ImportText(file, type, kWordTranslation, 3), 1);

    // Past the end, or below 1: nothing changes, the journal stays.
    auto edited = Edited();
    const std::string before = State(*edited);
    EXPECT_EQ(edited->ImportText(file, type, kWordTranslation, 4), 0);
    EXPECT_EQ(edited->ImportText(file, type, kWordTranslation, 32767), 0);
    EXPECT_THROW_MSG(edited->ImportText(file, type, kWordTranslation, 0),
                     "Invalid procedure call.");
    EXPECT_THROW_MSG(edited->ImportText(file, type, kWordTranslation, -1),
                     "Invalid procedure call.");
    EXPECT_EQ(State(*edited), before);
  }
}

TEST(ImportText, FailuresAndUnknownTypes) {
  TTempDir dir;
  TVocabFile v;
  const std::string missing = dir.Path("missing.txt");
  EXPECT_THROW_MSG(v.ImportText(missing, ttCommaText, kWordTranslation, 1),
                   "Cannot open file " + missing);
  EXPECT_THROW_MSG(v.ImportText(missing, ttUnicodeTabText, kWordTranslation, 1),
                   "Cannot open file " + missing);
  EXPECT_THROW_MSG(v.ImportText(dir.Path(""), ttCommaText, kWordTranslation, 1),
                   "Cannot open file " + dir.Path(""));
  EXPECT_THROW_MSG(v.ImportText(missing, ttUtf8CommaText, kWordTranslation, 1),
                   "Cannot open file " + missing);
  EXPECT_EQ(v.ImportText(missing, 6, kWordTranslation, 1), 0);
  EXPECT_EQ(v.ImportText(missing, -1, kWordTranslation, 1), 0);
  EXPECT_EQ(v.Count(), 0);
}

// Pipes and devices could block the import or feed it without end; an oversized file would
// exhaust memory. All are refused before anything is read, and the vocabulary stays as it was.
TEST(ImportText, RefusesWhatIsNotARegularFileAndFilesBeyondTheLimit) {
  TTempDir dir;
  const std::string pipe = dir.Path("pipe.txt");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string huge = dir.Write("huge.txt", "Haus,house\n");
  std::filesystem::resize_file(huge, kMaxImportBytes + 1);
  std::filesystem::create_symlink(dir.Write("small.txt", "Haus,house\n"), dir.Path("link.txt"));

  for (int type = ttCommaText; type <= ttUtf8TabText; ++type) {
    auto v = Edited();
    const std::string before = State(*v);
    for (const std::string& path : {pipe, std::string("/dev/zero"), dir.Path("")}) {
      EXPECT_THROW_MSG(v->ImportText(path, type, kWordTranslation, 1), "Cannot open file " + path);
    }
    EXPECT_THROW_MSG(v->ImportText(huge, type, kWordTranslation, 1),
                     "The file " + huge + " is larger than 128 MB and cannot be imported.");
    EXPECT_EQ(State(*v), before) << "type " << type;
  }
  EXPECT_EQ(DetectTextType(pipe), ttCommaText);
  // A link to a regular file is read.
  TVocabFile v;
  EXPECT_EQ(v.ImportText(dir.Path("link.txt"), ttCommaText, kWordTranslation, 1), 1);
}

// An import that adds entries appends them and cannot be undone.
TEST(ImportText, AppendsClearsJournalAndMarksModified) {
  TTempDir dir;
  const std::string path = dir.Write("in.txt", "eins,one\nzwei,two\ndrei,three\n");
  auto v = Edited();
  ASSERT_EQ(v->UndoKind(), jkEdit);
  EXPECT_EQ(v->ImportText(path, ttCommaText, kWordTranslation, 1), 3);
  EXPECT_EQ(Words(*v), "Haus Baum gehen schnell der Garten eins zwei drei");
  EXPECT_EQ(Entries(*v, 5), "eins|||one\nzwei|||two\ndrei|||three\n");
  EXPECT_EQ(v->ItemIndex(), 2);
  EXPECT_EQ(v->UndoKind(), jkNone);
  EXPECT_EQ(v->RedoKind(), jkNone);
  EXPECT_TRUE(v->Modified());
  EXPECT_EQ(v->SavedPos(), -1);
}

// Big-endian files import like their little-endian twins; text is converted to the code page of
// the field's language.
TEST(ImportUnicodeText, ByteOrdersAndCodePages) {
  const std::u16string text =
      u"\u03BB\u03CC\u03B3\u03BF\u03C2 , \"\u0441\u043B\u043E\u0432\u043E, "
      u"\"\"\u0440\u0435\u0447\u044C\"\"\"\r\nA,B\r\n";
  const std::string expected =
      "\xEB\xFC\xE3\xEF\xF2|||\xF1\xEB\xEE\xE2\xEE, \"\xF0\xE5\xF7\xFC\"\nA|||B\n";
  const std::string files[] = {Utf16(text, false), Utf16(text, true), Utf16(text, false, false)};
  for (const std::string& bytes : files) {
    TTempDir dir;
    TVocabFile v;
    v.SetForeignLangID(0x0408);  // Greek, code page 1253
    v.SetNativeLangID(0x0419);   // Russian, code page 1251
    EXPECT_EQ(v.ImportText(dir.Write("in.txt", bytes), ttUnicodeCommaText, kWordTranslation, 1), 2);
    EXPECT_EQ(Entries(v), expected) << Hex(bytes.substr(0, 4));
  }
  // A byte-swapped tab is a tab in big-endian text.
  EXPECT_EQ(Import(Utf16(u"a\t\"b\"\n", true), ttUnicodeTabText), "a|||\"b\"\n");
  // An odd last byte is dropped.
  EXPECT_EQ(Import(Utf16(u"a,b", false) + "c", ttUnicodeCommaText), "a|||b\n");
}

// A UTF-8 file with accents, Cyrillic and a euro sign: every column is converted to the code
// page of its field's language, and what that code page lacks becomes "?".
TEST(ImportUtf8Text, ConvertsToEachLanguagesCodePage) {
  const std::string text =
      "\xD1\x87\xD0\xB0\xD0\xB9,th\xC3\xA9\r\n"         // Cyrillic "chai", "the" with an acute e
      "\"caf\xC3\xA9, cr\xC3\xA8me\",\xE2\x82\xAC 3\n"  // French in quotes, the euro sign
      "\xF0\x9F\x98\x80 x\xFF,\xD0\x96\xC3\r\n";        // emoji, stray byte; Cyrillic, cut off
  struct TCase {
    uint16_t Foreign, Native;
    std::string Expected;
  };
  const TCase cases[] = {
      // German / English: both 1252.
      {0x0407, 0x0409, "???|||th\xE9\ncaf\xE9, cr\xE8me|||\x80 3\n? x?|||??\n"},
      // Russian / English: 1251 / 1252.
      {0x0419, 0x0409, "\xF7\xE0\xE9|||th\xE9\ncaf?, cr?me|||\x80 3\n? x?|||??\n"},
      // English / Russian: 1252 / 1251.
      {0x0409, 0x0419, "???|||th?\ncaf\xE9, cr\xE8me|||\x88 3\n? x?|||\xC6?\n"},
  };
  for (const TCase& c : cases) {
    for (const std::string& mark : {std::string(), std::string(kUtf8Mark)}) {
      TTempDir dir;
      TVocabFile v;
      v.SetForeignLangID(c.Foreign);
      v.SetNativeLangID(c.Native);
      EXPECT_EQ(
          v.ImportText(dir.Write("in.csv", mark + text), ttUtf8CommaText, kWordTranslation, 1), 3);
      EXPECT_EQ(Entries(v), c.Expected) << c.Foreign << " " << mark.size();
    }
  }
  // Tabs, and the mark is not part of the first line's first column.
  EXPECT_EQ(Import(std::string(kUtf8Mark) + "\"a\"\t\xC3\xA9\n", ttUtf8TabText), "\"a\"|||\xE9\n");
  // A column holding only a character the code page lacks still counts as a word/phrase.
  EXPECT_EQ(Import("\xD0\x96,x\n", ttUtf8CommaText), "?|||x\n");
}

// Entries read from another program's file: converted to each field's code page, with the
// entry rule of the text import, and only between the same primary languages.
TEST(ImportEntries, ConvertsAndAppliesTheEntryRule) {
  auto v = Edited();
  v->SetForeignLangID(0x0419);  // Russian / English
  v->SetNativeLangID(0x0409);
  const std::string before = Entries(*v);
  const std::vector<std::array<std::u16string, 4>> entries = {
      {u"\u0447\u0430\u0439", u"n", u"hot \u20AC", u"tea"},
      {u"", u"n", u"no word", u"skipped"},
      {u"\u0434\u0430", u"", u"", u""},
      {u"caf\u00E9", u"\u0416", u"", u"x"},
  };
  EXPECT_EQ(v->ImportEntries(0x0419, 0x0809, entries), 3);
  EXPECT_EQ(Entries(*v).substr(before.size()),
            "\xF7\xE0\xE9|n|hot \x80|tea\n\xE4\xE0|||#Value?#\ncaf?|?||x\n");
  EXPECT_EQ(v->ItemIndex(), 2);
  EXPECT_EQ(v->JournalPos(), 0);
  EXPECT_TRUE(v->Modified());
  EXPECT_EQ(v->SavedPos(), -1);
}

TEST(ImportEntries, DifferentLanguagesOrNothingChangeNothing) {
  auto v = Edited();  // German / English
  const std::string before = State(*v);
  const std::vector<std::array<std::u16string, 4>> one = {{u"Haus", u"", u"", u"house"}};
  EXPECT_THROW_MSG(v->ImportEntries(0x040C, 0x0409, one), "Languages are different.");
  EXPECT_THROW_MSG(v->ImportEntries(0x0407, 0x0407, one), "Languages are different.");
  EXPECT_THROW_MSG(v->ImportEntries(0, 0, one), "Languages are different.");
  EXPECT_EQ(v->ImportEntries(0x0C07, 0x0409, {{u"", u"", u"", u"x"}}), 0);
  EXPECT_EQ(v->ImportEntries(0x0407, 0x0409, {}), 0);
  EXPECT_EQ(State(*v), before);
}

// A failure part-way (here: memory running out at every possible point) leaves the
// vocabulary as it was: entries, current entry, journal, Modified.
TEST(ImportText, FailurePartWayRollsBack) {
  TTempDir dir;
  std::string text;
  for (int i = 0; i < 20; ++i) text += "word" + std::to_string(i) + ",translation\n";
  const std::string files[] = {
      dir.Write("in.txt", text),
      dir.Write("in16.txt", Utf16(std::u16string(text.begin(), text.end()), true))};
  for (int type : {ttCommaText, ttUnicodeCommaText}) {
    const std::string& path = files[type == ttCommaText ? 0 : 1];
    bool succeeded = false;
    int failures = 0;
    for (int64_t n = 0; !succeeded && n < 100000; ++n) {
      auto v = Edited();
      const std::string before = State(*v);
      int32_t count = -1;
      FailAllocationsAfter(n);
      try {
        count = v->ImportText(path, type, kWordTranslation, 1);
        succeeded = true;
      } catch (const std::bad_alloc&) {
      }
      StopFailingAllocations();
      if (succeeded) {
        EXPECT_EQ(count, 20);
        EXPECT_EQ(v->Count(), 25);
      } else {
        ++failures;
        ASSERT_EQ(State(*v), before) << "allocation " << n;
      }
    }
    EXPECT_TRUE(succeeded);
    EXPECT_GT(failures, 20) << "the failures should reach the entries";
  }
}

// Text files are outside data: random ones, read under the sanitizers, give only entries with a
// word/phrase and translations, every text trimmed.
TEST(ImportText, RandomFilesGiveOnlyWellFormedEntries) {
  std::mt19937 random(11);
  const char alphabet[] = {'a',  'b',  ',',    '\t',   '"',    ' ',    '\r',
                           '\n', '\0', '\xE9', '\xFE', '\xFF', '\xC3', '\xA0'};
  TTempDir dir;
  for (int round = 0; round < 200; ++round) {
    std::string bytes(random() % 200, '\0');
    for (char& c : bytes) c = alphabet[random() % sizeof alphabet];
    const int type = static_cast<int>(random() % 6);
    TMap map;
    for (int32_t& column : map) column = static_cast<int32_t>(random() % 70) - 2;
    const auto firstLine = static_cast<int32_t>(1 + random() % 4);
    TVocabFile v;
    const int32_t count = v.ImportText(dir.Write("in.txt", bytes), type, map, firstLine);
    ASSERT_EQ(count, v.Count());
    for (const TVocabItem* item : v.Items()) {
      EXPECT_FALSE(item->Values[Foreign].empty());
      EXPECT_FALSE(item->Values[Native].empty());
      for (const std::string& text : item->Values) {
        if (text.empty()) continue;
        EXPECT_GT(static_cast<unsigned char>(text.front()), 0x20) << Hex(bytes);
        EXPECT_GT(static_cast<unsigned char>(text.back()), 0x20) << Hex(bytes);
      }
    }
  }
}

TEST(MergeFile, AppendsEntriesUntestedWithSortPositions) {
  TTempDir dir;
  auto source = SampleVocabulary({{"Haus", "n", "", "house"}, {"Baum", "n", "", "tree"}});
  source->SetForeignLangID(0x0409);
  source->SetNativeLangID(0x0407);
  source->GetItem(0).SortPos = 4;
  source->GetItem(0).PenaltyPoints = -1;
  source->GetItem(1).LastAsked = 12;
  source->GetItem(1).PenaltyPoints = 3;
  source->SetProperty(0, "Other description");
  const std::string path = dir.Path("source.doz");
  source->SaveToFile(path);

  auto v = SampleVocabulary({{"eins", "", "", "one"}});
  v->SetForeignLangID(0x0809);  // English (UK)
  v->SetNativeLangID(0x0407);
  v->EditItem().Values = {"zwei", "", "", "two"};
  v->AddItem(2);
  EXPECT_EQ(v->MergeFile(path), 2);
  EXPECT_EQ(Words(*v), "eins zwei Haus Baum");
  EXPECT_EQ(v->GetItem(2).SortPos, 4);
  for (int i : {2, 3}) {
    EXPECT_EQ(v->GetItem(i).PenaltyPoints, 0);
    EXPECT_EQ(v->GetItem(i).LastAsked, 0);
  }
  EXPECT_EQ(v->GetProperty(0), "");
  EXPECT_EQ(v->ItemIndex(), 1);
  EXPECT_EQ(v->JournalPos(), 0);
  EXPECT_TRUE(v->Modified());
  EXPECT_EQ(v->SavedPos(), -1);
}

TEST(MergeFile, FailuresChangeNothing) {
  TTempDir dir;
  auto french = SampleVocabulary();
  french->SetForeignLangID(0x040C);
  const std::string frenchPath = dir.Path("french.doz");
  french->SaveToFile(frenchPath);
  const std::string good = TTempDir::Read(frenchPath);
  TVocabFile empty;
  empty.SetForeignLangID(0x0407);
  empty.SetNativeLangID(0x0409);
  const std::string emptyPath = dir.Path("empty.doz");
  empty.SaveToFile(emptyPath);

  struct TCase {
    std::string Path;
    std::string Message;  // empty: adds nothing without an error
  };
  const TCase cases[] = {
      {frenchPath, "Languages are different."},
      {dir.Write("text.doz", "Haus,house\n"), "Invalid file format."},
      {dir.Write("cut.doz", good.substr(0, good.size() - 3)), "Stream read error"},
      {dir.Path("missing.doz"), "Cannot open file " + dir.Path("missing.doz")},
      {emptyPath, ""},
  };
  for (const auto& c : cases) {
    auto v = Edited();
    const std::string before = State(*v);
    if (c.Message.empty()) {
      EXPECT_EQ(v->MergeFile(c.Path), 0);
    } else {
      EXPECT_THROW_MSG(v->MergeFile(c.Path), c.Message);
    }
    EXPECT_EQ(State(*v), before) << c.Path;
  }
}

TEST(DetectTextType, MarksAndTabsInTheFirstKilobyte) {
  struct TCase {
    std::string Bytes;
    uint8_t Type;
  };
  const TCase cases[] = {
      {"a,b\n", ttCommaText},
      {"a\tb\n", ttTabText},
      {std::string(1024, 'a') + "\t", ttCommaText},  // the tab is past the first kilobyte
      {"", ttCommaText},
      {Utf16(u"a,b", false), ttUnicodeCommaText},
      {Utf16(u"a\tb", false), ttUnicodeTabText},
      {Utf16(u"a,b", true), ttUnicodeCommaText},
      {Utf16(u"a\tb", true), ttUnicodeTabText},
      {Utf16(u"\u0900", false), ttUnicodeCommaText},      // 09 in a unit that is no tab
      {Utf16(u"a,b", false) + "\t", ttUnicodeCommaText},  // odd last byte dropped
      {Utf16(u"a,b", false, false) + std::string("\t\0", 2), ttTabText},  // no mark: 8-bit
      {"th\xC3\xA9,tea\n", ttUtf8CommaText},
      {"th\xC3\xA9\ttea\n", ttUtf8TabText},
      {std::string(kUtf8Mark) + "a,b\n", ttUtf8CommaText},     // the mark alone decides
      {"th\xE9,tea\n", ttCommaText},                           // 8-bit: not UTF-8
      {"\xC3\xA9,\xE9\n", ttCommaText},                        // one bad byte is enough
      {"\xC0\xAF,\xED\xA0\x80\n", ttCommaText},                // overlong form, surrogate
      {"a,b\xC3", ttCommaText},                                // the file ends inside a character
      {std::string(1023, 'a') + "\xC3\xA9", ttUtf8CommaText},  // cut by the end of the sample
  };
  TTempDir dir;
  for (const auto& c : cases) {
    EXPECT_EQ(DetectTextType(dir.Write("in.txt", c.Bytes)), c.Type) << Hex(c.Bytes);
  }
  EXPECT_EQ(DetectTextType(dir.Path("missing.txt")), ttCommaText);
}
