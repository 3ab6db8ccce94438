// SPDX-License-Identifier: MIT
// Speaking text through the desktop's speech service.
#pragma once

#include <QString>
#include <QStringList>

// What the program needs of a speech service. Nothing here waits: the real engine asks the
// service in a thread of its own and answers from what it has learnt so far.
class TSpeechEngine {
public:
  enum TState {
    ssIdle,         // not asked yet
    ssStarting,     // asked, no answer yet
    ssReady,        // the service answered; VoiceLocales holds its voices
    ssUnavailable,  // no service, or it failed
  };
  virtual ~TSpeechEngine() = default;

  virtual TState State() const = 0;
  // Asks the service for its voices, once; returns at once.
  virtual void Start() = 0;
  // The locales of the installed voices ("de_DE"); empty until ready.
  virtual QStringList VoiceLocales() const = 0;
  // Starts the engine if needed and speaks text, cutting short what is being spoken, with the
  // voice ChooseVoice picks for locale, at rate -1 (slowest) .. 0 (normal) .. 1 (fastest).
  // Without a voice for locale, or without a service, nothing is heard and nothing reported.
  virtual void Speak(const QString& text, const QString& locale, double rate) = 0;
};

// The engine the program speaks with: the one set by SetSpeechEngine, else the real one, made
// at the first call (which does not start it yet).
TSpeechEngine& SpeechEngine();
// Puts engine in place of the real one (null: the real one again); returns the one before.
TSpeechEngine* SetSpeechEngine(TSpeechEngine* engine);

// Whether a field in locale can be spoken as far as is known: not when the service is
// unavailable or, once it answered, when it has no voice for the locale.
bool CanSpeak(const TSpeechEngine& engine, const QString& locale);
