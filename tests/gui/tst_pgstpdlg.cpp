// SPDX-License-Identifier: MIT
// Tests of the page setup dialog: units, rounding, range checks, columns and the miniature.
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "GuiTestSupport.h"
#include "dialogs/PgStpDlg.h"

namespace {
// Runs the dialog on setup with the margins typed as given, presses OK and reports whether it
// closed.
bool TypeMarginsAndConfirm(TPageSetupDialog& dialog, const QStringList& margins) {
  QLineEdit* const edits[] = {dialog.edtLeft, dialog.edtRight, dialog.edtTop, dialog.edtBottom};
  for (int i = 0; i < 4; ++i) edits[i]->setText(margins[i]);
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  return dialog.result() == QDialog::Accepted;
}

bool IsInk(const QImage& image, int x, int y) {
  return image.pixelColor(x, y).lightness() < 128;
}
}  // namespace

class TestPageSetupDialog : public QObject {
  Q_OBJECT
private slots:
  void cleanup() { m_Unexpected.Verify(); }

  void unitFollowsTheMeasurementSystem();
  void marginsAreStoredInTwipsRoundedHalfUp();
  void badMarginsKeepTheDialogOpenOnTheFirstOne();
  void columnsChooseTheSeparatorsState();
  void cancelChangesNothing();
  void previewShowsColumnsAndSeparators();

private:
  TUnexpectedModals m_Unexpected;
};

void TestPageSetupDialog::unitFollowsTheMeasurementSystem() {
  struct TCase {
    QLocale::MeasurementSystem System;
    QString Caption;
    int TwipsPerUnit;
    QString Margin;  // of 1440 twips
  };
  const TCase cases[] = {{QLocale::MetricSystem, " Margins (cm): ", 567, "2.54"},
                         {QLocale::ImperialUSSystem, " Margins (inches): ", 1440, "1.00"},
                         {QLocale::ImperialUKSystem, " Margins (cm): ", 567, "2.54"}};
  for (const TCase& c : cases) {
    TScopedSeam seam(MeasurementSystemHandler, [&c] { return c.System; });
    TPageSetup setup;
    setup.MarginRight = 0;
    TPageSetupDialog dialog(nullptr, setup);
    QCOMPARE(dialog.gbMargins->title(), c.Caption);
    QCOMPARE(dialog.TwipsPerUnit(), c.TwipsPerUnit);
    QCOMPARE(dialog.edtLeft->text(), c.Margin);
    QCOMPARE(dialog.edtRight->text(), QString("0.00"));
    QCOMPARE(dialog.edtLeft->maxLength(), 5);
    QCOMPARE(dialog.windowTitle(), QString("Page Setup"));
    QCOMPARE(dialog.HelpTopic(), 3050);
  }
}

void TestPageSetupDialog::marginsAreStoredInTwipsRoundedHalfUp() {
  struct TCase {
    QLocale::MeasurementSystem System;
    QString Margin;
    int32_t Twips;
  };
  const TCase cases[] = {
      {QLocale::MetricSystem, "2.5", 1418},  // 1417.5 rounds up
      {QLocale::MetricSystem, "2.54", 1440},    {QLocale::MetricSystem, "0", 0},
      {QLocale::MetricSystem, "99", 56133},     {QLocale::ImperialUSSystem, "1", 1440},
      {QLocale::ImperialUSSystem, "0.001", 1},  // 1.44 twips
      {QLocale::ImperialUSSystem, "99", 142560}};
  for (const TCase& c : cases) {
    TScopedSeam seam(MeasurementSystemHandler, [&c] { return c.System; });
    TPageSetup setup;
    setup.Reserved = {1, 2, 3};
    TPageSetupDialog dialog(nullptr, setup);
    QVERIFY2(TypeMarginsAndConfirm(dialog, {c.Margin, "1", "2", "3"}), qPrintable(c.Margin));
    QCOMPARE(setup.MarginLeft, c.Twips);
    const int unit = dialog.TwipsPerUnit();
    QCOMPARE(setup.MarginRight, unit);
    QCOMPARE(setup.MarginTop, 2 * unit);
    QCOMPARE(setup.MarginBottom, 3 * unit);
    // What the dialog does not edit stays as read.
    QCOMPARE(setup.Reserved, (std::array<uint8_t, 3>{1, 2, 3}));
  }
}

