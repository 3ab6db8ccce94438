// SPDX-License-Identifier: MIT
// Tests of the file dialogs: the type's extension, through the real (non-native) Save dialog.
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "platform/FileDialogs.h"

namespace {
const QString kSaveAsFilter =
    "Dadezivu File (*.doz)|*.doz|Rich Text Format (*.rtf)|*.rtf|Text (Comma-delimited) "
    "(*.txt)|*.txt|Web Page (*.htm)|*.htm|All Files (*.*)|*.*";
}  // namespace

class TestFileDialogs : public QObject {
  Q_OBJECT
private slots:
  void initTestCase() { QApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }
  void aNameWithoutExtensionGetsTheTypes();
  void realSaveDialogAsksAboutTheFileOfTheChosenType_data();
  void realSaveDialogAsksAboutTheFileOfTheChosenType();
};

void TestFileDialogs::aNameWithoutExtensionGetsTheTypes() {
  QCOMPARE(FilterExtension(kSaveAsFilter, 1), QString("doz"));
  QCOMPARE(FilterExtension(kSaveAsFilter, 2), QString("rtf"));
  QCOMPARE(FilterExtension(kSaveAsFilter, 4), QString("htm"));
  QCOMPARE(FilterExtension(kSaveAsFilter, 5), QString());  // *.*
  QCOMPARE(FilterExtension(kSaveAsFilter, 0), QString());
  QCOMPARE(FilterExtension(kSaveAsFilter, 6), QString());
  QCOMPARE(FilterExtension("Text Files (*.txt, *.csv)|*.txt;*.csv", 1), QString("txt"));

  QCOMPARE(WithTypeExtension("/d/mytest", kSaveAsFilter, 2, "doz"), QString("/d/mytest.rtf"));
  QCOMPARE(WithTypeExtension("/d/mytest", kSaveAsFilter, 1, "doz"), QString("/d/mytest.doz"));
  QCOMPARE(WithTypeExtension("/d/mytest", kSaveAsFilter, 5, "doz"), QString("/d/mytest.doz"));
  QCOMPARE(WithTypeExtension("/d.x/mytest", kSaveAsFilter, 3, "doz"), QString("/d.x/mytest.txt"));
  // A name the user gave an extension keeps it, whatever the type.
  QCOMPARE(WithTypeExtension("/d/mytest.doz", kSaveAsFilter, 2, "doz"), QString("/d/mytest.doz"));
  QCOMPARE(WithTypeExtension("/d/list.csv", kSaveAsFilter, 3, "doz"), QString("/d/list.csv"));
  QCOMPARE(WithTypeExtension("", kSaveAsFilter, 2, "doz"), QString());
}

void TestFileDialogs::realSaveDialogAsksAboutTheFileOfTheChosenType_data() {
  QTest::addColumn<int>("type");
  QTest::addColumn<QString>("chosen");
  QTest::addColumn<bool>("asked");
  QTest::newRow("vocabulary") << 1 << "mytest.doz" << true;
  QTest::newRow("rich text") << 2 << "mytest.rtf" << false;
  QTest::newRow("text") << 3 << "mytest.txt" << false;
}

// The user picks a type and keeps the proposed name: only a file of that type may be offered
// for replacing, and the answer names it.
void TestFileDialogs::realSaveDialogAsksAboutTheFileOfTheChosenType() {
  QFETCH(int, type);
  QFETCH(QString, chosen);
  QFETCH(bool, asked);
  QTemporaryDir dir;
  QFile existing(dir.filePath("mytest.doz"));
  QVERIFY(existing.open(QIODevice::WriteOnly));
  existing.close();

  TFileDialogRequest request;
  request.Filter = kSaveAsFilter;
  request.FilterIndex = 1;
  request.InitialDir = dir.path();
  request.FileName = "mytest";
  request.DefaultExt = "doz";
  const QStringList filters = QtNameFilters(kSaveAsFilter);
  QStringList questions;
  bool driven = false;
  QTimer driver;
  connect(&driver, &QTimer::timeout, this, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      questions << box->text();
      box->button(QMessageBox::Yes)->click();
    } else if (auto* dialog = qobject_cast<QFileDialog*>(modal); dialog && !driven) {
      driven = true;
      auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
      QVERIFY(name);
      dialog->selectNameFilter(filters[type - 1]);
      name->setText("mytest");
      QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    }
  });
  driver.start(10);
  QVERIFY(SaveFileDialog(nullptr, request));
  driver.stop();
  QVERIFY(driven);
  QCOMPARE(QFileInfo(request.FileName).fileName(), chosen);
  QCOMPARE(request.FilterIndex, type);
  QCOMPARE(questions.size(), asked ? 1 : 0);
  if (asked) QVERIFY2(questions[0].contains("mytest.doz"), qPrintable(questions[0]));
}

QTEST_MAIN(TestFileDialogs)
#include "tst_filedialogs.moc"
