// SPDX-License-Identifier: MIT
// The main window: its views, menus, tool bar, idle-time update, settings and start-up.
#include "app/MainFrm.h"

#include <qdrawutil.h>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>

#include <iostream>

#include "app/KeyFilter.h"
#include "app/KeySwitch.h"
#include "app/Recovery.h"
#include "app/StatusPanels.h"
#include "app/TestPanel.h"
#include "app/VocabGrid.h"
#include "dialogs/FontDlg.h"
#include "dialogs/SrchDlg.h"
#include "dialogs/StatsDlg.h"
#include "dialogs/WelcDlg.h"
#include "platform/AppHelp.h"
#include "platform/DlgUtils.h"
#include "platform/ErrorHandler.h"
#include "platform/Icons.h"
#include "platform/KbdLayouts.h"
#include "platform/SystemClipboard.h"

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

TMainForm::TMainForm(TSettingsStore* store, QWidget* parent)
    : QMainWindow(parent),
      m_Clipboard(std::make_unique<TSystemClipboard>()),
      m_Vocab(std::make_unique<TVocabFile>()) {
  if (!store) {
    m_OwnStore = std::make_unique<TSettingsStore>();
    store = m_OwnStore.get();
  }
  m_Store = store;
  setObjectName("MainForm");
  setWindowTitle(tr("Dadezivu"));
  setWindowIcon(ProgramIcon());

  pnlViews = new QStackedWidget(this);
  pnlViews->setObjectName("pnlViews");
  pbWorkSpace = new TWorkSpace(pnlViews);
  pnlViews->addWidget(pbWorkSpace);
  dgVocab = new TVocabGrid(pnlViews);
  dgVocab->SetVocabulary(m_Vocab.get());
  dgVocab->installEventFilter(this);
  connect(dgVocab, &TVocabGrid::EditRequested, this, [this] {
    RunCommand([this] {
      if (miEditEdit->isEnabled()) miEditEditClick();
    });
  });
  dgVocab->SetErrorHandler([](const std::exception& e) {
    ShowMessageBox(QString::fromUtf8(e.what()), QString(), kMbStop);
  });
  pnlViews->addWidget(dgVocab);
  setCentralWidget(pnlViews);

  CreateMenus();
  CreateToolBar();
  CreateTestPanel();
  sbrStatusBar = new QStatusBar(this);
  sbrStatusBar->setObjectName("sbrStatusBar");
  sbrStatusBar->setSizeGripEnabled(false);
  setStatusBar(sbrStatusBar);
  StatusPanels = new TStatusPanels(sbrStatusBar);
  StatusPanels->ShowHintsFrom(this);
  StatusPanels->SetDiagnostic([this] { return m_Vocab->ForeignLangID(); },
                              [](const QString& message) { ShowMessageBox(message, {}, kMbOk); });

  resize(552, 374);
  LoadSettings(*m_Store, m_Settings);
  ApplySettings();
  // Accent keys and assigned characters work in every window of the program.
  m_KeyFilter = new TKeyboardFilter(this, m_Settings.Options, this);
  m_KeyFilter->setObjectName("KeyFilter");
  qApp->installEventFilter(m_KeyFilter);
  // The keyboard layout follows the language of the focused field.
  m_KeySwitching = new TKeyboardSwitching(
      m_Settings.Options,
      [this] { return std::pair(m_Vocab->ForeignLangID(), m_Vocab->NativeLangID()); },
      KeyboardLayoutsFactory(), this);
  MessageBoxKeyboardHook = [switching = QPointer(m_KeySwitching)](bool useDefault) {
    if (switching) switching->Switch(useDefault);
  };
  ApplyDisplayFont();
  FindWindow = new TSearchDialog(
      this, m_SearchData, [this] { RunCommand([this] { miEditFindNextClick(); }); },
      [this]() -> const TVocabFile* { return m_Vocab.get(); });
  connect(FindWindow, &TDialog::helpRequested, this, &TMainForm::ShowHelpTopic);
  FindWindow->SetFindFont(dgVocab->DisplayFont());
  SetViewMode(vmNone);
  m_Recovery = new TRecovery(this, [this]() -> const TVocabFile& { return *m_Vocab; });

  // The idle-time update: once per burst of events, never waking the loop by itself.
  m_IdleConnection =
      connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
              &TMainForm::UpdateCommands);
}

