// SPDX-License-Identifier: MIT
// The main window, TMainForm, and the empty workspace it shows while no file is open.
#pragma once

#include <QMainWindow>
#include <QWidget>
#include <functional>
#include <iosfwd>
#include <memory>
#include <type_traits>
#include <utility>

#include "dialogs/AnkiDlg.h"
#include "dialogs/EditDlg.h"
#include "dialogs/OptDlg.h"
#include "dialogs/PrntOpDlg.h"
#include "dialogs/PropsDlg.h"
#include "dialogs/StatsDlg.h"
#include "dialogs/TipsDlg.h"
#include "dialogs/WelcDlg.h"
#include "history/History.h"
#include "platform/Icons.h"
#include "print/Printer.h"
#include "print/PrtUtils.h"
#include "settings/RecFile.h"
#include "settings/RegUtils.h"
#include "text/Search.h"
#include "vocab/Clipboard.h"
#include "vocab/Import.h"
#include "vocab/VocFile.h"

class QAction;
class QMenu;
class QPrinter;
class QStackedWidget;
class QToolBar;
class QStatusBar;
class QTimer;
class TSearchDialog;
class TKeyboardFilter;
class TKeyboardSwitching;
class TStatusPanels;
class TTestPanel;
class TVocabGrid;
class TRecovery;

// The empty workspace shown while no file is open: the application-workspace colour framed by
// a sunken edge.
class TWorkSpace : public QWidget {
  Q_OBJECT
public:
  explicit TWorkSpace(QWidget* parent = nullptr);

protected:
  void paintEvent(QPaintEvent* event) override;
};

enum TViewMode : uint8_t { vmNone = 0, vmList = 1, vmTest = 2 };

// Where the vocabulary's AddItem and PasteFromClipboard put a new entry.
enum TAddMode : int { amBeforeCurrent = 0, amAfterCurrent = 1, amAtEnd = 2 };

// The program's one top-level window. It owns the open vocabulary from start to end. Its widgets
// and commands carry their object names (dgVocab, miFileSave, ...); tests find them by name.
class TMainForm : public QMainWindow {
  Q_OBJECT
public:
  // Reads its settings from store (the user's own settings when none is given) and writes them
  // back there when it closes.
  explicit TMainForm(TSettingsStore* store = nullptr, QWidget* parent = nullptr);
  ~TMainForm() override;

  // The start-up sequence after the window was created: opens the file named on the command
  // line, or offers the start-up dialog. False when the program is to end at once.
  bool Start(const QStringList& arguments);
  // The path to open (possibly empty) and whether it is to be printed ("/p").
  static void ParseCommandLine(const QStringList& arguments, QString& path, bool& print);
  // The program's exit status when Start returned false: 0 after printing a file named on the
  // command line, otherwise 1.
  int ExitCode() const { return m_ExitCode; }
  // Prints the file at path with the stored settings, without showing the window: on the
  // current printer, or for "PDF file" into a PDF beside it named like it. Says what it did on
  // out, and why it could not on err; returns the exit status.
  int PrintFromCommandLine(const QString& path, std::ostream& out, std::ostream& err);

  // The dialogs run through these when set (tests answer them); empty: the real dialog.
  std::function<bool(TWelcomeData& data)> WelcomeDialogRunner;
  std::function<bool(TPropertiesData& data)> PropertiesDialogRunner;
  std::function<bool(TFontSetting& font)> FontDialogRunner;
  std::function<bool(TImportRequest& request)> ConvertDialogRunner;
  std::function<bool(TAnkiMappingData& data)> AnkiDialogRunner;
  std::function<bool(uint8_t& field)> SortDialogRunner;
  std::function<bool(TEditData& data)> EditDialogRunner;
  // True means reset.
  std::function<bool(const TVocabFile& vocab)> StatisticsDialogRunner;
  std::function<bool(TOptionsData& data)> OptionsDialogRunner;
  std::function<bool(TTipRequest& request)> TipsDialogRunner;
  std::function<void()> AboutDialogRunner;
  std::function<bool(TPrintOptionsData& data)> PrintOptionsDialogRunner;
  std::function<bool(TPageSetup& setup)> PageSetupDialogRunner;
  // The print run on the device, where a test sets one; empty: the word list is printed.
  std::function<void(QPrinter& printer, const TPrintJob& job)> PrintRunner;
  // The print preview: paint draws the pages on the printer it is given. Empty: the preview
  // window.
  std::function<void(QPrinter& printer, const std::function<void(QPrinter&)>& paint)>
      PrintPreviewRunner;
  // The printer of this run, made when first needed.
  TPrinter& Printer();

