// SPDX-License-Identifier: MIT
// Writers of delimited text, Rich Text Format and HTML.
#include "vocab/Export.h"

#include <charconv>
#include <filesystem>
#include <ostream>
#include <string_view>

#include "text/Languages.h"
#include "text/TextUtils.h"
#include "text/Utf8.h"
#include "vocab/FileUtils.h"
#include "vocab/StreamIO.h"
#include "vocab/VocFile.h"

namespace {
constexpr size_t kFlushSize = 64 * 1024;

// Collects output and hands it to the stream in large pieces: a million entries make tens of
// millions of small pieces, too many for one stream call each.
class TOutput {
public:
  explicit TOutput(std::ostream& out) : m_Out(out) { m_Data.reserve(2 * kFlushSize); }

  void Add(std::string_view text) {
    m_Data.append(text);
    if (m_Data.size() >= kFlushSize) Flush();
  }
  // UTF-16 little-endian, two bytes per code unit.
  void AddWide(std::u16string_view text) {
    const size_t at = m_Data.size();
    m_Data.resize(at + 2 * text.size());
    char* p = m_Data.data() + at;
    for (char16_t unit : text) {
      *p++ = static_cast<char>(unit & 0xFF);
      *p++ = static_cast<char>(unit >> 8);
    }
    if (m_Data.size() >= kFlushSize) Flush();
  }
  // UTF-8 as it is, with the characters HTML gives a meaning escaped: for the files whose
  // texts hold characters beyond UTF-16's single units, which references per unit would break.
  void AddHtmlUtf8(std::u16string_view units) {
    for (const char ch : WideToUtf8(units)) {
      switch (ch) {
        case '&':
          m_Data += "&amp;";
          break;
        case '<':
          m_Data += "&lt;";
          break;
        case '>':
          m_Data += "&gt;";
          break;
        case '"':
          m_Data += "&quot;";
          break;
        default:
          m_Data += ch;
      }
    }
    if (m_Data.size() >= kFlushSize) Flush();
  }
  // Every code unit as a decimal character reference, "&#65;": what HtmlCharRefs gives for the
  // 8-bit text, written straight into the buffer, since HTML is the largest export by far.
  void AddCharRefs(std::u16string_view units) {
    const size_t at = m_Data.size();
    m_Data.resize(at + 8 * units.size());
    char* const start = m_Data.data() + at;
    char* p = start;
    for (char16_t unit : units) {
      *p++ = '&';
      *p++ = '#';
      p = std::to_chars(p, p + 5, static_cast<unsigned>(unit)).ptr;
      *p++ = ';';
    }
    m_Data.resize(at + static_cast<size_t>(p - start));
    if (m_Data.size() >= kFlushSize) Flush();
  }
  void Flush() {
    WriteBytes(m_Data, m_Out);
    m_Data.clear();
    if (!m_Out) RaiseWriteError();
  }

private:
  std::ostream& m_Out;
  std::string m_Data;
};

// Part of speech and notes as one text, blanks trimmed; empty when both are blank.
void Annotation(const TVocabItem& item, std::string& out) {
  out.assign(item.Values[Category]);
  out += ' ';
  out += item.Values[Notes];
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  if (blank(out.front()) || blank(out.back())) out = Trim(out);
}

// The file name of path without folder and extension, as UTF-16.
std::u16string FileNameTitle(const std::string& path) {
  const std::filesystem::path stem = std::filesystem::path(path).stem();
  try {
    return stem.u16string();
  } catch (const std::exception&) {
    // Not valid in the file system's encoding: keep the bytes as characters.
    std::u16string units;
    for (unsigned char c : stem.string()) units += static_cast<char16_t>(c);
    return units;
  }
}

// Text of a language in RTF: 8-bit bytes as "\'e9"; UTF-8 text, which no RTF code page holds,
// as "\u29483?" per UTF-16 unit (signed, as RTF wants), with "?" for readers without Unicode.
std::string RtfText(const std::string& text, uint16_t langId) {
  if (!IsUtf8Language(langId)) return RtfEscape(text);
  std::string out;
  for (const char16_t unit : AnsiToWide(text, langId)) {
    if (unit < 0x80) {
      out += RtfEscape(std::string(1, static_cast<char>(unit)));
    } else {
      out += "\\u" + std::to_string(static_cast<int16_t>(unit)) + '?';
    }
  }
  return out;
}

std::string RtfTitle(const TVocabFile& vocab, const std::string& path) {
  const std::string& description = vocab.GetProperty(0);
  if (!description.empty()) return RtfText(description, vocab.NativeLangID());
  return RtfText(WideToAnsi(FileNameTitle(path), vocab.NativeLangID()), vocab.NativeLangID());
}

std::u16string HtmlTitle(const TVocabFile& vocab, const std::string& path) {
  const std::string& description = vocab.GetProperty(0);
  if (!description.empty()) return AnsiToWide(description, vocab.NativeLangID());
  return FileNameTitle(path);
}
}  // namespace

