// SPDX-License-Identifier: MIT
// The one drawing of an entry's texts (DrawItemText) and VocabText, shared by every widget.
#pragma once

#include <QPoint>
#include <QString>

#include <cstdint>
#include <string>

class QPainter;
class TVocabItem;

// Where DrawItemText draws: the painter, whose font face, size and pen colour the caller has
// set; the pen position (top left of the next piece of text), which drawing advances; and the
// languages whose code pages the entry's texts are in.
struct TItemCanvas {
  QPainter& Painter;
  QPoint PenPos;
  uint16_t ForeignLangID = 0;
  uint16_t NativeLangID = 0;
};

// Draws an entry's texts one after the other on one line from the pen position, each piece
// followed by a space. With foreignSide: the word/phrase (bold when bold is set, else regular),
// then in italics the part of speech (showCategory) and the notes (showNotes) where they are not
// empty. Without foreignSide: only the translations, bold or regular. The painter keeps the font
// style of the last piece.
void DrawItemText(TItemCanvas& canvas, const TVocabItem& item, bool showNotes, bool showCategory,
                  bool bold, bool foreignSide);

// text set to run from right to left as one piece of a left-to-right line (zero-width marks
// around it, so its width is the text's own).
QString RightToLeftPiece(const QString& text);

// Vocabulary text for display: the bytes read in the code page of the language. A text the
// code page cannot be opened for shows as empty rather than failing a paint.
QString VocabText(const std::string& text, uint16_t langId);
