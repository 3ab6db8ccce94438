// SPDX-License-Identifier: MIT
// The page setup dialog: margins, columns and separator lines of printed pages.
#pragma once

#include <QLocale>
#include <QWidget>

#include <array>
#include <functional>

#include "platform/Dialog.h"
#include "settings/PrintSettings.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// The user's measurement system, which chooses centimetres or inches for the margins. A seam:
// tests pick one.
extern std::function<QLocale::MeasurementSystem()> MeasurementSystemHandler;

// A miniature of a printed page: lines of text in the columns, with the separators.
class TPagePreview : public QWidget {
  Q_OBJECT
public:
  explicit TPagePreview(QWidget* parent = nullptr);
  void SetLayout(int columns, bool separator);
  QSize sizeHint() const override { return QSize(49, 57); }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  int m_Columns = 1;
  bool m_Separator = false;
};

// Edits the page setup record, written back only on OK. Margins are shown in inches where the
// system measures in US units and in centimetres on any other, and stored in twips rounded half
// up.
class TPageSetupDialog : public TDialog {
  Q_OBJECT
public:
  TPageSetupDialog(QWidget* owner, TPageSetup& setup);

  // Twips per unit of the margins shown: 567 for centimetres, 1440 for inches.
  int TwipsPerUnit() const { return m_TwipsPerUnit; }
  // The column count the radio buttons chose.
  int Columns() const { return m_Columns; }

  QGroupBox* gbMargins = nullptr;
  QLineEdit* edtLeft = nullptr;
  QLineEdit* edtRight = nullptr;
  QLineEdit* edtTop = nullptr;
  QLineEdit* edtBottom = nullptr;
  QGroupBox* gbColumns = nullptr;
  QRadioButton* rbOneCol = nullptr;
  QRadioButton* rbTwoCols = nullptr;
  QRadioButton* rbThreeCols = nullptr;
  QCheckBox* chbSeparator = nullptr;
  TPagePreview* pbPreview = nullptr;

private:
  void ColumnClick(int columns);
  void UpdatePreview();
  void OkClick() override;

  TPageSetup& m_Setup;
  int m_TwipsPerUnit = 567;
  int m_Columns = 1;
};
