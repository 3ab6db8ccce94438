// SPDX-License-Identifier: MIT
// Find, sort key and locale operation timings on large vocabularies.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "text/Languages.h"
#include "text/Search.h"
#include "vocab/SortKeys.h"
#include "vocab/VocFile.h"

namespace {

constexpr uint16_t kGerman = 0x0407;
constexpr uint16_t kEnglish = 0x0409;
constexpr uint16_t kGreek = 0x0408;

// Word/phrase texts of two or three syllables, some with umlauts and capitals, and English-like
// translations; the mix of a real German file.
std::string Word(std::mt19937& gen, const std::vector<std::string>& syllables) {
  std::string w;
  const int n = 2 + static_cast<int>(gen() % 3);
  for (int i = 0; i < n; ++i) w += syllables[gen() % syllables.size()];
  if (gen() % 3 == 0) w[0] = static_cast<char>(w[0] - 'a' + 'A');
  if (gen() % 4 == 0) w += " " + syllables[gen() % syllables.size()];
  return w;
}

std::unique_ptr<TVocabFile> MakeVocabulary(int32_t count, uint16_t foreign) {
  static const std::vector<std::string> german = {"haus",
                                                  "baum",
                                                  "lau",
                                                  "fen",
                                                  "schn",
                                                  "ell",
                                                  "gar",
                                                  "ten",
                                                  "k\xFC",
                                                  "che",
                                                  "st\xFC",
                                                  "ber",
                                                  "\xE4r",
                                                  "ger",
                                                  "m\xF6",
                                                  "gen",
                                                  "stra",
                                                  "\xDF"
                                                  "e",
                                                  "wald",
                                                  "weg"};
  static const std::vector<std::string> english = {"house", "tree", "run",  "fast", "gar",
                                                   "den",   "kit",  "chen", "road", "wood",
                                                   "way",   "to ",  "an",   "the "};
  // Greek with final sigma and accented vowels; capital sigma takes the full path.
  static const std::vector<std::string> greek = {"\xE1",     "\xE8\xE7", "\xED\xE1", "\xEF\xF2",
                                                 "\xF3\xE1", "\xDC",     "\xEB\xEF", "\xD3\xC1",
                                                 "\xF0\xE1", "\xF4\xE9"};
  std::mt19937 gen(42);
  auto v = std::make_unique<TVocabFile>();
  v->SetForeignLangID(foreign);
  v->SetNativeLangID(kEnglish);
  const auto& syllables = foreign == kGreek ? greek : german;
  for (int32_t i = 0; i < count; ++i) {
    TVocabItem& item = v->EditItem();
    item.Values = {Word(gen, syllables), "n", "", Word(gen, english) + ", " + Word(gen, english)};
    v->AddItem(2);
    if (i % 4096 == 0) v->ClearJournal();
  }
  v->ClearJournal();
  v->SetItemIndex(0);
  return v;
}

TVocabFile& Million(uint16_t foreign) {
  static std::unique_ptr<TVocabFile> german, greek;
  auto& slot = foreign == kGreek ? greek : german;
  if (!slot) slot = MakeVocabulary(1000000, foreign);
  return *slot;
}

// A text that occurs nowhere, so every entry is examined: the worst case of one Find.
void BM_FindMillion(benchmark::State& state) {
  TVocabFile& v = Million(kGerman);
  TSearchData s;
  s.Text = "Qu\xC4LX";
  s.Field = static_cast<uint8_t>(state.range(0));
  s.Options = static_cast<uint8_t>(state.range(1));
  for (auto _ : state) benchmark::DoNotOptimize(v.Find(s));
  state.SetLabel("field " + std::to_string(s.Field) + ", options " + std::to_string(s.Options));
}
BENCHMARK(BM_FindMillion)
    ->Args({0, 0})
    ->Args({3, 0})
    ->Args({0, sdWholeWord})
    ->Args({0, sdMatchCase | sdMatchAccents})
    ->Unit(benchmark::kMillisecond);

void BM_FindMillionGreek(benchmark::State& state) {
  TVocabFile& v = Million(kGreek);
  TSearchData s;
  s.Text = "\xF9\xF9";
  for (auto _ : state) benchmark::DoNotOptimize(v.Find(s));
}
BENCHMARK(BM_FindMillionGreek)->Unit(benchmark::kMillisecond);

// The Sort command's key step for 100,000 entries, and the sort that follows.
void BM_SortKeys100k(benchmark::State& state) {
  auto v = MakeVocabulary(100000, kGerman);
  const auto field = static_cast<uint8_t>(state.range(0));
  for (auto _ : state) FillSortKeys(*v, field);
}
BENCHMARK(BM_SortKeys100k)->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_SortCommand100k(benchmark::State& state) {
  auto v = MakeVocabulary(100000, kGerman);
  for (auto _ : state) {
    FillSortKeys(*v, 0);
    v->Sort();
    v->ClearJournal();
  }
}
BENCHMARK(BM_SortCommand100k)->Unit(benchmark::kMillisecond);

void BM_LocaleOps(benchmark::State& state) {
  const std::string text =
      "Die Stra\xDF"
      "e zum H\xC4USCHEN";
  for (auto _ : state) {
    benchmark::DoNotOptimize(LocaleLowerCase(text, kGerman));
    benchmark::DoNotOptimize(StripAccents(text, kGerman));
    benchmark::DoNotOptimize(LettersDigitsOnly(text, kGerman, false));
  }
}
BENCHMARK(BM_LocaleOps);

void BM_MakeSortKey(benchmark::State& state) {
  const std::string text =
      "der Stra\xDF"
      "enbahnhof";
  for (auto _ : state) benchmark::DoNotOptimize(MakeSortKey(text, kGerman));
}
BENCHMARK(BM_MakeSortKey);

}  // namespace

BENCHMARK_MAIN();
