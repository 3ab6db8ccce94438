// SPDX-License-Identifier: MIT
// The buffered stream reader and writer behind loading and saving.
#include "vocab/StreamIO.h"

#include <cstring>
#include <ios>
#include <istream>
#include <ostream>
#include <stdexcept>

namespace {
constexpr size_t kBufferSize = 64 * 1024;
}

void RaiseReadError() {
  throw std::runtime_error("Stream read error");
}
void RaiseWriteError() {
  throw std::runtime_error("Stream write error");
}

TStreamReader::TStreamReader(std::istream& stream) : m_Stream(stream), m_Buffer(kBufferSize) {}

TStreamReader::~TStreamReader() {
  // Leave the stream positioned just after what was consumed, as field-by-field reading would.
  if (m_End > m_Pos && m_Stream.rdbuf()) {
    m_Stream.rdbuf()->pubseekoff(-static_cast<std::streamoff>(m_End - m_Pos), std::ios::cur,
                                 std::ios::in);
  }
}

bool TStreamReader::Fill() {
  std::streambuf* buf = m_Stream.rdbuf();
  if (!buf) return false;
  m_Pos = 0;
  m_End = 0;
  // A file buffer throws its own text when the read itself fails (EIO, a folder).
  std::streamsize got = 0;
  try {
    got = buf->sgetn(m_Buffer.data(), static_cast<std::streamsize>(m_Buffer.size()));
  } catch (const std::ios_base::failure&) {
    RaiseReadError();
  }
  m_End = got > 0 ? static_cast<size_t>(got) : 0;
  return m_End > 0;
}

size_t TStreamReader::ReadSome(char* data, size_t size) {
  size_t done = 0;
  while (done < size) {
    if (m_Pos == m_End && !Fill()) break;
    const size_t n = std::min(size - done, m_End - m_Pos);
    std::memcpy(data + done, m_Buffer.data() + m_Pos, n);
    m_Pos += n;
    done += n;
  }
  return done;
}

void TStreamReader::ReadBuffer(char* data, size_t size) {
  if (m_End - m_Pos >= size) {
    std::memcpy(data, m_Buffer.data() + m_Pos, size);
    m_Pos += size;
    return;
  }
  if (ReadSome(data, size) != size) RaiseReadError();
}

uint16_t TStreamReader::ReadUInt16() {
  unsigned char b[2];
  ReadBuffer(reinterpret_cast<char*>(b), 2);
  return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

int32_t TStreamReader::ReadInt32() {
  unsigned char b[4];
  ReadBuffer(reinterpret_cast<char*>(b), 4);
  return static_cast<int32_t>(static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
                              (static_cast<uint32_t>(b[2]) << 16) |
                              (static_cast<uint32_t>(b[3]) << 24));
}

void TStreamReader::ReadCountedString(std::string& target) {
  const uint16_t length = ReadUInt16();
  if (m_End - m_Pos >= length) {
    target.assign(m_Buffer.data() + m_Pos, length);
    m_Pos += length;
    return;
  }
  target.resize(length);
  ReadBuffer(target.data(), length);
}

int64_t TStreamReader::Remaining() const {
  std::streambuf* buf = m_Stream.rdbuf();
  if (!buf) return -1;
  const std::streampos here = buf->pubseekoff(0, std::ios::cur, std::ios::in);
  if (here == std::streampos(-1)) return -1;
  const std::streampos end = buf->pubseekoff(0, std::ios::end, std::ios::in);
  buf->pubseekpos(here, std::ios::in);
  if (end == std::streampos(-1)) return -1;
  return static_cast<int64_t>(end - here) + static_cast<int64_t>(m_End - m_Pos);
}

TStreamWriter::TStreamWriter(std::ostream& stream) : m_Stream(stream), m_Buffer(kBufferSize) {}

void TStreamWriter::WriteBuffer(const char* data, size_t size) {
  if (m_Buffer.size() - m_Used < size) {
    Flush();
    if (size >= m_Buffer.size()) {
      std::streambuf* buf = m_Stream.rdbuf();
      if (!buf || buf->sputn(data, static_cast<std::streamsize>(size)) !=
                      static_cast<std::streamsize>(size)) {
        RaiseWriteError();
      }
      return;
    }
  }
  std::memcpy(m_Buffer.data() + m_Used, data, size);
  m_Used += size;
}

void TStreamWriter::WriteUInt16(uint16_t value) {
  const char b[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
  WriteBuffer(b, 2);
}

void TStreamWriter::WriteInt32(int32_t value) {
  const auto u = static_cast<uint32_t>(value);
  const char b[4] = {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
                     static_cast<char>((u >> 16) & 0xFF), static_cast<char>(u >> 24)};
  WriteBuffer(b, 4);
}

void TStreamWriter::WriteCountedString(const std::string& text) {
  WriteUInt16(static_cast<uint16_t>(text.size()));
  WriteBuffer(text.data(), text.size());
}

void TStreamWriter::Flush() {
  std::streambuf* buf = m_Stream.rdbuf();
  if (!buf) RaiseWriteError();
  if (m_Used > 0) {
    if (buf->sputn(m_Buffer.data(), static_cast<std::streamsize>(m_Used)) !=
        static_cast<std::streamsize>(m_Used)) {
      m_Used = 0;
      RaiseWriteError();
    }
    m_Used = 0;
  }
  if (buf->pubsync() != 0) RaiseWriteError();
}
