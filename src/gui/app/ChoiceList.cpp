// SPDX-License-Identifier: MIT
// The multiple-choice list of the test panel: one row per offered entry.
#include "app/ChoiceList.h"

#include <QAbstractItemDelegate>
#include <QKeyEvent>
#include <QPainter>
#include <QTextBoundaryFinder>

#include "testing/TestRun.h"
#include "text/DrawItem.h"
#include "text/KeyboardLayouts.h"
#include "text/Languages.h"

namespace {
constexpr int kEntryRole = Qt::UserRole;

class TChoiceDelegate : public QAbstractItemDelegate {
public:
  explicit TChoiceDelegate(TChoiceList* list) : QAbstractItemDelegate(list), m_List(list) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    m_List->lbChoiceDrawItem(*painter, index.row(), option.rect,
                             option.state.testFlag(QStyle::State_Selected));
  }
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {m_List->viewport()->width(), m_List->RowHeight()};
  }

private:
  TChoiceList* m_List;
};
}  // namespace

TChoiceList::TChoiceList(QWidget* parent) : QListWidget(parent) {
  setObjectName("lbChoice");
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setItemDelegate(new TChoiceDelegate(this));
  m_TextColour = palette().color(QPalette::Active, QPalette::Text);
  SetDisplayFont(font());
}

void TChoiceList::SetLanguages(uint8_t testMode, uint16_t foreignLangId, uint16_t nativeLangId) {
  m_TestMode = testMode;
  m_ForeignLangId = foreignLangId;
  m_NativeLangId = nativeLangId;
  setProperty("tag", testMode == kTestActive ? kTagForeign : kTagNative);
}

void TChoiceList::SetEntries(const TVocabItemArray& entries) {
  setUpdatesEnabled(false);
  clear();
  for (TVocabItem* entry : entries) AddEntry(entry);
  setCurrentRow(-1, QItemSelectionModel::Clear);
  setUpdatesEnabled(true);
}

void TChoiceList::AddEntry(TVocabItem* entry) {
  const bool foreign = m_TestMode == kTestActive;
  auto* item = new QListWidgetItem(foreign ? VocabText(entry->Values[Foreign], m_ForeignLangId)
                                           : VocabText(entry->Values[Native], m_NativeLangId));
  item->setData(kEntryRole, QVariant::fromValue(static_cast<void*>(entry)));
  addItem(item);
}

TVocabItem* TChoiceList::Entry(int row) const {
  const QListWidgetItem* it = item(row);
  return it ? static_cast<TVocabItem*>(it->data(kEntryRole).value<void*>()) : nullptr;
}

TVocabItemArray TChoiceList::Entries() const {
  TVocabItemArray entries;
  entries.reserve(static_cast<size_t>(count()));
  for (int row = 0; row < count(); ++row) entries.push_back(Entry(row));
  return entries;
}

TVocabItem* TChoiceList::SelectedEntry() const {
  const QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? nullptr : Entry(row(selected.first()));
}

void TChoiceList::SetTextColour(const QColor& colour) {
  if (colour == m_TextColour) return;
  m_TextColour = colour;
  viewport()->update();
}

void TChoiceList::SetDisplayFont(const QFont& font) {
  setFont(font);
  m_RowHeight = QFontMetrics(font).height() + 6;
  doItemsLayout();
}

int TChoiceList::HeightForRows(int rows) const {
  return m_RowHeight * rows + 2 * frameWidth();
}

void TChoiceList::lbChoiceDrawItem(QPainter& painter, int row, const QRect& rect,
                                   bool selected) const {
  const TVocabItem* entry = Entry(row);
  // The list stays white when disabled after an answer, so the expected entry reads in colour.
  const bool highlight = selected && isEnabled();
  const QPalette& colours = palette();
  painter.fillRect(
      rect, colours.color(QPalette::Active, highlight ? QPalette::Highlight : QPalette::Base));
  if (!entry) return;
  painter.save();
  painter.setFont(font());
  painter.setPen(highlight ? colours.color(QPalette::Active, QPalette::HighlightedText)
                           : m_TextColour);
  const int textHeight = painter.fontMetrics().height();
  TItemCanvas canvas{painter,
                     QPoint(rect.left() + 2, (rect.top() + rect.bottom() + 1 - textHeight) / 2),
                     m_ForeignLangId, m_NativeLangId};
  DrawItemText(canvas, *entry, true, false, false, m_TestMode == kTestActive);
  painter.restore();
}

bool TChoiceList::lbChoiceKeyPress(const QString& text) {
  if (text.isEmpty() || !text.at(0).isPrint()) return false;
  if (count() == 0) return true;
  std::string typed;
  try {
    // One whole character: a letter outside the basic plane is two UTF-16 units.
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    const qsizetype end = finder.toNextBoundary();
    typed = WideToAnsi(text.left(end > 0 ? end : text.size()).toStdU16String(), m_ForeignLangId);
  } catch (const std::exception&) {
    return true;
  }
  const QList<QListWidgetItem*> selected = selectedItems();
  const int from = selected.isEmpty() ? -1 : row(selected.first());
  const int found = ChoiceTypeAhead(Entries(), from, typed, m_ForeignLangId);
  if (found >= 0) setCurrentRow(found, QItemSelectionModel::ClearAndSelect);
  return true;
}

void TChoiceList::keyPressEvent(QKeyEvent* event) {
  const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (m_TestMode == kTestActive && plain && lbChoiceKeyPress(event->text())) {
    event->accept();
    return;
  }
  // Taking the focus makes the first row current without selecting it, so the standard Down
  // would step past that row and Home would stay on it unselected.
  const int key = event->key();
  if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && selectedItems().isEmpty() &&
      count() > 0 && (key == Qt::Key_Down || key == Qt::Key_Home || key == Qt::Key_End)) {
    setCurrentRow(key == Qt::Key_End ? count() - 1 : 0, QItemSelectionModel::ClearAndSelect);
    event->accept();
    return;
  }
  QListWidget::keyPressEvent(event);
}

void TChoiceList::mouseReleaseEvent(QMouseEvent* event) {
  QListWidget::mouseReleaseEvent(event);
  // Accepted, so that the release does not reach pnlChoice as well.
  event->accept();
  if (SelectedEntry()) emit RowClicked();
}
