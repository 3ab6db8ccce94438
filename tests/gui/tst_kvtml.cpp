// SPDX-License-Identifier: MIT
// Tests of the KVTML import: every field of a written and a hand-written file, languages, and
// damaged or hostile files.
#include <QTemporaryDir>
#include <QXmlStreamWriter>
#include <QtTest>

#include "import/KvtmlReader.h"
#include "vocab/VocFile.h"

class TestKvtml : public QObject {
  Q_OBJECT
private slots:
  void readsEveryFieldOfAWrittenFile();
  void importsTheHandWrittenFile();
  void languagesMustBeKnownAndMatch();
  void damagedAndHostileFilesAreRefused();
  void textsAreReadAsXmlDefinesThem();
};

namespace {
const QString kHandWritten = QStringLiteral(DADEZIVU_SOURCE_DIR "/tests/data/german-english.kvtml");

struct TWrittenEntry {
  QString Id;
  QString Word, WordComment, Meaning, MeaningComment;
};

// A KVTML 2 file as another trainer writes it: identifiers with grammar, entries with
// translations, lessons and word types that refer to them, sections this program skips.
QByteArray WriteKvtml(const QString& foreignLocale, const QString& nativeLocale,
                      const std::vector<TWrittenEntry>& entries) {
  QByteArray bytes;
  QXmlStreamWriter xml(&bytes);
  xml.setAutoFormatting(true);
  xml.writeStartDocument();
  xml.writeDTD(R"(<!DOCTYPE kvtml SYSTEM "kvtml2.dtd">)");
  xml.writeStartElement("kvtml");
  xml.writeAttribute("version", "2.0");
  xml.writeStartElement("information");
  xml.writeTextElement("generator", "tst_kvtml");
  xml.writeTextElement("title", "Written");
  xml.writeEndElement();
  xml.writeStartElement("identifiers");
  int id = 0;
  for (const QString& locale : {foreignLocale, nativeLocale}) {
    xml.writeStartElement("identifier");
    xml.writeAttribute("id", QString::number(id++));
    xml.writeTextElement("name", locale);
    xml.writeTextElement("locale", locale);
    xml.writeStartElement("personalpronouns");
    xml.writeTextElement("firstpersonsingular", "I");
    xml.writeEndElement();
    xml.writeEndElement();
  }
  xml.writeEndElement();
  xml.writeStartElement("entries");
  for (const TWrittenEntry& e : entries) {
    xml.writeStartElement("entry");
    xml.writeAttribute("id", e.Id);
    xml.writeTextElement("inactive", "false");
    const std::pair<QString, QString> translations[] = {{e.Word, e.WordComment},
                                                        {e.Meaning, e.MeaningComment}};
    for (int t = 0; t < 2; ++t) {
      xml.writeStartElement("translation");
      xml.writeAttribute("id", QString::number(t));
      xml.writeTextElement("text", translations[t].first);
      if (!translations[t].second.isEmpty())
        xml.writeTextElement("comment", translations[t].second);
      xml.writeStartElement("grade");
      xml.writeTextElement("currentgrade", "1");
      xml.writeEndElement();
      xml.writeEndElement();
    }
    xml.writeEndElement();
  }
  xml.writeEndElement();
  // One lesson with the entries in reverse order, so lesson order is seen to win.
  xml.writeStartElement("lessons");
  xml.writeStartElement("container");
  xml.writeTextElement("name", "Lesson 1");
  for (auto e = entries.rbegin(); e != entries.rend(); ++e) {
    xml.writeEmptyElement("entry");
    xml.writeAttribute("id", e->Id);
  }
  xml.writeEndElement();
  xml.writeEndElement();
  // Every entry a noun, through its foreign translation.
  xml.writeStartElement("wordtypes");
  xml.writeStartElement("container");
  xml.writeTextElement("name", "Noun");
  xml.writeTextElement("specialwordtype", "noun");
  for (const TWrittenEntry& e : entries) {
    xml.writeStartElement("entry");
    xml.writeAttribute("id", e.Id);
    xml.writeEmptyElement("translation");
    xml.writeAttribute("id", "0");
    xml.writeEndElement();
  }
  xml.writeEndElement();
  xml.writeEndElement();
  xml.writeEndElement();
  xml.writeEndDocument();
  return bytes;
}

QString Fields(const std::array<std::u16string, 4>& fields) {
  QStringList texts;
  for (const std::u16string& f : fields) texts << QString::fromStdU16String(f);
  return texts.join('|');
}

QStringList Fields(const TKvtmlVocabulary& read) {
  QStringList lines;
  for (const auto& entry : read.Entries) lines << Fields(entry);
  return lines;
}

QStringList Entries(const TVocabFile& v) {
  QStringList lines;
  for (int32_t i = 0; i < v.Count(); ++i) {
    const auto& values = v.GetItem(i).Values;
    lines << QString::fromLatin1(
        QByteArray::fromStdString(values[0] + "|" + values[1] + "|" + values[2] + "|" + values[3]));
  }
  return lines;
}

// Expected 8-bit texts, one byte per character.
QStringList Bytes(std::initializer_list<const char*> lines) {
  QStringList list;
  for (const char* line : lines) list << QString::fromLatin1(line);
  return list;
}

QString Write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  QFile file(dir.filePath(name));
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return QString();
  return file.fileName();
}

