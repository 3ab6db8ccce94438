// SPDX-License-Identifier: MIT
// The program-wide keyboard filter: accent composition with Ctrl and the assigned shortcut keys.
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

#include "testing/Options.h"
#include "text/ShortcutKeys.h"

class QKeyEvent;
class QWidget;

// Watches every key press of the application before any window sees it. Ctrl with an accent
// key ("'`:^~@,/&") makes the next letter typed an accented one; a key with an assigned
// character types it into the focused field; while the main window is disabled no key reaches
// any window. Characters are delivered as key presses with that text to the focused widget, so
// validators, undo and selection treat them as typed.
class TKeyboardFilter : public QObject {
  Q_OBJECT
public:
  // mainWindow: no key passes while it is disabled. options: read at every key press.
  TKeyboardFilter(QWidget* mainWindow, const TProgramOptions& options, QObject* parent = nullptr);

  const TAccentComposer& Composer() const { return m_Composer; }

  // The shortcut code of a key press (key code, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt), or 0 for
  // a key outside the letters and function keys.
  static uint16_t ShortcutCode(const QKeyEvent& event);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // The character that code stands for in the language's code page. The focused field takes it
  // as typed text: a symbol field refuses a character its own code page lacks.
  static QString CodeText(uint8_t code, uint16_t language);
  static void Deliver(QWidget* target, const QString& text);
  bool KeyPress(QObject* watched, QKeyEvent* event);
  // Whether a key press would be taken by the filter, asked before shortcuts are matched.
  bool WantsKey(const QKeyEvent& event) const;

  QPointer<QWidget> m_MainWindow;
  const TProgramOptions& m_Options;
  TAccentComposer m_Composer;
};
