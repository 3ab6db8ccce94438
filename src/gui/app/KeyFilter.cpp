// SPDX-License-Identifier: MIT
// The program-wide keyboard filter: accent composition with Ctrl and the assigned shortcut keys.
#include "app/KeyFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "text/Languages.h"

namespace {
// The composed letters are Windows-1252 characters.
constexpr uint16_t kWestern = 0x0409;

// The character a key gives without Ctrl and Alt: Qt reports printable keys by their character
// with Shift and the layout already applied; 0 when the key is not one character.
char32_t KeyChar(const QKeyEvent& event) {
  const int key = event.key();
  return key >= 0x20 && key <= 0x7E ? static_cast<char32_t>(key) : 0;
}

bool CtrlWithoutAlt(const QKeyEvent& event) {
  const Qt::KeyboardModifiers m = event.modifiers();
  return (m & Qt::ControlModifier) && !(m & Qt::AltModifier);
}
}  // namespace

TKeyboardFilter::TKeyboardFilter(QWidget* mainWindow, const TProgramOptions& options,
                                 QObject* parent)
    : QObject(parent), m_MainWindow(mainWindow), m_Options(options) {}

uint16_t TKeyboardFilter::ShortcutCode(const QKeyEvent& event) {
  const int key = event.key();
  uint16_t code = 0;
  if (key >= Qt::Key_A && key <= Qt::Key_Z) {
    code = static_cast<uint16_t>('A' + (key - Qt::Key_A));
  } else if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
    code = static_cast<uint16_t>(kVkF1 + (key - Qt::Key_F1));
  } else {
    return 0;
  }
  const Qt::KeyboardModifiers m = event.modifiers();
  if (m & Qt::ShiftModifier) code |= kScShift;
  if (m & Qt::ControlModifier) code |= kScCtrl;
  if (m & Qt::AltModifier) code |= kScAlt;
  return code;
}

QString TKeyboardFilter::CodeText(uint8_t code, uint16_t language) {
  try {
    return QString::fromStdU16String(AnsiToWide(std::string(1, static_cast<char>(code)), language));
  } catch (const std::exception&) {
    return {};
  }
}

void TKeyboardFilter::Deliver(QWidget* target, const QString& text) {
  if (!target || text.isEmpty()) return;
  QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
  QCoreApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
  QCoreApplication::sendEvent(target, &release);
}

bool TKeyboardFilter::WantsKey(const QKeyEvent& event) const {
  if (CtrlWithoutAlt(event) && AccentNumber(KeyChar(event)) != 0) return true;
  const int index = FindShortcutKey(ShortcutCode(event));
  return index >= 0 && m_Options.ShortcutChars[size_t(index)].Code != 0 &&
         QApplication::focusWidget();
}

bool TKeyboardFilter::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride) {
    return false;
  }
  // While the main window is disabled (printing), no key reaches any window.
  if (m_MainWindow && !m_MainWindow->isEnabled()) return true;
  auto* key = static_cast<QKeyEvent*>(event);
  if (type == QEvent::ShortcutOverride) {
    // Keys the filter takes must arrive as key presses rather than as shortcuts.
    if (!WantsKey(*key)) return false;
    event->accept();
    return true;
  }
  return type == QEvent::KeyPress && KeyPress(watched, key);
}

bool TKeyboardFilter::KeyPress(QObject* watched, QKeyEvent* event) {
  // Our own deliveries pass untouched.
  if (event->key() == Qt::Key_unknown && event->modifiers() == Qt::NoModifier) return false;
  QWidget* focus = QApplication::focusWidget();
  if (CtrlWithoutAlt(*event)) {
    if (const char32_t c = KeyChar(*event); c != 0 && m_Composer.CtrlKey(c)) return true;
  } else if (m_Composer.PendingAccent() != 0 && event->text().size() == 1 &&
             !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    const int code = m_Composer.Character(event->text()[0].unicode());
    if (code >= 0) {
      QWidget* target = focus ? focus : qobject_cast<QWidget*>(watched);
      Deliver(target, CodeText(static_cast<uint8_t>(code), kWestern));
      return true;
    }
  }
  const int index = FindShortcutKey(ShortcutCode(*event));
  if (index < 0 || !focus) return false;
  const TShortcutChar assigned = m_Options.ShortcutChars[size_t(index)];
  if (assigned.Code == 0) return false;
  Deliver(focus, CodeText(assigned.Code, CharsetLanguage(assigned.Charset)));
  return true;
}
