// SPDX-License-Identifier: MIT
// The Test menu of the main window: starting and stopping a test run, its direction, multiple
// choice, hints and statistics, and the keys that steer a run.
#include <QFile>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStackedWidget>
#include <QTimer>

#include "app/MainFrm.h"
#include "app/Recovery.h"
#include "app/TestPanel.h"
#include "app/VocabGrid.h"
#include "dialogs/StatsDlg.h"
#include "platform/DlgUtils.h"
#include "platform/ErrorHandler.h"

void TMainForm::CreateTestMenu() {
  miTest = menuBar()->addMenu(tr("&Test"));
  miTest->setObjectName("miTest");
  miTest->setStatusTip(tr("Commands for testing vocabulary"));
  miTestStartTesting =
      AddCommand(miTest, "miTestStartTesting", 2200, tr("Start &Testing"),
                 tr("Starts or stops vocabulary testing"), QKeySequence(Qt::CTRL | Qt::Key_T),
                 tiStartTesting, &TMainForm::miTestStartTestingClick);
  miTest->addSeparator();
  miTestPassive =
      AddCommand(miTest, "miTestPassive", 2201, tr("Into &Native Language"),
                 tr("Changes the testing direction"), QKeySequence(Qt::CTRL | Qt::Key_E),
                 tiIntoNative, &TMainForm::miTestPassiveClick);
  miTestActive = AddCommand(miTest, "miTestActive", 2202, tr("Into &Foreign Language"),
                            tr("Changes the testing direction"), QKeySequence(Qt::CTRL | Qt::Key_L),
                            tiIntoForeign, &TMainForm::miTestActiveClick);
  miTest->addSeparator();
  miTestMultipleChoice =
      AddCommand(miTest, "miTestMultipleChoice", 2203, tr("&Multiple Choice"),
                 tr("Turns multiple choice testing on or off"), QKeySequence(Qt::CTRL | Qt::Key_M),
                 tiMultipleChoice, &TMainForm::miTestMultipleChoiceClick);
  miTest->addSeparator();
  miTestHint = AddCommand(miTest, "miTestHint", 2204, tr("&Hint"),
                          tr("Reveals the correct answer letter by letter"),
                          QKeySequence(Qt::CTRL | Qt::Key_H), tiHint, &TMainForm::miTestHintClick);
  miTestIWasRight =
      AddCommand(miTest, "miTestIWasRight", 2210, tr("I Was &Right"),
                 tr("Counts the answer just marked wrong as right"),
                 QKeySequence(Qt::CTRL | Qt::Key_R), tiNone, &TMainForm::miTestIWasRightClick);
  miTestStatistics =
      AddCommand(miTest, "miTestStatistics", 2205, tr("&Statistics..."),
                 tr("Displays testing statistics for the current file"), QKeySequence(Qt::Key_F9),
                 tiStatistics, &TMainForm::miTestStatisticsClick);
  miTest->addSeparator();
  miTestClearHistory = AddCommand(miTest, "miTestClearHistory", 2208, tr("Clear Histor&y"),
                                  tr("Removes the study history of the current file"), {}, tiNone,
                                  &TMainForm::miTestClearHistoryClick);
  miTestExportHistory =
      AddCommand(miTest, "miTestExportHistory", 2209, tr("E&xport History..."),
                 tr("Saves the study history of the current file as comma-delimited text"), {},
                 tiNone, &TMainForm::miTestExportHistoryClick);
  for (QAction* item : {miTestStartTesting, miTestPassive, miTestActive, miTestMultipleChoice}) {
    item->setCheckable(true);
  }
  CreateSpeechCommands();
}

void TMainForm::CreateTestPanel() {
  pnlTest = new TTestPanel(pnlViews);
  pnlTest->SetVocabulary(m_Vocab.get());
  pnlTest->SetSettings(&m_Settings);
  // Every answer ends here; the recovery copy keeps the answers' statistics.
  pnlTest->NextQuestion = [this] {
    if (SelectQuestionOrFinish()) {
      pnlTest->ShowQuestion();
    } else {
      SetViewMode(vmList);
    }
    m_Recovery->AnswerGiven();
  };
  pnlTest->AnswerRecorded = [this](int32_t answerMs) { RecordHistory(answerMs); };
  pnlTest->QuestionDoubleClicked = [this] { RunCommand([this] { pnlQuestionDblClick(); }); };
  pnlTest->QuestionShown = [this] { QuestionShown(); };
  pnlTest->ResultShown = [this] { ResultShown(); };
  pnlTest->AnswerChanged = [this] { m_Recovery->AnswerGiven(); };
  pnlTest->AnswerRevised = [this] { ReviseHistory(); };
  QList<QKeySequence> keys;
  for (const QAction* item : miTest->actions()) {
    if (!item->shortcut().isEmpty()) keys << item->shortcut();
  }
  pnlTest->SetCommandKeys(keys);
  pnlViews->addWidget(pnlTest);

  // Keys the window takes before the focused control, only while the panel is shown.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), pnlTest);
  escape->setContext(Qt::WidgetWithChildrenShortcut);
  connect(escape, &QShortcut::activated, this, [this] {
    if (m_ViewMode == vmTest) RunCommand([this] { SetViewMode(vmList); });
  });
  // Ctrl alone: Ctrl+Shift+Tab and Ctrl+Alt+Tab are other key sequences.
  auto* swap = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), pnlTest);
  swap->setContext(Qt::WidgetWithChildrenShortcut);
  connect(swap, &QShortcut::activated, this, [this] {
    if (m_ViewMode != vmTest) return;
    RunCommand([this] {
      if (pnlTest->Run().TestMode == kTestPassive) {
        miTestActiveClick();
      } else {
        miTestPassiveClick();
      }
    });
  });
}

