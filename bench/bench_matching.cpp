// SPDX-License-Identifier: MIT
// Answer comparison timings for short and long answers, right and wrong.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "text/Matching.h"

namespace {

constexpr uint16_t kEnglish = 0x0409;
constexpr TMatchOptions kDefaults =
    moSynonymList | kDefaultDirectionOptions | kDefaultEnglishOptions;

void Judge(benchmark::State& state, const std::string& expected, const std::string& typed) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(MatchAnswer(expected, typed, kEnglish, kDefaults));
  }
}

std::string Repeat(const std::string& unit) {
  std::string text;
  while (text.size() + unit.size() <= 255) text += unit;
  return text;
}

// Typical entries, right and wrong answers.
BENCHMARK_CAPTURE(Judge, FewWordsRight, std::string("to go home"), std::string("Go home"));
BENCHMARK_CAPTURE(Judge, FewWordsWrong, std::string("to go home"), std::string("go house"));
BENCHMARK_CAPTURE(Judge, ThreeTranslationsRight, std::string("big, large, huge"),
                  std::string("huge, big"));
BENCHMARK_CAPTURE(Judge, ThreeTranslationsWrong, std::string("big, large, huge"),
                  std::string("small"));
BENCHMARK_CAPTURE(Judge, OneBracketRight, std::string("colo(u)r"), std::string("color"));
BENCHMARK_CAPTURE(Judge, OneBracketWrong, std::string("colo(u)r"), std::string("colr"));
BENCHMARK_CAPTURE(Judge, OneSlashRight, std::string("he/she"), std::string("she"));
BENCHMARK_CAPTURE(Judge, OneSlashWrong, std::string("he/she"), std::string("it"));

// Stored texts of 255 bytes that never passed the edit dialog, against an answer that matches
// nothing, so that the whole bounded expansion runs.
std::string Groups() {
  std::string text;
  for (int i = 0; i < 85; ++i) text += std::string("(") + static_cast<char>('a' + i % 26) + ")";
  return text;
}
std::string Chain() {
  std::string text = "a";
  for (int i = 1; i < 128; ++i) text += std::string("/") + static_cast<char>('a' + i % 26);
  return text;
}

BENCHMARK_CAPTURE(Judge, AdversarialGroups, Groups(), std::string("zzz"));
BENCHMARK_CAPTURE(Judge, AdversarialFreeGroups, Repeat("(a) "), std::string("zzz"));
BENCHMARK_CAPTURE(Judge, AdversarialSlashChain, Chain(), std::string("zzz"));
BENCHMARK_CAPTURE(Judge, AdversarialSlashWords, Repeat("a/b "), std::string("zzz"));
BENCHMARK_CAPTURE(Judge, AdversarialSlashInGroups, Repeat("(ab/cd) "), std::string("zzz"));
BENCHMARK_CAPTURE(Judge, AdversarialOpenBrackets, Repeat("("), std::string("zzz"));
BENCHMARK_CAPTURE(Judge, AdversarialOddBrackets, Repeat("(()"), std::string("zzz"));
BENCHMARK_CAPTURE(Judge, AdversarialContractions, Repeat("(I'm) (can't)/"), std::string("zzz"));
BENCHMARK_CAPTURE(Judge, AdversarialList, Repeat("(a),(b)/c;"), std::string("zzz, y, x"));
BENCHMARK_CAPTURE(Judge, AdversarialLongTyped, Repeat("(a) "), std::string(255, 'a'));

}  // namespace

BENCHMARK_MAIN();
