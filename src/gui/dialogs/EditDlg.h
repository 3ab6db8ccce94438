// SPDX-License-Identifier: MIT
// The item edit dialog for adding or editing one entry, and the record it works on.
#pragma once

#include <cstdint>

#include "platform/Dialog.h"
#include "testing/Options.h"
#include "vocab/VocFile.h"

class QLabel;
class QPushButton;
class TSymbolEdit;

// What the item edit dialog is given and, on OK, gives back.
struct TEditData {
  bool IsAdd = true;
  TFieldValues Values;
  int32_t SortPos = 0;
};

// Adds or edits one entry: tidies the spacing of its texts, checks the brackets, turns the "@"
// marker into the sorting position and asks what the editing options ask for. The record is
// written only when every check has passed.
class TEditDialog : public TDialog {
  Q_OBJECT
public:
  // vocab supplies the languages and, when adding, the words to check for duplicates.
  TEditDialog(QWidget* owner, TEditData& data, const TVocabFile& vocab,
              const TProgramOptions& options, const QFont& displayFont);

  QLabel* lblForeign = nullptr;
  TSymbolEdit* edtForeign = nullptr;
  QLabel* lblCategory = nullptr;
  TSymbolEdit* edtCategory = nullptr;
  QLabel* lblNotes = nullptr;
  TSymbolEdit* edtNotes = nullptr;
  QLabel* lblNative = nullptr;
  TSymbolEdit* edtNative = nullptr;

protected:
  void showEvent(QShowEvent* event) override;

private:
  void DataChange();
  void OkClick() override;
  void CheckAndStore();
  // The message or question at field: the field then gets the focus with its text selected.
  void Complain(TSymbolEdit* field, const QString& message);
  bool Ask(TSymbolEdit* field, const QString& question);

  TEditData& m_Data;
  const TVocabFile& m_Vocab;
  const TProgramOptions& m_Options;
  bool m_Modified = false;
};
