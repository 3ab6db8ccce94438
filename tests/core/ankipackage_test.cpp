// SPDX-License-Identifier: MIT
// Tests of the Anki package reader: every form, deck order, field text, the append, and damaged
// or hostile packages.
#include "vocab/AnkiPackage.h"

#include <cstdlib>
#include <filesystem>

#include "AnkiPackages.h"
#include "TempFiles.h"
#include "TestSupport.h"

namespace {
// Two note types, decks out of name order, notes created out of row order, a note whose first
// card (by ord) is in another deck than its later one, a note of no known deck.
TTestCollection Deck() {
  TTestCollection c;
  c.NoteTypes = {{100, "Basic", {"Front", "Back"}}, {200, "Cloze", {"Text", "Extra", "Source"}}};
  c.Decks = {{1, "Default"}, {20, "Russian::Verbs"}, {10, "Russian"}, {30, "Japanese"}};
  c.Notes = {
      {5000, 100, {"\xD0\xB4\xD0\xBE\xD0\xBC", "house"}, {10}},  // дом
      {3000, 200, {"{{c1::Katze::animal}} &amp; Hund<br>[sound:k.mp3]", "cat", "src"}, {10}},
      {4000, 100, {"\xE7\x8C\xAB", "cat <img src=\"n.jpg\">"}, {30}},  // 猫
      {2000, 100, {"gehen", "to go"}, {20, 30}},
      {1000, 100, {"orphan", "no deck"}, {99}},
      {6000, 100, {"<div>zwei</div><div>Zeilen&nbsp;&nbsp;hier</div>", ""}, {10}},
  };
  return c;
}

std::string Texts(const TAnkiPackage& p) {
  std::string out;
  for (const TAnkiNote& n : p.Notes) {
    out += std::to_string(n.NoteType);
    for (const std::string& f : n.Fields) out += "|" + f;
    out += "\n";
  }
  return out;
}
}  // namespace

TEST(AnkiFieldText, HtmlClozeAndMediaBecomePlainText) {
  const struct {
    const char* Html;
    const char* Text;
    int32_t Media;
  } cases[] = {
      {"a &lt;b&gt; &amp;amp; &quot;c&quot; &eacute;&#233;&#xE9; &Omega;&omega;&euro;",
       "a <b> &amp; \"c\" \xC3\xA9\xC3\xA9\xC3\xA9 \xCE\xA9\xCF\x89\xE2\x82\xAC", 0},
      {"&bogus; &#xZZ; a < b &#0;", "&bogus; &#xZZ; a < b \xEF\xBF\xBD", 0},
      {"<b>one</b><br/>two<br><br>  <div>three</div>\n four\t<p>", "one; two; three; four", 0},
      {"<span style=\"a>b\">x</span>y<!-- c<br> --><style>p{}</style><SCRIPT>z</script>", "xy", 0},
      {"{{c1::Haus::building}} {{c2::a {{c3::nested}} one}} {{c1::open", "Haus a nested one open",
       0},
      {"[sound:a.mp3]Wort<img src=\"x.png\"/>[sound:b.mp3] <audio src=y>", "Wort", 4},
      {"&nbsp;\xC2\xA0spaced\xC2\xA0out&nbsp;", "spaced out", 0},
      {"", "", 0},
  };
  for (const auto& c : cases) {
    int32_t media = 0;
    EXPECT_EQ(AnkiFieldText(c.Html, media), c.Text) << c.Html;
    EXPECT_EQ(media, c.Media) << c.Html;
  }
}

TEST(AnkiPackage, ReadsEveryFormInDeckOrder) {
  TTempDir dir;
  // Decks by name (Japanese, Russian, its Verbs), notes by creation; the note of deck 99 last.
  const std::string expected =
      "0|\xE7\x8C\xAB|cat\n"
      "1|Katze & Hund|cat|src\n"
      "0|\xD0\xB4\xD0\xBE\xD0\xBC|house\n"
      "0|zwei; Zeilen hier|\n"
      "0|gehen|to go\n"
      "0|orphan|no deck\n";
  for (const TAnkiForm form : {TAnkiForm::Anki2, TAnkiForm::Anki21, TAnkiForm::Anki21b}) {
    const TAnkiPackage p = ReadAnkiPackage(dir.Write("deck.apkg", AnkiPackageBytes(Deck(), form)));
    EXPECT_EQ(Texts(p), expected) << int(form);
    ASSERT_EQ(p.NoteTypes.size(), 2u);
    EXPECT_EQ(p.NoteTypes[0].Name, "Basic");
    EXPECT_EQ(p.NoteTypes[1].FieldNames, (std::vector<std::string>{"Text", "Extra", "Source"}));
    EXPECT_EQ(p.NoteTypes[0].NoteCount, 5);
    EXPECT_EQ(p.DroppedMedia, 2);
  }
  // Of an anki21 and an anki2 member, the anki21 one is read.
  TTestCollection old = Deck();
  old.Notes.resize(1);
  const std::string both = ZipArchive({{"collection.anki2", AnkiDatabase(old, 11)},
                                       {"collection.anki21", AnkiDatabase(Deck(), 11)}});
  EXPECT_EQ(ReadAnkiPackage(dir.Write("both.colpkg", both)).Notes.size(), 6u);
}

