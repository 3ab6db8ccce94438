// SPDX-License-Identifier: MIT
// The main window's Help menu and the tip of the day.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QStandardPaths>

#include "app/MainFrm.h"
#include "platform/DataFiles.h"
#include "platform/DlgUtils.h"

void TMainForm::CreateHelpMenu() {
  miHelp = menuBar()->addMenu(tr("&Help"));
  miHelp->setObjectName("miHelp");
  miHelp->setStatusTip(tr("Help and information commands"));
  miHelpTips = AddCommand(miHelp, "miHelpTips", tr("&Tip of the Day"),
                          tr("Provides useful information for new users"), {}, tiTipOfTheDay,
                          &TMainForm::miHelpTipsClick);
}

QString TMainForm::TipFileName() {
  const QFileInfo program(QCoreApplication::applicationFilePath());
  const QString name = program.completeBaseName() + QStringLiteral(".tip");
  const QString found = FindDataFile(name);
  return found.isEmpty() ? program.absoluteDir().filePath(name) : found;
}

void TMainForm::miHelpTipsClick() {
  ShowTipOfTheDay(false);
}

void TMainForm::ShowTipOfTheDay(bool atStartup) {
  TTipRequest request{TipFileName(), m_Settings.NextTip, m_Settings.ShowTips};
  RunDialog<TTipsDialog>(TipsDialogRunner, request);
  if (atStartup && !request.ShowTips) {
    ShowMessageBox(tr("Tip of the Day can be turned on again via the Help menu."), {}, kMbNotice);
  }
  m_Settings.ShowTips = request.ShowTips;
  m_Settings.NextTip = request.NextTip;
}
