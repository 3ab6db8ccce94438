// SPDX-License-Identifier: MIT
// Building every entry's sort key for one field, all or none.
#include "vocab/SortKeys.h"

#include <algorithm>
#include <cstdio>
#include <exception>

#include "vocab/VocFile.h"

std::string EntrySortKey(const TVocabItem& item, int32_t index, uint8_t field, uint16_t langId,
                         TSortKeyFunction localeKey) {
  std::string key;
  if (field == Foreign || field > Native) {
    const std::string& text = item.Values[Foreign];
    // SortPos comes from files too; keep it within the text.
    const size_t skip = static_cast<size_t>(std::clamp<int64_t>(item.SortPos, 0, text.size()));
    key = text.substr(skip);
  } else {
    key = item.Values[field];
  }
  if (localeKey != nullptr) key = localeKey(key, langId);
  char hex[16];
  const int n = std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(index));
  key += '\0';
  key.append(hex, n);
  return key;
}

void FillSortKeys(TVocabFile& vocab, uint8_t field, TSortKeyFunction localeKey) {
  const bool foreign = field == Foreign || field > Native;
  const uint16_t langId = foreign ? vocab.ForeignLangID() : vocab.NativeLangID();
  const TItemList& items = vocab.Items();
  const auto fill = [&](TSortKeyFunction keyFunction) {
    for (size_t i = 0; i < items.size(); ++i) {
      items[i]->SortKey =
          EntrySortKey(*items[i], static_cast<int32_t>(i), field, langId, keyFunction);
    }
  };
  try {
    fill(localeKey);
  } catch (const std::exception&) {
    fill(nullptr);
  }
}
