// SPDX-License-Identifier: MIT
// The symbol picker: drawing, keyboard and mouse handling of its character grid.
#include "controls/SblFrm.h"

#include "controls/SblEdit.h"
#include "text/DrawItem.h"
#include "text/Languages.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace {

// The printable ASCII that is neither a letter, a digit nor a blank, then the upper half.
std::array<uint8_t, TSymbolForm::kCellCount> CharacterTable() {
  std::array<uint8_t, TSymbolForm::kCellCount> table{};
  int cell = 0;
  for (const auto& [first, last] :
       {std::pair{33, 47}, {58, 64}, {91, 96}, {123, 126}, {128, 255}}) {
    for (int code = first; code <= last; ++code) table[cell++] = static_cast<uint8_t>(code);
  }
  return table;
}

}  // namespace

TSymbolForm::TSymbolForm(TSymbolEdit* field)
    : QFrame(field, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_Field(field),
      m_Characters(CharacterTable()) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_DeleteOnClose);
  setFocusPolicy(Qt::NoFocus);
  setMouseTracking(true);
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(2);
  setBackgroundRole(QPalette::Window);
  setAutoFillBackground(true);
  // The field's face and size, not its bold or italic style.
  QFont gridFont = field->font();
  gridFont.setWeight(QFont::Normal);
  gridFont.setStyle(QFont::StyleNormal);
  setFont(gridFont);

  const QFontMetrics metrics(font());
  int widest = 0;
  if (IsUtf8Language(field->Language())) {
    // No 8-bit table: the characters the language is written with, as many as the grid holds.
    m_Characters.fill(0);
    const std::vector<std::u16string> exemplars = ExemplarCharacters(field->Language());
    for (size_t i = 0; i < exemplars.size() && i < m_Texts.size(); ++i) {
      m_Texts[i] = QString::fromStdU16String(exemplars[i]);
    }
  } else {
    for (int i = 0; i < kCellCount; ++i) {
      m_Texts[i] = VocabText(std::string(1, static_cast<char>(m_Characters[i])), field->Language());
      // A byte the code page leaves undefined shows as an empty cell.
      if (m_Texts[i].size() != 1 || !field->HasChar(m_Texts[i][0])) m_Texts[i].clear();
    }
  }
  for (const QString& text : m_Texts) {
    if (!text.isEmpty()) widest = std::max(widest, metrics.horizontalAdvance(text));
  }
  m_CellWidth = widest + 2;
  m_CellHeight = metrics.height() + 2;
  const int frame = frameWidth();
  setFixedSize(kColumns * m_CellWidth + 2 * frame, kRows * m_CellHeight + 2 * frame);

  const QScreen* screen = field->screen();
  const QRect workArea = screen != nullptr ? screen->availableGeometry() : QRect();
  move(GridPosition(field->mapToGlobal(QPoint(0, field->height())), field->height(), size(),
                    workArea));
}

QString TSymbolForm::CellText(int index) const {
  return index >= 0 && index < kCellCount ? m_Texts[index] : QString();
}

bool TSymbolForm::IsValidCell(int column, int row) const {
  return column >= 0 && column < kColumns && row >= 0 && row < kRows;
}

QRect TSymbolForm::CellRect(int column, int row) const {
  const QPoint origin = contentsRect().topLeft();
  return QRect(origin.x() + column * m_CellWidth, origin.y() + row * m_CellHeight, m_CellWidth,
               m_CellHeight);
}

void TSymbolForm::SelectCell(int column, int row) {
  if (!IsValidCell(column, row)) column = row = -1;
  if (column == m_SelectedColumn && row == m_SelectedRow) return;
  if (IsValidCell(m_SelectedColumn, m_SelectedRow))
    update(CellRect(m_SelectedColumn, m_SelectedRow));
  m_SelectedColumn = column;
  m_SelectedRow = row;
  if (IsValidCell(column, row)) update(CellRect(column, row));
}

uint8_t TSymbolForm::SelectedChar() const {
  return IsValidCell(m_SelectedColumn, m_SelectedRow)
             ? m_Characters[m_SelectedColumn + kColumns * m_SelectedRow]
             : 0;
}

