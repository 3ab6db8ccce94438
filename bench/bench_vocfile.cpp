// SPDX-License-Identifier: MIT
// Load, save, question selection and undo on large vocabularies.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "text/Random.h"
#include "vocab/Recovery.h"
#include "vocab/VocFile.h"

namespace {
// Short entries like a real vocabulary: about 45 bytes per record on disk.
std::unique_ptr<TVocabFile> MakeVocabulary(int32_t count) {
  auto v = std::make_unique<TVocabFile>();
  v->SetForeignLangID(0x0407);
  v->SetNativeLangID(0x0409);
  char word[32];
  for (int32_t i = 0; i < count; ++i) {
    std::snprintf(word, sizeof word, "Wort%07d", i);
    TVocabItem& e = v->EditItem();
    e.Values = {word, "n", "", std::string("word ") + (word + 4)};
    e.LastAsked = i % 97;
    e.PenaltyPoints = i % 3;
    v->AddItem(2);
  }
  v->ClearJournal();
  return v;
}

std::string TempFile(const char* name) {
  return (std::filesystem::temp_directory_path() / name).string();
}

void BM_LoadFromFile(benchmark::State& state) {
  const auto count = static_cast<int32_t>(state.range(0));
  const std::string path = TempFile("dadezivu-bench-load.doz");
  MakeVocabulary(count)->SaveToFile(path);
  size_t heapPerEntry = 0;
  for (auto _ : state) {
    const size_t before = mallinfo2().uordblks;
    TVocabFile v;
    v.LoadFromFile(path);
    heapPerEntry = (mallinfo2().uordblks - before) / static_cast<size_t>(count);
    benchmark::DoNotOptimize(v.Count());
  }
  state.counters["bytes_per_entry"] = static_cast<double>(heapPerEntry);
  state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
  std::filesystem::remove(path);
}
BENCHMARK(BM_LoadFromFile)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);

void BM_SaveToFile(benchmark::State& state) {
  auto v = MakeVocabulary(static_cast<int32_t>(state.range(0)));
  const std::string path = TempFile("dadezivu-bench-save.doz");
  for (auto _ : state) v->SaveToFile(path);
  std::filesystem::remove(path);
}
BENCHMARK(BM_SaveToFile)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_SaveToStream(benchmark::State& state) {
  auto v = MakeVocabulary(static_cast<int32_t>(state.range(0)));
  for (auto _ : state) {
    std::ostringstream out;
    v->SaveToStream(out);
    benchmark::DoNotOptimize(out.tellp());
  }
}
BENCHMARK(BM_SaveToStream)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_SelectNextQuestion(benchmark::State& state) {
  auto v = MakeVocabulary(static_cast<int32_t>(state.range(0)));
  SetRandSeed(1);
  for (auto _ : state) benchmark::DoNotOptimize(v->SelectNextQuestion());
}
BENCHMARK(BM_SelectNextQuestion)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Right after a reset every entry ties, so the whole shuffled order is needed.
void BM_SelectNextQuestionAllTied(benchmark::State& state) {
  auto v = MakeVocabulary(static_cast<int32_t>(state.range(0)));
  v->ResetStatistics();
  SetRandSeed(1);
  for (auto _ : state) benchmark::DoNotOptimize(v->SelectNextQuestion());
}
BENCHMARK(BM_SelectNextQuestionAllTied)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);

// A test run under way: answers recorded, one entry clearly ahead.
void BM_SelectNextQuestionDuringTest(benchmark::State& state) {
  auto v = MakeVocabulary(static_cast<int32_t>(state.range(0)));
  v->ResetStatistics();
  SetRandSeed(1);
  for (int i = 0; i < 20; ++i) {
    v->SelectNextQuestion();
    v->RecordAnswer(i % 4 == 0, 3);
  }
  for (auto _ : state) benchmark::DoNotOptimize(v->SelectNextQuestion());
}
BENCHMARK(BM_SelectNextQuestionDuringTest)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Undo then redo of one recorded step; the step is made once, outside the timing.
template <typename Step>
void UndoRedo(benchmark::State& state, Step step) {
  auto v = MakeVocabulary(1'000'000);
  v->SetItemIndex(v->Count() / 2);
  step(*v);
  for (auto _ : state) {
    v->Undo();
    v->Redo();
  }
}

void BM_UndoRedoAdd(benchmark::State& state) {
  UndoRedo(state, [](TVocabFile& v) { v.AddItem(2); });
}
void BM_UndoRedoSort(benchmark::State& state) {
  UndoRedo(state, [](TVocabFile& v) {
    for (TVocabItem* e : v.Items()) e->SortKey = e->Values[3];
    v.Sort();
  });
}
void BM_UndoRedoShuffle(benchmark::State& state) {
  UndoRedo(state, [](TVocabFile& v) { v.Shuffle(); });
}
void BM_UndoRedoMove(benchmark::State& state) {
  UndoRedo(state, [](TVocabFile& v) { v.MoveCurrent(v.ItemIndex() + 1); });
}
void BM_UndoRedoDelete(benchmark::State& state) {
  UndoRedo(state, [](TVocabFile& v) { v.DeleteCurrent(); });
}
void BM_UndoRedoEdit(benchmark::State& state) {
  UndoRedo(state, [](TVocabFile& v) { v.ReplaceCurrent(); });
}
BENCHMARK(BM_UndoRedoAdd)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoRedoEdit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoRedoDelete)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoRedoMove)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoRedoSort)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoRedoShuffle)->Unit(benchmark::kMicrosecond);

void BM_Sort(benchmark::State& state) {
  auto v = MakeVocabulary(static_cast<int32_t>(state.range(0)));
  for (TVocabItem* e : v->Items()) e->SortKey = e->Values[3];
  for (auto _ : state) {
    v->Sort();
    state.PauseTiming();
    v->Undo();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Sort)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
}  // namespace

// What a recovery copy costs the program's own thread (the next question waits for this much):
// the copy in memory, its hash and the hand-over to the writer thread.
void BM_RecoveryCopyHandOver(benchmark::State& state) {
  auto v = MakeVocabulary(static_cast<int32_t>(state.range(0)));
  TRecoveryStore store(TempFile("dadezivu-bench-recovery"));
  size_t lastSize = 0;
  for (auto _ : state) {
    std::string bytes = RecoveryBytes(*v, lastSize + lastSize / 8);
    lastSize = bytes.size();
    benchmark::DoNotOptimize(std::hash<std::string>{}(bytes));
    store.Write(std::move(bytes), "words.doz");
    state.PauseTiming();
    store.Flush();
    state.ResumeTiming();
  }
  store.Remove();
}
BENCHMARK(BM_RecoveryCopyHandOver)->Arg(100'000)->Unit(benchmark::kMillisecond);

// The whole write on the writer thread: the copy beside its note, synced and renamed.
void BM_RecoveryCopyOnDisk(benchmark::State& state) {
  auto v = MakeVocabulary(static_cast<int32_t>(state.range(0)));
  TRecoveryStore store(TempFile("dadezivu-bench-recovery"));
  const std::string bytes = RecoveryBytes(*v);
  for (auto _ : state) {
    store.Write(bytes, "words.doz");
    store.Flush();
  }
  store.Remove();
}
BENCHMARK(BM_RecoveryCopyOnDisk)->Arg(100'000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
