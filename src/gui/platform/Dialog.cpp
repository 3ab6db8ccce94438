// SPDX-License-Identifier: MIT
// The dialog base: the standard buttons, the help topic and the centring over the owner.
#include "platform/Dialog.h"

#include <QDialogButtonBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QWhatsThis>

#include "platform/AppHelp.h"
#include "platform/DlgUtils.h"

void SetHelpContext(QObject* object, int context) {
  object->setProperty("HelpContext", context);
}

int HelpContextOf(const QObject* object) {
  return object->property("HelpContext").toInt();
}

QWidget* HelpContextControl(QWidget* widget) {
  for (QWidget* w = widget; w; w = w->parentWidget()) {
    if (HelpContextOf(w) != 0) return w;
    if (w->isWindow()) break;
  }
  return nullptr;
}

TDialog::TDialog(QWidget* owner, int helpTopic) : QDialog(owner), m_HelpTopic(helpTopic) {
  setWindowFlag(Qt::WindowContextHelpButtonHint, true);
}

void TDialog::SetContextHelp(bool on) {
  m_ContextHelp = on;
  setWindowFlag(Qt::WindowContextHelpButtonHint, on);
}

namespace {

// The pop-up of control's context number, at its top-left corner. False without one.
bool PopUpHelpFor(QWidget* widget) {
  QWidget* control = HelpContextControl(widget);
  if (!control) return false;
  ShowHelpPopup(HelpContextOf(control), control->mapToGlobal(QPoint(0, 0)));
  return true;
}

}  // namespace

bool TDialog::event(QEvent* event) {
  if (m_ContextHelp &&
      (event->type() == QEvent::WhatsThis || event->type() == QEvent::QueryWhatsThis)) {
    // Controls without a text of their own pass the request up to here, in this dialog's
    // coordinates.
    const auto* help = static_cast<QHelpEvent*>(event);
    QWidget* target = childAt(help->pos());
    if (!target) target = this;
    if (!HelpContextControl(target)) return QDialog::event(event);
    if (event->type() == QEvent::WhatsThis) PopUpHelpFor(target);
    event->accept();
    return true;
  }
  return QDialog::event(event);
}

void TDialog::keyPressEvent(QKeyEvent* event) {
  if (m_ContextHelp && event->key() == Qt::Key_F1) {
    if (event->modifiers() == Qt::ShiftModifier) {
      QWhatsThis::enterWhatsThisMode();
      return;
    }
    if (event->modifiers() == Qt::NoModifier) {
      PopUpHelpFor(focusWidget() ? focusWidget() : this);
      return;
    }
  }
  QDialog::keyPressEvent(event);
}

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
