// SPDX-License-Identifier: MIT
// Question selection and scoring: which entry is asked next and how answers change the
// statistics.
#include <algorithm>
#include <climits>
#include <numeric>
#include <vector>

#include "text/Random.h"
#include "vocab/VocFile.h"

bool TVocabFile::SelectNextQuestion() {
  const int32_t n = Count();
  if (n == 0) return false;
  // The shuffled order decides among equal scores: the first one met wins.
  std::vector<int32_t> order(n);
  std::iota(order.begin(), order.end(), 0);
  for (int32_t i = 0; i < n; ++i) std::swap(order[i], order[Random(n)]);

  // Scores in list order first, so the entries are read sequentially; then the first entry of
  // the shuffled order that holds the best score is the one a scan with "strictly greater"
  // would have kept. Skipped entries get the initial maximum, which no score can beat.
  std::vector<int32_t> score(n);
  int32_t best = INT32_MIN;
  for (int32_t i = 0; i < n; ++i) {
    const TVocabItem& e = *m_Items[i];
    if (e.PenaltyPoints < 0) {
      score[i] = INT32_MIN;
      continue;
    }
    const int32_t age = e.LastAsked > 0 ? static_cast<int32_t>(static_cast<uint32_t>(m_QuestionCount) -
                                                               static_cast<uint32_t>(e.LastAsked))
                                        : n - 1;
    // Signed 32-bit arithmetic that wraps, as the stored statistics may be anything.
    score[i] = static_cast<int32_t>(static_cast<uint32_t>(age) *
                                    (static_cast<uint32_t>(e.PenaltyPoints) + 1u));
    best = std::max(best, score[i]);
  }
  if (best == INT32_MIN) return false;
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

void TVocabFile::ResetStatistics() {
  for (TVocabItem* e : m_Items) {
    e->LastAsked = 0;
    e->PenaltyPoints = 0;
  }
  m_QuestionCount = 0;
  m_CorrectCount = 0;
  ForgetHistory();
}

int32_t TVocabFile::LearntCount() const {
  return static_cast<int32_t>(std::count_if(m_Items.begin(), m_Items.end(),
                                            [](const TVocabItem* e) { return e->IsLearnt(); }));
}
