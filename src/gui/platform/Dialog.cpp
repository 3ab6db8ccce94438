// SPDX-License-Identifier: MIT
// The dialog base: the standard buttons, the help topic and the centring over the owner.
#include "platform/Dialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>

#include "platform/DlgUtils.h"

void SetHelpContext(QWidget* widget, int context) {
  widget->setProperty("HelpContext", context);
}

int HelpContextOf(const QWidget* widget) {
  return widget->property("HelpContext").toInt();
}

TDialog::TDialog(QWidget* owner, int helpTopic) : QDialog(owner), m_HelpTopic(helpTopic) {}

int TDialog::HelpTopic() const {
  if (m_HelpTopic == 0) return 0;
  return m_HelpTopic + (m_HelpPages ? m_HelpPages->currentIndex() : 0);
}

void TDialog::CreateButtons(unsigned buttons) {
  Q_ASSERT(!btnOK && !btnCancel && !btnHelp);
  if (buttons & bnOK) {
    btnOK = new QPushButton(tr("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    SetHelpContext(btnOK, 1000);
    connect(btnOK, &QPushButton::clicked, this, &TDialog::OkClick);
  }
  if (buttons & bnCancel) {
    btnCancel = new QPushButton(tr("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    SetHelpContext(btnCancel, 1001);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  }
  if (buttons & bnHelp) {
    btnHelp = new QPushButton(tr("&Help"), this);
    btnHelp->setObjectName(QStringLiteral("btnHelp"));
    SetHelpContext(btnHelp, 1002);
    connect(btnHelp, &QPushButton::clicked, this, [this] { emit helpRequested(HelpTopic()); });
  }
}

QDialogButtonBox* TDialog::ButtonRow() {
  auto* row = new QDialogButtonBox(this);
  if (btnOK) row->addButton(btnOK, QDialogButtonBox::AcceptRole);
  if (btnCancel) row->addButton(btnCancel, QDialogButtonBox::RejectRole);
  if (btnHelp) row->addButton(btnHelp, QDialogButtonBox::HelpRole);
  return row;
}

void TDialog::OkClick() {
  accept();
}

void TDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_CentreOnce && m_Placed) return;
  m_Placed = true;
  CentreOverOwner(this, parentWidget());
}
