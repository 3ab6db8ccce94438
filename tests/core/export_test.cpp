// SPDX-License-Identifier: MIT
// Byte-exact tests of delimited text, RTF and HTML exports.
#include "vocab/Export.h"

#include "AllocFailure.h"
#include "TempFiles.h"
#include "TestSupport.h"
#include "text/Languages.h"

namespace {
// German / English, code page 1252 for both.
std::unique_ptr<TVocabFile> Sample() {
  auto v = SampleVocabulary({{"Haus, das", "n", "", "house"},
                             {"sagte \"ja\"", "", " note", "said\tyes"},
                             {"Caf\xE9", "", "", "caf\xE9 {x}\\"},
                             {"", "", "", ""}});
  v->SetModified(true);
  return v;
}

// Latin-1 text as UTF-16 little-endian bytes.
std::string Wide(const std::string& text) {
  std::string out;
  for (char c : text) {
    out += c;
    out += '\0';
  }
  return out;
}

const std::string kComma =
    "\"Haus, das\",n,,house\r\n"
    "\"sagte \"\"ja\"\"\",, note,said\tyes\r\n"
    "Caf\xE9,,,caf\xE9 {x}\\\r\n"
    ",,,\r\n";
const std::string kTab =
    "Haus, das\tn\t\thouse\r\n"
    "sagte \"ja\"\t\t note\tsaid\tyes\r\n"
    "Caf\xE9\t\t\tcaf\xE9 {x}\\\r\n"
    "\t\t\t\r\n";

const std::string kRtfHeader =
    R"({\rtf1\ansi\deff1{\fonttbl{\f0\froman\fcharset0 Times New Roman};)"
    R"({\f1\froman\fcharset0 Times New Roman}}\pard\plain\fs32\lang1024\b )";
const std::string kRtfAfterTitle = R"(\b0\par\par\fi-283\li283\fs24)";

const std::string kHtmlStart =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<html>\r\n<head>\r\n"
    "<title>";
std::string HtmlHead(const std::string& title) {
  return kHtmlStart + title +
         "</title>\r\n<meta http-equiv=\"content-type\" content=\"text/html; charset=UTF-8\">"
         "\r\n</head>\r\n<body bgcolor=\"#FFFFFF\">\r\n<H1>" +
         title + "</H1>\r\n<p>";
}
const std::string kHtmlEnd = "</p>\r\n</body>\r\n</html>";

// What an export must not touch.
std::string State(const TVocabFile& v) {
  return Words(v) + "|" + v.FileName() + "|" + std::to_string(v.Modified()) + "|" +
         std::to_string(v.JournalPos()) + "|" + std::to_string(v.ItemIndex());
}
}  // namespace

TEST(ExportText, EveryFormatByteExact) {
  TTempDir dir;
  auto v = Sample();
  const std::string before = State(*v);
  const std::string expected[] = {kComma, kTab, "\xFF\xFE" + Wide(kComma), "\xFF\xFE" + Wide(kTab)};
  for (int format = 0; format < 4; ++format) {
    const std::string path = dir.Path("out" + std::to_string(format) + ".txt");
    v->ExportText(path, format);
    EXPECT_EQ(Hex(TTempDir::Read(path)), Hex(expected[format])) << format;
  }
  EXPECT_EQ(State(*v), before);
}

// UTF-16 export converts the word/phrase from the foreign, the rest from the native code page.
TEST(ExportText, UnicodeUsesEachFieldsCodePage) {
  TTempDir dir;
  auto v = SampleVocabulary({{"\xEB,", "", "\x80", "\xE4"}});
  v->SetForeignLangID(0x0408);  // Greek, 1253
  v->SetNativeLangID(0x0419);   // Russian, 1251
  v->ExportText(dir.Path("u.txt"), 2);
  EXPECT_EQ(Hex(TTempDir::Read(dir.Path("u.txt"))),
            "ff fe 22 00 bb 03 2c 00 22 00 2c 00 2c 00 02 04 2c 00 34 04 0d 00 0a 00");
  v->SetNativeLangID(0x0409);  // English, 1252: 0x80 is the euro sign
  v->ExportText(dir.Path("u.txt"), 3);
  EXPECT_EQ(Hex(TTempDir::Read(dir.Path("u.txt"))),
            "ff fe bb 03 2c 00 09 00 09 00 ac 20 09 00 e4 00 0d 00 0a 00");
}

