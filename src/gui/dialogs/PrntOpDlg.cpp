// SPDX-License-Identifier: MIT
// The print options dialog: printer, font, copies and what a print run includes.
#include "dialogs/PrntOpDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cassert>

#include "dialogs/FontDlg.h"
#include "platform/DlgUtils.h"
#include "print/Printer.h"

namespace {
constexpr int kHelpTopic = 3060;
constexpr int kMinCopies = 1, kMaxCopies = 999, kManyCopies = 100;

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}
}  // namespace

TPrintOptionsDialog::TPrintOptionsDialog(QWidget* owner, TPrintOptionsData& data)
    : TDialog(owner, kHelpTopic), m_Data(data) {
  assert(data.Printer);
  setObjectName("PrintOptionsDialog");
  setWindowTitle(tr("Print"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint);

  gbPrinter = Named(new QGroupBox(tr(" Printer: "), this), "gbPrinter");
  lblPrinter = Named(new QLabel(gbPrinter), "lblPrinter");
  lblPrinter->setMinimumWidth(160);
  btnSetup = Named(new QPushButton(tr("&Setup..."), gbPrinter), "btnSetup");
  auto* printerRow = new QHBoxLayout(gbPrinter);
  printerRow->addWidget(lblPrinter, 1);
  printerRow->addWidget(btnSetup);

  gbFont = Named(new QGroupBox(tr(" Font: "), this), "gbFont");
  lblFont = Named(new QLabel(gbFont), "lblFont");
  btnFont = Named(new QPushButton(tr("Ch&ange..."), gbFont), "btnFont");
  auto* fontRow = new QHBoxLayout(gbFont);
  fontRow->addWidget(lblFont, 1);
  fontRow->addWidget(btnFont);

  gbPrint = Named(new QGroupBox(tr(" Print: "), this), "gbPrint");
  chbTitle = Named(new QCheckBox(tr("&Document title"), gbPrint), "chbTitle");
  chbPageNumbers = Named(new QCheckBox(tr("Page &numbers"), gbPrint), "chbPageNumbers");
  lblCopies = Named(new QLabel(tr("&Copies:"), gbPrint), "lblCopies");
  edtCopies = Named(new QLineEdit(gbPrint), "edtCopies");
  edtCopies->setMaxLength(3);
  edtCopies->setMaximumWidth(edtCopies->fontMetrics().horizontalAdvance("0000") + 12);
  SetNumericOnly(edtCopies);
  lblCopies->setBuddy(edtCopies);
  auto* printGrid = new QGridLayout(gbPrint);
  printGrid->addWidget(chbTitle, 0, 0, 1, 2);
  printGrid->addWidget(chbPageNumbers, 1, 0, 1, 2);
  printGrid->addWidget(lblCopies, 2, 0);
  printGrid->addWidget(edtCopies, 2, 1, Qt::AlignLeft);

  gbInclude = Named(new QGroupBox(tr(" Include: "), this), "gbInclude");
  chbCategory = Named(new QCheckBox(tr("&Part of speech"), gbInclude), "chbCategory");
  chbNotes = Named(new QCheckBox(tr("N&otes"), gbInclude), "chbNotes");
  chbNative = Named(new QCheckBox(tr("&Translations"), gbInclude), "chbNative");
  auto* includeColumn = new QVBoxLayout(gbInclude);
  includeColumn->addWidget(chbCategory);
  includeColumn->addWidget(chbNotes);
  includeColumn->addWidget(chbNative);

  CreateButtons();
  auto* grid = new QGridLayout(this);
  grid->addWidget(gbPrinter, 0, 0, 1, 2);
  grid->addWidget(gbFont, 1, 0, 1, 2);
  grid->addWidget(gbPrint, 2, 0);
  grid->addWidget(gbInclude, 2, 1);
  grid->addWidget(ButtonRow(), 3, 0, 1, 2);
  grid->setSizeConstraint(QLayout::SetFixedSize);

  connect(btnSetup, &QPushButton::clicked, this, &TPrintOptionsDialog::btnSetupClick);
  connect(btnFont, &QPushButton::clicked, this, &TPrintOptionsDialog::btnFontClick);

  ShowPrinter();
  ShowFont();
  const TPrintOptions& options = m_Data.Options;
  chbTitle->setChecked(options.PrintTitle);
  chbPageNumbers->setChecked(options.PrintPageNumbers);
  chbCategory->setChecked(options.PrintFields & kPrintCategory);
  chbNotes->setChecked(options.PrintFields & kPrintNotes);
  chbNative->setChecked(options.PrintFields & kPrintNative);
}

void TPrintOptionsDialog::ShowPrinter() {
  lblPrinter->setText(m_Data.Printer->Name());
  edtCopies->setText(QString::number(std::max(m_Data.Printer->Copies(), kMinCopies)));
}

void TPrintOptionsDialog::ShowFont() {
  lblFont->setText(tr("%1, %2 pt").arg(m_Data.Font.Name).arg(m_Data.Font.Size));
}

void TPrintOptionsDialog::btnSetupClick() {
  if (m_Data.Printer->Setup(this)) ShowPrinter();
}

void TPrintOptionsDialog::btnFontClick() {
  bool chosen = false;
  if (m_Data.FontDialog) {
    chosen = m_Data.FontDialog(m_Data.Font);
  } else {
    TSelectFontDialog dialog(this, m_Data.Font);
    chosen = dialog.exec() == QDialog::Accepted;
  }
  if (chosen) ShowFont();
}

void TPrintOptionsDialog::OkClick() {
  if (!ValidateIntRange(edtCopies, kMinCopies, kMaxCopies)) return;
  const int copies = edtCopies->text().trimmed().toInt();
  if (copies > kManyCopies &&
      ShowMessageBox(tr("You have chosen to print a large number of copies. Are you sure?"), {},
                     kMbWarning) != kIdOk) {
    return;
  }
  m_Data.Copies = copies;
  m_Data.Options.PrintTitle = chbTitle->isChecked();
  m_Data.Options.PrintPageNumbers = chbPageNumbers->isChecked();
  m_Data.Options.PrintFields = static_cast<uint8_t>(
      (chbCategory->isChecked() ? kPrintCategory : 0) | (chbNotes->isChecked() ? kPrintNotes : 0) |
      (chbNative->isChecked() ? kPrintNative : 0));
  accept();
}
