// SPDX-License-Identifier: MIT
// The font dialog: face and size lists, the preview and the size check.
#include "dialogs/FontDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "platform/DlgUtils.h"

namespace {
constexpr int kHelpTopic = 3080;
}  // namespace

TSelectFontDialog::TSelectFontDialog(QWidget* owner, TFontSetting& font)
    : TDialog(owner, kHelpTopic), m_Font(font) {
  setObjectName("SelectFontDialog");
  setWindowTitle(tr("Select Font"));

  lblFontName = new QLabel(tr("&Font:"));
  lblFontName->setObjectName("lblFontName");
  cbFontName = new QComboBox;
  cbFontName->setObjectName("cbFontName");
  cbFontName->setMinimumWidth(163);
  SetHelpContext(cbFontName, 2100);
  lblFontName->setBuddy(cbFontName);
  lblFontSize = new QLabel(tr("&Size:"));
  lblFontSize->setObjectName("lblFontSize");
  cbFontSize = new QComboBox;
  cbFontSize->setObjectName("cbFontSize");
  cbFontSize->setEditable(true);
  cbFontSize->setInsertPolicy(QComboBox::NoInsert);
  cbFontSize->addItems({"8", "10", "12", "14", "16", "18", "20", "22", "24"});
  cbFontSize->lineEdit()->setMaxLength(2);
  SetHelpContext(cbFontSize, 2101);
  lblFontSize->setBuddy(cbFontSize);
  auto* previewLabel = new QLabel(tr("Preview:"));
  previewLabel->setObjectName("Label1");
  pnlPreview = new QLabel;
  pnlPreview->setObjectName("pnlPreview");
  pnlPreview->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  pnlPreview->setMinimumSize(327, 55);
  pnlPreview->setMargin(4);
  pnlPreview->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  pnlPreview->setBackgroundRole(QPalette::Base);
  pnlPreview->setAutoFillBackground(true);

  CreateButtons();
  auto* buttons = ButtonRow();
  btnOK->setEnabled(false);

  auto* grid = new QGridLayout;
  grid->addWidget(lblFontName, 0, 0);
  grid->addWidget(cbFontName, 1, 0);
  grid->addWidget(lblFontSize, 0, 1);
  grid->addWidget(cbFontSize, 1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(previewLabel);
  layout->addWidget(pnlPreview);
  layout->addWidget(buttons);

  SetNumericOnly(cbFontSize);
  cbFontName->addItems(FontFaces());
  // A face that is not installed (the defaults name faces of another system) shows as the face
  // the font system puts in its place; the setting changes only on OK.
  int face = cbFontName->findText(m_Font.Name, Qt::MatchFixedString);
  if (face < 0) {
    face = cbFontName->findText(FamilyName(QFontInfo(QFont(m_Font.Name)).family()),
                                Qt::MatchFixedString);
  }
  cbFontName->setCurrentIndex(face);
  cbFontSize->setEditText(QString::number(m_Font.Size));

  connect(cbFontName, &QComboBox::activated, this, &TSelectFontDialog::FontChange);
  connect(cbFontSize, &QComboBox::activated, this, &TSelectFontDialog::FontChange);
  cbFontSize->lineEdit()->installEventFilter(this);
  FontChange();
}

QString TSelectFontDialog::FamilyName(const QString& family) {
  static const QRegularExpression foundry(QStringLiteral("\\s*\\[[^\\]]*\\]$"));
  return QString(family).remove(foundry);
}

QStringList TSelectFontDialog::FontFaces() {
  // Scalable faces of the Latin script stand in for the TrueType families of the ANSI set. A
  // family that several foundries supply is listed once, by its own name ("C059", not
  // "C059 [urw]"), which finds the best of them.
  QStringList faces;
  for (const QString& family : QFontDatabase::families(QFontDatabase::Latin)) {
    if (QFontDatabase::isScalable(family) && !QFontDatabase::isPrivateFamily(family)) {
      faces << FamilyName(family);
    }
  }
  faces.sort(Qt::CaseInsensitive);
  faces.removeDuplicates();
  return faces;
}

bool TSelectFontDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == cbFontSize->lineEdit() && event->type() == QEvent::FocusOut) FontChange();
  return QDialog::eventFilter(watched, event);
}

void TSelectFontDialog::FontChange() {
  if (cbFontName->currentIndex() < 0) return;
  btnOK->setEnabled(true);
  QFont font = pnlPreview->font();
  font.setFamily(cbFontName->currentText());
  bool ok = false;
  const int size = cbFontSize->currentText().toInt(&ok);
  if (ok && size >= 8 && size <= 24) font.setPointSize(size);
  pnlPreview->setFont(font);
  pnlPreview->setText(cbFontName->currentText());
}

void TSelectFontDialog::OkClick() {
  if (!ValidateIntRange(cbFontSize, 8, 24)) return;
  m_Font.Name = cbFontName->currentText();
  m_Font.Size = cbFontSize->currentText().toInt();
  accept();
}
