// SPDX-License-Identifier: MIT
// Text import: the request of the import dialog and the detection of a file's text type.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Text types of the import, in the order of the import dialog's format list.
enum TTextType : uint8_t {
  ttCommaText = 0,
  ttTabText = 1,
  ttUnicodeCommaText = 2,
  ttUnicodeTabText = 3,
  ttUtf8CommaText = 4,
  ttUtf8TabText = 5,
};

// What the import dialog asks for and TVocabFile::ImportText takes.
struct TImportRequest {
  uint8_t TextType = ttCommaText;
  int32_t FirstLine = 1;                            // 1-based; 2 skips a heading line
  std::array<int32_t, 4> ColumnMap = {0, 0, 0, 0};  // per field the 1-based column, 0 = none
};

constexpr int kMaxImportColumns = 64;
// The largest text file an import reads. Import holds the file, its lines split into columns
// and the new entries at once; a larger file is refused with "The file <path> is larger than
// 128 MB and cannot be imported." before anything is read.
constexpr size_t kMaxImportBytes = size_t{128} << 20;
// The translations of an imported entry that has none.
constexpr const char* kMissingValue = "#Value?#";

// Guesses the text type from the first 1,024 bytes: UTF-16 when they start with a byte-order
// mark (either byte order); UTF-8 when they start with its mark, or when they hold bytes above
// 0x7F and are valid UTF-8 (a sequence cut by the end of the sample counts as valid); 8-bit
// otherwise. Tab-delimited when they hold a tab. A file that cannot be read gives ttCommaText.
uint8_t DetectTextType(const std::string& path);
