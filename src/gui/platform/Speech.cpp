// SPDX-License-Identifier: MIT
// Speaking text through Qt TextToSpeech, in a thread of its own so that a slow or missing
// speech service never holds up the window.
#include "platform/Speech.h"

#include <QCoreApplication>
#include <QList>
#include <QLocale>
#include <QPointer>
#include <QTextToSpeech>
#include <QThread>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "text/SpeechText.h"

namespace {

std::vector<std::string> StdNames(const QStringList& names) {
  std::vector<std::string> result;
  result.reserve(size_t(names.size()));
  for (const QString& name : names) result.push_back(name.toStdString());
  return result;
}

// Lives in the speech thread and owns the Qt engine there; its slots run one after the other,
// so a request made while the service is still being asked waits for the answer.
class TSpeechWorker : public QObject {
public:
  // Connects to the service and reports its voices' locales to report (in the window's thread);
  // failing silently with none available.
  void Open(const QPointer<QObject>& receiver,
            std::function<void(bool available, QStringList locales)> report) {
    bool available = false;
    if (!QTextToSpeech::availableEngines().isEmpty()) {
      m_Speech = new QTextToSpeech(this);
      // A service without a voice for the system's own locale reports an error, yet speaks
      // the languages it has voices for.
      m_Locales = m_Speech->availableLocales();
      for (const QLocale& locale : std::as_const(m_Locales)) m_Names << locale.name();
      available = m_Speech->state() != QTextToSpeech::Error || !m_Locales.isEmpty();
    }
    if (!receiver) return;  // the program is ending
    QMetaObject::invokeMethod(
        receiver.data(), [report, available, names = m_Names] { report(available, names); },
        Qt::QueuedConnection);
  }

  void Say(const QString& text, const QString& locale, double rate) {
    if (!m_Speech) return;
    const int voice = ChooseVoice(locale.toStdString(), StdNames(m_Names));
    if (voice < 0) return;
    if (m_Voice != voice) {
      m_Speech->setLocale(m_Locales[voice]);
      m_Voice = voice;
    }
    m_Speech->setRate(rate);
    m_Speech->say(text);
  }

private:
  QTextToSpeech* m_Speech = nullptr;
  QList<QLocale> m_Locales;
  QStringList m_Names;
  int m_Voice = -1;
};

class TServiceSpeech : public QObject, public TSpeechEngine {
public:
  explicit TServiceSpeech(QObject* parent) : QObject(parent) {}
  ~TServiceSpeech() override {
    if (!m_Thread) return;
    m_Thread->quit();
    // A service that hangs must not hold up the end of the program: the thread is left to the
    // process's exit then.
    if (!m_Thread->wait(3000)) (void)m_Thread.release();
  }

  TState State() const override { return m_State; }
  QStringList VoiceLocales() const override { return m_Locales; }

  void Start() override {
    if (m_State != ssIdle) return;
    m_State = ssStarting;
    m_Thread = std::make_unique<QThread>();
    m_Thread->setObjectName("SpeechThread");
    m_Worker = new TSpeechWorker;
    m_Worker->moveToThread(m_Thread.get());
    QObject::connect(m_Thread.get(), &QThread::finished, m_Worker, &QObject::deleteLater);
    m_Thread->start(QThread::LowPriority);
    QMetaObject::invokeMethod(m_Worker, [worker = m_Worker, self = QPointer(this)] {
      worker->Open(QPointer<QObject>(self.data()),
                   [self](bool available, const QStringList& locales) {
                     if (!self) return;
                     self->m_State = available ? ssReady : ssUnavailable;
                     self->m_Locales = locales;
                   });
    });
  }

  void Speak(const QString& text, const QString& locale, double rate) override {
    Start();
    if (m_State == ssUnavailable || text.isEmpty()) return;
    QMetaObject::invokeMethod(
        m_Worker, [worker = m_Worker, text, locale, rate] { worker->Say(text, locale, rate); });
  }

private:
  TState m_State = ssIdle;
  QStringList m_Locales;
  std::unique_ptr<QThread> m_Thread;
  TSpeechWorker* m_Worker = nullptr;  // lives in m_Thread, deleted when it finishes
};

TSpeechEngine* g_Engine = nullptr;

}  // namespace

TSpeechEngine& SpeechEngine() {
  if (g_Engine) return *g_Engine;
  // One per run, ended with the application so that its thread ends before Qt does.
  static QPointer<QObject> owner;
  static TServiceSpeech* real = nullptr;
  if (!owner) {
    real = new TServiceSpeech(QCoreApplication::instance());
    owner = real;
  }
  return *real;
}

TSpeechEngine* SetSpeechEngine(TSpeechEngine* engine) {
  return std::exchange(g_Engine, engine);
}

bool CanSpeak(const TSpeechEngine& engine, const QString& locale) {
  switch (engine.State()) {
    case TSpeechEngine::ssUnavailable:
      return false;
    case TSpeechEngine::ssReady:
      return ChooseVoice(locale.toStdString(), StdNames(engine.VoiceLocales())) >= 0;
    default:
      return !locale.isEmpty();
  }
}
