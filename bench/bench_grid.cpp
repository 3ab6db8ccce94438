// SPDX-License-Identifier: MIT
// The vocabulary list at large sizes: opening and showing, scrolling, selecting, type-ahead,
// reordering by drag and drop, and the column width.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStatusBar>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "app/StatusPanels.h"
#include "app/VocabGrid.h"
#include "text/Random.h"
#include "vocab/VocFile.h"

#include "BenchVocab.h"

namespace {
std::unique_ptr<TVocabFile> MakeVocabulary(int32_t count) {
  auto v =
      MakeBenchVocabulary(count, {.VaryFirstLetter = true, .Tested = true, .SomeLearnt = true});
  v->SetItemIndex(0);
  return v;
}

// One grid the size of the main window's client area, shown on the offscreen screen.
TVocabGrid& Grid() {
  static TVocabGrid* grid = [] {
    auto* g = new TVocabGrid;
    g->ApplyDisplayFont("DejaVu Sans", 8);
    g->resize(552, 330);
    g->show();
    QApplication::processEvents();
    return g;
  }();
  return *grid;
}

TVocabFile& Million() {
  static std::unique_ptr<TVocabFile> vocab = MakeVocabulary(1'000'000);
  return *vocab;
}

// The grid showing the million entries, measured and painted.
TVocabGrid& MillionGrid() {
  TVocabGrid& grid = Grid();
  if (grid.Vocabulary() != &Million()) {
    grid.SetVocabulary(&Million());
    grid.RefreshList();
    grid.FinishMeasuring();
    grid.viewport()->repaint();
  }
  return grid;
}

void Paint(TVocabGrid& grid) {
  grid.viewport()->repaint();
  QApplication::processEvents();
}

void SendKey(QWidget* widget, int key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(widget, &release);
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(pos), widget->mapToGlobal(QPointF(pos)), button, buttons,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

std::string TempFile(const char* name) {
  return (std::filesystem::temp_directory_path() / name).string();
}

// Open: load the file, make entry 0 current, show the list and paint it once.
void BM_OpenAndShow(benchmark::State& state) {
  const auto count = static_cast<int32_t>(state.range(0));
  const std::string path = TempFile("dadezivu-bench-grid.doz");
  MakeVocabulary(count)->SaveToFile(path);
  TVocabGrid& grid = Grid();
  for (auto _ : state) {
    auto vocab = std::make_unique<TVocabFile>();
    vocab->LoadFromFile(path);
    vocab->SetItemIndex(0);
    grid.SetVocabulary(vocab.get());
    grid.RefreshList();
    Paint(grid);
    state.PauseTiming();
    grid.SetVocabulary(nullptr);
    vocab.reset();
    state.ResumeTiming();
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_OpenAndShow)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The same without the file: a vocabulary in memory, none of its entries measured.
void BM_ShowVocabulary(benchmark::State& state) {
  auto vocab = MakeVocabulary(static_cast<int32_t>(state.range(0)));
  TVocabGrid& grid = Grid();
  for (auto _ : state) {
    grid.SetVocabulary(vocab.get());
    grid.RefreshList();
    Paint(grid);
    state.PauseTiming();
    grid.SetVocabulary(nullptr);
    for (TVocabItem* e : vocab->Items()) e->DisplayWidth = 0;
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ShowVocabulary)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The column width after opening, with one very long entry far down the list: all the work on
// widths (done in idle slices after showing), in CPU time. The column must reach that entry.
void BM_WidthsAfterOpening(benchmark::State& state) {
  auto vocab = MakeVocabulary(static_cast<int32_t>(state.range(0)));
  const int32_t longIndex = vocab->Count() * 9 / 10;
  vocab->GetItem(longIndex).Values[Native] = std::string(200, 'm');
  TVocabGrid& grid = Grid();
  int measured = 0;
  for (auto _ : state) {
    state.PauseTiming();
    grid.SetVocabulary(nullptr);
    for (TVocabItem* e : vocab->Items()) e->DisplayWidth = 0;
    state.ResumeTiming();
    grid.SetVocabulary(vocab.get());
    grid.RefreshList();
    grid.FinishMeasuring();
    state.PauseTiming();
    measured = 0;
    for (const TVocabItem* e : vocab->Items()) measured += e->DisplayWidth > 0;
    if (grid.ColumnWidth() < grid.MeasureItem(longIndex)) state.SkipWithError("column too narrow");
    state.ResumeTiming();
  }
  state.counters["measured"] = measured;
  grid.SetVocabulary(nullptr);
}
BENCHMARK(BM_WidthsAfterOpening)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Scrolling: the scroll box dragged to another place, and Page Down, each with the repaint.
void BM_ScrollJump(benchmark::State& state) {
  TVocabGrid& grid = MillionGrid();
  QScrollBar* bar = grid.verticalScrollBar();
  SetRandSeed(7);
  for (auto _ : state) {
    bar->setValue(Random(bar->maximum() + 1));
    Paint(grid);
  }
}
BENCHMARK(BM_ScrollJump)->Unit(benchmark::kMillisecond);

void BM_PageDown(benchmark::State& state) {
  TVocabGrid& grid = MillionGrid();
  Million().SetItemIndex(Million().Count() / 2);
  grid.RefreshList();
  for (auto _ : state) {
    SendKey(&grid, Qt::Key_PageDown);
    Paint(grid);
  }
}
BENCHMARK(BM_PageDown)->Unit(benchmark::kMillisecond);

// Selection: a click on a shown row and the arrow key, each making that entry current.
void BM_ClickRow(benchmark::State& state) {
  TVocabGrid& grid = MillionGrid();
  Million().SetItemIndex(654'321);
  grid.RefreshList();
  const int rows = grid.viewport()->height() / grid.RowHeight();
  int n = 0;
  for (auto _ : state) {
    const int row = grid.verticalScrollBar()->value() + (n++ % rows);
    const QPoint pos(20, grid.rowViewportPosition(row) + grid.RowHeight() / 2);
    SendMouse(grid.viewport(), QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
    SendMouse(grid.viewport(), QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
    Paint(grid);
    benchmark::DoNotOptimize(Million().ItemIndex());
  }
}
BENCHMARK(BM_ClickRow)->Unit(benchmark::kMillisecond);

void BM_ArrowDown(benchmark::State& state) {
  TVocabGrid& grid = MillionGrid();
  Million().SetItemIndex(100'000);
  grid.RefreshList();
  for (auto _ : state) {
    SendKey(&grid, Qt::Key_Down);
    Paint(grid);
  }
}
BENCHMARK(BM_ArrowDown)->Unit(benchmark::kMillisecond);

// Type-ahead: the next entry with a letter, and the worst case, a character no entry begins
// with, which tests all million entries.
void BM_TypeAheadNext(benchmark::State& state) {
  TVocabGrid& grid = MillionGrid();
  Million().SetItemIndex(500'000);
  grid.RefreshList();
  for (auto _ : state) {
    SendKey(&grid, Qt::Key_K, "k");
    Paint(grid);
  }
}
BENCHMARK(BM_TypeAheadNext)->Unit(benchmark::kMillisecond);

void BM_TypeAheadNoMatch(benchmark::State& state) {
  TVocabGrid& grid = MillionGrid();
  Million().SetItemIndex(500'000);
  grid.RefreshList();
  for (auto _ : state) {
    SendKey(&grid, Qt::Key_9, "9");
    Paint(grid);
  }
  if (Million().ItemIndex() != 500'000) state.SkipWithError("type-ahead moved");
}
BENCHMARK(BM_TypeAheadNoMatch)->Unit(benchmark::kMillisecond);

// A drag of the current row onto another shown row: the move, the refresh and the repaint.
void BM_DragAndDrop(benchmark::State& state) {
  TVocabGrid& grid = MillionGrid();
  Million().SetItemIndex(10);
  grid.RefreshList();
  QWidget* viewport = grid.viewport();
  const auto centre = [&](int row) {
    return QPoint(20, grid.rowViewportPosition(row) + grid.RowHeight() / 2);
  };
  const int top = grid.verticalScrollBar()->value();
  int from = top + 1;
  int to = top + 5;
  for (auto _ : state) {
    const QPoint start = centre(from);
    SendMouse(viewport, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    SendMouse(viewport, QEvent::MouseMove, start + QPoint(0, 1), Qt::NoButton, Qt::LeftButton);
    SendMouse(viewport, QEvent::MouseMove, start + QPoint(0, 4), Qt::NoButton, Qt::LeftButton);
    SendMouse(viewport, QEvent::MouseMove, centre(to), Qt::NoButton, Qt::LeftButton);
    SendMouse(viewport, QEvent::MouseButtonRelease, centre(to), Qt::LeftButton, Qt::NoButton);
    Paint(grid);
    std::swap(from, to);
  }
  if (Million().JournalPos() == 0) state.SkipWithError("nothing moved");
  Million().ClearJournal();
}
BENCHMARK(BM_DragAndDrop)->Unit(benchmark::kMillisecond);

// The idle-time status bar update, which counts the learnt entries.
void BM_UpdateStatusBar(benchmark::State& state) {
  QStatusBar bar;
  TStatusPanels panels(&bar);
  TVocabFile& vocab = Million();
  for (auto _ : state) panels.UpdateStatusBar(vocab, false);
}
BENCHMARK(BM_UpdateStatusBar)->Unit(benchmark::kMillisecond);
}  // namespace
