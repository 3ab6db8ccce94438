// SPDX-License-Identifier: MIT
// Question selection and scoring: which entry is asked next and how answers change the
// statistics.
#include <algorithm>
#include <climits>
#include <numeric>
#include <vector>

#include "text/Random.h"
#include "vocab/VocFile.h"

namespace {
// Swaps each position with one drawn from the whole array. The draws are made a few steps ahead
// so that the random positions can be fetched from memory while earlier swaps are done.
void ShuffleOrder(std::vector<int32_t>& order) {
  const auto n = static_cast<int32_t>(order.size());
  constexpr int32_t kAhead = 16;
  int32_t draws[kAhead];
  const int32_t first = std::min(n, kAhead);
  for (int32_t i = 0; i < first; ++i) {
    draws[i] = Random(n);
    __builtin_prefetch(&order[draws[i]], 1);
  }
  for (int32_t i = 0; i < n; ++i) {
    const int32_t j = draws[i % kAhead];
    if (i + kAhead < n) {
      const int32_t ahead = Random(n);
      draws[i % kAhead] = ahead;
      __builtin_prefetch(&order[ahead], 1);
    }
    std::swap(order[i], order[j]);
  }
}
}  // namespace

bool TVocabFile::SelectNextQuestion() {
  const int32_t n = Count();
  if (n == 0) return false;
  // Scores in list order, so the entries are read sequentially. Skipped entries get the initial
  // maximum, which no score can beat.
  std::vector<int32_t> score(n);
  int32_t best = INT32_MIN;
  int32_t bestIndex = -1;
  int32_t ties = 0;
  for (int32_t i = 0; i < n; ++i) {
    const TVocabItem& e = *m_Items[i];
    int32_t s = INT32_MIN;
    if (e.PenaltyPoints >= 0) {
      const int32_t age = e.LastAsked > 0
                              ? static_cast<int32_t>(static_cast<uint32_t>(m_QuestionCount) -
                                                     static_cast<uint32_t>(e.LastAsked))
                              : n - 1;
      // Signed 32-bit arithmetic that wraps, as stored statistics may be anything.
      s = static_cast<int32_t>(static_cast<uint32_t>(age) *
                               (static_cast<uint32_t>(e.PenaltyPoints) + 1u));
    }
    score[i] = s;
    if (s > best) {
      best = s;
      bestIndex = i;
      ties = 1;
    } else if (s == best) {
      ++ties;
    }
  }

  // The entries are visited in a shuffled order, and among equal scores the first one met wins.
  // That is the first entry of the shuffled order holding the best score. With a single best
  // entry the order decides nothing, but the generator still moves on as the shuffle would.
  if (best == INT32_MIN || ties == 1) {
    SkipRandom(static_cast<uint64_t>(n));
    if (best == INT32_MIN) return false;
    m_ItemIndex = bestIndex;
    return true;
  }
  std::vector<int32_t> order(n);
  std::iota(order.begin(), order.end(), 0);
  ShuffleOrder(order);
  for (int32_t k = 0; k < n; ++k) {
    if (score[order[k]] == best) {
      m_ItemIndex = order[k];
      return true;
    }
  }
  return false;
}

void TVocabFile::ForgetHistory() {
  ClearJournal();
  m_Modified = true;
  m_SavedPos = -1;
}

void TVocabFile::RecordAnswer(bool right, int32_t limit) {
  TVocabItem& e = CurrentItem();
  if (e.PenaltyPoints == -1 || limit < 0) RaiseError("Invalid procedure call.");
  const bool lastUnlearnt = Count() - LearntCount() == 1;
  ++m_QuestionCount;
  e.LastAsked = m_QuestionCount;
  if (limit < e.PenaltyPoints) e.PenaltyPoints = limit;
  if (right) {
    e.PenaltyPoints = lastUnlearnt ? -1 : e.PenaltyPoints - 1;
    ++m_CorrectCount;
  } else if (e.PenaltyPoints < limit) {
    ++e.PenaltyPoints;
  }
  ForgetHistory();
}

void TVocabFile::ReviseAnswer(int32_t penaltyBefore, int32_t limit) {
  TVocabItem& e = CurrentItem();
  if (e.PenaltyPoints < 0 || limit < 0 || penaltyBefore < 0 || m_QuestionCount <= 0 ||
      e.LastAsked != m_QuestionCount) {
    RaiseError("Invalid procedure call.");
  }
  // A wrong answer leaves the entry unlearnt, so it was the last unlearnt one before it exactly
  // when it is now.
  const bool lastUnlearnt = Count() - LearntCount() == 1;
  const int32_t points = std::min(penaltyBefore, limit);
  e.PenaltyPoints = lastUnlearnt ? -1 : points - 1;
  ++m_CorrectCount;
  ++m_RevisedCount;
  ForgetHistory();
}

void TVocabFile::ResetStatistics() {
  for (TVocabItem* e : m_Items) {
    e->LastAsked = 0;
    e->PenaltyPoints = 0;
  }
  m_QuestionCount = 0;
  m_CorrectCount = 0;
  m_RevisedCount = 0;
  m_SlipCount = 0;
  ForgetHistory();
}

int32_t TVocabFile::LearntCount() const {
  return static_cast<int32_t>(std::count_if(m_Items.begin(), m_Items.end(),
                                            [](const TVocabItem* e) { return e->IsLearnt(); }));
}
