// SPDX-License-Identifier: MIT
// Keeps the keyboard layout on the language of the focused field.
#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

#include "testing/Options.h"
#include "text/KeyboardLayouts.h"

// While the option KeyboardSwitching is on and the program is the active application, the
// focused field's language tag (the dynamic property "tag") picks the layout: the vocabulary's
// foreign or native language, else the default layout. Leaving the program gives the default
// layout back, since the layout is shared by every program on the display.
class TKeyboardSwitching : public QObject {
  Q_OBJECT
public:
  // The vocabulary's foreign and native language, asked at every pass.
  using TLanguages = std::function<std::pair<uint16_t, uint16_t>()>;

  TKeyboardSwitching(const TProgramOptions& options, TLanguages languages,
                     std::unique_ptr<TKeyboardLayouts> layouts, QObject* parent = nullptr);
  ~TKeyboardSwitching() override;

  // The idle pass: follows the focus while the program is the active application.
  void Update();
  // useDefault: the default layout (before a message box); else the focused field's.
  void Switch(bool useDefault);

private:
  void ApplicationStateChanged(Qt::ApplicationState state);

  const TProgramOptions& m_Options;
  TLanguages m_Languages;
  std::unique_ptr<TKeyboardLayouts> m_Layouts;
  TKeyboardSwitcher m_Switcher;
};
