// SPDX-License-Identifier: MIT
// Tests of the sort dialog.
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "dialogs/SortDlg.h"

namespace {
// On the indicator: a radio button only takes clicks on its indicator and its caption.
QPoint Indicator(const QWidget* button) {
  return QPoint(5, button->height() / 2);
}
}  // namespace

class TestSortDialog : public QObject {
  Q_OBJECT
private slots:
  void opensOnTheRememberedField();
  void okWritesTheCheckedFieldBack();
  void doubleClickStoresTheFieldAndStaysOpen();
};

void TestSortDialog::opensOnTheRememberedField() {
  // Values beyond the four fields count as word/phrase.
  const std::pair<uint8_t, const char*> cases[] = {{0, "rbForeign"}, {1, "rbCategory"},
                                                   {2, "rbNotes"},   {3, "rbNative"},
                                                   {4, "rbForeign"}, {255, "rbForeign"}};
  for (const auto& [field, name] : cases) {
    uint8_t sortField = field;
    TSortDialog dialog(nullptr, sortField);
    auto* checked = dialog.findChild<QRadioButton*>(name);
    QVERIFY(checked);
    QVERIFY2(checked->isChecked(), name);
    QCOMPARE(dialog.gbSort->property("tag").toInt(), checked->property("tag").toInt());
    QCOMPARE(sortField, field);  // nothing is written before OK
  }
}

void TestSortDialog::okWritesTheCheckedFieldBack() {
  uint8_t sortField = 0;
  TSortDialog dialog(nullptr, sortField);
  dialog.show();
  QRadioButton* const buttons[] = {dialog.rbForeign, dialog.rbCategory, dialog.rbNotes,
                                   dialog.rbNative};
  for (int field = 3; field >= 0; --field) {
    QTest::mouseClick(buttons[field], Qt::LeftButton, {}, Indicator(buttons[field]));
    QCOMPARE(dialog.gbSort->property("tag").toInt(), field);
  }
  QTest::mouseClick(dialog.rbNotes, Qt::LeftButton, {}, Indicator(dialog.rbNotes));
  QCOMPARE(sortField, uint8_t(0));
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(sortField, uint8_t(2));
}

void TestSortDialog::doubleClickStoresTheFieldAndStaysOpen() {
  uint8_t sortField = 0;
  TSortDialog dialog(nullptr, sortField);
  dialog.show();
  QTest::mouseDClick(dialog.rbNative, Qt::LeftButton, {}, Indicator(dialog.rbNative));
  QCOMPARE(sortField, uint8_t(3));
  QVERIFY(dialog.isVisible());
  QVERIFY(dialog.rbNative->isChecked());
  // A later choice is not stored until OK; Cancel keeps what the double-click stored, so the
  // tool-bar Sort uses it.
  QTest::mouseClick(dialog.rbCategory, Qt::LeftButton, {}, Indicator(dialog.rbCategory));
  QCOMPARE(sortField, uint8_t(3));
  QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Rejected));
  QCOMPARE(sortField, uint8_t(3));
}

QTEST_MAIN(TestSortDialog)
#include "tst_sortdlg.moc"
