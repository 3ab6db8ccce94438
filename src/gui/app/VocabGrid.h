// SPDX-License-Identifier: MIT
// The owner-drawn vocabulary list of the main window.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QTableView>

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <utility>
#include <vector>

#include "app/VocabModel.h"

class QTimer;
class TVocabFile;

// The owner-drawn vocabulary list of the main window. The window owns the vocabulary and gives
// it with SetVocabulary (before it frees the one shown); after every command that changes the
// vocabulary or its current entry it calls RefreshList. Selecting a row makes that entry
// current; a row dragged onto another is moved there as one journaled Move.
class TVocabGrid : public QTableView {
  Q_OBJECT
public:
  explicit TVocabGrid(QWidget* parent = nullptr);
  ~TVocabGrid() override;

  TVocabFile* Vocabulary() const { return m_Model->Vocabulary(); }
  void SetVocabulary(TVocabFile* vocab);
  TVocabModel* Model() const { return m_Model; }

  // Brings the grid in step with the vocabulary: row count, column width, current row scrolled
  // into view; one repaint at the end. Errors pass on to the caller with the grid usable.
  void RefreshList();

  // Width in pixels of entry index as the grid draws it, measured with the display font.
  int32_t MeasureItem(int32_t index) const;
  // Width of entry index estimated from its bytes, each at its character's width alone; never
  // below 1. Shaping (kerning, joining) makes the measured width differ by a few per cent.
  int32_t EstimateItem(int32_t index) const;
  // Makes the column as wide as the widest entry or the grid, whichever is wider. Entries in
  // view are measured; the others are estimated (cached as a negative DisplayWidth) and only
  // those whose estimate could make them the widest are measured. Where more than a few
  // thousand could, the column takes the bound of the rest instead, so that it never cuts an
  // entry off. The work goes within a time budget here and then in slices while the program is
  // otherwise idle. The grid follows its own size changes by itself.
  void UpdateColumnWidth();
  bool MeasuringPending() const { return m_MeasurePending; }
  // Completes the measuring at once.
  void FinishMeasuring();

  // The display font; rows become the font's height plus 6 pixels, and every entry is measured
  // again. A point size below 1 keeps the face's default size.
  void ApplyDisplayFont(const QString& face, int pointSize);
  QFont DisplayFont() const { return m_DisplayFont; }
  int RowHeight() const;
  int ColumnWidth() const { return columnWidth(0); }

  // Before other languages take effect (another file, changed properties). Returns false when
  // nothing changes: the list is shown and the character sets equal those of the vocabulary's
  // current languages. Otherwise the measuring character sets are updated and the caller empties
  // its search text, which was typed for the old languages.
  bool UpdateCharsets(uint16_t foreignLangId, uint16_t nativeLangId, bool workspaceShown);
  uint8_t ForeignCharset() const { return m_Charsets[0]; }
  uint8_t NativeCharset() const { return m_Charsets[1]; }

  // The row marked by Cut for a later move (-1: none), drawn with a dotted outline.
  int32_t CutRow() const { return m_CutRow; }
  void SetCutRow(int32_t row);
  void ClearCutMark();
  // The row that would receive the entry being dragged (-1: none).
  int32_t DropRow() const { return m_DropRow; }
  void SetDropRow(int32_t row);
  bool ListUpdating() const { return m_ListUpdating; }
  bool Dragging() const { return m_Dragging; }
  int DragScrollDirection() const { return m_DragScrollDirection; }

  // Learnt entries are drawn in this colour unless selected.
  QColor LearntColour() const { return m_LearntColour; }
  void SetLearntColour(const QColor& colour);

  // Receives what a handler of the grid raised (the program's error handler); without one the
  // message goes to the debug output.
  void SetErrorHandler(std::function<void(const std::exception&)> handler);

  // Type-ahead: makes the next entry whose word/phrase, past its SortPos characters, begins with
  // the typed character (letters and digits only, case-blind in the foreign language) current.
  void dgVocabKeyPress(const QString& typed);
  // Draws row `row` into rect; used by the grid's delegate.
  void dgVocabDrawCell(QPainter& painter, const QRect& rect, int row, bool selected, bool focused);

signals:
  // A double-click while the vocabulary has a current entry: the Edit command.
  void EditRequested();
  // A drop moved the current entry.
  void VocabularyChanged();

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyboardSearch(const QString& search) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event) const override;

private:
  void dgVocabSelectCell(int row);
  bool dgVocabMouseMove(const QPoint& pos, Qt::MouseButtons buttons);
  void dgVocabDragOver(const QPoint& pos);
  void dgVocabDragDrop(const QPoint& pos);
  void dgVocabEndDrag();
  void timDragScrollTimer();

  template <class F>
  void Guarded(F&& action);
  int CurrentRow() const;
  int TopRow() const;
  int FullyVisibleRows() const;
  int LastFullLine() const;
  int RowAt(const QPoint& pos) const;
  void UpdateRow(int row);
  void SetCurrentRow(int row);
  void ResetWidths();
  void RestartMeasuring();
  void MeasureSlice(qint64 budgetNs);
  void ApplyColumnWidth();
  void SetMeasuringFonts(const QFont& font);
  void UpdateByteWidths();
  void OfferCandidate(int32_t estimate, int32_t index);

  TVocabModel* m_Model = nullptr;
  QTimer* timDragScroll = nullptr;
  QTimer* m_MeasureTimer = nullptr;
  std::function<void(const std::exception&)> m_ErrorHandler;

  int32_t m_CutRow = -1;
  int32_t m_DropRow = -1;
  bool m_ListUpdating = false;
  QColor m_LearntColour{0x80, 0x80, 0x80};

  QFont m_DisplayFont;
  // The measuring canvases: bold for the word/phrase, italic for part of speech and notes,
  // regular for the translations.
  QFontMetrics m_Calc1;
  QFontMetrics m_Calc2;
  QFontMetrics m_Calc3;
  std::array<uint8_t, 2> m_Charsets{};       // foreign, native
  std::array<int32_t, 2> m_MeasuredPages{};  // code pages the cached widths were measured in

  // Width of every byte alone, in 1/64 pixel, per measuring font and code page: the word/phrase
  // (bold, foreign), part of speech and notes (italic, native), translations (regular, native).
  std::array<std::array<int32_t, 256>, 3> m_ByteWidths{};
  std::array<int32_t, 2> m_ByteWidthPages{};  // code pages of m_ByteWidths, {} when stale
  std::array<QFont, 3> m_CalcFonts;           // the fonts of m_Calc1, m_Calc2, m_Calc3

  bool m_MeasurePending = false;
  int32_t m_MeasureCursor = 0;
  int32_t m_PassWidest = 0;  // widest entry seen by the running measuring pass
  int32_t m_Widest = 0;      // widest entry of the last complete pass (or its bound), or since
  // Entries not measured whose estimate is among the highest, kept as a min-heap of (estimate,
  // index) while the pass goes through the entries, then measured highest first.
  std::vector<std::pair<int32_t, int32_t>> m_Candidates;
  int32_t m_CandidateCursor = -1;  // -1 while the pass is still estimating
  int32_t m_RestEstimate = 0;      // highest estimate left out of m_Candidates
  int32_t m_MeasureAllowance = 0;  // entries out of view that may still be measured

  bool m_MouseCaptured = false;
  bool m_DragPending = false;
  bool m_Dragging = false;
  bool m_DragInside = false;
  QPoint m_DragStart;
  int m_DragScrollDirection = 0;
};
