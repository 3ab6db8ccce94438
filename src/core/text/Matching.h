// SPDX-License-Identifier: MIT
// Comparison of a typed answer with an entry's stored text and its notation.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// The stored text may use a small notation that only this comparison interprets: lists separated by
// "," or ";", optional parts in round brackets, alternatives joined by "/" and a leading "to " on
// verbs. The typed text is never parsed for notation.

// A 16-bit set of option bits. The values are stored in the settings as they are.
using TMatchOptions = uint16_t;

constexpr TMatchOptions moSynonymList = 0x0001;        // split both texts into lists
constexpr TMatchOptions moAnyCorrect = 0x0002;         // a subset of the expected parts will do
constexpr TMatchOptions moAnyOrder = 0x0004;           // the typed parts in any order
constexpr TMatchOptions moOptionalBrackets = 0x0008;   // "(...)" may be kept or left out
constexpr TMatchOptions moSlashAlternatives = 0x0010;  // "a/b" accepts a, b, a/b and b/a
constexpr TMatchOptions moIgnoreCase = 0x0020;
constexpr TMatchOptions moIgnorePunctuation = 0x0040;
constexpr TMatchOptions moIgnoreSpacing = 0x0080;
constexpr TMatchOptions moContractions = 0x0100;  // English only: "I'm" = "I am"
constexpr TMatchOptions moOmitTo = 0x0200;        // English only: "to go" = "go"
constexpr TMatchOptions moIzIs = 0x0400;          // English only: "-ize" = "-ise"
// For keyboards that lack an accent: "é" = "e". Off in the defaults, so stored option words keep
// their meaning.
constexpr TMatchOptions moIgnoreAccents = 0x0800;
// One typing slip in an answer is forgiven (see Slip.h); the comparison itself ignores the bit.
// Off in the defaults too.
constexpr TMatchOptions moAcceptSlip = 0x1000;

// The bits that take effect only when the answer's language is English.
constexpr TMatchOptions kEnglishMatchOptions = moContractions | moOmitTo | moIzIs;
// The option words used when none are stored: every item of each options list checked.
constexpr TMatchOptions kDefaultDirectionOptions = 0x00FE;
constexpr TMatchOptions kDefaultEnglishOptions = 0x0700;
// The bit of each item of the two direction lists and of the English list, in item order.
constexpr std::array<TMatchOptions, 9> kDirectionOptionItems = {
    moIgnoreCase, moIgnorePunctuation, moIgnoreSpacing, moOptionalBrackets, moSlashAlternatives,
    moAnyOrder,   moAnyCorrect,        moIgnoreAccents, moAcceptSlip};
constexpr std::array<TMatchOptions, 3> kEnglishOptionItems = {moContractions, moOmitTo, moIzIs};

// Notes are compared as plain text: only case, punctuation and spacing are forgiven.
constexpr TMatchOptions kNotesMatchOptions = moIgnoreCase | moIgnorePunctuation | moIgnoreSpacing;

// True when typed is an acceptable answer for expected under options, in the language langId
// (its locale classifies letters and lower-cases). Identical texts always match. The English
// bits are ignored for any other language. A pure function: it keeps no state between calls,
// raises nothing, and its work is bounded for any stored text (see Matching.cpp).
bool MatchAnswer(const std::string& expected, const std::string& typed, uint16_t langId,
                 TMatchOptions options);

// Each rule of the contraction table applied in turn, every occurrence, ignoring case.
std::string ExpandContractions(const std::string& text);
