// SPDX-License-Identifier: MIT
// The one way into help: topics by context number, contents, pop-ups and closing it all.
#pragma once

#include <QPoint>
#include <QString>
#include <cstdint>

class QUrl;

// The classic help commands AppHelp takes.
constexpr unsigned kHelpContext = 1, kHelpQuit = 2, kHelpContents = 3, kHelpContextPopup = 8,
                   kHelpSetPopupPos = 13;

// What shows help. The program has one (the help window); tests put a recording fake in its
// place with SetHelpViewer.
class THelpViewer {
public:
  virtual ~THelpViewer() = default;
  // page is a file of the help pages, possibly with "#anchor".
  virtual void ShowTopic(int context, const QString& page) = 0;
  virtual void ShowContents() = 0;
  virtual void CloseAll() = 0;
  // A short text beside a control, at pos in global coordinates.
  virtual void ShowPopup(int context, const QString& text, const QPoint& pos) = 0;
};

// The viewer in use; the help window unless replaced. Never null.
THelpViewer& HelpViewer();
// Replaces the viewer (null: back to the help window) and returns the one it replaced, which
// the caller gets back in place when it is done (see TScopedHelpViewer in the test support).
THelpViewer* SetHelpViewer(THelpViewer* viewer);

// Every help request of the program: command 1 shows the topic of context number data (nothing
// for 0 or a number without a topic), 2 closes all help, 3 shows the contents, 13 sets where
// the next pop-up goes (data: x in the low, y in the high 16 bits of a global position) and 8
// shows the pop-up of context number data there. One help system serves every request, so
// passOn, whether an older help engine is to see the request too, is always false. Returns true.
bool AppHelp(unsigned command, intptr_t data, bool& passOn);
// The same without the passOn flag.
void AppHelp(unsigned command, intptr_t data = 0);
// Commands 13 and 8 together: the pop-up of context at pos.
void ShowHelpPopup(int context, const QPoint& pos);

// The page ("file.html" or "file.html#anchor") of a topic number; empty without one.
QString HelpTopicPage(int context);
// The pop-up text of a context number; empty without one.
QString HelpPopupText(int context);
// Every topic number that has a page, ascending.
QList<int> HelpTopicNumbers();

// Where the compiled help collection lies: beside the program, else in the installed data
// folder; empty when neither has it.
QString HelpCollectionFile();
// The address of a page inside the compiled help.
QUrl HelpPageUrl(const QString& page);
