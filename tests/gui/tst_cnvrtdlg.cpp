// SPDX-License-Identifier: MIT
// Tests of the text import dialog.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

#include "GuiTestSupport.h"
#include "dialogs/CnvrtDlg.h"
#include "platform/DlgUtils.h"
#include "vocab/VocFile.h"

namespace {
QStringList Texts(const QListWidget* list) {
  QStringList texts;
  for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
  return texts;
}

QString Selected(const QListWidget* list) {
  const QList<QListWidgetItem*> items = list->selectedItems();
  return items.isEmpty() ? QString() : items.first()->text();
}

void ClickItem(QListWidget* list, const QString& text) {
  const QList<QListWidgetItem*> items = list->findItems(text, Qt::MatchExactly);
  QVERIFY2(items.size() == 1, qPrintable(text));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(items.first()).center());
}

void DoubleClickItem(QListWidget* list, const QString& text) {
  const QList<QListWidgetItem*> items = list->findItems(text, Qt::MatchExactly);
  QVERIFY2(items.size() == 1, qPrintable(text));
  const QPoint at = list->visualItemRect(items.first()).center();
  // A double-click begins with a click, as the mouse delivers it.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}
}  // namespace

class TestConvertDialog : public QObject {
  Q_OBJECT
private slots:
  void init();
  void cleanup();
  void startsWithThePresetTypeAndAllFieldsAvailable();
  void addAndRemoveMoveFieldsAndKeepASelection();
  void startLineMustBeANumberFrom1To32767();
  void wordPhraseMustBeImported();
  void okFillsTheRequestInTheOrderOfTheList();
  void cancelLeavesTheRequest();
  void theFilledRequestImportsTheFile();

private:
  std::optional<TMessageBoxes> m_Boxes;
};

void TestConvertDialog::init() {
  m_Boxes.emplace();
}

void TestConvertDialog::cleanup() {
  m_Boxes.reset();
}

void TestConvertDialog::startsWithThePresetTypeAndAllFieldsAvailable() {
  const std::pair<uint8_t, int> presets[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3},
                                             {4, 4}, {5, 5}, {6, 0}, {255, 0}};
  for (const auto& [type, index] : presets) {
    TImportRequest request;
    request.TextType = type;
    TConvertDialog dialog(nullptr, request);
    QCOMPARE(dialog.cbFormat->currentIndex(), index);
  }
  TImportRequest request;
  TConvertDialog dialog(nullptr, request);
  QCOMPARE(dialog.windowTitle(), QString("Convert Text File"));
  QCOMPARE(dialog.cbFormat->count(), 6);
  QCOMPARE(dialog.cbFormat->itemText(3), QString("Unicode Text (Tab-delimited)"));
  QCOMPARE(dialog.cbFormat->itemText(4), QString("Comma delimited UTF-8"));
  QCOMPARE(dialog.cbFormat->itemText(5), QString("Tab delimited UTF-8"));
  QCOMPARE(dialog.edtStartFrom->text(), QString("1"));
  QCOMPARE(dialog.edtStartFrom->maxLength(), 3);
  QCOMPARE(Texts(dialog.lbAvailable),
           (QStringList{"Word/phrase", "Part of speech", "Notes", "Translations"}));
  QCOMPARE(dialog.lbSelected->count(), 0);
  QVERIFY(!dialog.btnAdd->isEnabled());
  QVERIFY(!dialog.btnRemove->isEnabled());
}