bool TMainForm::SelectQuestionOrFinish() {
  if (m_Vocab->SelectNextQuestion()) return true;
  QString message = tr("You have learnt all the vocabulary in %1.\n"
                       "Statistics must be reset before testing resumes...")
                        .arg(FileTitle(QFile::decodeName(m_Vocab->FileName().c_str())));
  // The last entry was learnt during this run.
  if (m_ViewMode == vmTest) message = tr("Congratulations!") + "\n\n" + message;
  ShowMessageBox(message, QString(), kMbNotice);
  miTestStatisticsClick();
  return m_Vocab->SelectNextQuestion();
}

void TMainForm::TestSettingsChanged() {
  if (SelectQuestionOrFinish()) {
    pnlTest->LayoutTestPanel();
    pnlTest->ShowQuestion();
  } else {
    SetViewMode(vmList);
  }
}

void TMainForm::miTestStartTestingClick() {
  if (m_ViewMode == vmTest) {
    SetViewMode(vmList);
  } else if (SelectQuestionOrFinish()) {
    SetViewMode(vmTest);
  }
}

void TMainForm::SetTestMode(uint8_t mode) {
  TTestRun& run = pnlTest->Run();
  if (m_ViewMode != vmTest) {
    run.TestMode = mode;
    miTestStartTestingClick();
  } else if (run.TestMode != mode) {
    run.TestMode = mode;
    TestSettingsChanged();
  }
}

void TMainForm::miTestPassiveClick() {
  SetTestMode(kTestPassive);
}

void TMainForm::miTestActiveClick() {
  SetTestMode(kTestActive);
}

void TMainForm::miTestMultipleChoiceClick() {
  TTestRun& run = pnlTest->Run();
  if (m_ViewMode == vmTest) {
    run.MultipleChoice = !run.MultipleChoice;
    TestSettingsChanged();
  } else {
    // While editing the command always turns multiple choice on.
    run.MultipleChoice = true;
    miTestStartTestingClick();
  }
}

void TMainForm::miTestHintClick() {
  pnlTest->miTestHintClick();
}

void TMainForm::miTestIWasRightClick() {
  pnlTest->miTestIWasRightClick();
}

void TMainForm::miTestStatisticsClick() {
  THistoryPageData history = HistoryPageData();
  // Accepted means reset.
  if (!RunDialog<TStatisticsDialog>(StatisticsDialogRunner, *m_Vocab, &history)) {
    if (history.ShowItem >= 0) ShowInList(history.ShowItem);
    return;
  }
  m_Vocab->ResetStatistics();
  // Learnt entries lose their colour.
  if (m_ViewMode == vmList) dgVocab->viewport()->update();
}

void TMainForm::pnlQuestionDblClick() {
  SetViewMode(vmList);
  if (m_Vocab->ItemIndex() >= 0) miEditEditClick();
}

void TMainForm::UpdateTestCommands() {
  const bool testing = m_ViewMode == vmTest;
  const bool canTest = m_ViewMode != vmNone && m_Vocab->Count() > 0;
  const TTestRun& run = pnlTest->Run();
  // Only real changes reach the actions: every change repaints menus and tool buttons.
  const auto set = [](QAction* action, bool enabled, bool checked) {
    if (action->isEnabled() != enabled) action->setEnabled(enabled);
    if (action->isChecked() != checked) action->setChecked(checked);
  };
  set(miTestStartTesting, canTest, testing);
  const QString caption = testing ? tr("Stop &Testing") : tr("Start &Testing");
  if (miTestStartTesting->text() != caption) miTestStartTesting->setText(caption);
  // The tool button's tip follows the caption.
  const QString tip = MenuItemHint(miTestStartTesting).section('|', 0, 0);
  if (miTestStartTesting->toolTip() != tip) miTestStartTesting->setToolTip(tip);
  set(miTestPassive, canTest, testing && run.TestMode == kTestPassive);
  set(miTestActive, canTest, testing && run.TestMode == kTestActive);
  set(miTestMultipleChoice, canTest, testing && run.MultipleChoice);
  set(miTestHint, testing && pnlTest->HintAvailable(), false);
  set(miTestIWasRight, testing && pnlTest->ReviseAvailable(), false);
  set(miTestStatistics, m_ViewMode != vmNone, false);
  UpdateSpeechCommands();
  set(miTestClearHistory, m_ViewMode != vmNone, false);
  set(miTestExportHistory, m_ViewMode != vmNone, false);
  if (!m_HistoryNotice.isEmpty() && !testing) {
    QTimer::singleShot(0, this, [this] { ShowHistoryNotice(); });
  }
}
