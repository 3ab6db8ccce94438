// SPDX-License-Identifier: MIT
// The German-English vocabularies the benchmarks of widgets work on.
#pragma once

#include <cstdint>
#include <memory>

#include "vocab/VocFile.h"

// What the entries of a made vocabulary look like beyond "Wort0000012" / "word number 12":
struct TBenchWords {
  bool VaryFirstLetter = false;   // words begin with every letter ("Hort0000001")
  bool LongTranslations = false;  // "word number 12, or a longer translation"
  bool Tested = false;            // nouns' articles skipped by SortPos, penalty points 0 to 2
  bool SomeLearnt = false;        // with Tested: every eleventh entry learnt
};

// count entries: every third a noun with its article, every fifth with notes; not modified,
// with an empty journal.
std::unique_ptr<TVocabFile> MakeBenchVocabulary(int32_t count, const TBenchWords& words = {});
