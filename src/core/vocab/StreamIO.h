// SPDX-License-Identifier: MIT
// Buffered little-endian reading and writing for the file format.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

// Buffered little-endian reading and writing over a stream buffer. Loading and saving go through
// these instead of istream::read/ostream::write per field, which is what keeps a million-entry
// file fast.

class TStreamReader {
public:
  explicit TStreamReader(std::istream& stream);
  // Hands unread buffered bytes back to the stream where it can take them.
  ~TStreamReader();
  TStreamReader(const TStreamReader&) = delete;
  TStreamReader& operator=(const TStreamReader&) = delete;

  // Reads up to size bytes; returns how many were read (fewer only at the end of the stream).
  size_t ReadSome(char* data, size_t size);
  // Reads exactly size bytes or raises "Stream read error".
  void ReadBuffer(char* data, size_t size);
  uint16_t ReadUInt16();
  int32_t ReadInt32();
  // A 16-bit length followed by that many bytes.
  void ReadCountedString(std::string& target);
  // Bytes left in the stream, or -1 when the stream cannot tell.
  int64_t Remaining() const;

private:
  bool Fill();

  std::istream& m_Stream;
  std::vector<char> m_Buffer;
  size_t m_Pos = 0;
  size_t m_End = 0;
};

class TStreamWriter {
public:
  explicit TStreamWriter(std::ostream& stream);
  TStreamWriter(const TStreamWriter&) = delete;
  TStreamWriter& operator=(const TStreamWriter&) = delete;

  void WriteBuffer(const char* data, size_t size);
  void WriteUInt16(uint16_t value);
  void WriteInt32(int32_t value);
  // Callers make sure the text fits the 16-bit length.
  void WriteCountedString(const std::string& text);
  // Writes out the buffer and the stream; raises "Stream write error" on failure.
  void Flush();

private:
  std::ostream& m_Stream;
  std::vector<char> m_Buffer;
  size_t m_Used = 0;
};

[[noreturn]] void RaiseReadError();
[[noreturn]] void RaiseWriteError();
