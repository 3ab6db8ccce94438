// SPDX-License-Identifier: MIT
// The test run in the main window: the Test menu, its states and keys, whole runs until
// everything is learnt, and the screenshots of the testing view.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <cstring>

#include <ctime>

#include "GuiTestSupport.h"
#include "app/ChoiceList.h"
#include "app/MainFrm.h"
#include "app/TestPanel.h"
#include "controls/SblEdit.h"
#include "platform/Sound.h"
#include "settings/RegUtils.h"
#include "text/DrawItem.h"

namespace {
using TEntry = TEntryTexts;

const std::vector<TEntry> kSample = {
    {"Haus", "n", "", "house"}, {"Baum", "n", "", "tree"}, {"laufen", "v", "lief", "run"}};

// A main window with its own settings, a sample file open in the list, sounds recorded and the
// statistics dialog answered by Reset.
struct TForm {
  QTemporaryDir dir;
  TSettingsStore store{dir.filePath("settings.ini")};
  TMainForm form{&store};
  QStringList sounds;
  TScopedSeam<TSoundPlayer> player{SoundPlayer, [this](const QString& path) { sounds << path; }};
  int statistics = 0;
  bool reset = false;
  TScopedSeam<std::function<bool(const TVocabFile&)>> statisticsDialog{form.StatisticsDialogRunner,
                                                                       [this](const TVocabFile&) {
                                                                         ++statistics;
                                                                         return reset;
                                                                       }};

  explicit TForm(const std::vector<TEntry>& entries = kSample, bool learnt = false) {
    const QString path = dir.filePath("Sample.doz");
    WriteVocabulary(path, entries, learnt ? -1 : 0);
    form.resize(640, 420);
    form.show();
    if (!form.OpenFile(path)) qFatal("sample not opened");
    form.SetViewMode(vmList);
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form)) qFatal("window not active");
  }
  TTestPanel* Panel() { return form.findChild<TTestPanel*>("pnlTest"); }
  TTestRun& Run() { return Panel()->Run(); }
  template <class T = QWidget>
  T* Get(const char* name) {
    T* widget = form.findChild<T*>(name);
    if (!widget) qFatal("no widget %s", name);
    return widget;
  }
  QAction* Action(const char* name) { return FindAction(&form, name); }
  QString Status() { return Get<QLabel>("pnlTestStatus")->text(); }
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &form;
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    form.UpdateCommands();
  }
  const TVocabItem& Current() { return form.Vocab().CurrentItem(); }
  // Answers the question on screen, rightly or not, by typing or picking, and submits.
  void Answer(bool right) {
    const TVocabItem& item = Current();
    if (Run().MultipleChoice) {
      TChoiceList* list = Get<TChoiceList>("lbChoice");
      int row = -1;
      for (int r = 0; r < list->count(); ++r) {
        if ((list->Entry(r) == &item) == right) row = r;
      }
      QVERIFY(row >= 0);
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                        list->visualItemRect(list->item(row)).center());
      return;
    }
    const bool intoNative = Run().TestMode == kTestPassive;
    auto* response = Get<TSymbolEdit>("edtResponse");
    response->SetAnsiText(right ? item.Values[intoNative ? Native : Foreign] : "wrong");
    if (Run().TestingNotes) Get<TSymbolEdit>("edtTestNotes")->SetAnsiText(item.Values[Notes]);
    QTest::keyClick(response, Qt::Key_Return);
  }
  void Continue() {
    QVERIFY(Get<QPushButton>("btnEnter")->isEnabled());
    QCOMPARE(Get<QPushButton>("btnEnter")->text(), QString("Continue"));
    QTest::keyClick(Get("btnEnter"), Qt::Key_Return);
  }
};

const QString kLearnt = QStringLiteral(
    "You have learnt all the vocabulary in Sample.doz.\n"
    "Statistics must be reset before testing resumes...");
}  // namespace