  // The tip file: beside the program, named like it with the extension ".tip"; else the one in
  // the installed data folder.
  static QString TipFileName();

  // Everything kept between runs, loaded at creation and saved when the window closes.
  TSettings& Settings() { return m_Settings; }
  const TRecentFileList& RecentFiles() const { return m_Settings.RecentFiles; }
  TVocabFile& Vocab() const { return *m_Vocab; }
  TViewMode ViewMode() const { return m_ViewMode; }
  void SetViewMode(TViewMode mode);
  // The request of the Find window and of Find Next.
  TSearchData& SearchData() { return m_SearchData; }
  // The field the last Sort used (0 word/phrase .. 3 translations); not saved.
  uint8_t SortField() const { return m_SortField; }
  void SetSortField(uint8_t field) { m_SortField = field; }
  // The recovery copies of the open vocabulary; the test run reports its answers here.
  TRecovery& Recovery() { return *m_Recovery; }
  // The study history of the user, opened when first needed.
  THistoryStore& History();
  // The open vocabulary's key in the study history.
  std::string HistoryKey();
  // The clipboard the edit commands use; tests put a fake in its place.
  void SetClipboard(std::unique_ptr<TClipboard> clipboard) { m_Clipboard = std::move(clipboard); }

  // True when the caller may discard or replace the vocabulary (asks to save changes).
  bool QuerySave();
  // Loads the file into a new vocabulary and adopts it only on success.
  bool OpenFile(const QString& path);

  // Derives the caption and the enabled and checked state of every command from the current
  // state. Runs whenever the event loop is about to wait.
  void UpdateCommands();

  // "Open - Ctrl+O|Opens an existing file": the tool-button tip, then the status-bar hint.
  static QString MenuItemHint(const QAction* item);

protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // Building the window (MainFrm.cpp, MainEdit.cpp).
  void CreateMenus();
  void CreateFileMenu();
  void CreateEditMenu();
  void CreateTestMenu();
  void CreateViewMenu();
  void CreateHelpMenu();
  void CreateToolBar();
  void InitToolHints();
  // helpContext: the topic F1 shows while the item is highlighted; 0 for none.
  QAction* AddCommand(QMenu* menu, const char* name, int helpContext, const QString& caption,
                      const QString& hint, const QKeySequence& shortcut, TToolImage image,
                      void (TMainForm::*handler)());

  // The idle-time update, one function per menu.
  void UpdateCaption();
  void UpdateFileCommands();
  void UpdateEditCommands();
  void UpdateTestCommands();
  void UpdateViewCommands();

  // Runs a dialog of type Dialog over the window on record (further constructor arguments in
  // args), or hands record to runner where a test has set one. True when it closed with OK.
  template <typename Dialog, typename Record, typename... Args>
  bool RunDialog(const std::function<bool(Record&)>& runner, std::type_identity_t<Record>& record,
                 Args&&... args) {
    BeforeDialog();
    if (runner) return runner(record);
    Dialog dialog(this, record, std::forward<Args>(args)...);
    connect(&dialog, &TDialog::helpRequested, this, &TMainForm::ShowHelpTopic);
    return dialog.exec() == QDialog::Accepted;
  }
  // A dialog ends a Cut mark, so a later Paste inserts instead of moving.
  void BeforeDialog();

  // The File menu (MainFile.cpp).
  void miFileNewClick();
  void miFileOpenClick();
  void miFileImportClick();
  void miFileSaveClick();
  void miFileSaveAsClick();
  void miFilePropertiesClick();
  void miFileExitClick();
  void RecentFileClick(int index);
  bool ShowWelcome();
  bool ChooseFileToOpen(QString& path);
  bool EditProperties(bool isNew);
  void SaveAs(const QString& path, int filterIndex);
  // Reads an Anki package and appends its notes as the user maps them; the count added (-1 when
  // the mapping was cancelled) and, in details, what the import left out.
  int32_t ImportAnkiPackage(const QString& path, QString& details);
  // Makes vocab the open vocabulary, the list showing it.
  void AdoptVocabulary(std::unique_ptr<TVocabFile> vocab);
  // Before other languages take effect. Returns true when their character sets differ, and
  // then empties the search text, whose bytes mean other letters in the new ones.
  bool UpdateCharsets(uint16_t foreignLangId, uint16_t nativeLangId);

