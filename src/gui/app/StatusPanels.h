// SPDX-License-Identifier: MIT
// The six panels of the main window's status bar.
#pragma once

#include <QObject>
#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>

class QLabel;
class QStatusBar;
class TVocabFile;

// The six panels of the main window's status bar: the hint, the languages, the number of
// entries, the current entry (or the learnt entries while testing), the learnt percentage and
// the saved state.
class TStatusPanels : public QObject {
  Q_OBJECT
public:
  static constexpr int kPanelCount = 6;

  // Adds the panels to bar, which keeps them.
  explicit TStatusPanels(QStatusBar* bar);

  QLabel* Panel(int index) const { return m_Panels[index]; }
  void UpdateStatusBar(const TVocabFile& vocab, bool testView);
  void SetHint(const QString& hint);
  // Status tips of window's menus and controls then go to the first panel instead of covering
  // the whole bar.
  void ShowHintsFrom(QWidget* window);
  // Ctrl with the right button on the bar reports whether the foreign language's lower-casing
  // works; message shows the result.
  void SetDiagnostic(std::function<uint16_t()> foreignLangId,
                     std::function<void(const QString&)> message);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QPointer<QStatusBar> m_Bar;
  std::array<QLabel*, kPanelCount> m_Panels{};
  std::function<uint16_t()> m_DiagnosticLang;
  std::function<void(const QString&)> m_DiagnosticMessage;
};
