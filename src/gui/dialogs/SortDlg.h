// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <cstdint>

class QGroupBox;
class QPushButton;
class QRadioButton;

// Chooses the field the Sort command orders the list by. The choice goes into sortField on OK,
// and at once when a field is double-clicked (the dialog then stays open).
class TSortDialog : public QDialog {
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
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;
  QPushButton* btnHelp = nullptr;

signals:
  void helpRequested(int topic);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  void RadioButtonClick(QRadioButton* button);
  void btnOKClick();
  uint8_t ChosenField() const;

  uint8_t& m_SortField;
};
