// SPDX-License-Identifier: MIT
// Tests of the item edit dialog.
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QtTest>
#include <optional>

#include "GuiTestSupport.h"
#include "controls/SblEdit.h"
#include "controls/SblFrm.h"
#include "dialogs/EditDlg.h"
#include "platform/DlgUtils.h"

namespace {
// A German-English vocabulary holding "Haus".
struct TVocab {
  TVocab() {
    v.SetForeignLangID(0x0407);
    v.SetNativeLangID(0x0409);
    v.EditItem().Values = {"Haus", "n", "", "house"};
    v.AddItem(2);
  }
  TVocabFile v;
};
}  // namespace

class TestEditDialog : public QObject {
  Q_OBJECT
private slots:
  void init() { m_Boxes.emplace(); }
  void cleanup() { m_Boxes.reset(); }

  void addTidiesTheTextsAndReadsTheMarker();
  void checksComeInOrderWithTheirFieldsFocused();
  void questionsOfTheEditingOptions();
  void duplicatesAreAskedOnlyWhenAdding();
  void editShowsTheMarkerAndAnUnchangedEditIsCancel();
  void fieldsCarryTheirLanguages();
  void cancelLeavesTheRecordAlone();
  void tabOrderAndHelp();
  void screenshot();

private:
  // Types the four texts and presses OK; true when the dialog accepted.
  bool Submit(TEditDialog& dialog, const QString& foreign, const QString& native,
              const QString& category = {}) {
    dialog.edtForeign->setText(foreign);
    dialog.edtCategory->setText(category);
    dialog.edtNative->setText(native);
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    return dialog.result() == QDialog::Accepted;
  }

  std::optional<TMessageBoxes> m_Boxes;
};

void TestEditDialog::addTidiesTheTextsAndReadsTheMarker() {
  TVocab vocab;
  TProgramOptions options;
  options.ConfirmDuplicates = false;
  struct Case {
    const char* typed;
    const char* stored;
    int32_t sortPos;
  } cases[] = {
      {"  the   house ", "the house", 0},
      {"the @house", "the house", 4},
      {"house@", "house", 0},
      {"a@b@c", "ab@c", 1},
      {"house @", "house", 0},
      {"@ house", "house", 0},
      {"the @ house", "the house", 4},
  };
  for (const Case& c : cases) {
    TEditData data;
    TEditDialog dialog(nullptr, data, vocab.v, options, QFont());
    QCOMPARE(dialog.windowTitle(), QString("Add"));
    QVERIFY(Submit(dialog, c.typed, "  a  house", " n "));
    QCOMPARE(data.Values[Foreign], std::string(c.stored));
    QCOMPARE(data.SortPos, c.sortPos);
    QCOMPARE(data.Values[Native], std::string("a house"));
    QCOMPARE(data.Values[Category], std::string("n"));
  }
  QVERIFY(m_Boxes->Messages().isEmpty());
}

void TestEditDialog::checksComeInOrderWithTheirFieldsFocused() {
  TVocab vocab;
  TProgramOptions options;
  struct Case {
    const char* foreign;
    const char* native;
    const char* message;
    const char* focused;
  } cases[] = {
      {"   ", "", "Enter a word or phrase.", "edtForeign"},
      {" @ ", "x", "Enter a word or phrase.", "edtForeign"},
      {"a (b (c))", "", "Invalid use of brackets.", "edtForeign"},
      {"a )b(", "x", "Invalid use of brackets.", "edtForeign"},
      {"a (b) (c)", " ", "Enter a translation.", "edtNative"},
      {"a (b) (c)", "x (y", "Invalid use of brackets.", "edtNative"},
  };
  for (const Case& c : cases) {
    TEditData data;
    data.Values[Foreign] = "unchanged";
    TEditDialog dialog(nullptr, data, vocab.v, options, QFont());
    dialog.show();
    m_Boxes->Shown.clear();
    QVERIFY(!Submit(dialog, c.foreign, c.native));
    QVERIFY(dialog.isVisible());
    QCOMPARE(m_Boxes->Messages(), QStringList{c.message});
    QCOMPARE(m_Boxes->Shown.last().Style, kMbError);
    QCOMPARE(QApplication::focusWidget() ? QApplication::focusWidget()->objectName()
                                         : dialog.focusWidget()->objectName(),
             QString(c.focused));
    auto* field = dialog.findChild<TSymbolEdit*>(c.focused);
    QCOMPARE(field->selectedText(), field->text());
    QCOMPARE(data.Values[Foreign], std::string("unchanged"));
  }
}