QString ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    return QString::fromStdString(e.what());
  }
  return QString();
}
}  // namespace

void TestKvtml::readsEveryFieldOfAWrittenFile() {
  const std::vector<TWrittenEntry> written = {
      {"0", u"\u0447\u0430\u0439"_qs, "", "tea", "hot"},
      {"7", u"\u0434\u043E\u043C"_qs, u"\u043C. \u0440."_qs, "house", "building"},
      {"3", "  spaced  ", "", "", ""},
      {"9", "zwei\nZeilen", "line one\r\nline two\ttabbed", "two", ""},
  };
  QTemporaryDir dir;
  const QString path = Write(dir, "written.kvtml", WriteKvtml("ru", "en", written));
  const TKvtmlVocabulary read = ReadKvtmlFile(path);
  QCOMPARE(read.ForeignLocale, QString("ru"));
  QCOMPARE(read.NativeLocale, QString("en"));
  // Line breaks and tabs in a text become spaces, so an entry stays one line when exported.
  QCOMPARE(Fields(read), QStringList({
                             "zwei Zeilen|Noun|line one line two tabbed|two",
                             "spaced|Noun||",
                             u"\u0434\u043E\u043C|Noun|\u043C. \u0440.; building|house"_qs,
                             u"\u0447\u0430\u0439|Noun|hot|tea"_qs,
                         }));

  // Into the code pages: the word in 1251, the rest in 1252, where Cyrillic notes become "?".
  TVocabFile v;
  v.SetForeignLangID(0x0419);
  v.SetNativeLangID(0x0409);
  v.SetModified(false);
  QCOMPARE(ImportKvtml(v, path), 4);
  QCOMPARE(Entries(v), Bytes({
                           "zwei Zeilen|Noun|line one line two tabbed|two",
                           "spaced|Noun||#Value?#",
                           "\xE4\xEE\xEC|Noun|?. ?.; building|house",
                           "\xF7\xE0\xE9|Noun|hot|tea",
                       }));
  QVERIFY(v.Modified());
}

void TestKvtml::importsTheHandWrittenFile() {
  const TKvtmlVocabulary read = ReadKvtmlFile(kHandWritten);
  QCOMPARE(read.ForeignLocale, QString("de"));
  QCOMPARE(read.NativeLocale, QString("en_GB"));
  // Lesson order (nested lessons in place, each entry once, unknown references ignored), then
  // the entries of no lesson; word types of the foreign or else the native translation, named
  // with their parents; both comments as notes.
  QCOMPARE(Fields(read), QStringList({
                             "gehen|Verb||go, walk",
                             u"das Haus|Noun, Neutral|Plural: die H\u00E4user; also: home|house"_qs,
                             u"sch\u00F6n|Adjective|\u00C4 & \u00D6 <selten>|beautiful"_qs,
                             u"die T\u00FCr|Noun, Female||"_qs,
                             "|||no German word: skipped",
                         }));

  TVocabFile v;
  v.SetForeignLangID(0x0407);
  v.SetNativeLangID(0x0409);  // English (United States) takes the file's English (UK)
  v.EditItem().Values = {"alt", "", "", "old"};
  v.AddItem(2);
  v.SetItemIndex(0);
  v.SetModified(false);
  QCOMPARE(ImportKvtml(v, kHandWritten), 4);
  QCOMPARE(Entries(v), Bytes({
                           "alt|||old",
                           "gehen|Verb||go, walk",
                           "das Haus|Noun, Neutral|Plural: die H\xE4user; also: home|house",
                           "sch\xF6n|Adjective|\xC4 & \xD6 <selten>|beautiful",
                           "die T\xFCr|Noun, Female||#Value?#",
                       }));
  QCOMPARE(v.ItemIndex(), 0);
  QCOMPARE(v.UndoKind(), uint8_t(jkNone));
  QVERIFY(v.Modified());
}

