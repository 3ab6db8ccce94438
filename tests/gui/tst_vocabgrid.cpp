// SPDX-License-Identifier: MIT
// Tests of the vocabulary list: model, drawing, measuring, keys, dragging and status panels.
#include <QAbstractEventDispatcher>
#include <QAbstractItemModelTester>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QtTest>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/StatusPanels.h"
#include "app/VocabGrid.h"
#include "text/DrawItem.h"
#include "vocab/VocFile.h"

namespace {
struct TRow {
  std::string Foreign;
  std::string Category = {};
  std::string Notes = {};
  std::string Native = {};
  int32_t SortPos = 0;
  int32_t PenaltyPoints = 0;
};

std::unique_ptr<TVocabFile> MakeVocabulary(const std::vector<TRow>& rows) {
  auto vocab = std::make_unique<TVocabFile>();
  vocab->SetForeignLangID(0x0407);
  vocab->SetNativeLangID(0x0409);
  for (const TRow& row : rows) {
    TVocabItem& e = vocab->EditItem();
    e.Values = {row.Foreign, row.Category, row.Notes, row.Native};
    e.SortPos = row.SortPos;
    e.PenaltyPoints = row.PenaltyPoints;
    vocab->AddItem(2);
  }
  vocab->ClearJournal();
  vocab->SetModified(false);
  if (vocab->Count() > 0) vocab->SetItemIndex(0);
  return vocab;
}

std::unique_ptr<TVocabFile> NumberedVocabulary(int count) {
  std::vector<TRow> rows;
  for (int i = 0; i < count; ++i) rows.push_back({"w" + std::to_string(i), "", "", "t"});
  return MakeVocabulary(rows);
}

std::string Words(const TVocabFile& vocab) {
  std::string words;
  for (const TVocabItem* e : vocab.Items()) words += (words.empty() ? "" : " ") + e->Values[0];
  return words;
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QMouseEvent event(type, QPointF(pos), widget->mapToGlobal(QPointF(pos)), button, buttons,
                    modifiers);
  QCoreApplication::sendEvent(widget, &event);
}

// A typed character as the keyboard delivers it, also where QTest knows no key for it.
void Type(QWidget* widget, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
  QCoreApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
  QCoreApplication::sendEvent(widget, &release);
}

// A shown grid of a known font over vocab, refreshed.
struct TShownGrid {
  explicit TShownGrid(TVocabFile* vocab, int width = 320, int height = 200) {
    grid.ApplyDisplayFont("DejaVu Sans", 10);
    grid.resize(width, height);
    grid.SetVocabulary(vocab);
    grid.show();
    grid.RefreshList();
  }
  QWidget* Viewport() const { return grid.viewport(); }
  QPoint RowCentre(int row) const {
    return {10, grid.rowViewportPosition(row) + grid.RowHeight() / 2};
  }
  // Press on row `from`, start a drag and release at `to` (viewport coordinates).
  void Drag(int from, QPoint to) {
    const QPoint start = RowCentre(from);
    SendMouse(Viewport(), QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    SendMouse(Viewport(), QEvent::MouseMove, start + QPoint(0, 1), Qt::NoButton, Qt::LeftButton);
    SendMouse(Viewport(), QEvent::MouseMove, start + QPoint(0, 1 + 3), Qt::NoButton,
              Qt::LeftButton);
    SendMouse(Viewport(), QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    SendMouse(Viewport(), QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  }
  QImage Grab() { return Viewport()->grab().toImage(); }

  TVocabGrid grid;
};

int CountPixels(const QImage& image, const QRect& area, QRgb colour) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) n += image.pixel(x, y) == colour;
  }
  return n;
}

QRect RowArea(const TVocabGrid& grid, int row) {
  return {0, grid.rowViewportPosition(row), grid.viewport()->width(), grid.RowHeight()};
}
}  // namespace

