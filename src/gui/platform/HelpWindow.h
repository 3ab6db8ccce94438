// SPDX-License-Identifier: MIT
// The help window: the compiled help pages with contents, index, search and back/forward.
#pragma once

#include <QPointer>
#include <QTextBrowser>
#include <QWidget>

#include "platform/AppHelp.h"

class QHelpEngine;

// Shows the pages of the help collection; links to other sites go to the browser or mail
// program.
class THelpBrowser : public QTextBrowser {
  Q_OBJECT
public:
  THelpBrowser(QHelpEngine* engine, QWidget* parent);
  QVariant loadResource(int type, const QUrl& name) override;

private:
  QHelpEngine* m_Engine;
};

// A window of its own, not owned by the main window, so it stays open beside it; the main window
// closes it when it closes.
class THelpWindow : public QWidget {
  Q_OBJECT
public:
  // collection: the compiled help collection; empty or unreadable: the window says so.
  explicit THelpWindow(const QString& collection);
  // page: "file.html" or "file.html#anchor".
  void ShowPage(const QString& page);
  THelpBrowser* Browser() const { return hbPage; }

private:
  QHelpEngine* m_Engine = nullptr;
  THelpBrowser* hbPage = nullptr;
  bool m_Indexed = false;
};

// The program's viewer: one help window, made when first needed.
class THelpWindowViewer : public THelpViewer {
public:
  void ShowTopic(int context, const QString& page) override;
  void ShowContents() override;
  void CloseAll() override;
  void ShowPopup(int context, const QString& text, const QPoint& pos) override;
  // The open help window, or null.
  THelpWindow* Window() const { return m_Window; }
  // The help collection to show; the one found beside the program or installed when not set.
  void SetCollection(const QString& collection) { m_Collection = collection; }

private:
  THelpWindow* Show(const QString& page);
  void FollowModalDialog();
  QPointer<THelpWindow> m_Window;
  QString m_Collection;
};
