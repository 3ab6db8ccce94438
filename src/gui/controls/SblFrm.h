// SPDX-License-Identifier: MIT
// The symbol picker that a symbol entry field opens below itself.
#pragma once

#include <QFrame>

#include <array>
#include <cstdint>

class TSymbolEdit;

// The grid of 160 characters a symbol entry field opens below itself: the ASCII punctuation and
// the upper half of the field's code page, in the field's font; for a language kept in UTF-8,
// the first of the characters the language is written with (ICU's exemplars). It never takes the
// focus; the field forwards its arrow keys, and the grid holds the mouse so that a click anywhere
// either picks a cell or closes it. Closing deletes it.
class TSymbolForm : public QFrame {
  Q_OBJECT

public:
  static constexpr int kColumns = 16;
  static constexpr int kRows = 10;
  static constexpr int kCellCount = kColumns * kRows;

  explicit TSymbolForm(TSymbolEdit* field);

  // The byte of each cell, row-major.
  const std::array<uint8_t, kCellCount>& Characters() const { return m_Characters; }
  // What a cell shows: its byte in the field's code page.
  QString CellText(int index) const;
  int CellWidth() const { return m_CellWidth; }
  int CellHeight() const { return m_CellHeight; }
  // -1, -1 when no cell is selected.
  int SelectedColumn() const { return m_SelectedColumn; }
  int SelectedRow() const { return m_SelectedRow; }
  void SelectCell(int column, int row);
  // The byte of the selected cell, or 0 when none is selected.
  uint8_t SelectedChar() const;
  // A cell in widget coordinates.
  QRect CellRect(int column, int row) const;
  // Left, Right, Up and Down move the selection, wrapping within the row or column.
  void KeyDown(int key);

  // Top left of a grid of gridSize opened under a field whose bottom-left corner is at
  // fieldBottomLeft: kept inside the work area, above the field when there is no room below.
  static QPoint GridPosition(QPoint fieldBottomLeft, int fieldHeight, QSize gridSize,
                             const QRect& workArea);

protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  bool IsValidCell(int column, int row) const;
  void SendKeyToField(int key);

  TSymbolEdit* m_Field;
  std::array<uint8_t, kCellCount> m_Characters{};
  std::array<QString, kCellCount> m_Texts;
  int m_CellWidth = 0;
  int m_CellHeight = 0;
  int m_SelectedColumn = -1;
  int m_SelectedRow = -1;
  bool m_Pressed = false;  // a button went down since the grid opened
};