void TestEditDialog::questionsOfTheEditingOptions() {
  TVocab vocab;
  TProgramOptions options;
  options.ConfirmNoSort = true;
  options.ConfirmNoCategory = true;
  options.ConfirmDuplicates = false;
  TEditData data;
  TEditDialog dialog(nullptr, data, vocab.v, options, QFont());
  dialog.show();

  m_Boxes->Answer({kIdNo});
  QVERIFY(!Submit(dialog, "Baum", "tree"));
  QCOMPARE(m_Boxes->Messages().last(),
           QString("You have not specified  the sorting position. Sort this item by its initial "
                   "letter?"));
  QCOMPARE(m_Boxes->Shown.last().Style, kMbQuestion);
  QCOMPARE(dialog.edtForeign->text(), QString("Baum"));

  // Yes puts the marker in front; the part-of-speech question follows.
  m_Boxes->Answer({kIdYes, kIdNo});
  dialog.edtNative->setText("tree");
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  QCOMPARE(dialog.edtForeign->text(), QString("@Baum"));
  QCOMPARE(m_Boxes->Messages().last(),
           QString("You have not specified the part of speech. Leave field blank?"));
  QCOMPARE(dialog.focusWidget(), dialog.edtCategory);

  // The second OK goes straight past the sorting question.
  m_Boxes->Shown.clear();
  m_Boxes->Answer({kIdYes});
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  QCOMPARE(m_Boxes->Messages().size(), 1);
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(data.Values[Foreign], std::string("Baum"));
  QCOMPARE(data.SortPos, 0);
}

void TestEditDialog::duplicatesAreAskedOnlyWhenAdding() {
  TVocab vocab;
  TProgramOptions options;  // duplicates are checked by default
  {
    TEditData data;
    TEditDialog dialog(nullptr, data, vocab.v, options, QFont());
    QVERIFY(Submit(dialog, "house", "x"));
    QVERIFY(m_Boxes->Messages().isEmpty());
  }
  {
    TEditData data;
    TEditDialog dialog(nullptr, data, vocab.v, options, QFont());
    m_Boxes->Answer({kIdNo});
    QVERIFY(!Submit(dialog, "Haus", "x"));
    QCOMPARE(m_Boxes->Messages(), QStringList{"Word already exists. Add anyway?"});
    m_Boxes->Answer({kIdYes});
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }
  m_Boxes->Shown.clear();
  TEditData edit{false, {"Haus", "n", "", "house"}, 0};
  TEditDialog dialog(nullptr, edit, vocab.v, options, QFont());
  QVERIFY(Submit(dialog, "Haus", "home"));
  QVERIFY(m_Boxes->Messages().isEmpty());
}

void TestEditDialog::editShowsTheMarkerAndAnUnchangedEditIsCancel() {
  TVocab vocab;
  TProgramOptions options;
  TEditData data{false, {"the house", "n", "", "a (b"}, 4};
  TEditDialog dialog(nullptr, data, vocab.v, options, QFont());
  QCOMPARE(dialog.windowTitle(), QString("Edit"));
  QCOMPARE(dialog.edtForeign->text(), QString("the @house"));
  QCOMPARE(dialog.edtNative->text(), QString("a (b"));
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  // Nothing changed: Cancel, although the stored translation fails the bracket check.
  QCOMPARE(dialog.result(), int(QDialog::Rejected));
  QVERIFY(m_Boxes->Messages().isEmpty());

  // Changing only the notes of a word with a "@" of its own keeps the word as it was.
  TEditData own{false, {"ab@c", "", "", "x"}, 0};
  TEditDialog third(nullptr, own, vocab.v, options, QFont());
  QCOMPARE(third.edtForeign->text(), QString("@ab@c"));
  third.edtNotes->setText("note");
  QTest::mouseClick(third.btnOK, Qt::LeftButton);
  QCOMPARE(third.result(), int(QDialog::Accepted));
  QCOMPARE(own.Values[Foreign], std::string("ab@c"));
  QCOMPARE(own.SortPos, 0);

  options.ConfirmNoSort = true;
  TEditData first{false, {"house", "", "", "x"}, 0};
  TEditDialog second(nullptr, first, vocab.v, options, QFont());
  QCOMPARE(second.edtForeign->text(), QString("@house"));
}

