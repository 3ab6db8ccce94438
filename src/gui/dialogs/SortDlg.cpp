// SPDX-License-Identifier: MIT
// The sort dialog: the field choice and its double-click shortcut.
#include "dialogs/SortDlg.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/DlgUtils.h"

namespace {
constexpr int kHelpTopic = 3090;
constexpr const char* kTag = "tag";
}  // namespace

TSortDialog::TSortDialog(QWidget* owner, uint8_t& sortField)
    : TDialog(owner, kHelpTopic), m_SortField(sortField) {
  setObjectName(QStringLiteral("SortDialog"));
  setWindowTitle(tr("Sort"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint);

  gbSort = new QGroupBox(tr(" Sort by: "), this);
  gbSort->setObjectName(QStringLiteral("gbSort"));
  gbSort->setProperty(kTag, -1);
  auto* choices = new QVBoxLayout(gbSort);
  const auto addChoice = [&](QRadioButton*& button, const char* name, const QString& caption,
                             int field) {
    button = new QRadioButton(caption, gbSort);
    button->setObjectName(QLatin1String(name));
    button->setProperty(kTag, field);
    button->installEventFilter(this);
    choices->addWidget(button);
    QRadioButton* self = button;
    connect(button, &QRadioButton::toggled, this, [this, self](bool checked) {
      if (checked) RadioButtonClick(self);
    });
  };
  addChoice(rbForeign, "rbForeign", tr("&Word/phrase"), 0);
  addChoice(rbCategory, "rbCategory", tr("&Part of speech"), 1);
  addChoice(rbNotes, "rbNotes", tr("&Notes"), 2);
  addChoice(rbNative, "rbNative", tr("&Translations"), 3);

  CreateButtons();
  auto* buttons = ButtonRow();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(gbSort);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  // Any value beyond the four fields means the word/phrase.
  QRadioButton* const byField[] = {rbForeign, rbCategory, rbNotes, rbNative};
  byField[m_SortField <= 3 ? m_SortField : 0]->setChecked(true);
}

void TSortDialog::RadioButtonClick(QRadioButton* button) {
  gbSort->setProperty(kTag, button->property(kTag));
}

uint8_t TSortDialog::ChosenField() const {
  return static_cast<uint8_t>(gbSort->property(kTag).toInt());
}

void TSortDialog::OkClick() {
  m_SortField = ChosenField();
  accept();
}

bool TSortDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    if (auto* button = qobject_cast<QRadioButton*>(watched)) {
      // The first click of the two has checked it already; make sure, then keep the choice.
      button->setChecked(true);
      m_SortField = ChosenField();
    }
  }
  return QDialog::eventFilter(watched, event);
}