class TestVocabGrid : public QObject {
  Q_OBJECT
private slots:
  void modelKeepsInStepWithTheVocabulary();
  void emptyVocabularyShowsOneBlankRow();
  void typeAheadFindsTheNextEntryPastSortPos();
  void draggingRowTwoOntoRowFiveIsOneMove();
  void dropsThatMoveNothing();
  void holdingADragOutsideScrollsUntilTheEnd();
  void selectionFollowsTheCurrentEntry();
  void learntRowsUseTheLearntColour();
  void cutMarkIsDrawnAndCleared();
  void columnFitsTheWidestEntry();
  void largerFontMakesTallerRowsAndWiderColumn();
  void widestEntryIsFoundWithoutMeasuringAll();
  void otherCodePagesAreMeasuredAgain();
  void doubleClickAsksForEditOnlyWithACurrentEntry();
  void statusBarPanels();
  void panelsShowTheirTextsWhole();
};

void TestVocabGrid::modelKeepsInStepWithTheVocabulary() {
  // The Russian entry is in code page 1251: the bytes spell "кошка".
  auto vocab = MakeVocabulary({{"\xEA\xEE\xF8\xEA\xE0", "n", "", "cat"}, {"b"}, {"c"}});
  vocab->SetForeignLangID(0x0419);
  TVocabModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
  QCOMPARE(model.rowCount(), 1);
  model.SetVocabulary(vocab.get());
  QCOMPARE(model.rowCount(), 3);
  QCOMPARE(model.data(model.index(0, 0)).toString(), QString::fromUtf8("кошка n cat"));

  for (int i = 0; i < 4; ++i) {
    vocab->EditItem().Values = {"new", "", "", ""};
    vocab->AddItem(0);
  }
  model.Refresh();
  QCOMPARE(model.rowCount(), 7);
  QCOMPARE(model.data(model.index(0, 0)).toString(), QString("new"));
  while (vocab->Count() > 0) vocab->DeleteCurrent();
  model.Refresh();
  QCOMPARE(model.rowCount(), 1);
  QCOMPARE(model.data(model.index(0, 0)).toString(), QString());
  model.SetVocabulary(nullptr);
  QCOMPARE(model.rowCount(), 1);
}

void TestVocabGrid::emptyVocabularyShowsOneBlankRow() {
  auto vocab = MakeVocabulary({});
  TShownGrid shown(vocab.get());
  TVocabGrid& grid = shown.grid;
  QCOMPARE(grid.model()->rowCount(), 1);

  SendMouse(shown.Viewport(), QEvent::MouseButtonPress, shown.RowCentre(0), Qt::LeftButton,
            Qt::LeftButton);
  SendMouse(shown.Viewport(), QEvent::MouseButtonRelease, shown.RowCentre(0), Qt::LeftButton,
            Qt::NoButton);
  QCOMPARE(grid.currentIndex().row(), 0);
  QCOMPARE(vocab->ItemIndex(), -1);

  // Selected or not, the row is plain window colour.
  const QImage image = shown.Grab();
  const QRect row = RowArea(grid, 0);
  const QRgb base = grid.palette().color(QPalette::Base).rgb();
  QCOMPARE(CountPixels(image, row.adjusted(1, 1, -1, -1), base),
           (row.width() - 2) * (row.height() - 2));

  // Deleting the only entry leaves the blank row.
  vocab->EditItem().Values = {"x", "", "", "y"};
  vocab->AddItem(2);
  grid.RefreshList();
  QCOMPARE(grid.currentIndex().row(), 0);
  vocab->DeleteCurrent();
  grid.RefreshList();
  QCOMPARE(grid.model()->rowCount(), 1);
  QCOMPARE(vocab->ItemIndex(), -1);
  QVERIFY(!grid.selectionModel()->hasSelection());
}