void TestPageSetupDialog::badMarginsKeepTheDialogOpenOnTheFirstOne() {
  TScopedSeam seam(MeasurementSystemHandler, [] { return QLocale::MetricSystem; });
  const QString range = "Number must be between 0 and 99.";
  struct TCase {
    QStringList Margins;
    const char* Offending;
  };
  const TCase cases[] = {{{"99.5", "1", "1", "1"}, "edtLeft"},
                         {{"1", "-1", "1", "1"}, "edtRight"},
                         {{"1", "1", "x", "-5"}, "edtTop"},
                         {{"1", "1", "1", ""}, "edtBottom"}};
  for (const TCase& c : cases) {
    const TPageSetup before;
    TPageSetup setup;
    TPageSetupDialog dialog(nullptr, setup);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    TMessageBoxes boxes;
    QVERIFY(!TypeMarginsAndConfirm(dialog, c.Margins));
    QVERIFY(dialog.isVisible());
    QCOMPARE(boxes.Messages(), QStringList{range});
    QCOMPARE(boxes.Shown[0].Style, kMbError);
    auto* offending = dialog.findChild<QLineEdit*>(c.Offending);
    QVERIFY(offending);
    QCOMPARE(QApplication::focusWidget(), offending);
    QCOMPARE(offending->selectedText(), offending->text());
    QCOMPARE(setup, before);
  }
}

void TestPageSetupDialog::columnsChooseTheSeparatorsState() {
  struct TCase {
    int32_t Columns;
    const char* Checked;
    int32_t Saved;
  };
  // Counts outside 1..3 open as one column and are saved as 1.
  const TCase cases[] = {{0, "rbOneCol", 1},    {1, "rbOneCol", 1}, {2, "rbTwoCols", 2},
                         {3, "rbThreeCols", 3}, {4, "rbOneCol", 1}, {-7, "rbOneCol", 1}};
  for (const TCase& c : cases) {
    TPageSetup setup;
    setup.Columns = c.Columns;
    TPageSetupDialog dialog(nullptr, setup);
    auto* checked = dialog.findChild<QRadioButton*>(c.Checked);
    QVERIFY(checked && checked->isChecked());
    QCOMPARE(dialog.chbSeparator->isEnabled(), c.Saved > 1);
    QVERIFY(dialog.chbSeparator->isChecked());
    QVERIFY(TypeMarginsAndConfirm(dialog, {"1", "1", "1", "1"}));
    QCOMPARE(setup.Columns, c.Saved);
  }

  // One column disables the separator box but keeps its state, which OK stores.
  TPageSetup setup;
  setup.Separator = false;
  TPageSetupDialog dialog(nullptr, setup);
  dialog.show();
  QVERIFY(dialog.chbSeparator->isEnabled());
  dialog.chbSeparator->click();
  dialog.rbOneCol->click();
  QVERIFY(!dialog.chbSeparator->isEnabled());
  QVERIFY(dialog.chbSeparator->isChecked());
  dialog.rbThreeCols->click();
  QVERIFY(dialog.chbSeparator->isEnabled());
  dialog.rbOneCol->click();
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  QCOMPARE(setup.Columns, 1);
  QCOMPARE(setup.Separator, true);
}

void TestPageSetupDialog::cancelChangesNothing() {
  TPageSetup setup;
  setup.Columns = 3;
  const TPageSetup before = setup;
  TPageSetupDialog dialog(nullptr, setup);
  dialog.show();
  dialog.edtLeft->setText("7");
  dialog.rbOneCol->click();
  dialog.chbSeparator->click();
  QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Rejected));
  QCOMPARE(setup, before);
}

void TestPageSetupDialog::previewShowsColumnsAndSeparators() {
  TPageSetup setup;
  TPageSetupDialog dialog(nullptr, setup);
  dialog.show();
  QCOMPARE(dialog.pbPreview->size(), QSize(49, 57));
  // The frame is 6..42 by 6..50; two columns with separator: gap 5, E = 42, so the columns
  // run 6..21 and 27..42 and the separator stands at x = 24.
  QImage image = dialog.pbPreview->grab().toImage();
  QVERIFY(IsInk(image, 6, 6) && IsInk(image, 21, 6) && IsInk(image, 27, 50));
  QVERIFY(!IsInk(image, 22, 6) && !IsInk(image, 26, 6) && !IsInk(image, 43, 6));
  QVERIFY(!IsInk(image, 10, 7) && !IsInk(image, 10, 51) && !IsInk(image, 5, 6));
  QVERIFY(IsInk(image, 24, 6) && IsInk(image, 24, 7) && IsInk(image, 24, 50));
  QVERIFY(!IsInk(image, 24, 5) && !IsInk(image, 24, 51) && !IsInk(image, 23, 7));

  // Without the separator the gap is 3, E = 40: columns 6..22 and 26..42, nothing between.
  dialog.chbSeparator->click();
  image = dialog.pbPreview->grab().toImage();
  QVERIFY(IsInk(image, 22, 6) && !IsInk(image, 23, 6) && IsInk(image, 26, 6));
  for (int x = 23; x < 26; ++x) QVERIFY(!IsInk(image, x, 6) && !IsInk(image, x, 7));

  // One column: every line spans the frame.
  dialog.rbOneCol->click();
  image = dialog.pbPreview->grab().toImage();
  QVERIFY(IsInk(image, 6, 8) && IsInk(image, 24, 8) && IsInk(image, 42, 8));
  QVERIFY(!IsInk(image, 24, 7));
}

QTEST_MAIN(TestPageSetupDialog)
#include "tst_pgstpdlg.moc"
