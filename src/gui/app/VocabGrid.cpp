// SPDX-License-Identifier: MIT
// The owner-drawn vocabulary list: drawing, measuring, type-ahead and moving rows by dragging.
#include "app/VocabGrid.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>

#include "text/DrawItem.h"
#include "text/KeyboardLayouts.h"
#include "text/Languages.h"
#include "text/TextUtils.h"
#include "vocab/VocFile.h"

namespace {
constexpr int kDefaultRowHeight = 16;
constexpr int kDefaultColumnWidth = 500;
constexpr int kDragThreshold = 2;
constexpr int kDragScrollInterval = 40;
// Header sections store sizes in 20 bits; wider entries are cut off at the right.
constexpr int kMaxColumnWidth = 1'000'000;
// Measuring within RefreshList may take this long before the rest is left to idle time, and
// each idle slice this long, so that input is never kept waiting noticeably.
constexpr qint64 kFirstSliceNs = 5'000'000;
constexpr qint64 kIdleSliceNs = 10'000'000;
// Not 0: where zero timers are posted events (Windows), they keep the event loop from ever
// blocking, and the program's idle-time update runs only when it is about to block.
constexpr int kMeasureInterval = 1;
constexpr int32_t kMeasureChunk = 256;
// How many entries out of view a pass may measure after the vocabulary or the font changed, and
// at least after any other change: enough to find the widest entry among those of similar
// estimates, few enough to take milliseconds.
constexpr int32_t kFreshAllowance = 4096;
constexpr int32_t kRefreshAllowance = 32;
constexpr int32_t kMaxEstimate = 1 << 29;

// What an entry estimated so can measure at most: kerning and joining narrow text far more often
// than they widen it, and then by less than this.
int32_t EstimateBound(int32_t estimate) {
  return estimate + estimate / 16 + 2;
}

void DrawDottedFrame(QPainter& painter, const QRect& rect, const QColor& colour) {
  painter.save();
  painter.setPen(QPen(colour, 0, Qt::DotLine));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(rect.adjusted(0, 0, -1, -1));
  painter.restore();
}

// Draws each row through the grid, which knows the vocabulary, the fonts and the marks.
class TVocabDelegate : public QAbstractItemDelegate {
public:
  explicit TVocabDelegate(TVocabGrid* grid) : QAbstractItemDelegate(grid), m_Grid(grid) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    m_Grid->dgVocabDrawCell(*painter, option.rect, index.row(),
                            option.state.testFlag(QStyle::State_Selected),
                            option.state.testFlag(QStyle::State_HasFocus));
  }
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {m_Grid->ColumnWidth(), m_Grid->RowHeight()};
  }

private:
  TVocabGrid* m_Grid;
};
}  // namespace

TVocabGrid::TVocabGrid(QWidget* parent)
    : QTableView(parent),
      m_Model(new TVocabModel(this)),
      m_DisplayFont(font()),
      m_Calc1(font()),
      m_Calc2(font()),
      m_Calc3(font()) {
  setObjectName("dgVocab");
  // Language tag of the field: the foreign language.
  setProperty("tag", kTagForeign);
  setModel(m_Model);
  setItemDelegate(new TVocabDelegate(this));

  horizontalHeader()->hide();
  verticalHeader()->hide();
  // Fixed sizes keep the headers from asking for per-row size hints: rows are uniform.
  for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
    header->setMinimumSectionSize(1);
    header->setSectionResizeMode(QHeaderView::Fixed);
  }
  verticalHeader()->setDefaultSectionSize(kDefaultRowHeight);
  setColumnWidth(0, kDefaultColumnWidth);

  setSelectionBehavior(SelectRows);
  setSelectionMode(SingleSelection);
  setEditTriggers(NoEditTriggers);
  setShowGrid(false);
  setWordWrap(false);
  setTabKeyNavigation(false);
  setCornerButtonEnabled(false);
  setVerticalScrollMode(ScrollPerItem);
  setHorizontalScrollMode(ScrollPerPixel);
  setDragEnabled(false);
  setAcceptDrops(false);
  verticalScrollBar()->setTracking(true);

  timDragScroll = new QTimer(this);
  timDragScroll->setObjectName("timDragScroll");
  timDragScroll->setInterval(kDragScrollInterval);
  connect(timDragScroll, &QTimer::timeout, this,
          [this] { Guarded([this] { timDragScrollTimer(); }); });

  m_MeasureTimer = new QTimer(this);
  m_MeasureTimer->setInterval(kMeasureInterval);
  connect(m_MeasureTimer, &QTimer::timeout, this,
          [this] { Guarded([this] { MeasureSlice(kIdleSliceNs); }); });

  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            Guarded([&] { dgVocabSelectCell(current.isValid() ? current.row() : -1); });
          });
  SetMeasuringFonts(m_DisplayFont);
}

