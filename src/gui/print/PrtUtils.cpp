// SPDX-License-Identifier: MIT
// The page layout of a printed word list: title, entries in columns, separators, page numbers.
#include "print/PrtUtils.h"

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "text/Languages.h"
#include "text/TextUtils.h"
#include "vocab/VocFile.h"

namespace {
enum class TLineBreak { Entry, Title };

// Vocabulary text is bytes in its language's code page; a text that cannot be converted prints
// as nothing rather than stopping the run, as it shows on screen.
std::u16string Wide(const std::string& text, uint16_t langId) {
  try {
    return AnsiToWide(text, langId);
  } catch (const std::exception&) {
    return {};
  }
}

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

std::u16string Decimal(int32_t number) {
  const std::string digits = std::to_string(number);
  return {digits.begin(), digits.end()};
}

// 64-bit on the way: a large margin at a high resolution overflows 32 bits.
int32_t TwipsToPixels(int32_t dpi, int32_t twips) {
  return static_cast<int32_t>(static_cast<int64_t>(dpi) * twips / 1440);
}

// One print run: the layout state and the drawing of one copy of the document.
class TPrintRun {
public:
  TPrintRun(TPrintCanvas& canvas, const TVocabFile& vocab, const TPrintJob& job);
  // False when the margins leave no room on the page.
  bool HasRoom() const { return m_PageLeft < m_PageRight && m_PageTop < m_PageBottom; }
  void SetUpFont();
  void PrintDocument();

private:
  void PrintText(std::u16string text, bool bold, bool italic, TLineBreak kind);
  void Draw(const std::u16string& piece, int32_t width);
  void LineBreak(TLineBreak kind);
  void NextColumn();
  void PrintPageNumber();
  std::u16string Title() const;

