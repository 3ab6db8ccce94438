// SPDX-License-Identifier: MIT
// The model of the vocabulary list: one row per entry of the open vocabulary.
#pragma once

#include <QAbstractTableModel>

class TVocabFile;

// The rows of the vocabulary list: row r is entry r, and an empty vocabulary still has one blank
// row. The model reads the vocabulary it is given and keeps only its row count, so bringing it
// in step after a change costs the same for ten entries as for a million.
class TVocabModel : public QAbstractTableModel {
  Q_OBJECT
public:
  explicit TVocabModel(QObject* parent = nullptr);

  TVocabFile* Vocabulary() const { return m_Vocab; }
  // Shows another vocabulary (or none); the model is reset.
  void SetVocabulary(TVocabFile* vocab);
  // After the vocabulary changed: rows are added or removed at the end to match its count, and
  // every row is reported changed.
  void Refresh();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  // The display role gives the row's texts joined by spaces, for accessibility and tests; the
  // grid draws rows itself.
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
  int VocabRows() const;

  TVocabFile* m_Vocab = nullptr;
  int m_RowCount = 1;
};
