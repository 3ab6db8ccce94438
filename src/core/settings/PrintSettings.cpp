// SPDX-License-Identifier: MIT
// Byte codecs of the print options and page setup records, with bounds for damaged blocks.
#include "settings/PrintSettings.h"

#include <algorithm>

namespace {

void PutInt32(std::string& bytes, size_t at, int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  for (size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

int32_t GetInt32(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (size_t i = 4; i-- > 0;) v = (v << 8) | static_cast<uint8_t>(bytes[at + i]);
  return static_cast<int32_t>(v);
}

int32_t BoundMargin(int32_t margin) {
  return margin >= 0 && margin <= kMaxMargin ? margin : TPageSetup{}.MarginLeft;
}

}  // namespace

std::string EncodePrintOptions(const TPrintOptions& o) {
  std::string bytes(kPrintOptionsSize, '\0');
  bytes[0] = o.PrintTitle ? 1 : 0;
  bytes[1] = o.PrintPageNumbers ? 1 : 0;
  bytes[2] = static_cast<char>(o.PrintFields);
  return bytes;
}

std::string EncodePageSetup(const TPageSetup& s) {
  std::string bytes(kPageSetupSize, '\0');
  PutInt32(bytes, 0, s.MarginLeft);
  PutInt32(bytes, 4, s.MarginTop);
  PutInt32(bytes, 8, s.MarginRight);
  PutInt32(bytes, 12, s.MarginBottom);
  PutInt32(bytes, 16, s.Columns);
  bytes[20] = s.Separator ? 1 : 0;
  for (size_t i = 0; i < s.Reserved.size(); ++i) bytes[21 + i] = static_cast<char>(s.Reserved[i]);
  return bytes;
}

void DecodePrintOptions(const std::string& bytes, TPrintOptions& o) {
  if (bytes.size() > kPrintOptionsSize) {
    o = TPrintOptions{};
    return;
  }
  std::string full = EncodePrintOptions(o);
  std::copy(bytes.begin(), bytes.end(), full.begin());
  o.PrintTitle = full[0] != 0;
  o.PrintPageNumbers = full[1] != 0;
  o.PrintFields = static_cast<uint8_t>(full[2]) & kPrintFieldsMask;
}

void DecodePageSetup(const std::string& bytes, TPageSetup& s) {
  if (bytes.size() > kPageSetupSize) {
    s = TPageSetup{};
    return;
  }
  std::string full = EncodePageSetup(s);
  std::copy(bytes.begin(), bytes.end(), full.begin());
  s.MarginLeft = BoundMargin(GetInt32(full, 0));
  s.MarginTop = BoundMargin(GetInt32(full, 4));
  s.MarginRight = BoundMargin(GetInt32(full, 8));
  s.MarginBottom = BoundMargin(GetInt32(full, 12));
  s.Columns = GetInt32(full, 16);
  if (s.Columns < kMinColumns || s.Columns > kMaxColumns) s.Columns = kMinColumns;
  s.Separator = full[20] != 0;
  for (size_t i = 0; i < s.Reserved.size(); ++i) s.Reserved[i] = static_cast<uint8_t>(full[21 + i]);
}
