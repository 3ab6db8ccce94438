// SPDX-License-Identifier: MIT
// Tests of the pseudo-random generator's sequence, range and skipping.
#include <gtest/gtest.h>

#include <cstdint>

#include "text/Random.h"

// A known seed gives the sequence of seed := seed * 134775813 + 1, draw = (seed * n) >> 32.
TEST(Random, KnownSeedGivesTheFormulasSequence) {
  SetRandSeed(0);
  // seed 1: (1 * 1000) >> 32 = 0
  EXPECT_EQ(Random(1000), 0);
  EXPECT_EQ(RandSeed(), 1u);
  // seed 134775814: (134775814 * 1000) >> 32 = 31
  EXPECT_EQ(Random(1000), 31);
  EXPECT_EQ(RandSeed(), 134775814u);

  uint32_t seed = 0xDEADBEEF;
  SetRandSeed(seed);
  for (int i = 0; i < 1000; ++i) {
    seed = seed * 134775813u + 1u;
    const int32_t n = 1 + i * 7919 % 100000;
    const auto expected = static_cast<int32_t>((uint64_t{seed} * static_cast<uint32_t>(n)) >> 32);
    ASSERT_EQ(Random(n), expected) << "draw " << i;
  }
}

TEST(Random, DrawsStayInRangeAndCoverIt) {
  SetRandSeed(12345);
  bool seen[7] = {};
  for (int i = 0; i < 1000; ++i) {
    const int32_t r = Random(7);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 7);
    seen[r] = true;
  }
  for (bool s : seen) EXPECT_TRUE(s);
  EXPECT_EQ(Random(1), 0);
  EXPECT_EQ(Random(0), 0);
}

TEST(Random, RandomizeSeedsFromTheTimeOfDay) {
  Randomize();
  EXPECT_LT(RandSeed(), 24u * 60 * 60 * 1000);
}

TEST(Random, SkipMovesTheSeedAsThatManyDraws) {
  for (uint64_t count : {0ull, 1ull, 2ull, 3ull, 1000ull, 1000003ull}) {
    SetRandSeed(777);
    for (uint64_t i = 0; i < count; ++i) Random(10);
    const uint32_t expected = RandSeed();
    SetRandSeed(777);
    SkipRandom(count);
    EXPECT_EQ(RandSeed(), expected) << count;
  }
}
