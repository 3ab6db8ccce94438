// SPDX-License-Identifier: MIT
// Tests of the statistics dialog.
#include <QBarSet>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QScatterSeries>
#include <QSignalSpy>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

#include "dialogs/StatsDlg.h"
#include "vocab/VocFile.h"

namespace {
// A vocabulary of count entries, learnt of them learnt, after the given answers.
struct TVocab {
  TVocab(int count, int learnt, int right, int wrong) {
    for (int i = 0; i < count; ++i) {
      v.EditItem().Values = {"w" + std::to_string(i), "", "", "t"};
      v.AddItem(2);
    }
    v.SetItemIndex(count - 1);
    for (int i = 0; i < wrong; ++i) v.RecordAnswer(false, 3);
    for (int i = 0; i < right; ++i) v.RecordAnswer(true, 3);
    // The answers only count; which entries are learnt is set here.
    for (int i = 0; i < count; ++i) v.GetItem(i).PenaltyPoints = i < learnt ? -1 : 0;
  }
  TVocabFile v;
};
}  // namespace

class TestStatisticsDialog : public QObject {
  Q_OBJECT
private slots:
  void showsTheCountsAndPercentages();
  void anEmptyVocabularyShowsZeros();
  void onlyOkWithTheTickResets();
  void helpNamesThePage();
  void historyPageChartsTheDays();
  void countsRevisedAnswersAndSlips();
};

void TestStatisticsDialog::countsRevisedAnswersAndSlips() {
  TVocab vocab(3, 0, 0, 0);
  vocab.v.RecordAnswer(false, 3);
  vocab.v.ReviseAnswer(0, 3);
  vocab.v.CountSlip();
  vocab.v.CountSlip();
  TStatisticsDialog dialog(nullptr, vocab.v);
  QCOMPARE(dialog.lblRevised->text(), QString("1"));
  QCOMPARE(dialog.lblSlips->text(), QString("2"));
  QCOMPARE(dialog.lblCorrect->text(), QString("1"));
}

void TestStatisticsDialog::showsTheCountsAndPercentages() {
  struct Case {
    int count, learnt, right, wrong;
    const char* progress;
    const char* success;
  } cases[] = {
      {3, 1, 1, 2, "33%", "33%"},
      {3, 2, 2, 1, "67%", "67%"},
      {8, 1, 1, 7, "13%", "13%"},
  };
  for (const Case& c : cases) {
    TVocab vocab(c.count, c.learnt, c.right, c.wrong);
    TStatisticsDialog dialog(nullptr, vocab.v);
    QCOMPARE(dialog.lblLearnt->text(), QString::number(c.learnt));
    QCOMPARE(dialog.lblCount->text(), QString::number(c.count));
    QCOMPARE(dialog.lblProgress->text(), QString(c.progress));
    QCOMPARE(dialog.lblCorrect->text(), QString::number(c.right));
    QCOMPARE(dialog.lblAttempted->text(), QString::number(c.right + c.wrong));
    QCOMPARE(dialog.lblSuccess->text(), QString(c.success));
    QCOMPARE(dialog.pbrProgress->maximum(), c.count);
    QCOMPARE(dialog.pbrProgress->value(), c.learnt);
    QVERIFY(dialog.chbReset->isEnabled());
    QCOMPARE(dialog.pcStatistics->currentIndex(), 0);
  }
}

void TestStatisticsDialog::anEmptyVocabularyShowsZeros() {
  TVocabFile empty;
  TStatisticsDialog dialog(nullptr, empty);
  QCOMPARE(dialog.lblCount->text(), QString("0"));
  QCOMPARE(dialog.lblProgress->text(), QString("0%"));
  QCOMPARE(dialog.lblSuccess->text(), QString("0%"));
  QCOMPARE(dialog.pbrProgress->value(), 0);
  QVERIFY2(dialog.pbrProgress->maximum() > 0, "an empty bar, not the busy indicator");
  QVERIFY(!dialog.chbReset->isEnabled());
  QCOMPARE(dialog.lblRevised->text() + dialog.lblSlips->text(), QString("00"));

  // After a reset nothing has been attempted, edits or not.
  TVocab vocab(2, 1, 1, 0);
  vocab.v.ResetStatistics();
  vocab.v.EditItem().Values[0] = "edited";
  vocab.v.ReplaceCurrent();
  TStatisticsDialog reset(nullptr, vocab.v);
  QVERIFY(!reset.chbReset->isEnabled());
}

