// SPDX-License-Identifier: MIT
// Tests of the start-up dialog and the start-up sequence.
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "dialogs/WelcDlg.h"

class TestWelcDlg : public QObject {
  Q_OBJECT
private slots:
  void showsBrowseAndEveryRecentFile();
  void okReportsTheChoice_data();
  void okReportsTheChoice();
  void clickingAFileChoosesOpen();
  void doubleClickActsAsOk();
  void cancelAndHelp();
  void showWelcomeRepeatsUntilAFileIsOpen();
};

namespace {
TRecentFileList NineFiles() {
  TRecentFileList list(9);
  for (int n = 9; n >= 1; --n) list.AddFile(QString("/home/me/words/list%1.doz").arg(n));
  return list;
}

// On the indicator: the button's wide row is not all clickable.
void ClickRadio(QRadioButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}
}  // namespace

void TestWelcDlg::showsBrowseAndEveryRecentFile() {
  TRecentFileList files = NineFiles();
  files.AddFile("/home/someone/with/a/very/long/path/to/some/folder/of/vocabulary/lists/and.doz");
  TWelcomeData data{files, false, {}};
  QWidget owner;
  TWelcomeDialog dialog(&owner, data);
  QCOMPARE(dialog.windowTitle(), QString("Welcome"));
  for (const char* name :
       {"imgNew", "rbNew", "imgOpen", "rbOpen", "lbFileName", "btnOK", "btnCancel", "btnHelp"})
    QVERIFY2(dialog.findChild<QWidget*>(name), name);
  QVERIFY(dialog.rbOpen->isChecked());
  QVERIFY(!dialog.rbNew->isChecked());
  QVERIFY(dialog.btnOK->isDefault());
  QVERIFY(!dialog.imgNew->pixmap().isNull());
  QCOMPARE(dialog.lbFileName->width(), 319);

  QCOMPARE(dialog.lbFileName->count(), 10);  // every file, not just four
  QCOMPARE(dialog.lbFileName->item(0)->text(), QString("Browse..."));
  QCOMPARE(dialog.lbFileName->currentRow(), 0);
  QCOMPARE(dialog.lbFileName->item(2)->text(), QString("/home/me/words/list1.doz"));
  QCOMPARE(dialog.lbFileName->item(9)->text(), QString("/home/me/words/list8.doz"));
  const QString shortened = dialog.lbFileName->item(1)->text();
  QVERIFY(shortened.startsWith("/.../"));
  QVERIFY(shortened.endsWith("/and.doz"));
  QVERIFY(QFontMetrics(dialog.lbFileName->font()).horizontalAdvance(shortened) < 319);
}

void TestWelcDlg::okReportsTheChoice_data() {
  QTest::addColumn<bool>("chooseNew");
  QTest::addColumn<int>("row");
  QTest::addColumn<bool>("openExisting");
  QTest::addColumn<QString>("fileName");
  QTest::newRow("browse") << false << 0 << true << QString();
  QTest::newRow("nothing selected") << false << -1 << true << QString();
  QTest::newRow("first recent") << false << 1 << true << QString("/home/me/words/list1.doz");
  QTest::newRow("last recent") << false << 9 << true << QString("/home/me/words/list9.doz");
  QTest::newRow("new") << true << 0 << false << QString();
}

void TestWelcDlg::okReportsTheChoice() {
  QFETCH(bool, chooseNew);
  QFETCH(int, row);
  QFETCH(bool, openExisting);
  QFETCH(QString, fileName);
  const TRecentFileList files = NineFiles();
  TWelcomeData data{files, !openExisting, "stale"};
  TWelcomeDialog dialog(nullptr, data);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  dialog.lbFileName->setCurrentRow(row);
  if (chooseNew) ClickRadio(dialog.rbNew);
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(data.OpenExisting, openExisting);
  QCOMPARE(data.FileName, fileName);
}

