// SPDX-License-Identifier: MIT
// Clipboard transfer of one entry between vocabularies.
#include "vocab/Clipboard.h"

#include <cstring>
#include <span>

#include "text/TextUtils.h"

namespace {
constexpr size_t kHeaderSize = 8;

void PutUInt16(std::string& out, size_t at, uint16_t value) {
  out[at] = static_cast<char>(value & 0xFF);
  out[at + 1] = static_cast<char>(value >> 8);
}

uint16_t GetUInt16(const std::string& in, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(in[at]) |
                               (static_cast<unsigned char>(in[at + 1]) << 8));
}

// The header, and the text up to the zero byte, of a block of at least 9 bytes.
bool ReadBlock(const std::string& block, TClipboardEntry& entry, std::string& text) {
  if (block.size() < kHeaderSize + 1) return false;
  const size_t end = block.find('\0', kHeaderSize);
  if (end == std::string::npos) return false;
  entry.ForeignLangID = GetUInt16(block, 0);
  entry.NativeLangID = GetUInt16(block, 2);
  entry.SortPos = static_cast<int32_t>(static_cast<uint32_t>(GetUInt16(block, 4)) |
                                       (static_cast<uint32_t>(GetUInt16(block, 6)) << 16));
  text.assign(block, kHeaderSize, end - kHeaderSize);
  return true;
}

// The first four tab-separated pieces, untrimmed; fewer than four make the block invalid.
bool SplitTexts(const std::string& text, TClipboardEntry& entry) {
  return SplitList(text, "\t", false, std::span<std::string>(entry.Values), false) == 4;
}
}  // namespace

std::string EncodeClipboardBlock(const TClipboardEntry& entry) {
  std::string text = entry.Values[0];
  for (int i = 1; i < 4; ++i) {
    text += '\t';
    text += entry.Values[i];
  }
  std::string block(kHeaderSize + text.size() + 1, '\0');
  PutUInt16(block, 0, entry.ForeignLangID);
  PutUInt16(block, 2, entry.NativeLangID);
  const auto sortPos = static_cast<uint32_t>(entry.SortPos);
  PutUInt16(block, 4, static_cast<uint16_t>(sortPos & 0xFFFF));
  PutUInt16(block, 6, static_cast<uint16_t>(sortPos >> 16));
  std::memcpy(block.data() + kHeaderSize, text.data(), text.size());
  return block;
}

bool DecodeClipboardBlock(const std::string& block, TClipboardEntry& entry) {
  std::string text;
  return ReadBlock(block, entry, text) && SplitTexts(text, entry);
}

void TVocabFile::CopyToClipboard(TClipboard& clipboard) const {
  const TVocabItem& item = CurrentItem();
  TClipboardEntry entry;
  entry.ForeignLangID = m_ForeignLangID;
  entry.NativeLangID = m_NativeLangID;
  entry.SortPos = item.SortPos;
  entry.Values = item.Values;
  clipboard.PutBlock(EncodeClipboardBlock(entry));
}

bool TVocabFile::CanPaste(const TClipboard& clipboard) const {
  return clipboard.HasBlock();
}

void TVocabFile::PasteFromClipboard(TClipboard& clipboard, int mode) {
  const std::optional<std::string> block = clipboard.GetBlock();
  TClipboardEntry entry;
  std::string text;
  if (!block || !ReadBlock(*block, entry, text)) RaiseError("No valid data on clipboard.");
  if (!SameLanguages(entry.ForeignLangID, entry.NativeLangID)) {
    RaiseError("Languages are different.");
  }
  if (!SplitTexts(text, entry)) RaiseError("No valid data on clipboard.");
  TVocabItem& item = *m_EditItem;
  item.Values = std::move(entry.Values);
  item.LastAsked = 0;
  item.SortPos = entry.SortPos;
  item.PenaltyPoints = 0;
  AddItem(mode);
}