TMainForm::~TMainForm() {
  disconnect(m_IdleConnection);
  MessageBoxKeyboardHook = nullptr;
  // It gives the layout back according to the options, which go before the window's children.
  delete m_KeySwitching;
  m_KeySwitching = nullptr;
}

QAction* TMainForm::AddCommand(QMenu* menu, const char* name, int helpContext,
                               const QString& caption, const QString& hint,
                               const QKeySequence& shortcut, TToolImage image,
                               void (TMainForm::*handler)()) {
  auto* action = new QAction(caption, this);
  SetHelpContext(action, helpContext);
  if (image != tiNone) action->setIcon(ToolImage(image));
  action->setObjectName(name);
  action->setStatusTip(hint);
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  connect(action, &QAction::triggered, this,
          [this, handler] { RunCommand([&] { (this->*handler)(); }); });
  menu->addAction(action);
  return action;
}

void TMainForm::CreateMenus() {
  CreateFileMenu();
  CreateEditMenu();
  CreateTestMenu();
  CreateViewMenu();
  CreateHelpMenu();
}

void TMainForm::CreateFileMenu() {
  miFile = menuBar()->addMenu(tr("&File"));
  miFile->setObjectName("miFile");
  miFile->setStatusTip(tr("Commands for working with files"));
  miFileNew = AddCommand(miFile, "miFileNew", 2000, tr("&New..."), tr("Creates a new file"),
                         QKeySequence(Qt::CTRL | Qt::Key_N), tiNew, &TMainForm::miFileNewClick);
  miFileOpen = AddCommand(miFile, "miFileOpen", 2001, tr("&Open..."), tr("Opens an existing file"),
                          QKeySequence(Qt::CTRL | Qt::Key_O), tiOpen, &TMainForm::miFileOpenClick);
  miFileImport = AddCommand(
      miFile, "miFileImport", 2002, tr("&Import..."), tr("Adds vocabulary from another file"),
      QKeySequence(Qt::CTRL | Qt::Key_I), tiNone, &TMainForm::miFileImportClick);
  miFile->addSeparator();
  miFileSave = AddCommand(miFile, "miFileSave", 2003, tr("&Save"), tr("Saves the current file"),
                          QKeySequence(Qt::CTRL | Qt::Key_S), tiSave, &TMainForm::miFileSaveClick);
  miFileSaveAs = AddCommand(miFile, "miFileSaveAs", 2004, tr("Save &As..."),
                            tr("Saves the current file with a different name"), {}, tiNone,
                            &TMainForm::miFileSaveAsClick);
  miFile->addSeparator();
  miFileProperties = AddCommand(miFile, "miFileProperties", 2005, tr("P&roperties..."),
                                tr("Displays information about the current file"), {}, tiProperties,
                                &TMainForm::miFilePropertiesClick);
  miFile->addSeparator();
  CreatePrintCommands();
  miFile->addSeparator();
  miFileExit = AddCommand(miFile, "miFileExit", 2009, tr("E&xit"), tr("Closes this program"),
                          QKeySequence(Qt::ALT | Qt::Key_F4), tiNone, &TMainForm::miFileExitClick);
  RecentMenu = new TRecentFileMenu(
      miFile, miFileExit, [this](int index) { RunCommand([&] { RecentFileClick(index); }); });
}

void TMainForm::CreateViewMenu() {
  miView = menuBar()->addMenu(tr("&View"));
  miView->setObjectName("miView");
  miView->setStatusTip(tr("Display settings and program options"));
  miViewToolBar =
      AddCommand(miView, "miViewToolBar", 2300, tr("&Tool Bar"), tr("Shows or hides the Tool Bar"),
                 {}, tiNone, &TMainForm::miViewToolBarClick);
  miViewToolBar->setCheckable(true);
  miViewStatusBar =
      AddCommand(miView, "miViewStatusBar", 2301, tr("&Status Bar"),
                 tr("Shows or hides the Status Bar"), {}, tiNone, &TMainForm::miViewStatusBarClick);
  miViewStatusBar->setCheckable(true);
  miView->addSeparator();
  miViewFont = AddCommand(miView, "miViewFont", 2302, tr("&Font..."),
                          tr("Changes the display font"), {}, tiFont, &TMainForm::miViewFontClick);
  miViewOptions =
      AddCommand(miView, "miViewOptions", 2303, tr("&Options..."), tr("Changes program settings"),
                 QKeySequence(Qt::Key_F12), tiOptions, &TMainForm::miViewOptionsClick);
}

