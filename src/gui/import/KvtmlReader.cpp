// SPDX-License-Identifier: MIT
// Reading KVTML 2 vocabulary files (the format of other trainers) into entries to append.
#include "import/KvtmlReader.h"

#include "text/Languages.h"
#include "text/Utf8.h"
#include "vocab/FileUtils.h"
#include "vocab/VocFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace {
QString Tr(const char* text) {
  return QCoreApplication::translate("KvtmlReader", text);
}

[[noreturn]] void Fail(const QString& message) {
  throw EVocabFileError(message.toStdString());
}

// pugixml never reads a document type's entities. References are left to this reader, which
// decodes the predefined ones and character references, and refuses any other as undeclared.
// Text that is an element's first child is kept in the element itself: a third fewer nodes.
constexpr unsigned kParseOptions =
    pugi::parse_cdata | pugi::parse_wconv_attribute | pugi::parse_eol | pugi::parse_embed_pcdata;

bool IsXmlChar(uint32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// Appends text with its references decoded to out (when given). Returns the name of the first
// reference that is neither predefined nor a valid character reference, else an empty string.
std::string_view DecodeReferences(std::string_view text, std::string* out) {
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t amp = text.find('&', pos);
    if (out) out->append(text.substr(pos, std::min(amp, text.size()) - pos));
    if (amp == std::string_view::npos) break;
    const size_t semicolon = text.find(';', amp);
    if (semicolon == std::string_view::npos) return text.substr(amp, 1);
    const std::string_view name = text.substr(amp + 1, semicolon - amp - 1);
    static constexpr std::pair<std::string_view, char> kPredefined[] = {
        {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"apos", '\''}, {"quot", '"'}};
    bool known = false;
    for (const auto& [entity, c] : kPredefined) {
      if (name == entity) {
        if (out) *out += c;
        known = true;
      }
    }
    if (!known) {
      if (name.size() < 2 || name[0] != '#') return name.empty() ? text.substr(amp, 1) : name;
      const bool hex = name[1] == 'x';
      const std::string_view digits = name.substr(hex ? 2 : 1);
      uint32_t code = 0;
      if (digits.empty() || digits.size() > 8) return name;
      for (const char d : digits) {
        const int value = d >= '0' && d <= '9'          ? d - '0'
                          : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                          : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                        : -1;
        if (value < 0) return name;
        code = code * (hex ? 16 : 10) + static_cast<uint32_t>(value);
      }
      if (!IsXmlChar(code)) return name;
      if (out) AppendUtf8(*out, static_cast<char32_t>(code));
    }
    pos = semicolon + 1;
  }
  return {};
}

// The position of the first byte that is a control character other than tab and line breaks,
// or not part of well-formed UTF-8; bytes.size() when there is none.
size_t FirstNonXmlByte(std::string_view bytes) {
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  const size_t size = bytes.size();
  size_t i = 0;
  while (i < size) {
    const uint8_t b = data[i];
    if (b >= 0x20 && b < 0x80) {
      ++i;
      continue;
    }
    if (b < 0x80) {
      if (b != '\t' && b != '\n' && b != '\r') return i;
      ++i;
      continue;
    }
    // Lead byte: the length and the range of the second byte (no overlong forms, no surrogates,
    // nothing above U+10FFFF).
    size_t length = 0;
    uint8_t low = 0x80, high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
      length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3;
      if (b == 0xE0) low = 0xA0;
      if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4;
      if (b == 0xF0) low = 0x90;
      if (b == 0xF4) high = 0x8F;
    } else {
      return i;
    }
    if (i + length > size || data[i + 1] < low || data[i + 1] > high) return i;
    for (size_t k = 2; k < length; ++k) {
      if ((data[i + k] & 0xC0) != 0x80) return i;
    }
    i += length;
  }
  return size;
}

