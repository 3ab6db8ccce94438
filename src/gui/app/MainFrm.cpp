// SPDX-License-Identifier: MIT
#include "app/MainFrm.h"

#include <qdrawutil.h>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPainter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>

#include "platform/DlgUtils.h"
#include "platform/ErrorHandler.h"
#include "platform/Icons.h"

TWorkSpace::TWorkSpace(QWidget* parent) : QWidget(parent) {
  setObjectName("pbWorkSpace");
  // The palette's Dark role is what Qt offers in place of the application-workspace colour.
  setBackgroundRole(QPalette::Dark);
  setAutoFillBackground(true);
}

void TWorkSpace::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // Outer and inner sunken borders; the inside keeps the background.
  qDrawWinPanel(&painter, rect(), palette(), true, nullptr);
}

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent), m_Vocab(std::make_unique<TVocabFile>()) {
  setObjectName("MainForm");
  setWindowTitle(tr("Dadezivu"));
  setWindowIcon(ProgramIcon());

  pnlViews = new QStackedWidget(this);
  pnlViews->setObjectName("pnlViews");
  pbWorkSpace = new TWorkSpace(pnlViews);
  pnlViews->addWidget(pbWorkSpace);
  setCentralWidget(pnlViews);

  CreateMenus();
  CreateToolBar();
  sbrStatusBar = new QStatusBar(this);
  sbrStatusBar->setObjectName("sbrStatusBar");
  sbrStatusBar->setSizeGripEnabled(false);
  setStatusBar(sbrStatusBar);

  resize(552, 374);
  SetViewMode(vmNone);

  // The idle-time update: once per burst of events, never waking the loop by itself.
  m_IdleConnection =
      connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
              &TMainForm::UpdateCommands);
}

TMainForm::~TMainForm() {
  disconnect(m_IdleConnection);
}

QAction* TMainForm::AddCommand(QMenu* menu, const char* name, const QString& caption,
                               const QString& hint, const QKeySequence& shortcut, int image,
                               void (TMainForm::*handler)()) {
  auto* action = new QAction(caption, this);
  if (image >= 0) action->setIcon(ToolImage(image));
  action->setObjectName(name);
  action->setStatusTip(hint);
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  connect(action, &QAction::triggered, this,
          [this, handler] { RunCommand([&] { (this->*handler)(); }); });
  menu->addAction(action);
  return action;
}

void TMainForm::CreateMenus() {
  miFile = menuBar()->addMenu(tr("&File"));
  miFile->setObjectName("miFile");
  miFile->setStatusTip(tr("Commands for working with files"));
  miFileNew = AddCommand(miFile, "miFileNew", tr("&New..."), tr("Creates a new file"),
                         QKeySequence(Qt::CTRL | Qt::Key_N), 0, &TMainForm::miFileNewClick);
  miFileOpen = AddCommand(miFile, "miFileOpen", tr("&Open..."), tr("Opens an existing file"),
                          QKeySequence(Qt::CTRL | Qt::Key_O), 1, &TMainForm::miFileOpenClick);
  miFileSave = AddCommand(miFile, "miFileSave", tr("&Save"), tr("Saves the current file"),
                          QKeySequence(Qt::CTRL | Qt::Key_S), 2, &TMainForm::miFileSaveClick);
  miFileSaveAs = AddCommand(miFile, "miFileSaveAs", tr("Save &As..."),
                            tr("Saves the current file with a different name"), {}, -1,
                            &TMainForm::miFileSaveAsClick);
  miFile->addSeparator();
  miFileProperties = AddCommand(miFile, "miFileProperties", tr("P&roperties..."),
                                tr("Displays information about the current file"), {}, 3,
                                &TMainForm::miFilePropertiesClick);
  miFile->addSeparator();
  miFileExit = AddCommand(miFile, "miFileExit", tr("E&xit"), tr("Closes this program"),
                          QKeySequence(Qt::ALT | Qt::Key_F4), -1, &TMainForm::miFileExitClick);

  miView = menuBar()->addMenu(tr("&View"));
  miView->setObjectName("miView");
  miView->setStatusTip(tr("Display settings and program options"));
  miViewToolBar =
      AddCommand(miView, "miViewToolBar", tr("&Tool Bar"), tr("Shows or hides the Tool Bar"), {},
                 -1, &TMainForm::miViewToolBarClick);
  miViewToolBar->setCheckable(true);
  miViewStatusBar =
      AddCommand(miView, "miViewStatusBar", tr("&Status Bar"), tr("Shows or hides the Status Bar"),
                 {}, -1, &TMainForm::miViewStatusBarClick);
  miViewStatusBar->setCheckable(true);
}

void TMainForm::CreateToolBar() {
  tbrToolBar = addToolBar(tr("Tool Bar"));
  tbrToolBar->setObjectName("tbrToolBar");
  tbrToolBar->setMovable(false);
  tbrToolBar->setIconSize(QSize(16, 16));
  const std::pair<QAction*, const char*> buttons[] = {
      {miFileNew, "tbNew"}, {miFileOpen, "tbOpen"}, {miFileSave, "tbSave"}};
  for (const auto& [action, name] : buttons) {
    tbrToolBar->addAction(action);
    tbrToolBar->widgetForAction(action)->setObjectName(name);
  }
}

void TMainForm::SetViewMode(TViewMode mode) {
  switch (mode) {
    case vmNone:
      pnlViews->setCurrentWidget(pbWorkSpace);
      break;
    case vmList:
    case vmTest:
      // The list and the test panel arrive with their own units; until then the workspace stays.
      pnlViews->setCurrentWidget(pbWorkSpace);
      break;
  }
  m_ViewMode = mode;
}

void TMainForm::UpdateCaption() {
  const QString wanted =
      m_ViewMode == vmNone
          ? tr("Dadezivu")
          : tr("Dadezivu") + " - " + FileTitle(QString::fromLocal8Bit(m_Vocab->FileName()));
  if (windowTitle() != wanted) setWindowTitle(wanted);
  if (QApplication::applicationDisplayName() != wanted) {
    QApplication::setApplicationDisplayName(wanted);
  }
}

void TMainForm::UpdateCommands() {
  UpdateCaption();
  const bool fileOpen = m_ViewMode != vmNone;
  const auto setEnabled = [](QAction* action, bool enabled) {
    if (action->isEnabled() != enabled) action->setEnabled(enabled);
  };
  setEnabled(miFileSave, fileOpen);
  setEnabled(miFileSaveAs, fileOpen);
  setEnabled(miFileProperties, fileOpen);
  const auto setChecked = [](QAction* action, bool checked) {
    if (action->isChecked() != checked) action->setChecked(checked);
  };
  setChecked(miViewToolBar, tbrToolBar->isVisibleTo(this));
  setChecked(miViewStatusBar, sbrStatusBar->isVisibleTo(this));
}

void TMainForm::miViewToolBarClick() {
  tbrToolBar->setVisible(!tbrToolBar->isVisibleTo(this));
}

void TMainForm::miViewStatusBarClick() {
  sbrStatusBar->setVisible(!sbrStatusBar->isVisibleTo(this));
}

void TMainForm::closeEvent(QCloseEvent* event) {
  bool allowed = false;
  RunCommand([&] { allowed = QuerySave(); });
  if (allowed) {
    event->accept();
  } else {
    event->ignore();
  }
}

void TMainForm::ParseCommandLine(const QStringList& arguments, QString& path, bool& print) {
  // arguments excludes the program itself.
  const QString first = arguments.value(0);
  print = first.compare("/p", Qt::CaseInsensitive) == 0;
  path = print && arguments.size() >= 2 ? arguments[1] : first;
}
