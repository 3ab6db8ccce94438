// SPDX-License-Identifier: MIT
// KVTML import at 100,000 and 1,000,000 entries: time, and the memory it adds per byte of file.
#include <benchmark/benchmark.h>

#include <QString>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include <unistd.h>

#include "import/KvtmlReader.h"
#include "vocab/VocFile.h"

namespace fs = std::filesystem;

namespace {
// A file as another trainer writes it: each entry a word with a comment and a translation of
// two items, all entries in one lesson.
std::string WriteKvtmlFile(int count) {
  const fs::path path =
      fs::temp_directory_path() /
      ("dadezivu-bench-" + std::to_string(::getpid()) + "-" + std::to_string(count) + ".kvtml");
  std::string xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE kvtml SYSTEM "kvtml2.dtd">
<kvtml version="2.0">
 <information>
  <generator>bench_kvtml</generator>
  <title>Benchmark</title>
 </information>
 <identifiers>
  <identifier id="0">
   <name>Deutsch</name>
   <locale>de</locale>
  </identifier>
  <identifier id="1">
   <name>English</name>
   <locale>en</locale>
  </identifier>
 </identifiers>
 <entries>
)";
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    xml += "  <entry id=\"" + n + "\">\n   <translation id=\"0\">\n    <text>W\xC3\xB6rter" + n +
           "</text>\n    <comment>Beispiel f\xC3\xBCr " + n +
           "</comment>\n   </translation>\n   <translation id=\"1\">\n    <text>word " + n +
           ", term " + n + "</text>\n   </translation>\n  </entry>\n";
  }
  xml += " </entries>\n <lessons>\n  <container>\n   <name>Lesson 1</name>\n";
  for (int i = 0; i < count; ++i) xml += "   <entry id=\"" + std::to_string(i) + "\"/>\n";
  xml += "  </container>\n </lessons>\n</kvtml>\n";
  std::ofstream(path, std::ios::binary) << xml;
  return path.string();
}

const std::string& KvtmlFile(int count) {
  static std::map<int, std::string> files;
  std::string& path = files[count];
  if (path.empty()) path = WriteKvtmlFile(count);
  return path;
}

// Resident memory now and at its peak since the last reset, in bytes (Linux).
long long StatusBytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::stoll(line.substr(std::string(field).size())) * 1024;
  }
  return 0;
}

void ResetPeak() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

void BM_ImportKvtml(benchmark::State& state) {
  const auto count = static_cast<int>(state.range(0));
  const std::string& path = KvtmlFile(count);
  const QString file = QString::fromStdString(path);
  long long added = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ResetPeak();
    const long long before = StatusBytes("VmRSS:");
    state.ResumeTiming();
    {
      TVocabFile vocab;
      vocab.SetForeignLangID(0x0407);
      vocab.SetNativeLangID(0x0409);
      if (ImportKvtml(vocab, file) != count) state.SkipWithError("entries lost");
      state.PauseTiming();
      added = std::max(added, StatusBytes("VmHWM:") - before);
      state.ResumeTiming();
    }
  }
  const auto size = static_cast<double>(fs::file_size(path));
  state.counters["file_MB"] = size / 1e6;
  state.counters["added_per_byte"] = static_cast<double>(added) / size;
}
BENCHMARK(BM_ImportKvtml)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ImportKvtml)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(2);
}  // namespace