void TMainForm::CreateToolBar() {
  tbrToolBar = addToolBar(tr("Tool Bar"));
  tbrToolBar->setObjectName("tbrToolBar");
  tbrToolBar->setMovable(false);
  tbrToolBar->setIconSize(QSize(16, 16));
  // Null marks a separator.
  const std::pair<QAction*, const char*> buttons[] = {{miFileNew, "tbNew"},
                                                      {miFileOpen, "tbOpen"},
                                                      {miFileSave, "tbSave"},
                                                      {tbPrint, "tbPrint"},
                                                      {nullptr, nullptr},
                                                      {miEditCut, "tbCut"},
                                                      {miEditCopy, "tbCopy"},
                                                      {miEditPaste, "tbPaste"},
                                                      {nullptr, nullptr},
                                                      {miEditUndo, "tbUndo"},
                                                      {miEditRedo, "tbRedo"},
                                                      {nullptr, nullptr},
                                                      {miEditAdd, "tbAdd"},
                                                      {miEditEdit, "tbEdit"},
                                                      {miEditDelete, "tbDelete"},
                                                      {nullptr, nullptr},
                                                      {tbSort, "tbSort"},
                                                      {nullptr, nullptr},
                                                      {miTestStartTesting, "tbStartTesting"},
                                                      {nullptr, nullptr},
                                                      {miTestPassive, "tbPassive"},
                                                      {miTestActive, "tbActive"},
                                                      {nullptr, nullptr},
                                                      {miTestMultipleChoice, "tbMultipleChoice"},
                                                      {nullptr, nullptr},
                                                      {miTestHint, "tbHint"},
                                                      {miTestStatistics, "tbStatistics"},
                                                      {nullptr, nullptr},
                                                      {miTestSpeak, "tbSpeak"}};
  for (const auto& [action, name] : buttons) {
    if (!action) {
      tbrToolBar->addSeparator();
      continue;
    }
    tbrToolBar->addAction(action);
    tbrToolBar->widgetForAction(action)->setObjectName(name);
  }
  InitToolHints();
}

void TMainForm::SetViewMode(TViewMode mode) {
  dgVocab->ClearCutMark();
  if (FindWindow) FindWindow->hide();
  // Leaving the test panel drops its question unrecorded.
  if (mode != vmTest) pnlTest->EndQuestion();
  switch (mode) {
    case vmNone:
      pnlViews->setCurrentWidget(pbWorkSpace);
      break;
    case vmList:
      pnlViews->setCurrentWidget(dgVocab);
      dgVocab->RefreshList();
      dgVocab->setFocus();
      break;
    case vmTest:
      pnlViews->setCurrentWidget(pnlTest);
      pnlTest->LayoutTestPanel();
      pnlTest->ShowQuestion();
      break;
  }
  m_ViewMode = mode;
}

void TMainForm::UpdateCaption() {
  const QString wanted =
      m_ViewMode == vmNone
          ? tr("Dadezivu")
          : tr("Dadezivu - %1").arg(FileTitle(QString::fromLocal8Bit(m_Vocab->FileName())));
  // The window's title is the task bar's text too. The application's display name stays
  // unset: Qt would append it to the title of every window and message box.
  if (windowTitle() != wanted) setWindowTitle(wanted);
}

void TMainForm::UpdateCommands() {
  UpdateCaption();
  UpdateFileCommands();
  UpdateEditCommands();
  UpdateTestCommands();
  UpdateViewCommands();
  m_KeySwitching->Update();
  // A Cut mark does not survive another window of the program, a dialog or the Find window.
  const QWidget* active = QApplication::activeWindow();
  if (active && active != this) dgVocab->ClearCutMark();
}