void TestStatisticsDialog::onlyOkWithTheTickResets() {
  TVocab vocab(3, 1, 1, 1);
  {
    TStatisticsDialog dialog(nullptr, vocab.v);
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
  }
  {
    TStatisticsDialog dialog(nullptr, vocab.v);
    dialog.chbReset->setChecked(true);
    QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
  }
  TStatisticsDialog dialog(nullptr, vocab.v);
  dialog.chbReset->setChecked(true);
  QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void TestStatisticsDialog::helpNamesThePage() {
  TVocab vocab(1, 0, 0, 0);
  TStatisticsDialog dialog(nullptr, vocab.v);
  QSignalSpy help(&dialog, &TStatisticsDialog::helpRequested);
  QTest::mouseClick(dialog.btnHelp, Qt::LeftButton);
  dialog.pcStatistics->setCurrentIndex(1);
  QTest::mouseClick(dialog.btnHelp, Qt::LeftButton);
  QCOMPARE(help.count(), 2);
  QCOMPARE(help[0][0].toInt(), 3101);
  QCOMPARE(help[1][0].toInt(), 3102);
}

// The History page: bars per day of the chosen period, the sums, and Show in List.
void TestStatisticsDialog::historyPageChartsTheDays() {
  TVocab vocab(3, 0, 0, 0);
  THistoryPageData history;
  history.Today = 20000;
  history.Days = {{19900, 1, 0, 60000, 1}, {19960, 4, 1, 30000, 2}, {20000, 2, 3, 3600000, 3}};
  history.Streak = 1;
  history.Hardest = {{"Haus \u2013 house", 4, 3, 2}, {"Baum \u2013 tree", 5, 2, 0}};
  TStatisticsDialog dialog(nullptr, vocab.v, &history);
  QCOMPARE(dialog.pcStatistics->count(), 3);
  QCOMPARE(dialog.pcStatistics->tabText(2), QString("History"));
  QCOMPARE(dialog.lblStreak->text(), QString("Study streak: 1 day"));

  struct Case {
    int period;
    QList<qreal> right, wrong;  // of the last 41 days of the period
    int learntPoints;
    const char* time;
  } cases[] = {
      {30, {}, {}, 2, "Time spent: 1 h 0 min"},
      {90, QList<qreal>(41, 0), QList<qreal>(41, 0), 3, "Time spent: 1 h 1 min"},
      {365, QList<qreal>(41, 0), QList<qreal>(41, 0), 3, "Time spent: 1 h 2 min"},
  };
  cases[0].right = cases[0].wrong = QList<qreal>(30, 0);
  cases[0].right[29] = 2;
  cases[0].wrong[29] = 3;
  for (Case* c : {&cases[1], &cases[2]}) {
    c->right[0] = 4;
    c->wrong[0] = 1;
    c->right[40] = 2;
    c->wrong[40] = 3;
  }
  for (int i = 0; i < 3; ++i) {
    dialog.cbHistoryPeriod->setCurrentIndex(i);
    const Case& c = cases[i];
    auto* bars = qobject_cast<QStackedBarSeries*>(dialog.chvAnswers->chart()->series().at(0));
    QVERIFY(bars);
    QCOMPARE(bars->barSets().at(0)->count(), c.period);
    QList<qreal> right, wrong;
    for (int d = c.period - int(c.right.size()); d < c.period; ++d) {
      right << bars->barSets().at(0)->at(d);
      wrong << bars->barSets().at(1)->at(d);
    }
    QCOMPARE(right, c.right);
    QCOMPARE(wrong, c.wrong);
    // The last day's share right (2 of 5) as a marker, which the bars cannot cover.
    auto* shares = qobject_cast<QScatterSeries*>(dialog.chvAnswers->chart()->series().at(2));
    QVERIFY(shares);
    QCOMPARE(shares->at(shares->count() - 1), QPointF(c.period - 1, 40));
    auto* learnt = qobject_cast<QLineSeries*>(dialog.chvLearnt->chart()->series().at(0));
    QCOMPARE(learnt->count(), c.learntPoints);
    QCOMPARE(learnt->at(learnt->count() - 1), QPointF(c.period - 1, 3));
    QCOMPARE(dialog.lblTimeSpent->text(), QString(c.time));
  }

  QCOMPARE(dialog.lvHardest->topLevelItemCount(), 2);
  QCOMPARE(dialog.lvHardest->topLevelItem(0)->text(2), QString("75%"));
  QVERIFY(!dialog.btnShowInList->isEnabled());
  dialog.lvHardest->setCurrentItem(dialog.lvHardest->topLevelItem(0));
  QTest::mouseClick(dialog.btnShowInList, Qt::LeftButton);
  QCOMPARE(history.ShowItem, 2);
  QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

QTEST_MAIN(TestStatisticsDialog)
#include "tst_statsdlg.moc"
