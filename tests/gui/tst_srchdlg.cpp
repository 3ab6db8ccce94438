// SPDX-License-Identifier: MIT
// Tests of the Find window and Find Next.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <QPushButton>
#include <QScreen>
#include <QtTest>
#include "controls/SblEdit.h"

#include <array>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "GuiTestSupport.h"
#include "dialogs/SrchDlg.h"
#include "platform/DlgUtils.h"
#include "vocab/VocFile.h"

namespace {
std::unique_ptr<TVocabFile> MakeVocabulary(uint16_t foreign, uint16_t native,
                                           const std::vector<std::array<std::string, 4>>& rows) {
  auto v = std::make_unique<TVocabFile>();
  v->SetForeignLangID(foreign);
  v->SetNativeLangID(native);
  for (const auto& row : rows) {
    v->EditItem().Values = row;
    v->AddItem(2);
  }
  return v;
}

QString Wide(const char* utf8) {
  return QString::fromUtf8(utf8);
}
}  // namespace

class TestSearchDialog : public QObject {
  Q_OBJECT
private slots:
  void init();
  void cleanup();
  void controlRulesFollowTextAndMode();
  void showLoadsTheRequestAndFocusesTheText();
  void findNextStoresTheRequestWrapsAndReportsNotFound();
  void caseAccentsAndWholeWordComeFromTheBoxes();
  void fieldChangeKeepsOrEmptiesTheTextByCharacterSet();
  void arrowKeysInTheFieldListKeepTheFocusThere();
  void cancelOnlyHides();
  void failingFindNextIsReportedAndTheDialogGoesOn();
  void foundRowMovesTheDialogOffIt();

private:
  // A dialog wired as the main window wires it: Find Next searches m_Vocab and selects the row.
  std::unique_ptr<TSearchDialog> MakeDialog();
  void Show(TSearchDialog& dialog);

  std::optional<TMessageBoxes> m_Boxes;
  std::unique_ptr<TVocabFile> m_Vocab;
  TSearchData m_Data;
  std::function<QRect(int)> m_RowRect;
  std::unique_ptr<TSearchDialog> m_OwnDialog;
};

void TestSearchDialog::init() {
  m_Data = TSearchData();
  m_RowRect = nullptr;
  m_Boxes.emplace();
  m_Vocab = MakeVocabulary(0x0407, 0x0409,
                           {{"Haus", "n", "", "house"},
                            {"Baum", "n", "in the garden", "tree"},
                            {"h\xe4user", "n pl", "", "houses"},
                            {"HAUS", "n", "", "house (big)"},
                            {"Garten", "n", "", "household"},
                            {"Eis", "n", "", "ice cream"}});
}

void TestSearchDialog::cleanup() {
  m_OwnDialog.reset();
  m_Boxes.reset();
}

std::unique_ptr<TSearchDialog> TestSearchDialog::MakeDialog() {
  auto dialog = std::make_unique<TSearchDialog>(
      nullptr, m_Data,
      [this] {
        FindNextEntry(
            *m_Vocab, m_Data, m_OwnDialog.get(), [this](int row) { m_Vocab->SetItemIndex(row); },
            m_RowRect);
      },
      [this]() -> const TVocabFile* { return m_Vocab.get(); });
  return dialog;
}

void TestSearchDialog::Show(TSearchDialog& dialog) {
  dialog.show();
  dialog.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&dialog));
}

void TestSearchDialog::controlRulesFollowTextAndMode() {
  m_OwnDialog = MakeDialog();
  TSearchDialog& d = *m_OwnDialog;
  Show(d);
  struct TCase {
    const char* Text;
    int Mode;
    bool WordAllowed;
    bool FindAllowed;
  };
  const TCase cases[] = {
      {"house", smAnyPart, true, true},       {"ice cream", smAnyPart, false, true},
      {"can't", smStartOfField, false, true}, {"Haus2", smEndOfField, true, true},
      {"house", smWholeField, false, true},   {"", smAnyPart, true, false},
      {"", smWholeField, false, true},
  };
  for (const TCase& c : cases) {
    d.cbMode->setCurrentIndex(smAnyPart);
    d.edtFind->setText("word");
    d.chbMatchWord->setChecked(true);
    d.cbMode->setCurrentIndex(c.Mode);
    d.edtFind->clear();
    QTest::keyClicks(d.edtFind, c.Text);
    const QByteArray what = QByteArray(c.Text) + " mode " + QByteArray::number(c.Mode);
    QVERIFY2(d.chbMatchWord->isEnabled() == c.WordAllowed, what);
    // A disabled whole-word box is also cleared, so it cannot narrow the search unseen.
    QVERIFY2(d.chbMatchWord->isChecked() == c.WordAllowed, what);
    QVERIFY2(d.btnFind->isEnabled() == c.FindAllowed, what);
  }
}