namespace {
// Only real changes reach the actions: every change repaints menus and tool buttons.
void SetEnabled(QAction* action, bool enabled) {
  if (action->isEnabled() != enabled) action->setEnabled(enabled);
}
void SetChecked(QAction* action, bool checked) {
  if (action->isChecked() != checked) action->setChecked(checked);
}
void SetText(QAction* action, const QString& text) {
  if (action->text() != text) action->setText(text);
}
}  // namespace

void TMainForm::UpdateFileCommands() {
  RecentMenu->UpdateRecentMenu(m_Settings.RecentFiles, miFile->fontMetrics());
  const bool fileOpen = m_ViewMode != vmNone;
  SetEnabled(miFileImport, m_ViewMode == vmList);
  SetEnabled(miFileSave, fileOpen);
  SetEnabled(miFileSaveAs, fileOpen);
  SetEnabled(miFileProperties, fileOpen);
  SetEnabled(miFilePrint, fileOpen);
  SetEnabled(miFilePrintPreview, fileOpen);
  SetEnabled(tbPrint, fileOpen);
}

void TMainForm::UpdateEditCommands() {
  const bool list = m_ViewMode == vmList;
  const bool current = m_Vocab->ItemIndex() >= 0;
  const uint8_t undo = m_Vocab->UndoKind();
  const uint8_t redo = m_Vocab->RedoKind();
  SetEnabled(miEditUndo, list && undo != jkNone);
  SetText(miEditUndo,
          miEditUndo->isEnabled() ? tr("&Undo %1").arg(tr(JournalKindName(undo))) : tr("&Undo"));
  SetEnabled(miEditRedo, list && redo != jkNone);
  SetText(miEditRedo,
          miEditRedo->isEnabled() ? tr("&Redo %1").arg(tr(JournalKindName(redo))) : tr("&Redo"));
  SetEnabled(miEditCut, list && current);
  SetEnabled(miEditCopy, list && current);
  SetEnabled(miEditPaste, list && (dgVocab->CutRow() >= 0 || m_Vocab->CanPaste(*m_Clipboard)));
  SetEnabled(miEditAdd, list);
  SetEnabled(miEditEdit, list && current);
  SetEnabled(miEditDelete, list && current);
  SetEnabled(miEditMoveUp, list && current && m_Vocab->ItemIndex() > 0);
  SetEnabled(miEditMoveDown, list && current && m_Vocab->ItemIndex() < m_Vocab->Count() - 1);
  SetEnabled(miEditShuffle, list);
  SetEnabled(miEditSort, list);
  SetEnabled(tbSort, list);
  SetEnabled(miEditFind, list);
  SetEnabled(miEditFindNext,
             list && (!m_SearchData.Text.empty() || m_SearchData.Mode == smWholeField));
}

void TMainForm::UpdateViewCommands() {
  if (m_ViewMode != vmNone && sbrStatusBar->isVisibleTo(this)) {
    StatusPanels->UpdateStatusBar(*m_Vocab, m_ViewMode == vmTest);
  }
  SetChecked(miViewToolBar, tbrToolBar->isVisibleTo(this));
  SetChecked(miViewStatusBar, sbrStatusBar->isVisibleTo(this));
}

void TMainForm::BeforeDialog() {
  dgVocab->ClearCutMark();
}

void TMainForm::ApplyDisplayFont() {
  dgVocab->ApplyDisplayFont(m_Settings.DisplayFont.Name, m_Settings.DisplayFont.Size);
  pnlTest->ApplyDisplayFont(dgVocab->DisplayFont());
  if (FindWindow) FindWindow->SetFindFont(dgVocab->DisplayFont());
}

void TMainForm::miViewFontClick() {
  TFontSetting font = m_Settings.DisplayFont;
  if (!RunDialog<TSelectFontDialog>(FontDialogRunner, font)) return;
  m_Settings.DisplayFont = font;
  ApplyDisplayFont();
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
    m_Recovery->Remove();
    StoreSettings();
    // The settings of the copy that closes last win, but the files another copy opened stay.
    TRecentFileList stored;
    LoadRecentFiles(*m_Store, stored);
    m_Settings.RecentFiles.MergeStored(stored);
    SaveSettings(*m_Store, m_Settings);
    AppHelp(kHelpQuit);
    event->accept();
  } else {
    event->ignore();
  }
}

