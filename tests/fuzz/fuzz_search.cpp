// SPDX-License-Identifier: MIT
// Search: the byte-table fast path gives exactly what the full normalisation gives.
#include <string_view>

#include "FuzzSupport.h"
#include "text/Search.h"

namespace {
bool ModeMatches(std::string_view field, std::string_view key, uint8_t mode) {
  switch (mode) {
    case smAnyPart:
      return field.find(key) != std::string_view::npos;
    case smStartOfField:
      return field.starts_with(key);
    case smEndOfField:
      return field.ends_with(key);
    default:
      return field == key;
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  const uint16_t langId = PickLanguage(provider);
  const auto options = provider.ConsumeIntegralInRange<uint8_t>(0, 7);
  const auto mode = provider.ConsumeIntegralInRange<uint8_t>(smAnyPart, smWholeField);
  const std::string key = provider.ConsumeRandomLengthString(32);
  TSearchMatcher matcher(key, langId, options, mode);
  FUZZ_CHECK(matcher.Key() == NormaliseForSearch(key, langId, options));
  while (provider.remaining_bytes() > 0) {
    const std::string text = provider.ConsumeRandomLengthString(128);
    const bool expected =
        ModeMatches(NormaliseForSearch(text, langId, options), matcher.Key(), mode);
    FUZZ_CHECK(matcher.Matches(text) == expected);
  }
  return 0;
}