void TestSearchDialog::showLoadsTheRequestAndFocusesTheText() {
  m_Data.Text = "tree";
  m_Data.Field = Native;
  m_Data.Mode = smEndOfField;
  m_Data.Options = sdMatchAccents | sdWholeWord;
  m_OwnDialog = MakeDialog();
  TSearchDialog& d = *m_OwnDialog;
  Show(d);
  QCOMPARE(d.cbField->currentIndex(), 3);
  QCOMPARE(d.edtFind->text(), QString("tree"));
  QCOMPARE(d.cbMode->currentIndex(), 2);
  QVERIFY(!d.chbMatchCase->isChecked());
  QVERIFY(d.chbMatchAccents->isChecked());
  QVERIFY(d.chbMatchWord->isChecked());
  QCOMPARE(d.edtFind->property("tag").toInt(), -2);
  QTRY_VERIFY(d.edtFind->hasFocus());
  QCOMPARE(d.edtFind->selectedText(), QString("tree"));

  // Edits not confirmed with Find Next are dropped: the next show loads the request again.
  d.edtFind->setText("garden");
  d.hide();
  Show(d);
  QCOMPARE(d.edtFind->text(), QString("tree"));
}

void TestSearchDialog::findNextStoresTheRequestWrapsAndReportsNotFound() {
  m_OwnDialog = MakeDialog();
  TSearchDialog& d = *m_OwnDialog;
  Show(d);
  m_Vocab->SetItemIndex(4);
  d.cbField->setCurrentIndex(Native);
  d.cbField->activated(Native);
  QTest::keyClicks(d.edtFind, "house");
  QTest::mouseClick(d.btnFind, Qt::LeftButton);
  QCOMPARE(m_Data.Text, std::string("house"));
  QCOMPARE(m_Data.Field, uint8_t(Native));
  QCOMPARE(m_Data.Mode, uint8_t(smAnyPart));
  QCOMPARE(m_Data.Options, uint8_t(0));
  // From after the current entry round the end: rows 0, 2, 3, then 4 (the current one) last.
  std::vector<int> found{m_Vocab->ItemIndex()};
  for (int i = 0; i < 3; ++i) {
    QTest::keyClick(d.edtFind, Qt::Key_Return);
    found.push_back(m_Vocab->ItemIndex());
  }
  QCOMPARE(found, (std::vector<int>{0, 2, 3, 4}));
  QVERIFY(m_Boxes->Shown.isEmpty());
  QTRY_VERIFY(d.edtFind->hasFocus());
  QCOMPARE(d.edtFind->selectedText(), QString("house"));

  // The only match is the current entry: nothing happens, no message.
  d.edtFind->setText("tree");
  m_Vocab->SetItemIndex(1);
  QTest::mouseClick(d.btnFind, Qt::LeftButton);
  QCOMPARE(m_Vocab->ItemIndex(), 1);
  QVERIFY(m_Boxes->Shown.isEmpty());

  d.edtFind->setText("garage");
  QTest::mouseClick(d.btnFind, Qt::LeftButton);
  QCOMPARE(m_Vocab->ItemIndex(), 1);
  QCOMPARE(m_Boxes->Shown.size(), 1);
  QCOMPARE(m_Boxes->Shown[0].Message, QString("Search text not found."));
  QCOMPARE(m_Boxes->Shown[0].Caption, QString("Find"));
  QCOMPARE(m_Boxes->Shown[0].Style, kMbNotice);

  // "Whole field" with no text finds the next entry whose field is empty.
  d.cbField->setCurrentIndex(Notes);
  d.cbField->activated(Notes);
  d.cbMode->setCurrentIndex(smWholeField);
  d.edtFind->clear();
  QVERIFY(d.btnFind->isEnabled());
  QTest::mouseClick(d.btnFind, Qt::LeftButton);
  QCOMPARE(m_Vocab->ItemIndex(), 2);
}

