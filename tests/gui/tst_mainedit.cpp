// SPDX-License-Identifier: MIT
#include <QAction>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>
#include <optional>

#include "GuiTestSupport.h"
#include "app/MainFrm.h"
#include "app/VocabGrid.h"
#include "dialogs/EditDlg.h"
#include "dialogs/SrchDlg.h"
#include "platform/DlgUtils.h"
#include "settings/RegUtils.h"
#include "vocab/Clipboard.h"

namespace {
// A clipboard of the test's own, so that tests neither see nor disturb the desktop's.
class TFakeClipboard : public TClipboard {
public:
  void PutBlock(const std::string& block) override { Block = block; }
  std::optional<std::string> GetBlock() const override { return Block; }
  bool HasBlock() const override { return Block.has_value(); }
  std::optional<std::string> Block;
};

struct TForm {
  QTemporaryDir settingsDir;
  TSettingsStore store{settingsDir.filePath("settings.ini")};
  TMainForm form{&store};
  TFakeClipboard* clipboard = nullptr;

  // A German-English list of the given words in the list view, the first one current.
  explicit TForm(const std::vector<std::string>& words) {
    auto fake = std::make_unique<TFakeClipboard>();
    clipboard = fake.get();
    form.Clipboard = std::move(fake);
    form.Vocab().SetForeignLangID(0x0407);
    form.Vocab().SetNativeLangID(0x0409);
    for (const auto& w : words) {
      form.Vocab().EditItem().Values = {w, "", "", w + "-en"};
      form.Vocab().AddItem(2);
    }
    form.Vocab().ClearJournal();
    form.Vocab().SetItemIndex(words.empty() ? -1 : 0);
    form.SetViewMode(vmList);
    form.UpdateCommands();
  }

  QString Words() const {
    QStringList out;
    for (const TVocabItem* e : form.Vocab().Items()) out << QString::fromStdString(e->Values[0]);
    return out.join(' ');
  }
  void Select(int row) {
    form.Vocab().SetItemIndex(row);
    form.dgVocab->RefreshList();
    form.UpdateCommands();
  }
};
}  // namespace

class TestMainEdit : public QObject {
  Q_OBJECT
private slots:
  // A message box no test answered would wait for ever; record it and fail instead.
  void cleanup() { m_Unexpected.Verify(); }

  void enabledStatesFollowTheView();
  void undoAndRedoCaptionsNameTheStep();
  void cutThenEnterElsewhereMovesInOneStep();
  void cutAndPasteOnTheSameRowOnlyClearsTheMark();
  void copyAndPasteGoThroughTheClipboard();
  void deleteAndMove();
  void shuffleIsOneStep();
  void toolTipsNameTheShortcut();
  void sortUsesTheChosenFieldAndTheToolBarTheLastOne();
  void findNextWrapsAndReportsMisses();
  void addAndEditGoThroughTheDialog();
  void statisticsResetOnlyWhenAsked();

private:
  TUnexpectedModals m_Unexpected;
};

void TestMainEdit::enabledStatesFollowTheView() {
  TForm empty({});
  empty.form.SetViewMode(vmNone);
  empty.form.UpdateCommands();
  for (QAction* a : {empty.form.miEditUndo, empty.form.miEditCut, empty.form.miEditPaste,
                     empty.form.miEditDelete, empty.form.miEditShuffle}) {
    QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
  }

  TForm f({"a", "b", "c"});
  QVERIFY(f.form.miEditCut->isEnabled());
  QVERIFY(f.form.miEditDelete->isEnabled());
  QVERIFY(f.form.miEditShuffle->isEnabled());
  QVERIFY(!f.form.miEditUndo->isEnabled());
  // Nothing on the clipboard, no mark.
  QVERIFY(!f.form.miEditPaste->isEnabled());
  QVERIFY(!f.form.miEditMoveUp->isEnabled());
  QVERIFY(f.form.miEditMoveDown->isEnabled());
  f.Select(2);
  QVERIFY(f.form.miEditMoveUp->isEnabled());
  QVERIFY(!f.form.miEditMoveDown->isEnabled());
  f.Select(-1);
  QVERIFY(!f.form.miEditCopy->isEnabled());
  QVERIFY(!f.form.miEditMoveUp->isEnabled());
  // The tool buttons share the actions, so they follow.
  QVERIFY(!f.form.findChild<QWidget*>("tbCut")->isEnabled());
}

