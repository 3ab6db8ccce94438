// SPDX-License-Identifier: MIT
// Appending entries from another vocabulary file or from delimited text.
#include "vocab/Import.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <span>
#include <stdexcept>
#include <vector>

#include "text/Languages.h"
#include "text/TextUtils.h"
#include "text/Utf8.h"
#include "vocab/FileUtils.h"
#include "vocab/VocFile.h"

namespace {
constexpr size_t kDetectBytes = 1024;
constexpr size_t kMaxReserve = 1 << 20;

using TNewEntries = std::vector<std::unique_ptr<TVocabItem>>;

// Calls line(start, length) for every line of text, cut at CR, LF and CR LF. Without
// trailingBreakStartsLine (the 8-bit rule) a break at the very end does not start another line
// and empty text has no lines; with it there is always one line more than there are breaks
// (the UTF-16 rule).
template <class TString, class TFunction>
void ForEachLine(const TString& text, bool trailingBreakStartsLine, TFunction line) {
  using TChar = typename TString::value_type;
  constexpr TChar kBreaks[] = {TChar('\r'), TChar('\n'), TChar(0)};
  size_t pos = 0;
  const size_t size = text.size();
  while (pos < size || trailingBreakStartsLine) {
    size_t end = text.find_first_of(kBreaks, pos);
    if (end == TString::npos) end = size;
    line(pos, end - pos);
    if (end == size) break;
    pos =
        end + (text[end] == TChar('\r') && end + 1 < size && text[end + 1] == TChar('\n') ? 2 : 1);
  }
}

// The whole file to import: only a regular file, and not one beyond the limit (also when it
// grows while it is read).
std::string ReadImportFile(const std::string& path) {
  auto tooLarge = [&] {
    throw EVocabFileError("The file " + path + " is larger than 128 MB and cannot be imported.");
  };
  CheckRegularFile(path);
  std::error_code ec;
  if (std::filesystem::file_size(path, ec) > kMaxImportBytes && !ec) tooLarge();
  std::string bytes = ReadFileBytes(path, kMaxImportBytes + 1);
  if (bytes.size() > kMaxImportBytes) tooLarge();
  return bytes;
}

int SplitColumns(const std::string& line, bool tabs, std::span<std::string> columns) {
  return tabs ? SplitList(line, "\t", true, columns, false) : SplitCsv(line, true, false, columns);
}

int SplitColumns(const std::u16string& line, bool tabs, std::span<std::u16string> columns) {
  return tabs ? SplitListWide(line, u"\t", true, columns, false)
              : SplitCsvWide(line, true, false, columns);
}

// Reads the lines from firstLine on and makes an entry of each that has a word/phrase.
// convert(field, text) turns a column into the stored 8-bit text of that field.
template <class TString, class TConvert>
void ImportLines(const TString& text, bool trailingBreakStartsLine, bool tabs,
                 const std::array<int32_t, 4>& columnMap, int32_t firstLine, TConvert convert,
                 TNewEntries& entries) {
  size_t lineCount = 0;
  ForEachLine(text, trailingBreakStartsLine, [&](size_t, size_t) { ++lineCount; });
  if (lineCount < static_cast<size_t>(firstLine)) return;
  // Room for the lines to come, but not more than any file could need: a file of nothing but
  // line breaks must not reserve memory for entries it never makes.
  entries.reserve(std::min<size_t>(lineCount - static_cast<size_t>(firstLine) + 1, kMaxReserve));
  std::array<TString, kMaxImportColumns> columns;
  TString line;
  const TString none;
  size_t number = 0;
  ForEachLine(text, trailingBreakStartsLine, [&](size_t start, size_t length) {
    if (++number < static_cast<size_t>(firstLine)) return;
    line.assign(text, start, length);
    const int count = SplitColumns(line, tabs, columns);
    auto column = [&](int field) -> const TString& {
      const int32_t index = columnMap[field];
      return index >= 1 && index <= count ? columns[index - 1] : none;
    };
    if (column(Foreign).empty()) return;
    auto entry = std::make_unique<TVocabItem>();
    for (int field = 0; field < 4; ++field) entry->Values[field] = convert(field, column(field));
    if (entry->Values[Foreign].empty()) return;
    if (entry->Values[Native].empty()) entry->Values[Native] = kMissingValue;
    entries.push_back(std::move(entry));
  });
}

void ImportDelimitedText(const std::string& path, bool tabs,
                         const std::array<int32_t, 4>& columnMap, int32_t firstLine,
                         uint16_t foreignLangId, uint16_t nativeLangId, TNewEntries& entries) {
  std::string text = ReadImportFile(path);
  // A zero byte ends the text.
  const size_t end = text.find('\0');
  if (end != std::string::npos) text.resize(end);
  const bool utf8[2] = {IsUtf8Language(foreignLangId), IsUtf8Language(nativeLangId)};
  if ((utf8[0] || utf8[1]) && text.starts_with(kUtf8Mark)) text.erase(0, kUtf8Mark.size());
  // The bytes are stored as they are, so a language kept in UTF-8 takes only valid UTF-8: 8-bit
  // text of another code page would become text that no conversion can show.
  ImportLines(
      text, false, tabs, columnMap, firstLine,
      [&](int field, const std::string& column) -> const std::string& {
        if (utf8[field == Foreign ? 0 : 1] && !IsUtf8(column)) {
          throw EVocabFileError("The file " + path +
                                " is not UTF-8 text. Save it as UTF-8 or Unicode text and import "
                                "it as such.");
        }
        return column;
      },
      entries);
}

void ImportUnicodeText(const std::string& path, bool tabs, const std::array<int32_t, 4>& columnMap,
                       int32_t firstLine, uint16_t foreignLangId, uint16_t nativeLangId,
                       TNewEntries& entries) {
  std::u16string text = BytesToWide(ReadImportFile(path));
  NormaliseByteOrder(text);
  ImportLines(
      text, true, tabs, columnMap, firstLine,
      [&](int field, const std::u16string& column) {
        return column.empty() ? std::string()
                              : WideToAnsi(column, field == Foreign ? foreignLangId : nativeLangId);
      },
      entries);
}

// UTF-8 follows the 8-bit rules for lines and columns (its multi-byte characters hold no byte
// those rules look at); each column is then converted to its language's code page.
void ImportUtf8Text(const std::string& path, bool tabs, const std::array<int32_t, 4>& columnMap,
                    int32_t firstLine, uint16_t foreignLangId, uint16_t nativeLangId,
                    TNewEntries& entries) {
  std::string text = ReadImportFile(path);
  if (text.starts_with(kUtf8Mark)) text.erase(0, kUtf8Mark.size());
  const size_t end = text.find('\0');
  if (end != std::string::npos) text.resize(end);
  ImportLines(
      text, false, tabs, columnMap, firstLine,
      [&](int field, const std::string& column) {
        return column.empty() ? std::string()
                              : WideToAnsi(Utf8ToWide(column),
                                           field == Foreign ? foreignLangId : nativeLangId);
      },
      entries);
}
}  // namespace

