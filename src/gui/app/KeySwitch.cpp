// SPDX-License-Identifier: MIT
// Keeps the keyboard layout on the language of the focused field.
#include "app/KeySwitch.h"

#include <QApplication>
#include <QVariant>
#include <QWidget>

TKeyboardSwitching::TKeyboardSwitching(const TProgramOptions& options, TLanguages languages,
                                       std::unique_ptr<TKeyboardLayouts> layouts, QObject* parent)
    : QObject(parent),
      m_Options(options),
      m_Languages(std::move(languages)),
      m_Layouts(std::move(layouts)),
      m_Switcher(*m_Layouts) {
  connect(qApp, &QGuiApplication::applicationStateChanged, this,
          &TKeyboardSwitching::ApplicationStateChanged);
}

TKeyboardSwitching::~TKeyboardSwitching() {
  m_Switcher.Deactivated(m_Options.KeyboardSwitching);
}

void TKeyboardSwitching::Update() {
  if (QGuiApplication::applicationState() == Qt::ApplicationActive) Switch(false);
}

void TKeyboardSwitching::Switch(bool useDefault) {
  uint16_t language = 0;
  if (!useDefault) {
    if (const QWidget* focus = QApplication::focusWidget()) {
      const auto [foreign, native] = m_Languages();
      language = TagLanguage(focus->property("tag").toInt(), foreign, native);
    }
  }
  m_Switcher.Switch(m_Options.KeyboardSwitching, language);
}

void TKeyboardSwitching::ApplicationStateChanged(Qt::ApplicationState state) {
  if (state == Qt::ApplicationActive) {
    m_Switcher.Activated();
  } else {
    m_Switcher.Deactivated(m_Options.KeyboardSwitching);
  }
}
