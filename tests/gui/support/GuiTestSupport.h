// SPDX-License-Identifier: MIT
// Scoped fakes for the GUI's seams, a guard against modal windows no test answered, and command
// triggering by object name. Every fake puts back what was there when it goes out of scope, so a
// failed check cannot leave a seam pointing at a dead local.
#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <array>
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/AppHelp.h"
#include "platform/DlgUtils.h"
#include "platform/FileDialogs.h"
#include "platform/Shell.h"
#include "platform/Speech.h"

class QAction;
class QWidget;

// Replaces seam (a global handler, a runner, a hook) for the lifetime of the guard.
template <typename T>
class TScopedSeam {
public:
  TScopedSeam(T& seam, std::type_identity_t<T> replacement)
      : m_Seam(seam), m_Saved(std::exchange(seam, std::move(replacement))) {}
  ~TScopedSeam() { m_Seam = std::move(m_Saved); }
  TScopedSeam(const TScopedSeam&) = delete;
  TScopedSeam& operator=(const TScopedSeam&) = delete;

private:
  T& m_Seam;
  T m_Saved;
};

// One message box as the program asked for it.
struct TShownBox {
  QString Message;
  QString Caption;
  uint32_t Style = 0;
};

// Answers every message box with the next of the given answers (then OK) and records it.
class TMessageBoxes {
public:
  explicit TMessageBoxes(QList<int> answers = {});
  TMessageBoxes(const TMessageBoxes&) = delete;
  TMessageBoxes& operator=(const TMessageBoxes&) = delete;

  // Queues further answers behind those not used yet.
  void Answer(QList<int> answers) { m_Answers += std::move(answers); }
  QStringList Messages() const;
  QList<TShownBox> Shown;

private:
  QList<int> m_Answers;
  TScopedSeam<TMessageBoxFunc> m_Seam;
};

// Answers the Open or the Save dialog (seam is OpenFileDialog or SaveFileDialog) with Path, or
// cancels it while Path is empty, and records what it was asked.
class TFileDialogAnswer {
public:
  // filterIndex 0 leaves the type the program proposed.
  TFileDialogAnswer(TFileDialogFunction& seam, QString path, int filterIndex = 0);
  TFileDialogAnswer(const TFileDialogAnswer&) = delete;
  TFileDialogAnswer& operator=(const TFileDialogAnswer&) = delete;

  QString Path;
  int FilterIndex;
  int Calls = 0;
  TFileDialogRequest Request;  // the last request, as the program made it

private:
  TScopedSeam<TFileDialogFunction> m_Seam;
};

// One request to speak, as the speech engine got it.
struct TSpokenText {
  QString Text;
  QString Locale;
  double Rate = 0;
  bool operator==(const TSpokenText&) const = default;
};

// Stands in for the speech service while it lives: in state Current, with the voices of Voices,
// it records every request to speak.
class TSpeechRecorder : public TSpeechEngine {
public:
  explicit TSpeechRecorder(QStringList voices = {"de_DE", "en_US", "fr_FR"})
      : Voices(std::move(voices)), m_Saved(SetSpeechEngine(this)) {}
  ~TSpeechRecorder() override { SetSpeechEngine(m_Saved); }
  TState State() const override { return Current; }
  void Start() override {}
  QStringList VoiceLocales() const override { return Voices; }
  void Speak(const QString& text, const QString& locale, double rate) override {
    Spoken.append({text, locale, rate});
  }
  TState Current = ssReady;
  QStringList Voices;
  QList<TSpokenText> Spoken;

private:
  TSpeechEngine* m_Saved;
};

// While it lives, a message box or file dialog that no nearer fake answers, and any modal
// window that comes up, is answered (OK, Cancel, closed) and recorded; Verify() fails the test
// naming them. The speech service is a recorder too, so no test reaches the real one. Tests keep
// one for the whole run and call Verify() in cleanup().
class TUnexpectedModals : public QObject {
  Q_OBJECT
public:
  TUnexpectedModals();
  ~TUnexpectedModals() override;

  // What came up since the last call, and forgets it.
  QStringList Take();
  // Fails the current test when anything came up.
  void Verify();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QStringList m_Seen;
  TScopedSeam<TMessageBoxFunc> m_Boxes;
  TScopedSeam<TFileDialogFunction> m_Open;
  TScopedSeam<TFileDialogFunction> m_Save;
  TSpeechRecorder m_Speech;
};

// The action of window with that object name, or null.
QAction* FindAction(const QWidget* window, const QString& name);
// Triggers the action of window with that object name. False, with the reason in why, when
// there is no such action or it is disabled (as the user could not choose it either).
bool TriggerAction(QWidget* window, const QString& name, QString* why = nullptr);

// Triggers a command by name and fails the test, saying why, when that is not possible.
#define TRIGGER_ACTION(window, name)                                                          \
  do {                                                                                        \
    QString triggerFailure_;                                                                  \
    QVERIFY2(TriggerAction((window), (name), &triggerFailure_), qPrintable(triggerFailure_)); \
  } while (false)

// One help request as the help viewer got it.
struct THelpRequest {
  enum TKind { Topic, Contents, CloseAll, Popup } Kind;
  int Context = 0;
  QString Page;  // the topic's page, or the pop-up's text
  QPoint Pos;
};

// Stands in for the help window while it lives and records every request.
class THelpRecorder : public THelpViewer {
public:
  THelpRecorder() : m_Saved(SetHelpViewer(this)) {}
  ~THelpRecorder() override { SetHelpViewer(m_Saved); }
  THelpRecorder(const THelpRecorder&) = delete;
  THelpRecorder& operator=(const THelpRecorder&) = delete;

  void ShowTopic(int context, const QString& page) override {
    Requests.append({THelpRequest::Topic, context, page, {}});
  }
  void ShowContents() override { Requests.append({THelpRequest::Contents, 0, {}, {}}); }
  void CloseAll() override { Requests.append({THelpRequest::CloseAll, 0, {}, {}}); }
  void ShowPopup(int context, const QString& text, const QPoint& pos) override {
    Requests.append({THelpRequest::Popup, context, text, pos});
  }
  QList<THelpRequest> Requests;

private:
  THelpViewer* m_Saved;
};

// Records the addresses the program asks the desktop to open, instead of opening them.
class TUrlRecorder {
public:
  TUrlRecorder() : m_Seam(OpenUrlHandler, [this](const QUrl& url) { Urls.append(url); }) {}
  QList<QUrl> Urls;

private:
  TScopedSeam<std::function<void(const QUrl&)>> m_Seam;
};

// The texts of one entry: word/phrase, part of speech, notes, translations.
using TEntryTexts = std::array<std::string, 4>;
// Saves a German-English vocabulary of these entries at path, each with penaltyPoints (-1:
// learnt).
void WriteVocabulary(const QString& path, const std::vector<TEntryTexts>& entries,
                     int32_t penaltyPoints = 0);
