// SPDX-License-Identifier: MIT
// Reading KVTML 2 vocabulary files (the format of other trainers) into entries to append.
#include "import/KvtmlReader.h"

#include "text/Languages.h"
#include "vocab/FileUtils.h"
#include "vocab/VocFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {
QString Tr(const char* text) {
  return QCoreApplication::translate("KvtmlReader", text);
}

[[noreturn]] void Fail(const QString& message) {
  throw EVocabFileError(message.toStdString());
}

struct TTranslation {
  QString Id;
  QString Text;
  QString Comment;
};

struct TEntry {
  QString Id;
  std::vector<TTranslation> Translations;

  const TTranslation* Find(const QString& id) const {
    for (const TTranslation& t : Translations) {
      if (t.Id == id) return &t;
    }
    return nullptr;
  }
};

enum class TContainerKind { Lesson, WordType };

// One pass over the document. Sections it does not use (information, leitner boxes, the
// grammar of identifiers, grades, ...) are skipped unread.
class TKvtmlParser {
public:
  TKvtmlParser(const QByteArray& bytes, const QString& sourceName)
      : m_Xml(bytes), m_SourceName(sourceName) {}

  TKvtmlVocabulary Parse() {
    if (!m_Xml.readNextStartElement() || m_Xml.name() != QLatin1String("kvtml")) {
      CheckWellFormed();
      Fail(Tr("The file %1 is not a KVTML file.").arg(m_SourceName));
    }
    if (!m_Xml.attributes().value(QLatin1String("version")).startsWith(QLatin1Char('2'))) {
      Fail(Tr("The file %1 is not a KVTML 2 file; only version 2 can be imported.")
               .arg(m_SourceName));
    }
    while (m_Xml.readNextStartElement()) {
      const auto name = m_Xml.name();
      if (name == QLatin1String("identifiers")) {
        ReadIdentifiers();
      } else if (name == QLatin1String("entries")) {
        ReadEntries();
      } else if (name == QLatin1String("lessons")) {
        ReadContainers(TContainerKind::Lesson);
      } else if (name == QLatin1String("wordtypes")) {
        ReadContainers(TContainerKind::WordType);
      } else {
        m_Xml.skipCurrentElement();
      }
    }
    while (!m_Xml.atEnd()) m_Xml.readNext();
    CheckWellFormed();
    return Result();
  }

private:
  void CheckWellFormed() {
    if (m_Xml.hasError()) {
      Fail(Tr("The file %1 is not a well-formed KVTML file: %2 (line %3).")
               .arg(m_SourceName, m_Xml.errorString())
               .arg(m_Xml.lineNumber()));
    }
  }

  // A field holds one line: a comment written over several lines, or with tabs, would split
  // the entry when it is exported as delimited text. Every run of control characters becomes
  // one space.
  QString Text() {
    QString text = m_Xml.readElementText(QXmlStreamReader::IncludeChildElements);
    static const QRegularExpression controls(QStringLiteral("[\\x00-\\x1F\\x7F]+"));
    text = text.replace(controls, QStringLiteral(" ")).trimmed();
    if (text.size() > kMaxKvtmlText) TextTooLong();
    return text;
  }

  [[noreturn]] void TextTooLong() const {
    Fail(Tr("The file %1 holds a text longer than %2 characters (line %3) and cannot be "
            "imported.")
             .arg(m_SourceName)
             .arg(kMaxKvtmlText)
             .arg(m_Xml.lineNumber()));
  }

  QString Id() const { return m_Xml.attributes().value(QLatin1String("id")).toString(); }

  void ReadIdentifiers() {
    while (m_Xml.readNextStartElement()) {
      if (m_Xml.name() != QLatin1String("identifier")) {
        m_Xml.skipCurrentElement();
        continue;
      }
      std::pair<QString, QString> identifier{Id(), QString()};
      while (m_Xml.readNextStartElement()) {
        if (m_Xml.name() == QLatin1String("locale")) {
          identifier.second = Text();
        } else {
          m_Xml.skipCurrentElement();
        }
      }
      // Only the first two are used; the rest need not be kept.
      if (m_Identifiers.size() < 2) m_Identifiers.push_back(identifier);
    }
  }

  void ReadEntries() {
    while (m_Xml.readNextStartElement()) {
      if (m_Xml.name() != QLatin1String("entry")) {
        m_Xml.skipCurrentElement();
        continue;
      }
      if (m_Entries.size() >= static_cast<size_t>(kMaxKvtmlEntries)) {
        Fail(Tr("The file %1 holds more than %2 entries and cannot be imported.")
                 .arg(m_SourceName)
                 .arg(kMaxKvtmlEntries));
      }
      TEntry entry;
      entry.Id = Id();
      while (m_Xml.readNextStartElement()) {
        if (m_Xml.name() == QLatin1String("translation")) {
          entry.Translations.push_back(ReadTranslation());
        } else {
          m_Xml.skipCurrentElement();
        }
      }
      // A second entry of the same id would make the lessons' references ambiguous; the first
      // one is the one they mean.
      if (!m_EntryIndex.contains(entry.Id)) m_EntryIndex.insert(entry.Id, m_Entries.size());
      m_Entries.push_back(std::move(entry));
    }
  }

  TTranslation ReadTranslation() {
    TTranslation translation;
    translation.Id = Id();
    while (m_Xml.readNextStartElement()) {
      const auto name = m_Xml.name();
      if (name == QLatin1String("text")) {
        translation.Text = Text();
      } else if (name == QLatin1String("comment")) {
        translation.Comment = Text();
      } else {
        m_Xml.skipCurrentElement();
      }
    }
    return translation;
  }

