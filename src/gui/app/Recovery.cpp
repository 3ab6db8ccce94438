// SPDX-License-Identifier: MIT
// The main window's recovery copies: when to write one, and the question whether to restore one.
#include "app/Recovery.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStandardPaths>

#include "platform/DlgUtils.h"

TRecovery::TRecovery(QObject* parent, std::function<const TVocabFile&()> vocab,
                     const QString& folder)
    : QObject(parent), m_Vocab(std::move(vocab)), m_Store(QFile::encodeName(folder).toStdString()) {
  m_Timer.setInterval(kIntervalMs);
  connect(&m_Timer, &QTimer::timeout, this, &TRecovery::WriteNow);
  m_Timer.start();
}

QString TRecovery::DefaultFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/recovery/";
}

void TRecovery::AnswerGiven() {
  if (++m_Answers < kAnswersPerCopy) return;
  m_Answers = 0;
  WriteNow();
}

void TRecovery::WriteNow() {
  const TVocabFile& vocab = m_Vocab();
  if (!vocab.Modified()) {
    if (m_Store.HasCopy()) Remove();
    return;
  }
  WriteCopy(vocab);
}

void TRecovery::WriteCopy(const TVocabFile& vocab) {
  std::string bytes;
  try {
    bytes = RecoveryBytes(vocab, m_LastSize + m_LastSize / 8);
  } catch (const std::exception&) {
    return;  // a text too long to save cannot be kept either; the save will say so
  }
  m_LastSize = bytes.size();
  // The same entries under another name are another copy.
  const size_t hash =
      std::hash<std::string>{}(bytes) ^ (std::hash<std::string>{}(vocab.FileName()) << 1);
  if (m_Store.HasCopy() && hash == m_LastHash) return;
  m_LastHash = hash;
  m_Store.Write(std::move(bytes), vocab.FileName());
}

void TRecovery::Remove() {
  m_Store.Remove();
  m_Answers = 0;
}

bool TRecovery::Ask(const TRecoveryCopy& copy, TVocabFile& into) {
  const QString title = FileTitle(QFile::decodeName(copy.OriginalPath.c_str()));
  const QDateTime time = QDateTime::fromSecsSinceEpoch(
      std::chrono::duration_cast<std::chrono::seconds>(copy.Time.time_since_epoch()).count());
  const QString question = tr("Unsaved changes to %1 were recovered from %2. Restore them?")
                               .arg(title, QLocale().toString(time, QLocale::ShortFormat));
  if (ShowMessageBox(question, QString(), kMbQuestion) != kIdYes) {
    TRecoveryStore::Delete(copy);
    return false;
  }
  try {
    TRecoveryStore::Restore(copy, into);
  } catch (const std::exception& e) {
    ShowMessageBox(QString::fromUtf8(e.what()), QString(), kMbStop);
    return false;
  }
  // The restored changes are this program's now: its own copy is on disk before the old one
  // goes, so a crash in between loses nothing.
  WriteCopy(into);
  if (m_Store.Flush()) TRecoveryStore::Delete(copy);
  return true;
}

bool TRecovery::OfferFor(const QString& path, TVocabFile& into) {
  for (const TRecoveryCopy& copy : m_Store.Orphans(QFile::encodeName(path).toStdString())) {
    if (IsNewerThanOriginal(copy) && Ask(copy, into)) return true;
  }
  return false;
}

bool TRecovery::OfferAny(TVocabFile& into) {
  for (const TRecoveryCopy& copy : m_Store.Orphans()) {
    if (IsNewerThanOriginal(copy) && Ask(copy, into)) return true;
  }
  return false;
}
