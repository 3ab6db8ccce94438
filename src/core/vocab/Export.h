// SPDX-License-Identifier: MIT
// Exports of a vocabulary as Rich Text Format and HTML documents.
#pragma once

#include <iosfwd>
#include <string>

class TVocabFile;

// The documents the vocabulary can be exported as, besides the delimited text of
// TVocabFile::ExportText. Each writes every entry in list order under a title: property 0
// (Description, taken as text of the native language), or when that is empty the name of the
// target file without folder and extension. The title is escaped like the entry texts, so no
// title can break the document. An existing file is replaced only when all was written; the
// vocabulary is never changed.

// Rich Text Format, 8-bit: a bold title paragraph, an empty one, then one paragraph per entry
// with the word/phrase in bold, part of speech and notes in italics, then the translations.
void ExportRtf(const TVocabFile& vocab, const std::string& path);
// HTML 4.01, UTF-8 declared, every character of the title and the entries written as a
// decimal character reference; one line per entry laid out as in the RTF document.
void ExportHtml(const TVocabFile& vocab, const std::string& path);

// The same written to a stream; path only supplies the fallback title.
void WriteRtf(const TVocabFile& vocab, const std::string& path, std::ostream& out);
void WriteHtml(const TVocabFile& vocab, const std::string& path, std::ostream& out);
// The lines of TVocabFile::ExportText (format 0..5) written to a stream.
void WriteDelimitedText(const TVocabFile& vocab, int format, std::ostream& out);
