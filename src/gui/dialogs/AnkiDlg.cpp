// SPDX-License-Identifier: MIT
// The Anki import dialog: note types, their fields and where each goes.
#include "dialogs/AnkiDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/DlgUtils.h"
#include "vocab/VocFile.h"

namespace {
constexpr int kHelpTopic = 3010;
// The items of a field's list: the four entry fields, then "not used" (-1).
constexpr int kNotUsedItem = 4;

int ItemOf(int32_t target) {
  return target >= 0 && target < kNotUsedItem ? target : kNotUsedItem;
}
int32_t TargetOf(int item) {
  return item >= 0 && item < kNotUsedItem ? item : -1;
}
}  // namespace

TAnkiImportDialog::TAnkiImportDialog(QWidget* owner, TAnkiMappingData& data)
    : TDialog(owner, kHelpTopic), m_Data(data), m_Maps(data.Maps) {
  setObjectName(QStringLiteral("AnkiImportDialog"));
  setWindowTitle(tr("Import Anki Package"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint);
  m_Maps.resize(m_Data.NoteTypes.size());

  cbNoteType = new QComboBox(this);
  cbNoteType->setObjectName(QStringLiteral("cbNoteType"));
  for (const TAnkiNoteType& type : m_Data.NoteTypes) {
    cbNoteType->addItem(
        tr("%1 (%2 notes)").arg(QString::fromStdString(type.Name)).arg(type.NoteCount));
  }
  auto* lblNoteType = new QLabel(tr("&Note type:"), this);
  lblNoteType->setBuddy(cbNoteType);

  grdFields = new QTableWidget(0, 2, this);
  grdFields->setObjectName(QStringLiteral("grdFields"));
  grdFields->setHorizontalHeaderLabels({tr("Field"), tr("Import as")});
  grdFields->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  grdFields->verticalHeader()->hide();
  grdFields->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdFields->setSelectionMode(QAbstractItemView::NoSelection);
  auto* lblFields = new QLabel(tr("&Fields:"), this);
  lblFields->setBuddy(grdFields);

  CreateButtons();
  auto* form = new QFormLayout;
  form->addRow(lblNoteType, cbNoteType);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(lblFields);
  layout->addWidget(grdFields);
  layout->addWidget(ButtonRow());
  resize(420, 320);

  connect(cbNoteType, &QComboBox::currentIndexChanged, this, [this](int index) {
    KeepNoteType();
    ShowNoteType(index);
  });
  ShowNoteType(cbNoteType->currentIndex());
}

QComboBox* TAnkiImportDialog::FieldTarget(int row) const {
  return qobject_cast<QComboBox*>(grdFields->cellWidget(row, 1));
}

void TAnkiImportDialog::ShowNoteType(int index) {
  m_Shown = index;
  grdFields->setRowCount(0);
  if (index < 0) return;
  const TAnkiNoteType& type = m_Data.NoteTypes[static_cast<size_t>(index)];
  TAnkiFieldMap& map = m_Maps[static_cast<size_t>(index)];
  map.resize(type.FieldNames.size(), -1);
  grdFields->setRowCount(static_cast<int>(type.FieldNames.size()));
  for (int row = 0; row < grdFields->rowCount(); ++row) {
    grdFields->setItem(row, 0,
                       new QTableWidgetItem(QString::fromStdString(type.FieldNames[size_t(row)])));
    auto* target = new QComboBox(grdFields);
    target->setObjectName(QStringLiteral("cbField%1").arg(row));
    target->addItems({tr("Word/phrase"), tr("Part of speech"), tr("Notes"), tr("Translations"),
                      tr("(not used)")});
    target->setCurrentIndex(ItemOf(map[size_t(row)]));
    grdFields->setCellWidget(row, 1, target);
  }
}

void TAnkiImportDialog::KeepNoteType() {
  if (m_Shown < 0) return;
  TAnkiFieldMap& map = m_Maps[static_cast<size_t>(m_Shown)];
  for (int row = 0; row < grdFields->rowCount(); ++row) {
    map[size_t(row)] = TargetOf(FieldTarget(row)->currentIndex());
  }
}

void TAnkiImportDialog::OkClick() {
  KeepNoteType();
  for (size_t type = 0; type < m_Maps.size(); ++type) {
    const TAnkiFieldMap& map = m_Maps[type];
    if (std::find(map.begin(), map.end(), int32_t{Foreign}) != map.end()) continue;
    ShowMessageBox(tr("The field 'Word/phrase' must be included in the list of fields to import."),
                   {}, kMbError);
    cbNoteType->setCurrentIndex(static_cast<int>(type));
    grdFields->setFocus(Qt::OtherFocusReason);
    return;
  }
  m_Data.Maps = m_Maps;
  accept();
}
