// SPDX-License-Identifier: MIT
// The clipboard block from another program: decoding, pasting, copying back and undoing.
#include <optional>

#include "FuzzSupport.h"
#include "vocab/Clipboard.h"
#include "vocab/VocFile.h"

namespace {
class TFuzzClipboard : public TClipboard {
public:
  void PutBlock(const std::string& block) override { Block = block; }
  std::optional<std::string> GetBlock() const override { return Block; }
  bool HasBlock() const override { return Block.has_value(); }
  std::optional<std::string> Block;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  const int mode = provider.ConsumeIntegralInRange(0, 2);
  const bool sameLanguages = provider.ConsumeBool();
  const std::string block = provider.ConsumeRemainingBytesAsString();

  TClipboardEntry entry;
  const bool valid = DecodeClipboardBlock(block, entry);
  if (valid) {
    // What was read encodes to a block that reads back the same.
    TClipboardEntry again;
    FUZZ_CHECK(DecodeClipboardBlock(EncodeClipboardBlock(entry), again));
    FUZZ_CHECK(again.Values == entry.Values && again.SortPos == entry.SortPos &&
               again.ForeignLangID == entry.ForeignLangID &&
               again.NativeLangID == entry.NativeLangID);
  }

  TVocabFile v;
  if (sameLanguages && block.size() >= 4) {
    v.SetForeignLangID(static_cast<uint16_t>(static_cast<uint8_t>(block[0]) |
                                             static_cast<uint8_t>(block[1]) << 8));
    v.SetNativeLangID(static_cast<uint16_t>(static_cast<uint8_t>(block[2]) |
                                            static_cast<uint8_t>(block[3]) << 8));
  }
  for (const char* word : {"eins", "zwei"}) {
    v.EditItem().Values = {word, "", "", word};
    v.AddItem(2);
  }
  v.SetItemIndex(0);
  v.SetModified(false);
  TFuzzClipboard clipboard;
  clipboard.Block = block;
  try {
    v.PasteFromClipboard(clipboard, mode);
  } catch (const EVocabFileError&) {
    FUZZ_CHECK(v.Count() == 2 && !v.Modified());
    return 0;
  }
  FUZZ_CHECK(valid && v.Count() == 3);
  const TVocabItem& pasted = v.CurrentItem();
  FUZZ_CHECK(pasted.Values == entry.Values && pasted.SortPos == entry.SortPos);
  v.CopyToClipboard(clipboard);
  TClipboardEntry copied;
  FUZZ_CHECK(clipboard.Block && DecodeClipboardBlock(*clipboard.Block, copied));
  FUZZ_CHECK(copied.Values == entry.Values);
  v.Undo();
  FUZZ_CHECK(v.Count() == 2 && v.GetItem(0).Values[0] == "eins" &&
             v.GetItem(1).Values[0] == "zwei");
  return 0;
}
