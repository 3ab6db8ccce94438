// SPDX-License-Identifier: MIT
// Finding the files the program ships: samples, sounds, the tip file and help.
#include "platform/DataFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString InstalledDataFolder() {
  return QStringLiteral(DADEZIVU_DATADIR);
}

QString FindDataFile(const QString& relative) {
  const QDir programFolder(QCoreApplication::applicationDirPath());
  // The installed tree the program belongs to comes before the configured folder, which may
  // hold another installed version.
  const QString candidates[] = {
      programFolder.filePath(relative),
      programFolder.filePath(QStringLiteral(DADEZIVU_DATADIR_FROM_BIN "/") + relative),
      QDir(InstalledDataFolder()).filePath(relative)};
  for (const QString& path : candidates) {
    if (QFileInfo::exists(path)) return QDir::cleanPath(path);
  }
  QString found =
      QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                             QStringLiteral("dadezivu/") + relative, QStandardPaths::LocateFile);
  if (found.isEmpty()) {
    found = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                   QStringLiteral("dadezivu/") + relative,
                                   QStandardPaths::LocateDirectory);
  }
  return found;
}