// UTF-8 export: the same lines as the 8-bit formats, each field converted from its language's
// code page, no byte-order mark.
TEST(ExportText, Utf8FormatsByteExact) {
  TTempDir dir;
  auto v = Sample();
  const std::string before = State(*v);
  const auto utf8 = [](std::string text) {
    const std::string e9 = "\xE9";
    for (size_t at = text.find(e9); at != std::string::npos; at = text.find(e9, at))
      text.replace(at, 1, "\xC3\xA9");
    return text;
  };
  v->ExportText(dir.Path("c.txt"), 4);
  EXPECT_EQ(Hex(TTempDir::Read(dir.Path("c.txt"))), Hex(utf8(kComma)));
  v->ExportText(dir.Path("t.txt"), 5);
  EXPECT_EQ(Hex(TTempDir::Read(dir.Path("t.txt"))), Hex(utf8(kTab)));
  EXPECT_EQ(State(*v), before);

  auto cyrillic = SampleVocabulary({{"\xEB,", "", "\x80", "\xF7\xE0\xE9"}});
  cyrillic->SetForeignLangID(0x0408);  // Greek, 1253
  cyrillic->SetNativeLangID(0x0419);   // Russian, 1251
  cyrillic->ExportText(dir.Path("u.txt"), 4);
  EXPECT_EQ(TTempDir::Read(dir.Path("u.txt")),
            "\"\xCE\xBB,\",,\xD0\x82,\xD1\x87\xD0\xB0\xD0\xB9\r\n");
}

// What the UTF-8 export writes, the UTF-8 import reads back unchanged, in every code page.
TEST(ExportText, Utf8RoundTrip) {
  TTempDir dir;
  auto v = SampleVocabulary({{"Haus, das", "n", "a \"b\"", "house"},
                             {"\xE0\xE9\xFF\x80", "\xC0", "", "\xF7\xE0\xE9"},
                             {"x\ty", "", "", "z"}});
  const uint16_t natives[] = {0x0409, 0x0419, 0x0408, 0x0405};
  for (const uint16_t native : natives) {
    v->SetNativeLangID(native);
    for (const int format : {4, 5}) {
      const std::string path = dir.Path("r.txt");
      v->ExportText(path, format);
      TVocabFile back;
      back.SetForeignLangID(v->ForeignLangID());
      back.SetNativeLangID(native);
      // A tab inside a field cannot survive tab-delimited text.
      const int expected = format == 4 ? 3 : 2;
      back.ImportText(path, format == 4 ? 4 : 5, {1, 2, 3, 4}, 1);
      ASSERT_EQ(back.Count(), 3);
      for (int i = 0; i < expected; ++i) {
        EXPECT_EQ(back.GetItem(i).Values, v->GetItem(i).Values) << native << " " << format;
      }
    }
  }
}

TEST(ExportRtf, DocumentByteExact) {
  TTempDir dir;
  auto v = Sample();
  v->SetProperty(0, "Words");
  const std::string before = State(*v);
  ExportRtf(*v, dir.Path("out.rtf"));
  EXPECT_EQ(TTempDir::Read(dir.Path("out.rtf")),
            kRtfHeader + "Words" + kRtfAfterTitle +
                R"(\f0\lang1031\b Haus, das\b0\f1\lang1033  \i n\i0  house\par)"
                R"(\f0\lang1031\b sagte "ja"\b0\f1\lang1033  \i note\i0  said)"
                "\t"
                R"(yes\par)"
                R"(\f0\lang1031\b Caf\'e9\b0\f1\lang1033  caf\'e9 \{x\}\\\par)"
                R"(\f0\lang1031\b \b0\f1\lang1033  \par})");
  EXPECT_EQ(State(*v), before);
}

