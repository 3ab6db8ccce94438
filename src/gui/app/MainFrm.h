// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>
#include <QWidget>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

#include "dialogs/EditDlg.h"
#include "dialogs/PropsDlg.h"
#include "dialogs/WelcDlg.h"
#include "settings/RecFile.h"
#include "settings/RegUtils.h"
#include "text/Search.h"
#include "vocab/Clipboard.h"
#include "vocab/Import.h"
#include "vocab/VocFile.h"

class QAction;
class QMenu;
class QStackedWidget;
class QToolBar;
class QStatusBar;
class TSearchDialog;
class TStatusPanels;
class TVocabGrid;

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

// The program's one top-level window. It owns the open vocabulary from start to end.
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
  bool ShowWelcome();
  // Runs the start-up dialog on its record; tests replace it. Empty: the real dialog.
  std::function<bool(TWelcomeData& data)> WelcomeDialogRunner;
  // Runs the properties dialog on its record; tests replace it. Empty: the real dialog.
  std::function<bool(TPropertiesData& data)> PropertiesDialogRunner;
  // Runs the font dialog on a font record; tests replace it. Empty: the real dialog.
  std::function<bool(TFontSetting& font)> FontDialogRunner;
  // Runs the text import dialog on its request; tests replace it. Empty: the real dialog.
  std::function<bool(TImportRequest& request)> ConvertDialogRunner;
  // Runs the sort dialog on the sort field; tests replace it. Empty: the real dialog.
  std::function<bool(uint8_t& field)> SortDialogRunner;
  // Runs the item edit dialog on its record; tests replace it. Empty: the real dialog.
  std::function<bool(TEditData& data)> EditDialogRunner;
  // Runs the statistics dialog; true means reset. Tests replace it. Empty: the real dialog.
  std::function<bool(const TVocabFile& vocab)> StatisticsDialogRunner;

  // The field the last Sort used (0 word/phrase .. 3 translations); not saved.
  uint8_t SortField = 0;
  // The request of the Find window and of Find Next.
  TSearchData SearchData;
  TSearchDialog* FindWindow = nullptr;
  // Everything kept between runs, loaded at creation and saved when the window closes.
  TSettings& Settings() { return m_Settings; }
  const TRecentFileList& RecentFiles() const { return m_Settings.RecentFiles; }

  TVocabFile& Vocab() const { return *m_Vocab; }
  TViewMode ViewMode() const { return m_ViewMode; }
  void SetViewMode(TViewMode mode);

  // True when the caller may discard or replace the vocabulary (asks to save changes).
  bool QuerySave();
  // Loads the file into a new vocabulary and adopts it only on success.
  bool OpenFile(const QString& path);
  bool ChooseFileToOpen(QString& path);
  bool EditProperties(bool isNew);
  // The path to open (possibly empty) and whether it is to be printed ("/p").
  static void ParseCommandLine(const QStringList& arguments, QString& path, bool& print);

  // Derives the caption and the enabled and checked state of every command from the current
  // state. Runs whenever the event loop is about to wait.
  void UpdateCommands();
  void UpdateCaption();

  void miFileNewClick();
  void miFileOpenClick();
  void miFileImportClick();
  void miFileSaveClick();
  void miFileSaveAsClick();
  void miFilePropertiesClick();
  void miFileExitClick();
  void miViewToolBarClick();
  void miViewStatusBarClick();
  void miViewFontClick();
  // The display font of the settings, given to the list (and later to the test panel).
  void ApplyDisplayFont();
  void RecentFileClick(int index);
  void miEditUndoClick();
  void miEditRedoClick();
  void miEditCutClick();
  void miEditCopyClick();
  void miEditPasteClick();
  void miEditDeleteClick();
  void miEditMoveUpClick();
  void miEditMoveDownClick();
  void miEditShuffleClick();
  void miTestStatisticsClick();
  void miEditAddClick();
  void miEditEditClick();
  void miEditSortClick();
  // The tool-bar Sort: no dialog, the field chosen last.
  void tbSortClick();
  void miEditFindClick();
  void miEditFindNextClick();
  // Sorts by SortField in the languages' alphabetical order, as one undoable step.
  void SortBy();

  // "Open - Ctrl+O|Opens an existing file": the tool-button tip, then the status-bar hint.
  static QString MenuItemHint(const QAction* item);
  void InitToolHints();
  // The clipboard the edit commands use; tests may put another in its place.
  std::unique_ptr<TClipboard> Clipboard;

  TWorkSpace* pbWorkSpace = nullptr;
  TVocabGrid* dgVocab = nullptr;
  TStatusPanels* StatusPanels = nullptr;
  QStackedWidget* pnlViews = nullptr;
  QToolBar* tbrToolBar = nullptr;
  QStatusBar* sbrStatusBar = nullptr;

  QMenu* miFile = nullptr;
  QAction* miFileNew = nullptr;
  QAction* miFileOpen = nullptr;
  QAction* miFileImport = nullptr;
  QAction* miFileSave = nullptr;
  QAction* miFileSaveAs = nullptr;
  QAction* miFileProperties = nullptr;
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
  QAction* miTestStatistics = nullptr;
  QMenu* miView = nullptr;
  QAction* miViewToolBar = nullptr;
  QAction* miViewStatusBar = nullptr;
  QAction* miViewFont = nullptr;

protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void CreateMenus();
  void CreateEditMenu();
  // The mode for entries added by Add and Paste: at the end, or behind the current entry.
  int AddMode() const;
  // Runs a dialog of type Dialog over the window on record (further constructor arguments in
  // args), or hands record to runner where a test has set one. True when it closed with OK.
  template <typename Dialog, typename Record, typename... Args>
  bool RunDialog(const std::function<bool(Record&)>& runner, std::type_identity_t<Record>& record,
                 Args&&... args) {
    BeforeDialog();
    if (runner) return runner(record);
    Dialog dialog(this, record, std::forward<Args>(args)...);
    return dialog.exec() == QDialog::Accepted;
  }
  // A dialog ends a Cut mark, so a later Paste inserts instead of moving.
  void BeforeDialog();
  bool RunEditDialog(TEditData& data);
  void CreateToolBar();
  QAction* AddCommand(QMenu* menu, const char* name, const QString& caption, const QString& hint,
                      const QKeySequence& shortcut, int image, void (TMainForm::*handler)());
  void SaveAs(const QString& path, int filterIndex);
  void ApplySettings();
  void StoreSettings();

  std::unique_ptr<TSettingsStore> m_OwnStore;
  TSettingsStore* m_Store = nullptr;
  TSettings m_Settings;
  std::unique_ptr<TVocabFile> m_Vocab;
  TViewMode m_ViewMode = vmNone;
  QMetaObject::Connection m_IdleConnection;
};
