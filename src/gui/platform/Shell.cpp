// SPDX-License-Identifier: MIT
// The maker's addresses and the desktop's URL opening behind a seam.
#include "platform/Shell.h"

#include <QDesktopServices>

std::function<void(const QUrl& url)> OpenUrlHandler = [](const QUrl& url) {
  QDesktopServices::openUrl(url);
};

QString MakerHomePage() {
  return QStringLiteral(DADEZIVU_HOMEPAGE);
}

QString MakerEmail() {
  return QStringLiteral(DADEZIVU_EMAIL);
}

QUrl DownloadPageUrl() {
  QString home = MakerHomePage();
  if (!home.endsWith(u'/')) home += u'/';
  return QUrl(home + QStringLiteral("sharevoc.htm"));
}

QUrl FeedbackMailUrl() {
  return QUrl(QStringLiteral("mailto:") + MakerEmail() + QStringLiteral("?Subject=Dadezivu"));
}

void OpenUrl(const QUrl& url) {
  if (OpenUrlHandler) OpenUrlHandler(url);
}
