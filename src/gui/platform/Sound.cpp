// SPDX-License-Identifier: MIT
// Playing a feedback sound by file name, through Qt Multimedia.
#include "platform/Sound.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

TSoundPlayer SoundPlayer;

namespace {
// One effect for the whole program: a new sound replaces the one still playing, as the answers
// follow each other faster than the sounds end.
QSoundEffect* Effect() {
  static QPointer<QSoundEffect> effect;
  if (!effect) effect = new QSoundEffect(QCoreApplication::instance());
  return effect;
}
}  // namespace

void PlaySoundFile(const QString& path) {
  if (path.isEmpty()) return;
  if (SoundPlayer) {
    SoundPlayer(path);
    return;
  }
  // Loading is asynchronous; a file that fails to load leaves the effect in its error state,
  // which is silent.
  if (!QFileInfo(path).isFile() || !QCoreApplication::instance()) return;
  QSoundEffect* effect = Effect();
  const QUrl source = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
  if (effect->source() != source) {
    effect->stop();
    effect->setSource(source);
  }
  effect->play();
}