  // Printing (MainPrint.cpp).
  void CreatePrintCommands();
  void miFilePrintClick();
  void miFilePrintPreviewClick();
  void miFilePageSetupClick();
  // The tool-bar Print: no options dialog.
  void tbPrintClick();
  // Prints the open vocabulary on the current printer, asking for the file of a PDF.
  void PrintVocabularyNow();
  bool ChoosePdfFile(QString& path);
  // One print run with the window disabled and the hourglass shown.
  void PrintOn(QPrinter& printer, const TVocabFile& vocab);
  TPrintJob CurrentPrintJob(const TVocabFile& vocab) const;

  // The Edit menu (MainEdit.cpp).
  void miEditUndoClick();
  void miEditRedoClick();
  void miEditCutClick();
  void miEditCopyClick();
  void miEditPasteClick();
  void miEditAddClick();
  void miEditEditClick();
  void miEditDeleteClick();
  void miEditMoveUpClick();
  void miEditMoveDownClick();
  void miEditSortClick();
  // The tool-bar Sort: no dialog, the field chosen last.
  void tbSortClick();
  void miEditShuffleClick();
  void miEditFindClick();
  void miEditFindNextClick();
  // Sorts by the sort field in the languages' alphabetical order, as one undoable step.
  void SortBy();
  bool RunEditDialog(TEditData& data);
  // Where entries added by Add and Paste go: at the end, or behind the current entry.
  TAddMode AddMode() const;

  // The Test menu and the test run (MainTest.cpp).
  void CreateTestPanel();
  void miTestStartTestingClick();
  void miTestPassiveClick();
  void miTestActiveClick();
  void miTestMultipleChoiceClick();
  void miTestHintClick();
  void miTestIWasRightClick();
  void miTestStatisticsClick();
  // Makes the next question current; when every entry is learnt, says so, offers the
  // statistics dialog, and is true only if the statistics were reset there.
  bool SelectQuestionOrFinish();
  // A new direction, multiple choice or options: the question on screen is dropped unrecorded
  // and a fresh one is asked, or testing ends when none is left.
  void TestSettingsChanged();
  // Into the native (kTestPassive) or foreign language: starts testing, or switches direction.
  void SetTestMode(uint8_t mode);
  // A double-click on the question: back to the list, editing the entry asked.
  void pnlQuestionDblClick();

  // Speaking (MainSpeech.cpp).
  void CreateSpeechCommands();
  void miTestSpeakClick();
  void miTestSpeakAnswerClick();
  void UpdateSpeechCommands();
  // The automatic speaking of the options, after a question or a result was shown.
  void QuestionShown();
  void ResultShown();
  // A field to speak, in its language; Text empty: nothing to speak.
  struct TSpokenField {
    QString Text;
    uint16_t LangID = 0;
  };
  // The question on screen, or in the list the highlighted word/phrase.
  TSpokenField SpokenQuestion() const;
  // The expected answer once the result is shown.
  TSpokenField SpokenAnswer() const;
  // Speaks field at rate (kMinSpeechRate .. kMaxSpeechRate) when its language has a voice.
  void Speak(const TSpokenField& field, int32_t rate);
  // The Try button of the options: a word of the open file in its foreign language at rate.
  void TrySpeech(int32_t rate);
  // Enables command for field, or disables it with the reason as its hint (else hint).
  void UpdateSpeechCommand(QAction* command, const TSpokenField& field, const QString& hint);
  // The study history (MainHistory.cpp).
  void miTestClearHistoryClick();
  void miTestExportHistoryClick();
  // The answer just recorded in the vocabulary goes into the history, when it is kept.
  void RecordHistory(int32_t answerMs);
  // I Was Right: the last answer in the history takes the revised result, when it went there.
  void ReviseHistory();
  THistoryPageData HistoryPageData();
  // Selects the entry in the list, leaving testing for it.
  void ShowInList(int32_t index);
  // Says once that a damaged history was moved aside; never in the middle of a test.
  // Takes the store's notice of a damaged database moved aside, to be shown outside a test run.
  void KeepHistoryNotice();
  void ShowHistoryNotice();

  // The View menu.
  void miViewToolBarClick();
  void miViewStatusBarClick();
  void miViewFontClick();
  void miViewOptionsClick();
  // The display font of the settings, given to the list and the test panel.
  void ApplyDisplayFont();

