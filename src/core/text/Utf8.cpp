// SPDX-License-Identifier: MIT
// Checking and converting UTF-8, strictly, without depending on any locale.
#include "text/Utf8.h"

#include <cstdint>

namespace {
constexpr char32_t kReplacement = 0xFFFD;

// One sequence at pos: its length (0 when the lead byte cannot start one) and the range of its
// second byte, which rules out overlong forms, surrogates and code points above U+10FFFF.
struct TSequence {
  size_t Length;
  uint8_t Low, High;
};

TSequence SequenceOf(uint8_t lead) {
  if (lead < 0x80) return {1, 0, 0};
  if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
  if (lead == 0xE0) return {3, 0xA0, 0xBF};
  if (lead == 0xED) return {3, 0x80, 0x9F};
  if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF};
  if (lead == 0xF0) return {4, 0x90, 0xBF};
  if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
  if (lead == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

// One sequence read at a position: the bytes it takes and the code point, or U+FFFD for an
// ill-formed part; Cut when the text ended inside a sequence that was valid so far.
struct TDecoded {
  size_t Length;
  char32_t Code;
  bool Valid;
  bool Cut;
};

TDecoded DecodeOne(std::string_view bytes, size_t pos) {
  const auto lead = static_cast<uint8_t>(bytes[pos]);
  const TSequence seq = SequenceOf(lead);
  if (seq.Length == 1) return {1, lead, true, false};
  if (seq.Length == 0) return {1, kReplacement, false, false};
  char32_t value = lead & (0xFF >> (seq.Length + 1));
  for (size_t i = 1; i < seq.Length; ++i) {
    if (pos + i >= bytes.size()) return {i, kReplacement, false, true};
    const auto next = static_cast<uint8_t>(bytes[pos + i]);
    const uint8_t low = i == 1 ? seq.Low : 0x80, high = i == 1 ? seq.High : 0xBF;
    if (next < low || next > high) return {i, kReplacement, false, false};
    value = value << 6 | (next & 0x3F);
  }
  return {seq.Length, value, true, false};
}
}  // namespace

bool IsUtf8(std::string_view bytes, bool cutAtEnd) {
  for (size_t pos = 0; pos < bytes.size();) {
    const TDecoded one = DecodeOne(bytes, pos);
    if (!one.Valid) return one.Cut && cutAtEnd;
    pos += one.Length;
  }
  return true;
}

std::u16string Utf8ToWide(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  size_t pos = 0;
  while (pos < bytes.size()) {
    const TDecoded one = DecodeOne(bytes, pos);
    pos += one.Length;
    char32_t code = one.Code;
    if (code >= 0x10000) {
      code -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (code >> 10));
      out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      out += static_cast<char16_t>(code);
    }
  }
  return out;
}

std::string WideToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t code = text[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = kReplacement;
    }
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | code >> 6);
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | code >> 12);
      out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | code >> 18);
      out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}
