// SPDX-License-Identifier: MIT
// The text import dialog: text type, first line and the order of the imported fields.
#include "dialogs/CnvrtDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/DlgUtils.h"

namespace {
constexpr int kHelpTopic = 3010;
constexpr int kMaxFirstLine = 32767;
constexpr int kFieldRole = Qt::UserRole;

int FieldOf(const QListWidgetItem* item) {
  return item->data(kFieldRole).toInt();
}
}  // namespace

TConvertDialog::TConvertDialog(QWidget* owner, TImportRequest& request)
    : TDialog(owner, kHelpTopic), m_Request(request) {
  setObjectName(QStringLiteral("ConvertDialog"));
  setWindowTitle(tr("Convert Text File"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint);

  cbFormat = new QComboBox(this);
  cbFormat->setObjectName(QStringLiteral("cbFormat"));
  cbFormat->addItems({tr("Text (Comma-delimited)"), tr("Text (Tab-delimited)"),
                      tr("Unicode Text (Comma-delimited)"), tr("Unicode Text (Tab-delimited)"),
                      tr("Comma delimited UTF-8"), tr("Tab delimited UTF-8")});
  auto* lblFormat = new QLabel(tr("&Format:"), this);
  lblFormat->setBuddy(cbFormat);

  edtStartFrom = new QLineEdit(QStringLiteral("1"), this);
  edtStartFrom->setObjectName(QStringLiteral("edtStartFrom"));
  edtStartFrom->setMaxLength(3);
  SetNumericOnly(edtStartFrom);
  auto* lblStartFrom = new QLabel(tr("&Start from line:"), this);
  lblStartFrom->setBuddy(edtStartFrom);

  lbAvailable = new QListWidget(this);
  lbAvailable->setObjectName(QStringLiteral("lbAvailable"));
  auto* lblAvailable = new QLabel(tr("&Available fields:"), this);
  lblAvailable->setBuddy(lbAvailable);
  lbSelected = new QListWidget(this);
  lbSelected->setObjectName(QStringLiteral("lbSelected"));
  auto* lblSelected = new QLabel(tr("Fi&elds to import:"), this);
  lblSelected->setBuddy(lbSelected);
  const QString fields[] = {tr("Word/phrase"), tr("Part of speech"), tr("Notes"),
                            tr("Translations")};
  for (int field = 0; field < 4; ++field) {
    auto* item = new QListWidgetItem(fields[field], lbAvailable);
    item->setData(kFieldRole, field);
  }

  btnAdd = new QPushButton(tr("A&dd"), this);
  btnAdd->setObjectName(QStringLiteral("btnAdd"));
  btnAdd->setEnabled(false);
  btnAdd->setAutoDefault(false);
  btnRemove = new QPushButton(tr("&Remove"), this);
  btnRemove->setObjectName(QStringLiteral("btnRemove"));
  btnRemove->setEnabled(false);
  btnRemove->setAutoDefault(false);

  CreateButtons();
  auto* buttons = ButtonRow();

  auto* top = new QGridLayout;
  top->addWidget(lblFormat, 0, 0);
  top->addWidget(cbFormat, 0, 1);
  top->addWidget(lblStartFrom, 1, 0);
  top->addWidget(edtStartFrom, 1, 1, Qt::AlignLeft);
  edtStartFrom->setFixedWidth(edtStartFrom->fontMetrics().horizontalAdvance(u'0') * 6);
  auto* lists = new QGridLayout;
  lists->addWidget(lblAvailable, 0, 0);
  lists->addWidget(lbAvailable, 1, 0);
  auto* moves = new QVBoxLayout;
  moves->addStretch();
  moves->addWidget(btnAdd);
  moves->addWidget(btnRemove);
  moves->addStretch();
  lists->addLayout(moves, 1, 1);
  lists->addWidget(lblSelected, 0, 2);
  lists->addWidget(lbSelected, 1, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(lists);
  layout->addWidget(buttons);

  // A preset that names no format falls back to the first, so that OK never hands on a type
  // the import does not know.
  cbFormat->setCurrentIndex(m_Request.TextType <= ttUtf8TabText ? int(m_Request.TextType)
                                                                : int(ttCommaText));

  connect(lbAvailable, &QListWidget::itemSelectionChanged, this, [this] {
    if (!lbAvailable->selectedItems().isEmpty()) btnAdd->setEnabled(true);
  });
  connect(lbSelected, &QListWidget::itemSelectionChanged, this, [this] {
    if (!lbSelected->selectedItems().isEmpty()) btnRemove->setEnabled(true);
  });
  connect(lbAvailable, &QListWidget::itemDoubleClicked, this, [this] {
    if (btnAdd->isEnabled()) btnAddClick();
  });
  connect(lbSelected, &QListWidget::itemDoubleClicked, this, [this] {
    if (btnRemove->isEnabled()) btnRemoveClick();
  });
  connect(btnAdd, &QPushButton::clicked, this, &TConvertDialog::btnAddClick);
  connect(btnRemove, &QPushButton::clicked, this, &TConvertDialog::btnRemoveClick);
}

void TConvertDialog::btnAddClick() {
  MoveField(lbAvailable, lbSelected, btnAdd);
}

void TConvertDialog::btnRemoveClick() {
  MoveField(lbSelected, lbAvailable, btnRemove);
}

void TConvertDialog::MoveField(QListWidget* from, QListWidget* to, QPushButton* button) {
  const QList<QListWidgetItem*> selected = from->selectedItems();
  if (selected.isEmpty()) return;
  const int row = from->row(selected.first());
  QListWidgetItem* item = from->takeItem(row);
  to->addItem(item);
  item->setSelected(false);
  if (from->count() == 0) {
    button->setEnabled(false);
    return;
  }
  // The field that took its place, or the new last one.
  from->setCurrentRow(std::min(row, from->count() - 1), QItemSelectionModel::ClearAndSelect);
}

void TConvertDialog::OkClick() {
  if (!ValidateIntRange(edtStartFrom, 1, kMaxFirstLine)) return;
  bool hasWordPhrase = false;
  for (int k = 0; k < lbSelected->count(); ++k) {
    if (FieldOf(lbSelected->item(k)) == 0) hasWordPhrase = true;
  }
  if (!hasWordPhrase) {
    ShowMessageBox(tr("The field 'Word/phrase' must be included in the list of fields to import."),
                   {}, kMbError);
    // Offer the missing field, ready to be added.
    for (int k = 0; k < lbAvailable->count(); ++k) {
      if (FieldOf(lbAvailable->item(k)) == 0) {
        lbAvailable->setCurrentRow(k, QItemSelectionModel::ClearAndSelect);
      }
    }
    lbAvailable->setFocus(Qt::OtherFocusReason);
    return;
  }
  m_Request.TextType = static_cast<uint8_t>(cbFormat->currentIndex());
  m_Request.FirstLine = edtStartFrom->text().trimmed().toInt();
  m_Request.ColumnMap = {0, 0, 0, 0};
  for (int k = 0; k < lbSelected->count(); ++k) {
    m_Request.ColumnMap[static_cast<size_t>(FieldOf(lbSelected->item(k)))] = k + 1;
  }
  accept();
}
