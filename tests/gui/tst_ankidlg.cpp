// SPDX-License-Identifier: MIT
// Tests of the Anki import dialog.
#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "GuiTestSupport.h"
#include "dialogs/AnkiDlg.h"
#include "vocab/VocFile.h"

class TestAnkiDialog : public QObject {
  Q_OBJECT
private slots:
  void showsEveryNoteTypeAndWritesTheMapsBackOnOk();
};

void TestAnkiDialog::showsEveryNoteTypeAndWritesTheMapsBackOnOk() {
  TAnkiMappingData data;
  data.NoteTypes = {{"Basic", {"Front", "Back"}, 3}, {"Vocab", {"Kanji", "Reading", "Meaning"}, 2}};
  data.Maps = {DefaultAnkiFieldMap(2), {-1, -1, Native}};
  TAnkiImportDialog dialog(nullptr, data);
  QCOMPARE(dialog.cbNoteType->itemText(1), QString("Vocab (2 notes)"));
  QCOMPARE(dialog.grdFields->item(1, 0)->text(), QString("Back"));
  QCOMPARE(dialog.FieldTarget(1)->currentText(), QString("Translations"));

  // Choices survive switching note types; OK insists on a word/phrase for each note type.
  dialog.FieldTarget(1)->setCurrentIndex(Notes);
  dialog.cbNoteType->setCurrentIndex(1);
  QCOMPARE(dialog.FieldTarget(0)->currentText(), QString("(not used)"));
  dialog.cbNoteType->setCurrentIndex(0);
  QCOMPARE(dialog.FieldTarget(1)->currentIndex(), int(Notes));
  {
    TMessageBoxes boxes;
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    QCOMPARE(
        boxes.Messages(),
        QStringList{"The field 'Word/phrase' must be included in the list of fields to import."});
  }
  QCOMPARE(dialog.result(), int(QDialog::Rejected));
  QCOMPARE(dialog.cbNoteType->currentIndex(), 1);
  QCOMPARE(data.Maps[0], DefaultAnkiFieldMap(2));  // nothing written before OK
  dialog.FieldTarget(0)->setCurrentIndex(Foreign);
  dialog.FieldTarget(1)->setCurrentIndex(Category);
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(data.Maps, (std::vector<TAnkiFieldMap>{{Foreign, Notes}, {Foreign, Category, Native}}));
}

QTEST_MAIN(TestAnkiDialog)
#include "tst_ankidlg.moc"
