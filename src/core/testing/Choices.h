// SPDX-License-Identifier: MIT
#pragma once

#include "vocab/VocFile.h"

// Puts the array in random order: each position in turn is swapped with one drawn from the whole
// array.
void ShuffleItemArray(TVocabItemArray& items);
