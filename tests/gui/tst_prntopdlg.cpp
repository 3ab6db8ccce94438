// SPDX-License-Identifier: MIT
// Tests of the print options dialog: what it shows, the copy count rules, and what OK, Cancel,
// Setup and Change write.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QtTest>

#include "GuiTestSupport.h"
#include "dialogs/PrntOpDlg.h"
#include "print/Printer.h"

class TestPrintOptionsDialog : public QObject {
  Q_OBJECT
private slots:
  void cleanup() { m_Unexpected.Verify(); }

  void showsPrinterFontAndOptions();
  void copiesMustBeOneTo999AndAbove100Confirmed();
  void okWritesTheChoicesAndCancelNothing();
  void fontAndPrinterChangesStayAfterCancel();

private:
  TUnexpectedModals m_Unexpected;
  // No test asks the system's print queues.
  TScopedSeam<std::function<QStringList()>> m_Printers{
      InstalledPrinters, [] {
        return QStringList{"Office", PdfPrinterName()};
      }};
};

void TestPrintOptionsDialog::showsPrinterFontAndOptions() {
  TPrinter printer;
  QCOMPARE(printer.Name(), QString("Office"));
  for (const uint8_t fields :
       {uint8_t(0), uint8_t(0x02), uint8_t(0x04), uint8_t(0x08), uint8_t(0x0E)}) {
    TPrintOptionsData data;
    data.Options = {fields == 0x02, fields == 0x04, fields};
    data.Font = {"Liberation Serif", 12};
    data.Printer = &printer;
    TPrintOptionsDialog dialog(nullptr, data);
    QCOMPARE(dialog.windowTitle(), QString("Print"));
    QCOMPARE(dialog.HelpTopic(), 3060);
    QCOMPARE(dialog.lblPrinter->text(), QString("Office"));
    QCOMPARE(dialog.lblFont->text(), QString("Liberation Serif, 12 pt"));
    QCOMPARE(dialog.chbTitle->isChecked(), fields == 0x02);
    QCOMPARE(dialog.chbPageNumbers->isChecked(), fields == 0x04);
    QCOMPARE(dialog.chbCategory->isChecked(), bool(fields & 0x02));
    QCOMPARE(dialog.chbNotes->isChecked(), bool(fields & 0x04));
    QCOMPARE(dialog.chbNative->isChecked(), bool(fields & 0x08));
  }
  // A copy count below 1 shows as 1; the field takes three digits and nothing else.
  printer.SetCopies(0);
  TPrintOptionsData data;
  data.Printer = &printer;
  TPrintOptionsDialog dialog(nullptr, data);
  QCOMPARE(dialog.edtCopies->text(), QString("1"));
  dialog.edtCopies->clear();
  QTest::keyClicks(dialog.edtCopies, "1a-2x345");
  QCOMPARE(dialog.edtCopies->text(), QString("123"));
}

void TestPrintOptionsDialog::copiesMustBeOneTo999AndAbove100Confirmed() {
  const QString question = "You have chosen to print a large number of copies. Are you sure?";
  const QString range = "Number must be between 1 and 999.";
  struct TCase {
    QString Copies;
    QList<int> Answers;
    QStringList Messages;
    bool Closes;
  };
  const TCase cases[] = {{"1", {}, {}, true},
                         {"100", {}, {}, true},
                         {"999", {kIdOk}, {question}, true},
                         {"101", {kIdOk}, {question}, true},
                         {"101", {kIdCancel}, {question}, false},
                         {"0", {}, {range}, false},
                         {"", {}, {range}, false}};
  for (const TCase& c : cases) {
    TPrinter printer;
    TPrintOptionsData data;
    data.Printer = &printer;
    data.Copies = 5;
    TPrintOptionsDialog dialog(nullptr, data);
    dialog.show();
    TMessageBoxes boxes(c.Answers);
    dialog.edtCopies->setText(c.Copies);
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    QCOMPARE(boxes.Messages(), c.Messages);
    if (!boxes.Shown.isEmpty()) {
      QCOMPARE(boxes.Shown[0].Style, c.Messages[0] == question ? kMbWarning : kMbError);
    }
    QCOMPARE(dialog.result() == QDialog::Accepted, c.Closes);
    QCOMPARE(data.Copies, c.Closes ? c.Copies.toInt() : 5);
  }
}

void TestPrintOptionsDialog::okWritesTheChoicesAndCancelNothing() {
  TPrinter printer;
  for (const bool ok : {true, false}) {
    TPrintOptionsData data;
    data.Printer = &printer;
    TPrintOptionsDialog dialog(nullptr, data);
    dialog.show();
    dialog.chbTitle->click();
    dialog.chbNotes->click();
    dialog.edtCopies->setText("3");
    QTest::mouseClick(ok ? dialog.btnOK : dialog.btnCancel, Qt::LeftButton);
    const TPrintOptions expected = ok ? TPrintOptions{false, true, 0x0A} : TPrintOptions{};
    QCOMPARE(data.Options, expected);
    QCOMPARE(data.Copies, ok ? 3 : 1);
    // The dialog leaves the printer's own count to the caller.
    QCOMPARE(printer.Copies(), 1);
  }
}

void TestPrintOptionsDialog::fontAndPrinterChangesStayAfterCancel() {
  TPrinter printer;
  TPrintOptionsData data;
  data.Font = {"Times New Roman", 10};
  data.Printer = &printer;
  QList<TFontSetting> offered;
  data.FontDialog = [&](TFontSetting& font) {
    offered << font;
    font = {"DejaVu Sans", 14};
    return true;
  };
  // Setup chooses the PDF file with four copies.
  TScopedSeam setup(PrinterSetupDialog, [](QWidget*, QPrinter& device) {
    device.setOutputFormat(QPrinter::PdfFormat);
    device.setCopyCount(4);
    return true;
  });
  TPrintOptionsDialog dialog(nullptr, data);
  dialog.show();
  dialog.btnFont->click();
  QCOMPARE(offered, (QList<TFontSetting>{{"Times New Roman", 10}}));
  QCOMPARE(dialog.lblFont->text(), QString("DejaVu Sans, 14 pt"));
  dialog.btnSetup->click();
  QCOMPARE(dialog.lblPrinter->text(), PdfPrinterName());
  QCOMPARE(dialog.edtCopies->text(), QString("4"));
  QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
  QCOMPARE(data.Font, (TFontSetting{"DejaVu Sans", 14}));
  QVERIFY(printer.IsPdf());
  QCOMPARE(printer.Copies(), 4);
  QCOMPARE(data.Options, TPrintOptions{});

  // A cancelled font or setup dialog changes nothing shown.
  data.FontDialog = [](TFontSetting& font) {
    font.Size = 99;
    return false;
  };
  TScopedSeam cancelled(PrinterSetupDialog, [](QWidget*, QPrinter&) { return false; });
  TPrintOptionsDialog again(nullptr, data);
  again.btnFont->click();
  again.btnSetup->click();
  QCOMPARE(again.lblFont->text(), QString("DejaVu Sans, 14 pt"));
  QCOMPARE(again.edtCopies->text(), QString("4"));
}

QTEST_MAIN(TestPrintOptionsDialog)
#include "tst_prntopdlg.moc"
