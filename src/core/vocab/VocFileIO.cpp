// SPDX-License-Identifier: MIT
// The doz file format: signature, languages, counters, eight properties, then the entries.
#include <algorithm>
#include <cstring>
#include <fstream>
#include <istream>
#include <ostream>

#include "vocab/FileUtils.h"
#include "vocab/StreamIO.h"
#include "vocab/VocFile.h"

namespace {
constexpr char kSignature[13] = {12, 'D', 'a', 'd', 'e', 'z', 'i', 'v', 'u', ' ', '2', '.', '3'};
constexpr size_t kMaxStringLength = 0xFFFF;
// Four empty strings and three numbers: the smallest entry record.
constexpr int64_t kMinEntryRecordSize = 20;
// Without a known stream size, grow the list as entries arrive rather than trust the count.
constexpr int32_t kUnknownSizeReserve = 1 << 16;

}  // namespace

void TVocabItem::Read(TStreamReader& reader) {
  for (auto& value : Values) reader.ReadCountedString(value);
  LastAsked = reader.ReadInt32();
  SortPos = reader.ReadInt32();
  PenaltyPoints = reader.ReadInt32();
}

void TVocabItem::Write(TStreamWriter& writer) const {
  for (const auto& value : Values) writer.WriteCountedString(value);
  writer.WriteInt32(LastAsked);
  writer.WriteInt32(SortPos);
  writer.WriteInt32(PenaltyPoints);
}

void TVocabItem::LoadFromStream(std::istream& stream) {
  TStreamReader reader(stream);
  Read(reader);
}

void TVocabItem::SaveToStream(std::ostream& stream) const {
  for (const auto& value : Values) {
    if (value.size() > kMaxStringLength) {
      throw EVocabFileError("A text of more than 65,535 bytes cannot be saved.");
    }
  }
  TStreamWriter writer(stream);
  Write(writer);
  writer.Flush();
}

void TVocabFile::CheckSavable() const {
  for (int i = 0; i <= kMaxPropertyIndex; ++i) {
    if (m_Properties[i].size() > kMaxStringLength) {
      RaiseError("The file property " + std::to_string(i + 1) +
                 " is longer than 65,535 bytes and cannot be saved.");
    }
  }
  for (int32_t i = 0; i < Count(); ++i) {
    for (const auto& value : m_Items[i]->Values) {
      if (value.size() > kMaxStringLength) {
        RaiseError("Entry " + std::to_string(i + 1) +
                   " has a text longer than 65,535 bytes and cannot be saved.");
      }
    }
  }
}

void TVocabFile::WriteTo(TStreamWriter& writer) const {
  writer.WriteBuffer(kSignature, sizeof kSignature);
  writer.WriteUInt16(m_ForeignLangID);
  writer.WriteUInt16(m_NativeLangID);
  writer.WriteInt32(m_QuestionCount);
  writer.WriteInt32(m_CorrectCount);
  for (const auto& property : m_Properties) writer.WriteCountedString(property);
  writer.WriteInt32(Count());
  for (const TVocabItem* item : m_Items) item->Write(writer);
  writer.Flush();
}

void TVocabFile::MarkSaved() {
  m_Modified = false;
  m_SavedPos = m_JournalPos;
}

void TVocabFile::SaveToStream(std::ostream& stream) {
  CheckSavable();
  TStreamWriter writer(stream);
  WriteTo(writer);
  MarkSaved();
}

void TVocabFile::WriteCopyTo(std::ostream& stream) const {
  CheckSavable();
  TStreamWriter writer(stream);
  WriteTo(writer);
}

void TVocabFile::SaveToFile(const std::string& path) {
  CheckSavable();
  WriteFileReplacing(path, [this](std::ostream& out) {
    TStreamWriter writer(out);
    WriteTo(writer);
  });
  MarkSaved();
  m_FileName = path;
}

void TVocabFile::LoadFromFile(const std::string& path) {
  CheckRegularFile(path);
  std::ifstream in(path, std::ios::binary);
  if (!in) RaiseCannotOpen(path);
  LoadFromStream(in);
  m_FileName = path;
}

void TVocabFile::LoadFromStream(std::istream& stream) {
  Clear();
  try {
    TStreamReader reader(stream);
    char signature[sizeof kSignature];
    if (reader.ReadSome(signature, sizeof signature) != sizeof signature ||
        std::memcmp(signature, kSignature, sizeof signature) != 0) {
      RaiseError("Invalid file format.");
    }
    m_ForeignLangID = reader.ReadUInt16();
    m_NativeLangID = reader.ReadUInt16();
    m_QuestionCount = reader.ReadInt32();
    m_CorrectCount = reader.ReadInt32();
    for (auto& property : m_Properties) reader.ReadCountedString(property);

    const int32_t count = reader.ReadInt32();
    if (count < 0 || count > kMaxListCapacity) {
      throw std::runtime_error("List capacity out of bounds (" + std::to_string(count) + ")");
    }
    // A damaged count must not make us reserve memory the stream could never fill.
    const int64_t remaining = reader.Remaining();
    const int64_t possible = remaining < 0 ? kUnknownSizeReserve : remaining / kMinEntryRecordSize;
    const auto reserve = static_cast<size_t>(std::min<int64_t>(count, possible));
    m_Items.reserve(reserve);
    m_Store.reserve(reserve);
    for (int32_t i = 0; i < count; ++i) {
      auto item = std::make_unique<TVocabItem>();
      item->Read(reader);
      // Should the push fail, the store already owns the entry and Clear frees it.
      m_Items.push_back(Adopt(item));
    }
  } catch (...) {
    Clear();
    throw;
  }
}