void TestKvtml::languagesMustBeKnownAndMatch() {
  QTemporaryDir dir;
  const TWrittenEntry one = {"0", "Haus", "", "house", ""};
  const struct {
    QString Foreign, Native, Message;
  } cases[] = {
      {"fr", "en", "Languages are different."},
      {"en", "de", "Languages are different."},
      {"de", "sw", "The KVTML file's language \"sw\" is not in the list of languages."},
      {"xx_YY", "en", "The KVTML file's language \"xx_YY\" is not in the list of languages."},
      {"", "en", "The KVTML file does not say which language each column is in."},
  };
  for (const auto& c : cases) {
    const QString path = Write(dir, "lang.kvtml", WriteKvtml(c.Foreign, c.Native, {one}));
    TVocabFile v;
    v.SetForeignLangID(0x0407);
    v.SetNativeLangID(0x0409);
    v.SetModified(false);
    QCOMPARE(ErrorOf([&] { ImportKvtml(v, path); }), c.Message);
    QCOMPARE(v.Count(), 0);
    QVERIFY(!v.Modified());
  }
  // Sub-languages may differ, as when merging.
  const QString path = Write(dir, "lang.kvtml", WriteKvtml("de_CH", "en_AU", {one}));
  TVocabFile v;
  v.SetForeignLangID(0x0407);
  v.SetNativeLangID(0x0409);
  QCOMPARE(ImportKvtml(v, path), 1);
}

void TestKvtml::damagedAndHostileFilesAreRefused() {
  const QByteArray good = WriteKvtml("de", "en", {{"0", "Haus", "", "house", ""}});
  const QByteArray head = R"(<?xml version="1.0"?><kvtml version="2.0"><identifiers>)"
                          R"(<identifier id="0"><locale>de</locale></identifier>)"
                          R"(<identifier id="1"><locale>en</locale></identifier></identifiers>)";
  auto nested = [&](int depth) {
    return head + "<lessons>" + QByteArray("<container>").repeated(depth) +
           QByteArray("</container>").repeated(depth) + "</lessons></kvtml>";
  };
  const QByteArray longText = head + "<entries><entry id=\"0\"><translation id=\"0\"><text>" +
                              QByteArray(kMaxKvtmlText + 1, 'a') +
                              "</text></translation></entry></entries></kvtml>";
  const QByteArray manyEntries = head + "<entries>" +
                                 QByteArray("<entry/>").repeated(kMaxKvtmlEntries + 1) +
                                 "</entries></kvtml>";
  // Word types within word types are named by all of them: together they are one text.
  const QByteArray half = QByteArray(kMaxKvtmlText / 2 + 1, 'n');
  const QByteArray longWordType = head + "<wordtypes><container><name>" + half +
                                  "</name><container><name>" + half +
                                  "</name></container></container></wordtypes></kvtml>";
  // Entities that would expand to gigabytes.
  QByteArray laughs = "<?xml version=\"1.0\"?><!DOCTYPE kvtml [<!ENTITY a \"aaaaaaaaaa\">";
  for (char c = 'b'; c <= 'j'; ++c) {
    laughs += QByteArray("<!ENTITY ") + c + " \"" + QByteArray("&") + char(c - 1) + ";";
    laughs += QByteArray(QByteArray("&") + char(c - 1) + ";").repeated(9) + "\">";
  }
  laughs += "]>" + head.mid(21) +
            "<entries><entry id=\"0\"><translation id=\"0\"><text>&j;"
            "</text></translation></entry></entries></kvtml>";
  const struct {
    const char* Name;
    QByteArray Bytes;
    QString Message;
  } cases[] = {
      {"empty", "", "is not a well-formed KVTML file"},
      {"not XML", "Haus,house\n", "is not a well-formed KVTML file"},
      {"another XML file", "<?xml version=\"1.0\"?><html/>", "is not a KVTML file."},
      {"version 1", "<kvtml><e><o>Haus</o><t>house</t></e></kvtml>", "is not a KVTML 2 file"},
      {"one identifier", head.left(head.indexOf("<identifier id=\"1\"")) + "</identifiers></kvtml>",
       "does not name two languages."},
      {"cut short", good.left(good.size() * 2 / 3), "is not a well-formed KVTML file"},
      {"a second root", good + "<kvtml version=\"2.0\"/>", "is not a well-formed KVTML file"},
      {"a text too long", longText, "holds a text longer than 65535 characters"},
      {"a word type named too long", longWordType, "holds a text longer than 65535 characters"},
      {"nested too deep", nested(kMaxKvtmlDepth + 1), "nests lessons or word types more than 64"},
      {"too many entries", manyEntries, "holds more than 1000000 entries"},
      {"entity expansion", laughs, "is not a well-formed KVTML file"},
  };
  QTemporaryDir dir;
  {
    // Refused by its size alone: the file is sparse, and never read.
    QFile large(dir.filePath("large.kvtml"));
    QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(kMaxKvtmlBytes + 1));
    large.close();
    QCOMPARE(ErrorOf([&] { ReadKvtmlFile(large.fileName()); }),
             "The file " + large.fileName() + " is larger than 1 GB and cannot be imported.");
    large.remove();
  }
  for (const auto& c : cases) {
    const QString path = Write(dir, "bad.kvtml", c.Bytes);
    QVERIFY(!path.isEmpty());
    TVocabFile v;
    v.SetForeignLangID(0x0407);
    v.SetNativeLangID(0x0409);
    v.SetModified(false);
    const QString message = ErrorOf([&] { ImportKvtml(v, path); });
    QVERIFY2(message.contains(c.Message) && message.contains(path),
             qPrintable(QString("%1: %2").arg(c.Name, message)));
    QCOMPARE(v.Count(), 0);
    QVERIFY(!v.Modified());
  }
  // An external entity is never fetched: its text does not reach an entry.
  const QByteArray external = R"(<?xml version="1.0"?><!DOCTYPE kvtml [<!ENTITY x SYSTEM ")" +
                              QUrl::fromLocalFile(kHandWritten).toEncoded() + R"(">]>)" +
                              head.mid(21) +
                              "<entries><entry id=\"0\"><translation id=\"0\"><text>&x;</text>"
                              "</translation></entry></entries></kvtml>";
  try {
    for (const auto& fields : ReadKvtml(external, "external").Entries) {
      QVERIFY(!QString::fromStdU16String(fields[Foreign]).contains("Haus"));
    }
  } catch (const EVocabFileError&) {
  }
  // The deepest nesting allowed still reads.
  QCOMPARE(ReadKvtml(nested(kMaxKvtmlDepth), "deep").Entries.size(), size_t(0));
  const QString missing = dir.filePath("missing.kvtml");
  QCOMPARE(ErrorOf([&] { ReadKvtmlFile(missing); }), "Cannot open file " + missing);
  QCOMPARE(ErrorOf([&] { ReadKvtmlFile(dir.path()); }), "Cannot open file " + dir.path());
}

