// SPDX-License-Identifier: MIT
// Text import of a 100,000-line file and export of 1,000,000 entries in every format.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <streambuf>
#include <string>

#include <unistd.h>

#include "vocab/Export.h"
#include "vocab/Import.h"
#include "vocab/VocFile.h"

namespace fs = std::filesystem;

namespace {
fs::path BenchDir() {
  static const fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("dadezivu-bench-" + std::to_string(::getpid()));
    fs::create_directories(d);
    return d;
  }();
  return dir;
}

// A line as people write them: a word or phrase, its part of speech, a few translations.
std::string Line(int i, char sep) {
  std::string s = "Wort" + std::to_string(i);
  s += sep;
  s += i % 3 == 0 ? "n" : "v";
  s += sep;
  s += i % 5 == 0 ? "\"see also, page 4\"" : "";
  s += sep;
  s += "word " + std::to_string(i) + "; term";
  return s;
}

const std::string& ImportFile(bool unicode) {
  static std::string paths[2];
  std::string& path = paths[unicode];
  if (path.empty()) {
    path = (BenchDir() / (unicode ? "import16.txt" : "import.txt")).string();
    std::string text;
    for (int i = 0; i < 100000; ++i) text += Line(i, ',') + "\r\n";
    std::ofstream out(path, std::ios::binary);
    if (unicode) {
      std::string wide = "\xFF\xFE";
      for (char c : text) {
        wide += c;
        wide += '\0';
      }
      text = wide;
    }
    out << text;
  }
  return path;
}

void BM_ImportText(benchmark::State& state) {
  const bool unicode = state.range(0) != 0;
  const std::string& path = ImportFile(unicode);
  for (auto _ : state) {
    TVocabFile v;
    v.SetForeignLangID(0x0407);
    v.SetNativeLangID(0x0409);
    const int32_t n =
        v.ImportText(path, unicode ? ttUnicodeCommaText : ttCommaText, {1, 2, 3, 4}, 1);
    if (n != 100000) state.SkipWithError("wrong count");
    state.PauseTiming();
    v.Clear();  // freeing the entries is not part of the import
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ImportText)->Arg(0)->Arg(1)->ArgName("unicode")->Unit(benchmark::kMillisecond);

TVocabFile& Million() {
  static std::unique_ptr<TVocabFile> v = [] {
    auto f = std::make_unique<TVocabFile>();
    f->SetForeignLangID(0x0407);
    f->SetNativeLangID(0x0409);
    f->SetProperty(0, "Benchmark");
    for (int i = 0; i < 1000000; ++i) {
      f->EditItem().Values = {"Wort" + std::to_string(i), i % 3 == 0 ? "n" : "v",
                              i % 5 == 0 ? "see also, page 4" : "",
                              "word " + std::to_string(i) + "; term"};
      f->AddItem(2);
    }
    f->ClearJournal();
    return f;
  }();
  return *v;
}

// Formats 0..3 of ExportText, 4 RTF, 5 HTML, written to a file.
void BM_Export(benchmark::State& state) {
  const int format = static_cast<int>(state.range(0));
  TVocabFile& v = Million();
  const std::string path = (BenchDir() / ("export" + std::to_string(format))).string();
  for (auto _ : state) {
    if (format < 4) {
      v.ExportText(path, format);
    } else if (format == 4) {
      ExportRtf(v, path);
    } else {
      ExportHtml(v, path);
    }
  }
  state.counters["MB"] = static_cast<double>(fs::file_size(path)) / 1e6;
}
BENCHMARK(BM_Export)->DenseRange(0, 5)->ArgName("format")->Unit(benchmark::kMillisecond);

// The same without the file system: only the writers' own work.
class TNullBuffer : public std::streambuf {
protected:
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
  int overflow(int c) override { return c; }
};

void BM_ExportToStream(benchmark::State& state) {
  const int format = static_cast<int>(state.range(0));
  TVocabFile& v = Million();
  TNullBuffer buffer;
  std::ostream out(&buffer);
  for (auto _ : state) {
    if (format < 4) {
      WriteDelimitedText(v, format, out);
    } else if (format == 4) {
      WriteRtf(v, "x.rtf", out);
    } else {
      WriteHtml(v, "x.htm", out);
    }
  }
}
BENCHMARK(BM_ExportToStream)->DenseRange(0, 5)->ArgName("format")->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ec;
  fs::remove_all(BenchDir(), ec);
  Million().Clear();
  return 0;
}
