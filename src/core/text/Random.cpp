// SPDX-License-Identifier: MIT
// The linear congruential generator behind shuffling, questions and choices.
#include "text/Random.h"

#include <chrono>

namespace {
uint32_t g_Seed = 0;
}

void Randomize() {
  using namespace std::chrono;
  const auto now = system_clock::now().time_since_epoch();
  const auto ms = duration_cast<milliseconds>(now).count() % (24LL * 60 * 60 * 1000);
  // ((hours * 60 + minutes) * 60 + seconds) * 1000 + milliseconds, i.e. ms since UTC midnight.
  g_Seed = static_cast<uint32_t>(ms);
}

uint32_t RandSeed() {
  return g_Seed;
}

void SetRandSeed(uint32_t seed) {
  g_Seed = seed;
}

void SkipRandom(uint64_t count) {
  // Compose the affine step seed -> a * seed + c with itself by repeated squaring.
  uint32_t mul = 1, add = 0;                    // the accumulated map
  uint32_t stepMul = 134775813u, stepAdd = 1u;  // the map of 2^k steps
  while (count > 0) {
    if (count & 1) {
      mul *= stepMul;
      add = add * stepMul + stepAdd;
    }
    stepAdd = stepAdd * stepMul + stepAdd;
    stepMul *= stepMul;
    count >>= 1;
  }
  g_Seed = g_Seed * mul + add;
}

int32_t Random(int32_t n) {
  g_Seed = g_Seed * 134775813u + 1u;
  if (n < 1) return 0;
  return static_cast<int32_t>((static_cast<uint64_t>(g_Seed) * static_cast<uint32_t>(n)) >> 32);
}