void TestMainEdit::undoAndRedoCaptionsNameTheStep() {
  TForm f({"a", "b"});
  QCOMPARE(f.form.miEditUndo->text(), QString("&Undo"));
  f.form.miEditMoveDown->trigger();
  f.form.UpdateCommands();
  QCOMPARE(f.form.miEditUndo->text(), QString("&Undo Move"));
  f.form.miEditUndo->trigger();
  f.form.UpdateCommands();
  QCOMPARE(f.form.miEditUndo->text(), QString("&Undo"));
  QCOMPARE(f.form.miEditRedo->text(), QString("&Redo Move"));
  QCOMPARE(f.Words(), QString("a b"));
  QCOMPARE(f.form.findChild<QWidget*>("tbUndo")->toolTip(), QString("Undo - Ctrl+Z"));
}

void TestMainEdit::cutThenEnterElsewhereMovesInOneStep() {
  TForm f({"a", "b", "c", "d"});
  f.Select(0);
  f.form.miEditCut->trigger();
  QCOMPARE(f.form.dgVocab->CutRow(), 0);
  // Cut only marks.
  QCOMPARE(f.Words(), QString("a b c d"));
  f.Select(2);
  QTest::keyClick(f.form.dgVocab, Qt::Key_Return);
  QCOMPARE(f.Words(), QString("b c a d"));
  QCOMPARE(f.form.dgVocab->CutRow(), -1);
  QCOMPARE(f.form.Vocab().UndoKind(), jkMove);
  f.form.UpdateCommands();
  f.form.miEditUndo->trigger();
  QCOMPARE(f.Words(), QString("a b c d"));
  QCOMPARE(f.form.Vocab().UndoKind(), jkNone);
}

void TestMainEdit::cutAndPasteOnTheSameRowOnlyClearsTheMark() {
  TForm f({"a", "b"});
  f.Select(1);
  f.form.miEditCut->trigger();
  f.form.UpdateCommands();
  QVERIFY(f.form.miEditPaste->isEnabled());
  f.form.miEditPaste->trigger();
  QCOMPARE(f.form.dgVocab->CutRow(), -1);
  QCOMPARE(f.form.Vocab().JournalPos(), 0);
  // Escape drops a mark too.
  f.form.miEditCut->trigger();
  QTest::keyClick(f.form.dgVocab, Qt::Key_Escape);
  QCOMPARE(f.form.dgVocab->CutRow(), -1);
}

void TestMainEdit::copyAndPasteGoThroughTheClipboard() {
  TForm f({"a", "b", "c"});
  f.Select(1);
  f.form.miEditCopy->trigger();
  QVERIFY(f.clipboard->Block.has_value());
  f.form.UpdateCommands();
  QVERIFY(f.form.miEditPaste->isEnabled());
  f.Select(0);
  f.form.miEditPaste->trigger();
  // Behind the current entry.
  QCOMPARE(f.Words(), QString("a b b c"));
  QCOMPARE(f.form.Vocab().ItemIndex(), 1);
  f.form.Settings().Options.AppendNewWords = true;
  f.form.miEditPaste->trigger();
  QCOMPARE(f.Words(), QString("a b b c b"));

  // An entry from another language pair is refused with its message.
  TForm other({"x"});
  other.form.Vocab().SetForeignLangID(0x040C);
  other.clipboard->Block = f.clipboard->Block;
  other.form.UpdateCommands();
  TMessageBoxes boxes;
  other.form.miEditPaste->trigger();
  QCOMPARE(other.Words(), QString("x"));
  QCOMPARE(boxes.Messages(), QStringList{"Languages are different."});
}

