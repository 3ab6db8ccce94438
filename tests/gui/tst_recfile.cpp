// SPDX-License-Identifier: MIT
// Tests of the recent-file list and its menu items.
#include <QAction>
#include <QMenu>
#include <QtTest>

#include "settings/RecFile.h"

namespace {
QStringList Paths(int from, int to) {
  QStringList out;
  for (int n = from; n <= to; ++n) out << QString("/v/f%1.doz").arg(n);
  return out;
}
}  // namespace

class TestRecFile : public QObject {
  Q_OBJECT
private slots:
  void addPutsTheFileInFrontAndDropsTheOldest();
  void addMovesAFileInAnotherLetterCase();
  void appendKeepsTheStoredOrderAndRaisesTheMaximum();
  void mergeKeepsTheFilesAnotherCopyStored();
  void menuShowsTheFourNewest();
  void menuItemsReportTheirIndex();
};

void TestRecFile::addPutsTheFileInFrontAndDropsTheOldest() {
  TRecentFileList list(9);
  for (const QString& p : Paths(1, 9)) list.AddFile(p);
  QCOMPARE(list.Count(), 9);
  QCOMPARE(list.GetFile(0), QString("/v/f9.doz"));
  list.AddFile("/v/f10.doz");
  QCOMPARE(list.Count(), 9);
  QCOMPARE(list.GetFile(0), QString("/v/f10.doz"));
  QCOMPARE(list.GetFile(8), QString("/v/f2.doz"));  // f1, the oldest, went
  // Re-adding one already there moves it to the front and drops nothing.
  list.AddFile("/v/f5.doz");
  QCOMPARE(list.Count(), 9);
  QCOMPARE(list.GetFile(0), QString("/v/f5.doz"));
  QCOMPARE(list.GetFile(8), QString("/v/f2.doz"));
  QCOMPARE(list.Files().count("/v/f5.doz"), 1);
  list.AddFile("");
  QCOMPARE(list.Count(), 9);
}

void TestRecFile::addMovesAFileInAnotherLetterCase() {
  TRecentFileList list(4);
  list.AddFile("/v/Words.doz");
  list.AddFile("/v/other.doz");
  list.AddFile("/V/WORDS.DOZ");
  QCOMPARE(list.Files(), (QStringList{"/V/WORDS.DOZ", "/v/other.doz"}));
  list.AddFile("/v/ÄRGER.doz");
  list.AddFile("/v/ärger.doz");
  QCOMPARE(list.Files(), (QStringList{"/v/ärger.doz", "/V/WORDS.DOZ", "/v/other.doz"}));
}

void TestRecFile::appendKeepsTheStoredOrderAndRaisesTheMaximum() {
  TRecentFileList list(9);
  for (const QString& p : Paths(1, 12)) list.AppendFile(p);
  QCOMPARE(list.Files(), Paths(1, 12));
  QCOMPARE(list.MaxCount(), 12);
  // The raised maximum holds from then on: a new file drops only the oldest.
  list.AddFile("/v/new.doz");
  QCOMPARE(list.Count(), 12);
  QCOMPARE(list.GetFile(0), QString("/v/new.doz"));
  QCOMPARE(list.GetFile(11), QString("/v/f11.doz"));
}

