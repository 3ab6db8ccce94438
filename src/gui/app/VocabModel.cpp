// SPDX-License-Identifier: MIT
// The rows of the vocabulary list, as a model over the open vocabulary.
#include "app/VocabModel.h"

#include "text/DrawItem.h"
#include "vocab/VocFile.h"

TVocabModel::TVocabModel(QObject* parent) : QAbstractTableModel(parent) {}

int TVocabModel::VocabRows() const {
  return m_Vocab && m_Vocab->Count() > 0 ? m_Vocab->Count() : 1;
}

void TVocabModel::SetVocabulary(TVocabFile* vocab) {
  beginResetModel();
  m_Vocab = vocab;
  m_RowCount = VocabRows();
  endResetModel();
}

void TVocabModel::Refresh() {
  const int rows = VocabRows();
  if (rows > m_RowCount) {
    beginInsertRows({}, m_RowCount, rows - 1);
    m_RowCount = rows;
    endInsertRows();
  } else if (rows < m_RowCount) {
    beginRemoveRows({}, rows, m_RowCount - 1);
    m_RowCount = rows;
    endRemoveRows();
  }
  emit dataChanged(index(0, 0), index(m_RowCount - 1, 0));
}

int TVocabModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_RowCount;
}

int TVocabModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 1;
}

QVariant TVocabModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::DisplayRole) return {};
  if (!m_Vocab || index.row() >= m_Vocab->Count()) return QString();
  const TVocabItem& item = m_Vocab->GetItem(index.row());
  QString text = VocabText(item.Values[Foreign], m_Vocab->ForeignLangID());
  for (const int field : {Category, Notes, Native}) {
    if (item.Values[field].empty()) continue;
    text += ' ';
    text += VocabText(item.Values[field], m_Vocab->NativeLangID());
  }
  return text;
}

Qt::ItemFlags TVocabModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
