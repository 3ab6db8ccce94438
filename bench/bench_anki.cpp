// SPDX-License-Identifier: MIT
// Import of an Anki package of 100,000 notes (the newest form) into an empty vocabulary.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "AnkiPackages.h"
#include "vocab/AnkiPackage.h"
#include "vocab/VocFile.h"

namespace {
// Notes as shared decks hold them: HTML, entities, a sound, a cloze now and then, in 10 decks.
std::string Package(int notes) {
  TTestCollection c;
  c.NoteTypes = {{1, "Basic", {"Front", "Back", "Extra"}}, {2, "Cloze", {"Text", "Back Extra"}}};
  for (int64_t deck = 1; deck <= 10; ++deck)
    c.Decks.emplace_back(deck, "Deck " + std::to_string(deck));
  for (int i = 0; i < notes; ++i) {
    const std::string n = std::to_string(i);
    if (i % 10 == 0) {
      c.Notes.push_back(
          {1000000 + i, 2, {"Das {{c1::Wort" + n + "::noun}} ist gut.", "Beispiel"}, {1 + i % 10}});
    } else {
      c.Notes.push_back({1000000 + i,
                         1,
                         {"<b>Wort" + n + "</b>[sound:w" + n + ".mp3]",
                          "word&nbsp;" + n + "<br>term", "<div>Notiz &amp; mehr</div>"},
                         {1 + i % 10}});
    }
  }
  return AnkiPackageBytes(c, TAnkiForm::Anki21b);
}

void BM_ImportAnkiPackage(benchmark::State& state) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("dadezivu-bench-" + std::to_string(::getpid()) + ".apkg"))
                               .string();
  std::ofstream(path, std::ios::binary) << Package(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TVocabFile v;
    v.SetForeignLangID(0x0407);
    v.SetNativeLangID(0x0409);
    const TAnkiPackage package = ReadAnkiPackage(path);
    const TAnkiImportResult result =
        ImportAnkiNotes(v, package, {DefaultAnkiFieldMap(3), DefaultAnkiFieldMap(2)});
    if (result.Added != state.range(0)) state.SkipWithError("notes missing");
  }
  std::filesystem::remove(path);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ImportAnkiPackage)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
}  // namespace

BENCHMARK_MAIN();
