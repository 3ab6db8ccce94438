// SPDX-License-Identifier: MIT
// The German-English vocabularies the benchmarks of widgets work on.
#include "BenchVocab.h"

#include <cstdio>

std::unique_ptr<TVocabFile> MakeBenchVocabulary(int32_t count, const TBenchWords& words) {
  auto v = std::make_unique<TVocabFile>();
  v->SetForeignLangID(0x0407);
  v->SetNativeLangID(0x0409);
  char word[48];
  char native[64];
  for (int32_t i = 0; i < count; ++i) {
    const char first = words.VaryFirstLetter ? static_cast<char>('A' + (i * 7) % 26) : 'W';
    const bool noun = i % 3 == 0;
    std::snprintf(word, sizeof word, "%s%cort%07d", noun ? "der " : "", first, i);
    std::snprintf(
        native, sizeof native,
        words.LongTranslations ? "word number %d, or a longer translation" : "word number %d", i);
    TVocabItem& e = v->EditItem();
    e.Values = {word, noun ? "n" : "v", i % 5 == 0 ? "pl. -e" : "", native};
    if (words.Tested) {
      e.SortPos = noun ? 4 : 0;
      e.PenaltyPoints = words.SomeLearnt && i % 11 == 0 ? -1 : i % 3;
    }
    v->AddItem(2);
  }
  v->ClearJournal();
  v->SetModified(false);
  return v;
}