void TestMainEdit::deleteAndMove() {
  TForm f({"a", "b", "c"});
  f.Select(2);
  f.form.miEditDelete->trigger();
  QCOMPARE(f.Words(), QString("a b"));
  // The new last entry.
  QCOMPARE(f.form.Vocab().ItemIndex(), 1);
  f.form.miEditMoveUp->trigger();
  QCOMPARE(f.Words(), QString("b a"));
  QCOMPARE(f.form.Vocab().ItemIndex(), 0);
  f.form.miEditDelete->trigger();
  f.form.miEditDelete->trigger();
  QCOMPARE(f.form.Vocab().Count(), 0);
  QCOMPARE(f.form.Vocab().ItemIndex(), -1);
  // One blank row.
  QCOMPARE(f.form.dgVocab->model()->rowCount(), 1);
}

void TestMainEdit::shuffleIsOneStep() {
  TForm f({"a", "b", "c", "d", "e"});
  f.Select(3);
  TVocabItem* current = &f.form.Vocab().CurrentItem();
  f.form.miEditShuffle->trigger();
  QCOMPARE(&f.form.Vocab().CurrentItem(), current);
  QCOMPARE(f.form.Vocab().UndoKind(), jkShuffle);
  f.form.UpdateCommands();
  f.form.miEditUndo->trigger();
  QCOMPARE(f.Words(), QString("a b c d e"));
}

void TestMainEdit::toolTipsNameTheShortcut() {
  TForm f({});
  QCOMPARE(TMainForm::MenuItemHint(f.form.miFileOpen),
           QString("Open - Ctrl+O|Opens an existing file"));
  QCOMPARE(TMainForm::MenuItemHint(f.form.miEditDelete),
           QString("Delete - Del|Deletes the selected item"));
  QCOMPARE(f.form.findChild<QWidget*>("tbOpen")->toolTip(), QString("Open - Ctrl+O"));
}

void TestMainEdit::sortUsesTheChosenFieldAndTheToolBarTheLastOne() {
  TForm f({"c", "a", "b"});
  // Translations in the opposite order: c-en < ... is the same order, so change them.
  f.form.Vocab().GetItem(0).Values[3] = "zebra";
  f.form.Vocab().GetItem(1).Values[3] = "yak";
  f.form.Vocab().GetItem(2).Values[3] = "xylophone";
  f.form.SortDialogRunner = [](uint8_t&) { return false; };
  f.form.UpdateCommands();
  f.form.miEditSort->trigger();
  // A cancelled dialog sorts nothing.
  QCOMPARE(f.Words(), QString("c a b"));
  f.form.SortDialogRunner = [](uint8_t& field) {
    field = 0;
    return true;
  };
  f.form.miEditSort->trigger();
  QCOMPARE(f.Words(), QString("a b c"));
  QCOMPARE(f.form.Vocab().UndoKind(), jkSort);
  f.form.SortField = 3;
  f.form.findChild<QAction*>("tbSortAction")->trigger();
  QCOMPARE(f.Words(), QString("b a c"));
  QCOMPARE(f.form.findChild<QWidget*>("tbSort")->toolTip(), QString("Sort - F8"));
}

void TestMainEdit::findNextWrapsAndReportsMisses() {
  TForm f({"Haus", "Baum", "Hausaufgabe", "Tisch"});
  f.form.UpdateCommands();
  // No search text yet.
  QVERIFY(!f.form.miEditFindNext->isEnabled());
  f.form.SearchData.Text = "haus";
  f.form.UpdateCommands();
  QVERIFY(f.form.miEditFindNext->isEnabled());
  f.form.miEditFindNext->trigger();
  QCOMPARE(f.form.Vocab().ItemIndex(), 2);
  QCOMPARE(f.form.dgVocab->currentIndex().row(), 2);
  f.form.miEditFindNext->trigger();
  // Wraps round.
  QCOMPARE(f.form.Vocab().ItemIndex(), 0);
  f.form.SearchData.Text = "nirgends";
  {
    TMessageBoxes boxes;
    f.form.miEditFindNext->trigger();
    QCOMPARE(boxes.Messages(), QStringList{"Search text not found."});
  }
  QCOMPARE(f.form.Vocab().ItemIndex(), 0);

  f.form.miEditFind->trigger();
  QVERIFY(f.form.FindWindow->isVisible());
  f.form.SetViewMode(vmList);
  // A change of view closes the Find window.
  QVERIFY(!f.form.FindWindow->isVisible());
}

