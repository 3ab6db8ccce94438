// SPDX-License-Identifier: MIT
// The properties dialog of a vocabulary and the record it works on.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

// What the properties dialog shows and gives back. Texts are in the native language's code page.
struct TPropertiesData {
  bool IsNew = false;
  QString FileName;
  uint16_t ForeignLangID = 0;
  uint16_t NativeLangID = 0;
  std::string Description;
  std::string Author;
  std::string Comments;
};

// The languages and descriptive texts of a vocabulary, and where its file is. Works on the record
// it is given and writes the choices back only on OK.
class TPropertiesDialog : public TDialog {
  Q_OBJECT
public:
  TPropertiesDialog(QWidget* owner, TPropertiesData& data);

  // "2.50KB (2560 bytes)", or "1023 bytes" below 1,024 bytes.
  static QString SizeText(qint64 bytes);

  QTabWidget* pcProperties = nullptr;
  QWidget* tsGeneral = nullptr;
  QWidget* tsSummary = nullptr;
  QLabel* stDocumentTitle = nullptr;
  QLabel* stLocation = nullptr;
  QLabel* stSize = nullptr;
  QLabel* stModified = nullptr;
  QCheckBox* chbReadOnly = nullptr;
  QCheckBox* chbHidden = nullptr;
  QCheckBox* chbArchive = nullptr;
  QCheckBox* chbSystem = nullptr;
  QComboBox* cbForeign = nullptr;
  QComboBox* cbNative = nullptr;
  QLineEdit* edtDescription = nullptr;
  QLineEdit* edtAuthor = nullptr;
  QPlainTextEdit* memComments = nullptr;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  void FillGeneralPage();
  void FillLanguages(QComboBox* list, uint16_t langId);
  void LanguageChange();
  void OkClick() override;

  TPropertiesData& m_Data;
};