uint8_t DetectTextType(const std::string& path) {
  std::u16string units;
  std::string bytes;
  try {
    bytes = ReadFileBytes(path, kDetectBytes);
    units = BytesToWide(bytes);
  } catch (const std::exception&) {
    return ttCommaText;
  }
  if (!units.empty() && units[0] == 0xFEFF) {
    return units.find(u'\t') != std::u16string::npos ? ttUnicodeTabText : ttUnicodeCommaText;
  }
  if (!units.empty() && units[0] == 0xFFFE) {
    return units.find(char16_t(0x0900)) != std::u16string::npos ? ttUnicodeTabText
                                                                : ttUnicodeCommaText;
  }
  const bool tabs = bytes.find('\t') != std::string::npos;
  const bool high = std::any_of(bytes.begin(), bytes.end(),
                                [](char c) { return static_cast<unsigned char>(c) > 0x7F; });
  if (bytes.starts_with(kUtf8Mark) || (high && IsUtf8(bytes, bytes.size() == kDetectBytes))) {
    return tabs ? ttUtf8TabText : ttUtf8CommaText;
  }
  return tabs ? ttTabText : ttCommaText;
}

int32_t TVocabFile::ImportText(const std::string& path, int textType,
                               const std::array<int32_t, 4>& columnMap, int32_t firstLine) {
  if (firstLine < 1) RaiseError("Invalid procedure call.");
  // The new entries join the list only once all were read, so a failure part-way leaves the
  // list, the current entry, the journal and Modified as they were.
  TNewEntries entries;
  switch (textType) {
    case ttCommaText:
    case ttTabText:
      ImportDelimitedText(path, textType == ttTabText, columnMap, firstLine, m_ForeignLangID,
                          m_NativeLangID, entries);
      break;
    case ttUnicodeCommaText:
    case ttUnicodeTabText:
      ImportUnicodeText(path, textType == ttUnicodeTabText, columnMap, firstLine, m_ForeignLangID,
                        m_NativeLangID, entries);
      break;
    case ttUtf8CommaText:
    case ttUtf8TabText:
      ImportUtf8Text(path, textType == ttUtf8TabText, columnMap, firstLine, m_ForeignLangID,
                     m_NativeLangID, entries);
      break;
    default:
      return 0;
  }
  return AppendRead(entries);
}

int32_t TVocabFile::AppendRead(std::vector<std::unique_ptr<TVocabItem>>& entries) {
  const auto count = static_cast<int32_t>(entries.size());
  if (count == 0) return 0;
  AppendEntries(entries);
  ClearJournal();
  m_Modified = true;
  m_SavedPos = -1;
  return count;
}

int32_t TVocabFile::ImportEntries(uint16_t foreignId, uint16_t nativeId,
                                  const std::vector<std::array<std::u16string, 4>>& entries) {
  if (!SameLanguages(foreignId, nativeId)) RaiseError("Languages are different.");
  TNewEntries added;
  added.reserve(std::min(entries.size(), kMaxReserve));
  for (const auto& fields : entries) {
    auto entry = std::make_unique<TVocabItem>();
    for (int field = 0; field < 4; ++field) {
      const std::u16string& text = fields[static_cast<size_t>(field)];
      if (!text.empty()) {
        entry->Values[field] =
            WideToAnsi(text, field == Foreign ? m_ForeignLangID : m_NativeLangID);
      }
    }
    if (entry->Values[Foreign].empty()) continue;
    if (entry->Values[Native].empty()) entry->Values[Native] = kMissingValue;
    added.push_back(std::move(entry));
  }
  return AppendRead(added);
}

int32_t TVocabFile::MergeFile(const std::string& path) {
  TNewEntries entries;
  {
    TVocabFile source;
    source.LoadFromFile(path);
    if (!SameLanguages(source.m_ForeignLangID, source.m_NativeLangID)) {
      RaiseError("Languages are different.");
    }
    // The source is thrown away, so its entries move over rather than being copied; they keep
    // their texts and sorting positions and start untested.
    entries.reserve(source.m_Items.size());
    for (TVocabItem* item : source.m_Items) {
      item->DisplayWidth = 0;
      item->LastAsked = 0;
      item->SortKey.clear();
      item->PenaltyPoints = 0;
      entries.push_back(source.Disown(item));
    }
    source.m_Items.clear();
  }
  return AppendRead(entries);
}
