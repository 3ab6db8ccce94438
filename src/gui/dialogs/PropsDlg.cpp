// SPDX-License-Identifier: MIT
// The properties dialog: the file's details, its languages and descriptive texts.
#include "dialogs/PropsDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/DlgUtils.h"
#include "text/DrawItem.h"
#include "text/Languages.h"
#include "text/TextUtils.h"

namespace {
constexpr int kHelpTopic = 3071;

std::string ToAnsi(const QString& text, uint16_t langId) {
  return WideToAnsi(text.toStdU16String(), langId);
}
}  // namespace

TPropertiesDialog::TPropertiesDialog(QWidget* owner, TPropertiesData& data)
    : TDialog(owner, data.IsNew ? kHelpTopic + 1 : kHelpTopic), m_Data(data) {
  setObjectName("PropertiesDialog");
  setWindowTitle(tr("Properties"));

  pcProperties = new QTabWidget(this);
  pcProperties->setObjectName("pcProperties");

  tsGeneral = new QWidget;
  tsGeneral->setObjectName("tsGeneral");
  auto* general = new QFormLayout(tsGeneral);
  stDocumentTitle = new QLabel;
  stDocumentTitle->setObjectName("stDocumentTitle");
  general->addRow(stDocumentTitle);
  const auto addInfo = [&](QLabel*& label, const char* name, const QString& caption) {
    label = new QLabel;
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    general->addRow(caption, label);
  };
  addInfo(stLocation, "stLocation", tr("Location:"));
  // A long folder is shortened to the label's width rather than widening the dialog.
  stLocation->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  stLocation->installEventFilter(this);
  addInfo(stSize, "stSize", tr("Size:"));
  addInfo(stModified, "stModified", tr("Modified:"));
  auto* attributes = new QVBoxLayout;
  const auto addAttribute = [&](QCheckBox*& box, const char* name, const QString& caption) {
    box = new QCheckBox(caption);
    box->setObjectName(name);
    box->setEnabled(false);
    attributes->addWidget(box);
  };
  addAttribute(chbReadOnly, "chbReadOnly", tr("Read-only"));
  addAttribute(chbHidden, "chbHidden", tr("Hidden"));
  addAttribute(chbArchive, "chbArchive", tr("Archive"));
  addAttribute(chbSystem, "chbSystem", tr("System"));
  general->addRow(tr("Attributes:"), attributes);

  tsSummary = new QWidget;
  tsSummary->setObjectName("tsSummary");
  auto* summary = new QVBoxLayout(tsSummary);
  auto* languages = new QGroupBox(tr(" Languages: "));
  auto* languageForm = new QFormLayout(languages);
  cbForeign = new QComboBox;
  cbForeign->setObjectName("cbForeign");
  cbNative = new QComboBox;
  cbNative->setObjectName("cbNative");
  languageForm->addRow(tr("&Foreign:"), cbForeign);
  languageForm->addRow(tr("&Native:"), cbNative);
  summary->addWidget(languages);
  auto* content = new QGroupBox(tr(" Content: "));
  auto* contentForm = new QFormLayout(content);
  edtDescription = new QLineEdit;
  edtDescription->setObjectName("edtDescription");
  edtAuthor = new QLineEdit;
  edtAuthor->setObjectName("edtAuthor");
  memComments = new QPlainTextEdit;
  memComments->setObjectName("memComments");
  memComments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memComments->setTabChangesFocus(true);
  memComments->installEventFilter(this);
  contentForm->addRow(tr("&Description:"), edtDescription);
  contentForm->addRow(tr("&Author:"), edtAuthor);
  contentForm->addRow(tr("&Comments:"), memComments);
  summary->addWidget(content);

  pcProperties->addTab(tsGeneral, tr("General"));
  pcProperties->addTab(tsSummary, tr("Summary"));

  CreateButtons();
  auto* buttons = ButtonRow();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pcProperties);
  layout->addWidget(buttons);

  if (m_Data.IsNew) {
    // Without the General page the Summary page's topic is fixed (see the constructor).
    pcProperties->removeTab(pcProperties->indexOf(tsGeneral));
    tsGeneral->hide();
    pcProperties->setFocusPolicy(Qt::NoFocus);
  } else {
    // General is the topic's first page, Summary the next.
    SetHelpPages(pcProperties);
    FillGeneralPage();
    edtDescription->setText(VocabText(m_Data.Description, m_Data.NativeLangID));
    edtAuthor->setText(VocabText(m_Data.Author, m_Data.NativeLangID));
    memComments->setPlainText(VocabText(m_Data.Comments, m_Data.NativeLangID));
  }
  pcProperties->setCurrentWidget(tsSummary);
  FillLanguages(cbForeign, m_Data.ForeignLangID);
  FillLanguages(cbNative, m_Data.NativeLangID);
  connect(cbForeign, &QComboBox::currentIndexChanged, this, &TPropertiesDialog::LanguageChange);
  connect(cbNative, &QComboBox::currentIndexChanged, this, &TPropertiesDialog::LanguageChange);
  LanguageChange();
}