TVocabGrid::~TVocabGrid() = default;

template <class F>
void TVocabGrid::Guarded(F&& action) {
  try {
    action();
  } catch (const std::exception& e) {
    if (m_ErrorHandler) {
      m_ErrorHandler(e);
    } else {
      qWarning("%s", e.what());
    }
  }
}

void TVocabGrid::SetErrorHandler(std::function<void(const std::exception&)> handler) {
  m_ErrorHandler = std::move(handler);
}

void TVocabGrid::SetVocabulary(TVocabFile* vocab) {
  if (m_Dragging) dgVocabEndDrag();
  m_MouseCaptured = m_DragPending = false;
  m_CutRow = -1;
  m_DropRow = -1;
  m_ListUpdating = true;
  m_Model->SetVocabulary(vocab);
  m_ListUpdating = false;
  m_Widest = 0;
  m_MeasureAllowance = kFreshAllowance;
  m_MeasuredPages = vocab ? std::array<int32_t, 2>{LanguageCodePage(vocab->ForeignLangID()),
                                                   LanguageCodePage(vocab->NativeLangID())}
                          : std::array<int32_t, 2>{};
  RestartMeasuring();
}

int TVocabGrid::RowHeight() const {
  return verticalHeader()->defaultSectionSize();
}

int TVocabGrid::CurrentRow() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? current.row() : -1;
}

int TVocabGrid::TopRow() const {
  return verticalScrollBar()->value();
}

int TVocabGrid::FullyVisibleRows() const {
  return viewport()->height() / RowHeight();
}

int TVocabGrid::LastFullLine() const {
  return FullyVisibleRows() * RowHeight() - 1;
}

int TVocabGrid::RowAt(const QPoint& pos) const {
  return rowAt(pos.y());
}

void TVocabGrid::UpdateRow(int row) {
  if (row < 0 || row >= m_Model->rowCount()) return;
  viewport()->update(QRect(0, rowViewportPosition(row), viewport()->width(), RowHeight()));
}