  TPrintCanvas& m_Canvas;
  const TVocabFile& m_Vocab;
  const TPrintJob& m_Job;
  int32_t m_Columns = 1;
  int32_t m_PageLeft = 0, m_PageTop = 0, m_PageRight = 0, m_PageBottom = 0;
  int32_t m_Indent = 0, m_ColumnGap = 0;
  int32_t m_PageNo = 1, m_Column = 0, m_ColumnTop = 0;
  int32_t m_ColumnLeft = 0, m_NextColumnLeft = 0, m_LineLeft = 0, m_LineRight = 0;
  int32_t m_PenX = 0, m_PenY = 0;
};

TPrintRun::TPrintRun(TPrintCanvas& canvas, const TVocabFile& vocab, const TPrintJob& job)
    : m_Canvas(canvas), m_Vocab(vocab), m_Job(job) {
  const TPageSetup& setup = job.PageSetup;
  // A damaged settings value can hold any count; the formula needs at least one column.
  m_Columns = setup.Columns >= kMinColumns && setup.Columns <= kMaxColumns ? setup.Columns : 1;
  m_PageLeft = TwipsToPixels(canvas.DpiX(), setup.MarginLeft);
  m_PageTop = TwipsToPixels(canvas.DpiY(), setup.MarginTop);
  m_PageRight = canvas.PageWidth() - TwipsToPixels(canvas.DpiX(), setup.MarginRight);
  m_PageBottom = canvas.PageHeight() - TwipsToPixels(canvas.DpiY(), setup.MarginBottom);
}

void TPrintRun::SetUpFont() {
  m_Canvas.SetFont(m_Job.FontName, m_Job.FontSize);
  m_Canvas.SetFontStyle(false, false);
  m_Indent = m_Canvas.TextWidth(u"  ");
  m_ColumnGap = 2 * m_Indent;
}

std::u16string TPrintRun::Title() const {
  const std::string description = Trim(m_Vocab.GetProperty(0));
  // The description is typed in the native language, so it is in that code page.
  if (!description.empty()) return Wide(description, m_Vocab.NativeLangID());
  return m_Job.FileBaseName;
}

void TPrintRun::PrintDocument() {
  const TPrintOptions& options = m_Job.Options;
  m_PageNo = 1;
  const std::u16string title = Title();
  m_PenX = m_PageLeft;
  m_PenY = m_PageTop;
  if (!title.empty() && options.PrintTitle) {
    m_Canvas.SetFontSize(m_Job.FontSize + 2);
    m_LineLeft = m_PageLeft;
    m_LineRight = m_PageRight;
    PrintText(title, true, false, TLineBreak::Title);
    // One break ends the title's last line; two more leave two empty lines.
    for (int i = 0; i < 3; ++i) LineBreak(TLineBreak::Title);
  }
  m_ColumnTop = m_PenY;
  m_Column = 0;
  NextColumn();
  m_Canvas.SetFontSize(m_Job.FontSize);

  const uint16_t foreign = m_Vocab.ForeignLangID(), native = m_Vocab.NativeLangID();
  const TItemList& items = m_Vocab.Items();
  for (size_t i = 0; i < items.size(); ++i) {
    const TVocabItem& item = *items[i];
    m_PenX = m_ColumnLeft;
    PrintText(Wide(item.Values[Foreign] + ' ', foreign), true, false, TLineBreak::Entry);
    if ((options.PrintFields & kPrintCategory) && !item.Values[Category].empty()) {
      PrintText(Wide(item.Values[Category] + ' ', native), false, true, TLineBreak::Entry);
    }
    if ((options.PrintFields & kPrintNotes) && !item.Values[Notes].empty()) {
      PrintText(Wide(item.Values[Notes] + ' ', native), false, true, TLineBreak::Entry);
    }
    if (options.PrintFields & kPrintNative) {
      PrintText(Wide(item.Values[Native], native), false, false, TLineBreak::Entry);
    }
    if (i + 1 < items.size()) LineBreak(TLineBreak::Entry);
  }
  // A document on one page carries no number.
  if (m_PageNo > 1) PrintPageNumber();
}

void TPrintRun::PrintText(std::u16string text, bool bold, bool italic, TLineBreak kind) {
  for (;;) {
    m_Canvas.SetFontStyle(bold, italic);
    if (text.empty()) return;
    const int32_t available = m_LineRight - m_PenX;
    // Most texts fit whole: one measurement instead of a search.
    if (const int32_t width = m_Canvas.TextWidth(text); width < available) {
      Draw(text, width);
      return;
    }
    // The longest prefix narrower than the room left; widths grow with the prefix.
    size_t low = 0, high = text.size();
    while (low < high) {
      const size_t mid = low + (high - low + 1) / 2;
      if (m_Canvas.TextWidth(text.substr(0, mid)) < available) {
        low = mid;
      } else {
        high = mid - 1;
      }
    }
    const size_t n = low;
    // Where the line may end: after a space that fits, after the space right behind the part
    // that fits, or after the last space within it.
    size_t lineEnd = 0;
    if (n > 0) {
      if (text[n - 1] == u' ') {
        lineEnd = n;
      } else if (text[n] == u' ') {
        lineEnd = n + 1;
      } else {
        const size_t space = text.rfind(u' ', n - 1);
        if (space != std::u16string::npos) lineEnd = space + 1;
      }
    }
    // A word too wide for a whole line is cut; one that only misses the rest of a line moves on.
    if (lineEnd == 0 && m_PenX <= m_LineLeft) {
      lineEnd = n > 0 ? n : 1;
      // Never between the halves of a surrogate pair (a file name may hold one).
      if (IsHighSurrogate(text[lineEnd - 1])) lineEnd += lineEnd > 1 ? -1 : 1;
    }
    if (lineEnd > 0) {
      const std::u16string piece = text.substr(0, lineEnd);
      Draw(piece, m_Canvas.TextWidth(piece));
      text.erase(0, lineEnd);
    }
    if (text.empty()) return;
    LineBreak(kind);
  }
}

// The pen ends where the drawn text ends, also when that is the last piece of a field: the next
// field starts there, even when only a trailing space went past the line's end.
void TPrintRun::Draw(const std::u16string& piece, int32_t width) {
  m_Canvas.DrawText(m_PenX, m_PenY, piece);
  m_PenX += width;
}

void TPrintRun::LineBreak(TLineBreak kind) {
  const int32_t lineHeight = m_Canvas.TextHeight(u" ");
  if (kind == TLineBreak::Title) {
    m_PenX = m_PageLeft;
    m_PenY += lineHeight;
    return;
  }
  int32_t y = m_PenY + lineHeight;
  if (y + lineHeight >= m_PageBottom) {
    NextColumn();
    y = m_ColumnTop;
  }
  m_PenX = m_LineLeft;
  m_PenY = y;
}

void TPrintRun::NextColumn() {
  ++m_Column;
  if (m_Column > m_Columns) {
    PrintPageNumber();
    m_Canvas.NewPage();
    ++m_PageNo;
    m_Column = 1;
    m_ColumnTop = m_PageTop;
  } else if (m_Job.PageSetup.Separator && m_Column > 1) {
    // Drawn as the column begins, over the whole height, in the middle of the gap.
    const int32_t left = m_NextColumnLeft - m_ColumnGap / 2 - 2;
    m_Canvas.FillBar(left, m_ColumnTop, left + 3, m_PageBottom);
  }
  m_ColumnLeft = ColumnEdge(m_PageLeft, m_PageRight, m_ColumnGap, m_Column, m_Columns);
  m_NextColumnLeft = ColumnEdge(m_PageLeft, m_PageRight, m_ColumnGap, m_Column + 1, m_Columns);
  m_LineLeft = m_ColumnLeft + m_Indent;
  m_LineRight = m_NextColumnLeft - m_ColumnGap;
}

void TPrintRun::PrintPageNumber() {
  if (!m_Job.Options.PrintPageNumbers) return;
  m_Canvas.SetFontStyle(false, false);
  const std::u16string number = Decimal(m_PageNo);
  const int32_t x = (m_PageLeft + m_PageRight - m_Canvas.TextWidth(number)) / 2;
  // One line below the bottom margin.
  m_Canvas.DrawText(x, m_PageBottom + m_Canvas.TextHeight(number), number);
}
}  // namespace

int32_t ColumnEdge(int32_t left, int32_t right, int32_t gap, int32_t column, int32_t columns) {
  return left +
         static_cast<int32_t>(static_cast<int64_t>(right - left + gap) * (column - 1) / columns);
}

void PrintVocabulary(TPrintCanvas& canvas, const TVocabFile& vocab, const TPrintJob& job) {
  TPrintRun run(canvas, vocab, job);
  // Checked before the job starts, so a refused run leaves no empty document behind.
  if (!run.HasRoom()) throw EVocabFileError("Margins too large for paper.");
  const int32_t copies = canvas.CanCopy() ? 1 : std::max(canvas.Copies(), 1);
  canvas.BeginJob(job.JobName);
  try {
    run.SetUpFont();
    for (int32_t copy = 0; copy < copies; ++copy) {
      if (copy > 0) canvas.NewPage();
      run.PrintDocument();
    }
  } catch (...) {
    canvas.EndJob();
    throw;
  }
  canvas.EndJob();
}
