// SPDX-License-Identifier: MIT
// Shuffling of the entries offered in a multiple-choice question.
#pragma once

#include "vocab/VocFile.h"

// Puts the array in random order: each position in turn is swapped with one drawn from the whole
// array.
void ShuffleItemArray(TVocabItemArray& items);
