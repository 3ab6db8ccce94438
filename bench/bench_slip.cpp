// SPDX-License-Identifier: MIT
// The slip rule and the marked differences for typical answers and for 255-byte texts.
#include <benchmark/benchmark.h>

#include <string>

#include "text/Slip.h"

namespace {

constexpr uint16_t kEnglish = 0x0409;
constexpr TMatchOptions kOptions =
    moSynonymList | kDefaultDirectionOptions | kDefaultEnglishOptions | moAcceptSlip;

void Slip(benchmark::State& state, const std::string& expected, const std::string& typed) {
  for (auto _ : state) benchmark::DoNotOptimize(MatchSlip(expected, typed, kEnglish, kOptions));
}

void Marks(benchmark::State& state, const std::string& expected, const std::string& typed) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(DifferingLetters(expected, typed, kEnglish, kOptions));
  }
}

std::string Repeat(const std::string& unit) {
  std::string text;
  while (text.size() + unit.size() <= 255) text += unit;
  return text;
}

// A 255-byte text with one letter changed in the middle.
std::string Slipped(std::string text) {
  text[text.size() / 2] = text[text.size() / 2] == 'q' ? 'r' : 'q';
  return text;
}

// Typical answers: a slip, an answer with nothing in common, a list, the notation.
BENCHMARK_CAPTURE(Slip, OneWordSlip, std::string("house"), std::string("hause"));
BENCHMARK_CAPTURE(Slip, OneWordWrong, std::string("house"), std::string("garden"));
BENCHMARK_CAPTURE(Slip, ListSlip, std::string("big, large, enormous"), std::string("enormus, big"));
BENCHMARK_CAPTURE(Slip, NotationSlip, std::string("to go (home)/away"), std::string("go hume"));
BENCHMARK_CAPTURE(Marks, OneWordWrong, std::string("house"), std::string("hxusx"));
BENCHMARK_CAPTURE(Marks, ListWrong, std::string("big, large, enormous"), std::string("bug, lerge"));

// 255-byte texts: long plain text, many list items, and notation that multiplies readings.
BENCHMARK_CAPTURE(Slip, LongText, Repeat("abcdefghij "), Slipped(Repeat("abcdefghij ")));
BENCHMARK_CAPTURE(Slip, LongList, Repeat("abcdefghijklmno, "),
                  Slipped(Repeat("abcdefghijklmno, ")));
BENCHMARK_CAPTURE(Slip, LongGroups, Repeat("(ab/cd) "), Slipped(Repeat("abcd ")));
BENCHMARK_CAPTURE(Slip, LongSlashWords, Repeat("a/b "), Slipped(Repeat("a ")));
BENCHMARK_CAPTURE(Slip, LongAgainstGroups, Repeat("(a) "), std::string(255, 'a'));
BENCHMARK_CAPTURE(Slip, ManyUnmatchedItems, Repeat("(x)(y)/z, "), Repeat("qwer, "));
BENCHMARK_CAPTURE(Slip, HeavyItemManyTyped, Repeat("(ab/cd) "), Repeat("qwer, "));
BENCHMARK_CAPTURE(Slip, HeavyItemSlipped, Repeat("(ab) "), Slipped(Repeat("ab ")));
BENCHMARK_CAPTURE(Marks, LongText, Repeat("abcdefghij "), Repeat("jihgfedcba "));
BENCHMARK_CAPTURE(Marks, LongGroups, Repeat("(ab/cd) "), Repeat("xyzw "));

}  // namespace

BENCHMARK_MAIN();