void TVocabGrid::SetCurrentRow(int row) {
  selectionModel()->setCurrentIndex(
      m_Model->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TVocabGrid::RefreshList() {
  m_ListUpdating = true;
  setUpdatesEnabled(false);
  const auto restore = [this] {
    setUpdatesEnabled(true);
    m_ListUpdating = false;
    viewport()->update();
  };
  try {
    TVocabFile* vocab = Vocabulary();
    if (vocab &&
        m_MeasuredPages != std::array<int32_t, 2>{LanguageCodePage(vocab->ForeignLangID()),
                                                  LanguageCodePage(vocab->NativeLangID())}) {
      // The same bytes read in another code page may have other widths.
      ResetWidths();
    }
    m_Model->Refresh();
    // Scroll ranges for the new row count now rather than at the next layout.
    updateGeometries();
    UpdateColumnWidth();
    const int index = vocab ? vocab->ItemIndex() : -1;
    if (index >= 0 && index < m_Model->rowCount()) {
      SetCurrentRow(index);
      const int top = TopRow();
      const int visible = std::max(1, FullyVisibleRows());
      if (index < top) {
        verticalScrollBar()->setValue(index);
      } else if (index >= top + visible) {
        verticalScrollBar()->setValue(index - visible + 1);
      }
    } else {
      // No current entry: no row is highlighted, so that the highlight always shows the entry
      // the commands act on.
      selectionModel()->clear();
    }
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

void TVocabGrid::dgVocabSelectCell(int row) {
  if (m_ListUpdating) return;
  TVocabFile* vocab = Vocabulary();
  if (!vocab) return;
  vocab->SetItemIndex(row >= 0 && row < vocab->Count() ? row : -1);
}

// ---------------------------------------------------------------------------------------------
// Drawing and measuring

void TVocabGrid::dgVocabDrawCell(QPainter& painter, const QRect& rect, int row, bool selected,
                                 bool focused) {
  const TVocabFile* vocab = Vocabulary();
  const TVocabItem* item =
      vocab && row >= 0 && row < vocab->Count() ? &vocab->GetItem(row) : nullptr;
  painter.save();
  painter.setClipRect(rect, Qt::IntersectClip);
  painter.setFont(m_DisplayFont);
  const QPalette& colours = palette();
  QColor background = colours.color(QPalette::Base);
  QColor text = colours.color(QPalette::Text);
  if (selected && item) {
    background = colours.color(QPalette::Highlight);
    text = colours.color(QPalette::HighlightedText);
  } else if (item && item->IsLearnt()) {
    text = m_LearntColour;
  }
  painter.fillRect(rect, background);
  if (item) {
    painter.setPen(text);
    const int spaceHeight = painter.fontMetrics().height();
    TItemCanvas canvas{painter,
                       QPoint(rect.left() + 3, (2 * rect.top() + rect.height() - spaceHeight) / 2),
                       vocab->ForeignLangID(), vocab->NativeLangID()};
    DrawItemText(canvas, *item, true, true, true, true);
    DrawItemText(canvas, *item, false, false, false, false);
  }
  if (row == m_CutRow) {
    DrawDottedFrame(painter, rect, text);
  } else if (focused) {
    DrawDottedFrame(painter, rect, text);
  }
  // The dragged row itself never carries the drop marker.
  if (row == m_DropRow && row != CurrentRow()) DrawDottedFrame(painter, rect, text);
  painter.restore();
}

void TVocabGrid::SetMeasuringFonts(const QFont& font) {
  QFont bold(font);
  bold.setBold(true);
  bold.setItalic(false);
  QFont italic(font);
  italic.setBold(false);
  italic.setItalic(true);
  QFont regular(font);
  regular.setBold(false);
  regular.setItalic(false);
  m_Calc1 = QFontMetrics(bold, this);
  m_Calc2 = QFontMetrics(italic, this);
  m_Calc3 = QFontMetrics(regular, this);
  m_CalcFonts = {bold, italic, regular};
  m_ByteWidthPages = {};
}

void TVocabGrid::UpdateByteWidths() {
  const TVocabFile* vocab = Vocabulary();
  if (!vocab) return;
  const std::array<int32_t, 2> pages{LanguageCodePage(vocab->ForeignLangID()),
                                     LanguageCodePage(vocab->NativeLangID())};
  if (pages == m_ByteWidthPages) return;
  const std::array<uint16_t, 3> langs{vocab->ForeignLangID(), vocab->NativeLangID(),
                                      vocab->NativeLangID()};
  for (size_t font = 0; font < 3; ++font) {
    const QFontMetricsF metrics(m_CalcFonts[font], this);
    for (int byte = 0; byte < 256; ++byte) {
      // Every code page of the language table has one character per byte.
      const QString text = VocabText(std::string(1, static_cast<char>(byte)), langs[font]);
      const qreal width = text.size() == 1 ? metrics.horizontalAdvance(text) : metrics.maxWidth();
      m_ByteWidths[font][static_cast<size_t>(byte)] =
          std::max(0, static_cast<int32_t>(std::ceil(width * 64)));
    }
  }
  m_ByteWidthPages = pages;
}

int32_t TVocabGrid::MeasureItem(int32_t index) const {
  const TVocabFile* vocab = Vocabulary();
  if (!vocab) return 0;
  const TVocabItem& item = vocab->GetItem(index);
  const uint16_t foreign = vocab->ForeignLangID();
  const uint16_t native = vocab->NativeLangID();
  int32_t width = m_Calc1.horizontalAdvance(VocabText(item.Values[Foreign] + ' ', foreign));
  if (!item.Values[Category].empty()) {
    width += m_Calc2.horizontalAdvance(VocabText(item.Values[Category] + ' ', native));
  }
  width += 6;
  if (!item.Values[Notes].empty()) {
    width += m_Calc2.horizontalAdvance(VocabText(item.Values[Notes] + ' ', native));
  }
  width += m_Calc3.horizontalAdvance(VocabText(item.Values[Native], native));
  return width;
}

int32_t TVocabGrid::EstimateItem(int32_t index) const {
  const TVocabFile* vocab = Vocabulary();
  if (!vocab) return 1;
  const TVocabItem& item = vocab->GetItem(index);
  const auto sum = [this](const std::string& text, size_t font) {
    int64_t width = 0;
    for (const char c : text) width += m_ByteWidths[font][static_cast<uint8_t>(c)];
    return width;
  };
  const int64_t space = m_ByteWidths[1][static_cast<uint8_t>(' ')];
  int64_t width = sum(item.Values[Foreign], 0) + m_ByteWidths[0][static_cast<uint8_t>(' ')];
  if (!item.Values[Category].empty()) width += sum(item.Values[Category], 1) + space;
  width += 6 * 64;
  if (!item.Values[Notes].empty()) width += sum(item.Values[Notes], 1) + space;
  width += sum(item.Values[Native], 2);
  return static_cast<int32_t>(std::clamp<int64_t>((width + 63) / 64, 1, kMaxEstimate));
}

void TVocabGrid::ResetWidths() {
  TVocabFile* vocab = Vocabulary();
  if (!vocab) return;
  for (TVocabItem* item : vocab->Items()) item->DisplayWidth = 0;
  m_MeasuredPages = {LanguageCodePage(vocab->ForeignLangID()),
                     LanguageCodePage(vocab->NativeLangID())};
  m_Widest = 0;
  m_MeasureAllowance = kFreshAllowance;
}

void TVocabGrid::RestartMeasuring() {
  m_MeasureCursor = 0;
  m_PassWidest = 0;
  m_Candidates.clear();
  m_CandidateCursor = -1;
  m_RestEstimate = 0;
  m_MeasureAllowance = std::max(m_MeasureAllowance, kRefreshAllowance);
  m_MeasurePending = Vocabulary() != nullptr;
  if (!m_MeasurePending) {
    m_Widest = 0;
    m_MeasureTimer->stop();
  } else {
    UpdateByteWidths();
  }
}

void TVocabGrid::OfferCandidate(int32_t estimate, int32_t index) {
  // Those that cannot be wider than an entry already measured need no place.
  if (EstimateBound(estimate) <= m_PassWidest) return;
  constexpr auto lowestFirst = std::greater<>();
  if (m_Candidates.size() < static_cast<size_t>(std::max(0, m_MeasureAllowance))) {
    m_Candidates.emplace_back(estimate, index);
    std::push_heap(m_Candidates.begin(), m_Candidates.end(), lowestFirst);
  } else if (!m_Candidates.empty() && estimate > m_Candidates.front().first) {
    m_RestEstimate = std::max(m_RestEstimate, m_Candidates.front().first);
    std::pop_heap(m_Candidates.begin(), m_Candidates.end(), lowestFirst);
    m_Candidates.back() = {estimate, index};
    std::push_heap(m_Candidates.begin(), m_Candidates.end(), lowestFirst);
  } else {
    m_RestEstimate = std::max(m_RestEstimate, estimate);
  }
}

void TVocabGrid::UpdateColumnWidth() {
  RestartMeasuring();
  MeasureSlice(kFirstSliceNs);
}

void TVocabGrid::FinishMeasuring() {
  while (m_MeasurePending) MeasureSlice(kIdleSliceNs);
}

void TVocabGrid::MeasureSlice(qint64 budgetNs) {
  TVocabFile* vocab = Vocabulary();
  if (!vocab || !m_MeasurePending) {
    m_MeasurePending = false;
    m_MeasureTimer->stop();
    ApplyColumnWidth();
    return;
  }
  QElapsedTimer clock;
  clock.start();
  const TItemList& items = vocab->Items();
  const int32_t count = vocab->Count();
  // What is in view is measured first, so that its width shows at once and exactly.
  const int32_t firstShown = std::min(TopRow(), count);
  const int32_t lastShown = std::min(count, firstShown + FullyVisibleRows() + 1);
  for (int32_t i = std::max(0, firstShown); i < lastShown; ++i) {
    TVocabItem& item = *items[i];
    if (item.DisplayWidth <= 0) item.DisplayWidth = MeasureItem(i);
    m_Widest = std::max(m_Widest, item.DisplayWidth);
    m_PassWidest = std::max(m_PassWidest, item.DisplayWidth);
  }
  // Then every entry's width as measured before, or estimated; shaping them all would keep a
  // core busy for seconds at a million entries.
  m_MeasureCursor = std::min(m_MeasureCursor, count);
  while (m_CandidateCursor < 0 && m_MeasureCursor < count) {
    const int32_t end = std::min(count, m_MeasureCursor + kMeasureChunk);
    for (; m_MeasureCursor < end; ++m_MeasureCursor) {
      TVocabItem& item = *items[m_MeasureCursor];
      if (item.DisplayWidth == 0) item.DisplayWidth = -EstimateItem(m_MeasureCursor);
      if (item.DisplayWidth > 0) {
        m_PassWidest = std::max(m_PassWidest, item.DisplayWidth);
      } else {
        OfferCandidate(-item.DisplayWidth, m_MeasureCursor);
      }
    }
    if (clock.nsecsElapsed() >= budgetNs) break;
  }
  if (m_CandidateCursor < 0 && m_MeasureCursor >= count) {
    std::sort_heap(m_Candidates.begin(), m_Candidates.end(), std::greater<>());
    m_CandidateCursor = 0;
  }
  // Then the entries that could be the widest, the highest estimate first, until the next
  // could not be wider than the widest measured.
  const auto candidates = static_cast<int32_t>(m_Candidates.size());
  while (m_CandidateCursor >= 0 && m_CandidateCursor < candidates) {
    const auto [estimate, index] = m_Candidates[static_cast<size_t>(m_CandidateCursor)];
    if (EstimateBound(estimate) <= m_PassWidest) {
      m_CandidateCursor = candidates;
      break;
    }
    ++m_CandidateCursor;
    if (index >= count) continue;
    TVocabItem& item = *items[index];
    if (item.DisplayWidth <= 0) {
      item.DisplayWidth = MeasureItem(index);
      --m_MeasureAllowance;
    }
    m_PassWidest = std::max(m_PassWidest, item.DisplayWidth);
    if (m_CandidateCursor % 16 == 0 && clock.nsecsElapsed() >= budgetNs) break;
  }
  if (m_CandidateCursor >= candidates) {
    // The entries left out (more could be the widest than a pass measures) by their bound.
    if (m_RestEstimate > 0) {
      m_PassWidest = std::max(m_PassWidest, EstimateBound(m_RestEstimate));
    }
    m_Widest = m_PassWidest;
    m_MeasurePending = false;
    m_MeasureTimer->stop();
    m_Candidates = {};
  } else if (!m_MeasureTimer->isActive()) {
    m_MeasureTimer->start();
  }
  ApplyColumnWidth();
}

void TVocabGrid::ApplyColumnWidth() {
  int width = m_MeasurePending ? std::max(m_Widest, m_PassWidest) : m_Widest;
  width = std::min(std::max(width, viewport()->width()), kMaxColumnWidth);
  if (columnWidth(0) != width) setColumnWidth(0, width);
}

bool TVocabGrid::viewportEvent(QEvent* event) {
  const bool result = QTableView::viewportEvent(event);
  if (event->type() == QEvent::Resize) ApplyColumnWidth();
  return result;
}

void TVocabGrid::ApplyDisplayFont(const QString& face, int pointSize) {
  QFont font(face);
  if (pointSize > 0) font.setPointSize(pointSize);
  m_DisplayFont = font;
  setFont(font);
  verticalHeader()->setDefaultSectionSize(QFontMetrics(font, this).height() + 6);
  SetMeasuringFonts(font);
  ResetWidths();
  UpdateColumnWidth();
}

bool TVocabGrid::UpdateCharsets(uint16_t foreignLangId, uint16_t nativeLangId,
                                bool workspaceShown) {
  const uint8_t foreign = LanguageCharset(foreignLangId);
  const uint8_t native = LanguageCharset(nativeLangId);
  const TVocabFile* vocab = Vocabulary();
  if (!workspaceShown && vocab && foreign == LanguageCharset(vocab->ForeignLangID()) &&
      native == LanguageCharset(vocab->NativeLangID())) {
    return false;
  }
  m_Charsets = {foreign, native};
  return true;
}

void TVocabGrid::SetLearntColour(const QColor& colour) {
  if (colour == m_LearntColour) return;
  m_LearntColour = colour;
  viewport()->update();
}

// ---------------------------------------------------------------------------------------------
// Marks

void TVocabGrid::SetCutRow(int32_t row) {
  if (row == m_CutRow) return;
  const int32_t old = m_CutRow;
  m_CutRow = row;
  UpdateRow(old);
  UpdateRow(row);
}

void TVocabGrid::ClearCutMark() {
  SetCutRow(-1);
}

void TVocabGrid::SetDropRow(int32_t row) {
  if (row == m_DropRow) return;
  const int32_t old = m_DropRow;
  m_DropRow = row;
  UpdateRow(old);
  UpdateRow(row);
}

// ---------------------------------------------------------------------------------------------
// Keyboard

void TVocabGrid::dgVocabKeyPress(const QString& typed) {
  TVocabFile* vocab = Vocabulary();
  if (!vocab || vocab->Count() == 0 || typed.isEmpty()) return;
  const uint16_t lang = vocab->ForeignLangID();
  const std::string key = WideToAnsi(typed.toStdU16String(), lang);
  if (key.empty() || static_cast<uint8_t>(key[0]) <= 32) return;
  const std::string lowerKey = LocaleLowerCase(key, lang);
  const auto& wordChar = WordCharMap(lang);
  const TByteMap& lower = LowerCaseMap(lang);
  const bool byBytes = BytesAreCharacters(lang);
  const TItemList& items = vocab->Items();
  const int32_t count = vocab->Count();
  const int32_t start = vocab->ItemIndex();
  // Candidates from the one after the current entry (or the first), wrapping around, the
  // current entry last.
  int32_t i = start;
  for (int32_t k = 1; k <= count; ++k) {
    if (++i == count) i = 0;
    const TVocabItem& item = *items[i];
    const std::string& word = item.Values[Foreign];
    size_t pos = item.SortPos > 0 ? std::min(static_cast<size_t>(item.SortPos), word.size()) : 0;
    if (!byBytes) {
      // Characters of several bytes or with marks are compared whole.
      const std::string first = FirstLetterLowerCase(word, pos, lang);
      if (first.empty() || !first.starts_with(lowerKey)) continue;
      SetCurrentRow(i);
      scrollTo(m_Model->index(i, 0));
      return;
    }
    while (pos < word.size() && !wordChar[static_cast<uint8_t>(word[pos])]) ++pos;
    if (pos == word.size()) continue;
    const auto first = static_cast<uint8_t>(word[pos]);
    const bool match =
        lower.Exact[first]
            ? lowerKey.size() == 1 && static_cast<uint8_t>(lowerKey[0]) == lower.Map[first]
            : LocaleLowerCase(std::string(1, static_cast<char>(first)), lang) == lowerKey;
    if (match) {
      SetCurrentRow(i);
      scrollTo(m_Model->index(i, 0));
      return;
    }
  }
}

void TVocabGrid::keyPressEvent(QKeyEvent* event) {
  if (m_Dragging) {
    if (event->key() == Qt::Key_Escape) {
      dgVocabEndDrag();
      // The rest of the press neither drags nor selects.
      m_MouseCaptured = false;
    }
    event->accept();
    return;
  }
  const QString text = event->text();
  const Qt::KeyboardModifiers held =
      event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  // Ctrl+Alt is how AltGr arrives on Windows; characters typed with it count as typed.
  const bool typedKey = held == Qt::NoModifier || held == (Qt::ControlModifier | Qt::AltModifier);
  if (typedKey && !text.isEmpty() && text.front().unicode() > 32) {
    for (qsizetype i = 0; i < text.size(); ++i) {
      const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
      const QString character = text.mid(i, length);
      Guarded([&] { dgVocabKeyPress(character); });
      i += length - 1;
    }
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

void TVocabGrid::keyboardSearch(const QString&) {
  // Type-ahead is dgVocabKeyPress, which skips the SortPos characters.
}

QModelIndex TVocabGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
  // Home and End go to the first and last row, as the list selects whole rows.
  if (cursorAction == MoveHome || cursorAction == MoveEnd) {
    return m_Model->index(cursorAction == MoveHome ? 0 : m_Model->rowCount() - 1, 0);
  }
  return QTableView::moveCursor(cursorAction, modifiers);
}

QItemSelectionModel::SelectionFlags TVocabGrid::selectionCommand(const QModelIndex& index,
                                                                 const QEvent*) const {
  // The highlight is always the current row: Ctrl neither toggles it off nor moves the current
  // row without it.
  return index.isValid() ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows
                         : QItemSelectionModel::NoUpdate;
}

// ---------------------------------------------------------------------------------------------
// Mouse, drag and drop

void TVocabGrid::mousePressEvent(QMouseEvent* event) {
  if (m_Dragging) {
    event->accept();
    return;
  }
  m_DragPending = false;
  m_MouseCaptured = event->button() == Qt::LeftButton;
  // Only the left button selects, and only on a row.
  if (event->button() != Qt::LeftButton || RowAt(event->position().toPoint()) < 0) {
    setFocus(Qt::MouseFocusReason);
    event->accept();
    return;
  }
  QTableView::mousePressEvent(event);
}

void TVocabGrid::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (m_Dragging) {
    // A release that never arrived (the window lost the mouse) ends the drag.
    if (!event->buttons().testFlag(Qt::LeftButton)) {
      dgVocabEndDrag();
    } else {
      dgVocabDragOver(pos);
    }
    event->accept();
    return;
  }
  if (!m_MouseCaptured && event->buttons().testFlag(Qt::LeftButton)) {
    event->accept();
    return;
  }
  if (dgVocabMouseMove(pos, event->buttons())) {
    event->accept();
    return;
  }
  QTableView::mouseMoveEvent(event);
}

bool TVocabGrid::dgVocabMouseMove(const QPoint& pos, Qt::MouseButtons buttons) {
  if (!m_MouseCaptured || !buttons.testFlag(Qt::LeftButton) || m_Model->rowCount() <= 1) {
    m_DragPending = false;
    return false;
  }
  ClearCutMark();
  if (!m_DragPending) {
    const int current = CurrentRow();
    if (current < 0 || RowAt(pos) != current) return false;
    SetDropRow(-1);
    m_DragPending = true;
    m_DragStart = pos;
  }
  if (std::abs(pos.x() - m_DragStart.x()) >= kDragThreshold ||
      std::abs(pos.y() - m_DragStart.y()) >= kDragThreshold) {
    m_DragPending = false;
    m_Dragging = true;
    m_DragInside = true;
    dgVocabDragOver(pos);
  }
  return true;
}

void TVocabGrid::dgVocabDragOver(const QPoint& pos) {
  const bool inside = viewport()->rect().contains(pos);
  // Outside the grid nothing changes: the scroll direction stays what it was on leaving.
  if (!inside && !m_DragInside) return;
  m_DragInside = inside;
  const int last = LastFullLine();
  m_DragScrollDirection = pos.y() < 0 ? -1 : pos.y() > last ? 1 : 0;
  timDragScroll->setProperty("tag", m_DragScrollDirection);
  if (m_DragScrollDirection == 0) {
    timDragScroll->stop();
  } else if (!timDragScroll->isActive()) {
    timDragScroll->start();
  }
  const int target = inside && pos.y() <= last ? RowAt(pos) : -1;
  SetDropRow(target);
  viewport()->setCursor(target >= 0 ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
}

void TVocabGrid::dgVocabDragDrop(const QPoint& pos) {
  const bool inside = viewport()->rect().contains(pos);
  const int target = inside && pos.y() <= LastFullLine() ? RowAt(pos) : -1;
  const int current = CurrentRow();
  TVocabFile* vocab = Vocabulary();
  if (target < 0 || target == current || !vocab || current < 0 || vocab->ItemIndex() != current ||
      target >= vocab->Count()) {
    return;
  }
  vocab->MoveCurrent(target);
  RefreshList();
  emit VocabularyChanged();
}

void TVocabGrid::dgVocabEndDrag() {
  timDragScroll->stop();
  m_DragScrollDirection = 0;
  timDragScroll->setProperty("tag", 0);
  m_Dragging = false;
  m_DragPending = false;
  m_DragInside = false;
  SetDropRow(-1);
  viewport()->unsetCursor();
}

void TVocabGrid::timDragScrollTimer() {
  const int top = TopRow();
  const int rows = m_Model->rowCount();
  if ((m_DragScrollDirection > 0 && top < rows - FullyVisibleRows()) ||
      (m_DragScrollDirection < 0 && top > 0)) {
    verticalScrollBar()->setValue(top + m_DragScrollDirection);
    // The row under the mouse is another one now; the next drag-over marks it.
    SetDropRow(-1);
  }
}

void TVocabGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (m_Dragging) {
    if (event->button() == Qt::LeftButton) {
      Guarded([&] { dgVocabDragDrop(event->position().toPoint()); });
      dgVocabEndDrag();
      m_MouseCaptured = false;
    }
    event->accept();
    return;
  }
  m_MouseCaptured = false;
  m_DragPending = false;
  QTableView::mouseReleaseEvent(event);
}

void TVocabGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton || m_Dragging) return;
  m_MouseCaptured = false;
  const TVocabFile* vocab = Vocabulary();
  if (vocab && vocab->ItemIndex() >= 0) emit EditRequested();
}