void TMainForm::ApplySettings() {
  if (m_Settings.WindowPosition) {
    setGeometry(*m_Settings.WindowPosition);
  } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move((area.width() - frameGeometry().width()) / 2,
         (area.height() - frameGeometry().height()) / 2);
  }
  m_Vocab->SetForeignLangID(m_Settings.ForeignLangID);
  m_Vocab->SetNativeLangID(m_Settings.NativeLangID);
  m_Vocab->SetModified(false);
  const uint32_t learnt = m_Settings.Options.LearntColour;  // 0x00BBGGRR
  dgVocab->SetLearntColour(QColor(learnt & 0xFF, (learnt >> 8) & 0xFF, (learnt >> 16) & 0xFF));
  tbrToolBar->setVisible(m_Settings.ShowToolBar);
  sbrStatusBar->setVisible(m_Settings.ShowStatusBar);
  pnlTest->Run().TestMode = m_Settings.TestMode == kTestActive ? kTestActive : kTestPassive;
  pnlTest->Run().MultipleChoice = m_Settings.MultipleChoice;
}

void TMainForm::StoreSettings() {
  // A minimised or maximised window keeps the bounds stored before.
  if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) {
    m_Settings.WindowPosition.reset();
  } else {
    m_Settings.WindowPosition = geometry();
  }
  m_Settings.ForeignLangID = m_Vocab->ForeignLangID();
  m_Settings.NativeLangID = m_Vocab->NativeLangID();
  m_Settings.ShowToolBar = tbrToolBar->isVisibleTo(this);
  m_Settings.ShowStatusBar = sbrStatusBar->isVisibleTo(this);
  m_Settings.TestMode = pnlTest->Run().TestMode;
  m_Settings.MultipleChoice = pnlTest->Run().MultipleChoice;
}

bool TMainForm::Start(const QStringList& arguments) {
  m_ExitCode = 1;
  QString path;
  bool print = false;
  ParseCommandLine(arguments, path, print);
  if (path.isEmpty()) {
    show();
    // Unsaved work a crashed run left behind comes before the tip and the start-up dialog.
    auto restored = std::make_unique<TVocabFile>();
    if (m_Recovery->OfferAny(*restored)) {
      if (!restored->FileName().empty()) {
        m_Settings.RecentFiles.AddFile(QFile::decodeName(restored->FileName().c_str()));
      }
      AdoptVocabulary(std::move(restored));
      SetViewMode(vmList);
      return true;
    }
    if (m_Settings.ShowTips) RunCommand([this] { ShowTipOfTheDay(true); });
    if (ShowWelcome()) SetViewMode(vmList);
    return true;
  }
  // Printing a file named on the command line: the window never appears.
  if (print) {
    m_ExitCode = PrintFromCommandLine(path, std::cout, std::cerr);
    return false;
  }
  if (!OpenFile(path)) return false;
  SetViewMode(vmList);
  show();
  return true;
}

bool TMainForm::ShowWelcome() {
  TWelcomeActions actions;
  actions.NewFile = [this] { return EditProperties(true); };
  actions.OpenFile = [this](const QString& path) { return OpenFile(path); };
  actions.ChooseFileToOpen = [this] {
    QString path;
    return ChooseFileToOpen(path) ? path : QString();
  };
  actions.RunDialog = [this](TWelcomeData& data) {
    return RunDialog<TWelcomeDialog>(WelcomeDialogRunner, data);
  };
  return ::ShowWelcome(this, m_Settings.RecentFiles, actions);
}

void TMainForm::RecentFileClick(int index) {
  const QString path = m_Settings.RecentFiles.GetFile(index);
  if (path.isEmpty() || !QuerySave()) return;
  if (OpenFile(path)) SetViewMode(vmList);
}

void TMainForm::ParseCommandLine(const QStringList& arguments, QString& path, bool& print) {
  // arguments excludes the program itself.
  const QString first = arguments.value(0);
  print = first.compare("/p", Qt::CaseInsensitive) == 0;
  path = print && arguments.size() >= 2 ? arguments[1] : first;
}