void TestVocabGrid::typeAheadFindsTheNextEntryPastSortPos() {
  auto vocab = MakeVocabulary({
      {"der Hund", "", "", "dog", 4},   // 0
      {"Dach", "", "", "roof"},         // 1
      {"Apfel", "", "", "apple"},       // 2
      {"die Hand", "", "", "hand", 4},  // 3
      {"...Zebra", "", "", "zebra"},    // 4: punctuation is skipped
      {"\xC4hre", "", "", "ear"},       // 5: "Ähre" in code page 1252
      {"  ", "", "", "blank"},          // 6: nothing to match
  });
  TShownGrid shown(vocab.get());
  struct TCase {
    int Start;
    QString Typed;
    int Expected;
  };
  const TCase cases[] = {
      {2, "h", 3},  // the next entry after the current one
      {3, "h", 0},  // wraps around
      {0, "d", 1},  // "der Hund" skips its article
      {1, "d", 1},  // the current entry is tested last
      {2, "x", 2},  // nothing begins with x
      {2, "Z", 4},  // case-blind
      {0, QString::fromUtf8("ä"), 5},
      {-1, "a", 2},  // without a current entry the search starts at the top
      {2, " ", 2},   // a space does nothing
  };
  for (const TCase& c : cases) {
    vocab->SetItemIndex(c.Start);
    shown.grid.RefreshList();
    Type(&shown.grid, c.Typed);
    QCOMPARE(vocab->ItemIndex(), c.Expected);
    if (c.Expected >= 0) QCOMPARE(shown.grid.currentIndex().row(), c.Expected);
  }
}

void TestVocabGrid::draggingRowTwoOntoRowFiveIsOneMove() {
  auto vocab = NumberedVocabulary(10);
  TShownGrid shown(vocab.get(), 320, 300);
  shown.grid.SetCutRow(7);
  shown.Drag(2, shown.RowCentre(5));
  QCOMPARE(Words(*vocab), std::string("w0 w1 w3 w4 w5 w2 w6 w7 w8 w9"));
  QCOMPARE(vocab->ItemIndex(), 5);
  QCOMPARE(shown.grid.currentIndex().row(), 5);
  QCOMPARE(shown.grid.CutRow(), -1);  // dragging clears the Cut mark
  QCOMPARE(shown.grid.DropRow(), -1);
  QVERIFY(!shown.grid.Dragging());
  QCOMPARE(vocab->JournalPos(), 1);
  QCOMPARE(vocab->UndoKind(), uint8_t(jkMove));

  vocab->Undo();
  shown.grid.RefreshList();
  QCOMPARE(Words(*vocab), std::string("w0 w1 w2 w3 w4 w5 w6 w7 w8 w9"));
  QCOMPARE(vocab->ItemIndex(), 2);
  QCOMPARE(shown.grid.currentIndex().row(), 2);
  QCOMPARE(vocab->JournalPos(), 0);
}

void TestVocabGrid::dropsThatMoveNothing() {
  auto vocab = NumberedVocabulary(10);
  TShownGrid shown(vocab.get());
  TVocabGrid& grid = shown.grid;
  // Leave half a row at the bottom of the grid, below the last full row.
  const int rowHeight = grid.RowHeight();
  grid.resize(grid.width(),
              grid.height() - grid.viewport()->height() + 4 * rowHeight + rowHeight / 2);
  QCOMPARE(grid.viewport()->height() / rowHeight, 4);
  const int lastFullLine = 4 * rowHeight - 1;
  const QPoint targets[] = {
      shown.RowCentre(2) + QPoint(0, 2),    // onto itself
      QPoint(10, lastFullLine + 2),         // the partly shown row
      QPoint(10, -15),                      // above the grid
      QPoint(-20, shown.RowCentre(3).y()),  // beside it
  };
  for (const QPoint& target : targets) {
    vocab->SetItemIndex(0);
    grid.RefreshList();
    shown.Drag(2, target);
    QCOMPARE(Words(*vocab), std::string("w0 w1 w2 w3 w4 w5 w6 w7 w8 w9"));
    QCOMPARE(vocab->JournalPos(), 0);
    QCOMPARE(vocab->ItemIndex(), 2);
    QVERIFY(!grid.Dragging());
    QCOMPARE(grid.DropRow(), -1);
    QVERIFY(!grid.findChild<QTimer*>("timDragScroll")->isActive());
  }
}