class TestMainTest : public QObject {
  Q_OBJECT
private slots:
  void cleanup() { m_Unexpected.Verify(); }

  void testMenuAndToolBar();
  void commandStatesFollowTheView();
  void wholeRunUntilLearnt();
  void autoContinueFinishesAtOnceAndResetStartsAgain();
  void multipleChoiceRunByKeysOnly();
  void startingOnALearntFile();
  void changesMidQuestionRecordNothing();
  void ctrlTabSwapsTheDirectionOnlyWithCtrlAlone();
  void multipleChoiceCommandWhileEditingTurnsItOn();
  void hintCommandFollowsTheFocus();
  void leavingTesting();
  void testSettingsAreKept();
  void panelFollowsTheDisplayFont();
  void historyKeepsEveryAnswer();
  void damagedHistoryIsReportedAfterTheRun();
  void screenshots();
  void iWasRightThenSaveCountsARightAnswer();

private:
  TUnexpectedModals m_Unexpected;
};

void TestMainTest::testMenuAndToolBar() {
  TForm f;
  struct TItem {
    const char* name;
    const char* caption;
    QKeySequence shortcut;
    const char* hint;
    int context;
    const char* button;
  };
  const TItem items[] = {
      {"miTestStartTesting", "Start &Testing", QKeySequence(Qt::CTRL | Qt::Key_T),
       "Starts or stops vocabulary testing", 2200, "tbStartTesting"},
      {"miTestPassive", "Into &Native Language", QKeySequence(Qt::CTRL | Qt::Key_E),
       "Changes the testing direction", 2201, "tbPassive"},
      {"miTestActive", "Into &Foreign Language", QKeySequence(Qt::CTRL | Qt::Key_L),
       "Changes the testing direction", 2202, "tbActive"},
      {"miTestMultipleChoice", "&Multiple Choice", QKeySequence(Qt::CTRL | Qt::Key_M),
       "Turns multiple choice testing on or off", 2203, "tbMultipleChoice"},
      {"miTestHint", "&Hint", QKeySequence(Qt::CTRL | Qt::Key_H),
       "Reveals the correct answer letter by letter", 2204, "tbHint"},
      {"miTestStatistics", "&Statistics...", QKeySequence(Qt::Key_F9),
       "Displays testing statistics for the current file", 2205, "tbStatistics"},
  };
  auto* menu = f.form.findChild<QMenu*>("miTest");
  QVERIFY(menu);
  for (const TItem& item : items) {
    QAction* action = f.Action(item.name);
    QVERIFY2(action, item.name);
    QCOMPARE(action->text(), QString(item.caption));
    QCOMPARE(action->shortcut(), item.shortcut);
    QCOMPARE(action->statusTip(), QString(item.hint));
    QCOMPARE(action->property("HelpContext").toInt(), item.context);
    QVERIFY(!action->icon().isNull());
    auto* button = f.Get<QToolButton>(item.button);
    QCOMPARE(button->defaultAction(), action);
  }
  // Separators after Start Testing, Into Foreign Language and Multiple Choice.
  QStringList shape;
  for (QAction* a : menu->actions()) shape << (a->isSeparator() ? "-" : a->objectName());
  QCOMPARE(shape, QStringList({"miTestStartTesting", "-", "miTestPassive", "miTestActive", "-",
                               "miTestMultipleChoice", "-", "miTestHint", "miTestIWasRight",
                               "miTestStatistics", "-", "miTestClearHistory", "miTestExportHistory",
                               "-", "miTestSpeak", "miTestSpeakAnswer"}));
  QCOMPARE(f.Action("miTestIWasRight")->text(), QString("I Was &Right"));
  QCOMPARE(f.Action("miTestIWasRight")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
  for (const char* check : {"tbStartTesting", "tbPassive", "tbActive", "tbMultipleChoice"}) {
    QVERIFY(f.Get<QToolButton>(check)->isCheckable());
  }
  QCOMPARE(f.Get<QToolButton>("tbHint")->toolTip(), QString("Hint - Ctrl+H"));
}

// Answers go into the study history, follow Save As, are exported and cleared; with the option
// off nothing is recorded.
void TestMainTest::historyKeepsEveryAnswer() {
  TForm f;
  THistoryStore& history = f.form.History();
  const int32_t today = LocalDay(time(nullptr));
  const auto day = [&] {
    const std::vector<THistoryDay> days = history.Days(f.form.HistoryKey(), today, today);
    return days.empty() ? QString() : QString("%1/%2").arg(days[0].Right).arg(days[0].Wrong);
  };
  f.Key(Qt::Key_T, Qt::ControlModifier);
  for (const bool right : {false, true, false}) {
    f.Answer(right);
    f.Continue();
  }
  QCOMPARE(day(), QString("1/2"));
  // I Was Right turns the row just written right; with the history off there is no row to turn.
  for (const bool keep : {true, false}) {
    f.form.Settings().KeepHistory = keep;
    f.Answer(false);
    f.form.UpdateCommands();
    f.Key(Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(day(), QString("2/2"));
    if (keep) f.Continue();  // the last one would learn the whole file
  }
  f.Key(Qt::Key_Escape);

  {
    TFileDialogAnswer saveAs(SaveFileDialog, f.dir.filePath("Renamed.doz"));
    TRIGGER_ACTION(&f.form, "miFileSaveAs");
  }
  QVERIFY(f.form.HistoryKey().ends_with("Renamed.doz"));
  QCOMPARE(day(), QString("2/2"));

  TFileDialogAnswer save(SaveFileDialog, f.dir.filePath("answers"));
  TRIGGER_ACTION(&f.form, "miTestExportHistory");
  QCOMPARE(save.Request.FileName, QString("Renamed history"));
  QFile exported(f.dir.filePath("answers.csv"));
  QVERIFY(exported.open(QIODevice::ReadOnly));
  const QStringList lines = QString::fromUtf8(exported.readAll()).split("\r\n", Qt::SkipEmptyParts);
  QCOMPARE(lines.size(), 5);
  QCOMPARE(lines.filter(",wrong,").size(), 2);

  TMessageBoxes boxes({kIdNo, kIdYes});
  TRIGGER_ACTION(&f.form, "miTestClearHistory");
  QCOMPARE(day(), QString("2/2"));
  TRIGGER_ACTION(&f.form, "miTestClearHistory");
  QCOMPARE(boxes.Messages().value(1), QString("Remove the study history of Renamed.doz?"));
  QCOMPARE(day(), QString());
}

// A history found damaged by the first answer of a run is reported once the run ends, however
// many answers followed.
void TestMainTest::damagedHistoryIsReportedAfterTheRun() {
  QDir data(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
  for (const QString& name : data.entryList({"history.sqlite*"})) data.remove(name);
  QFile garbage(data.filePath("history.sqlite"));
  QVERIFY(data.mkpath(".") && garbage.open(QIODevice::WriteOnly));
  garbage.write(QByteArray(8192, 'Z'));
  garbage.close();
  TForm f;
  TMessageBoxes boxes;
  f.Key(Qt::Key_T, Qt::ControlModifier);
  for (const bool right : {true, false, true}) {
    f.Answer(right);
    f.Continue();
  }
  QTest::qWait(10);
  QVERIFY(boxes.Messages().isEmpty());
  f.Key(Qt::Key_Escape);
  QTRY_COMPARE(boxes.Messages().size(), 1);
  QVERIFY(boxes.Messages()[0].startsWith("The study history was damaged."));
  QCOMPARE(data.entryList({"history.sqlite.damaged-*"}).size(), 1);
}

void TestMainTest::commandStatesFollowTheView() {
  TForm f;
  QAction* start = f.Action("miTestStartTesting");
  f.form.SetViewMode(vmNone);
  f.form.UpdateCommands();
  for (const char* name : {"miTestStartTesting", "miTestPassive", "miTestActive",
                           "miTestMultipleChoice", "miTestHint", "miTestStatistics"}) {
    QVERIFY2(!f.Action(name)->isEnabled(), name);
  }
  f.form.SetViewMode(vmList);
  f.form.UpdateCommands();
  QVERIFY(start->isEnabled() && !start->isChecked());
  QCOMPARE(start->text(), QString("Start &Testing"));
  QVERIFY(f.Action("miTestPassive")->isEnabled() && !f.Action("miTestPassive")->isChecked());
  QVERIFY(!f.Action("miTestHint")->isEnabled());
  QCOMPARE(f.Get<QToolButton>("tbStartTesting")->toolTip(), QString("Start Testing - Ctrl+T"));

  f.Key(Qt::Key_T, Qt::ControlModifier);
  QCOMPARE(f.form.ViewMode(), vmTest);
  QVERIFY(f.Get("pnlTest")->isVisible());
  QVERIFY(start->isChecked());
  QCOMPARE(start->text(), QString("Stop &Testing"));
  QVERIFY(f.Get<QToolButton>("tbStartTesting")->isChecked());
  QCOMPARE(f.Get<QToolButton>("tbStartTesting")->toolTip(), QString("Stop Testing - Ctrl+T"));
  QVERIFY(f.Action("miTestPassive")->isChecked() && !f.Action("miTestActive")->isChecked());
  QVERIFY(f.Get<QToolButton>("tbPassive")->isChecked());
  QVERIFY(!f.Action("miTestMultipleChoice")->isChecked());
  // The edit commands rest while testing, so their keys reach the answer field.
  QVERIFY(!f.Action("miEditCopy")->isEnabled());
  QVERIFY(f.Action("miTestHint")->isEnabled());
  QVERIFY(f.Action("miTestStatistics")->isEnabled());
  // The fourth status panel counts the learnt entries while testing, not the row.
  const int row = f.form.Vocab().ItemIndex() + 1;
  const int learnt = row == 2 ? 1 : 2;
  for (int i = 0, marked = 0; marked < learnt; ++i) {
    if (i + 1 == row) continue;
    f.form.Vocab().GetItem(i).PenaltyPoints = -1;
    ++marked;
  }
  f.form.UpdateCommands();
  QCOMPARE(f.Get<QLabel>("sbrPanel3")->text(), QString::number(learnt));

  f.Answer(false);
  f.form.UpdateCommands();
  QVERIFY(!f.Action("miTestHint")->isEnabled());
  f.Key(Qt::Key_T, Qt::ControlModifier);
  QCOMPARE(f.form.ViewMode(), vmList);
  QVERIFY(!start->isChecked() && !f.Action("miTestPassive")->isChecked());
}

// Ctrl+T, answers right and wrong in both directions, typed and picked, until all is learnt;
// "Congratulations!" after the last Continue, then the Statistics dialog.
void TestMainTest::wholeRunUntilLearnt() {
  TForm f;
  TMessageBoxes boxes;
  f.Key(Qt::Key_T, Qt::ControlModifier);
  QCOMPARE(f.form.ViewMode(), vmTest);
  const TVocabItem* first = &f.Current();
  f.Answer(false);
  QCOMPARE(f.Status(), QString("Wrong!"));
  QCOMPARE(f.sounds, QStringList{DefaultSoundPath("Pow.wav")});
  f.Continue();
  QCOMPARE(f.form.Vocab().QuestionCount(), 1);
  QCOMPARE(f.form.Vocab().CorrectCount(), 0);
  QVERIFY(!first->IsLearnt());

  f.Key(Qt::Key_Tab, Qt::ControlModifier);
  QCOMPARE(f.Run().TestMode, kTestActive);
  f.Answer(true);
  QCOMPARE(f.Status(), QString("Right!"));
  f.Continue();
  f.Key(Qt::Key_M, Qt::ControlModifier);
  QVERIFY(f.Run().MultipleChoice);
  f.Answer(false);
  QCOMPARE(f.Status(), QString("Wrong!"));
  f.Continue();
  for (int asked = 0; f.form.ViewMode() == vmTest && asked < 10; ++asked) {
    QVERIFY(boxes.Shown.isEmpty());
    if (asked == 1) f.Key(Qt::Key_Tab, Qt::ControlModifier);
    f.Answer(true);
    QCOMPARE(f.Status(), QString("Right!"));
    f.Continue();
  }
  QCOMPARE(f.form.ViewMode(), vmList);
  QCOMPARE(f.form.Vocab().LearntCount(), 3);
  QCOMPARE(boxes.Messages(), QStringList{"Congratulations!\n\n" + kLearnt});
  QCOMPARE(boxes.Shown[0].Style, kMbNotice);
  QCOMPARE(f.statistics, 1);
  QVERIFY(f.sounds.contains(DefaultSoundPath("Clap.wav")));
}

void TestMainTest::autoContinueFinishesAtOnceAndResetStartsAgain() {
  TForm f;
  f.form.Settings().Options.AutoContinue = true;
  TMessageBoxes boxes;
  TRIGGER_ACTION(&f.form, "miTestStartTesting");
  for (int asked = 0; asked < 3; ++asked) {
    QVERIFY(boxes.Shown.isEmpty());
    QCOMPARE(f.form.ViewMode(), vmTest);
    f.Answer(true);
    // No result is shown: the next question, or the end, comes at once.
    QVERIFY(!f.Run().Answered);
  }
  QCOMPARE(boxes.Messages(), QStringList{"Congratulations!\n\n" + kLearnt});
  QCOMPARE(f.statistics, 1);
  QCOMPARE(f.form.ViewMode(), vmList);

  // Starting again on the learnt file; resetting in the dialog starts the run.
  f.reset = true;
  TRIGGER_ACTION(&f.form, "miTestStartTesting");
  QCOMPARE(boxes.Messages().last(), kLearnt);
  QCOMPARE(f.statistics, 2);
  QCOMPARE(f.form.ViewMode(), vmTest);
  QCOMPARE(f.form.Vocab().LearntCount(), 0);
}

// Ctrl+T, Ctrl+M, then keys to the asked entry's row and Enter, Enter again to continue, on
// lists of one row and of four: from no selection the first Down or Home takes the first row,
// End the last, so the right row is reached at the first try until all is learnt.
void TestMainTest::multipleChoiceRunByKeysOnly() {
  const std::vector<TEntry> five = {{"Haus", "n", "", "house"},
                                    {"Baum", "n", "", "tree"},
                                    {"Hund", "n", "", "dog"},
                                    {"Katze", "n", "", "cat"},
                                    {"Maus", "n", "", "mouse"}};
  for (const auto& entries : {std::vector<TEntry>{five[0]}, five}) {
    TForm f(entries);
    TMessageBoxes boxes;
    f.Key(Qt::Key_T, Qt::ControlModifier);
    f.Key(Qt::Key_M, Qt::ControlModifier);
    auto* list = f.Get<TChoiceList>("lbChoice");
    for (int asked = 0; f.form.ViewMode() == vmTest && asked < 10; ++asked) {
      QCOMPARE(QApplication::focusWidget(), list);
      const int last = std::min(int(entries.size()), 4) - 1;
      QCOMPARE(list->count(), last + 1);
      const TVocabItemArray rows = list->Entries();
      const int row = int(std::find(rows.begin(), rows.end(), &f.Current()) - rows.begin());
      // Down from nothing, Home then Down, End then Up in turn.
      const int way = asked % 3;
      f.Key(way == 0 ? Qt::Key_Down : way == 1 ? Qt::Key_Home : Qt::Key_End);
      QCOMPARE(list->SelectedEntry(), rows[way == 2 ? last : 0]);
      for (int r = way == 2 ? last : 0; r != row; r += r < row ? 1 : -1) {
        f.Key(r < row ? Qt::Key_Down : Qt::Key_Up);
      }
      f.Key(Qt::Key_Return);
      QCOMPARE(f.Status(), QString("Right!"));
      f.Key(Qt::Key_Return);
    }
    QCOMPARE(f.form.Vocab().LearntCount(), int(entries.size()));
    QCOMPARE(boxes.Messages().size(), 1);
  }
}

void TestMainTest::startingOnALearntFile() {
  TForm f(kSample, true);
  TMessageBoxes boxes;
  f.Key(Qt::Key_T, Qt::ControlModifier);
  QCOMPARE(boxes.Messages(), QStringList{kLearnt});
  QCOMPARE(f.statistics, 1);
  QCOMPARE(f.form.ViewMode(), vmList);
  QVERIFY(!f.Get("pnlTest")->isVisible());
}

// A change of direction or of multiple choice drops the question unrecorded, as does leaving.
void TestMainTest::changesMidQuestionRecordNothing() {
  TForm f;
  TRIGGER_ACTION(&f.form, "miTestStartTesting");
  f.Get<QLineEdit>("edtResponse")->setText("half");
  TRIGGER_ACTION(&f.form, "miTestActive");
  QCOMPARE(f.Run().TestMode, kTestActive);
  QCOMPARE(f.Get<QLabel>("lblResponse")->text(), QString("Word/phrase:"));
  QVERIFY(f.Get<QLineEdit>("edtResponse")->text().isEmpty());
  TRIGGER_ACTION(&f.form, "miTestMultipleChoice");
  QVERIFY(f.Run().MultipleChoice);
  QVERIFY(f.Get("lbChoice")->isVisible());
  TRIGGER_ACTION(&f.form, "miTestMultipleChoice");
  QVERIFY(!f.Run().MultipleChoice);
  // The same direction again changes nothing.
  f.Get<QLineEdit>("edtResponse")->setText("kept");
  TRIGGER_ACTION(&f.form, "miTestActive");
  QCOMPARE(f.Get<QLineEdit>("edtResponse")->text(), QString("kept"));
  f.Key(Qt::Key_Escape);
  QCOMPARE(f.form.ViewMode(), vmList);
  QCOMPARE(f.form.Vocab().QuestionCount(), 0);
  QVERIFY(!f.form.Vocab().Modified());
}

void TestMainTest::ctrlTabSwapsTheDirectionOnlyWithCtrlAlone() {
  TForm f;
  // Not while editing.
  f.Key(Qt::Key_Tab, Qt::ControlModifier);
  QCOMPARE(f.form.ViewMode(), vmList);
  TRIGGER_ACTION(&f.form, "miTestStartTesting");
  f.Key(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
  f.Key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  f.Key(Qt::Key_Tab, Qt::ControlModifier | Qt::AltModifier);
  QCOMPARE(f.Run().TestMode, kTestPassive);
  f.Key(Qt::Key_Tab, Qt::ControlModifier);
  QCOMPARE(f.Run().TestMode, kTestActive);
  f.Key(Qt::Key_Tab, Qt::ControlModifier);
  QCOMPARE(f.Run().TestMode, kTestPassive);
  QCOMPARE(f.form.Vocab().QuestionCount(), 0);
}

void TestMainTest::multipleChoiceCommandWhileEditingTurnsItOn() {
  TForm f;
  f.Run().MultipleChoice = true;
  f.Key(Qt::Key_M, Qt::ControlModifier);
  QCOMPARE(f.form.ViewMode(), vmTest);
  QVERIFY(f.Run().MultipleChoice);
  f.Key(Qt::Key_M, Qt::ControlModifier);
  QVERIFY(!f.Run().MultipleChoice);
  f.Key(Qt::Key_Escape);
  // Into the foreign language while editing starts a run in that direction.
  f.Key(Qt::Key_L, Qt::ControlModifier);
  QCOMPARE(f.form.ViewMode(), vmTest);
  QCOMPARE(f.Run().TestMode, kTestActive);
  QCOMPARE(f.Get<QLabel>("lblResponse")->text(), QString("Word/phrase:"));
}

void TestMainTest::hintCommandFollowsTheFocus() {
  TForm f;
  f.form.Settings().Options.DisallowHints = true;
  TRIGGER_ACTION(&f.form, "miTestStartTesting");
  const TVocabItem& item = f.Current();
  auto* response = f.Get<TSymbolEdit>("edtResponse");
  QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(response));
  f.form.UpdateCommands();
  f.Key(Qt::Key_H, Qt::ControlModifier);
  QCOMPARE(response->AnsiText(), item.Values[Native].substr(0, 1));
  response->SetAnsiText(item.Values[Native]);
  QTest::keyClick(response, Qt::Key_Return);
  // Shown and heard as right, recorded as wrong.
  QCOMPARE(f.Status(), QString("Right!"));
  QCOMPARE(f.sounds.last(), DefaultSoundPath("Clap.wav"));
  QCOMPARE(f.form.Vocab().CorrectCount(), 0);
  QVERIFY(!item.IsLearnt());
  f.form.UpdateCommands();
  QVERIFY(!f.Action("miTestHint")->isEnabled());

  // In the choice list there is nothing to reveal.
  TRIGGER_ACTION(&f.form, "miTestMultipleChoice");
  f.form.UpdateCommands();
  QVERIFY(!f.Action("miTestHint")->isEnabled());
}

// Escape, a double-click on the question (then the edit dialog) and opening a file end a run.
void TestMainTest::leavingTesting() {
  TForm f;
  TRIGGER_ACTION(&f.form, "miTestStartTesting");
  f.Key(Qt::Key_Escape);
  QCOMPARE(f.form.ViewMode(), vmList);

  TRIGGER_ACTION(&f.form, "miTestStartTesting");
  const TVocabItem* asked = &f.Current();
  std::string edited;
  TScopedSeam<std::function<bool(TEditData&)>> editDialog(f.form.EditDialogRunner,
                                                          [&](TEditData& data) {
                                                            edited = data.Values[Foreign];
                                                            return false;
                                                          });
  QTest::mouseDClick(f.Get("pbQuestion"), Qt::LeftButton);
  QCOMPARE(f.form.ViewMode(), vmList);
  QCOMPARE(edited, asked->Values[Foreign]);
  QCOMPARE(&f.Current(), asked);

  TRIGGER_ACTION(&f.form, "miTestStartTesting");
  const QString other = f.dir.filePath("Other.doz");
  WriteVocabulary(other, {{"Tisch", "n", "", "table"}});
  TFileDialogAnswer open(OpenFileDialog, other);
  TRIGGER_ACTION(&f.form, "miFileOpen");
  QCOMPARE(f.form.ViewMode(), vmList);
  QCOMPARE(f.form.Vocab().Count(), 1);
  TRIGGER_ACTION(&f.form, "miTestStartTesting");
  QCOMPARE(f.Current().Values[Foreign], std::string("Tisch"));
}

void TestMainTest::testSettingsAreKept() {
  QTemporaryDir dir;
  const QString ini = dir.filePath("settings.ini");
  {
    TSettingsStore store(ini);
    WriteInteger(store, "TestMode", 1);
    WriteBool(store, "MultipleChoice", true);
  }
  {
    TSettingsStore store(ini);
    TMainForm form(&store);
    auto* panel = form.findChild<TTestPanel*>("pnlTest");
    QCOMPARE(panel->Run().TestMode, kTestActive);
    QVERIFY(panel->Run().MultipleChoice);
    panel->Run().TestMode = kTestPassive;
    panel->Run().MultipleChoice = false;
    form.close();
  }
  TSettingsStore store(ini);
  QCOMPARE(ReadInteger(store, "TestMode", -1), 0);
  QCOMPARE(ReadBool(store, "MultipleChoice", true), false);
}

void TestMainTest::panelFollowsTheDisplayFont() {
  TForm f;
  TScopedSeam<std::function<bool(TFontSetting&)>> fontDialog(f.form.FontDialogRunner,
                                                             [](TFontSetting& font) {
                                                               font.Size = 18;
                                                               return true;
                                                             });
  TRIGGER_ACTION(&f.form, "miTestStartTesting");
  TRIGGER_ACTION(&f.form, "miViewFont");
  for (const char* name :
       {"pbQuestion", "edtTestCategory", "edtTestNotes", "edtResponse", "lbChoice"}) {
    QCOMPARE(f.Get(name)->font().pointSize(), 18);
  }
  QCOMPARE(f.Get<TChoiceList>("lbChoice")->RowHeight(),
           QFontMetrics(f.Get("lbChoice")->font()).height() + 6);
}

// Writes the testing screenshots when DADEZIVU_SCREENSHOTS names the folder.
void TestMainTest::screenshots() {
  const QString folder = qEnvironmentVariable("DADEZIVU_SCREENSHOTS");
  if (folder.isEmpty()) QSKIP("DADEZIVU_SCREENSHOTS not set");
  TForm f;
  QVERIFY(
      f.form.OpenFile(QStringLiteral(DADEZIVU_SOURCE_DIR "/resources/samples/German-English.doz")));
  f.form.SetViewMode(vmList);
  TRIGGER_ACTION(&f.form, "miTestStartTesting");
  // Two letters of the answer, revealed by hints.
  f.Key(Qt::Key_H, Qt::ControlModifier);
  f.Key(Qt::Key_H, Qt::ControlModifier);
  f.form.UpdateCommands();
  QVERIFY(f.form.grab().save(folder + "/test-typed.png"));
  f.Answer(false);
  f.form.UpdateCommands();
  QVERIFY(f.form.grab().save(folder + "/test-wrong.png"));
  f.Continue();
  TRIGGER_ACTION(&f.form, "miTestMultipleChoice");
  QTest::keyClick(f.Get("lbChoice"), Qt::Key_Down);
  f.form.UpdateCommands();
  QVERIFY(f.form.grab().save(folder + "/test-choice.png"));
}

// Ctrl+R after a wrong answer, then Save: the file counts one question answered correctly.
void TestMainTest::iWasRightThenSaveCountsARightAnswer() {
  TForm f({{"Haus", "n", "", "house"}});
  TRIGGER_ACTION(&f.form, "miTestStartTesting");
  f.form.UpdateCommands();
  QVERIFY(!f.Action("miTestIWasRight")->isEnabled());
  f.Answer(false);
  QCOMPARE(f.Status(), QString("Wrong!"));
  f.form.UpdateCommands();
  QVERIFY(f.Action("miTestIWasRight")->isEnabled());
  f.Key(Qt::Key_R, Qt::ControlModifier);
  QCOMPARE(f.Status(), QString("Right!"));
  QVERIFY(!f.Action("miTestIWasRight")->isEnabled());
  TRIGGER_ACTION(&f.form, "miFileSave");
  QFile saved(f.dir.filePath("Sample.doz"));
  QVERIFY(saved.open(QIODevice::ReadOnly));
  const QByteArray bytes = saved.readAll();
  int32_t questions = 0, correct = 0;
  std::memcpy(&questions, bytes.constData() + 17, 4);
  std::memcpy(&correct, bytes.constData() + 21, 4);
  QCOMPARE(questions, 1);
  QCOMPARE(correct, 1);
}

QTEST_MAIN(TestMainTest)
#include "tst_maintest.moc"