void TPropertiesDialog::showEvent(QShowEvent* event) {
  TDialog::showEvent(event);
  cbForeign->setFocus();
}

QString TPropertiesDialog::SizeText(qint64 bytes) {
  const QString exact = tr("%1 bytes").arg(bytes);
  if (bytes < 1024) return exact;
  return tr("%1KB (%2)")
      .arg(QLocale().toString(static_cast<double>(bytes) / 1024.0, 'f', 2), exact);
}

void TPropertiesDialog::FillGeneralPage() {
  stDocumentTitle->setText(FileTitle(m_Data.FileName));
  if (m_Data.FileName.isEmpty()) return;
  const QFileInfo info(m_Data.FileName);
  const QString folder = QDir::toNativeSeparators(info.absolutePath());
  stLocation->setText(folder);
  stLocation->setToolTip(folder);
  if (!info.exists()) return;
  stSize->setText(SizeText(info.size()));
  const QDateTime modified = info.lastModified();
  const QLocale locale;
  stModified->setText(locale.toString(modified.date(), QLocale::LongFormat) + " " +
                      locale.toString(modified.time(), QLocale::LongFormat));
  chbReadOnly->setChecked(!(info.permissions() & QFileDevice::WriteOwner));
  chbHidden->setChecked(info.isHidden());
  // Archive and System have no counterpart on this platform's files.
}

void TPropertiesDialog::FillLanguages(QComboBox* list, uint16_t langId) {
  // An existing vocabulary keeps its code page, so that its stored texts keep their meaning.
  const int32_t codePage = FindLanguage(langId).CodePage;
  std::vector<const TLangInfo*> rows;
  for (const TLangInfo& row : LanguageTable()) {
    if (m_Data.IsNew || row.CodePage == codePage) rows.push_back(&row);
  }
  std::stable_sort(rows.begin(), rows.end(), [](const TLangInfo* a, const TLangInfo* b) {
    return a->LangName < b->LangName;
  });
  for (const TLangInfo* row : rows) {
    list->addItem(QString::fromLatin1(row->LangName.c_str()), row->LangId);
  }
  list->setCurrentIndex(list->findData(langId));
}

void TPropertiesDialog::LanguageChange() {
  btnOK->setEnabled(cbForeign->currentIndex() >= 0 && cbNative->currentIndex() >= 0);
}

void TPropertiesDialog::OkClick() {
  m_Data.ForeignLangID = static_cast<uint16_t>(cbForeign->currentData().toUInt());
  m_Data.NativeLangID = static_cast<uint16_t>(cbNative->currentData().toUInt());
  // Texts are held in the code page of the language just chosen.
  m_Data.Description = Trim(ToAnsi(edtDescription->text(), m_Data.NativeLangID));
  m_Data.Author = Trim(ToAnsi(edtAuthor->text(), m_Data.NativeLangID));
  m_Data.Comments = Trim(ToAnsi(memComments->toPlainText(), m_Data.NativeLangID));
  accept();
}

bool TPropertiesDialog::eventFilter(QObject* watched, QEvent* event) {
  // The label has its width once its page is laid out.
  if (watched == stLocation && event->type() == QEvent::Resize &&
      !stLocation->toolTip().isEmpty()) {
    stLocation->setText(
        ShortenPath(stLocation->toolTip(), stLocation->fontMetrics(), stLocation->width()));
  }
  // The multi-line field would keep Escape for itself.
  if (watched == memComments && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    reject();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}
