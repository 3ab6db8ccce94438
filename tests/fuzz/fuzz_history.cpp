// SPDX-License-Identifier: MIT
// A history database of any bytes: read, written to, or moved aside, never a crash or a loss.
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "FuzzSupport.h"
#include "history/History.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  namespace fs = std::filesystem;
  static const fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("dadezivu-fuzz-history-" + std::to_string(getpid()));
    fs::create_directories(d);
    return d;
  }();
  for (const auto& entry : fs::directory_iterator(dir)) fs::remove(entry.path());
  const std::string path = (dir / "history.sqlite").string();
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(data), std::streamsize(size));

  THistoryStore store(path);
  const std::string vocab = "/fuzz.doz";
  store.Days(vocab, 0, 30000);
  store.Streak(vocab, 20000);
  store.Hardest(vocab, 1, 20, {});
  store.ForEachAnswer(vocab, [](const THistoryAnswer&) {});
  THistoryAnswer answer;
  answer.Vocabulary = vocab;
  answer.Foreign = "Haus";
  answer.Native = "house";
  answer.Entry = HistoryEntryKey(answer.Foreign, answer.Native);
  answer.Day = 20000;
  store.Record(answer);
  store.ReviseLast(true, 1);
  store.Rename(vocab, "/moved.doz");
  store.Rename("/moved.doz", vocab);
  try {
    store.Clear("/other.doz");
  } catch (const std::runtime_error&) {
    // Refused while the database cannot be written: what a user is told.
  }
  // Written, or still waiting; gone from view only with a damaged file moved aside.
  if (store.Pending() == 0) {
    int after = 0;
    store.ForEachAnswer(vocab, [&after](const THistoryAnswer&) { ++after; });
    FUZZ_CHECK(after >= 1 || !store.TakeDamagedNotice().empty());
  }
  return 0;
}