  // The Help menu (MainHelp.cpp). At start-up (atStartup) turning tips off is answered with a
  // note on how to turn them on again.
  void miHelpContentsClick();
  void miHelpTipsClick();
  void miHelpDownloadClick();
  void miHelpFeedbackClick();
  void miHelpAboutClick();
  void ShowTipOfTheDay(bool atStartup);
  // The help topic of a context number (a dialog's Help button, a tip's Details).
  void ShowHelpTopic(int context);
  // F1 in an open menu: the topic of the highlighted item. True when the key was used.
  bool MenuHelpKey(QMenu* menu, QEvent* event);

  void ApplySettings();
  void StoreSettings();

  std::unique_ptr<TSettingsStore> m_OwnStore;
  TSettingsStore* m_Store = nullptr;
  TSettings m_Settings;
  std::unique_ptr<TClipboard> m_Clipboard;
  std::unique_ptr<TVocabFile> m_Vocab;
  TViewMode m_ViewMode = vmNone;
  uint8_t m_SortField = 0;
  TSearchData m_SearchData;
  QMetaObject::Connection m_IdleConnection;
  TKeyboardFilter* m_KeyFilter = nullptr;
  TKeyboardSwitching* m_KeySwitching = nullptr;
  TRecovery* m_Recovery = nullptr;  // a child of the window
  std::unique_ptr<TPrinter> m_Printer;
  std::unique_ptr<THistoryStore> m_History;
  std::string m_UntitledHistoryKey;  // of the untitled vocabulary; a new one for each New
  QTimer* m_HistoryRetry = nullptr;  // writes answers that had to wait
  QString m_HistoryNotice;
  bool m_LastAnswerInHistory = false;  // whether the answer on screen was recorded there
  int m_ExitCode = 0;

  // The views: the empty workspace, the list and the test panel.
  QStackedWidget* pnlViews = nullptr;
  TWorkSpace* pbWorkSpace = nullptr;
  TVocabGrid* dgVocab = nullptr;
  TTestPanel* pnlTest = nullptr;
  TSearchDialog* FindWindow = nullptr;
  QToolBar* tbrToolBar = nullptr;
  QStatusBar* sbrStatusBar = nullptr;
  TStatusPanels* StatusPanels = nullptr;

  QMenu* miFile = nullptr;
  QAction* miFileNew = nullptr;
  QAction* miFileOpen = nullptr;
  QAction* miFileImport = nullptr;
  QAction* miFileSave = nullptr;
  QAction* miFileSaveAs = nullptr;
  QAction* miFileProperties = nullptr;
  QAction* miFilePrint = nullptr;
  QAction* miFilePrintPreview = nullptr;
  QAction* miFilePageSetup = nullptr;
  QAction* tbPrint = nullptr;
  QAction* miFileExit = nullptr;
  TRecentFileMenu* RecentMenu = nullptr;
  QMenu* miEdit = nullptr;
  QAction* miEditUndo = nullptr;
  QAction* miEditRedo = nullptr;
  QAction* miEditCut = nullptr;
  QAction* miEditCopy = nullptr;
  QAction* miEditPaste = nullptr;
  QAction* miEditAdd = nullptr;
  QAction* miEditEdit = nullptr;
  QAction* miEditDelete = nullptr;
  QAction* miEditMoveUp = nullptr;
  QAction* miEditMoveDown = nullptr;
  QAction* miEditSort = nullptr;
  QAction* miEditShuffle = nullptr;
  QAction* miEditFind = nullptr;
  QAction* miEditFindNext = nullptr;
  QAction* tbSort = nullptr;
  QMenu* miTest = nullptr;
  QAction* miTestStartTesting = nullptr;
  QAction* miTestPassive = nullptr;
  QAction* miTestActive = nullptr;
  QAction* miTestMultipleChoice = nullptr;
  QAction* miTestHint = nullptr;
  QAction* miTestIWasRight = nullptr;
  QAction* miTestStatistics = nullptr;
  QAction* miTestSpeak = nullptr;
  QAction* miTestSpeakAnswer = nullptr;
  QAction* miTestClearHistory = nullptr;
  QAction* miTestExportHistory = nullptr;
  QMenu* miView = nullptr;
  QAction* miViewToolBar = nullptr;
  QAction* miViewStatusBar = nullptr;
  QAction* miViewFont = nullptr;
  QAction* miViewOptions = nullptr;
  QMenu* miHelp = nullptr;
  QAction* miHelpContents = nullptr;
  QAction* miHelpTips = nullptr;
  QAction* miHelpDownload = nullptr;
  QAction* miHelpFeedback = nullptr;
  QAction* miHelpAbout = nullptr;
  // The options page shown last; the options dialog reopens on it during this run.
  int m_OptionsPage = 0;
};
