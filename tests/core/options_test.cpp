// SPDX-License-Identifier: MIT
// Tests of the program options byte codec and its bounds.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "testing/Options.h"

namespace {

void PutLE(std::string& bytes, size_t at, uint32_t v, int width) {
  for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// The defaults written out by hand from the stored layout, independent of the encoder.
std::string DefaultBlock() {
  std::string b(236, '\0');
  b[1] = 1;
  PutLE(b, 8, 0x808080, 4);
  b[196] = 1;
  PutLE(b, 200, 4, 4);
  PutLE(b, 204, 0x00FE, 2);
  PutLE(b, 206, 0x00FE, 2);
  PutLE(b, 208, 0x0700, 2);
  PutLE(b, 212, 0x0000FF, 4);
  PutLE(b, 216, 0xFF0000, 4);
  PutLE(b, 228, 3, 4);
  return b;
}

// The positions where two blocks of equal size differ.
std::set<size_t> Diff(const std::string& a, const std::string& b) {
  std::set<size_t> out;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) out.insert(i);
  return out;
}

std::set<size_t> Span(size_t at, size_t width) {
  std::set<size_t> out;
  for (size_t i = 0; i < width; ++i) out.insert(at + i);
  return out;
}

}  // namespace

TEST(ProgramOptions, DefaultsEncodeToTheDefaultBlock) {
  const TProgramOptions defaults;
  EXPECT_EQ(Hex(EncodeProgramOptions(defaults)), Hex(DefaultBlock()));
}

// Each field lands on its own bytes and nowhere else.
TEST(ProgramOptions, EveryFieldHasItsOffset) {
  struct TCase {
    const char* field;
    std::function<void(TProgramOptions&)> change;
    std::set<size_t> bytes;
  };
  const std::vector<TCase> cases = {
      {"AppendNewWords", [](auto& o) { o.AppendNewWords = true; }, {0}},
      {"ConfirmDuplicates", [](auto& o) { o.ConfirmDuplicates = false; }, {1}},
      {"ConfirmNoSort", [](auto& o) { o.ConfirmNoSort = true; }, {2}},
      {"ConfirmNoCategory", [](auto& o) { o.ConfirmNoCategory = true; }, {3}},
      {"SkipNotes", [](auto& o) { o.SkipNotes = true; }, {4}},
      {"LearntColour", [](auto& o) { o.LearntColour = 0x7F7E7D; }, Span(8, 3)},
      {"ShortcutChars[0]",
       [](auto& o) {
         o.ShortcutChars[0] = {0xE9, 238};
       },
       {12, 13}},
      {"ShortcutChars[91]",
       [](auto& o) {
         o.ShortcutChars[91] = {0xF0, 204};
       },
       {194, 195}},
      {"KeyboardSwitching", [](auto& o) { o.KeyboardSwitching = false; }, {196}},
      {"TestNotesPassive", [](auto& o) { o.TestNotesPassive = true; }, {197}},
      {"TestNotesActive", [](auto& o) { o.TestNotesActive = true; }, {198}},
      {"NumChoices", [](auto& o) { o.NumChoices = 10; }, {200}},
      {"PassiveFlags", [](auto& o) { o.PassiveFlags = 0x0002; }, {204}},
      {"ActiveFlags", [](auto& o) { o.ActiveFlags = 0x0004; }, {206}},
      {"EnglishFlags", [](auto& o) { o.EnglishFlags = 0x0100; }, {209}},
      {"AutoContinue", [](auto& o) { o.AutoContinue = true; }, {210}},
      {"WrongColour", [](auto& o) { o.WrongColour = 0x010203; }, Span(212, 3)},
      {"RightColour", [](auto& o) { o.RightColour = 0x040506; }, Span(216, 3)},
      {"WrongDelay", [](auto& o) { o.WrongDelay = 20; }, {220}},
      {"UsePenaltyPoints", [](auto& o) { o.UsePenaltyPoints = true; }, {224}},
      {"MaxPenaltyPoints", [](auto& o) { o.MaxPenaltyPoints = 5; }, {228}},
      {"DisallowHints", [](auto& o) { o.DisallowHints = true; }, {232}},
  };
  const std::string base = EncodeProgramOptions(TProgramOptions{});
  for (const TCase& c : cases) {
    TProgramOptions changed;
    c.change(changed);
    const std::string bytes = EncodeProgramOptions(changed);
    ASSERT_EQ(bytes.size(), 236u);
    EXPECT_EQ(Diff(base, bytes), c.bytes) << c.field;
    // And the decoder reads it back from there, starting from the defaults.
    TProgramOptions read;
    DecodeProgramOptions(bytes, read);
    EXPECT_TRUE(read == changed) << c.field;
  }
}

TEST(ProgramOptions, LongerBlockGivesTheDefaults) {
  TProgramOptions o;
  o.AppendNewWords = true;
  o.NumChoices = 7;
  o.ShortcutChars[5] = {0xE4, 0};
  std::string longer = EncodeProgramOptions(o) + '\0';
  DecodeProgramOptions(longer, o);
  EXPECT_TRUE(o == TProgramOptions{});
}

