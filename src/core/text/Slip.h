// SPDX-License-Identifier: MIT
// Typing slips: a typed answer one slip away from an accepted one, and the letters in which a
// typed answer differs from the closest accepted one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "text/Matching.h"

// Bytes [Begin, End) of a typed text, always whole letters.
struct TLetterSpan {
  size_t Begin = 0;
  size_t End = 0;
  bool operator==(const TLetterSpan&) const = default;
};

// The end of the letter that starts at pos: the next byte in an 8-bit code page, the end of the
// character in UTF-8. Everything here steps through letters with it, so a letter is never split.
size_t NextLetter(const std::string& text, size_t pos, uint16_t langId);

struct TSlipMatch {
  bool Accepted = false;
  std::string Corrected;           // typed with the slip undone: MatchAnswer accepts it
  std::vector<TLetterSpan> Marks;  // the slipped letters of typed, in order
};

// For a typed answer that MatchAnswer refuses under options: accepted when moAcceptSlip is set
// and changing one list item of typed by one edit (a letter inserted, deleted or replaced, or two
// neighbouring letters swapped) makes MatchAnswer accept it, or by two edits when the item and
// the text it is compared with both have 8 letters or more. Never for 3 letters or fewer on
// either side, never by an edit that touches a digit. Letters are compared as the comparison
// sees them (case, accents, punctuation and spacing after the options), each item against the
// readings of the expected items that brackets, "/" and "to " give. Bounded work for any text.
TSlipMatch MatchSlip(const std::string& expected, const std::string& typed, uint16_t langId,
                     TMatchOptions options);

// The letters of a refused typed answer that differ from the closest reading of an expected
// item, list item by list item; nothing for items that an expected item accepts. A missing
// letter marks the letter before the gap (the first letter when the gap is at the start).
std::vector<TLetterSpan> DifferingLetters(const std::string& expected, const std::string& typed,
                                          uint16_t langId, TMatchOptions options);