// References, sections and child elements as XML defines them; what XML forbids is refused.
void TestKvtml::textsAreReadAsXmlDefinesThem() {
  const QByteArray head = R"(<?xml version="1.0"?><kvtml version="2.0"><identifiers>)"
                          R"(<identifier id="0"><locale>de</locale></identifier>)"
                          R"(<identifier id="1"><locale>en</locale></identifier></identifiers>)"
                          R"(<entries><entry id="1"><translation id="0"><text>)";
  const QByteArray tail = "</text></translation></entry></entries></kvtml>\n";
  const struct {
    QByteArray Text;
    QString Read;  // the word read, or a part of the message
  } cases[] = {
      {"a&amp;b&#65;&#x42;&lt;&#x1F600;", u"a&bAB<\U0001F600"_qs},
      {"<![CDATA[x&y<z]]> <b>bold</b>\r\n<i>and</i> <![CDATA[c]]> d", "x&y<z bold and c d"},
      {"\xC3\xA4\xC2\xA0", u"\u00E4"_qs},
      {"&nbsp;", "Entity 'nbsp' not declared."},
      {"&#1;", "Invalid character reference."},
      {"a\x01", "Invalid XML character."},
      {"\xC3(", "Encountered incorrectly encoded content."},
  };
  for (const auto& c : cases) {
    QString read;
    try {
      read = QString::fromStdU16String(ReadKvtml(head + c.Text + tail, "f").Entries.at(0)[Foreign]);
    } catch (const EVocabFileError& e) {
      read = e.what();
    }
    QVERIFY2(read == c.Read || read.contains("well-formed KVTML file: " + c.Read),
             qPrintable(read));
  }
  QVERIFY(ErrorOf([&] { ReadKvtml(head + "x" + tail + "text", "f"); }).contains("Extra content"));

  // The same file in UTF-16 and in Latin-1 reads the same.
  const QByteArray utf8 = WriteKvtml("de", "en", {{"7", u"H\u00E4user"_qs, "Pl.", "houses", ""}});
  QString text = QString::fromUtf8(utf8);
  QByteArray utf16 = "\xFF\xFE";
  utf16 += QStringEncoder(QStringEncoder::Utf16LE)(QString(text).replace("UTF-8", "UTF-16"));
  const QByteArray latin1 = QString(text).replace("UTF-8", "ISO-8859-1").toLatin1();
  const QStringList expected = {u"H\u00E4user|Noun|Pl.|houses"_qs};
  QCOMPARE(Fields(ReadKvtml(utf8, "f")), expected);
  QCOMPARE(Fields(ReadKvtml(utf16, "f")), expected);
  QCOMPARE(Fields(ReadKvtml(latin1, "f")), expected);
}

QTEST_MAIN(TestKvtml)
#include "tst_kvtml.moc"
