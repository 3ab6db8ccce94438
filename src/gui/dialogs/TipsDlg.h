// SPDX-License-Identifier: MIT
// The Tip of the Day dialog.
#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Dialog.h"

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QTextEdit;

// What the main window hands the dialog: the tip file, the index of the tip to show next and
// whether tips show at start-up. The dialog updates the last two in place.
struct TTipRequest {
  QString FileName;
  int32_t NextTip = 0;
  bool ShowTips = true;
};

// Shows one tip after another from the tip file; Details asks for the tip's help topic.
class TTipsDialog : public TDialog {
  Q_OBJECT
public:
  TTipsDialog(QWidget* owner, TTipRequest& request);

  // The help topic of the tip on display; 0: none.
  int32_t HelpContext() const { return m_HelpContext; }

  QFrame* pnlTip = nullptr;
  QFrame* shpMargin = nullptr;
  QLabel* imgTip = nullptr;
  QLabel* lblDidYouKnow = nullptr;
  QTextEdit* reTip = nullptr;
  QCheckBox* chbShowAtStartup = nullptr;
  QPushButton* btnDetails = nullptr;
  QPushButton* btnNext = nullptr;
  QPushButton* btnClose = nullptr;

  void done(int result) override;

private:
  void btnNextClick();
  void btnDetailsClick();
  void ShowTip(const std::string& rtf);

  TTipRequest& m_Request;
  std::vector<std::string> m_Lines;
  int32_t m_HelpContext = 0;
};
