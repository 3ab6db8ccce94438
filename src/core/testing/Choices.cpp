// SPDX-License-Identifier: MIT
// The entries offered in a multiple-choice question.
#include "testing/Choices.h"

#include "text/Random.h"

void ShuffleItemArray(TVocabItemArray& items) {
  const auto n = static_cast<int32_t>(items.size());
  for (int32_t i = 0; i < n; ++i) std::swap(items[i], items[Random(n)]);
}

void TVocabFile::GetChoices(TVocabItemArray& result, int32_t n) const {
  if (m_ItemIndex < 0) RaiseError("No current item");
  if (n < 1) RaiseError("Invalid parameter.");
  TVocabItem* current = m_Items[m_ItemIndex];
  TVocabItemArray pool;
  pool.reserve(m_Items.size() - 1);
  for (TVocabItem* e : m_Items) {
    if (e != current) pool.push_back(e);
  }
  ShuffleItemArray(pool);

  const size_t size = static_cast<size_t>(std::min(Count(), n));
  result.clear();
  result.reserve(size);
  result.push_back(current);
  const std::string& key = current->Values[Category];
  // Same part of speech before other ones; within each, entries still being learnt first.
  for (const bool sameCategory : {true, false}) {
    for (const bool learnt : {false, true}) {
      for (TVocabItem* e : pool) {
        if (result.size() == size) break;
        if ((e->Values[Category] == key) == sameCategory && e->IsLearnt() == learnt) {
          result.push_back(e);
        }
      }
    }
  }
  ShuffleItemArray(result);
}