// Two copies of the program: the one that stores last puts its own files first and keeps the
// other's behind them, within the maximum.
void TestRecFile::mergeKeepsTheFilesAnotherCopyStored() {
  auto listOf = [](const QStringList& files, int32_t max = 9) {
    TRecentFileList list(max);
    for (const QString& file : files) list.AppendFile(file);
    return list;
  };
  TRecentFileList mine = listOf({"/v/a.doz", "/v/b.doz"});
  mine.MergeStored(listOf({"/v/y.doz", "/v/a.doz", "/v/b.doz"}));
  QCOMPARE(mine.Files(), QStringList({"/v/y.doz", "/v/a.doz", "/v/b.doz"}));

  mine = listOf({"/v/a.doz", "/v/b.doz"});
  mine.AddFile("/v/x.doz");
  mine.AddFile("/v/B.doz");
  mine.MergeStored(listOf({"/v/y.doz", "/v/b.doz", "/v/a.doz"}));
  QCOMPARE(mine.Files(), QStringList({"/v/B.doz", "/v/x.doz", "/v/y.doz", "/v/a.doz"}));

  mine = listOf({}, 3);
  for (const char* file : {"/v/a.doz", "/v/x.doz", "/v/z.doz"}) mine.AddFile(file);
  mine.MergeStored(listOf({"/v/y.doz", "/v/w.doz"}, 3));
  QCOMPARE(mine.Files(), QStringList({"/v/z.doz", "/v/x.doz", "/v/a.doz"}));
  // A stored list longer than the maximum raised it; the merge keeps that maximum.
  mine = listOf({}, 2);
  mine.AddFile("/v/n.doz");
  mine.MergeStored(listOf(Paths(1, 4), 2));
  QCOMPARE(mine.Files(), QStringList({"/v/n.doz"}) + Paths(1, 3));
}

void TestRecFile::menuShowsTheFourNewest() {
  QMenu menu;
  QAction* exit = menu.addAction("E&xit");
  TRecentFileMenu recent(&menu, exit, {});
  const QFontMetrics metrics(menu.font());
  TRecentFileList list(9);
  recent.UpdateRecentMenu(list, metrics);
  for (int i = 0; i < 4; ++i) QVERIFY(!recent.Item(i)->isVisible());
  QVERIFY(!recent.Bar()->isVisible());

  list.AddFile("/v/a&b.doz");
  recent.UpdateRecentMenu(list, metrics);
  QVERIFY(recent.Item(0)->isVisible());
  QVERIFY(!recent.Item(1)->isVisible());
  QVERIFY(recent.Bar()->isVisible());
  QCOMPARE(recent.Item(0)->text(), QString("&1 /v/a&&b.doz"));

  for (const QString& p : Paths(1, 9)) list.AddFile(p);
  recent.UpdateRecentMenu(list, metrics);
  for (int i = 0; i < 4; ++i) {
    QVERIFY(recent.Item(i)->isVisible());
    QCOMPARE(recent.Item(i)->text(), QString("&%1 /v/f%2.doz").arg(i + 1).arg(9 - i));
  }
  // Found by their names, in menu order before Exit.
  const QList<QAction*> actions = menu.actions();
  QCOMPARE(actions.size(), 6);
  for (int i = 0; i < 4; ++i)
    QCOMPARE(actions[i]->objectName(), QString("miFileRecent%1").arg(i + 1));
  QCOMPARE(actions[4]->objectName(), QString("miFileRecentBar"));
  QVERIFY(actions[4]->isSeparator());
  QCOMPARE(actions[5], exit);

  // A long path is shortened to the menu width.
  TRecentFileList longList(9);
  longList.AddFile("/home/someone/Documents/Languages/Vocabulary/French/Chapter 12/words.doz");
  recent.UpdateRecentMenu(longList, metrics);
  const QString caption = recent.Item(0)->text();
  QVERIFY(caption.startsWith("&1 /.../"));
  QVERIFY(caption.endsWith("/words.doz"));
  QVERIFY(metrics.horizontalAdvance(caption.mid(3)) <= 200);
  QVERIFY(!recent.Item(1)->isVisible());
}

void TestRecFile::menuItemsReportTheirIndex() {
  QMenu menu;
  QList<int> clicked;
  TRecentFileMenu recent(&menu, nullptr, [&clicked](int index) { clicked << index; });
  recent.Item(2)->trigger();
  recent.Item(0)->trigger();
  QCOMPARE(clicked, (QList<int>{2, 0}));
  QCOMPARE(recent.Item(3)->data().toInt(), 3);
  QCOMPARE(menu.findChild<QAction*>("miFileRecent4"), recent.Item(3));
}

QTEST_MAIN(TestRecFile)
#include "tst_recfile.moc"