void TestMainEdit::addAndEditGoThroughTheDialog() {
  TForm f({"a", "b", "c"});
  QList<TEditData> seen;
  f.form.EditDialogRunner = [&](TEditData& data) {
    seen << data;
    data.Values = {"neu", "n", "", "new"};
    data.SortPos = 0;
    return true;
  };
  f.Select(0);
  f.form.miEditAdd->trigger();
  QCOMPARE(f.Words(), QString("a neu b c"));
  QVERIFY(seen.last().IsAdd);
  QCOMPARE(f.form.Vocab().UndoKind(), jkAdd);

  // Without a current entry the new one goes to the end.
  f.Select(-1);
  f.form.miEditAdd->trigger();
  QCOMPARE(f.Words(), QString("a neu b c neu"));
  QCOMPARE(f.form.Vocab().ItemIndex(), 4);

  // Editing a learnt entry gives a fresh, unlearnt one; Enter in the list edits too.
  f.Select(3);
  f.form.Vocab().CurrentItem().PenaltyPoints = -1;
  f.form.EditDialogRunner = [&](TEditData& data) {
    seen << data;
    data.Values[Foreign] = "cc";
    return true;
  };
  QTest::keyClick(f.form.dgVocab, Qt::Key_Return);
  QVERIFY(!seen.last().IsAdd);
  QCOMPARE(seen.last().Values[Foreign], std::string("c"));
  QCOMPARE(f.Words(), QString("a neu b cc neu"));
  QVERIFY(!f.form.Vocab().CurrentItem().IsLearnt());
  QCOMPARE(f.form.Vocab().UndoKind(), jkEdit);
  f.form.miEditUndo->trigger();
  QVERIFY(f.form.Vocab().CurrentItem().IsLearnt());

  // Cut, then a dialog: the mark is gone, and Paste inserts the clipboard copy.
  f.form.UpdateCommands();
  f.form.miEditCut->trigger();
  QCOMPARE(f.form.dgVocab->CutRow(), 3);
  f.form.EditDialogRunner = [](TEditData&) { return false; };
  f.form.miEditEdit->trigger();
  QCOMPARE(f.form.dgVocab->CutRow(), -1);
  f.form.UpdateCommands();
  f.form.miEditPaste->trigger();
  QCOMPARE(f.Words(), QString("a neu b c c neu"));

  // A cancelled dialog changes nothing.
  f.form.EditDialogRunner = [](TEditData&) { return false; };
  const int32_t before = f.form.Vocab().JournalPos();
  f.form.miEditEdit->trigger();
  f.form.miEditAdd->trigger();
  QCOMPARE(f.form.Vocab().JournalPos(), before);
}

void TestMainEdit::statisticsResetOnlyWhenAsked() {
  TForm f({"a", "b"});
  f.form.Vocab().RecordAnswer(true, 0);
  QVERIFY(f.form.Vocab().GetItem(0).IsLearnt());
  f.form.UpdateCommands();
  QVERIFY(f.form.miTestStatistics->isEnabled());
  int shown = 0;
  f.form.StatisticsDialogRunner = [&](const TVocabFile& v) {
    ++shown;
    return &v == &f.form.Vocab() && shown == 2;
  };
  f.form.miTestStatistics->trigger();
  QVERIFY(f.form.Vocab().GetItem(0).IsLearnt());
  f.form.miTestStatistics->trigger();
  QCOMPARE(shown, 2);
  QCOMPARE(f.form.Vocab().LearntCount(), 0);
  QCOMPARE(f.form.Vocab().QuestionCount(), 0);
  QVERIFY(f.form.Vocab().Modified());

  f.form.SetViewMode(vmNone);
  f.form.UpdateCommands();
  QVERIFY(!f.form.miTestStatistics->isEnabled());
}

QTEST_MAIN(TestMainEdit)
#include "tst_mainedit.moc"
