// SPDX-License-Identifier: MIT
// The multiple-choice list of the test panel: one row per offered entry.
#pragma once

#include <QColor>
#include <QListWidget>

#include <cstdint>

#include "vocab/VocFile.h"

// lbChoice. Each row stands for an entry and is drawn from it; its item text (the translations
// into the native language, the word/phrase into the foreign one) serves the list's own keyboard
// search. Into the foreign language a typed character instead selects the next row whose
// word/phrase begins with it. A mouse click that leaves a row selected submits the pick.
class TChoiceList : public QListWidget {
  Q_OBJECT
public:
  explicit TChoiceList(QWidget* parent = nullptr);

  // The direction (0 into the native language, 1 into the foreign one) and the languages the
  // entries are drawn and searched in. Takes effect for rows added afterwards.
  void SetLanguages(uint8_t testMode, uint16_t foreignLangId, uint16_t nativeLangId);
  uint8_t TestMode() const { return m_TestMode; }

  // Replaces the rows by one per entry, in order, with nothing selected.
  void SetEntries(const TVocabItemArray& entries);
  void AddEntry(TVocabItem* entry);
  TVocabItem* Entry(int row) const;
  TVocabItemArray Entries() const;
  // The entry of the selected row, or nullptr.
  TVocabItem* SelectedEntry() const;

  // The colour the rows' texts are drawn in when not selected.
  QColor TextColour() const { return m_TextColour; }
  void SetTextColour(const QColor& colour);

  int RowHeight() const { return m_RowHeight; }
  // Font of the rows; the row height becomes its pixel height + 6.
  void SetDisplayFont(const QFont& font);
  // The height that shows exactly rows rows, frame included.
  int HeightForRows(int rows) const;

  // Draws one row: its entry on one line from 2 pixels in, centred vertically.
  void lbChoiceDrawItem(QPainter& painter, int row, const QRect& rect, bool selected) const;

signals:
  // A mouse click ended with a row selected.
  void RowClicked();

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  // Type-ahead into the foreign language; true when the key was a character (and is consumed).
  bool lbChoiceKeyPress(const QString& text);

  uint8_t m_TestMode = 0;
  uint16_t m_ForeignLangId = 0;
  uint16_t m_NativeLangId = 0;
  QColor m_TextColour;
  int m_RowHeight = 16;
};
