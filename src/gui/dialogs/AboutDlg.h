// SPDX-License-Identifier: MIT
// The about box: the program's name, version and the maker's addresses.
#pragma once

#include "platform/Dialog.h"

class QLabel;

// Shows the program's icon, name and version, a notice line and the maker's home page and
// e-mail address; clicking either opens it. OK and Escape close it.
class TAboutDialog : public TDialog {
  Q_OBJECT
public:
  explicit TAboutDialog(QWidget* owner);

  QLabel* imgIcon = nullptr;
  QLabel* lblTitle = nullptr;
  QLabel* lblVersion = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* lblHomePage = nullptr;
  QLabel* lblEmail = nullptr;
  QLabel* lblLicence = nullptr;

  void lblHomePageClick();
  void lblEmailClick();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Escape presses OK: the box has nothing to cancel.
  void reject() override;
};
