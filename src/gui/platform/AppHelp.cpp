// SPDX-License-Identifier: MIT
// The help router, the table of topic pages and the pop-up texts.
#include "platform/AppHelp.h"

#include <QFile>
#include <QMap>
#include <QUrl>

#include "platform/DataFiles.h"
#include "platform/HelpWindow.h"

namespace {

// Every topic number and its page. Menu items share a page per menu, one section each.
const std::pair<int, const char*> kTopicPages[] = {
    {2000, "file.html#new"},
    {2001, "file.html#open"},
    {2002, "file.html#import"},
    {2003, "file.html#save"},
    {2004, "file.html#saveas"},
    {2005, "file.html#properties"},
    {2006, "file.html#print"},
    {2007, "file.html#pagesetup"},
    {2008, "file.html#recent"},
    {2009, "file.html#exit"},
    {2100, "edit.html#undo"},
    {2101, "edit.html#redo"},
    {2102, "edit.html#cut"},
    {2103, "edit.html#copy"},
    {2104, "edit.html#paste"},
    {2105, "edit.html#add"},
    {2106, "edit.html#edit"},
    {2107, "edit.html#delete"},
    {2108, "edit.html#moveup"},
    {2109, "edit.html#movedown"},
    {2110, "edit.html#sort"},
    {2111, "edit.html#shuffle"},
    {2112, "edit.html#find"},
    {2113, "edit.html#findnext"},
    {2200, "test.html#start"},
    {2201, "test.html#native"},
    {2202, "test.html#foreign"},
    {2203, "test.html#choice"},
    {2204, "test.html#hint"},
    {2205, "test.html#statistics"},
    {2206, "test.html#speak"},
    {2207, "test.html#speakanswer"},
    {2208, "test.html#clearhistory"},
    {2209, "test.html#exporthistory"},
    {2210, "test.html#iwasright"},
    {2300, "view.html#toolbar"},
    {2301, "view.html#statusbar"},
    {2302, "view.html#font"},
    {2303, "view.html#options"},
    {3000, "dlg-edit.html"},
    {3010, "dlg-import.html"},
    {3020, "dlg-find.html"},
    {3041, "dlg-options.html#general"},
    {3042, "dlg-options.html#question"},
    {3043, "dlg-options.html#evaluation"},
    {3044, "dlg-options.html#feedback"},
    {3045, "dlg-options.html#speech"},
    {3050, "dlg-pagesetup.html"},
    {3060, "dlg-printoptions.html"},
    {3071, "dlg-properties.html#general"},
    {3072, "dlg-properties.html#summary"},
    {3080, "dlg-font.html"},
    {3090, "dlg-sort.html"},
    {3101, "dlg-statistics.html#progress"},
    {3102, "dlg-statistics.html#success"},
    {3103, "dlg-statistics.html#history"},
    {3110, "dlg-welcome.html"},
};

THelpViewer* g_Viewer = nullptr;
QPoint g_PopupPos;

THelpViewer& DefaultViewer() {
  static THelpWindowViewer viewer;
  return viewer;
}

// "number<tab>text" per line; lines starting with '#' are remarks.
const QMap<int, QString>& PopupTexts() {
  static const QMap<int, QString> texts = [] {
    QMap<int, QString> result;
    QFile file(QStringLiteral(":/help/popups.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return result;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString& line : lines) {
      if (line.startsWith(u'#')) continue;
      const qsizetype tab = line.indexOf(u'\t');
      if (tab <= 0) continue;
      bool ok = false;
      const int number = line.left(tab).toInt(&ok);
      if (ok) result.insert(number, line.mid(tab + 1).trimmed());
    }
    return result;
  }();
  return texts;
}

}  // namespace

THelpViewer& HelpViewer() {
  return g_Viewer ? *g_Viewer : DefaultViewer();
}

THelpViewer* SetHelpViewer(THelpViewer* viewer) {
  return std::exchange(g_Viewer, viewer);
}

bool AppHelp(unsigned command, intptr_t data, bool& passOn) {
  passOn = false;
  switch (command) {
    case kHelpContext:
      if (data != 0) {
        const QString page = HelpTopicPage(static_cast<int>(data));
        if (!page.isEmpty()) HelpViewer().ShowTopic(static_cast<int>(data), page);
      }
      break;
    case kHelpQuit:
      HelpViewer().CloseAll();
      break;
    case kHelpContents:
      HelpViewer().ShowContents();
      break;
    case kHelpSetPopupPos:
      g_PopupPos = QPoint(static_cast<int16_t>(data & 0xFFFF),
                          static_cast<int16_t>((static_cast<uintptr_t>(data) >> 16) & 0xFFFF));
      break;
    case kHelpContextPopup: {
      const QString text = HelpPopupText(static_cast<int>(data));
      if (!text.isEmpty()) HelpViewer().ShowPopup(static_cast<int>(data), text, g_PopupPos);
      break;
    }
    default:
      break;
  }
  return true;
}

void AppHelp(unsigned command, intptr_t data) {
  bool passOn = false;
  AppHelp(command, data, passOn);
}

void ShowHelpPopup(int context, const QPoint& pos) {
  const auto x = static_cast<uint16_t>(pos.x()), y = static_cast<uint16_t>(pos.y());
  AppHelp(kHelpSetPopupPos, static_cast<intptr_t>(x | (static_cast<uint32_t>(y) << 16)));
  AppHelp(kHelpContextPopup, context);
}

QString HelpTopicPage(int context) {
  for (const auto& [number, page] : kTopicPages) {
    if (number == context) return QString::fromLatin1(page);
  }
  return {};
}

QString HelpPopupText(int context) {
  return PopupTexts().value(context);
}

QList<int> HelpTopicNumbers() {
  QList<int> numbers;
  for (const auto& entry : kTopicPages) numbers.append(entry.first);
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

QString HelpCollectionFile() {
  return FindDataFile(QStringLiteral("help/dadezivu.qhc"));
}

QUrl HelpPageUrl(const QString& page) {
  return QUrl(QStringLiteral("qthelp://org.dadezivu.help/doc/") + page);
}
