// SPDX-License-Identifier: MIT
// The slip rule and the marks on any stored and typed text: they raise nothing, a forgiven slip
// is always an answer the comparison accepts, and marks are whole letters of the typed text.
#include "FuzzSupport.h"
#include "text/Slip.h"

namespace {
bool WholeLetters(const std::string& typed, uint16_t langId,
                  const std::vector<TLetterSpan>& marks) {
  size_t previous = 0;
  for (const TLetterSpan& mark : marks) {
    if (mark.Begin < previous || mark.End > typed.size()) return false;
    if (NextLetter(typed, mark.Begin, langId) != mark.End) return false;
    previous = mark.End;
  }
  return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  const uint16_t langId = PickLanguage(provider);
  const auto options =
      static_cast<TMatchOptions>(provider.ConsumeIntegral<TMatchOptions>() | moAcceptSlip);
  const std::string expected = provider.ConsumeRandomLengthString(256);
  const std::string typed = provider.ConsumeRemainingBytesAsString().substr(0, 256);
  if (MatchAnswer(expected, typed, langId, options)) return 0;
  const TSlipMatch slip = MatchSlip(expected, typed, langId, options);
  if (slip.Accepted) {
    FUZZ_CHECK(MatchAnswer(expected, slip.Corrected, langId, options));
    FUZZ_CHECK(!slip.Marks.empty() && WholeLetters(typed, langId, slip.Marks));
  }
  FUZZ_CHECK(WholeLetters(typed, langId, DifferingLetters(expected, typed, langId, options)));
  return 0;
}