TEST(AnkiPackage, ImportsMappedFieldsAndCountsUnconvertible) {
  TTempDir dir;
  const TAnkiPackage p =
      ReadAnkiPackage(dir.Write("deck.apkg", AnkiPackageBytes(Deck(), TAnkiForm::Anki21b)));
  auto v = std::make_unique<TVocabFile>();  // German-English: Cyrillic and Japanese become "?"
  v->SetForeignLangID(0x0407);
  v->SetNativeLangID(0x0409);
  // Basic as suggested; Cloze: the text, and extra and source both into the notes.
  const TAnkiImportResult result =
      ImportAnkiNotes(*v, p, {DefaultAnkiFieldMap(2), {Foreign, Notes, Notes}});
  EXPECT_EQ(result.Added, 6);
  EXPECT_EQ(result.Unconvertible, 4);
  EXPECT_EQ(Words(*v), "? Katze & Hund ??? zwei; Zeilen hier gehen orphan");
  EXPECT_EQ(v->GetItem(1).Values[Notes], "cat; src");
  EXPECT_EQ(v->GetItem(3).Values[Native], "#Value?#");
  EXPECT_TRUE(v->Modified());
  // A note type whose word/phrase is not used adds nothing.
  EXPECT_EQ(ImportAnkiNotes(*v, p, {{-1, Native}, {-1, -1, -1}}).Added, 0);
  EXPECT_EQ(v->Count(), 6);
}

TEST(AnkiPackage, DamagedAndHostilePackagesAreRefused) {
  TTempDir dir;
  // Unpacked databases go here, so that what is left behind shows.
  TTempDir temp;
  const std::string tempDir = std::filesystem::path(temp.Path("x")).parent_path().string();
  setenv("TMPDIR", tempDir.c_str(), 1);
  const std::string good = AnkiPackageBytes(Deck(), TAnkiForm::Anki21);
  auto withSql = [](const std::string& sql) {
    TTestCollection c = Deck();
    c.ExtraSql = sql;
    return ZipArchive({{"collection.anki21", AnkiDatabase(c, 11)}});
  };
  std::string notSqlite = AnkiDatabase(Deck(), 11);
  notSqlite.replace(0, 6, "SQLitf");
  std::string damagedPages = AnkiDatabase(Deck(), 11);
  for (size_t at = 4096; at < damagedPages.size(); at += 7) damagedPages[at] = '\xA5';
  const std::string zeros(8 << 20, '\0');
  const std::string path = dir.Path("p.apkg"), damaged = "The file is damaged.";
  auto refused = [&](const std::string& why) { return "The file " + path + " " + why; };
  const std::string bomb =
      refused("unpacks to more than 2048 MB or 200 times its packed size and cannot be imported.");
  const std::string unsafe =
      refused("holds a database with triggers or views and cannot be imported.");
  TAnkiLimits fewNotes, shortTexts, smallFiles;
  fewNotes.MaxNotes = 5;
  shortTexts.MaxText = 20;
  smallFiles.MaxPackageBytes = 1000;
  const struct {
    std::string Bytes;
    std::string Message;
    TAnkiLimits Limits = {};
  } cases[] = {
      {"collection.anki2", refused("is not an Anki package.")},
      {ZipArchive({{"media", "{}"}}), refused("is not an Anki package.")},
      {good.substr(0, good.size() - 30), damaged},  // truncated
      {ZipArchive({{"collection.anki2", notSqlite}}), damaged},
      {ZipArchive({{"collection.anki2", damagedPages}}), damaged},
      {ZipArchive({{"collection.anki2", zeros}}), bomb},
      {ZipArchive({{"collection.anki21b", ZstdCompress(zeros)}}, false), bomb},
      {ZipArchive({{"collection.anki21b", "\x28\xB5\x2F\xFD garbage"}}, false), damaged},
      {withSql("CREATE TRIGGER t AFTER INSERT ON notes BEGIN DELETE FROM cards; END"), unsafe},
      {withSql("CREATE VIEW v AS SELECT 1"), unsafe},
      {withSql("DROP TABLE cards"), damaged},
      {withSql("UPDATE col SET models = '{\"1\": {'"), damaged},
      {good, refused("holds more than 5 notes and cannot be imported."), fewNotes},
      {good, refused("holds a text longer than 20 bytes and cannot be imported."), shortTexts},
      {good, refused("is larger than 0 MB and cannot be imported."), smallFiles},
  };
  for (const auto& c : cases) {
    dir.Write("p.apkg", c.Bytes);
    EXPECT_THROW_MSG(ReadAnkiPackage(path, c.Limits), c.Message);
    EXPECT_TRUE(temp.Files().empty()) << c.Message << ": the unpacked database was left behind";
  }
  EXPECT_THROW_MSG(ReadAnkiPackage(dir.Path("missing.apkg")),
                   "Cannot open file " + dir.Path("missing.apkg"));
  unsetenv("TMPDIR");
}
