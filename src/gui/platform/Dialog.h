// SPDX-License-Identifier: MIT
// The base of every dialog: OK, Cancel and Help, the help topic and centring.
#pragma once

#include <QDialog>

class QDialogButtonBox;
class QPushButton;
class QTabWidget;

// The context number of a control's (or a menu item's) pop-up help, kept in its "HelpContext"
// property; 0 without one.
void SetHelpContext(QObject* object, int context);
int HelpContextOf(const QObject* object);
// The control of the pop-up help for widget: widget itself or its nearest enclosing control with
// a context number, looking no further out than its window; null when none has one.
QWidget* HelpContextControl(QWidget* widget);

// The base of every dialog of the program: the OK, Cancel and Help buttons, the help request
// with the dialog's topic, the pop-up help of its controls and the placement over the owner when
// it is shown.
class TDialog : public QDialog {
  Q_OBJECT
public:
  // The buttons the dialog ends with, named btnOK, btnCancel and btnHelp; null where the dialog
  // has no such button.
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;
  QPushButton* btnHelp = nullptr;

  // The topic Help asks for: the dialog's own, plus the index of the current page where the
  // dialog has pages; 0 without a topic.
  int HelpTopic() const;

signals:
  void helpRequested(int topic);

protected:
  // helpTopic 0: the dialog offers no help.
  explicit TDialog(QWidget* owner, int helpTopic = 0);

  enum TButton : unsigned { bnOK = 1, bnCancel = 2, bnHelp = 4 };
  // Creates the buttons asked for once: "OK" (the default button) runs OkClick, "Cancel" rejects
  // and "&Help" emits helpRequested(HelpTopic()). The dialog places them with ButtonRow or by
  // itself.
  void CreateButtons(unsigned buttons = bnOK | bnCancel | bnHelp);
  // The created buttons in a standard row.
  QDialogButtonBox* ButtonRow();
  // What OK does; by default it accepts.
  virtual void OkClick();

  // The help topic grows with the index of the current page of pages.
  void SetHelpPages(QTabWidget* pages) { m_HelpPages = pages; }
  // A modeless window is centred only the first time and then stays where the user put it.
  void SetCentreOnce(bool once) { m_CentreOnce = once; }

  // Without the title bar's "What's This?" button and the pop-up help of controls.
  void SetContextHelp(bool on);

  void showEvent(QShowEvent* event) override;
  // "What's This?" on a control, F1 and Shift+F1: the pop-up help of the control.
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  int m_HelpTopic;
  QTabWidget* m_HelpPages = nullptr;
  bool m_CentreOnce = false;
  bool m_Placed = false;
  bool m_ContextHelp = true;
};