void WriteDelimitedText(const TVocabFile& vocab, int format, std::ostream& out) {
  TOutput output(out);
  const bool comma = format == 0 || format == 2 || format == 4;
  if (format == 4 || format == 5) {
    const std::string_view delimiter = comma ? "," : "\t";
    for (const TVocabItem* item : vocab.Items()) {
      for (int field = 0; field < 4; ++field) {
        const uint16_t lang = field == Foreign ? vocab.ForeignLangID() : vocab.NativeLangID();
        const std::u16string wide = AnsiToWide(item->Values[field], lang);
        if (field > 0) output.Add(delimiter);
        output.Add(WideToUtf8(comma ? CsvQuoteWide(wide) : wide));
      }
      output.Add("\r\n");
    }
  } else if (format == 2 || format == 3) {
    output.Add("\xFF\xFE");
    const char16_t delimiter = comma ? u',' : u'\t';
    std::u16string wide;
    for (const TVocabItem* item : vocab.Items()) {
      for (int field = 0; field < 4; ++field) {
        const uint16_t lang = field == Foreign ? vocab.ForeignLangID() : vocab.NativeLangID();
        wide = AnsiToWide(item->Values[field], lang);
        if (field > 0) output.AddWide(std::u16string_view(&delimiter, 1));
        if (comma) {
          output.AddWide(CsvQuoteWide(wide));
        } else {
          output.AddWide(wide);
        }
      }
      output.AddWide(u"\r\n");
    }
  } else {
    const std::string_view delimiter = comma ? "," : "\t";
    for (const TVocabItem* item : vocab.Items()) {
      for (int field = 0; field < 4; ++field) {
        if (field > 0) output.Add(delimiter);
        if (comma) {
          output.Add(CsvQuote(item->Values[field]));
        } else {
          output.Add(item->Values[field]);
        }
      }
      output.Add("\r\n");
    }
  }
  output.Flush();
}

void TVocabFile::ExportText(const std::string& path, int format) const {
  if (format < 0 || format > 5) RaiseError("Invalid procedure call.");
  WriteFileReplacing(path, [&](std::ostream& out) { WriteDelimitedText(*this, format, out); });
}

void WriteRtf(const TVocabFile& vocab, const std::string& path, std::ostream& out) {
  TOutput output(out);
  const uint8_t foreignCharset = LanguageCharset(vocab.ForeignLangID());
  const uint8_t nativeCharset = LanguageCharset(vocab.NativeLangID());
  output.Add("{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0\\froman\\fcharset");
  output.Add(std::to_string(foreignCharset));
  output.Add(" Times New Roman");
  output.Add(CharsetFontSuffix(foreignCharset));
  output.Add("};{\\f1\\froman\\fcharset");
  output.Add(std::to_string(nativeCharset));
  output.Add(" Times New Roman");
  output.Add(CharsetFontSuffix(nativeCharset));
  output.Add("}}\\pard\\plain\\fs32\\lang1024\\b ");
  output.Add(RtfTitle(vocab, path));
  output.Add("\\b0\\par\\par\\fi-283\\li283\\fs24");

  const std::string foreignFont = "\\f0\\lang" + std::to_string(vocab.ForeignLangID());
  const std::string nativeFont = "\\f1\\lang" + std::to_string(vocab.NativeLangID());
  std::string annotation;
  for (const TVocabItem* item : vocab.Items()) {
    output.Add(foreignFont);
    output.Add("\\b ");
    output.Add(RtfText(item->Values[Foreign], vocab.ForeignLangID()));
    output.Add("\\b0");
    output.Add(nativeFont);
    output.Add("  ");
    Annotation(*item, annotation);
    if (!annotation.empty()) {
      output.Add("\\i ");
      output.Add(RtfText(annotation, vocab.NativeLangID()));
      output.Add("\\i0  ");
    }
    output.Add(RtfText(item->Values[Native], vocab.NativeLangID()));
    output.Add("\\par");
  }
  output.Add("}");
  output.Flush();
}

void WriteHtml(const TVocabFile& vocab, const std::string& path, std::ostream& out) {
  TOutput output(out);
  const std::u16string title = HtmlTitle(vocab, path);
  const bool utf8 = IsUtf8Language(vocab.ForeignLangID()) || IsUtf8Language(vocab.NativeLangID());
  const auto addText = [&](std::u16string_view text) {
    if (utf8) {
      output.AddHtmlUtf8(text);
    } else {
      output.AddCharRefs(text);
    }
  };
  output.Add("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">");
  output.Add("\r\n<html>\r\n<head>\r\n<title>");
  addText(title);
  output.Add("</title>\r\n");
  output.Add("<meta http-equiv=\"content-type\" content=\"text/html; charset=UTF-8\">");
  output.Add("\r\n</head>\r\n");
  output.Add("<body bgcolor=\"#FFFFFF\">\r\n<H1>");
  addText(title);
  output.Add("</H1>\r\n<p>");

  const uint16_t foreign = vocab.ForeignLangID();
  const uint16_t native = vocab.NativeLangID();
  std::string annotation;
  for (const TVocabItem* item : vocab.Items()) {
    output.Add("<b>");
    addText(AnsiToWide(item->Values[Foreign], foreign));
    output.Add("</b> ");
    Annotation(*item, annotation);
    if (!annotation.empty()) {
      output.Add("<i>");
      addText(AnsiToWide(annotation, native));
      output.Add("</i> ");
    }
    addText(AnsiToWide(item->Values[Native], native));
    output.Add("<br>\r\n");
  }
  output.Add("</p>\r\n</body>\r\n</html>");
  output.Flush();
}

void ExportRtf(const TVocabFile& vocab, const std::string& path) {
  WriteFileReplacing(path, [&](std::ostream& out) { WriteRtf(vocab, path, out); });
}

void ExportHtml(const TVocabFile& vocab, const std::string& path) {
  WriteFileReplacing(path, [&](std::ostream& out) { WriteHtml(vocab, path, out); });
}
