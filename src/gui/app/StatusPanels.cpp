// SPDX-License-Identifier: MIT
// The panels of the main window's status bar and the hints and diagnostic they show.
#include "app/StatusPanels.h"

#include <QLabel>
#include <QMouseEvent>
#include <QStatusBar>
#include <QStatusTipEvent>

#include <algorithm>
#include <string>

#include "text/Languages.h"
#include "text/TextUtils.h"
#include "vocab/VocFile.h"

namespace {
QString ProgramText(const std::string& ascii) {
  return QString::fromLatin1(ascii.data(), static_cast<qsizetype>(ascii.size()));
}

// A panel that asks for its width but gives way when the window is narrower, so the status bar
// never sets a minimum width for the whole window.
class TYieldingPanel : public QLabel {
public:
  TYieldingPanel(int width, QWidget* parent) : QLabel(parent), m_Width(width) {
    setMinimumWidth(1);
  }
  QSize sizeHint() const override { return {m_Width, QLabel::sizeHint().height()}; }

private:
  int m_Width;
};

// A panel at least its given width, and wider where its text in the current font needs more,
// so that every text shows whole.
class TFittingPanel : public QLabel {
public:
  TFittingPanel(int width, QWidget* parent) : QLabel(parent), m_Width(width) {}
  QSize sizeHint() const override {
    const QSize content = QLabel::sizeHint();
    return {std::max(m_Width, content.width()), content.height()};
  }
  QSize minimumSizeHint() const override { return sizeHint(); }

private:
  int m_Width;
};
}  // namespace

TStatusPanels::TStatusPanels(QStatusBar* bar) : QObject(bar), m_Bar(bar) {
  static constexpr std::array<int, kPanelCount> kWidths{290, 60, 45, 45, 45, 45};
  for (int i = 0; i < kPanelCount; ++i) {
    QLabel* panel = i == 0 ? static_cast<QLabel*>(new TYieldingPanel(kWidths[0], bar))
                           : new TFittingPanel(kWidths[i], bar);
    panel->setObjectName(QString("sbrPanel%1").arg(i));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    // The last panel takes what is left of the bar.
    bar->addWidget(panel, i == kPanelCount - 1 ? 1 : 0);
    m_Panels[i] = panel;
  }
  bar->installEventFilter(this);
}

void TStatusPanels::UpdateStatusBar(const TVocabFile& vocab, bool testView) {
  const int32_t count = vocab.Count();
  const int32_t learnt = vocab.LearntCount();
  m_Panels[1]->setText(ProgramText(FindLanguage(vocab.ForeignLangID()).LangCode + " - " +
                                   FindLanguage(vocab.NativeLangID()).LangCode));
  m_Panels[2]->setText(QString::number(count));
  m_Panels[3]->setText(QString::number(testView ? learnt : vocab.ItemIndex() + 1));
  m_Panels[4]->setText(ProgramText(FormatPercent(learnt, count)));
  m_Panels[5]->setText(vocab.Modified()            ? tr("Modified")
                       : !vocab.FileName().empty() ? tr("Saved")
                                                   : QString());
}

void TStatusPanels::SetHint(const QString& hint) {
  m_Panels[0]->setText(hint);
}

void TStatusPanels::ShowHintsFrom(QWidget* window) {
  window->installEventFilter(this);
}

void TStatusPanels::SetDiagnostic(std::function<uint16_t()> foreignLangId,
                                  std::function<void(const QString&)> message) {
  m_DiagnosticLang = std::move(foreignLangId);
  m_DiagnosticMessage = std::move(message);
}

bool TStatusPanels::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::StatusTip && watched != m_Bar) {
    SetHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  if (event->type() == QEvent::MouseButtonPress && watched == m_Bar && m_DiagnosticLang &&
      m_DiagnosticMessage) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::RightButton && mouse->buttons() == Qt::RightButton &&
        mouse->modifiers() == Qt::ControlModifier) {
      const std::string sample = "TestString";
      size_t size = 0;
      try {
        const uint16_t lang = m_DiagnosticLang();
        AnsiToWide(sample, lang);  // fails when the language's code page is not available
        size = LocaleLowerCase(sample, lang).size();
      } catch (const std::exception&) {
        size = 0;
      }
      m_DiagnosticMessage(size > 0 ? tr("LCMapString succeeded") : tr("LCMapString failed"));
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}
