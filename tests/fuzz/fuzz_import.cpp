// SPDX-License-Identifier: MIT
// Text import of every text type, with the type detection, on any file.
#include "FuzzSupport.h"
#include "vocab/Import.h"
#include "vocab/VocFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TFuzzFile file;
  FuzzedDataProvider provider(data, size);
  const uint16_t foreign = PickLanguage(provider);
  const uint16_t native = PickLanguage(provider);
  const auto firstLine = provider.ConsumeIntegralInRange<int32_t>(1, 4);
  std::array<int32_t, 4> columnMap{};
  for (auto& column : columnMap) column = provider.ConsumeIntegralInRange<int32_t>(0, 5);
  const std::string& path = file.Write(provider.ConsumeRemainingBytesAsString());

  const uint8_t detected = DetectTextType(path);
  // Every value a request can carry: types added later are covered without a change here, and
  // values that are no type must add nothing.
  for (int textType = 0; textType <= 0xFF; ++textType) {
    TVocabFile v;
    v.SetForeignLangID(foreign);
    v.SetNativeLangID(native);
    v.SetModified(false);
    int32_t count = 0;
    try {
      count = v.ImportText(path, textType, columnMap, firstLine);
    } catch (const std::exception&) {
      FUZZ_CHECK(v.Count() == 0 && !v.Modified());
      continue;
    }
    FUZZ_CHECK(count == v.Count() && v.Modified() == (count > 0));
    for (int32_t i = 0; i < count; ++i) {
      const TVocabItem& item = v.GetItem(i);
      FUZZ_CHECK(!item.Values[Foreign].empty() && !item.Values[Native].empty());
    }
    FUZZ_CHECK(columnMap[Foreign] != 0 || count == 0);
  }
  FUZZ_CHECK(DetectTextType(path) == detected);
  return 0;
}
