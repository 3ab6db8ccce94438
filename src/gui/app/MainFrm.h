// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>
#include <QWidget>
#include <memory>

#include "vocab/VocFile.h"

class QAction;
class QMenu;
class QStackedWidget;
class QToolBar;
class QStatusBar;

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
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

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
  void miFileSaveClick();
  void miFileSaveAsClick();
  void miFilePropertiesClick();
  void miFileExitClick();
  void miViewToolBarClick();
  void miViewStatusBarClick();

  TWorkSpace* pbWorkSpace = nullptr;
  QStackedWidget* pnlViews = nullptr;
  QToolBar* tbrToolBar = nullptr;
  QStatusBar* sbrStatusBar = nullptr;

  QMenu* miFile = nullptr;
  QAction* miFileNew = nullptr;
  QAction* miFileOpen = nullptr;
  QAction* miFileSave = nullptr;
  QAction* miFileSaveAs = nullptr;
  QAction* miFileProperties = nullptr;
  QAction* miFileExit = nullptr;
  QMenu* miView = nullptr;
  QAction* miViewToolBar = nullptr;
  QAction* miViewStatusBar = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateMenus();
  void CreateToolBar();
  QAction* AddCommand(QMenu* menu, const char* name, const QString& caption, const QString& hint,
                      const QKeySequence& shortcut, int image, void (TMainForm::*handler)());
  void SaveAs(const QString& path, int filterIndex);

  std::unique_ptr<TVocabFile> m_Vocab;
  TViewMode m_ViewMode = vmNone;
  QMetaObject::Connection m_IdleConnection;
};
