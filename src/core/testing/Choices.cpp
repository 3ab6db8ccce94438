// SPDX-License-Identifier: MIT
// The entries offered in a multiple-choice question.
#include "testing/Choices.h"

#include <algorithm>

#include "text/Random.h"

namespace {
// Above this many entries, the choices come from entries drawn at random positions rather than
// from a shuffled copy of the whole list: the copy costs milliseconds per question at a million
// entries, the drawing microseconds.
constexpr int32_t kDrawAbove = 4096;
constexpr size_t kMaxDrawnChoices = 64;
// Draws allowed for each wanted entry; enough while one entry in about twenty is of the
// preferred kind.
constexpr size_t kDrawsPerChoice = 64;

// Fills result (holding current) up to size with distinct entries of the most preferred kind:
// current's part of speech, not yet learnt. Each set of such entries is equally likely, as when
// they are taken from a shuffled list. False, with result back to current alone, when the
// allowed draws met too few of them; the full pass then decides.
bool DrawPreferredChoices(const TItemList& items, TVocabItem* current, size_t size,
                          TVocabItemArray& result) {
  const std::string& key = current->Values[Category];
  const auto count = static_cast<int32_t>(items.size());
  for (size_t draws = kDrawsPerChoice * size; result.size() < size && draws > 0; --draws) {
    TVocabItem* e = items[static_cast<size_t>(Random(count))];
    if (e == current || e->IsLearnt() || e->Values[Category] != key) continue;
    if (std::find(result.begin(), result.end(), e) == result.end()) result.push_back(e);
  }
  if (result.size() == size) return true;
  result.resize(1);
  return false;
}
}  // namespace

void ShuffleItemArray(TVocabItemArray& items) {
  const auto n = static_cast<int32_t>(items.size());
  for (int32_t i = 0; i < n; ++i) std::swap(items[i], items[Random(n)]);
}

void TVocabFile::GetChoices(TVocabItemArray& result, int32_t n) const {
  if (m_ItemIndex < 0) RaiseError("No current item");
  if (n < 1) RaiseError("Invalid parameter.");
  TVocabItem* current = m_Items[m_ItemIndex];
  const size_t size = static_cast<size_t>(std::min(Count(), n));
  result.clear();
  result.push_back(current);
  if (Count() > kDrawAbove && size <= kMaxDrawnChoices &&
      DrawPreferredChoices(m_Items, current, size, result)) {
    ShuffleItemArray(result);
    return;
  }

  TVocabItemArray pool;
  pool.reserve(m_Items.size() - 1);
  for (TVocabItem* e : m_Items) {
    if (e != current) pool.push_back(e);
  }
  ShuffleItemArray(pool);

  result.reserve(size);
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
