// SPDX-License-Identifier: MIT
// Tests of the clipboard block codec, copying and pasting an entry.
#include "vocab/Clipboard.h"

#include <algorithm>
#include <random>

#include "TestSupport.h"

namespace {
// The clipboard as a plain object: holds at most one block, counts the puts.
class TFakeClipboard : public TClipboard {
public:
  void PutBlock(const std::string& block) override {
    Block = block;
    ++Puts;
  }
  std::optional<std::string> GetBlock() const override { return Block; }
  bool HasBlock() const override { return Block.has_value(); }

  std::optional<std::string> Block;
  int Puts = 0;
};

std::unique_ptr<TVocabFile> Vocabulary(uint16_t foreign, uint16_t native) {
  auto v = SampleVocabulary();
  v->SetForeignLangID(foreign);
  v->SetNativeLangID(native);
  v->SetModified(false);
  return v;
}

std::string Block(uint16_t foreign, uint16_t native, int32_t sortPos, const std::string& text) {
  TClipboardEntry e;
  e.ForeignLangID = foreign;
  e.NativeLangID = native;
  e.SortPos = sortPos;
  std::string block = EncodeClipboardBlock(e);  // header + three tabs + zero
  return block.substr(0, 8) + text + std::string(1, '\0');
}

// Everything a failed paste must leave alone.
std::string State(const TVocabFile& v) {
  const TVocabItem& e = v.EditItem();
  return Words(v) + "|" + std::to_string(v.ItemIndex()) + "|" + std::to_string(v.JournalPos()) +
         "|" + std::to_string(v.Modified()) + "|" + e.Values[0] + e.Values[1] + e.Values[2] +
         e.Values[3];
}
}  // namespace

// The block layout is what other running copies of the program read.
TEST(ClipboardBlock, CopyWritesHeaderTabbedTextAndZero) {
  auto v = SampleVocabulary({{"Haus", "n", "", "house"}});
  TFakeClipboard clipboard;
  v->CopyToClipboard(clipboard);
  ASSERT_TRUE(clipboard.Block);
  EXPECT_EQ(clipboard.Block->size(), 22u);
  EXPECT_EQ(Hex(*clipboard.Block),
            "07 04 09 04 00 00 00 00 48 61 75 73 09 6e 09 09 68 6f 75 73 65 00");
  EXPECT_FALSE(v->Modified());

  v->CurrentItem().SortPos = -2;
  v->CurrentItem().Values = {"", "", "", ""};
  v->CopyToClipboard(clipboard);
  EXPECT_EQ(Hex(*clipboard.Block), "07 04 09 04 fe ff ff ff 09 09 09 00");
}

TEST(ClipboardBlock, DecodeReadsWhatEncodeWrote) {
  TClipboardEntry in;
  in.ForeignLangID = 0x0C0A;
  in.NativeLangID = 0x0419;
  in.SortPos = 0x12345678;
  in.Values = {"el \xE1rbol", "", "(m)", "\xE4\xE5\xF0\xE5\xE2\xEE"};
  TClipboardEntry out;
  ASSERT_TRUE(DecodeClipboardBlock(EncodeClipboardBlock(in), out));
  EXPECT_EQ(out.ForeignLangID, in.ForeignLangID);
  EXPECT_EQ(out.NativeLangID, in.NativeLangID);
  EXPECT_EQ(out.SortPos, in.SortPos);
  EXPECT_EQ(out.Values, in.Values);
}

// A block is outside data: any size or content is judged without reading past its end.
TEST(ClipboardBlock, MalformedBlocksAreRejected) {
  const std::string good = Block(0x0407, 0x0409, 0, "a\tb\tc\td");
  TClipboardEntry entry;
  EXPECT_TRUE(DecodeClipboardBlock(good + "after the zero\t\t\t", entry));
  EXPECT_EQ(entry.Values[3], "d");
  // Every cut of a good block, and random blocks, under the sanitizers.
  for (size_t cut = 0; cut < good.size(); ++cut) {
    EXPECT_FALSE(DecodeClipboardBlock(good.substr(0, cut), entry)) << cut;
  }
  std::mt19937 random(7);
  for (int i = 0; i < 2000; ++i) {
    std::string block(random() % 40, '\0');
    for (char& c : block) c = static_cast<char>("\t\0ab"[random() % 4]);
    const size_t zero = block.size() >= 9 ? block.find('\0', 8) : std::string::npos;
    const bool valid =
        zero != std::string::npos && std::count(block.begin() + 8, block.begin() + zero, '\t') >= 3;
    EXPECT_EQ(DecodeClipboardBlock(block, entry), valid) << Hex(block);
  }
}

