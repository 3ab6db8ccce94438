// SPDX-License-Identifier: MIT
// The start-up dialog (new file, recent or other file) and the start-up sequence.
#pragma once

#include <QString>

#include <functional>

#include "platform/Dialog.h"
#include "settings/RecFile.h"

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

// What the start-up dialog is given and what it answers.
struct TWelcomeData {
  const TRecentFileList& RecentFiles;
  bool OpenExisting = false;
  QString FileName;  // empty: browse for a file
};

// The start-up dialog: create a new file, or open one by browsing or from the recent list.
class TWelcomeDialog : public TDialog {
  Q_OBJECT
public:
  TWelcomeDialog(QWidget* owner, TWelcomeData& data);

  QLabel* imgNew = nullptr;
  QRadioButton* rbNew = nullptr;
  QLabel* imgOpen = nullptr;
  QRadioButton* rbOpen = nullptr;
  QListWidget* lbFileName = nullptr;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void FormCreate();
  void OkClick() override;

  TWelcomeData& m_Data;
};

// What the start-up sequence asks of the main window.
struct TWelcomeActions {
  std::function<bool()> NewFile;  // the properties dialog for a new file
  std::function<bool(const QString& path)> OpenFile;
  std::function<QString()> ChooseFileToOpen;  // empty: cancelled
  std::function<void(int topic)> ShowHelp;
  // Shows the dialog modally on the record and tells whether it closed with OK. Tests replace
  // it; by default it runs a TWelcomeDialog over the owner.
  std::function<bool(TWelcomeData& data)> RunDialog;
};

// Shows the start-up dialog until a file was created or opened (true) or the dialog was
// cancelled (false). A cancelled Open dialog or a file that fails to open shows it again.
bool ShowWelcome(QWidget* owner, const TRecentFileList& recentFiles,
                 const TWelcomeActions& actions);
