// SPDX-License-Identifier: MIT
// The tip file: one tip per line, each with an optional help topic.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

// The tip file is small; what lies beyond this is not read.
constexpr size_t kMaxTipFileSize = 1024 * 1024;

// The lines of a tip file, ended by CR LF, CR or LF; a last line needs no end. Reads at most
// kMaxTipFileSize bytes. Empty for an empty stream.
std::vector<std::string> ReadTipLines(std::istream& in);
// The same for a file; empty when it cannot be opened.
std::vector<std::string> ReadTipFile(const std::string& path);

// A line split at its first tab into the help topic (0: none, also for text that is not a
// whole non-negative number) and the tip text, a fragment of Rich Text Format. A line without a
// tab is all text.
struct TTip {
  int32_t HelpContext = 0;
  std::string Text;
};
TTip SplitTipLine(const std::string& line);

// The index of the tip to show for nextIndex among count tips (count > 0): nextIndex itself, or
// 0 when it lies outside them. Afterwards nextIndex names the tip after it, so the next showing,
// in this run or the next, goes on from there.
size_t TakeNextTip(int32_t& nextIndex, size_t count);

// The tip text in the fixed rich-text frame the tip box reads.
std::string TipDocument(const std::string& tipText);
