// SPDX-License-Identifier: MIT
// Spacing, bracket and sort-marker rules for edited entries.
#include "text/EditRules.h"

#include <algorithm>

std::string CollapseSpaces(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    out += c;
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

bool BracketsValid(const std::string& text) {
  int depth = 0;
  for (char c : text) {
    if (c == '(' && ++depth > 1) return false;
    if (c == ')' && --depth < 0) return false;
  }
  return depth == 0;
}

std::string InsertSortMarker(const std::string& text, int32_t sortPos, bool always) {
  if (sortPos <= 0 && !always && text.find(kSortMarker) == std::string::npos) return text;
  std::string out = text;
  const size_t at = std::min(static_cast<size_t>(std::max(sortPos, 0)), out.size());
  out.insert(at, 1, kSortMarker);
  return out;
}

bool ExtractSortMarker(std::string& text, int32_t& sortPos) {
  const size_t at = text.find(kSortMarker);
  if (at == std::string::npos) return false;
  text.erase(at, 1);
  sortPos = at == text.size() ? 0 : static_cast<int32_t>(at);
  return true;
}