void TestConvertDialog::addAndRemoveMoveFieldsAndKeepASelection() {
  TImportRequest request;
  TConvertDialog dialog(nullptr, request);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));

  ClickItem(dialog.lbAvailable, "Part of speech");
  QVERIFY(dialog.btnAdd->isEnabled());
  QTest::mouseClick(dialog.btnAdd, Qt::LeftButton);
  QCOMPARE(Texts(dialog.lbSelected), QStringList{"Part of speech"});
  // The field that moved up into its place is selected.
  QCOMPARE(Selected(dialog.lbAvailable), QString("Notes"));
  QVERIFY(!dialog.btnRemove->isEnabled());

  ClickItem(dialog.lbAvailable, "Translations");
  QTest::mouseClick(dialog.btnAdd, Qt::LeftButton);
  // The last one moved: the new last one is selected.
  QCOMPARE(Selected(dialog.lbAvailable), QString("Notes"));
  DoubleClickItem(dialog.lbAvailable, "Word/phrase");
  QCOMPARE(Texts(dialog.lbSelected),
           (QStringList{"Part of speech", "Translations", "Word/phrase"}));
  QCOMPARE(Texts(dialog.lbAvailable), QStringList{"Notes"});
  QVERIFY(dialog.btnAdd->isEnabled());
  QTest::mouseClick(dialog.btnAdd, Qt::LeftButton);
  QCOMPARE(dialog.lbAvailable->count(), 0);
  QVERIFY(!dialog.btnAdd->isEnabled());

  ClickItem(dialog.lbSelected, "Part of speech");
  QVERIFY(dialog.btnRemove->isEnabled());
  DoubleClickItem(dialog.lbSelected, "Translations");
  QCOMPARE(Texts(dialog.lbAvailable), QStringList{"Translations"});
  QCOMPARE(Texts(dialog.lbSelected), (QStringList{"Part of speech", "Word/phrase", "Notes"}));
  QCOMPARE(Selected(dialog.lbSelected), QString("Word/phrase"));
  for (int i = 0; i < 3; ++i) QTest::mouseClick(dialog.btnRemove, Qt::LeftButton);
  QCOMPARE(Texts(dialog.lbAvailable),
           (QStringList{"Translations", "Word/phrase", "Notes", "Part of speech"}));
  QVERIFY(!dialog.btnRemove->isEnabled());
  // Fields coming back do not enable A&dd by themselves: a click chooses one.
  QVERIFY(!dialog.btnAdd->isEnabled());
  ClickItem(dialog.lbAvailable, "Notes");
  QVERIFY(dialog.btnAdd->isEnabled());
}

void TestConvertDialog::startLineMustBeANumberFrom1To32767() {
  const std::pair<const char*, bool> cases[] = {{"", false},   {"0", false},  {" ", false},
                                                {"-1", false}, {"1x", false}, {"1", true},
                                                {"2", true},   {"999", true}};
  for (const auto& [text, valid] : cases) {
    m_Boxes->Shown.clear();
    TImportRequest request;
    TConvertDialog dialog(nullptr, request);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    ClickItem(dialog.lbAvailable, "Word/phrase");
    QTest::mouseClick(dialog.btnAdd, Qt::LeftButton);
    dialog.edtStartFrom->setText(QString::fromLatin1(text));
    dialog.btnOK->setFocus();
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    QVERIFY2(dialog.isVisible() == !valid, text);
    if (valid) {
      QVERIFY(m_Boxes->Shown.isEmpty());
      QCOMPARE(request.FirstLine, QString::fromLatin1(text).toInt());
      continue;
    }
    QCOMPARE(m_Boxes->Shown.size(), 1);
    QCOMPARE(m_Boxes->Shown[0].Message, QString("Number must be between 1 and 32767."));
    QCOMPARE(m_Boxes->Shown[0].Style, kMbError);
    QTRY_VERIFY(dialog.edtStartFrom->hasFocus());
    QCOMPARE(dialog.edtStartFrom->selectedText(), dialog.edtStartFrom->text());
    QCOMPARE(request.FirstLine, 1);
  }
}

