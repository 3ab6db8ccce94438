// SPDX-License-Identifier: MIT
// UTF-8 at the program's edges: recognising it, and converting it to and from UTF-16.
#pragma once

#include <string>
#include <string_view>

// The byte-order mark EF BB BF that some editors put at the start of UTF-8 text.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// True when bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing above
// U+10FFFF). With cutAtEnd, a sequence that is only incomplete at the very end is accepted, as
// in a sample cut from the start of a longer file.
bool IsUtf8(std::string_view bytes, bool cutAtEnd = false);
// The bytes as UTF-16; each ill-formed part (the longest prefix of a sequence that could still
// have become valid, at least one byte) becomes U+FFFD.
std::u16string Utf8ToWide(std::string_view bytes);
// UTF-16 as UTF-8 without a byte-order mark; an unpaired surrogate becomes U+FFFD.
std::string WideToUtf8(std::u16string_view text);
// Appends the code point c as UTF-8; 0, a surrogate or a value above U+10FFFF as U+FFFD.
void AppendUtf8(std::string& out, char32_t c);
