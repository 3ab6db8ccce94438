// SPDX-License-Identifier: MIT
// TVocabFile::Find: the next entry that matches a search request.
#include "text/Search.h"
#include "vocab/VocFile.h"

int32_t TVocabFile::Find(const TSearchData& search) const {
  const int32_t count = Count();
  if (search.Field > Native || count == 0) return -1;
  if (search.Text.empty() && search.Mode != smWholeField) return -1;
  const uint16_t langId = search.Field == Foreign ? m_ForeignLangID : m_NativeLangID;
  TSearchMatcher matcher(search.Text, langId, search.Options, search.Mode);
  // From the entry after the current one round to the current one itself, which comes last;
  // without a current entry (-1) that is every entry once from the first.
  int32_t i = m_ItemIndex;
  for (int32_t examined = 0; examined < count; ++examined) {
    i = i + 1 == count ? 0 : i + 1;
    if (matcher.Matches(m_Items[i]->Values[search.Field])) return i;
  }
  return -1;
}