// A shorter block is read as far as it goes; everything after it keeps the record's value.
TEST(ProgramOptions, ShorterBlockKeepsTheRestOfTheRecord) {
  TProgramOptions stored;
  stored.AppendNewWords = true;
  stored.LearntColour = 0x123456;
  stored.NumChoices = 6;
  stored.DisallowHints = true;
  const std::string bytes = EncodeProgramOptions(stored);
  for (size_t cut = 0; cut <= bytes.size(); ++cut) {
    TProgramOptions held;
    held.MaxPenaltyPoints = 2;
    DecodeProgramOptions(bytes.substr(0, cut), held);
    EXPECT_EQ(held.AppendNewWords, cut >= 1) << cut;
    const uint32_t colour = cut >= 11   ? 0x123456u
                            : cut == 10 ? 0x803456u
                            : cut == 9  ? 0x808056u
                                        : 0x808080u;
    EXPECT_EQ(held.LearntColour, colour) << cut;
    EXPECT_EQ(held.NumChoices, cut >= 201 ? 6 : 4) << cut;
    EXPECT_EQ(held.MaxPenaltyPoints, cut >= 229 ? 3 : 2) << cut;
    EXPECT_EQ(held.DisallowHints, cut >= 233) << cut;
  }
}

TEST(ProgramOptions, OutOfRangeValuesGetTheirDefaults) {
  struct TCase {
    size_t at;
    uint32_t value;
    int width;
    std::function<bool(const TProgramOptions&)> holds;
  };
  const std::vector<TCase> cases = {
      {200, 2, 4, [](auto& o) { return o.NumChoices == 4; }},
      {200, 11, 4, [](auto& o) { return o.NumChoices == 4; }},
      {200, 0xFFFFFFFF, 4, [](auto& o) { return o.NumChoices == 4; }},
      {200, 3, 4, [](auto& o) { return o.NumChoices == 3; }},
      {228, 0, 4, [](auto& o) { return o.MaxPenaltyPoints == 3; }},
      {228, 6, 4, [](auto& o) { return o.MaxPenaltyPoints == 3; }},
      {228, 1, 4, [](auto& o) { return o.MaxPenaltyPoints == 1; }},
      {220, 21, 4, [](auto& o) { return o.WrongDelay == 0; }},
      {220, 0x80000000, 4, [](auto& o) { return o.WrongDelay == 0; }},
      {220, 20, 4, [](auto& o) { return o.WrongDelay == 20; }},
      {8, 0x80000005, 4, [](auto& o) { return o.LearntColour == 0x808080; }},
      {212, 0x01000000, 4, [](auto& o) { return o.WrongColour == 0x0000FF; }},
      {216, 0xFFFFFF, 4, [](auto& o) { return o.RightColour == 0xFFFFFF; }},
      {204, 0xFFFF, 2, [](auto& o) { return o.PassiveFlags == 0x00FE; }},
      {206, 0x0101, 2, [](auto& o) { return o.ActiveFlags == 0; }},
      {208, 0xFFFF, 2, [](auto& o) { return o.EnglishFlags == 0x0700; }},
      {12, 0x0D, 1, [](auto& o) { return o.ShortcutChars[0] == TShortcutChar{}; }},
      {13, 204, 1, [](auto& o) { return o.ShortcutChars[0] == TShortcutChar{}; }},
      {14, 0x20, 1,
       [](auto& o) {
         return o.ShortcutChars[1] == TShortcutChar{0x20, 0};
       }},
      {2, 7, 1, [](auto& o) { return o.ConfirmNoSort; }},
  };
  for (const TCase& c : cases) {
    std::string bytes = DefaultBlock();
    PutLE(bytes, c.at, c.value, c.width);
    TProgramOptions o;
    DecodeProgramOptions(bytes, o);
    EXPECT_TRUE(c.holds(o)) << "offset " << c.at << " value " << c.value;
    // What is written back is a sound block that reads back unchanged.
    TProgramOptions again;
    DecodeProgramOptions(EncodeProgramOptions(o), again);
    EXPECT_TRUE(again == o) << "offset " << c.at;
  }
}

// Padding bytes hold nothing: junk there is dropped and written back as 0.
TEST(ProgramOptions, PaddingIsWrittenAsZero) {
  std::string bytes = DefaultBlock();
  for (size_t at : {5, 6, 7, 199, 211, 225, 226, 227, 233, 234, 235}) bytes[at] = '\x55';
  TProgramOptions o;
  DecodeProgramOptions(bytes, o);
  EXPECT_EQ(Hex(EncodeProgramOptions(o)), Hex(DefaultBlock()));
}

// Random blocks of every length up to one byte too long: whatever is read is a sound record
// that survives its own round trip.
TEST(ProgramOptions, AnyBlockGivesASoundRecord) {
  std::mt19937 random(4711);
  for (int run = 0; run < 2000; ++run) {
    std::string bytes(random() % (kProgramOptionsSize + 2), '\0');
    for (char& b : bytes) b = static_cast<char>(random());
    TProgramOptions o;
    DecodeProgramOptions(bytes, o);
    EXPECT_GE(o.NumChoices, kMinChoices);
    EXPECT_LE(o.NumChoices, kMaxChoices);
    EXPECT_GE(o.MaxPenaltyPoints, kMinPenaltyPoints);
    EXPECT_LE(o.MaxPenaltyPoints, kMaxPenaltyPoints);
    EXPECT_GE(o.WrongDelay, kMinWrongDelay);
    EXPECT_LE(o.WrongDelay, kMaxWrongDelay);
    EXPECT_EQ(o.PassiveFlags & ~kDirectionFlagsMask, 0);
    TProgramOptions again;
    DecodeProgramOptions(EncodeProgramOptions(o), again);
    ASSERT_TRUE(again == o) << "run " << run;
  }
}
