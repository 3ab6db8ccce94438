// SPDX-License-Identifier: MIT
// The maker's web site and address, and handing addresses to the browser or mail program.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

// The maker's home page ("https://.../") and e-mail address, set when the program is built.
QString MakerHomePage();
QString MakerEmail();
// The page of vocabulary files to download, on the maker's site.
QUrl DownloadPageUrl();
// A new e-mail to the maker with the subject "Dadezivu".
QUrl FeedbackMailUrl();

// Asks the desktop to open url (a web page in the browser, a mailto: link in the mail program).
// A failure is not reported: there is nothing the user could do about it here.
void OpenUrl(const QUrl& url);
// The seam behind OpenUrl; tests replace it to record. The default is QDesktopServices::openUrl.
extern std::function<void(const QUrl& url)> OpenUrlHandler;
