// SPDX-License-Identifier: MIT
// The Find window and the main window's Find Next search.
#include "dialogs/SrchDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "controls/SblEdit.h"
#include "platform/DlgUtils.h"
#include "platform/ErrorHandler.h"
#include "platform/Hourglass.h"
#include "text/KeyboardLayouts.h"
#include "text/Languages.h"
#include "vocab/VocFile.h"

namespace {
constexpr int kHelpTopic = 3020;
}  // namespace

TSearchDialog::TSearchDialog(QWidget* owner, TSearchData& data, std::function<void()> findNext,
                             std::function<const TVocabFile*()> vocabulary)
    : TDialog(owner, kHelpTopic),
      m_Data(data),
      m_FindNext(std::move(findNext)),
      m_Vocabulary(std::move(vocabulary)) {
  setObjectName(QStringLiteral("SearchDialog"));
  setWindowTitle(tr("Find"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint |
                 Qt::WindowStaysOnTopHint);
  setModal(false);
  SetCentreOnce(true);

  cbField = new QComboBox(this);
  cbField->setObjectName(QStringLiteral("cbField"));
  cbField->addItems({tr("Word/phrase"), tr("Part of speech"), tr("Notes"), tr("Translations")});
  lblField = new QLabel(tr("&Search:"), this);
  lblField->setObjectName(QStringLiteral("lblField"));
  lblField->setBuddy(cbField);

  edtFind = new TSymbolEdit(this);
  edtFind->setObjectName(QStringLiteral("edtFind"));
  QFont findFont(QStringLiteral("Arial"));
  findFont.setPixelSize(16);
  edtFind->setFont(findFont);
  lblFind = new QLabel(tr("&Find:"), this);
  lblFind->setObjectName(QStringLiteral("lblFind"));
  lblFind->setBuddy(edtFind);

  cbMode = new QComboBox(this);
  cbMode->setObjectName(QStringLiteral("cbMode"));
  cbMode->addItems(
      {tr("Any part of field"), tr("Start of field"), tr("End of field"), tr("Whole field")});
  lblMode = new QLabel(tr("&Match:"), this);
  lblMode->setObjectName(QStringLiteral("lblMode"));
  lblMode->setBuddy(cbMode);

  chbMatchCase = new QCheckBox(tr("Match &case"), this);
  chbMatchCase->setObjectName(QStringLiteral("chbMatchCase"));
  chbMatchAccents = new QCheckBox(tr("Match &accents"), this);
  chbMatchAccents->setObjectName(QStringLiteral("chbMatchAccents"));
  chbMatchWord = new QCheckBox(tr("Find &whole word only"), this);
  chbMatchWord->setObjectName(QStringLiteral("chbMatchWord"));

  btnFind = new QPushButton(tr("Find Next"), this);
  btnFind->setObjectName(QStringLiteral("btnFind"));
  btnFind->setDefault(true);
  btnFind->setAutoDefault(true);
  // Cancel only hides the window (reject() of a modeless dialog).
  CreateButtons(bnCancel | bnHelp);

  // Fields on the left, the buttons in a column on the right; the grid centres every label on
  // its control and the rows take their height from the fonts.
  auto* fields = new QGridLayout;
  fields->addWidget(lblField, 0, 0);
  fields->addWidget(cbField, 0, 1, 1, 2);
  fields->addWidget(lblFind, 1, 0);
  fields->addWidget(edtFind, 1, 1, 1, 2);
  fields->addWidget(lblMode, 2, 0);
  fields->addWidget(cbMode, 2, 1, 1, 2);
  fields->addWidget(chbMatchCase, 3, 1);
  fields->addWidget(chbMatchAccents, 3, 2);
  fields->addWidget(chbMatchWord, 4, 1, 1, 2);
  fields->setColumnStretch(1, 1);
  fields->setColumnStretch(2, 1);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(btnFind);
  buttons->addWidget(btnCancel);
  buttons->addWidget(btnHelp);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(fields, 1);
  layout->addLayout(buttons);
  resize(441, sizeHint().height());

  setTabOrder(edtFind, cbMode);
  setTabOrder(cbMode, chbMatchCase);
  setTabOrder(chbMatchCase, chbMatchAccents);
  setTabOrder(chbMatchAccents, chbMatchWord);
  setTabOrder(chbMatchWord, btnFind);
  setTabOrder(btnFind, btnCancel);
  setTabOrder(btnCancel, btnHelp);
  setTabOrder(btnHelp, cbField);

  connect(cbField, &QComboBox::activated, this, &TSearchDialog::cbFieldClick);
  connect(cbMode, &QComboBox::currentIndexChanged, this, &TSearchDialog::SearchChange);
  connect(edtFind, &QLineEdit::textChanged, this, &TSearchDialog::SearchChange);
  connect(btnFind, &QPushButton::clicked, this, &TSearchDialog::btnFindClick);
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

uint16_t TSearchDialog::FieldLanguage(int field) const {
  const TVocabFile* vocab = m_Vocabulary ? m_Vocabulary() : nullptr;
  if (!vocab) return 0;
  return field == Foreign ? vocab->ForeignLangID() : vocab->NativeLangID();
}

void TSearchDialog::SetFindFont(const QFont& font) {
  edtFind->setFont(font);
  // The rows take their heights from the fonts; the window takes the height they need.
  resize(width(), sizeHint().height());
}

void TSearchDialog::SetFindLanguage(uint16_t langId) {
  // One character set is one code page, so the text keeps its meaning unless that changes.
  if (LanguageCharset(langId) != LanguageCharset(edtFind->Language())) edtFind->clear();
  edtFind->SetLanguage(langId);
}

void TSearchDialog::showEvent(QShowEvent* event) {
  TDialog::showEvent(event);
  FormShow();
}

void TSearchDialog::FormShow() {
  m_KeyDown = false;
  const int field = m_Data.Field <= Native ? m_Data.Field : 0;
  const QSignalBlocker blockField(cbField);
  cbField->setCurrentIndex(field);
  // The stored text is in the field's language: give the field that language before the text,
  // so that loading it never counts as a change of character set.
  edtFind->SetLanguage(FieldLanguage(field));
  edtFind->SetAnsiText(m_Data.Text);
  cbMode->setCurrentIndex(m_Data.Mode <= smWholeField ? int(m_Data.Mode) : int(smAnyPart));
  chbMatchCase->setChecked(m_Data.Options & sdMatchCase);
  chbMatchAccents->setChecked(m_Data.Options & sdMatchAccents);
  chbMatchWord->setChecked(m_Data.Options & sdWholeWord);
  cbFieldClick();
  FocusFind();
}

void TSearchDialog::cbFieldClick() {
  SetFindLanguage(FieldLanguage(cbField->currentIndex()));
  edtFind->SetTag(cbField->currentIndex() == Foreign ? kTagForeign : kTagNative);
  SearchChange();
  // Changing the field with the arrow keys leaves the focus on the list.
  if (!m_KeyDown) FocusFind();
}

void TSearchDialog::SearchChange() {
  bool wordOnly = false;
  try {
    const std::string text = edtFind->AnsiText();
    wordOnly = LettersDigitsOnly(text, edtFind->Language(), true) == text;
  } catch (const std::exception&) {
    // Without its code page the text cannot be classified; Find Next will report the failure.
  }
  const bool wholeField = cbMode->currentIndex() == smWholeField;
  chbMatchWord->setEnabled(!wholeField && wordOnly);
  if (!chbMatchWord->isEnabled()) chbMatchWord->setChecked(false);
  btnFind->setEnabled(!edtFind->text().isEmpty() || wholeField);
}

void TSearchDialog::btnFindClick() {
  if (!btnFind->isEnabled()) return;
  RunCommand([this] {
    m_Data.Text = edtFind->AnsiText();
    m_Data.Field = static_cast<uint8_t>(cbField->currentIndex());
    m_Data.Mode = static_cast<uint8_t>(cbMode->currentIndex());
    m_Data.Options = static_cast<uint8_t>((chbMatchCase->isChecked() ? sdMatchCase : 0) |
                                          (chbMatchAccents->isChecked() ? sdMatchAccents : 0) |
                                          (chbMatchWord->isChecked() ? sdWholeWord : 0));
    if (m_FindNext) m_FindNext();
  });
  FocusFind();
}

void TSearchDialog::FocusFind() {
  edtFind->setFocus(Qt::OtherFocusReason);
  edtFind->selectAll();
}

void TSearchDialog::MoveOffBand(const QRect& band) {
  const QRect frame = frameGeometry();
  if (!frame.intersects(band)) return;
  const QScreen* screen = this->screen();
  const QRect area = screen ? screen->geometry() : QRect(0, 0, 0, 0);
  // Exclusive bottoms, as the band's edges are meant.
  const int bandBottom = band.top() + band.height();
  const int top = band.top() + bandBottom > 2 * area.top() + area.height()
                      ? band.top() - frame.height()
                      : bandBottom;
  move(frame.left(), top);
}

bool TSearchDialog::eventFilter(QObject* watched, QEvent* event) {
  // The dialog sees the keys before its controls, to know whether one is held down.
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == cbField && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
      m_KeyDown = false;
      FocusFind();
      return true;
    }
    // Keys that open the drop-down are released in the drop-down, where the dialog cannot see
    // them; a choice made there counts as made with the mouse.
    const bool opensList =
        watched == cbField && (key->key() == Qt::Key_F4 || key->key() == Qt::Key_Space ||
                               (key->modifiers() & Qt::AltModifier));
    if (!opensList) m_KeyDown = true;
  } else if (event->type() == QEvent::KeyRelease) {
    if (!static_cast<QKeyEvent*>(event)->isAutoRepeat()) m_KeyDown = false;
  } else if (event->type() == QEvent::FocusOut && watched == cbField) {
    m_KeyDown = false;
  }
  return QDialog::eventFilter(watched, event);
}

int FindNextEntry(const TVocabFile& vocab, const TSearchData& data, TSearchDialog* dialog,
                  const std::function<void(int row)>& selectRow,
                  const std::function<QRect(int row)>& rowRect) {
  int row = -1;
  {
    const THourglass hourglass;
    row = vocab.Find(data);
  }
  if (row < 0) {
    ShowMessageBox(QObject::tr("Search text not found."), QObject::tr("Find"), kMbNotice);
    return -1;
  }
  if (row == vocab.ItemIndex()) return row;
  if (selectRow) selectRow(row);
  if (dialog && dialog->isVisible() && rowRect) {
    const QRect cell = rowRect(row);
    dialog->MoveOffBand(cell.adjusted(0, -cell.height(), 0, cell.height()));
  }
  return row;
}
