// SPDX-License-Identifier: MIT
// The print options and page setup records and their settings byte blocks.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Print field bits of TPrintOptions::PrintFields. The word/phrase is always printed.
constexpr uint8_t kPrintCategory = 0x02;
constexpr uint8_t kPrintNotes = 0x04;
constexpr uint8_t kPrintNative = 0x08;
constexpr uint8_t kPrintFieldsMask = kPrintCategory | kPrintNotes | kPrintNative;

// What a print run includes. Stored as 3 bytes: title, page numbers, field bits.
struct TPrintOptions {
  bool PrintTitle = true;
  bool PrintPageNumbers = true;
  uint8_t PrintFields = 0x0E;

  bool operator==(const TPrintOptions&) const = default;
};

constexpr size_t kPrintOptionsSize = 3;

// The page layout of a print run. Margins in twips (1/1440 inch). Stored as 24 bytes: the four
// margins (left, top, right, bottom) and Columns as little-endian signed 32-bit integers, the
// Separator byte and three reserved bytes, which are kept as read.
struct TPageSetup {
  int32_t MarginLeft = 1440;
  int32_t MarginTop = 1440;
  int32_t MarginRight = 1440;
  int32_t MarginBottom = 1440;
  int32_t Columns = 2;
  bool Separator = true;
  std::array<uint8_t, 3> Reserved{};

  bool operator==(const TPageSetup&) const = default;
};

constexpr size_t kPageSetupSize = 24;
// The page setup dialog accepts margins up to 99 units; in inches that is the largest value.
constexpr int32_t kMaxMargin = 99 * 1440;
constexpr int32_t kMinColumns = 1, kMaxColumns = 3;

std::string EncodePrintOptions(const TPrintOptions& options);
std::string EncodePageSetup(const TPageSetup& setup);

// Read a stored block into the record. A block longer than the record is damaged and gives the
// defaults; a shorter one is read as far as it goes, the rest of the record keeping what it held.
// Then the values are bounded: field bits without meaning are dropped, a margin outside 0 to
// kMaxMargin becomes the default margin, and a column count outside 1 to 3 becomes 1 (what the
// page setup dialog makes of it).
void DecodePrintOptions(const std::string& bytes, TPrintOptions& options);
void DecodePageSetup(const std::string& bytes, TPageSetup& setup);
