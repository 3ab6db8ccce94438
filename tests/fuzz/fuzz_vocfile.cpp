// SPDX-License-Identifier: MIT
// The vocabulary file: loading, the save/reload round trip, and merging a file into another.
#include <sstream>

#include "FuzzSupport.h"
#include "vocab/VocFile.h"

namespace {
std::string Saved(TVocabFile& v) {
  std::ostringstream out;
  v.SaveToStream(out);
  return out.str();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TFuzzFile file;
  const std::string input(reinterpret_cast<const char*>(data), size);
  TVocabFile loaded;
  std::istringstream in(input);
  try {
    loaded.LoadFromStream(in);
  } catch (const std::exception&) {
    FUZZ_CHECK(loaded.Count() == 0);
    return 0;
  }
  FUZZ_CHECK(!loaded.Modified() && loaded.ItemIndex() == -1);
  // The format has one spelling of every vocabulary: saving gives back exactly the bytes read.
  const std::string saved = Saved(loaded);
  FUZZ_CHECK(saved == input.substr(0, saved.size()));
  TVocabFile again;
  std::istringstream savedIn(saved);
  again.LoadFromStream(savedIn);
  FUZZ_CHECK(Saved(again) == saved);

  // Merging adds every entry into a vocabulary of the same languages and nothing into another.
  const std::string& path = file.Write(input);
  TVocabFile target;
  target.SetForeignLangID(loaded.ForeignLangID());
  target.SetNativeLangID(loaded.NativeLangID());
  target.SetModified(false);
  FUZZ_CHECK(target.MergeFile(path) == loaded.Count());
  FUZZ_CHECK(target.Count() == loaded.Count());
  FUZZ_CHECK(target.Modified() == (loaded.Count() > 0));
  for (int32_t i = 0; i < target.Count(); ++i) {
    FUZZ_CHECK(target.GetItem(i).Values == loaded.GetItem(i).Values);
    FUZZ_CHECK(target.GetItem(i).PenaltyPoints == 0 && target.GetItem(i).LastAsked == 0);
  }
  TVocabFile other;
  other.SetForeignLangID(static_cast<uint16_t>((loaded.ForeignLangID() & 0x3FF) ^ 0x1));
  other.SetModified(false);
  try {
    other.MergeFile(path);
    FUZZ_CHECK(false);
  } catch (const EVocabFileError&) {
    FUZZ_CHECK(other.Count() == 0 && !other.Modified());
  }
  return 0;
}