  // Lessons and word types are both trees of containers holding references to entries; a word
  // type's references also name the translation it applies to.
  void ReadContainers(TContainerKind kind) {
    while (m_Xml.readNextStartElement()) {
      if (m_Xml.name() == QLatin1String("container")) {
        ReadContainer(kind, 1, QString());
      } else {
        m_Xml.skipCurrentElement();
      }
    }
  }

  void ReadContainer(TContainerKind kind, int depth, const QString& parentName) {
    if (depth > kMaxKvtmlDepth) {
      Fail(Tr("The file %1 nests lessons or word types more than %2 deep and cannot be "
              "imported.")
               .arg(m_SourceName)
               .arg(kMaxKvtmlDepth));
    }
    QString name = parentName;
    while (m_Xml.readNextStartElement()) {
      const auto element = m_Xml.name();
      if (element == QLatin1String("name")) {
        // A word type within another ("Noun", "Male") is named by both.
        const QString own = Text();
        name = parentName.isEmpty() || own.isEmpty() ? parentName + own : parentName + ", " + own;
        if (name.size() > kMaxKvtmlText) TextTooLong();
      } else if (element == QLatin1String("container")) {
        ReadContainer(kind, depth + 1, name);
      } else if (element == QLatin1String("entry")) {
        const QString entryId = Id();
        if (kind == TContainerKind::Lesson) {
          m_LessonOrder.push_back(entryId);
          m_Xml.skipCurrentElement();
        } else {
          while (m_Xml.readNextStartElement()) {
            if (m_Xml.name() == QLatin1String("translation") && !name.isEmpty()) {
              const QString key = entryId + QLatin1Char('\n') + Id();
              if (!m_WordTypes.contains(key)) m_WordTypes.insert(key, name);
            }
            m_Xml.skipCurrentElement();
          }
        }
      } else {
        m_Xml.skipCurrentElement();
      }
    }
  }

  QString WordType(const TEntry& entry, const QString& translationId) const {
    return m_WordTypes.value(entry.Id + QLatin1Char('\n') + translationId);
  }

  TKvtmlVocabulary Result() const {
    if (m_Identifiers.size() < 2) {
      Fail(Tr("The file %1 does not name two languages.").arg(m_SourceName));
    }
    TKvtmlVocabulary result;
    result.ForeignLocale = m_Identifiers[0].second;
    result.NativeLocale = m_Identifiers[1].second;
    const QString& foreign = m_Identifiers[0].first;
    const QString& native = m_Identifiers[1].first;

    // Lesson by lesson, each entry once, then the entries of no lesson in file order.
    std::vector<size_t> order;
    std::vector<bool> taken(m_Entries.size(), false);
    for (const QString& id : m_LessonOrder) {
      const auto found = m_EntryIndex.constFind(id);
      if (found == m_EntryIndex.constEnd() || taken[*found]) continue;
      taken[*found] = true;
      order.push_back(*found);
    }
    for (size_t i = 0; i < m_Entries.size(); ++i) {
      if (!taken[i]) order.push_back(i);
    }

    result.Entries.reserve(order.size());
    for (size_t index : order) {
      const TEntry& entry = m_Entries[index];
      const TTranslation* word = entry.Find(foreign);
      const TTranslation* meaning = entry.Find(native);
      QStringList notes;
      for (const TTranslation* t : {word, meaning}) {
        if (t && !t->Comment.isEmpty()) notes << t->Comment;
      }
      QString wordType = WordType(entry, foreign);
      if (wordType.isEmpty()) wordType = WordType(entry, native);
      std::array<std::u16string, 4> fields;
      fields[Foreign] = word ? word->Text.toStdU16String() : std::u16string();
      fields[Category] = wordType.toStdU16String();
      fields[Notes] = notes.join(QStringLiteral("; ")).toStdU16String();
      fields[Native] = meaning ? meaning->Text.toStdU16String() : std::u16string();
      result.Entries.push_back(std::move(fields));
    }
    return result;
  }

  QXmlStreamReader m_Xml;
  QString m_SourceName;
  std::vector<std::pair<QString, QString>> m_Identifiers;  // id, locale
  std::vector<TEntry> m_Entries;
  QHash<QString, size_t> m_EntryIndex;
  std::vector<QString> m_LessonOrder;
  QHash<QString, QString> m_WordTypes;  // "entry id\ntranslation id" -> word type
};

uint16_t Language(const QString& locale) {
  const uint16_t id = LanguageFromLocale(locale.toStdString());
  if (id == 0) {
    Fail(locale.isEmpty()
             ? Tr("The KVTML file does not say which language each column is in.")
             : Tr("The KVTML file's language \"%1\" is not in the list of languages.").arg(locale));
  }
  return id;
}
}  // namespace

TKvtmlVocabulary ReadKvtml(const QByteArray& bytes, const QString& sourceName) {
  if (bytes.size() > kMaxKvtmlBytes) {
    Fail(Tr("The file %1 is larger than 64 MB and cannot be imported.").arg(sourceName));
  }
  return TKvtmlParser(bytes, sourceName).Parse();
}

TKvtmlVocabulary ReadKvtmlFile(const QString& path) {
  const std::string file = QFile::encodeName(path).toStdString();
  const std::string bytes = ReadFileBytes(file, static_cast<size_t>(kMaxKvtmlBytes) + 1);
  return ReadKvtml(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), path);
}

int32_t ImportKvtml(TVocabFile& vocab, const QString& path) {
  const TKvtmlVocabulary read = ReadKvtmlFile(path);
  return vocab.ImportEntries(Language(read.ForeignLocale), Language(read.NativeLocale),
                             read.Entries);
}
