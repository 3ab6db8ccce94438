// SPDX-License-Identifier: MIT
// The stored settings records (program options, print options, page setup): any block reads
// into a bounded record that survives its own round trip.
#include "FuzzSupport.h"
#include "settings/PrintSettings.h"
#include "testing/Options.h"

namespace {
template <class TRecord, class TEncode, class TDecode>
void RoundTrip(const std::string& bytes, TEncode encode, TDecode decode) {
  TRecord record;
  decode(bytes, record);
  TRecord again;
  decode(encode(record), again);
  FUZZ_CHECK(again == record);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  const int record = provider.ConsumeIntegralInRange(0, 2);
  const std::string bytes = provider.ConsumeRemainingBytesAsString();
  switch (record) {
    case 0: {
      RoundTrip<TProgramOptions>(bytes, EncodeProgramOptions, DecodeProgramOptions);
      TProgramOptions options;
      DecodeProgramOptions(bytes, options);
      TProgramOptions bounded = options;
      BoundProgramOptions(bounded);
      FUZZ_CHECK(bounded == options);
      FUZZ_CHECK(options.NumChoices >= kMinChoices && options.NumChoices <= kMaxChoices);
      FUZZ_CHECK(options.MaxPenaltyPoints >= kMinPenaltyPoints &&
                 options.MaxPenaltyPoints <= kMaxPenaltyPoints);
      FUZZ_CHECK(options.WrongDelay >= kMinWrongDelay && options.WrongDelay <= kMaxWrongDelay);
      break;
    }
    case 1: {
      RoundTrip<TPrintOptions>(bytes, EncodePrintOptions, DecodePrintOptions);
      TPrintOptions options;
      DecodePrintOptions(bytes, options);
      FUZZ_CHECK((options.PrintFields & ~kPrintFieldsMask) == 0);
      break;
    }
    default: {
      RoundTrip<TPageSetup>(bytes, EncodePageSetup, DecodePageSetup);
      TPageSetup setup;
      DecodePageSetup(bytes, setup);
      for (int32_t margin :
           {setup.MarginLeft, setup.MarginTop, setup.MarginRight, setup.MarginBottom}) {
        FUZZ_CHECK(margin >= 0 && margin <= kMaxMargin);
      }
      FUZZ_CHECK(setup.Columns >= kMinColumns && setup.Columns <= kMaxColumns);
      break;
    }
  }
  return 0;
}
