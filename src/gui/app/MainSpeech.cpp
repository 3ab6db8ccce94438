// SPDX-License-Identifier: MIT
// Speaking questions, answers and the highlighted word through the desktop's speech service.
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusTipEvent>

#include <algorithm>

#include "app/MainFrm.h"
#include "app/TestPanel.h"
#include "platform/Speech.h"
#include "text/DrawItem.h"
#include "text/Languages.h"
#include "text/SpeechText.h"

namespace {
QString LocaleOf(uint16_t langId) {
  return QString::fromStdString(LanguageLocaleName(langId));
}
QString SpeakHint() {
  return TMainForm::tr("Speaks the question, or the highlighted word or phrase");
}
QString SpeakAnswerHint() {
  return TMainForm::tr("Speaks the expected answer");
}

// Qt never highlights a disabled menu item, so its hint, which says why Speak is unavailable,
// would not be seen: pointing at such an item shows it on the window's status bar all the same.
class TDisabledItemHints : public QObject {
public:
  explicit TDisabledItemHints(QWidget* window) : QObject(window), m_Window(window) {}

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::MouseMove) return false;
    const auto* menu = static_cast<QMenu*>(watched);
    const QAction* item = menu->actionAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    if (item && !item->isEnabled() && !item->statusTip().isEmpty()) {
      QStatusTipEvent tip(item->statusTip());
      QCoreApplication::sendEvent(m_Window, &tip);
    }
    return false;
  }

private:
  QWidget* m_Window;
};
}  // namespace

void TMainForm::CreateSpeechCommands() {
  miTest->addSeparator();
  miTestSpeak = AddCommand(miTest, "miTestSpeak", 2206, tr("S&peak"), SpeakHint(),
                           QKeySequence(Qt::Key_F5), tiSpeak, &TMainForm::miTestSpeakClick);
  miTestSpeak->setToolTip(MenuItemHint(miTestSpeak).section('|', 0, 0));
  miTestSpeakAnswer =
      AddCommand(miTest, "miTestSpeakAnswer", 2207, tr("Speak &Answer"), SpeakAnswerHint(),
                 QKeySequence(Qt::SHIFT | Qt::Key_F5), tiNone, &TMainForm::miTestSpeakAnswerClick);
  // The service is first asked when it is needed, or when the menu offering it opens: so the
  // commands show whether a voice is there without every start of the program asking.
  connect(miTest, &QMenu::aboutToShow, this, [] { SpeechEngine().Start(); });
  miTest->installEventFilter(new TDisabledItemHints(this));
}

TMainForm::TSpokenField TMainForm::SpokenQuestion() const {
  if (m_ViewMode == vmNone || m_Vocab->ItemIndex() < 0) return {};
  const TVocabItem& item = m_Vocab->CurrentItem();
  if (m_ViewMode == vmTest && pnlTest->Run().TestMode == kTestActive) {
    return {VocabText(SpeechText(item.Values[Native]), m_Vocab->NativeLangID()),
            m_Vocab->NativeLangID()};
  }
  return {VocabText(SpeechText(item.Values[Foreign]), m_Vocab->ForeignLangID()),
          m_Vocab->ForeignLangID()};
}

TMainForm::TSpokenField TMainForm::SpokenAnswer() const {
  if (m_ViewMode != vmTest || !pnlTest->Run().Answered || m_Vocab->ItemIndex() < 0) return {};
  const TVocabItem& item = m_Vocab->CurrentItem();
  if (pnlTest->Run().TestMode == kTestActive) {
    return {VocabText(SpeechText(item.Values[Foreign]), m_Vocab->ForeignLangID()),
            m_Vocab->ForeignLangID()};
  }
  return {VocabText(SpeechText(item.Values[Native]), m_Vocab->NativeLangID()),
          m_Vocab->NativeLangID()};
}

void TMainForm::Speak(const TSpokenField& field, int32_t rate) {
  if (field.Text.isEmpty()) return;
  TSpeechEngine& engine = SpeechEngine();
  const QString locale = LocaleOf(field.LangID);
  if (CanSpeak(engine, locale)) engine.Speak(field.Text, locale, rate / double(kMaxSpeechRate));
}

void TMainForm::miTestSpeakClick() {
  Speak(SpokenQuestion(), m_Settings.Speech.Rate);
}

void TMainForm::miTestSpeakAnswerClick() {
  Speak(SpokenAnswer(), m_Settings.Speech.Rate);
}

void TMainForm::QuestionShown() {
  if (m_Settings.Speech.SpeakQuestions) Speak(SpokenQuestion(), m_Settings.Speech.Rate);
}

void TMainForm::ResultShown() {
  if (m_Settings.Speech.SpeakWrongAnswers && !pnlTest->Run().AnswerCorrect) {
    Speak(SpokenAnswer(), m_Settings.Speech.Rate);
  }
}

void TMainForm::UpdateSpeechCommand(QAction* command, const TSpokenField& field,
                                    const QString& hint) {
  const TSpeechEngine& engine = SpeechEngine();
  QString reason;
  if (engine.State() == TSpeechEngine::ssUnavailable) {
    reason = tr("Speech is not available: no speech service was found");
  } else if (!field.Text.isEmpty() && !CanSpeak(engine, LocaleOf(field.LangID))) {
    reason = tr("No voice for %1 is installed")
                 .arg(QString::fromStdString(FindLanguage(field.LangID).LangName));
  }
  const bool enabled = !field.Text.isEmpty() && reason.isEmpty();
  if (command->isEnabled() != enabled) command->setEnabled(enabled);
  const QString statusTip = reason.isEmpty() ? hint : reason;
  if (command->statusTip() != statusTip) command->setStatusTip(statusTip);
}

void TMainForm::UpdateSpeechCommands() {
  UpdateSpeechCommand(miTestSpeak, SpokenQuestion(), SpeakHint());
  UpdateSpeechCommand(miTestSpeakAnswer, SpokenAnswer(), SpeakAnswerHint());
}

void TMainForm::TrySpeech(int32_t rate) {
  // A word of the open file: the highlighted one, else the first; else the language's name.
  const uint16_t langId = m_Vocab->ForeignLangID();
  TSpokenField sample{QString::fromStdString(FindLanguage(langId).LangName), langId};
  if (m_Vocab->Count() > 0) {
    const TVocabItem& item = m_Vocab->GetItem(std::max(m_Vocab->ItemIndex(), 0));
    sample.Text = VocabText(SpeechText(item.Values[Foreign]), langId);
  }
  Speak(sample, rate);
}
