// SPDX-License-Identifier: MIT
// The History page of the statistics dialog with a full year of days: built, shown and painted.
#include <benchmark/benchmark.h>

#include <QComboBox>
#include <QTabWidget>

#include "dialogs/StatsDlg.h"
#include "vocab/VocFile.h"

namespace {
// What the page gets from the history queries (bench_history) for a busy learner: answers on
// every day of the year and a full list of hardest words.
THistoryPageData YearOfHistory() {
  THistoryPageData data;
  data.Today = 20'000;
  for (int32_t day = data.Today - 364; day <= data.Today; ++day) {
    data.Days.push_back({day, 900 + day % 500, 300 + day % 200, 2'700'000, day - 19'000});
  }
  data.Streak = 365;
  for (int32_t i = 0; i < 20; ++i) {
    data.Hardest.push_back({QStringLiteral("Wort%1 \u2013 word %1").arg(i), 300 - i, 200 - i, i});
  }
  return data;
}

// From the dialog's creation to its first painting, and a switch to 365 days.
void BM_HistoryPageShow(benchmark::State& state) {
  TVocabFile vocab;
  const THistoryPageData history = YearOfHistory();
  for (auto _ : state) {
    THistoryPageData data = history;
    TStatisticsDialog dialog(nullptr, vocab, &data);
    dialog.pcStatistics->setCurrentIndex(2);
    dialog.show();
    dialog.grab();
    dialog.cbHistoryPeriod->setCurrentIndex(2);
    dialog.grab();
  }
}
BENCHMARK(BM_HistoryPageShow)->Unit(benchmark::kMillisecond);
}  // namespace
