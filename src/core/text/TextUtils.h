// SPDX-License-Identifier: MIT
// Splitting and quoting of delimited text, RTF escaping and small text helpers.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>

// Each operation comes in 8-bit and UTF-16. Positions are 1-based. The parts arrays have a fixed
// capacity: text beyond the last part that fits is dropped.

int SplitList(const std::string& text, const std::string& delimiters, bool trim,
              std::span<std::string> parts, bool skipEmpty);
int SplitListWide(const std::u16string& text, const std::u16string& delimiters, bool trim,
                  std::span<std::u16string> parts, bool skipEmpty);
int SplitCsv(const std::string& line, bool trim, bool skipEmpty, std::span<std::string> parts);
int SplitCsvWide(const std::u16string& line, bool trim, bool skipEmpty,
                 std::span<std::u16string> parts);
std::string Unquote(const std::string& part);
std::u16string UnquoteWide(const std::u16string& part);
std::string CsvQuote(const std::string& field);
std::u16string CsvQuoteWide(const std::u16string& field);

int WidePos(const std::u16string& needle, const std::u16string& text);
std::u16string WideReplaceAll(const std::u16string& text, const std::u16string& find,
                              const std::u16string& replacement);
std::u16string WideTrim(const std::u16string& text);
// Bytes at or below 0x20 removed from both ends.
std::string Trim(const std::string& text);

void WriteBytes(const std::string& text, std::ostream& stream);
std::string RtfEscape(const std::string& text);
std::string FormatPercent(int32_t part, int32_t whole);
std::string CapitaliseWords(const std::string& text);
