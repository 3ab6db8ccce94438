// SPDX-License-Identifier: MIT
// Shared test builders: sample vocabularies, entries, saved bytes and hex dumps.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "vocab/VocFile.h"

// Expects statement to throw a std::exception whose what() is exactly message.
#define EXPECT_THROW_MSG(statement, message)                                 \
  do {                                                                       \
    try {                                                                    \
      statement;                                                             \
      ADD_FAILURE() << "expected \"" << (message) << "\" from " #statement;  \
    } catch (const std::exception& e_) {                                     \
      EXPECT_EQ(std::string(e_.what()), std::string(message)) << #statement; \
    }                                                                        \
  } while (false)

struct TEntry {
  std::string Foreign;
  std::string Category = {};
  std::string Notes = {};
  std::string Native = {};
};

// Appends an entry through the edit buffer, as the add command does.
void AddEntry(TVocabFile& v, const TEntry& e, int mode = 2);
// A German-English vocabulary as just opened (saved, no journal), the current entry at 0.
std::unique_ptr<TVocabFile> SampleVocabulary(std::initializer_list<TEntry> entries = {});
// The entries' word/phrase texts in list order, joined by spaces.
std::string Words(const TVocabFile& v);
std::string SavedBytes(TVocabFile& v);
// Hex dump "0c 44 61 ..." for readable byte comparisons.
std::string Hex(const std::string& bytes);