TEST(ExportRtf, FontsFollowTheLanguagesCharacterSets) {
  TTempDir dir;
  auto v = SampleVocabulary({{"\xEB", "\xE4", "", "\xE4"}});
  v->SetForeignLangID(0x0408);
  v->SetNativeLangID(0x0419);
  v->SetProperty(0, "T");
  ExportRtf(*v, dir.Path("out.rtf"));
  EXPECT_EQ(TTempDir::Read(dir.Path("out.rtf")),
            R"({\rtf1\ansi\deff1{\fonttbl{\f0\froman\fcharset161 Times New Roman Greek};)"
            R"({\f1\froman\fcharset204 Times New Roman Cyr}}\pard\plain\fs32\lang1024\b T)" +
                kRtfAfterTitle + R"(\f0\lang1032\b \'eb\b0\f1\lang1049  \i \'e4\i0  \'e4\par})");
}

TEST(ExportHtml, DocumentByteExact) {
  TTempDir dir;
  auto v = SampleVocabulary({{"A", "", "", "b"}, {"x", "v", "n", "\xE9"}, {"", "", "", ""}});
  v->SetProperty(0, "AB");
  const std::string before = State(*v);
  ExportHtml(*v, dir.Path("out.htm"));
  EXPECT_EQ(TTempDir::Read(dir.Path("out.htm")),
            HtmlHead("&#65;&#66;") +
                "<b>&#65;</b> &#98;<br>\r\n"
                "<b>&#120;</b> <i>&#118;&#32;&#110;</i> &#233;<br>\r\n"
                "<b></b> <br>\r\n" +
                kHtmlEnd);
  EXPECT_EQ(State(*v), before);

  v = SampleVocabulary({{"\xEB", "", "\xE4", "\xE4"}});
  v->SetForeignLangID(0x0408);
  v->SetNativeLangID(0x0419);
  v->SetProperty(0, "T");
  ExportHtml(*v, dir.Path("out.htm"));
  EXPECT_EQ(TTempDir::Read(dir.Path("out.htm")),
            HtmlHead("&#84;") + "<b>&#955;</b> <i>&#1076;</i> &#1076;<br>\r\n" + kHtmlEnd);
}

// Every byte of every code page is encoded as HtmlCharRefs encodes it.
TEST(ExportHtml, EntriesAreEncodedAsHtmlCharRefs) {
  std::string bytes;
  for (int b = 1; b < 256; ++b) bytes += static_cast<char>(b);
  TTempDir dir;
  const uint16_t languages[] = {0x0409, 0x0405, 0x0419, 0x0408, 0x041F, 0x0425};
  for (const uint16_t lang : languages) {
    auto v = SampleVocabulary({{bytes, "", "", bytes}});
    v->SetForeignLangID(lang);
    v->SetNativeLangID(0x0409);
    v->SetProperty(0, bytes);
    ExportHtml(*v, dir.Path("all.htm"));
    const std::string title = HtmlCharRefs(bytes, 0x0409);
    EXPECT_EQ(TTempDir::Read(dir.Path("all.htm")), HtmlHead(title) + "<b>" +
                                                       HtmlCharRefs(bytes, lang) + "</b> " + title +
                                                       "<br>\r\n" + kHtmlEnd)
        << lang;
  }
}

// No title, whatever it holds, can break the document it heads.
TEST(ExportDocuments, TitleIsEscapedForItsFormat) {
  TTempDir dir;
  auto v = SampleVocabulary({{"a", "", "", "b"}});
  v->SetProperty(0, "\\{<&}\xE9");
  ExportRtf(*v, dir.Path("t.rtf"));
  const std::string rtf = kRtfHeader + R"(\\\{<&\}\'e9)" + kRtfAfterTitle;
  EXPECT_EQ(TTempDir::Read(dir.Path("t.rtf")).substr(0, rtf.size()), rtf);
  ExportHtml(*v, dir.Path("t.htm"));
  const std::string html = kHtmlStart + "&#92;&#123;&#60;&#38;&#125;&#233;</title>";
  EXPECT_EQ(TTempDir::Read(dir.Path("t.htm")).substr(0, html.size()), html);
}

