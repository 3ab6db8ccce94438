// SPDX-License-Identifier: MIT
// Sort keys of entries, built before TVocabFile::Sort.
#pragma once

#include <cstdint>
#include <string>

#include "text/Languages.h"

class TVocabFile;
class TVocabItem;

// Builds the locale key of a text; MakeSortKey unless a caller (a test) gives another.
using TSortKeyFunction = std::string (*)(const std::string& text, uint16_t langId);

// The sort key of the entry at index for sorting by field (0..3; any other value counts as the
// word/phrase). The word/phrase loses its first SortPos characters. With a locale key function
// the text becomes its collation key in the field's language; without one (nullptr) it stays
// raw. Then one NUL and the index in upper-case hexadecimal, at least four digits, so that
// entries with equal texts keep their order.
std::string EntrySortKey(const TVocabItem& item, int32_t index, uint8_t field, uint16_t langId,
                         TSortKeyFunction localeKey);

// Fills every entry's SortKey for TVocabFile::Sort by field. If any locale key throws, all keys
// are built again from the raw texts (byte order, case-sensitive), and no error passes on.
void FillSortKeys(TVocabFile& vocab, uint8_t field, TSortKeyFunction localeKey = MakeSortKey);
