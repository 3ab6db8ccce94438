// SPDX-License-Identifier: MIT
// The text import dialog, which asks how a text file is to be imported.
#pragma once

#include "platform/Dialog.h"
#include "vocab/Import.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// Asks how a text file is to be imported: its text type (preset from detection), the first line
// to read and which column holds which field. The columns are taken to be in the order of the
// "Fields to import" list. The request is filled only on OK.
class TConvertDialog : public TDialog {
  Q_OBJECT
public:
  TConvertDialog(QWidget* owner, TImportRequest& request);

  QComboBox* cbFormat = nullptr;
  QLineEdit* edtStartFrom = nullptr;
  QListWidget* lbAvailable = nullptr;
  QListWidget* lbSelected = nullptr;
  QPushButton* btnAdd = nullptr;
  QPushButton* btnRemove = nullptr;

private:
  void btnAddClick();
  void btnRemoveClick();
  // Moves the selected field of from to the end of to; disables button when from is empty.
  void MoveField(QListWidget* from, QListWidget* to, QPushButton* button);
  void OkClick() override;

  TImportRequest& m_Request;
};
