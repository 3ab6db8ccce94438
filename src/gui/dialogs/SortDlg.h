// SPDX-License-Identifier: MIT
// The sort dialog, which chooses the field the list is sorted by.
#pragma once

#include <cstdint>

#include "platform/Dialog.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

// Chooses the field the Sort command orders the list by. The choice goes into sortField on OK,
// and at once when a field is double-clicked (the dialog then stays open).
class TSortDialog : public TDialog {
  Q_OBJECT
public:
  TSortDialog(QWidget* owner, uint8_t& sortField);

  // Each control's "tag" property holds its field: the radio buttons their own, gbSort the one
  // checked.
  QGroupBox* gbSort = nullptr;
  QRadioButton* rbForeign = nullptr;
  QRadioButton* rbCategory = nullptr;
  QRadioButton* rbNotes = nullptr;
  QRadioButton* rbNative = nullptr;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void RadioButtonClick(QRadioButton* button);
  void OkClick() override;
  uint8_t ChosenField() const;

  uint8_t& m_SortField;
};
