// SPDX-License-Identifier: MIT
// Tests of the font dialog.
#include <QComboBox>
#include <QFontDatabase>
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
  void anUnknownFaceWaitsForAChoice();
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

void TestSelectFontDialog::anUnknownFaceWaitsForAChoice() {
  TFontSetting font{"No Such Face 123", 8};
  TSelectFontDialog dialog(nullptr, font);
  QCOMPARE(dialog.cbFontName->currentIndex(), -1);
  QVERIFY(!dialog.btnOK->isEnabled());
  dialog.cbFontName->setCurrentIndex(0);
  emit dialog.cbFontName->activated(0);
  QVERIFY(dialog.btnOK->isEnabled());
}

QTEST_MAIN(TestSelectFontDialog)
#include "tst_fontdlg.moc"