TEST(ClipboardCopy, WithoutCurrentEntryLeavesClipboardAlone) {
  auto v = SampleVocabulary();
  TFakeClipboard clipboard;
  clipboard.Block = "earlier";
  v->SetItemIndex(-1);
  EXPECT_THROW_MSG(v->CopyToClipboard(clipboard), "No current item");
  EXPECT_EQ(clipboard.Puts, 0);
  EXPECT_EQ(*clipboard.Block, "earlier");
}

TEST(ClipboardPaste, AddsUntestedEntryJournaledAsAdd) {
  auto source = SampleVocabulary({{"Haus", "n", "", "house"}, {"Baum", "n", "x", "tree"}});
  source->SetItemIndex(1);
  source->CurrentItem().SortPos = 4;
  source->CurrentItem().LastAsked = 17;
  source->CurrentItem().PenaltyPoints = -1;  // learnt
  TFakeClipboard clipboard;
  source->CopyToClipboard(clipboard);

  auto target = SampleVocabulary({{"eins", "", "", "one"}, {"zwei", "", "", "two"}});
  EXPECT_TRUE(target->CanPaste(clipboard));
  target->PasteFromClipboard(clipboard, 1);  // after the current entry 0
  EXPECT_EQ(Words(*target), "eins Baum zwei");
  EXPECT_EQ(target->ItemIndex(), 1);
  const TVocabItem& pasted = target->CurrentItem();
  EXPECT_EQ(pasted.Values, (TFieldValues{"Baum", "n", "x", "tree"}));
  EXPECT_EQ(pasted.SortPos, 4);
  EXPECT_EQ(pasted.LastAsked, 0);
  EXPECT_EQ(pasted.PenaltyPoints, 0);
  EXPECT_TRUE(target->Modified());
  EXPECT_STREQ(JournalKindName(target->UndoKind()), "Add");

  target->PasteFromClipboard(clipboard, 2);
  EXPECT_EQ(Words(*target), "eins Baum zwei Baum");
  EXPECT_EQ(target->ItemIndex(), 3);

  target->Undo();
  target->Undo();
  EXPECT_EQ(Words(*target), "eins zwei");
  EXPECT_EQ(target->RedoKind(), jkAdd);
}

TEST(ClipboardPaste, EmptyTextsAndExtraPieces) {
  auto v = SampleVocabulary({{"x", "", "", "y"}});
  TFakeClipboard clipboard;
  clipboard.Block = Block(0x0407, 0x0409, 0, "\t\t\t");
  v->PasteFromClipboard(clipboard, 2);
  EXPECT_EQ(v->CurrentItem().Values, (TFieldValues{"", "", "", ""}));

  // Texts are taken as they are: no trimming, and pieces after the fourth are dropped.
  clipboard.Block = Block(0x0407, 0x0409, 0, " a \tb\t\td\tfifth\tsixth");
  v->PasteFromClipboard(clipboard, 2);
  EXPECT_EQ(v->CurrentItem().Values, (TFieldValues{" a ", "b", "", "d"}));
}

// Only the primary languages must match; a failed paste changes nothing at all.
TEST(ClipboardPaste, LanguagesAndInvalidBlocks) {
  auto source = Vocabulary(0x0409, 0x0407);  // English (US) / German
  TFakeClipboard clipboard;
  source->CopyToClipboard(clipboard);

  auto sameLanguages = Vocabulary(0x0809, 0x0C07);  // English (UK) / German (Austria)
  sameLanguages->PasteFromClipboard(clipboard, 2);
  EXPECT_EQ(sameLanguages->Count(), 6);

  struct TCase {
    uint16_t Foreign, Native;
    std::optional<std::string> Block;
    const char* Message;
  };
  const TCase cases[] = {
      {0x040C, 0x0407, clipboard.Block, "Languages are different."},  // French / German
      {0x0409, 0x0409, clipboard.Block, "Languages are different."},
      {0x0409, 0x0407, std::nullopt, "No valid data on clipboard."},
      {0x0409, 0x0407, Block(0x0409, 0x0407, 0, "a\tb"), "No valid data on clipboard."},
      {0x0409, 0x0407, std::string("\x09\x04\x07\x04\0\0\0\0", 8), "No valid data on clipboard."},
      // A damaged block is no data even when its header names other languages.
      {0x0409, 0x0407, std::string("\x0C\x04\x07\x04\0\0\0\0a", 9), "No valid data on clipboard."},
      // Languages are judged before the texts.
      {0x040C, 0x0407, Block(0x0409, 0x0407, 0, "a"), "Languages are different."},
  };
  for (const auto& c : cases) {
    auto target = Vocabulary(c.Foreign, c.Native);
    target->EditItem().Values = {"being", "edited", "", ""};
    TFakeClipboard other;
    other.Block = c.Block;
    EXPECT_EQ(target->CanPaste(other), c.Block.has_value());
    const std::string before = State(*target);
    EXPECT_THROW_MSG(target->PasteFromClipboard(other, 2), c.Message);
    EXPECT_EQ(State(*target), before) << c.Message;
  }
}
