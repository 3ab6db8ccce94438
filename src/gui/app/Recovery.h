// SPDX-License-Identifier: MIT
// The main window's recovery copies: when to write one, and the question whether to restore one.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstddef>
#include <functional>

#include "vocab/Recovery.h"
#include "vocab/VocFile.h"

class QWidget;

// Keeps a copy of the window's vocabulary while it is modified: at most every 30 seconds, and
// after every 20 answered questions. The copy is made in memory on the calling thread (about
// 6 ms at 100,000 entries) and written to disk on a thread of its own.
class TRecovery : public QObject {
  Q_OBJECT
public:
  static constexpr int kIntervalMs = 30 * 1000;
  static constexpr int kAnswersPerCopy = 20;

  // vocab gives the window's vocabulary of the moment (the window replaces it on Open and New).
  TRecovery(QObject* parent, std::function<const TVocabFile&()> vocab,
            const QString& folder = DefaultFolder());
  // The user's data folder + "/recovery/".
  static QString DefaultFolder();

  // The test run calls this after each answer.
  void AnswerGiven();
  // Writes a copy now when the vocabulary is modified and differs from the last copy; removes
  // the copy when it is no longer modified.
  void WriteNow();
  // After a successful save, or when the user discarded the changes.
  void Remove();

  // Before path is opened: when a program that no longer runs left a copy of it that is newer
  // than the file, asks whether to restore it. Yes loads the copy into into and returns true;
  // No deletes the copy.
  bool OfferFor(const QString& path, TVocabFile& into);
  // At start-up without a file to open: asks about each copy left behind, newest first, until
  // one is restored into into (true).
  bool OfferAny(TVocabFile& into);

  TRecoveryStore& Store() { return m_Store; }
  void SetInterval(int milliseconds) { m_Timer.setInterval(milliseconds); }

private:
  bool Ask(const TRecoveryCopy& copy, TVocabFile& into);
  void WriteCopy(const TVocabFile& vocab);

  std::function<const TVocabFile&()> m_Vocab;
  TRecoveryStore m_Store;
  QTimer m_Timer;
  int m_Answers = 0;
  size_t m_LastHash = 0;
  size_t m_LastSize = 0;
};