// UTF-8 as UTF-16, with every run of control characters one space, and without the blanks at
// either end. False for text that is not well-formed UTF-8.
bool CleanText(std::string_view utf8, std::u16string& text) {
  // Never more UTF-16 units than UTF-8 bytes: written in place, then cut to length.
  text.resize(utf8.size());
  char16_t* out = text.data();
  const auto* p = reinterpret_cast<const uint8_t*>(utf8.data());
  const auto* end = p + utf8.size();
  bool inControls = false;
  while (p < end) {
    if (*p >= 0x20 && *p < 0x7F) {  // the usual case, a run of ASCII
      do {
        *out++ = *p++;
      } while (p < end && *p >= 0x20 && *p < 0x7F);
      inControls = false;
      continue;
    }
    char32_t c = *p;
    size_t length = 1;
    if (c >= 0x80) {
      length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
      if (c < 0xC2 || c > 0xF4 || static_cast<size_t>(end - p) < length) return false;
      c &= 0x3F >> (length - 1);
      for (size_t k = 1; k < length; ++k) {
        if ((p[k] & 0xC0) != 0x80) return false;
        c = (c << 6) | (p[k] & 0x3Fu);
      }
      const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
      if (c < least[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return false;
    }
    p += length;
    if (c < 0x20 || c == 0x7F) {
      if (!inControls) *out++ = u' ';
      inControls = true;
      continue;
    }
    inControls = false;
    if (c < 0x10000) {
      *out++ = static_cast<char16_t>(c);
    } else {
      *out++ = static_cast<char16_t>(0xD7C0 + (c >> 10));
      *out++ = static_cast<char16_t>(0xDC00 | (c & 0x3FF));
    }
  }
  text.resize(static_cast<size_t>(out - text.data()));
  size_t first = 0;
  size_t last = text.size();
  while (first < last && QChar::isSpace(text[first])) ++first;
  while (last > first && QChar::isSpace(text[last - 1])) --last;
  if (last < text.size()) text.resize(last);
  if (first > 0) text.erase(0, first);
  return true;
}

struct TTranslation {
  std::string_view Id;
  std::u16string Text;
  std::u16string Comment;
};

// An entry's translations are a range of one list: one allocation for all of them.
struct TEntry {
  std::string_view Id;
  uint32_t FirstTranslation = 0;
  uint32_t Translations = 0;
};

enum class TContainerKind { Lesson, WordType };

// The parsed document, read section by section. Sections it does not use (information, leitner
// boxes, the grammar of identifiers, grades, ...) are not looked at beyond their references.
class TKvtmlParser {
public:
  TKvtmlParser(char* bytes, size_t size, const QString& sourceName)
      : m_Bytes(bytes), m_Size(size), m_SourceName(sourceName) {}

  TKvtmlVocabulary Parse() {
    CheckUtf8Bytes();
    const pugi::xml_parse_result parsed =
        m_Document.load_buffer_inplace(m_Bytes, m_Size, kParseOptions, pugi::encoding_auto);
    const pugi::xml_node root = m_Document.first_child().type() == pugi::node_element
                                    ? m_Document.first_child()
                                    : m_Document.find_child([](const pugi::xml_node& node) {
                                        return node.type() == pugi::node_element;
                                      });
    // As a reader going from the start would: a file that is not KVTML 2 says so even when it
    // breaks further on.
    if (root && std::string_view(root.name()) != "kvtml") {
      Fail(Tr("The file %1 is not a KVTML file.").arg(m_SourceName));
    }
    if (root && !std::string_view(root.attribute("version").value()).starts_with('2')) {
      Fail(Tr("The file %1 is not a KVTML 2 file; only version 2 can be imported.")
               .arg(m_SourceName));
    }
    if (!parsed) NotWellFormed(QString::fromUtf8(parsed.description()), parsed.offset);
    if (!root) Fail(Tr("The file %1 is not a KVTML file.").arg(m_SourceName));
    for (pugi::xml_node node = root.next_sibling(); node; node = node.next_sibling()) {
      if (node.type() == pugi::node_element) {
        NotWellFormed(QStringLiteral("Extra content at end of document."), Offset(node));
      }
    }
    CheckReferences(root);

    for (const pugi::xml_node section : root.children()) {
      const std::string_view name = section.name();
      if (name == "identifiers") {
        ReadIdentifiers(section);
      } else if (name == "entries") {
        ReadEntries(section);
      } else if (name == "lessons") {
        ReadContainers(section, TContainerKind::Lesson);
      } else if (name == "wordtypes") {
        ReadContainers(section, TContainerKind::WordType);
      }
    }
    // What was read refers to the bytes read in place, not to the parsed tree: it can go before
    // the result is made. (Text the parser converted from another encoding is in the tree.)
    if (m_Utf8) m_Document.reset();
    return Result();
  }

private:
  ptrdiff_t Offset(const pugi::xml_node& node) const { return node.offset_debug(); }

  int LineAt(ptrdiff_t offset) const {
    if (offset < 0 || static_cast<size_t>(offset) > m_Size) return 0;
    return 1 + static_cast<int>(std::count(m_Bytes, m_Bytes + offset, '\n'));
  }

  [[noreturn]] void NotWellFormed(const QString& reason, ptrdiff_t offset) const {
    Fail(Tr("The file %1 is not a well-formed KVTML file: %2 (line %3).")
             .arg(m_SourceName, reason)
             .arg(LineAt(offset)));
  }

  // Every reference in the document, also in the parts not read, must be one this reader
  // can decode: a reference to an entity of the document type is refused, never expanded.
  void CheckReferences(const pugi::xml_node& root) const {
    const auto check = [this](const char* text, const pugi::xml_node& node) {
      if (!std::strchr(text, '&')) return;
      const std::string_view bad = DecodeReferences(text, nullptr);
      if (bad.starts_with('#')) {
        NotWellFormed(QStringLiteral("Invalid character reference."), Offset(node));
      } else if (!bad.empty()) {
        NotWellFormed(QStringLiteral("Entity '%1' not declared.")
                          .arg(QString::fromUtf8(bad.data(), static_cast<qsizetype>(bad.size()))),
                      Offset(node));
      }
    };
    std::vector<std::string_view> names;
    for (pugi::xml_node node = root; node; node = NextInTree(node, root)) {
      if (m_Ampersands && node.type() != pugi::node_cdata) check(node.value(), node);
      const pugi::xml_attribute first = node.first_attribute();
      if (!first) continue;
      if (m_Ampersands) check(first.value(), node);
      if (!first.next_attribute()) continue;
      names.assign(1, first.name());
      for (pugi::xml_attribute a = first.next_attribute(); a; a = a.next_attribute()) {
        if (m_Ampersands) check(a.value(), node);
        names.emplace_back(a.name());
      }
      std::sort(names.begin(), names.end());
      if (std::adjacent_find(names.begin(), names.end()) != names.end()) {
        NotWellFormed(
            QStringLiteral("Attribute '%1' redefined.")
                .arg(QString::fromUtf8(std::adjacent_find(names.begin(), names.end())->data())),
            Offset(node));
      }
    }
  }

  // What the parser lets pass in a UTF-8 document (the usual encoding; others are converted by
  // the parser): bytes that are not UTF-8 or are control characters, and text outside the
  // document element.
  void CheckUtf8Bytes() {
    const std::string_view bytes(m_Bytes, m_Size);
    const auto bom = std::string_view("\xEF\xBB\xBF");
    const size_t start = bytes.starts_with(bom) ? bom.size() : 0;
    if (m_Size >= 2 && (bytes[0] == '\0' || bytes[1] == '\0' || bytes.starts_with("\xFE\xFF") ||
                        bytes.starts_with("\xFF\xFE"))) {
      return;
    }
    if (bytes.starts_with("<?xml")) {
      const std::string_view declaration = bytes.substr(0, bytes.find("?>"));
      const size_t encoding = declaration.find("encoding");
      if (encoding != std::string_view::npos) {
        const size_t quote = declaration.find_first_of("'\"", encoding);
        const QByteArray name =
            QByteArray(
                declaration.data() + std::min(quote + 1, declaration.size()),
                static_cast<qsizetype>(declaration.find_first_of("'\"", quote + 1) - quote - 1))
                .toLower();
        if (quote != std::string_view::npos && name != "utf-8" && name != "utf8") return;
      }
    }
    m_Utf8 = true;
    const size_t first = bytes.find_first_not_of(" \t\r\n", start);
    if (first != std::string_view::npos && bytes[first] != '<') {
      NotWellFormed(QStringLiteral("Start tag expected."), static_cast<ptrdiff_t>(first));
    }
    const size_t last = bytes.find_last_not_of(" \t\r\n");
    if (last != std::string_view::npos && bytes[last] != '>') {
      NotWellFormed(QStringLiteral("Extra content at end of document."),
                    static_cast<ptrdiff_t>(last));
    }
    m_Ampersands = bytes.find('&') != std::string_view::npos;
    // The quick test first: blocks the compiler vectorises, and Qt's UTF-8 check.
    uint8_t controls = 0;
    for (size_t block = 0; block < m_Size; block += 4096) {
      const size_t end = std::min(m_Size, block + 4096);
      for (size_t i = block; i < end; ++i) {
        const auto b = static_cast<uint8_t>(bytes[i]);
        controls |= static_cast<uint8_t>(b < 0x20 && b != '\t' && b != '\n' && b != '\r');
      }
      if (controls) break;
    }
    if (!controls && QByteArrayView(m_Bytes, static_cast<qsizetype>(m_Size)).isValidUtf8()) return;
    const size_t bad = FirstNonXmlByte(bytes);
    if (bad < m_Size) {
      NotWellFormed(static_cast<uint8_t>(bytes[bad]) < 0x80
                        ? QStringLiteral("Invalid XML character.")
                        : QStringLiteral("Encountered incorrectly encoded content."),
                    static_cast<ptrdiff_t>(bad));
    }
  }

  // The node after node in document order within root, without recursion (nesting is not
  // bounded by the parser).
  static pugi::xml_node NextInTree(pugi::xml_node node, const pugi::xml_node& root) {
    if (node.first_child()) return node.first_child();
    while (node != root) {
      if (node.next_sibling()) return node.next_sibling();
      node = node.parent();
    }
    return {};
  }

  // The element's text with that of its children, references decoded. A field holds one line:
  // a comment written over several lines, or with tabs, would split the entry when it is
  // exported as delimited text. Every run of control characters becomes one space.
  std::u16string Text(const pugi::xml_node& element) {
    m_Scratch.clear();
    for (pugi::xml_node node = element; node; node = NextInTree(node, element)) {
      // The parser drops blanks between two elements or character sections, which are text
      // all the same; the bytes before the node still hold them.
      const auto markup = [](const pugi::xml_node& n) {
        return n.type() == pugi::node_element || n.type() == pugi::node_cdata;
      };
      if (m_Utf8 && node != element && markup(node) && markup(node.previous_sibling())) {
        const ptrdiff_t start =
            node.offset_debug() - (node.type() == pugi::node_cdata ? 9 : 1);  // "<![CDATA[", "<"
        const char* open = m_Bytes + std::max<ptrdiff_t>(0, start);
        const char* blanks = open;
        while (blanks > m_Bytes && (blanks[-1] == ' ' || blanks[-1] == '\t' || blanks[-1] == '\r' ||
                                    blanks[-1] == '\n')) {
          --blanks;
        }
        m_Scratch.append(blanks, open);
      }
      if (node.type() == pugi::node_cdata) {
        m_Scratch += node.value();
      } else {
        DecodeReferences(node.value(), &m_Scratch);
      }
    }
    std::u16string text;
    if (!CleanText(m_Scratch, text)) {
      // What the parser converted from another encoding keeps Qt's handling of what is not
      // UTF-8 there.
      const QString replaced =
          QString::fromUtf8(m_Scratch.data(), static_cast<qsizetype>(m_Scratch.size()));
      CleanText(replaced.toStdString(), text);
    }
    if (text.size() > static_cast<size_t>(kMaxKvtmlText)) TextTooLong(element);
    return text;
  }

  [[noreturn]] void TextTooLong(const pugi::xml_node& node) const {
    Fail(Tr("The file %1 holds a text longer than %2 characters (line %3) and cannot be "
            "imported.")
             .arg(m_SourceName)
             .arg(kMaxKvtmlText)
             .arg(LineAt(Offset(node))));
  }

  static std::string_view Id(const pugi::xml_node& element) {
    return element.attribute("id").value();
  }

  void ReadIdentifiers(const pugi::xml_node& section) {
    for (const pugi::xml_node identifier : section.children("identifier")) {
      std::pair<std::string_view, QString> read{Id(identifier), QString()};
      for (const pugi::xml_node locale : identifier.children("locale")) {
        read.second = QString::fromStdU16String(Text(locale));
      }
      // Only the first two are used; the rest need not be kept.
      if (m_Identifiers.size() < 2) m_Identifiers.push_back(read);
    }
  }

  void ReadEntries(const pugi::xml_node& section) {
    size_t count = m_Entries.size();
    for (pugi::xml_node e = section.child("entry"); e; e = e.next_sibling("entry")) ++count;
    count = std::min(count, static_cast<size_t>(kMaxKvtmlEntries) + 1);
    m_Entries.reserve(count);
    if (!m_NumberIndexOnly) m_EntryIndex.reserve(count);
    m_Translations.reserve(count * 2);
    for (const pugi::xml_node element : section.children("entry")) {
      if (m_Entries.size() >= static_cast<size_t>(kMaxKvtmlEntries)) {
        Fail(Tr("The file %1 holds more than %2 entries and cannot be imported.")
                 .arg(m_SourceName)
                 .arg(kMaxKvtmlEntries));
      }
      TEntry entry;
      entry.Id = Id(element);
      entry.FirstTranslation = static_cast<uint32_t>(m_Translations.size());
      for (const pugi::xml_node translation : element.children("translation")) {
        m_Translations.push_back(ReadTranslation(translation));
        ++entry.Translations;
      }
      // A second entry of the same id would make the lessons' references ambiguous; the first
      // one is the one they mean.
      AddToIndex(entry.Id, m_Entries.size());
      m_Entries.push_back(entry);
    }
  }

  // Ids are usually the entries' numbers: then a list finds them, else a hash table.
  static int64_t CanonicalNumber(std::string_view id) {
    if (id.empty() || id.size() > 9 || (id[0] == '0' && id.size() > 1)) return -1;
    int64_t n = 0;
    for (const char c : id) {
      if (c < '0' || c > '9') return -1;
      n = n * 10 + (c - '0');
    }
    return n;
  }

  void AddToIndex(std::string_view id, size_t index) {
    const int64_t number = m_NumberIndexOnly ? CanonicalNumber(id) : -1;
    if (number >= 0 && number < 2 * static_cast<int64_t>(kMaxKvtmlEntries)) {
      const auto n = static_cast<size_t>(number);
      if (n >= m_NumberIndex.size())
        m_NumberIndex.resize(std::max(n + 1, m_NumberIndex.size() * 2), -1);
      if (m_NumberIndex[n] < 0) m_NumberIndex[n] = static_cast<int32_t>(index);
      return;
    }
    if (m_NumberIndexOnly) {
      m_NumberIndexOnly = false;
      for (size_t n = 0; n < m_NumberIndex.size(); ++n) {
        if (m_NumberIndex[n] >= 0) {
          m_EntryIndex.try_emplace(m_Entries[static_cast<size_t>(m_NumberIndex[n])].Id,
                                   static_cast<size_t>(m_NumberIndex[n]));
        }
      }
      m_NumberIndex = {};
    }
    m_EntryIndex.try_emplace(id, index);
  }

  // The index of the first entry of that id, or past the end.
  size_t EntryIndex(std::string_view id) const {
    if (!m_NumberIndexOnly) {
      const auto found = m_EntryIndex.find(id);
      return found == m_EntryIndex.end() ? SIZE_MAX : found->second;
    }
    const int64_t number = CanonicalNumber(id);
    return number >= 0 && static_cast<size_t>(number) < m_NumberIndex.size() &&
                   m_NumberIndex[static_cast<size_t>(number)] >= 0
               ? static_cast<size_t>(m_NumberIndex[static_cast<size_t>(number)])
               : SIZE_MAX;
  }

  TTranslation* Find(const TEntry& entry, std::string_view id) {
    for (uint32_t i = 0; i < entry.Translations; ++i) {
      TTranslation& t = m_Translations[entry.FirstTranslation + i];
      if (t.Id == id) return &t;
    }
    return nullptr;
  }

  TTranslation ReadTranslation(const pugi::xml_node& element) {
    TTranslation translation;
    translation.Id = Id(element);
    for (const pugi::xml_node child : element.children()) {
      const std::string_view name = child.name();
      if (name == "text") {
        translation.Text = Text(child);
      } else if (name == "comment") {
        translation.Comment = Text(child);
      }
    }
    return translation;
  }

  // Lessons and word types are both trees of containers holding references to entries; a word
  // type's references also name the translation it applies to.
  void ReadContainers(const pugi::xml_node& section, TContainerKind kind) {
    for (const pugi::xml_node container : section.children("container")) {
      ReadContainer(container, kind, 1, QString());
    }
  }

  void ReadContainer(const pugi::xml_node& container, TContainerKind kind, int depth,
                     const QString& parentName) {
    if (depth > kMaxKvtmlDepth) {
      Fail(Tr("The file %1 nests lessons or word types more than %2 deep and cannot be "
              "imported.")
               .arg(m_SourceName)
               .arg(kMaxKvtmlDepth));
    }
    QString name = parentName;
    for (const pugi::xml_node child : container.children()) {
      const std::string_view element = child.name();
      if (element == "name") {
        // A word type within another ("Noun", "Male") is named by both.
        const QString own = QString::fromStdU16String(Text(child));
        name = parentName.isEmpty() || own.isEmpty() ? parentName + own : parentName + ", " + own;
        if (name.size() > kMaxKvtmlText) TextTooLong(child);
      } else if (element == "container") {
        ReadContainer(child, kind, depth + 1, name);
      } else if (element == "entry") {
        const std::string_view entryId = Id(child);
        if (kind == TContainerKind::Lesson) {
          m_LessonOrder.push_back(entryId);
        } else if (!name.isEmpty()) {
          for (const pugi::xml_node translation : child.children("translation")) {
            m_WordTypes.try_emplace(std::pair(entryId, Id(translation)), name.toStdU16String());
          }
        }
      }
    }
  }

  const std::u16string* WordType(const TEntry& entry, std::string_view translationId) const {
    const auto found = m_WordTypes.find(std::pair(entry.Id, translationId));
    return found == m_WordTypes.end() || found->second.empty() ? nullptr : &found->second;
  }

  // Moves the texts out: each entry is taken once.
  TKvtmlVocabulary Result() {
    if (m_Identifiers.size() < 2) {
      Fail(Tr("The file %1 does not name two languages.").arg(m_SourceName));
    }
    TKvtmlVocabulary result;
    result.ForeignLocale = m_Identifiers[0].second;
    result.NativeLocale = m_Identifiers[1].second;
    const std::string_view foreign = m_Identifiers[0].first;
    const std::string_view native = m_Identifiers[1].first;

    // Lesson by lesson, each entry once, then the entries of no lesson in file order.
    std::vector<size_t> order;
    order.reserve(m_Entries.size());
    std::vector<bool> taken(m_Entries.size(), false);
    for (const std::string_view id : m_LessonOrder) {
      const size_t found = EntryIndex(id);
      if (found >= m_Entries.size() || taken[found]) continue;
      taken[found] = true;
      order.push_back(found);
    }
    for (size_t i = 0; i < m_Entries.size(); ++i) {
      if (!taken[i]) order.push_back(i);
    }

    result.Entries.reserve(order.size());
    for (size_t index : order) {
      const TEntry& entry = m_Entries[index];
      TTranslation* word = Find(entry, foreign);
      TTranslation* meaning = Find(entry, native);
      std::array<std::u16string, 4> fields;
      for (const TTranslation* t : {word, meaning}) {
        if (!t || t->Comment.empty()) continue;
        if (!fields[Notes].empty()) fields[Notes] += u"; ";
        fields[Notes] += t->Comment;
      }
      const std::u16string* wordType = WordType(entry, foreign);
      if (!wordType) wordType = WordType(entry, native);
      if (wordType) fields[Category] = *wordType;
      if (word) fields[Foreign] = std::move(word->Text);
      if (meaning) fields[Native] = std::move(meaning->Text);
      result.Entries.push_back(std::move(fields));
    }
    return result;
  }

  struct TPairHash {
    size_t operator()(const std::pair<std::string_view, std::string_view>& key) const {
      const std::hash<std::string_view> hash;
      return hash(key.first) * 31 + hash(key.second);
    }
  };

  char* m_Bytes;
  size_t m_Size;
  QString m_SourceName;
  bool m_Utf8 = false;       // parsed in place: node offsets point into m_Bytes
  bool m_Ampersands = true;  // false when a UTF-8 document holds no reference at all
  pugi::xml_document m_Document;
  std::string m_Scratch;
  std::vector<std::pair<std::string_view, QString>> m_Identifiers;  // id, locale
  std::vector<TEntry> m_Entries;
  std::vector<TTranslation> m_Translations;
  bool m_NumberIndexOnly = true;       // every entry id so far is a number written plainly
  std::vector<int32_t> m_NumberIndex;  // id number -> first entry of it, -1 for none
  std::unordered_map<std::string_view, size_t> m_EntryIndex;
  std::vector<std::string_view> m_LessonOrder;
  // (entry id, translation id) -> word type
  std::unordered_map<std::pair<std::string_view, std::string_view>, std::u16string, TPairHash>
      m_WordTypes;
};

[[noreturn]] void TooLarge(const QString& sourceName) {
  static_assert(kMaxKvtmlBytes == qint64{1} << 30);
  Fail(Tr("The file %1 is larger than 1 GB and cannot be imported.").arg(sourceName));
}

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
  if (bytes.size() > kMaxKvtmlBytes) TooLarge(sourceName);
  std::string copy(bytes.constData(), static_cast<size_t>(bytes.size()));
  return TKvtmlParser(copy.data(), copy.size(), sourceName).Parse();
}

TKvtmlVocabulary ReadKvtmlFile(const QString& path) {
  const QFileInfo info(path);
  if (info.isFile() && info.size() > kMaxKvtmlBytes) TooLarge(path);
  const std::string file = QFile::encodeName(path).toStdString();
  // Parsed where it was read: the file is in memory once.
  std::string bytes = ReadFileBytes(file, static_cast<size_t>(kMaxKvtmlBytes) + 1);
  if (bytes.size() > static_cast<size_t>(kMaxKvtmlBytes)) TooLarge(path);
  return TKvtmlParser(bytes.data(), bytes.size(), path).Parse();
}

int32_t ImportKvtml(TVocabFile& vocab, const QString& path) {
  const TKvtmlVocabulary read = ReadKvtmlFile(path);
  return vocab.ImportEntries(Language(read.ForeignLocale), Language(read.NativeLocale),
                             read.Entries);
}
