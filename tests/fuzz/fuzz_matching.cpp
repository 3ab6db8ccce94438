// SPDX-License-Identifier: MIT
// Answer comparison on any stored and typed text: it raises nothing, accepts the stored text
// itself and gives the same verdict every time. The hint step stays a prefix of the stored text
// that ends on a whole character.
#include "FuzzSupport.h"
#include "testing/TestRun.h"
#include "text/Languages.h"
#include "text/Matching.h"
#include "text/Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  const uint16_t langId = PickLanguage(provider);
  const auto options = provider.ConsumeIntegral<TMatchOptions>();
  const std::string expected = provider.ConsumeRandomLengthString(256);
  const std::string typed = provider.ConsumeRemainingBytesAsString();
  FUZZ_CHECK(MatchAnswer(expected, expected, langId, options));
  FUZZ_CHECK(MatchAnswer(typed, typed, langId, options));
  const bool verdict = MatchAnswer(expected, typed, langId, options);
  FUZZ_CHECK(MatchAnswer(expected, typed, langId, options) == verdict);
  const std::string hint = HintStep(expected, typed, langId);
  FUZZ_CHECK(expected.starts_with(hint));
  FUZZ_CHECK(CharacterStart(expected, hint.size(), langId) == hint.size());
  if (IsUtf8Language(langId) && IsUtf8(expected)) FUZZ_CHECK(IsUtf8(hint));
  return 0;
}
