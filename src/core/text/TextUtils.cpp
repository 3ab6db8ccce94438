// SPDX-License-Identifier: MIT
// Delimited-text splitting (8-bit and UTF-16), unquoting, quoting and RTF escaping.
#include "text/TextUtils.h"

#include <ostream>

namespace {

// Shared by the 8-bit and UTF-16 forms: Str is std::string or std::u16string.
template <typename Str>
uint32_t Unit(typename Str::value_type ch) {
  if constexpr (sizeof(ch) == 1) {
    return static_cast<uint8_t>(ch);
  } else {
    return static_cast<uint32_t>(ch);
  }
}

template <typename Str>
Str TrimUnits(const Str& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && Unit<Str>(text[first]) <= 0x20) ++first;
  while (last > first && Unit<Str>(text[last - 1]) <= 0x20) --last;
  return text.substr(first, last - first);
}

template <typename Str>
Str ReplaceAll(const Str& text, const Str& find, const Str& replacement) {
  if (find.empty()) return text;
  Str out;
  out.reserve(text.size());
  size_t from = 0;
  for (size_t at = text.find(find); at != Str::npos; at = text.find(find, from)) {
    out.append(text, from, at - from);
    out += replacement;
    from = at + find.size();
  }
  out.append(text, from, Str::npos);
  return out;
}

template <typename Str>
Str UnquoteT(const Str& part) {
  const Str trimmed = TrimUnits(part);
  if (trimmed.size() > 1 && trimmed.front() == '"' && trimmed.back() == '"') {
    const Str pair(2, '"');
    const Str single(1, '"');
    return ReplaceAll(trimmed.substr(1, trimmed.size() - 2), pair, single);
  }
  return part;
}

// Stores part unless it is empty and skipEmpty; false once the array is full.
template <typename Str>
bool StorePart(Str part, bool trim, bool skipEmpty, std::span<Str> parts, int& count) {
  if (static_cast<size_t>(count) >= parts.size()) return false;
  if (trim) part = TrimUnits(part);
  if (!(part.empty() && skipEmpty)) parts[count++] = std::move(part);
  return true;
}

template <typename Str>
int SplitListT(const Str& text, const Str& delimiters, bool trim, std::span<Str> parts,
               bool skipEmpty) {
  int count = 0;
  if (text.empty()) return 0;
  size_t start = 0;
  for (size_t pos = 0; pos <= text.size(); ++pos) {
    if (pos < text.size() && delimiters.find(text[pos]) == Str::npos) continue;
    if (!StorePart(text.substr(start, pos - start), trim, skipEmpty, parts, count)) break;
    start = pos + 1;
  }
  return count;
}

template <typename Str>
int SplitCsvT(const Str& line, bool trim, bool skipEmpty, std::span<Str> parts) {
  int count = 0;
  if (line.empty()) return 0;
  bool quoted = false;
  size_t start = 0;
  for (size_t pos = 0; pos <= line.size(); ++pos) {
    if (pos < line.size()) {
      if (line[pos] == '"') quoted = !quoted;
      if (line[pos] != ',' || quoted) continue;
    }
    if (!StorePart(UnquoteT(line.substr(start, pos - start)), trim, skipEmpty, parts, count)) {
      break;
    }
    start = pos + 1;
  }
  return count;
}

template <typename Str>
Str CsvQuoteT(const Str& field) {
  if (field.find_first_of(Str{',', '"'}) == Str::npos) return field;
  Str out(1, '"');
  out += ReplaceAll(field, Str(1, '"'), Str(2, '"'));
  out += '"';
  return out;
}

}  // namespace

int SplitList(const std::string& text, const std::string& delimiters, bool trim,
              std::span<std::string> parts, bool skipEmpty) {
  return SplitListT(text, delimiters, trim, parts, skipEmpty);
}

int SplitListWide(const std::u16string& text, const std::u16string& delimiters, bool trim,
                  std::span<std::u16string> parts, bool skipEmpty) {
  return SplitListT(text, delimiters, trim, parts, skipEmpty);
}

int SplitCsv(const std::string& line, bool trim, bool skipEmpty, std::span<std::string> parts) {
  return SplitCsvT(line, trim, skipEmpty, parts);
}

int SplitCsvWide(const std::u16string& line, bool trim, bool skipEmpty,
                 std::span<std::u16string> parts) {
  return SplitCsvT(line, trim, skipEmpty, parts);
}

std::string Unquote(const std::string& part) {
  return UnquoteT(part);
}

std::u16string UnquoteWide(const std::u16string& part) {
  return UnquoteT(part);
}

std::string CsvQuote(const std::string& field) {
  return CsvQuoteT(field);
}

std::u16string CsvQuoteWide(const std::u16string& field) {
  return CsvQuoteT(field);
}

int WidePos(const std::u16string& needle, const std::u16string& text) {
  if (needle.size() > text.size()) return 0;
  const size_t at = text.find(needle);
  return at == std::u16string::npos ? 0 : static_cast<int>(at) + 1;
}

std::u16string WideReplaceAll(const std::u16string& text, const std::u16string& find,
                              const std::u16string& replacement) {
  return ReplaceAll(text, find, replacement);
}

std::u16string WideTrim(const std::u16string& text) {
  return TrimUnits(text);
}

std::string Trim(const std::string& text) {
  return TrimUnits(text);
}

void WriteBytes(const std::string& text, std::ostream& stream) {
  stream.write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::string RtfEscape(const std::string& text) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (const char ch : text) {
    const auto b = static_cast<uint8_t>(ch);
    if (ch == '\\' || ch == '{' || ch == '}') {
      out += '\\';
      out += ch;
    } else if (b >= 0x80) {
      out += "\\'";
      out += kHex[b >> 4];
      out += kHex[b & 0x0F];
    } else {
      out += ch;
    }
  }
  return out;
}

std::string FormatPercent(int32_t part, int32_t whole) {
  if (whole == 0) return "0%";
  // part / whole * 100 + 0.5, truncated toward zero, in exact integer arithmetic.
  const int64_t n = (int64_t{part} * 200 + whole) / (int64_t{whole} * 2);
  return std::to_string(n) + "%";
}

std::string CapitaliseWords(const std::string& text) {
  // ASCII letters only: the text is a file path, whose other bytes are not necessarily in any
  // one 8-bit code page, and a byte-wise case change could corrupt them.
  std::string out(text);
  bool startOfWord = true;
  for (char& ch : out) {
    if (startOfWord) {
      if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    } else if (ch >= 'A' && ch <= 'Z') {
      ch = static_cast<char>(ch - 'A' + 'a');
    }
    startOfWord = ch == ' ' || ch == '\\';
  }
  return out;
}
