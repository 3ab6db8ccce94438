// SPDX-License-Identifier: MIT
// A reader for the small part of Rich Text Format that formatted tips use.
#pragma once

#include <string>
#include <vector>

// A stretch of text with one formatting. Paragraph and line breaks are "\n", tabs "\t".
struct TRtfRun {
  std::u16string Text;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool operator==(const TRtfRun&) const = default;
};

// Reads rtf into runs; adjacent runs with the same formatting are joined and empty ones left
// out. Understood: groups, \b \i \ul (with 0 to end them, \ulnone, \plain), \par \line \tab,
// \'hh and plain bytes as Windows-1252, \uN with its \ucN fallback, the escapes \\ \{ \} \~ \_,
// and the destinations \fonttbl \colortbl \stylesheet \info \pict and \* whose content is not
// text. Every other control word (\fN, \fsN, ...) is skipped. Any input is safe: unbalanced
// braces, cut-off control words and deep nesting are read as far as they make sense.
std::vector<TRtfRun> ReadRtfText(const std::string& rtf);

// The runs' text without formatting.
std::u16string RtfPlainText(const std::vector<TRtfRun>& runs);
