// SPDX-License-Identifier: MIT
// The modeless Find window and the Find Next search it drives.
#pragma once

#include <QFont>
#include <QRect>

#include <cstdint>
#include <functional>

#include "platform/Dialog.h"
#include "text/Search.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class TSymbolEdit;
class TVocabFile;

// The modeless Find window. It edits the main window's one search request and runs the main
// window's Find Next command; Cancel and the close box only hide it, so it keeps its place and
// its choices for the whole run.
class TSearchDialog : public TDialog {
  Q_OBJECT
public:
  // findNext is the main window's Find Next command; vocabulary gives the open vocabulary (or
  // nullptr), whose languages decide the code page of the search text.
  TSearchDialog(QWidget* owner, TSearchData& data, std::function<void()> findNext,
                std::function<const TVocabFile*()> vocabulary);

  // The language searched for field (0 word/phrase: foreign, else native); 0 without a
  // vocabulary.
  uint16_t FieldLanguage(int field) const;

  // Moves the dialog up or down, and only vertically, so that it does not cover band (screen
  // coordinates): above it when the band's middle is in the lower half of the screen.
  void MoveOffBand(const QRect& band);

  // The display font's face and size for the search text, which is vocabulary text.
  void SetFindFont(const QFont& font);

  // Loads every control from the search request, as on showing; also after the request's text
  // or the vocabulary's languages changed while the window is open.
  void FormShow();

  QLabel* lblField = nullptr;
  QComboBox* cbField = nullptr;
  QLabel* lblFind = nullptr;
  TSymbolEdit* edtFind = nullptr;
  QLabel* lblMode = nullptr;
  QComboBox* cbMode = nullptr;
  QCheckBox* chbMatchCase = nullptr;
  QCheckBox* chbMatchAccents = nullptr;
  QCheckBox* chbMatchWord = nullptr;
  QPushButton* btnFind = nullptr;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  void cbFieldClick();
  void SearchChange();
  void btnFindClick();
  void SetFindLanguage(uint16_t langId);
  void FocusFind();

  TSearchData& m_Data;
  std::function<void()> m_FindNext;
  std::function<const TVocabFile*()> m_Vocabulary;
  bool m_KeyDown = false;  // a key is held down in the dialog
};

// The main window's Find Next command on vocab: finds the next entry for data, after the current
// one and wrapping round. Not found: the message "Search text not found." (caption "Find").
// Found the current entry: nothing. Otherwise selectRow(row) makes it current, and when dialog
// is visible it is moved off the band of rowRect(row) (the row's cell on the screen) widened
// upward and downward by one row height. Returns the row found or -1.
int FindNextEntry(const TVocabFile& vocab, const TSearchData& data, TSearchDialog* dialog,
                  const std::function<void(int row)>& selectRow,
                  const std::function<QRect(int row)>& rowRect);
