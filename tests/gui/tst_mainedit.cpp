// SPDX-License-Identifier: MIT
// Tests of the main window's Edit and Test commands and its keys.
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

// The list of the main window, found as tests find every widget: by name.
TVocabGrid* Grid(const TMainForm& form) {
  return form.findChild<TVocabGrid*>("dgVocab");
}

struct TForm {
  QTemporaryDir settingsDir;
  TSettingsStore store{settingsDir.filePath("settings.ini")};
  TMainForm form{&store};
  TFakeClipboard* clipboard = nullptr;

  // A German-English list of the given words in the list view, the first one current.
  explicit TForm(const std::vector<std::string>& words) {
    auto fake = std::make_unique<TFakeClipboard>();
    clipboard = fake.get();
    form.SetClipboard(std::move(fake));
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
    Grid(form)->RefreshList();
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
  void keysDuringADragAreTheDrags();

private:
  TUnexpectedModals m_Unexpected;
};

void TestMainEdit::enabledStatesFollowTheView() {
  TForm empty({});
  empty.form.SetViewMode(vmNone);
  empty.form.UpdateCommands();
  for (QAction* a :
       {FindAction(&empty.form, "miEditUndo"), FindAction(&empty.form, "miEditCut"),
        FindAction(&empty.form, "miEditPaste"), FindAction(&empty.form, "miEditDelete"),
        FindAction(&empty.form, "miEditShuffle")}) {
    QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
  }

  TForm f({"a", "b", "c"});
  QVERIFY(FindAction(&f.form, "miEditCut")->isEnabled());
  QVERIFY(FindAction(&f.form, "miEditDelete")->isEnabled());
  QVERIFY(FindAction(&f.form, "miEditShuffle")->isEnabled());
  QVERIFY(!FindAction(&f.form, "miEditUndo")->isEnabled());
  // Nothing on the clipboard, no mark.
  QVERIFY(!FindAction(&f.form, "miEditPaste")->isEnabled());
  QVERIFY(!FindAction(&f.form, "miEditMoveUp")->isEnabled());
  QVERIFY(FindAction(&f.form, "miEditMoveDown")->isEnabled());
  f.Select(2);
  QVERIFY(FindAction(&f.form, "miEditMoveUp")->isEnabled());
  QVERIFY(!FindAction(&f.form, "miEditMoveDown")->isEnabled());
  f.Select(-1);
  QVERIFY(!FindAction(&f.form, "miEditCopy")->isEnabled());
  QVERIFY(!FindAction(&f.form, "miEditMoveUp")->isEnabled());
  // The tool buttons share the actions, so they follow.
  QVERIFY(!f.form.findChild<QWidget*>("tbCut")->isEnabled());
}

void TestMainEdit::undoAndRedoCaptionsNameTheStep() {
  TForm f({"a", "b"});
  QCOMPARE(FindAction(&f.form, "miEditUndo")->text(), QString("&Undo"));
  TRIGGER_ACTION(&f.form, "miEditMoveDown");
  f.form.UpdateCommands();
  QCOMPARE(FindAction(&f.form, "miEditUndo")->text(), QString("&Undo Move"));
  TRIGGER_ACTION(&f.form, "miEditUndo");
  f.form.UpdateCommands();
  QCOMPARE(FindAction(&f.form, "miEditUndo")->text(), QString("&Undo"));
  QCOMPARE(FindAction(&f.form, "miEditRedo")->text(), QString("&Redo Move"));
  QCOMPARE(f.Words(), QString("a b"));
  QCOMPARE(f.form.findChild<QWidget*>("tbUndo")->toolTip(), QString("Undo - Ctrl+Z"));
}

void TestMainEdit::cutThenEnterElsewhereMovesInOneStep() {
  TForm f({"a", "b", "c", "d"});
  f.Select(0);
  TRIGGER_ACTION(&f.form, "miEditCut");
  QCOMPARE(Grid(f.form)->CutRow(), 0);
  // Cut only marks.
  QCOMPARE(f.Words(), QString("a b c d"));
  f.Select(2);
  QTest::keyClick(Grid(f.form), Qt::Key_Return);
  QCOMPARE(f.Words(), QString("b c a d"));
  QCOMPARE(Grid(f.form)->CutRow(), -1);
  QCOMPARE(f.form.Vocab().UndoKind(), jkMove);
  f.form.UpdateCommands();
  TRIGGER_ACTION(&f.form, "miEditUndo");
  QCOMPARE(f.Words(), QString("a b c d"));
  QCOMPARE(f.form.Vocab().UndoKind(), jkNone);
}

void TestMainEdit::cutAndPasteOnTheSameRowOnlyClearsTheMark() {
  TForm f({"a", "b"});
  f.Select(1);
  TRIGGER_ACTION(&f.form, "miEditCut");
  f.form.UpdateCommands();
  QVERIFY(FindAction(&f.form, "miEditPaste")->isEnabled());
  TRIGGER_ACTION(&f.form, "miEditPaste");
  QCOMPARE(Grid(f.form)->CutRow(), -1);
  QCOMPARE(f.form.Vocab().JournalPos(), 0);
  // Escape drops a mark too.
  TRIGGER_ACTION(&f.form, "miEditCut");
  QTest::keyClick(Grid(f.form), Qt::Key_Escape);
  QCOMPARE(Grid(f.form)->CutRow(), -1);
}

void TestMainEdit::copyAndPasteGoThroughTheClipboard() {
  TForm f({"a", "b", "c"});
  f.Select(1);
  TRIGGER_ACTION(&f.form, "miEditCopy");
  QVERIFY(f.clipboard->Block.has_value());
  f.form.UpdateCommands();
  QVERIFY(FindAction(&f.form, "miEditPaste")->isEnabled());
  f.Select(0);
  TRIGGER_ACTION(&f.form, "miEditPaste");
  // Behind the current entry.
  QCOMPARE(f.Words(), QString("a b b c"));
  QCOMPARE(f.form.Vocab().ItemIndex(), 1);
  f.form.Settings().Options.AppendNewWords = true;
  TRIGGER_ACTION(&f.form, "miEditPaste");
  QCOMPARE(f.Words(), QString("a b b c b"));

  // An entry from another language pair is refused with its message.
  TForm other({"x"});
  other.form.Vocab().SetForeignLangID(0x040C);
  other.clipboard->Block = f.clipboard->Block;
  other.form.UpdateCommands();
  TMessageBoxes boxes;
  TRIGGER_ACTION(&other.form, "miEditPaste");
  QCOMPARE(other.Words(), QString("x"));
  QCOMPARE(boxes.Messages(), QStringList{"Languages are different."});
}

void TestMainEdit::deleteAndMove() {
  TForm f({"a", "b", "c"});
  f.Select(2);
  TRIGGER_ACTION(&f.form, "miEditDelete");
  QCOMPARE(f.Words(), QString("a b"));
  // The new last entry.
  QCOMPARE(f.form.Vocab().ItemIndex(), 1);
  TRIGGER_ACTION(&f.form, "miEditMoveUp");
  QCOMPARE(f.Words(), QString("b a"));
  QCOMPARE(f.form.Vocab().ItemIndex(), 0);
  TRIGGER_ACTION(&f.form, "miEditDelete");
  TRIGGER_ACTION(&f.form, "miEditDelete");
  QCOMPARE(f.form.Vocab().Count(), 0);
  QCOMPARE(f.form.Vocab().ItemIndex(), -1);
  // One blank row.
  QCOMPARE(Grid(f.form)->model()->rowCount(), 1);
}

void TestMainEdit::shuffleIsOneStep() {
  TForm f({"a", "b", "c", "d", "e"});
  f.Select(3);
  TVocabItem* current = &f.form.Vocab().CurrentItem();
  TRIGGER_ACTION(&f.form, "miEditShuffle");
  QCOMPARE(&f.form.Vocab().CurrentItem(), current);
  QCOMPARE(f.form.Vocab().UndoKind(), jkShuffle);
  f.form.UpdateCommands();
  TRIGGER_ACTION(&f.form, "miEditUndo");
  QCOMPARE(f.Words(), QString("a b c d e"));
}

void TestMainEdit::toolTipsNameTheShortcut() {
  TForm f({});
  QCOMPARE(TMainForm::MenuItemHint(FindAction(&f.form, "miFileOpen")),
           QString("Open - Ctrl+O|Opens an existing file"));
  QCOMPARE(TMainForm::MenuItemHint(FindAction(&f.form, "miEditDelete")),
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
  TRIGGER_ACTION(&f.form, "miEditSort");
  // A cancelled dialog sorts nothing.
  QCOMPARE(f.Words(), QString("c a b"));
  f.form.SortDialogRunner = [](uint8_t& field) {
    field = 0;
    return true;
  };
  TRIGGER_ACTION(&f.form, "miEditSort");
  QCOMPARE(f.Words(), QString("a b c"));
  QCOMPARE(f.form.Vocab().UndoKind(), jkSort);
  f.form.SetSortField(3);
  f.form.findChild<QAction*>("tbSortAction")->trigger();
  QCOMPARE(f.Words(), QString("b a c"));
  QCOMPARE(f.form.findChild<QWidget*>("tbSort")->toolTip(), QString("Sort - F8"));
}

void TestMainEdit::findNextWrapsAndReportsMisses() {
  TForm f({"Haus", "Baum", "Hausaufgabe", "Tisch"});
  f.form.UpdateCommands();
  // No search text yet.
  QVERIFY(!FindAction(&f.form, "miEditFindNext")->isEnabled());
  f.form.SearchData().Text = "haus";
  f.form.UpdateCommands();
  QVERIFY(FindAction(&f.form, "miEditFindNext")->isEnabled());
  TRIGGER_ACTION(&f.form, "miEditFindNext");
  QCOMPARE(f.form.Vocab().ItemIndex(), 2);
  QCOMPARE(Grid(f.form)->currentIndex().row(), 2);
  TRIGGER_ACTION(&f.form, "miEditFindNext");
  // Wraps round.
  QCOMPARE(f.form.Vocab().ItemIndex(), 0);
  f.form.SearchData().Text = "nirgends";
  {
    TMessageBoxes boxes;
    TRIGGER_ACTION(&f.form, "miEditFindNext");
    QCOMPARE(boxes.Messages(), QStringList{"Search text not found."});
  }
  QCOMPARE(f.form.Vocab().ItemIndex(), 0);

  TRIGGER_ACTION(&f.form, "miEditFind");
  QVERIFY(f.form.findChild<QWidget*>("SearchDialog")->isVisible());
  f.form.SetViewMode(vmList);
  // A change of view closes the Find window.
  QVERIFY(!f.form.findChild<QWidget*>("SearchDialog")->isVisible());
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
  TRIGGER_ACTION(&f.form, "miEditAdd");
  QCOMPARE(f.Words(), QString("a neu b c"));
  QVERIFY(seen.last().IsAdd);
  QCOMPARE(f.form.Vocab().UndoKind(), jkAdd);

  // Without a current entry the new one goes to the end.
  f.Select(-1);
  TRIGGER_ACTION(&f.form, "miEditAdd");
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
  QTest::keyClick(Grid(f.form), Qt::Key_Return);
  QVERIFY(!seen.last().IsAdd);
  QCOMPARE(seen.last().Values[Foreign], std::string("c"));
  QCOMPARE(f.Words(), QString("a neu b cc neu"));
  QVERIFY(!f.form.Vocab().CurrentItem().IsLearnt());
  QCOMPARE(f.form.Vocab().UndoKind(), jkEdit);
  TRIGGER_ACTION(&f.form, "miEditUndo");
  QVERIFY(f.form.Vocab().CurrentItem().IsLearnt());

  // Cut, then a dialog: the mark is gone, and Paste inserts the clipboard copy.
  f.form.UpdateCommands();
  TRIGGER_ACTION(&f.form, "miEditCut");
  QCOMPARE(Grid(f.form)->CutRow(), 3);
  f.form.EditDialogRunner = [](TEditData&) { return false; };
  TRIGGER_ACTION(&f.form, "miEditEdit");
  QCOMPARE(Grid(f.form)->CutRow(), -1);
  f.form.UpdateCommands();
  TRIGGER_ACTION(&f.form, "miEditPaste");
  QCOMPARE(f.Words(), QString("a neu b c c neu"));

  // A cancelled dialog changes nothing.
  f.form.EditDialogRunner = [](TEditData&) { return false; };
  const int32_t before = f.form.Vocab().JournalPos();
  TRIGGER_ACTION(&f.form, "miEditEdit");
  TRIGGER_ACTION(&f.form, "miEditAdd");
  QCOMPARE(f.form.Vocab().JournalPos(), before);
}

void TestMainEdit::statisticsResetOnlyWhenAsked() {
  TForm f({"a", "b"});
  f.form.Vocab().RecordAnswer(true, 0);
  QVERIFY(f.form.Vocab().GetItem(0).IsLearnt());
  f.form.UpdateCommands();
  QVERIFY(FindAction(&f.form, "miTestStatistics")->isEnabled());
  int shown = 0;
  f.form.StatisticsDialogRunner = [&](const TVocabFile& v) {
    ++shown;
    return &v == &f.form.Vocab() && shown == 2;
  };
  TRIGGER_ACTION(&f.form, "miTestStatistics");
  QVERIFY(f.form.Vocab().GetItem(0).IsLearnt());
  TRIGGER_ACTION(&f.form, "miTestStatistics");
  QCOMPARE(shown, 2);
  QCOMPARE(f.form.Vocab().LearntCount(), 0);
  QCOMPARE(f.form.Vocab().QuestionCount(), 0);
  QVERIFY(f.form.Vocab().Modified());

  f.form.SetViewMode(vmNone);
  f.form.UpdateCommands();
  QVERIFY(!FindAction(&f.form, "miTestStatistics")->isEnabled());
}

// Escape cancels a drag; Enter neither edits (m_Unexpected would see the dialog) nor drops.
void TestMainEdit::keysDuringADragAreTheDrags() {
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    TForm f({"a", "b", "c", "d"});
    f.form.show();
    QWidget* viewport = Grid(f.form)->viewport();
    const auto mouse = [&](QEvent::Type type, int row, Qt::MouseButtons buttons) {
      const QPoint at(10, Grid(f.form)->rowViewportPosition(row) + 3);
      QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton, buttons, {});
      QCoreApplication::sendEvent(viewport, &event);
    };
    mouse(QEvent::MouseButtonPress, 0, Qt::LeftButton);
    mouse(QEvent::MouseMove, 0, Qt::LeftButton);
    mouse(QEvent::MouseMove, 2, Qt::LeftButton);
    QVERIFY(Grid(f.form)->Dragging());
    QTest::keyClick(Grid(f.form), key);
    mouse(QEvent::MouseMove, 3, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, 3, Qt::NoButton);
    QCOMPARE(f.Words(), QString(key == Qt::Key_Escape ? "a b c d" : "b c d a"));
  }
}

QTEST_MAIN(TestMainEdit)
#include "tst_mainedit.moc"
