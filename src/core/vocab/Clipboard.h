// SPDX-License-Identifier: MIT
// The clipboard interface of the vocabulary and the private block format of one entry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "vocab/VocFile.h"

// The system clipboard as the vocabulary sees it: one block of bytes in the program's private
// format. The Qt layer puts it on the real clipboard; tests use a plain object.
class TClipboard {
public:
  virtual ~TClipboard() = default;
  // Replaces everything on the clipboard, other formats included, with this block.
  virtual void PutBlock(const std::string& block) = 0;
  // The block in the private format, or nothing when the clipboard holds none.
  virtual std::optional<std::string> GetBlock() const = 0;
  virtual bool HasBlock() const = 0;
};

// What one clipboard block carries: the source vocabulary's languages and one entry's sorting
// position and four texts.
struct TClipboardEntry {
  uint16_t ForeignLangID = 0;
  uint16_t NativeLangID = 0;
  int32_t SortPos = 0;
  TFieldValues Values;
};

// The block: foreign and native language ids (16-bit) and SortPos (32-bit), little-endian, then
// the four texts joined by tabs, unescaped, and a zero byte: 9 bytes + the text.
std::string EncodeClipboardBlock(const TClipboardEntry& entry);
// Reads a block from outside. False, with entry unspecified, for a block shorter than 9 bytes,
// one whose text has no terminating zero byte, or one whose text has fewer than three tabs.
// Anything after a fourth tab is ignored, and so is anything after the zero byte.
bool DecodeClipboardBlock(const std::string& block, TClipboardEntry& entry);