void TestSearchDialog::caseAccentsAndWholeWordComeFromTheBoxes() {
  m_OwnDialog = MakeDialog();
  TSearchDialog& d = *m_OwnDialog;
  Show(d);
  struct TCase {
    int Field;
    const char* Text;
    int Mode;
    bool MatchCase, MatchAccents, WholeWord;
    std::vector<int> Found;  // every row Find Next reaches, from row 0, in order
  };
  const std::vector<TCase> cases = {
      {Foreign, "Haus", smAnyPart, false, false, false, {2, 3, 0}},
      {Foreign, "Haus", smAnyPart, false, true, false, {3, 0}},
      {Foreign, "Haus", smAnyPart, true, false, false, {0}},
      {Foreign, "haus", smAnyPart, true, false, false, {2}},
      {Native, "house", smStartOfField, false, false, false, {2, 3, 4, 0}},
      {Native, "house", smStartOfField, false, false, true, {3, 0}},
      {Native, "house", smAnyPart, false, false, true, {3, 0}},
      {Native, "cream", smEndOfField, false, false, true, {5}},
  };
  for (const TCase& c : cases) {
    d.cbField->setCurrentIndex(c.Field);
    d.cbField->activated(c.Field);
    d.cbMode->setCurrentIndex(c.Mode);
    d.edtFind->setText(QString::fromLatin1(c.Text));
    d.chbMatchCase->setChecked(c.MatchCase);
    d.chbMatchAccents->setChecked(c.MatchAccents);
    d.chbMatchWord->setChecked(c.WholeWord);
    m_Vocab->SetItemIndex(0);
    std::vector<int> found;
    for (size_t i = 0; i < c.Found.size(); ++i) {
      QTest::mouseClick(d.btnFind, Qt::LeftButton);
      found.push_back(m_Vocab->ItemIndex());
    }
    QVERIFY2(found == c.Found, c.Text);
    QVERIFY(m_Boxes->Shown.isEmpty());
  }
}

void TestSearchDialog::fieldChangeKeepsOrEmptiesTheTextByCharacterSet() {
  // Russian words with English translations: the two fields use different character sets.
  m_Vocab = MakeVocabulary(0x0419, 0x0409, {{"\xe4\xee\xec", "", "", "house"}});
  m_Data.Text = "\xe4\xee\xec";
  m_OwnDialog = MakeDialog();
  TSearchDialog& d = *m_OwnDialog;
  Show(d);
  QCOMPARE(d.edtFind->text(), Wide("\u0434\u043e\u043c"));
  QCOMPARE(d.edtFind->property("tag").toInt(), -1);
  d.cbField->setCurrentIndex(Category);
  d.cbField->activated(Category);
  QVERIFY(d.edtFind->text().isEmpty());
  QCOMPARE(d.edtFind->property("tag").toInt(), -2);
  QVERIFY(!d.btnFind->isEnabled());
  // Between two fields of the native language the text stays.
  QTest::keyClicks(d.edtFind, "run");
  d.cbField->setCurrentIndex(Native);
  d.cbField->activated(Native);
  QCOMPARE(d.edtFind->text(), QString("run"));
  QTRY_VERIFY(d.edtFind->hasFocus());
  // The Cyrillic text is stored in its own code page.
  d.cbField->setCurrentIndex(Foreign);
  d.cbField->activated(Foreign);
  QVERIFY(d.edtFind->text().isEmpty());
  d.edtFind->setText(Wide("\u0434\u043e\u043c"));
  QTest::mouseClick(d.btnFind, Qt::LeftButton);
  QCOMPARE(m_Data.Text, std::string("\xe4\xee\xec"));
  QCOMPARE(m_Vocab->ItemIndex(), 0);
  QVERIFY(m_Boxes->Shown.isEmpty());

  // Languages sharing one character set keep the text across the change.
  m_Vocab = MakeVocabulary(0x0407, 0x0409, {{"Haus", "", "", "house"}});
  d.hide();
  m_Data.Text = "H\xe4user";
  Show(d);
  QCOMPARE(d.edtFind->text(), Wide("H\u00e4user"));
  d.cbField->setCurrentIndex(Native);
  d.cbField->activated(Native);
  QCOMPARE(d.edtFind->text(), Wide("H\u00e4user"));
}