void TestEditDialog::fieldsCarryTheirLanguages() {
  TVocabFile v;
  v.SetForeignLangID(0x0419);
  v.SetNativeLangID(0x0409);
  TProgramOptions options;
  options.SkipNotes = true;
  TEditData data;
  TEditDialog dialog(nullptr, data, v, options, QFont());
  QCOMPARE(dialog.edtForeign->Tag(), -1);
  QCOMPARE(dialog.edtNative->Tag(), -2);
  QCOMPARE(dialog.edtForeign->Language(), 0x0419);
  QCOMPARE(dialog.edtNotes->Language(), 0x0409);
  QVERIFY(dialog.edtForeign->font().bold());
  QVERIFY(dialog.edtCategory->font().italic());
  QVERIFY(!dialog.edtNative->font().italic());
  QCOMPARE(dialog.edtCategory->focusPolicy(), Qt::ClickFocus);
  QVERIFY(Submit(dialog, QString::fromUtf8("\u0434\u043e\u043c"), "house"));
  QCOMPARE(data.Values[Foreign], std::string("\xe4\xee\xec"));
}

void TestEditDialog::cancelLeavesTheRecordAlone() {
  TVocab vocab;
  TProgramOptions options;
  TEditData data{false, {"Haus", "n", "x", "house"}, 0};
  TEditDialog dialog(nullptr, data, vocab.v, options, QFont());
  dialog.show();
  dialog.edtForeign->setText("das @Haus");
  dialog.edtNative->setText("the house");
  QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Rejected));
  QCOMPARE(data.Values, (TFieldValues{"Haus", "n", "x", "house"}));
  QCOMPARE(data.SortPos, 0);
  QVERIFY(m_Boxes->Messages().isEmpty());
}

void TestEditDialog::tabOrderAndHelp() {
  TVocab vocab;
  for (const bool skip : {false, true}) {
    TProgramOptions options;
    options.SkipNotes = skip;
    TEditData data;
    TEditDialog dialog(nullptr, data, vocab.v, options, QFont());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.edtForeign->setFocus();
    QStringList order;
    for (int i = 0; i < 6; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      order << QApplication::focusWidget()->objectName();
    }
    const QStringList all{"edtCategory", "edtNotes", "edtNative", "btnOK", "btnCancel", "btnHelp"};
    const QStringList skipped{"edtNative", "btnOK",      "btnCancel",
                              "btnHelp",   "edtForeign", "edtNative"};
    QCOMPARE(order, skip ? skipped : all);

    QSignalSpy help(&dialog, &TEditDialog::helpRequested);
    QTest::mouseClick(dialog.btnHelp, Qt::LeftButton);
    QCOMPARE(help.size(), 1);
    QCOMPARE(help.first().first().toInt(), 3000);
    QVERIFY(dialog.isVisible());
  }
}

// Writes docs/screenshots/edit-dialog.png, the dialog alone, and edit-dialog-picker.png, with the
// symbol picker open, when DADEZIVU_SCREENSHOTS names the folder.
void TestEditDialog::screenshot() {
  const QString folder = qEnvironmentVariable("DADEZIVU_SCREENSHOTS");
  if (folder.isEmpty()) QSKIP("DADEZIVU_SCREENSHOTS not set");
  TVocab vocab;
  TProgramOptions options;
  TEditData data{false,
                 {"das M\xe4"
                  "dchen",
                  "n", "neuter", "girl"},
                 4};
  QFont font;
  font.setPointSize(10);
  TEditDialog dialog(nullptr, data, vocab.v, options, font);
  dialog.move(20, 20);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  dialog.edtForeign->setFocus();
  dialog.edtForeign->setCursorPosition(8);
  QVERIFY(dialog.grab().toImage().save(folder + "/edit-dialog.png", "PNG"));
  dialog.edtForeign->OpenPicker();
  QVERIFY(dialog.edtForeign->PickerOpen());
  QWidget* picker = dialog.edtForeign->SymbolForm();
  for (int i = 0; i < 8; ++i) QTest::keyClick(dialog.edtForeign, Qt::Key_Down);
  const QPoint at = dialog.mapFromGlobal(picker->pos());
  const QRect area = QRect(QPoint(), dialog.size()).united(QRect(at, picker->size()));
  QImage shot(area.size(), QImage::Format_ARGB32);
  shot.fill(dialog.palette().color(QPalette::Window));
  QPainter painter(&shot);
  dialog.render(&painter, -area.topLeft());
  picker->render(&painter, at - area.topLeft());
  painter.end();
  QVERIFY(shot.save(folder + "/edit-dialog-picker.png", "PNG"));
}

QTEST_MAIN(TestEditDialog)
#include "tst_editdlg.moc"