void TestWelcDlg::clickingAFileChoosesOpen() {
  const TRecentFileList files = NineFiles();
  TWelcomeData data{files, false, {}};
  TWelcomeDialog dialog(nullptr, data);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  ClickRadio(dialog.rbNew);
  QVERIFY(dialog.rbNew->isChecked());
  QListWidget* list = dialog.lbFileName;
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(3)).center());
  QVERIFY(dialog.rbOpen->isChecked());
  QCOMPARE(list->currentRow(), 3);
  QVERIFY(dialog.isVisible());
}

void TestWelcDlg::doubleClickActsAsOk() {
  const TRecentFileList files = NineFiles();
  {
    TWelcomeData data{files, false, {}};
    TWelcomeDialog dialog(nullptr, data);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QListWidget* list = dialog.lbFileName;
    const QPoint at = list->visualItemRect(list->item(2)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(data.OpenExisting);
    QCOMPARE(data.FileName, QString("/home/me/words/list2.doz"));
  }
  {
    TWelcomeData data{files, true, {}};
    TWelcomeDialog dialog(nullptr, data);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseDClick(dialog.rbNew, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!data.OpenExisting);
  }
}

void TestWelcDlg::cancelAndHelp() {
  const TRecentFileList files = NineFiles();
  TWelcomeData data{files, false, "kept"};
  TWelcomeDialog dialog(nullptr, data);
  QList<int> topics;
  connect(&dialog, &TWelcomeDialog::helpRequested, this, [&](int topic) { topics << topic; });
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  QTest::mouseClick(dialog.btnHelp, Qt::LeftButton);
  QCOMPARE(topics, QList<int>{3110});
  QVERIFY(dialog.isVisible());
  QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Rejected));
  QCOMPARE(data.FileName, QString("kept"));
}

// The sequence around the dialog, with the dialog answered by a script.
void TestWelcDlg::showWelcomeRepeatsUntilAFileIsOpen() {
  struct TAnswer {
    bool ok;
    bool openExisting;
    QString fileName;
  };
  struct TCase {
    const char* name;
    QList<TAnswer> answers;
    QStringList chosen;    // what the Open dialog gives, in turn ("" cancels)
    QStringList openable;  // paths that open
    bool newSucceeds;
    bool result;
    QStringList calls;
  };
  const QList<TCase> cases = {
      {"cancel", {{false, true, {}}}, {}, {}, false, false, {}},
      {"recent file", {{true, true, "/r.doz"}}, {}, {"/r.doz"}, false, true, {"open /r.doz"}},
      {"recent file fails, then cancel",
       {{true, true, "/bad.doz"}, {false, true, {}}},
       {},
       {},
       false,
       false,
       {"open /bad.doz"}},
      {"browse cancelled, then browse",
       {{true, true, {}}, {true, true, {}}},
       {"", "/b.doz"},
       {"/b.doz"},
       false,
       true,
       {"choose", "choose", "open /b.doz"}},
      {"new cancelled, then new",
       {{true, false, {}}, {true, false, {}}},
       {},
       {},
       true,
       true,
       {"new", "new"}},
  };
  for (const TCase& c : cases) {
    QStringList calls;
    int answer = 0, choice = 0, newCalls = 0;
    TWelcomeActions actions;
    actions.RunDialog = [&](TWelcomeData& data) {
      if (answer >= c.answers.size()) return false;  // guards against a loop that never ends
      const TAnswer& a = c.answers[answer++];
      data.OpenExisting = a.openExisting;
      data.FileName = a.fileName;
      return a.ok;
    };
    actions.NewFile = [&] {
      calls << "new";
      return c.newSucceeds && ++newCalls == 2;
    };
    actions.OpenFile = [&](const QString& path) {
      calls << "open " + path;
      return c.openable.contains(path);
    };
    actions.ChooseFileToOpen = [&] {
      calls << "choose";
      return c.chosen.value(choice++);
    };
    const TRecentFileList files(9);
    QCOMPARE(ShowWelcome(nullptr, files, actions), c.result);
    QCOMPARE(calls, c.calls);
    QVERIFY2(answer == c.answers.size(), c.name);
  }
}

QTEST_MAIN(TestWelcDlg)
#include "tst_welcdlg.moc"
