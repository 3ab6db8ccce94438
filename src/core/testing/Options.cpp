// SPDX-License-Identifier: MIT
// The program options' byte codec and the bounds that make any stored block usable.
#include "testing/Options.h"

#include <algorithm>

namespace {

// Offsets of the stored block.
enum : size_t {
  kAppendNewWords = 0,
  kConfirmDuplicates = 1,
  kConfirmNoSort = 2,
  kConfirmNoCategory = 3,
  kSkipNotes = 4,
  kLearntColour = 8,
  kShortcutChars = 12,
  kKeyboardSwitching = 196,
  kTestNotesPassive = 197,
  kTestNotesActive = 198,
  kNumChoices = 200,
  kPassiveFlags = 204,
  kActiveFlags = 206,
  kEnglishFlags = 208,
  kAutoContinue = 210,
  kWrongColour = 212,
  kRightColour = 216,
  kWrongDelay = 220,
  kUsePenaltyPoints = 224,
  kMaxPenaltyPointsAt = 228,
  kDisallowHints = 232,
};

class TBlock {
public:
  explicit TBlock(std::string& bytes) : m_Bytes(bytes) {}

  uint8_t Byte(size_t at) const { return static_cast<uint8_t>(m_Bytes[at]); }
  uint32_t UInt(size_t at, int width) const {
    uint32_t v = 0;
    for (int i = width - 1; i >= 0; --i) v = (v << 8) | Byte(at + i);
    return v;
  }
  bool Bool(size_t at) const { return Byte(at) != 0; }
  uint16_t U16(size_t at) const { return static_cast<uint16_t>(UInt(at, 2)); }
  uint32_t U32(size_t at) const { return UInt(at, 4); }
  int32_t I32(size_t at) const { return static_cast<int32_t>(UInt(at, 4)); }

  void Put(size_t at, uint32_t v, int width) {
    for (int i = 0; i < width; ++i) m_Bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  }
  void PutBool(size_t at, bool v) { Put(at, v ? 1 : 0, 1); }

private:
  std::string& m_Bytes;
};

int32_t InRange(int32_t v, int32_t lo, int32_t hi, int32_t fallback) {
  return v >= lo && v <= hi ? v : fallback;
}

uint32_t ValidColour(uint32_t v, uint32_t fallback) {
  return v <= 0xFFFFFF ? v : fallback;
}

}  // namespace

std::string EncodeProgramOptions(const TProgramOptions& o) {
  std::string bytes(kProgramOptionsSize, '\0');
  TBlock b(bytes);
  b.PutBool(kAppendNewWords, o.AppendNewWords);
  b.PutBool(kConfirmDuplicates, o.ConfirmDuplicates);
  b.PutBool(kConfirmNoSort, o.ConfirmNoSort);
  b.PutBool(kConfirmNoCategory, o.ConfirmNoCategory);
  b.PutBool(kSkipNotes, o.SkipNotes);
  b.Put(kLearntColour, o.LearntColour, 4);
  for (size_t i = 0; i < o.ShortcutChars.size(); ++i) {
    b.Put(kShortcutChars + 2 * i, o.ShortcutChars[i].Code, 1);
    b.Put(kShortcutChars + 2 * i + 1, o.ShortcutChars[i].Charset, 1);
  }
  b.PutBool(kKeyboardSwitching, o.KeyboardSwitching);
  b.PutBool(kTestNotesPassive, o.TestNotesPassive);
  b.PutBool(kTestNotesActive, o.TestNotesActive);
  b.Put(kNumChoices, static_cast<uint32_t>(o.NumChoices), 4);
  b.Put(kPassiveFlags, o.PassiveFlags, 2);
  b.Put(kActiveFlags, o.ActiveFlags, 2);
  b.Put(kEnglishFlags, o.EnglishFlags, 2);
  b.PutBool(kAutoContinue, o.AutoContinue);
  b.Put(kWrongColour, o.WrongColour, 4);
  b.Put(kRightColour, o.RightColour, 4);
  b.Put(kWrongDelay, static_cast<uint32_t>(o.WrongDelay), 4);
  b.PutBool(kUsePenaltyPoints, o.UsePenaltyPoints);
  b.Put(kMaxPenaltyPointsAt, static_cast<uint32_t>(o.MaxPenaltyPoints), 4);
  b.PutBool(kDisallowHints, o.DisallowHints);
  return bytes;
}

void DecodeProgramOptions(const std::string& bytes, TProgramOptions& o) {
  if (bytes.size() > kProgramOptionsSize) {
    o = TProgramOptions{};
    return;
  }
  // Overlay the stored prefix on the record as it is, so a short block leaves the rest alone.
  std::string full = EncodeProgramOptions(o);
  std::copy(bytes.begin(), bytes.end(), full.begin());
  const TBlock b(full);
  o.AppendNewWords = b.Bool(kAppendNewWords);
  o.ConfirmDuplicates = b.Bool(kConfirmDuplicates);
  o.ConfirmNoSort = b.Bool(kConfirmNoSort);
  o.ConfirmNoCategory = b.Bool(kConfirmNoCategory);
  o.SkipNotes = b.Bool(kSkipNotes);
  o.LearntColour = b.U32(kLearntColour);
  for (size_t i = 0; i < o.ShortcutChars.size(); ++i) {
    o.ShortcutChars[i].Code = b.Byte(kShortcutChars + 2 * i);
    o.ShortcutChars[i].Charset = b.Byte(kShortcutChars + 2 * i + 1);
  }
  o.KeyboardSwitching = b.Bool(kKeyboardSwitching);
  o.TestNotesPassive = b.Bool(kTestNotesPassive);
  o.TestNotesActive = b.Bool(kTestNotesActive);
  o.NumChoices = b.I32(kNumChoices);
  o.PassiveFlags = b.U16(kPassiveFlags);
  o.ActiveFlags = b.U16(kActiveFlags);
  o.EnglishFlags = b.U16(kEnglishFlags);
  o.AutoContinue = b.Bool(kAutoContinue);
  o.WrongColour = b.U32(kWrongColour);
  o.RightColour = b.U32(kRightColour);
  o.WrongDelay = b.I32(kWrongDelay);
  o.UsePenaltyPoints = b.Bool(kUsePenaltyPoints);
  o.MaxPenaltyPoints = b.I32(kMaxPenaltyPointsAt);
  o.DisallowHints = b.Bool(kDisallowHints);
  BoundProgramOptions(o);
}

void BoundProgramOptions(TProgramOptions& o) {
  const TProgramOptions defaults;
  o.NumChoices = InRange(o.NumChoices, kMinChoices, kMaxChoices, defaults.NumChoices);
  o.MaxPenaltyPoints =
      InRange(o.MaxPenaltyPoints, kMinPenaltyPoints, kMaxPenaltyPoints, defaults.MaxPenaltyPoints);
  o.WrongDelay = InRange(o.WrongDelay, kMinWrongDelay, kMaxWrongDelay, defaults.WrongDelay);
  o.LearntColour = ValidColour(o.LearntColour, defaults.LearntColour);
  o.WrongColour = ValidColour(o.WrongColour, defaults.WrongColour);
  o.RightColour = ValidColour(o.RightColour, defaults.RightColour);
  o.PassiveFlags &= kDirectionFlagsMask;
  o.ActiveFlags &= kDirectionFlagsMask;
  o.EnglishFlags &= kEnglishFlagsMask;
  for (TShortcutChar& c : o.ShortcutChars) {
    if (c.Code < 32) c = TShortcutChar{};
  }
}
