// SPDX-License-Identifier: MIT
// The study history at 1,000,000 answers: recording one, the History page's queries, the size.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "history/History.h"

namespace fs = std::filesystem;

namespace {
constexpr int kAnswers = 1'000'000;
constexpr int kDays = 730;
constexpr int kEntries = 5'000;
constexpr int32_t kToday = 20'000;
const std::string kFile = "/home/user/German-English.doz";

std::string DatabasePath() {
  return (fs::temp_directory_path() / "dadezivu-bench-history.sqlite").string();
}

THistoryAnswer Answer(int n) {
  THistoryAnswer a;
  a.Vocabulary = kFile;
  char word[32];
  std::snprintf(word, sizeof word, "Wort%05d", n % kEntries);
  a.Foreign = word;
  a.Native = std::string("word ") + (word + 4);
  a.Entry = HistoryEntryKey(a.Foreign, a.Native);
  a.Day = kToday - kDays + 1 + static_cast<int32_t>(int64_t(n) * kDays / kAnswers);
  a.Time = int64_t(a.Day) * 86400 + 36000 + n % 30000;
  a.Right = n % 7 < 5 - (n % kEntries) % 3;
  a.AnswerMs = 2000 + n % 5000;
  a.LearntCount = n / 500;
  return a;
}

// The database with 1,000,000 answers over two years for one file; made once per run.
const std::string& Database() {
  static const std::string path = [] {
    const std::string p = DatabasePath();
    for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(p + suffix);
    THistoryStore store(p);
    for (int n = 0; n < kAnswers; ++n) {
      store.Record(Answer(n), false);
      if (store.Pending() == THistoryStore::kMaxPending) store.Flush();
    }
    store.Flush();
    return p;
  }();
  return path;
}

double Median(std::vector<double> values) {
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

// One answer recorded as the test run does: written and committed at once.
void BM_HistoryRecord(benchmark::State& state) {
  THistoryStore store(Database());
  int n = kAnswers;
  std::vector<double> ms;
  for (auto _ : state) {
    const THistoryAnswer answer = Answer(n++);
    const auto start = std::chrono::steady_clock::now();
    store.Record(answer);
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count());
  }
  state.counters["median_ms"] = Median(ms);
  state.counters["pending"] = static_cast<double>(store.Pending());
}
BENCHMARK(BM_HistoryRecord)->Iterations(2000)->Unit(benchmark::kMicrosecond);

// What the History page reads: a year of days, the streak, the 20 hardest entries.
void BM_HistoryPageQueries(benchmark::State& state) {
  const std::string& path = Database();
  for (auto _ : state) {
    THistoryStore store(path);
    const auto days = store.Days(kFile, kToday - 364, kToday);
    const int32_t streak = store.Streak(kFile, kToday);
    const auto hardest = store.Hardest(kFile, 3, 20, [](uint64_t) { return true; });
    benchmark::DoNotOptimize(days.size() + hardest.size() + size_t(streak));
  }
}
BENCHMARK(BM_HistoryPageQueries)->Unit(benchmark::kMillisecond);

// The database's size per answer, with the log written into it.
void BM_HistorySize(benchmark::State& state) {
  const std::string& path = Database();
  // The last connection to close wrote the log into the database.
  for (auto _ : state) benchmark::DoNotOptimize(fs::file_size(path));
  std::error_code error;
  const auto wal = fs::file_size(path + "-wal", error);
  state.counters["bytes_per_answer"] =
      static_cast<double>(fs::file_size(path) + (error ? 0 : wal)) / kAnswers;
}
BENCHMARK(BM_HistorySize)->Iterations(1)->Unit(benchmark::kMillisecond);
}  // namespace

BENCHMARK_MAIN();
