// SPDX-License-Identifier: MIT
// A reader for the small part of Rich Text Format that formatted tips use.
#include "text/RtfText.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "text/Languages.h"

namespace {
// Deeper groups are read as part of the deepest one kept, so a flood of "{" costs no memory.
constexpr size_t kMaxDepth = 64;
constexpr size_t kMaxWordLength = 32;
constexpr size_t kMaxDigits = 10;
constexpr uint16_t kWesternLanguage = 0x0409;  // code page 1252

struct TState {
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool Skip = false;  // inside a destination that holds no text
  int FallbackChars = 1;
};

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class TRtfReader {
public:
  explicit TRtfReader(const std::string& rtf) : m_In(rtf) {}
  std::vector<TRtfRun> Read();

private:
  void ControlWord(std::string_view word, bool hasParam, long param);
  void ControlSymbol(char c);
  void AddByte(char c);
  void AddUnit(char16_t c);
  void FlushBytes();
  // Skips up to count fallback characters after \uN: plain bytes, \'hh or one control symbol.
  void SkipFallback(int count);
  TState& Top() { return m_Stack.back(); }

  std::string_view m_In;
  size_t m_Pos = 0;
  std::vector<TState> m_Stack{TState{}};
  size_t m_ExtraDepth = 0;
  bool m_GroupStart = false;  // the last token opened a group
  std::string m_Bytes;        // Windows-1252 bytes not yet converted
  std::vector<TRtfRun> m_Runs;
};

void TRtfReader::FlushBytes() {
  if (m_Bytes.empty()) return;
  std::u16string text;
  try {
    text = AnsiToWide(m_Bytes, kWesternLanguage);
  } catch (const std::exception&) {
    for (const char c : m_Bytes) text.push_back(static_cast<unsigned char>(c));
  }
  m_Bytes.clear();
  for (const char16_t c : text) AddUnit(c);
}

void TRtfReader::AddUnit(char16_t c) {
  const TState& s = Top();
  if (m_Runs.empty() || m_Runs.back().Bold != s.Bold || m_Runs.back().Italic != s.Italic ||
      m_Runs.back().Underline != s.Underline) {
    m_Runs.push_back({{}, s.Bold, s.Italic, s.Underline});
  }
  m_Runs.back().Text.push_back(c);
}

void TRtfReader::AddByte(char c) {
  if (Top().Skip) return;
  m_Bytes.push_back(c);
}

void TRtfReader::SkipFallback(int count) {
  while (count > 0 && m_Pos < m_In.size()) {
    const char c = m_In[m_Pos];
    if (c == '{' || c == '}') return;
    if (c == '\\') {
      if (m_Pos + 1 < m_In.size() && m_In[m_Pos + 1] == '\'') {
        m_Pos += std::min<size_t>(4, m_In.size() - m_Pos);
      } else {
        return;  // a control word ends the fallback text
      }
    } else if (c == '\r' || c == '\n') {
      ++m_Pos;
      continue;
    } else {
      ++m_Pos;
    }
    --count;
  }
}

void TRtfReader::ControlWord(std::string_view word, bool hasParam, long param) {
  const bool groupStart = m_GroupStart;
  m_GroupStart = false;
  const bool on = !hasParam || param != 0;
  // Formatting changes end the bytes gathered so far.
  const auto format = [&](bool TState::*field, bool value) {
    FlushBytes();
    Top().*field = value;
  };
  if (word == "b") {
    format(&TState::Bold, on);
  } else if (word == "i") {
    format(&TState::Italic, on);
  } else if (word == "ul") {
    format(&TState::Underline, on);
  } else if (word == "ulnone") {
    format(&TState::Underline, false);
  } else if (word == "plain") {
    format(&TState::Bold, false);
    format(&TState::Italic, false);
    format(&TState::Underline, false);
  } else if (word == "par" || word == "line") {
    AddByte('\n');
  } else if (word == "tab") {
    AddByte('\t');
  } else if (word == "uc") {
    if (hasParam && param >= 0 && param <= 16) Top().FallbackChars = static_cast<int>(param);
  } else if (word == "u") {
    if (!hasParam) return;
    // Numbers beyond 16 bits stand for no character; their fallback is still skipped.
    if (!Top().Skip && param >= -32768 && param <= 65535) {
      FlushBytes();
      // A signed 16-bit value: negative numbers stand for the units above 0x7FFF.
      AddUnit(static_cast<char16_t>(static_cast<uint16_t>(param)));
    }
    SkipFallback(Top().FallbackChars);
  } else if (word == "fonttbl" || word == "colortbl" || word == "stylesheet" || word == "info" ||
             word == "pict" || (groupStart && word == "*")) {
    Top().Skip = true;
  }
}

void TRtfReader::ControlSymbol(char c) {
  const bool groupStart = m_GroupStart;
  m_GroupStart = false;
  switch (c) {
    case '\\':
    case '{':
    case '}':
      AddByte(c);
      break;
    case '~':
      AddByte('\xA0');
      break;
    case '_':
      AddByte('-');
      break;
    case '\r':
    case '\n':
      AddByte('\n');
      break;
    case '*':
      if (groupStart) Top().Skip = true;
      break;
    default:
      break;  // \- (optional hyphen) and unknown symbols show nothing
  }
}

std::vector<TRtfRun> TRtfReader::Read() {
  while (m_Pos < m_In.size()) {
    const char c = m_In[m_Pos++];
    if (c == '{') {
      FlushBytes();
      if (m_Stack.size() < kMaxDepth) {
        m_Stack.push_back(Top());
      } else {
        ++m_ExtraDepth;
      }
      m_GroupStart = true;
      continue;
    }
    if (c == '}') {
      FlushBytes();
      if (m_ExtraDepth > 0) {
        --m_ExtraDepth;
      } else if (m_Stack.size() > 1) {
        m_Stack.pop_back();
      }
      m_GroupStart = false;
      continue;
    }
    if (c == '\\') {
      if (m_Pos >= m_In.size()) break;
      const char next = m_In[m_Pos];
      if (IsLetter(next)) {
        const size_t start = m_Pos;
        while (m_Pos < m_In.size() && IsLetter(m_In[m_Pos]) && m_Pos - start < kMaxWordLength) {
          ++m_Pos;
        }
        const std::string_view word = m_In.substr(start, m_Pos - start);
        bool negative = false;
        if (m_Pos < m_In.size() && m_In[m_Pos] == '-') {
          negative = true;
          ++m_Pos;
        }
        const size_t digits = m_Pos;
        long param = 0;
        while (m_Pos < m_In.size() && m_In[m_Pos] >= '0' && m_In[m_Pos] <= '9') {
          if (m_Pos - digits < kMaxDigits) param = param * 10 + (m_In[m_Pos] - '0');
          ++m_Pos;
        }
        const bool hasParam = m_Pos > digits;
        if (negative) param = -param;
        // One blank ends a control word and belongs to it.
        if (m_Pos < m_In.size() && m_In[m_Pos] == ' ') ++m_Pos;
        ControlWord(word, hasParam, param);
      } else if (next == '\'') {
        m_GroupStart = false;
        const int high = m_Pos + 1 < m_In.size() ? HexValue(m_In[m_Pos + 1]) : -1;
        const int low = m_Pos + 2 < m_In.size() ? HexValue(m_In[m_Pos + 2]) : -1;
        if (high >= 0 && low >= 0) {
          AddByte(static_cast<char>(high * 16 + low));
          m_Pos += 3;
        } else {
          ++m_Pos;  // a broken escape shows nothing
        }
      } else {
        ++m_Pos;
        ControlSymbol(next);
      }
      continue;
    }
    m_GroupStart = false;
    // Line ends in the source are only layout; "\par" makes paragraphs.
    if (c == '\r' || c == '\n') continue;
    AddByte(c);
  }
  FlushBytes();
  return std::move(m_Runs);
}
}  // namespace

std::vector<TRtfRun> ReadRtfText(const std::string& rtf) {
  return TRtfReader(rtf).Read();
}

std::u16string RtfPlainText(const std::vector<TRtfRun>& runs) {
  std::u16string text;
  for (const TRtfRun& run : runs) text += run.Text;
  return text;
}