void TestSearchDialog::arrowKeysInTheFieldListKeepTheFocusThere() {
  m_Vocab = MakeVocabulary(0x0419, 0x0409, {});
  m_Data.Text = "\xe4\xee\xec";
  m_OwnDialog = MakeDialog();
  TSearchDialog& d = *m_OwnDialog;
  Show(d);
  d.cbField->setFocus();
  QTRY_VERIFY(d.cbField->hasFocus());
  QTest::keyClick(d.cbField, Qt::Key_Down);
  QCOMPARE(d.cbField->currentIndex(), 1);
  // The field change ran (other character set: text emptied), the focus stayed.
  QVERIFY(d.edtFind->text().isEmpty());
  QCOMPARE(d.edtFind->property("tag").toInt(), -2);
  QVERIFY(d.cbField->hasFocus());
  QTest::keyClick(d.cbField, Qt::Key_Return);
  QTRY_VERIFY(d.edtFind->hasFocus());
  QVERIFY(d.isVisible());
  QCOMPARE(m_Data.Field, uint8_t(0));  // Enter there is no Find Next
}

void TestSearchDialog::cancelOnlyHides() {
  m_OwnDialog = MakeDialog();
  TSearchDialog& d = *m_OwnDialog;
  Show(d);
  d.edtFind->setText("tree");
  QTest::mouseClick(d.btnCancel, Qt::LeftButton);
  QVERIFY(!d.isVisible());
  QVERIFY(m_Data.Text.empty());
  Show(d);
  QTest::keyClick(&d, Qt::Key_Escape);
  QVERIFY(!d.isVisible());
}

void TestSearchDialog::failingFindNextIsReportedAndTheDialogGoesOn() {
  int calls = 0;
  TSearchDialog d(
      nullptr, m_Data,
      [&] {
        ++calls;
        throw std::runtime_error("Stream read error");
      },
      [this]() -> const TVocabFile* { return m_Vocab.get(); });
  Show(d);
  QTest::keyClicks(d.edtFind, "tree");
  QTest::mouseClick(d.btnFind, Qt::LeftButton);
  QCOMPARE(calls, 1);
  QCOMPARE(m_Boxes->Shown.size(), 1);
  QCOMPARE(m_Boxes->Shown[0].Message, QString("Stream read error"));
  QVERIFY(d.isVisible());
  QTRY_VERIFY(d.edtFind->hasFocus());
}

void TestSearchDialog::foundRowMovesTheDialogOffIt() {
  m_Data.Field = Native;
  m_OwnDialog = MakeDialog();
  TSearchDialog& d = *m_OwnDialog;
  Show(d);
  const QRect screen = d.screen()->geometry();
  const int rowHeight = 20;
  d.move(screen.left() + 50, screen.top() + screen.height() / 2 - d.frameGeometry().height() / 2);
  QTRY_COMPARE(d.frameGeometry().left(), screen.left() + 50);
  const QRect start = d.frameGeometry();
  int rowTop = 0;
  m_RowRect = [&](int) { return QRect(QPoint(start.left() + 10, rowTop), QSize(300, rowHeight)); };

  // Covered, row in the upper half: the dialog goes below the row and the row after it.
  rowTop = start.top() + 5;
  m_Vocab->SetItemIndex(0);
  d.edtFind->setText("tree");
  QTest::mouseClick(d.btnFind, Qt::LeftButton);
  QCOMPARE(m_Vocab->ItemIndex(), 1);
  QTRY_COMPARE(d.frameGeometry().top(), rowTop + 2 * rowHeight);
  QCOMPARE(d.frameGeometry().left(), start.left());

  // Covered, row in the lower half: the dialog ends above the row before it.
  const int moved = d.frameGeometry().top();
  rowTop = moved + d.frameGeometry().height() - 5;
  QVERIFY(2 * rowTop + rowHeight > 2 * screen.top() + screen.height());
  m_Vocab->SetItemIndex(0);
  QTest::mouseClick(d.btnFind, Qt::LeftButton);
  QTRY_COMPARE(d.frameGeometry().top(), rowTop - rowHeight - d.frameGeometry().height());

  // Not covered, even by the band: the dialog stays.
  const int before = d.frameGeometry().top();
  rowTop = before + d.frameGeometry().height() + rowHeight + 1;
  m_Vocab->SetItemIndex(0);
  QTest::mouseClick(d.btnFind, Qt::LeftButton);
  QCOMPARE(m_Vocab->ItemIndex(), 1);
  QTest::qWait(0);
  QCOMPARE(d.frameGeometry().top(), before);
}

QTEST_MAIN(TestSearchDialog)
#include "tst_srchdlg.moc"
