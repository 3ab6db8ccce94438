// SPDX-License-Identifier: MIT
// The main window's Help menu: help topics, the tip of the day, the maker's pages and the about
// box; F1 on a highlighted menu item.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QStandardPaths>

#include "app/MainFrm.h"
#include "dialogs/AboutDlg.h"
#include "platform/AppHelp.h"
#include "platform/DataFiles.h"
#include "platform/DlgUtils.h"
#include "platform/Shell.h"

void TMainForm::CreateHelpMenu() {
  miHelp = menuBar()->addMenu(tr("&Help"));
  miHelp->setObjectName("miHelp");
  miHelp->setStatusTip(tr("Help and information commands"));
  miHelpContents =
      AddCommand(miHelp, "miHelpContents", 0, tr("&Help Topics"),
                 tr("Displays Help topics, contents and index"), QKeySequence(Qt::Key_F1),
                 tiHelpTopics, &TMainForm::miHelpContentsClick);
  miHelpTips = AddCommand(miHelp, "miHelpTips", 0, tr("&Tip of the Day"),
                          tr("Provides useful information for new users"), {}, tiTipOfTheDay,
                          &TMainForm::miHelpTipsClick);
  miHelp->addSeparator();
  miHelpDownload = AddCommand(miHelp, "miHelpDownload", 0, tr("&Download Vocabulary"),
                              tr("Displays vocabulary files available on the Internet"), {}, tiNone,
                              &TMainForm::miHelpDownloadClick);
  miHelpFeedback = AddCommand(miHelp, "miHelpFeedback", 0, tr("&Send Feedback"),
                              tr("Creates an e-mail to the author of this program"), {}, tiNone,
                              &TMainForm::miHelpFeedbackClick);
  miHelp->addSeparator();
  miHelpAbout = AddCommand(miHelp, "miHelpAbout", 0, tr("&About Dadezivu"),
                           tr("Displays information about this program"), {}, tiNone,
                           &TMainForm::miHelpAboutClick);
  // F1 on a highlighted item of any menu shows that item's topic.
  for (QMenu* menu : {miFile, miEdit, miTest, miView, miHelp}) menu->installEventFilter(this);
}

bool TMainForm::MenuHelpKey(QMenu* menu, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
  const QAction* item = menu->activeAction();
  const int context = item ? HelpContextOf(item) : 0;
  menu->close();
  // An item without a topic of its own (Help Topics, the Help menu's items) shows the contents.
  AppHelp(context != 0 ? kHelpContext : kHelpContents, context);
  return true;
}

void TMainForm::ShowHelpTopic(int context) {
  AppHelp(kHelpContext, context);
}

void TMainForm::miHelpContentsClick() {
  AppHelp(kHelpContents);
}

void TMainForm::miHelpDownloadClick() {
  OpenUrl(DownloadPageUrl());
}

void TMainForm::miHelpFeedbackClick() {
  OpenUrl(FeedbackMailUrl());
}

void TMainForm::miHelpAboutClick() {
  BeforeDialog();
  if (AboutDialogRunner) {
    AboutDialogRunner();
    return;
  }
  TAboutDialog dialog(this);
  dialog.exec();
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
