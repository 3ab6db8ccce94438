// SPDX-License-Identifier: MIT
// The Anki import dialog, which asks where each field of each note type goes.
#pragma once

#include <vector>

#include "platform/Dialog.h"
#include "vocab/AnkiPackage.h"

class QComboBox;
class QTableWidget;

// The note types of a package and, per note type, where each field goes; the dialog shows the
// maps it is given (remembered or suggested) and writes them back only on OK.
struct TAnkiMappingData {
  std::vector<TAnkiNoteType> NoteTypes;
  std::vector<TAnkiFieldMap> Maps;  // one per note type, as long as its fields
};

// Lists the note types of a package (cbNoteType) and the fields of the chosen one (grdFields,
// each with a drop-down list of the entry fields and "(not used)"). OK asks that every note type
// gives some field to the word/phrase.
class TAnkiImportDialog : public TDialog {
  Q_OBJECT
public:
  TAnkiImportDialog(QWidget* owner, TAnkiMappingData& data);

  QComboBox* cbNoteType = nullptr;
  QTableWidget* grdFields = nullptr;
  // The drop-down list of the field in that row of grdFields.
  QComboBox* FieldTarget(int row) const;

private:
  void ShowNoteType(int index);
  void KeepNoteType();
  void OkClick() override;

  TAnkiMappingData& m_Data;
  std::vector<TAnkiFieldMap> m_Maps;
  int m_Shown = -1;
};
