// SPDX-License-Identifier: MIT
// The program's one pseudo-random generator, shared by shuffling, questions and multiple choice.
#pragma once

#include <cstdint>

// A linear congruential generator, so that a known seed gives a known sequence.

// Seeds the generator from the current UTC time of day, in milliseconds since midnight.
void Randomize();

uint32_t RandSeed();
void SetRandSeed(uint32_t seed);

// Advances the seed as count draws would, in O(log count) steps.
void SkipRandom(uint64_t count);

// Advances the seed and returns a uniformly distributed number in [0, n); 0 when n < 1.
int32_t Random(int32_t n);