void TestVocabGrid::holdingADragOutsideScrollsUntilTheEnd() {
  auto vocab = NumberedVocabulary(30);
  TShownGrid shown(vocab.get(), 320, 120);
  TVocabGrid& grid = shown.grid;
  auto* timer = grid.findChild<QTimer*>("timDragScroll");
  QVERIFY(timer);
  QScrollBar* bar = grid.verticalScrollBar();
  const QPoint start = shown.RowCentre(1);
  SendMouse(shown.Viewport(), QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
  SendMouse(shown.Viewport(), QEvent::MouseMove, start + QPoint(0, 1), Qt::NoButton,
            Qt::LeftButton);
  SendMouse(shown.Viewport(), QEvent::MouseMove, start + QPoint(0, 4), Qt::NoButton,
            Qt::LeftButton);
  QVERIFY(grid.Dragging());
  QVERIFY(!timer->isActive());

  const int below = shown.Viewport()->height() + 10;
  SendMouse(shown.Viewport(), QEvent::MouseMove, QPoint(10, below), Qt::NoButton, Qt::LeftButton);
  QCOMPARE(grid.DragScrollDirection(), 1);
  QVERIFY(timer->isActive());
  QCOMPARE(timer->interval(), 40);
  QTRY_COMPARE_WITH_TIMEOUT(bar->value(), 30 - grid.viewport()->height() / grid.RowHeight(), 5000);
  QCOMPARE(bar->value(), bar->maximum());
  // The last row is fully visible and scrolling has stopped there.
  QVERIFY(grid.rowViewportPosition(29) + grid.RowHeight() <= grid.viewport()->height());
  QTest::qWait(150);
  QCOMPARE(bar->value(), bar->maximum());

  // Back over the grid scrolling stops; leaving it upwards scrolls back to the top.
  SendMouse(shown.Viewport(), QEvent::MouseMove, shown.RowCentre(bar->value() + 1), Qt::NoButton,
            Qt::LeftButton);
  QVERIFY(!timer->isActive());
  SendMouse(shown.Viewport(), QEvent::MouseMove, QPoint(10, -5), Qt::NoButton, Qt::LeftButton);
  QCOMPARE(grid.DragScrollDirection(), -1);
  QTRY_COMPARE_WITH_TIMEOUT(bar->value(), 0, 5000);

  SendMouse(shown.Viewport(), QEvent::MouseButtonRelease, QPoint(10, -5), Qt::LeftButton,
            Qt::NoButton);
  QVERIFY(!timer->isActive());
  QVERIFY(!grid.Dragging());
  QCOMPARE(vocab->JournalPos(), 0);
}

void TestVocabGrid::selectionFollowsTheCurrentEntry() {
  auto vocab = NumberedVocabulary(50);
  TShownGrid shown(vocab.get(), 320, 150);
  TVocabGrid& grid = shown.grid;
  const int visible = grid.viewport()->height() / grid.RowHeight();

  vocab->SetItemIndex(40);
  grid.RefreshList();
  QCOMPARE(grid.currentIndex().row(), 40);
  QCOMPARE(grid.verticalScrollBar()->value(), 40 - visible + 1);  // shown as the last full row
  vocab->SetItemIndex(3);
  grid.RefreshList();
  QCOMPARE(grid.verticalScrollBar()->value(), 3);  // shown as the top row

  // Mouse and keyboard make the highlighted row's entry current.
  SendMouse(shown.Viewport(), QEvent::MouseButtonPress, shown.RowCentre(5), Qt::LeftButton,
            Qt::LeftButton);
  SendMouse(shown.Viewport(), QEvent::MouseButtonRelease, shown.RowCentre(5), Qt::LeftButton,
            Qt::NoButton);
  QCOMPARE(vocab->ItemIndex(), 5);
  QTest::keyClick(&grid, Qt::Key_Down);
  QCOMPARE(vocab->ItemIndex(), 6);
  // Ctrl neither removes the highlight nor moves the current row without it.
  SendMouse(shown.Viewport(), QEvent::MouseButtonPress, shown.RowCentre(6), Qt::LeftButton,
            Qt::LeftButton, Qt::ControlModifier);
  SendMouse(shown.Viewport(), QEvent::MouseButtonRelease, shown.RowCentre(6), Qt::LeftButton,
            Qt::NoButton, Qt::ControlModifier);
  QCOMPARE(grid.selectionModel()->selectedRows(), QModelIndexList{grid.currentIndex()});
  QTest::keyClick(&grid, Qt::Key_Down, Qt::ControlModifier);
  QCOMPARE(grid.selectionModel()->selectedRows(), QModelIndexList{grid.currentIndex()});
  QCOMPARE(vocab->ItemIndex(), 7);
  QTest::keyClick(&grid, Qt::Key_End);
  QCOMPARE(vocab->ItemIndex(), 49);
  QTest::keyClick(&grid, Qt::Key_Home);
  QCOMPARE(vocab->ItemIndex(), 0);

  // Deleting the last entry makes the new last one current; the refresh does not disturb it.
  vocab->SetItemIndex(49);
  grid.RefreshList();
  vocab->DeleteCurrent();
  grid.RefreshList();
  QCOMPARE(vocab->ItemIndex(), 48);
  QCOMPARE(grid.currentIndex().row(), 48);

  // Without a current entry nothing is highlighted.
  vocab->SetItemIndex(-1);
  grid.RefreshList();
  QVERIFY(!grid.selectionModel()->hasSelection());
  QCOMPARE(vocab->ItemIndex(), -1);
}

void TestVocabGrid::learntRowsUseTheLearntColour() {
  auto vocab = MakeVocabulary({{"open", "", "", "offen"},
                               {"learnt", "", "", "gelernt", 0, -1},
                               {"selected", "", "", "markiert", 0, -1}});
  TShownGrid shown(vocab.get());
  TVocabGrid& grid = shown.grid;
  QCOMPARE(grid.LearntColour(), QColor(0x80, 0x80, 0x80));
  const QColor red(255, 0, 0);
  grid.SetLearntColour(red);
  vocab->SetItemIndex(2);
  grid.RefreshList();
  const QImage image = shown.Grab();
  QCOMPARE(CountPixels(image, RowArea(grid, 0), red.rgb()), 0);
  QVERIFY(CountPixels(image, RowArea(grid, 1), red.rgb()) > 20);
  QCOMPARE(CountPixels(image, RowArea(grid, 2), red.rgb()), 0);
  const QRgb highlight = grid.palette().color(QPalette::Highlight).rgb();
  QVERIFY(CountPixels(image, RowArea(grid, 2), highlight) > RowArea(grid, 2).width() * 4);
  QCOMPARE(CountPixels(image, RowArea(grid, 1), highlight), 0);
}

void TestVocabGrid::cutMarkIsDrawnAndCleared() {
  auto vocab = NumberedVocabulary(4);
  TShownGrid shown(vocab.get());
  TVocabGrid& grid = shown.grid;
  const QRgb text = grid.palette().color(QPalette::Text).rgb();
  const QRect topLine(0, grid.rowViewportPosition(1), grid.viewport()->width(), 1);
  QCOMPARE(CountPixels(shown.Grab(), topLine, text), 0);
  grid.SetCutRow(1);
  QVERIFY(CountPixels(shown.Grab(), topLine, text) > topLine.width() / 4);
  grid.ClearCutMark();
  QCOMPARE(grid.CutRow(), -1);
  QCOMPARE(CountPixels(shown.Grab(), topLine, text), 0);
}

void TestVocabGrid::columnFitsTheWidestEntry() {
  auto vocab = MakeVocabulary({{"a", "", "", "b"}, {"c", "n", "", "d"}});
  TShownGrid shown(vocab.get());
  TVocabGrid& grid = shown.grid;
  QCOMPARE(grid.ColumnWidth(), grid.viewport()->width());
  QVERIFY(!grid.horizontalScrollBar()->isVisible());

  vocab->EditItem().Values = {std::string(60, 'W'), "noun", "some notes", "a long translation"};
  vocab->AddItem(2);
  grid.RefreshList();
  const int32_t wide = grid.MeasureItem(2);
  QCOMPARE(vocab->GetItem(2).DisplayWidth, wide);
  QCOMPARE(grid.ColumnWidth(), wide);
  QTRY_VERIFY(grid.horizontalScrollBar()->isVisible());

  // What is drawn ends within the measured width, close to its end.
  QImage image(wide + 40, grid.RowHeight(), QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    grid.dgVocabDrawCell(painter, QRect(0, 0, image.width(), image.height()), 2, false, false);
  }
  const QRgb base = grid.palette().color(QPalette::Base).rgb();
  int rightmost = -1;
  for (int x = 0; x < image.width(); ++x) {
    for (int y = 0; y < image.height(); ++y) {
      if (image.pixel(x, y) != base) rightmost = x;
    }
  }
  QVERIFY2(rightmost < wide && rightmost > wide - 16,
           qPrintable(QString("drawn to %1, measured %2").arg(rightmost).arg(wide)));

  // An entry without part of speech still counts the 6 pixels of spacing.
  vocab->EditItem().Values = {"x", "", "", ""};
  vocab->AddItem(2);
  QFont bold = grid.DisplayFont();
  bold.setBold(true);
  QCOMPARE(grid.MeasureItem(3), QFontMetrics(bold, &grid).horizontalAdvance("x ") + 6);

  vocab->SetItemIndex(2);
  vocab->DeleteCurrent();
  grid.RefreshList();
  QCOMPARE(grid.ColumnWidth(), grid.viewport()->width());
}

void TestVocabGrid::largerFontMakesTallerRowsAndWiderColumn() {
  std::vector<TRow> rows(200, TRow{"Fernsehapparat", "n", "", "television set"});
  auto vocab = MakeVocabulary(rows);
  TShownGrid shown(vocab.get(), 500, 200);
  TVocabGrid& grid = shown.grid;
  grid.FinishMeasuring();
  const int oldHeight = grid.RowHeight();
  const int oldWidth = vocab->GetItem(0).DisplayWidth;
  QCOMPARE(oldHeight, QFontMetrics(grid.DisplayFont(), &grid).height() + 6);
  QCOMPARE(grid.ColumnWidth(), grid.viewport()->width());

  grid.ApplyDisplayFont("DejaVu Sans", 24);
  grid.FinishMeasuring();
  QVERIFY(grid.RowHeight() > oldHeight);
  QCOMPARE(grid.rowHeight(150), grid.RowHeight());
  QVERIFY(vocab->GetItem(150).DisplayWidth > oldWidth);
  QCOMPARE(grid.ColumnWidth(), std::max(vocab->GetItem(0).DisplayWidth, grid.viewport()->width()));
  QVERIFY(grid.ColumnWidth() > grid.viewport()->width());
}

// The widest entry far out of view sets the column, found without measuring every entry, also
// where it is not the longest in bytes; where too many could be the widest, the column takes a
// bound that is never too narrow.
void TestVocabGrid::widestEntryIsFoundWithoutMeasuringAll() {
  const std::string kKerned = QString("AV").repeated(20).toStdString();
  const struct {
    const char* Name;
    std::vector<TRow> Far;
    uint16_t Native = 0x0409;
  } cases[] = {
      {"one long word", {{std::string(80, 'M'), "", "", "wide"}}},
      {"narrow letters lose to wide ones",
       {{std::string(70, 'i'), "", "", "x"}, {std::string(40, 'W'), "", "", "x"}}},
      {"kerned pairs", {{std::string(90, 'l'), "", "", "x"}, {kKerned, "", "", "x"}}},
      {"all four fields", {{"Haus", "noun", std::string(30, 'm'), "house, home"}}},
      {"Cyrillic translation", {{"Tee", "", "", std::string(40, '\xC6')}}, 0x0419},
  };
  for (const auto& c : cases) {
    std::vector<TRow> rows(20'000, TRow{"kurz", "", "", "short"});
    for (size_t i = 0; i < c.Far.size(); ++i) rows[15'000 + 1000 * i] = c.Far[i];
    auto vocab = MakeVocabulary(rows);
    vocab->SetNativeLangID(c.Native);
    TShownGrid shown(vocab.get());
    TVocabGrid& grid = shown.grid;
    QTRY_VERIFY(!grid.MeasuringPending());
    int32_t widest = 0;
    int measured = 0;
    for (int32_t i = 0; i < vocab->Count(); ++i) {
      measured += vocab->GetItem(i).DisplayWidth > 0;
      widest = std::max(widest, grid.MeasureItem(i));
    }
    QVERIFY2(widest > grid.viewport()->width(), c.Name);
    QVERIFY2(
        grid.ColumnWidth() == widest,
        qPrintable(QString("%1: %2, widest %3").arg(c.Name).arg(grid.ColumnWidth()).arg(widest)));
    QVERIFY2(measured <= grid.viewport()->height() / grid.RowHeight() + 8, c.Name);
  }

  std::vector<TRow> alike;
  for (int i = 0; i < 6000; ++i)
    alike.push_back({"Wort" + std::to_string(100'000 + i), "", "", "word"});
  auto vocab = MakeVocabulary(alike);
  TShownGrid shown(vocab.get(), 100, 200);
  TVocabGrid& grid = shown.grid;
  QTRY_VERIFY(!grid.MeasuringPending());
  int32_t widest = 0;
  for (int32_t i = 0; i < vocab->Count(); ++i) widest = std::max(widest, grid.MeasureItem(i));
  QVERIFY(grid.ColumnWidth() >= widest && grid.ColumnWidth() <= widest + widest / 8 + 4);
  int measured = 0;
  for (const TVocabItem* e : vocab->Items()) measured += e->DisplayWidth > 0;
  QVERIFY(measured < 5000);

  // An entry added out of view later widens the column at the next refresh.
  vocab->EditItem().Values = {std::string(60, 'W'), "", "", "wide"};
  vocab->AddItem(2);
  vocab->SetItemIndex(0);
  grid.RefreshList();
  QTRY_VERIFY(!grid.MeasuringPending());
  QCOMPARE(grid.ColumnWidth(), grid.MeasureItem(vocab->Count() - 1));
}

void TestVocabGrid::otherCodePagesAreMeasuredAgain() {
  auto vocab = MakeVocabulary({{"\xC6", "", "", "\xC6\xC6"}});
  TShownGrid shown(vocab.get());
  TVocabGrid& grid = shown.grid;
  QCOMPARE(grid.model()->data(grid.model()->index(0, 0)).toString(), QString::fromUtf8("Æ ÆÆ"));
  // Same character sets while the list is shown: nothing to do.
  QVERIFY(!grid.UpdateCharsets(0x0407, 0x0409, false));
  QVERIFY(grid.UpdateCharsets(0x0407, 0x0409, true));
  QVERIFY(grid.UpdateCharsets(0x0407, 0x0419, false));
  QCOMPARE(grid.NativeCharset(), uint8_t(204));

  // The same bytes in the Russian code page are other letters, with other widths.
  vocab->GetItem(0).DisplayWidth = 12345;
  grid.RefreshList();
  QCOMPARE(vocab->GetItem(0).DisplayWidth, 12345);
  vocab->SetNativeLangID(0x0419);
  grid.RefreshList();
  QCOMPARE(grid.model()->data(grid.model()->index(0, 0)).toString(), QString::fromUtf8("Æ ЖЖ"));
  QCOMPARE(vocab->GetItem(0).DisplayWidth, grid.MeasureItem(0));
}

void TestVocabGrid::doubleClickAsksForEditOnlyWithACurrentEntry() {
  for (const int count : {3, 0}) {
    auto vocab = NumberedVocabulary(count);
    TShownGrid shown(vocab.get());
    QSignalSpy edits(&shown.grid, &TVocabGrid::EditRequested);
    const QPoint row = shown.RowCentre(0);
    SendMouse(shown.Viewport(), QEvent::MouseButtonPress, row, Qt::LeftButton, Qt::LeftButton);
    SendMouse(shown.Viewport(), QEvent::MouseButtonRelease, row, Qt::LeftButton, Qt::NoButton);
    SendMouse(shown.Viewport(), QEvent::MouseButtonDblClick, row, Qt::LeftButton, Qt::LeftButton);
    SendMouse(shown.Viewport(), QEvent::MouseButtonRelease, row, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(edits.count(), count > 0 ? 1 : 0);
  }
}

void TestVocabGrid::statusBarPanels() {
  QMainWindow window;
  auto* bar = new QStatusBar;
  window.setStatusBar(bar);
  TStatusPanels panels(bar);
  panels.ShowHintsFrom(&window);
  window.resize(700, 300);
  window.show();
  const int widths[] = {290, 60, 45, 45, 45};
  for (int i = 0; i < 5; ++i) QCOMPARE(panels.Panel(i)->width(), widths[i]);
  // A narrow window: the hint panel gives way, the others keep their widths.
  window.resize(400, 300);
  QTRY_VERIFY(panels.Panel(0)->width() < 290);
  for (int i = 1; i < 5; ++i) QCOMPARE(panels.Panel(i)->width(), widths[i]);
  QVERIFY(window.minimumSizeHint().width() < 400);
  window.resize(700, 300);
  QTRY_COMPARE(panels.Panel(0)->width(), 290);

  const auto texts = [&] {
    QStringList list;
    for (int i = 1; i < TStatusPanels::kPanelCount; ++i) list << panels.Panel(i)->text();
    return list.join('|');
  };
  auto vocab = MakeVocabulary({{"a"}, {"b", "", "", "", 0, -1}, {"c"}, {"d"}});
  vocab->SetItemIndex(2);
  panels.UpdateStatusBar(*vocab, false);
  QCOMPARE(texts(), QString("De - En|4|3|25%|"));
  panels.UpdateStatusBar(*vocab, true);
  QCOMPARE(texts(), QString("De - En|4|1|25%|"));

  vocab->SetModified(true);
  vocab->SetForeignLangID(0);  // not in the language table
  vocab->SetItemIndex(-1);
  panels.UpdateStatusBar(*vocab, false);
  QCOMPARE(texts(), QString(" - En|4|0|25%|Modified"));

  const std::string path =
      (std::filesystem::temp_directory_path() / "dadezivu-tst-vocabgrid.doz").string();
  vocab->SaveToFile(path);
  std::filesystem::remove(path);
  panels.UpdateStatusBar(*vocab, false);
  QVERIFY(texts().endsWith("|Saved"));

  TVocabFile empty;
  panels.UpdateStatusBar(empty, false);
  QCOMPARE(texts(), QString(" - |0|0|0%|"));

  // Hints go to the first panel and leave the others standing.
  QStatusTipEvent tip("Opens a vocabulary");
  QCoreApplication::sendEvent(&window, &tip);
  QCOMPARE(panels.Panel(0)->text(), QString("Opens a vocabulary"));
  QVERIFY(panels.Panel(2)->isVisible());
  QVERIFY(bar->currentMessage().isEmpty());

  QStringList messages;
  panels.SetDiagnostic([] { return uint16_t(0x0407); },
                       [&](const QString& text) { messages << text; });
  SendMouse(bar, QEvent::MouseButtonPress, QPoint(5, 5), Qt::RightButton, Qt::RightButton,
            Qt::ShiftModifier | Qt::ControlModifier);
  SendMouse(bar, QEvent::MouseButtonPress, QPoint(5, 5), Qt::RightButton, Qt::RightButton,
            Qt::ControlModifier);
  QCOMPARE(messages, QStringList{"LCMapString succeeded"});
}

// In the window's default size every panel shows its text whole, also in a larger font and with
// large numbers: the panels grow past their given widths, the hint panel gives way.
void TestVocabGrid::panelsShowTheirTextsWhole() {
  for (const int pointSize : {0, 14}) {
    QMainWindow window;
    auto* bar = new QStatusBar;
    window.setStatusBar(bar);
    if (pointSize > 0) {
      QFont font = bar->font();
      font.setPointSize(pointSize);
      bar->setFont(font);
    }
    TStatusPanels panels(bar);
    window.resize(552, 374);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto vocab = MakeVocabulary({{"a"}, {"b"}});
    vocab->SetModified(true);
    panels.UpdateStatusBar(*vocab, false);
    QCOMPARE(panels.Panel(5)->text(), QString("Modified"));
    panels.Panel(2)->setText("123456");
    panels.Panel(3)->setText("123456");
    const auto whole = [&](int i) {
      const QLabel* panel = panels.Panel(i);
      return panel->contentsRect().width() - 2 * panel->margin() >=
             panel->fontMetrics().horizontalAdvance(panel->text());
    };
    for (int i = 1; i < TStatusPanels::kPanelCount; ++i) {
      QTRY_VERIFY2(whole(i), qPrintable(QString("panel %1 at %2 points: \"%3\" in %4 pixels")
                                            .arg(i)
                                            .arg(pointSize)
                                            .arg(panels.Panel(i)->text())
                                            .arg(panels.Panel(i)->contentsRect().width())));
    }
    QVERIFY(panels.Panel(0)->width() > 0);
  }
}

QTEST_MAIN(TestVocabGrid)
#include "tst_vocabgrid.moc"