void TSymbolForm::KeyDown(int key) {
  if (!IsValidCell(m_SelectedColumn, m_SelectedRow)) {
    if (key == Qt::Key_Left || key == Qt::Key_Up) SelectCell(kColumns - 1, kRows - 1);
    if (key == Qt::Key_Right || key == Qt::Key_Down) SelectCell(0, 0);
    return;
  }
  int column = m_SelectedColumn;
  int row = m_SelectedRow;
  switch (key) {
    case Qt::Key_Left:
      column = (column + kColumns - 1) % kColumns;
      break;
    case Qt::Key_Right:
      column = (column + 1) % kColumns;
      break;
    case Qt::Key_Up:
      row = (row + kRows - 1) % kRows;
      break;
    case Qt::Key_Down:
      row = (row + 1) % kRows;
      break;
    default:
      return;
  }
  SelectCell(column, row);
}

QPoint TSymbolForm::GridPosition(QPoint fieldBottomLeft, int fieldHeight, QSize gridSize,
                                 const QRect& workArea) {
  QPoint pos = fieldBottomLeft;
  if (workArea.isEmpty()) return pos;
  const int right = workArea.x() + workArea.width();
  const int bottom = workArea.y() + workArea.height();
  if (pos.x() < workArea.x()) {
    pos.setX(workArea.x());
  } else if (pos.x() + gridSize.width() > right) {
    pos.setX(std::max(workArea.x(), right - gridSize.width()));
  }
  if (pos.y() < workArea.y()) {
    pos.setY(workArea.y());
  } else if (pos.y() + gridSize.height() > bottom) {
    pos.setY(pos.y() - gridSize.height() - fieldHeight);
  }
  return pos;
}

void TSymbolForm::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  // A dark outline with a raised edge inside, so the grid stands out over any window.
  const QRect outer = rect().adjusted(0, 0, -1, -1);
  const QRect inner = outer.adjusted(1, 1, -1, -1);
  painter.setPen(palette().color(QPalette::Shadow));
  painter.drawRect(outer);
  painter.setPen(palette().color(QPalette::Light));
  painter.drawLine(inner.topLeft(), inner.topRight());
  painter.drawLine(inner.topLeft(), inner.bottomLeft());
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawLine(inner.bottomLeft(), inner.bottomRight());
  painter.drawLine(inner.topRight(), inner.bottomRight());
  const QFontMetrics metrics(font());
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      const QRect cell = CellRect(column, row);
      if (!event->rect().intersects(cell)) continue;
      const bool selected = column == m_SelectedColumn && row == m_SelectedRow;
      if (selected) painter.fillRect(cell, palette().brush(QPalette::Highlight));
      painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::WindowText));
      const QString& text = m_Texts[column + kColumns * row];
      if (text.isEmpty()) continue;
      const int x = cell.x() + (m_CellWidth - metrics.horizontalAdvance(text)) / 2;
      painter.drawText(QPoint(x, cell.y() + 1 + metrics.ascent()), text);
    }
  }
}

void TSymbolForm::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint() - contentsRect().topLeft();
  if (contentsRect().contains(event->position().toPoint())) {
    SelectCell(pos.x() / m_CellWidth, pos.y() / m_CellHeight);
  } else {
    SelectCell(-1, -1);
  }
}

void TSymbolForm::mousePressEvent(QMouseEvent* event) {
  m_Pressed = true;
  mouseMoveEvent(event);
}

void TSymbolForm::mouseReleaseEvent(QMouseEvent* event) {
  // The pointer may have rested on the grid since it opened, without a move to select a cell.
  mouseMoveEvent(event);
  // Where the context menu comes on the press, the release of the click that opened the grid
  // arrives here too; it must not close the grid at once.
  if (!m_Pressed) return;
  SendKeyToField(contentsRect().contains(event->position().toPoint()) ? Qt::Key_Return
                                                                      : Qt::Key_Escape);
}

void TSymbolForm::SendKeyToField(int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier,
                  key == Qt::Key_Return ? QStringLiteral("\r") : QStringLiteral("\x1b"));
  QCoreApplication::sendEvent(m_Field, &press);
}
