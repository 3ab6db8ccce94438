// SPDX-License-Identifier: MIT
// The item edit dialog: its fields and the checks and questions before an entry is stored.
#include "dialogs/EditDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

#include "controls/SblEdit.h"
#include "platform/DlgUtils.h"
#include "text/EditRules.h"
#include "text/KeyboardLayouts.h"

namespace {
constexpr int kHelpTopic = 3000;
}  // namespace

TEditDialog::TEditDialog(QWidget* owner, TEditData& data, const TVocabFile& vocab,
                         const TProgramOptions& options, const QFont& displayFont)
    : TDialog(owner, kHelpTopic), m_Data(data), m_Vocab(vocab), m_Options(options) {
  setObjectName("EditDialog");
  setWindowTitle(m_Data.IsAdd ? tr("Add") : tr("Edit"));
  setMinimumWidth(512);

  // Word/phrase bold in the foreign language; part of speech and notes italic; translations plain.
  const auto makeField = [&](TSymbolEdit*& field, const char* name, QLabel*& label,
                             const char* labelName, const QString& caption, bool foreign,
                             bool italic) {
    field = new TSymbolEdit;
    field->setObjectName(name);
    field->SetTag(foreign ? kTagForeign : kTagNative);
    field->SetLanguage(foreign ? m_Vocab.ForeignLangID() : m_Vocab.NativeLangID());
    QFont font = displayFont;
    font.setBold(foreign);
    font.setItalic(italic);
    field->setFont(font);
    label = new QLabel(caption);
    label->setObjectName(labelName);
    label->setBuddy(field);
    connect(field, &QLineEdit::textChanged, this, &TEditDialog::DataChange);
  };
  makeField(edtForeign, "edtForeign", lblForeign, "lblForeign", tr("&Word/phrase:"), true, false);
  makeField(edtCategory, "edtCategory", lblCategory, "lblCategory", tr("&Part of speech:"), false,
            true);
  makeField(edtNotes, "edtNotes", lblNotes, "lblNotes", tr("&Notes:"), false, true);
  makeField(edtNative, "edtNative", lblNative, "lblNative", tr("&Translations:"), false, false);

  auto* grid = new QGridLayout;
  grid->addWidget(lblForeign, 0, 0);
  grid->addWidget(edtForeign, 0, 1, 1, 3);
  grid->addWidget(lblCategory, 1, 0);
  grid->addWidget(edtCategory, 1, 1);
  grid->addWidget(lblNotes, 1, 2);
  grid->addWidget(edtNotes, 1, 3);
  grid->addWidget(lblNative, 2, 0);
  grid->addWidget(edtNative, 2, 1, 1, 3);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 3);

  CreateButtons();
  auto* buttons = ButtonRow();

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);

  setTabOrder(edtForeign, edtCategory);
  setTabOrder(edtCategory, edtNotes);
  setTabOrder(edtNotes, edtNative);
  setTabOrder(edtNative, btnOK);
  setTabOrder(btnOK, btnCancel);
  setTabOrder(btnCancel, btnHelp);
  if (m_Options.SkipNotes) {
    edtCategory->setFocusPolicy(Qt::ClickFocus);
    edtNotes->setFocusPolicy(Qt::ClickFocus);
  }

  if (!m_Data.IsAdd) {
    edtForeign->SetAnsiText(
        InsertSortMarker(m_Data.Values[Foreign], m_Data.SortPos, m_Options.ConfirmNoSort));
    edtCategory->SetAnsiText(m_Data.Values[Category]);
    edtNotes->SetAnsiText(m_Data.Values[Notes]);
    edtNative->SetAnsiText(m_Data.Values[Native]);
  }
  m_Modified = false;
}

void TEditDialog::showEvent(QShowEvent* event) {
  TDialog::showEvent(event);
  edtForeign->setFocus();
}

void TEditDialog::DataChange() {
  m_Modified = true;
}

void TEditDialog::Complain(TSymbolEdit* field, const QString& message) {
  ShowMessageBox(message, {}, kMbError);
  field->setFocus();
  field->selectAll();
}

bool TEditDialog::Ask(TSymbolEdit* field, const QString& question) {
  if (ShowMessageBox(question, {}, kMbQuestion) == kIdYes) return true;
  field->setFocus();
  field->selectAll();
  return false;
}

void TEditDialog::OkClick() {
  // No exception may leave the slot: a text the field cannot convert is reported and the dialog
  // stays open with the typing untouched.
  try {
    CheckAndStore();
  } catch (const std::exception& e) {
    ShowMessageBox(QString::fromStdString(e.what()), {}, kMbStop);
  }
}

void TEditDialog::CheckAndStore() {
  // An edit that changed nothing stores nothing, even if the stored entry would fail a check.
  if (!m_Data.IsAdd && !m_Modified) {
    reject();
    return;
  }
  std::string foreign = CollapseSpaces(edtForeign->AnsiText());
  // The word is checked and stored without the marker, and so without the blanks beside it:
  // "@" alone is no word, and "house @" is "house".
  int32_t sortPos = 0;
  const bool marked = ExtractSortMarker(foreign, sortPos);
  foreign = CollapseSpaces(foreign);
  const std::string category = CollapseSpaces(edtCategory->AnsiText());
  const std::string notes = CollapseSpaces(edtNotes->AnsiText());
  const std::string native = CollapseSpaces(edtNative->AnsiText());

  if (foreign.empty()) return Complain(edtForeign, tr("Enter a word or phrase."));
  if (!BracketsValid(foreign)) return Complain(edtForeign, tr("Invalid use of brackets."));
  if (native.empty()) return Complain(edtNative, tr("Enter a translation."));
  if (!BracketsValid(native)) return Complain(edtNative, tr("Invalid use of brackets."));
  // A file holds at most 65,535 bytes per text, which UTF-8 text reaches before the field's
  // own limit of characters does.
  using TCheck = std::pair<TSymbolEdit*, const std::string*>;
  for (const auto& [field, text] : {TCheck{edtForeign, &foreign}, TCheck{edtCategory, &category},
                                    TCheck{edtNotes, &notes}, TCheck{edtNative, &native}}) {
    if (text->size() > 0xFFFF) {
      return Complain(field, tr("A text of more than 65,535 bytes cannot be saved."));
    }
  }

  if (!marked && m_Options.ConfirmNoSort) {
    if (!Ask(edtForeign, tr("You have not specified  the sorting position. Sort this item by its "
                            "initial letter?"))) {
      return;
    }
    // A second OK goes straight past the question.
    edtForeign->setText(QString(kSortMarker) + edtForeign->text());
    sortPos = 0;
  }
  if (category.empty() && m_Options.ConfirmNoCategory &&
      !Ask(edtCategory, tr("You have not specified the part of speech. Leave field blank?"))) {
    return;
  }
  if (m_Data.IsAdd && m_Options.ConfirmDuplicates) {
    for (const TVocabItem* e : m_Vocab.Items()) {
      if (e->Values[Foreign] != foreign) continue;
      if (!Ask(edtForeign, tr("Word already exists. Add anyway?"))) return;
      break;
    }
  }
  m_Data.Values = {foreign, category, notes, native};
  m_Data.SortPos = sortPos;
  accept();
}
