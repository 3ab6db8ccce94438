// SPDX-License-Identifier: MIT
// The same operations on 100,000 German and 100,000 Japanese entries: load, save, sort, search
// and answer comparison, so that UTF-8 text can be held against the 8-bit code pages.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "text/Languages.h"
#include "text/Matching.h"
#include "text/Search.h"
#include "vocab/SortKeys.h"
#include "vocab/VocFile.h"

namespace {

constexpr uint16_t kGerman = 0x0407, kJapanese = 0x0411, kEnglish = 0x0409;
constexpr int32_t kCount = 100'000;

// Two to four syllables of the language, some words in two parts: German with umlauts and
// capitals, Japanese in kana and kanji as written.
std::string Word(std::mt19937& gen, uint16_t lang) {
  static const std::vector<std::string> german = {
      "haus",   "baum", "lau",   "fen", "schn",  "ell", "gar",  "ten",  "k\xFC", "che",
      "st\xFC", "ber",  "\xE4r", "ger", "m\xF6", "gen", "stra", "wald", "weg",   "Tisch"};
  static const std::vector<std::string> japanese = {
      "ねこ", "いぬ", "がっ", "こう", "べん", "きょう", "する", "勉", "強",   "学",
      "校",   "電",   "車",   "カメ", "ラ",   "食べ",   "る",   "新", "しい", "時間"};
  const auto& syllables = lang == kJapanese ? japanese : german;
  std::string w;
  const int n = 2 + static_cast<int>(gen() % 3);
  for (int i = 0; i < n; ++i) w += syllables[gen() % syllables.size()];
  if (gen() % 4 == 0) w += " " + syllables[gen() % syllables.size()];
  return w;
}

std::unique_ptr<TVocabFile> MakeVocabulary(uint16_t foreign) {
  std::mt19937 gen(42);
  auto v = std::make_unique<TVocabFile>();
  v->SetForeignLangID(foreign);
  v->SetNativeLangID(kEnglish);
  for (int32_t i = 0; i < kCount; ++i) {
    TVocabItem& item = v->EditItem();
    item.Values = {Word(gen, foreign), "n", "", "word number " + std::to_string(i)};
    v->AddItem(2);
    if (i % 4096 == 0) v->ClearJournal();
  }
  v->ClearJournal();
  v->SetItemIndex(0);
  return v;
}

TVocabFile& Vocabulary(uint16_t lang) {
  static std::unique_ptr<TVocabFile> german, japanese;
  auto& slot = lang == kJapanese ? japanese : german;
  if (!slot) slot = MakeVocabulary(lang);
  return *slot;
}

std::string TempFile() {
  return (std::filesystem::temp_directory_path() / "dadezivu-bench-scripts.doz").string();
}

void Label(benchmark::State& state, uint16_t lang) {
  state.SetLabel(lang == kJapanese ? "Japanese" : "German");
}

void BM_Load(benchmark::State& state) {
  const auto lang = static_cast<uint16_t>(state.range(0));
  const std::string path = TempFile();
  Vocabulary(lang).SaveToFile(path);
  for (auto _ : state) {
    TVocabFile v;
    v.LoadFromFile(path);
    benchmark::DoNotOptimize(v.Count());
  }
  std::filesystem::remove(path);
  Label(state, lang);
}

void BM_Save(benchmark::State& state) {
  const auto lang = static_cast<uint16_t>(state.range(0));
  const std::string path = TempFile();
  for (auto _ : state) Vocabulary(lang).SaveToFile(path);
  std::filesystem::remove(path);
  Label(state, lang);
}

// The Sort command: the collation keys of every word, then the sort.
void BM_Sort(benchmark::State& state) {
  const auto lang = static_cast<uint16_t>(state.range(0));
  auto v = MakeVocabulary(lang);
  for (auto _ : state) {
    FillSortKeys(*v, 0);
    v->Sort();
    v->ClearJournal();
  }
  Label(state, lang);
}

// A text that occurs nowhere, so every entry is examined, case and accents ignored.
void BM_Search(benchmark::State& state) {
  const auto lang = static_cast<uint16_t>(state.range(0));
  TVocabFile& v = Vocabulary(lang);
  TSearchData s;
  s.Text = lang == kJapanese ? "ぬぬぬ" : "Qu\xC4LX";
  for (auto _ : state) benchmark::DoNotOptimize(v.Find(s));
  Label(state, lang);
}

// Judging a typed answer against every word of the vocabulary once, with the default options.
void BM_MatchAnswer(benchmark::State& state) {
  const auto lang = static_cast<uint16_t>(state.range(0));
  TVocabFile& v = Vocabulary(lang);
  const TMatchOptions options = moSynonymList | kDefaultDirectionOptions;
  const std::string typed = lang == kJapanese ? "がっこう" : "Garten";
  for (auto _ : state) {
    int right = 0;
    for (const TVocabItem* item : v.Items()) {
      right += MatchAnswer(item->Values[0], typed, lang, options);
    }
    benchmark::DoNotOptimize(right);
  }
  Label(state, lang);
}

BENCHMARK(BM_Load)->Arg(kGerman)->Arg(kJapanese)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(kGerman)->Arg(kJapanese)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort)->Arg(kGerman)->Arg(kJapanese)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search)->Arg(kGerman)->Arg(kJapanese)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatchAnswer)->Arg(kGerman)->Arg(kJapanese)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
