// SPDX-License-Identifier: MIT
// The tip file and the rich-text subset of its tips: any bytes read into lines and runs.
#include <sstream>

#include "FuzzSupport.h"
#include "testing/Tips.h"
#include "text/RtfText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::istringstream in(bytes);
  size_t lineBytes = 0;
  for (const std::string& line : ReadTipLines(in)) {
    FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
    lineBytes += line.size();
    const TTip tip = SplitTipLine(line);
    FUZZ_CHECK(tip.HelpContext >= 0);
    ReadRtfText(TipDocument(tip.Text));
  }
  FUZZ_CHECK(lineBytes <= size);
  // Every unit shown comes from at least one byte read.
  size_t units = 0;
  for (const TRtfRun& run : ReadRtfText(bytes)) {
    FUZZ_CHECK(!run.Text.empty());
    units += run.Text.size();
  }
  FUZZ_CHECK(units <= size);
  return 0;
}
