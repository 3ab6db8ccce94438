// SPDX-License-Identifier: MIT
// Tests of the properties dialog.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "dialogs/PropsDlg.h"
#include "text/Languages.h"

class TestPropertiesDialog : public QObject {
  Q_OBJECT
private slots:
  void newVariantOffersEveryLanguageOnTheSummaryPage();
  void existingVocabularyOffersOnlyItsCodePage();
  void okReturnsTrimmedTextsAndTheChosenLanguages();
  void cancelChangesNothing();
  void generalPageDescribesTheFile();
  void sizeTexts();
  void helpTopicFollowsThePage();
};

void TestPropertiesDialog::newVariantOffersEveryLanguageOnTheSummaryPage() {
  TPropertiesData data;
  data.IsNew = true;
  data.ForeignLangID = 0x0419;
  data.NativeLangID = 0x0409;
  TPropertiesDialog dialog(nullptr, data);
  QCOMPARE(dialog.pcProperties->count(), 1);
  QCOMPARE(dialog.pcProperties->currentWidget(), dialog.tsSummary);
  QCOMPARE(dialog.cbForeign->count(), kLanguageCount);
  QCOMPARE(dialog.cbNative->count(), kLanguageCount);
  QCOMPARE(dialog.cbForeign->currentText(), QString("Russian"));
  QVERIFY(dialog.btnOK->isEnabled());
  // Sorted by name.
  for (int i = 1; i < dialog.cbForeign->count(); ++i) {
    QVERIFY(dialog.cbForeign->itemText(i - 1) <= dialog.cbForeign->itemText(i));
  }

  // Languages not in the table: nothing selected, OK waits for a choice.
  TPropertiesData unknown;
  unknown.IsNew = true;
  unknown.ForeignLangID = 0x0470;
  TPropertiesDialog second(nullptr, unknown);
  QVERIFY(!second.btnOK->isEnabled());
  second.cbForeign->setCurrentIndex(0);
  QVERIFY(!second.btnOK->isEnabled());
  second.cbNative->setCurrentIndex(0);
  QVERIFY(second.btnOK->isEnabled());
}

void TestPropertiesDialog::existingVocabularyOffersOnlyItsCodePage() {
  TPropertiesData data;
  data.ForeignLangID = 0x0419;  // Russian, 1251
  data.NativeLangID = 0x0408;   // Greek, 1253
  TPropertiesDialog dialog(nullptr, data);
  QCOMPARE(dialog.pcProperties->count(), 2);
  QCOMPARE(dialog.cbForeign->count(), 6);
  for (int i = 0; i < dialog.cbForeign->count(); ++i) {
    const auto id = static_cast<uint16_t>(dialog.cbForeign->itemData(i).toUInt());
    QCOMPARE(FindLanguage(id).CodePage, 1251);
  }
  QCOMPARE(dialog.cbNative->count(), 1);
}

void TestPropertiesDialog::okReturnsTrimmedTextsAndTheChosenLanguages() {
  TPropertiesData data;
  data.ForeignLangID = 0x0407;
  data.NativeLangID = 0x0409;
  data.Description = "old";
  TPropertiesDialog dialog(nullptr, data);
  QCOMPARE(dialog.edtDescription->text(), QString("old"));
  dialog.edtDescription->setText("  Animals \t");
  dialog.edtAuthor->setText(QString::fromUtf8(" Jos\u00e9 "));
  dialog.memComments->setPlainText("\nline one\nline two\n\n");
  dialog.cbForeign->setCurrentIndex(dialog.cbForeign->findText("French (Swiss)"));
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(data.ForeignLangID, 0x100C);
  QCOMPARE(data.Description, std::string("Animals"));
  QCOMPARE(data.Author, std::string("Jos\xe9"));
  QCOMPARE(data.Comments, std::string("line one\nline two"));
}

void TestPropertiesDialog::cancelChangesNothing() {
  TPropertiesData data;
  data.ForeignLangID = 0x0407;
  data.NativeLangID = 0x0409;
  data.Comments = "keep";
  TPropertiesDialog dialog(nullptr, data);
  dialog.show();
  dialog.memComments->setPlainText("changed");
  dialog.memComments->setFocus();
  QTest::keyClick(dialog.memComments, Qt::Key_Escape);
  QCOMPARE(dialog.result(), int(QDialog::Rejected));
  QCOMPARE(data.Comments, std::string("keep"));
}

void TestPropertiesDialog::generalPageDescribesTheFile() {
  TPropertiesData untitled;
  untitled.NativeLangID = 0x0409;
  TPropertiesDialog first(nullptr, untitled);
  QCOMPARE(first.stDocumentTitle->text(), QString("Untitled"));
  QVERIFY(first.stLocation->text().isEmpty());
  QVERIFY(first.stSize->text().isEmpty());

  QTemporaryDir dir;
  const QString path = dir.filePath("words.doz");
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(QByteArray(2560, 'x'));
  file.close();
  TPropertiesData data;
  data.FileName = path;
  TPropertiesDialog dialog(nullptr, data);
  QCOMPARE(dialog.stDocumentTitle->text(), QString("words.doz"));
  QCOMPARE(dialog.stLocation->text(), QDir::toNativeSeparators(dir.path()));
  QCOMPARE(dialog.stSize->text(), QString("2.50KB (2560 bytes)"));
  QVERIFY(!dialog.stModified->text().isEmpty());
  QVERIFY(!dialog.chbReadOnly->isChecked());
  QVERIFY(!dialog.chbReadOnly->isEnabled());
}

void TestPropertiesDialog::sizeTexts() {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  QCOMPARE(TPropertiesDialog::SizeText(1023), QString("1023 bytes"));
  QCOMPARE(TPropertiesDialog::SizeText(1024), QString("1.00KB (1024 bytes)"));
  QCOMPARE(TPropertiesDialog::SizeText(5 * 1024 * 1024), QString("5,120.00KB (5242880 bytes)"));
}

// General is topic 3071, Summary 3072, also in the New variant that shows Summary alone.
void TestPropertiesDialog::helpTopicFollowsThePage() {
  const auto askHelp = [](TPropertiesDialog& dialog) {
    QSignalSpy help(&dialog, &TDialog::helpRequested);
    QTest::mouseClick(dialog.btnHelp, Qt::LeftButton);
    return help.size() == 1 ? help[0][0].toInt() : -help.size();
  };
  TPropertiesData data;
  data.NativeLangID = 0x0409;
  TPropertiesDialog dialog(nullptr, data);
  dialog.show();
  QVERIFY(dialog.btnHelp->isVisible());
  QCOMPARE(dialog.btnHelp->text(), QString("&Help"));
  QCOMPARE(askHelp(dialog), 3072);
  dialog.pcProperties->setCurrentWidget(dialog.tsGeneral);
  QCOMPARE(askHelp(dialog), 3071);
  QVERIFY(dialog.isVisible());

  TPropertiesData fresh;
  fresh.IsNew = true;
  TPropertiesDialog newDialog(nullptr, fresh);
  QCOMPARE(askHelp(newDialog), 3072);
}

QTEST_MAIN(TestPropertiesDialog)
#include "tst_propsdlg.moc"