void TestConvertDialog::wordPhraseMustBeImported() {
  TImportRequest request;
  TConvertDialog dialog(nullptr, request);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  for (int round = 0; round < 2; ++round) {
    // Nothing chosen at all, then every field but the word/phrase.
    if (round == 1) {
      for (const char* field : {"Translations", "Notes", "Part of speech"}) {
        DoubleClickItem(dialog.lbAvailable, field);
      }
    }
    m_Boxes->Shown.clear();
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QCOMPARE(m_Boxes->Shown.size(), 1);
    QCOMPARE(m_Boxes->Shown[0].Message,
             QString("The field 'Word/phrase' must be included in the list of fields to import."));
    QCOMPARE(m_Boxes->Shown[0].Style, kMbError);
    // The missing field is offered, ready to add.
    QCOMPARE(Selected(dialog.lbAvailable), QString("Word/phrase"));
    QVERIFY(dialog.btnAdd->isEnabled());
  }
  QCOMPARE(request.ColumnMap, (std::array<int32_t, 4>{0, 0, 0, 0}));
  QTest::mouseClick(dialog.btnAdd, Qt::LeftButton);
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(request.ColumnMap, (std::array<int32_t, 4>{4, 3, 2, 1}));
}

void TestConvertDialog::okFillsTheRequestInTheOrderOfTheList() {
  TImportRequest request;
  request.TextType = ttTabText;
  request.ColumnMap = {7, 7, 7, 7};
  TConvertDialog dialog(nullptr, request);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  for (const char* field : {"Translations", "Word/phrase", "Notes"}) {
    DoubleClickItem(dialog.lbAvailable, field);
  }
  dialog.cbFormat->setCurrentIndex(ttUnicodeCommaText);
  dialog.edtStartFrom->clear();
  QTest::keyClicks(dialog.edtStartFrom, "12x3");  // digits only
  QCOMPARE(dialog.edtStartFrom->text(), QString("123"));
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(request.TextType, uint8_t(ttUnicodeCommaText));
  QCOMPARE(request.FirstLine, 123);
  // Part of speech is not imported; the others come from columns 2, 3 and 1.
  QCOMPARE(request.ColumnMap, (std::array<int32_t, 4>{2, 0, 3, 1}));
}

void TestConvertDialog::cancelLeavesTheRequest() {
  TImportRequest request;
  request.TextType = ttUnicodeTabText;
  request.FirstLine = 5;
  request.ColumnMap = {1, 2, 3, 4};
  TConvertDialog dialog(nullptr, request);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  DoubleClickItem(dialog.lbAvailable, "Word/phrase");
  dialog.cbFormat->setCurrentIndex(0);
  dialog.edtStartFrom->setText("2");
  QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Rejected));
  QCOMPARE(request.TextType, uint8_t(ttUnicodeTabText));
  QCOMPARE(request.FirstLine, 5);
  QCOMPARE(request.ColumnMap, (std::array<int32_t, 4>{1, 2, 3, 4}));
}

void TestConvertDialog::theFilledRequestImportsTheFile() {
  // A heading line, then translation and word in that order, tab-delimited; a line without a
  // word is skipped.
  QTemporaryDir dir;
  const QString path = dir.filePath("words.txt");
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write("English\tGerman\r\nhouse\tHaus\r\ntree\tBaum\r\nnothing\t\r\n");
  file.close();
  const std::string bytes = path.toStdString();

  TImportRequest request;
  request.TextType = DetectTextType(bytes);
  TConvertDialog dialog(nullptr, request);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  QCOMPARE(dialog.cbFormat->currentText(), QString("Text (Tab-delimited)"));
  DoubleClickItem(dialog.lbAvailable, "Translations");
  DoubleClickItem(dialog.lbAvailable, "Word/phrase");
  dialog.edtStartFrom->setText("2");
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Accepted));

  TVocabFile vocab;
  vocab.SetForeignLangID(0x0407);
  vocab.SetNativeLangID(0x0409);
  QCOMPARE(vocab.ImportText(bytes, request.TextType, request.ColumnMap, request.FirstLine), 2);
  QCOMPARE(vocab.GetItem(0).Values[Foreign], std::string("Haus"));
  QCOMPARE(vocab.GetItem(0).Values[Native], std::string("house"));
  QCOMPARE(vocab.GetItem(1).Values[Foreign], std::string("Baum"));
}

QTEST_MAIN(TestConvertDialog)
#include "tst_cnvrtdlg.moc"
