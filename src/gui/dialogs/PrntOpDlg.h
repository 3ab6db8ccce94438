// SPDX-License-Identifier: MIT
// The print options dialog, shown by the Print command before each print run.
#pragma once

#include <functional>

#include "platform/Dialog.h"
#include "settings/PrintSettings.h"
#include "settings/RegUtils.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TPrinter;

// What the print options dialog edits. Options and Copies are written only on OK; the font and
// the printer change at once through their buttons and stay changed after Cancel.
struct TPrintOptionsData {
  TPrintOptions Options;
  int Copies = 1;
  TFontSetting Font;
  TPrinter* Printer = nullptr;                    // the printer shown and set up; required
  std::function<bool(TFontSetting&)> FontDialog;  // empty: the program's font dialog
};

// Printer and copies, the print font, title and page numbers, and the fields to include.
class TPrintOptionsDialog : public TDialog {
  Q_OBJECT
public:
  TPrintOptionsDialog(QWidget* owner, TPrintOptionsData& data);

  QGroupBox* gbPrinter = nullptr;
  QLabel* lblPrinter = nullptr;
  QPushButton* btnSetup = nullptr;
  QGroupBox* gbFont = nullptr;
  QLabel* lblFont = nullptr;
  QPushButton* btnFont = nullptr;
  QGroupBox* gbPrint = nullptr;
  QCheckBox* chbTitle = nullptr;
  QCheckBox* chbPageNumbers = nullptr;
  QLabel* lblCopies = nullptr;
  QLineEdit* edtCopies = nullptr;
  QGroupBox* gbInclude = nullptr;
  QCheckBox* chbCategory = nullptr;
  QCheckBox* chbNotes = nullptr;
  QCheckBox* chbNative = nullptr;

private:
  void ShowPrinter();
  void ShowFont();
  void btnSetupClick();
  void btnFontClick();
  void OkClick() override;

  TPrintOptionsData& m_Data;
};
