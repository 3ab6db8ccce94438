// SPDX-License-Identifier: MIT
// Tests of the font dialog.
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "GuiTestSupport.h"
#include "dialogs/FontDlg.h"
#include "platform/DlgUtils.h"

class TestSelectFontDialog : public QObject {
  Q_OBJECT
private slots:
  void showsTheRecordAndPreviewsTheChoice();
  void okChecksTheSizeRange();
  void aMissingFaceShowsItsSubstitute();
  void eachFamilyIsListedOnce();
  void helpAsksForItsTopic();
};

void TestSelectFontDialog::showsTheRecordAndPreviewsTheChoice() {
  QVERIFY(!QFontDatabase::families().isEmpty());
  TFontSetting font;
  TSelectFontDialog probe(nullptr, font);
  QVERIFY(probe.cbFontName->count() > 0);
  font = {probe.cbFontName->itemText(0), 12};

  TSelectFontDialog dialog(nullptr, font);
  QCOMPARE(dialog.cbFontName->currentText(), font.Name);
  QCOMPARE(dialog.cbFontSize->currentText(), QString("12"));
  QVERIFY(dialog.btnOK->isEnabled());
  QCOMPARE(dialog.pnlPreview->text(), font.Name);
  QCOMPARE(dialog.pnlPreview->font().pointSize(), 12);
  QCOMPARE(dialog.cbFontSize->count(), 9);
}

void TestSelectFontDialog::okChecksTheSizeRange() {
  TFontSetting font;
  {
    TSelectFontDialog probe(nullptr, font);
    font = {probe.cbFontName->itemText(0), 10};
  }
  TMessageBoxes boxes;
  TSelectFontDialog dialog(nullptr, font);
  dialog.show();
  for (const char* bad : {"7", "25", ""}) {
    dialog.cbFontSize->setEditText(bad);
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    QCOMPARE(dialog.result(), 0);
    QVERIFY(dialog.isVisible());
  }
  QCOMPARE(boxes.Shown.size(), 3);
  QCOMPARE(boxes.Shown[0].Message, QString("Number must be between 8 and 24."));
  QCOMPARE(font.Size, 10);
  dialog.cbFontSize->setEditText("24");
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(font.Size, 24);
}

// A face that is not installed shows as the face the font system puts in its place; the
// record keeps the missing face until the user confirms another.
void TestSelectFontDialog::aMissingFaceShowsItsSubstitute() {
  const QString missing = "No Such Face 123";
  const QString substitute = TSelectFontDialog::FamilyName(QFontInfo(QFont(missing)).family());
  QVERIFY(TSelectFontDialog::FontFaces().contains(substitute));
  TFontSetting font{missing, 8};
  {
    TSelectFontDialog dialog(nullptr, font);
    QCOMPARE(dialog.cbFontName->currentText(), substitute);
    QVERIFY(dialog.btnOK->isEnabled());
    QCOMPARE(dialog.pnlPreview->text(), substitute);
    dialog.reject();
  }
  QCOMPARE(font.Name, missing);
  TSelectFontDialog dialog(nullptr, font);
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(font.Name, substitute);
}

// Families that several foundries supply are offered once, under their own name.
void TestSelectFontDialog::eachFamilyIsListedOnce() {
  QCOMPARE(TSelectFontDialog::FamilyName("C059 [urw]"), QString("C059"));
  QCOMPARE(TSelectFontDialog::FamilyName("C059 [UKWN]"), QString("C059"));
  QCOMPARE(TSelectFontDialog::FamilyName("DejaVu Sans"), QString("DejaVu Sans"));
  QCOMPARE(TSelectFontDialog::FamilyName("A [b] C"), QString("A [b] C"));
  const QStringList faces = TSelectFontDialog::FontFaces();
  QVERIFY(!faces.isEmpty());
  for (const QString& face : faces) {
    QVERIFY2(!face.endsWith(']'), qPrintable(face));
    QCOMPARE(faces.count(face), 1);
  }
}

void TestSelectFontDialog::helpAsksForItsTopic() {
  TFontSetting font{"No Such Face 123", 8};
  TSelectFontDialog dialog(nullptr, font);
  QVERIFY(dialog.btnHelp);
  QCOMPARE(dialog.btnHelp->text(), QString("&Help"));
  QSignalSpy help(&dialog, &TDialog::helpRequested);
  QTest::mouseClick(dialog.btnHelp, Qt::LeftButton);
  QCOMPARE(help.size(), 1);
  QCOMPARE(help[0][0].toInt(), 3080);
  QCOMPARE(dialog.result(), 0);
}

QTEST_MAIN(TestSelectFontDialog)
#include "tst_fontdlg.moc"