// Without a Description the title is the file name without folder and extension.
TEST(ExportDocuments, EmptyVocabularyAndFileNameTitle) {
  TTempDir dir;
  TVocabFile v;
  v.SetNativeLangID(0x0409);
  for (int format = 0; format < 4; ++format) {
    v.ExportText(dir.Path("e.txt"), format);
    EXPECT_EQ(TTempDir::Read(dir.Path("e.txt")), format < 2 ? "" : "\xFF\xFE") << format;
  }
  ExportRtf(v, dir.Path("My words.v1.rtf"));
  EXPECT_EQ(TTempDir::Read(dir.Path("My words.v1.rtf")),
            kRtfHeader + "My words.v1" + kRtfAfterTitle + "}");
  // File names are UTF-8.
  ExportRtf(v, dir.Path("W\xC3\xB6rter.rtf"));
  EXPECT_EQ(TTempDir::Read(dir.Path("W\xC3\xB6rter.rtf")),
            kRtfHeader + R"(W\'f6rter)" + kRtfAfterTitle + "}");
  ExportHtml(v, dir.Path("W\xC3\xB6rter.htm"));
  EXPECT_EQ(TTempDir::Read(dir.Path("W\xC3\xB6rter.htm")),
            HtmlHead("&#87;&#246;&#114;&#116;&#101;&#114;") + kHtmlEnd);
}

TEST(ExportDocuments, ReplacesAnExistingFileWhole) {
  TTempDir dir;
  const std::string path = dir.Write("out.txt", std::string(10000, 'x'));
  auto v = Sample();
  v->ExportText(path, 1);
  EXPECT_EQ(TTempDir::Read(path), kTab);
  EXPECT_EQ(dir.Files(), std::vector<std::string>{"out.txt"});
}

TEST(ExportDocuments, TargetThatCannotBeCreated) {
  TTempDir dir;
  auto v = Sample();
  const std::string noFolder = dir.Path("missing/out.txt");
  const std::string missing = ": No such file or directory";
  EXPECT_THROW_MSG(v->ExportText(noFolder, 0), "Cannot create file " + noFolder + missing);
  EXPECT_THROW_MSG(ExportRtf(*v, noFolder), "Cannot create file " + noFolder + missing);
  EXPECT_THROW_MSG(ExportHtml(*v, dir.Path("")),
                   "Cannot create file " + dir.Path("") + ": Is a directory");
  EXPECT_THROW_MSG(v->ExportText(dir.Path("x.txt"), 6), "Invalid procedure call.");
  EXPECT_TRUE(dir.Files().empty());
}

// A failure part-way (memory running out at every possible point) leaves an existing file as
// it was and no temporary file behind.
TEST(ExportDocuments, FailurePartWayKeepsTheOldFile) {
  TTempDir dir;
  auto v = Sample();
  const std::string old = "the file that was there";
  using TExport = std::function<void(const std::string&)>;
  const TExport exports[] = {
      [&](const std::string& path) { v->ExportText(path, 0); },
      [&](const std::string& path) { v->ExportText(path, 2); },
      [&](const std::string& path) { ExportRtf(*v, path); },
      [&](const std::string& path) { ExportHtml(*v, path); },
  };
  for (const auto& exportTo : exports) {
    const std::string path = dir.Write("out.txt", old);
    bool succeeded = false;
    int failures = 0;
    for (int64_t n = 0; !succeeded && n < 100000; ++n) {
      FailAllocationsAfter(n);
      try {
        exportTo(path);
        succeeded = true;
      } catch (const std::bad_alloc&) {
      }
      StopFailingAllocations();
      if (!succeeded) {
        ++failures;
        ASSERT_EQ(TTempDir::Read(path), old) << "allocation " << n;
        ASSERT_EQ(dir.Files(), std::vector<std::string>{"out.txt"}) << "allocation " << n;
      }
    }
    EXPECT_TRUE(succeeded);
    EXPECT_GT(failures, 10);
    EXPECT_NE(TTempDir::Read(path), old);
  }
}
