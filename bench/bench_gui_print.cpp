// SPDX-License-Identifier: MIT
// Printing a large vocabulary into a PDF file: time, pages, file size and the memory it takes.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "print/PrinterCanvas.h"
#include "settings/RegUtils.h"
#include "vocab/VocFile.h"

#include "BenchVocab.h"

namespace {
long StatusKiB(const char* wanted) {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    long value = 0;
    if (key == wanted && status >> value) return value;
    status.ignore(256, '\n');
  }
  return 0;
}

int PageCount(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return 0;
  static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
  int count = 0;
  for (auto it = page.globalMatch(QString::fromLatin1(file.readAll())); it.hasNext(); it.next()) {
    ++count;
  }
  return count;
}

// The default settings: two columns with separator, title and page numbers, 10 pt, A4. The
// peak resident set grows by what the print run holds at its worst; compare it to the file.
void BM_PrintToPdf(benchmark::State& state) {
  const auto vocab =
      MakeBenchVocabulary(static_cast<int32_t>(state.range(0)), {.LongTranslations = true});
  vocab->SetFileName("/tmp/bench.doz");
  const TPrintJob job = MakePrintJob(*vocab, {}, {}, TFontSetting{"Times New Roman", 10});
  QTemporaryDir dir;
  const QString file = dir.filePath("bench.pdf");
  // Warm the font caches, so that the peak below is the run's own.
  PrintVocabularyToPdf(*MakeBenchVocabulary(100, {.LongTranslations = true}), job, file,
                       QPageSize(QPageSize::A4));
  const long before = StatusKiB("VmHWM:");
  for (auto _ : state) PrintVocabularyToPdf(*vocab, job, file, QPageSize(QPageSize::A4));
  state.counters["peak_growth_MiB"] = static_cast<double>(StatusKiB("VmHWM:") - before) / 1024.0;
  const double fileMiB = static_cast<double>(QFileInfo(file).size()) / (1024.0 * 1024.0);
  state.counters["pdf_MiB"] = fileMiB;
  state.counters["pages"] = static_cast<double>(PageCount(file));
}
BENCHMARK(BM_PrintToPdf)->Arg(100'000)->Iterations(1)->Unit(benchmark::kMillisecond);
}  // namespace
