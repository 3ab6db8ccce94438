// SPDX-License-Identifier: MIT
// The tip file: one tip per line, each with an optional help topic.
#include "testing/Tips.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <limits>

std::vector<std::string> ReadTipLines(std::istream& in) {
  std::string bytes(kMaxTipFileSize, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(in.gcount()));
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 1;
    if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
  return lines;
}

std::vector<std::string> ReadTipFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return ReadTipLines(in);
}

TTip SplitTipLine(const std::string& line) {
  TTip tip;
  const size_t tab = line.find('\t');
  if (tab == std::string::npos) {
    tip.Text = line;
    return tip;
  }
  tip.Text = line.substr(tab + 1);
  const char* first = line.data();
  const char* last = first + tab;
  int32_t value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error == std::errc() && end == last && value > 0) tip.HelpContext = value;
  return tip;
}

size_t TakeNextTip(int32_t& nextIndex, size_t count) {
  size_t index = 0;
  if (nextIndex >= 0 && static_cast<size_t>(nextIndex) < count) {
    index = static_cast<size_t>(nextIndex);
  }
  // A file of more than 2^31 lines cannot be read, so the index after it always fits.
  nextIndex = static_cast<int32_t>(
      std::min<size_t>(index + 1, static_cast<size_t>(std::numeric_limits<int32_t>::max())));
  return index;
}

std::string TipDocument(const std::string& tipText) {
  return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Verdana;}}{\\colortbl\\red0\\green0\\blue0;}"
         "\\deflang2057\\pard\\plain\\f2\\fs16 " +
         tipText + "\\par }";
}
