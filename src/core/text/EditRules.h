// SPDX-License-Identifier: MIT
// The notation rules an entry's texts pass before they are stored.
#pragma once

#include <cstdint>
#include <string>

// Tidy spacing, brackets that other parts of the program can read, and the "@" that marks where
// sorting starts.

constexpr char kSortMarker = '@';

// Leading blanks dropped, each run of blanks reduced to one, one trailing blank dropped. Only the
// blank (0x20) counts; tabs and other characters stay.
std::string CollapseSpaces(const std::string& text);

// Round brackets balanced and not nested; text without brackets is valid.
bool BracketsValid(const std::string& text);

// The word/phrase as the edit field shows it: the marker before character sortPos + 1 when
// sortPos > 0, when always is set or when the text holds a "@" of its own (then at the start for
// sortPos 0), so that the first "@" read back is always the marker and a stored "@" survives an
// edit. A sortPos beyond the text puts the marker at the end.
std::string InsertSortMarker(const std::string& text, int32_t sortPos, bool always);

// Takes the first marker out of text. Returns false when there is none. Otherwise sortPos is the
// number of characters before it, or 0 when it was the last character.
bool ExtractSortMarker(std::string& text, int32_t& sortPos);
