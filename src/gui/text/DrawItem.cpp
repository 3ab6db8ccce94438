// SPDX-License-Identifier: MIT
// The drawing of an entry's texts and the conversion of vocabulary text for widgets.
#include "text/DrawItem.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <exception>

#include "text/Languages.h"
#include "vocab/VocFile.h"

namespace {
void SetStyle(QPainter& painter, bool bold, bool italic) {
  QFont font = painter.font();
  font.setBold(bold);
  font.setItalic(italic);
  painter.setFont(font);
}

void DrawPiece(TItemCanvas& canvas, const std::string& text, uint16_t langId) {
  const QString piece = VocabText(text + ' ', langId);
  const QFontMetrics metrics = canvas.Painter.fontMetrics();
  canvas.Painter.drawText(
      QPoint(canvas.PenPos.x(), canvas.PenPos.y() + metrics.ascent()),
      IsRightToLeft(langId) ? RightToLeftPiece(VocabText(text, langId)) + ' ' : piece);
  canvas.PenPos.rx() += metrics.horizontalAdvance(piece);
}
}  // namespace

void DrawItemText(TItemCanvas& canvas, const TVocabItem& item, bool showNotes, bool showCategory,
                  bool bold, bool foreignSide) {
  SetStyle(canvas.Painter, bold, false);
  if (!foreignSide) {
    DrawPiece(canvas, item.Values[Native], canvas.NativeLangID);
    return;
  }
  DrawPiece(canvas, item.Values[Foreign], canvas.ForeignLangID);
  SetStyle(canvas.Painter, false, true);
  if (showCategory && !item.Values[Category].empty()) {
    DrawPiece(canvas, item.Values[Category], canvas.NativeLangID);
  }
  if (showNotes && !item.Values[Notes].empty()) {
    DrawPiece(canvas, item.Values[Notes], canvas.NativeLangID);
  }
}

QString RightToLeftPiece(const QString& text) {
  // Right-to-left embedding: the text runs from the right within its own place on the line, with
  // the numbers and Latin words inside it where they belong; the pieces stay in field order.
  return QChar(0x202B) + text + QChar(0x202C);
}

QString VocabText(const std::string& text, uint16_t langId) {
  try {
    const std::u16string wide = AnsiToWide(text, langId);
    return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
  } catch (const std::exception&) {
    return {};
  }
}
