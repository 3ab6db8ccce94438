// SPDX-License-Identifier: MIT
// The test run's Continue step: from Enter on a shown result to the next question painted, typed
// and multiple choice, and the memory a long run keeps.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "app/TestPanel.h"
#include "settings/RegUtils.h"
#include "vocab/VocFile.h"

#include "BenchVocab.h"

namespace {
TVocabFile& Vocabulary(int32_t count) {
  static std::map<int32_t, std::unique_ptr<TVocabFile>> made;
  auto& v = made[count];
  if (!v) v = MakeBenchVocabulary(count, {.Tested = true});
  return *v;
}

// A panel the size of the main window's client area, asking as the main window does: the next
// question is selected and shown, wrong answers keep every entry in the run.
struct TRun {
  TSettings settings;
  TTestPanel panel;
  QPushButton* enter = nullptr;
  QLineEdit* response = nullptr;

  TRun(TVocabFile& vocab, bool choice) {
    settings.RightSound.clear();
    settings.WrongSound.clear();
    panel.SetVocabulary(&vocab);
    panel.SetSettings(&settings);
    panel.Run().MultipleChoice = choice;
    panel.NextQuestion = [this, &vocab] {
      if (vocab.SelectNextQuestion()) panel.ShowQuestion();
    };
    panel.resize(552, 300);
    panel.show();
    enter = panel.findChild<QPushButton*>("btnEnter");
    response = panel.findChild<QLineEdit*>("edtResponse");
    vocab.SelectNextQuestion();
    panel.LayoutTestPanel();
    panel.ShowQuestion();
    QApplication::processEvents();
  }
  // Answers wrongly, so the result is shown.
  void Answer() {
    if (!panel.Run().MultipleChoice) response->setText("?");
    enter->click();
  }
  // Continue, then paint what it changed.
  void Continue() {
    enter->click();
    panel.repaint();
  }
};

void Continue(benchmark::State& state, bool choice) {
  TVocabFile& vocab = Vocabulary(static_cast<int32_t>(state.range(0)));
  TRun run(vocab, choice);
  for (auto _ : state) {
    state.PauseTiming();
    run.Answer();
    state.ResumeTiming();
    run.Continue();
  }
  if (!run.panel.Run().Answered && vocab.QuestionCount() == 0) state.SkipWithError("no answer");
}

void BM_ContinueTyped(benchmark::State& state) {
  Continue(state, false);
}
BENCHMARK(BM_ContinueTyped)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_ContinueChoice(benchmark::State& state) {
  Continue(state, true);
}
BENCHMARK(BM_ContinueChoice)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    long value = 0;
    if (key == "VmRSS:" && status >> value) return value;
    status.ignore(256, '\n');
  }
  return 0;
}

// 10,000 questions answered and continued, after 1,000 to warm up: the growth of the resident
// set size, in KiB.
void BM_RunMemory(benchmark::State& state) {
  TVocabFile& vocab = Vocabulary(10'000);
  TRun run(vocab, state.range(0) != 0);
  long growth = 0;
  for (auto _ : state) {
    for (int i = 0; i < 1'000; ++i) {
      run.Answer();
      run.Continue();
    }
    QApplication::processEvents();
    const long before = ResidentKiB();
    for (int i = 0; i < 10'000; ++i) {
      run.Answer();
      run.Continue();
    }
    QApplication::processEvents();
    growth = ResidentKiB() - before;
  }
  state.counters["growth_KiB"] = static_cast<double>(growth);
}
BENCHMARK(BM_RunMemory)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
}  // namespace
