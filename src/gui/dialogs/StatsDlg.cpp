// SPDX-License-Identifier: MIT
// The statistics dialog: progress and success-rate pages, the history page and the reset choice.
#include "dialogs/StatsDlg.h"

#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGraphicsLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QScatterSeries>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

#include "platform/DlgUtils.h"
#include "text/TextUtils.h"
#include "vocab/VocFile.h"

namespace {
constexpr int kHelpTopic = 3101;

QLabel* Value(const char* name, const QString& text) {
  auto* label = new QLabel(text);
  label->setObjectName(name);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

QString Percent(int32_t part, int32_t whole) {
  return QString::fromStdString(FormatPercent(part, whole));
}

template <typename T>
T* Named(T* object, const char* name) {
  object->setObjectName(name);
  return object;
}

// The x axis of days first .. first + days - 1 at 0 .. days - 1, with a date label at regular
// steps that end on the last day.
QCategoryAxis* DayAxis(int32_t first, int days) {
  auto* axis = new QCategoryAxis;
  axis->setRange(-0.5, days - 0.5);
  axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  const int step = days <= 30 ? 7 : days <= 90 ? 14 : 61;
  const QDate epoch(1970, 1, 1);
  for (int i = (days - 1) % step; i < days; i += step) {
    axis->append(QLocale().toString(epoch.addDays(first + i), QStringLiteral("d MMM")), i);
  }
  return axis;
}

QValueAxis* CountAxis(double max, const QString& format = QStringLiteral("%d")) {
  auto* axis = new QValueAxis;
  axis->setLabelFormat(format);
  // Whole-number steps, at most five of them: a small count must not label fractions as "0".
  const int top = std::max(static_cast<int>(std::ceil(max)), 1);
  const int step = (top + 4) / 5;
  const int steps = (top + step - 1) / step;
  axis->setRange(0, steps * step);
  axis->setTickCount(steps + 1);
  return axis;
}

// Gives view the new chart and frees the one it showed.
void ReplaceChart(QChartView* view, QChart* chart) {
  QChart* old = view->chart();
  // The plot gets the room: a small dialog page has none to spare around it.
  chart->setMargins(QMargins(2, 2, 2, 2));
  chart->layout()->setContentsMargins(0, 0, 0, 0);
  chart->setBackgroundRoundness(0);
  chart->legend()->setAlignment(Qt::AlignBottom);
  view->setChart(chart);
  delete old;
}

QString Duration(int64_t ms) {
  const int64_t minutes = (ms + 30000) / 60000;
  if (minutes < 60) return QObject::tr("%1 min").arg(minutes);
  return QObject::tr("%1 h %2 min").arg(minutes / 60).arg(minutes % 60);
}
}  // namespace

TStatisticsDialog::TStatisticsDialog(QWidget* owner, const TVocabFile& vocab,
                                     THistoryPageData* history)
    : TDialog(owner, kHelpTopic), m_History(history) {
  setObjectName("StatisticsDialog");
  setWindowTitle(tr("Statistics"));
  const int32_t count = vocab.Count();
  const int32_t learnt = vocab.LearntCount();
  const int32_t correct = vocab.CorrectCount();
  const int32_t attempted = vocab.QuestionCount();

  pcStatistics = new QTabWidget;
  pcStatistics->setObjectName("pcStatistics");

  auto* progressPage = new QWidget;
  auto* progress = new QFormLayout(progressPage);
  lblLearnt = Value("lblLearnt", QString::number(learnt));
  lblCount = Value("lblCount", QString::number(count));
  lblProgress = Value("lblProgress", Percent(learnt, count));
  progress->addRow(tr("Words learnt:"), lblLearnt);
  progress->addRow(tr("Words in file:"), lblCount);
  progress->addRow(tr("Progress:"), lblProgress);
  pbrProgress = new QProgressBar;
  pbrProgress->setObjectName("pbrProgress");
  pbrProgress->setTextVisible(false);
  // A range of 0..0 would show the moving busy indicator instead of an empty bar.
  pbrProgress->setRange(0, std::max(count, 1));
  pbrProgress->setValue(learnt);
  pbrProgress->setFocusPolicy(Qt::StrongFocus);
  progress->addRow(pbrProgress);
  pcStatistics->addTab(progressPage, tr("Progress"));

  auto* successPage = new QWidget;
  auto* success = new QFormLayout(successPage);
  lblCorrect = Value("lblCorrect", QString::number(correct));
  lblAttempted = Value("lblAttempted", QString::number(attempted));
  lblSuccess = Value("lblSuccess", Percent(correct, attempted));
  success->addRow(tr("Questions answered correctly:"), lblCorrect);
  success->addRow(tr("Questions attempted:"), lblAttempted);
  success->addRow(tr("Success rate:"), lblSuccess);
  // Counted since the file was opened; the file does not keep them.
  lblRevised = Value("lblRevised", QString::number(vocab.RevisedCount()));
  lblSlips = Value("lblSlips", QString::number(vocab.SlipCount()));
  success->addRow(tr("Answers revised as right:"), lblRevised);
  success->addRow(tr("Accepted with a typing slip:"), lblSlips);
  pcStatistics->addTab(successPage, tr("Success Rate"));
  if (m_History) pcStatistics->addTab(CreateHistoryPage(), tr("History"));

  chbReset = new QCheckBox(tr("&Reset statistics"));
  chbReset->setObjectName("chbReset");
  // Nothing to reset before a question was answered.
  chbReset->setEnabled(attempted > 0);

  CreateButtons();
  SetHelpPages(pcStatistics);
  auto* buttons = ButtonRow();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pcStatistics);
  layout->addWidget(chbReset);
  layout->addWidget(buttons);
  pcStatistics->setCurrentIndex(0);
}

void TStatisticsDialog::showEvent(QShowEvent* event) {
  TDialog::showEvent(event);
  pbrProgress->setFocus();
}

void TStatisticsDialog::OkClick() {
  // OK without the tick changes nothing.
  if (chbReset->isChecked()) {
    accept();
  } else {
    reject();
  }
}

QWidget* TStatisticsDialog::CreateHistoryPage() {
  auto* page = Named(new QWidget, "tsHistory");
  cbHistoryPeriod = Named(new QComboBox, "cbHistoryPeriod");
  for (const int days : kPeriods) cbHistoryPeriod->addItem(tr("Last %1 days").arg(days), days);
  auto* periodLabel = new QLabel(tr("&Period:"));
  periodLabel->setBuddy(cbHistoryPeriod);
  lblStreak = Named(new QLabel, "lblStreak");
  lblTimeSpent = Named(new QLabel, "lblTimeSpent");
  auto* top = new QHBoxLayout;
  top->addWidget(periodLabel);
  top->addWidget(cbHistoryPeriod);
  top->addStretch();
  top->addWidget(lblStreak);
  top->addSpacing(16);
  top->addWidget(lblTimeSpent);

  const auto chartView = [](const char* name, int height) {
    auto* view = Named(new QChartView(new QChart), name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(520, height);
    return view;
  };
  chvAnswers = chartView("chvAnswers", 230);
  chvLearnt = chartView("chvLearnt", 150);

  lvHardest = Named(new QTreeWidget, "lvHardest");
  lvHardest->setHeaderLabels({tr("Entry"), tr("Answers"), tr("Wrong")});
  lvHardest->setRootIsDecorated(false);
  lvHardest->setMinimumHeight(100);
  for (const THistoryPageData::THardEntry& e : m_History->Hardest) {
    auto* item = new QTreeWidgetItem(
        lvHardest, {e.Text, QString::number(e.Answers), Percent(e.Wrong, e.Answers)});
    item->setData(0, Qt::UserRole, e.ItemIndex);
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
  }
  lvHardest->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  lvHardest->header()->setStretchLastSection(false);
  auto* hardestLabel = new QLabel(tr("Hardest &words:"));
  hardestLabel->setBuddy(lvHardest);
  btnShowInList = Named(new QPushButton(tr("Show in &List")), "btnShowInList");
  btnShowInList->setEnabled(false);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(hardestLabel);
  bottom->addStretch();
  bottom->addWidget(btnShowInList);

  auto* layout = new QVBoxLayout(page);
  layout->addLayout(top);
  layout->addWidget(chvAnswers, 3);
  layout->addWidget(chvLearnt, 2);
  layout->addLayout(bottom);
  layout->addWidget(lvHardest, 2);

  connect(cbHistoryPeriod, &QComboBox::currentIndexChanged, this,
          [this](int index) { ShowPeriod(kPeriods[index]); });
  connect(lvHardest, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* item) { btnShowInList->setEnabled(item != nullptr); });
  connect(lvHardest, &QTreeWidget::itemActivated, this, &TStatisticsDialog::ShowInListClick);
  connect(btnShowInList, &QPushButton::clicked, this, &TStatisticsDialog::ShowInListClick);

  const int32_t streak = m_History->Streak;
  lblStreak->setText(streak == 1 ? tr("Study streak: 1 day")
                                 : tr("Study streak: %1 days").arg(streak));
  ShowPeriod(kPeriods[0]);
  return page;
}

void TStatisticsDialog::ShowPeriod(int days) {
  const int32_t first = m_History->Today - days + 1;
  std::vector<int32_t> right(days), wrong(days);
  int64_t ms = 0;
  auto* learnt = new QLineSeries;
  learnt->setName(tr("Entries learnt"));
  // A day alone is a point, not yet a line.
  learnt->setPointsVisible(true);
  for (const THistoryDay& d : m_History->Days) {
    // The line starts at the level the days before the period left.
    if (d.Day < first) {
      learnt->clear();
      learnt->append(0, d.LearntCount);
    }
    if (d.Day < first || d.Day > m_History->Today) continue;
    const int i = d.Day - first;
    right[i] = d.Right;
    wrong[i] = d.Wrong;
    ms += d.AnswerMs;
    learnt->append(i, d.LearntCount);
  }

  auto* rightSet = Named(new QBarSet(tr("Right")), "bsRight");
  auto* wrongSet = Named(new QBarSet(tr("Wrong")), "bsWrong");
  rightSet->setColor(QColor(0x2e, 0x9d, 0x3c));
  wrongSet->setColor(QColor(0xd0, 0x3b, 0x2f));
  auto* share = new QLineSeries;
  share->setName(tr("Share right"));
  share->setColor(QColor(0x20, 0x50, 0xc0));
  // Qt Charts draws lines beneath bars: the day's points go on top as markers of their own, or a
  // day between days without answers would show no share at all.
  auto* sharePoints = new QScatterSeries;
  sharePoints->setColor(share->color());
  sharePoints->setBorderColor(share->color());
  sharePoints->setMarkerSize(7);
  int32_t most = 0;
  for (int i = 0; i < days; ++i) {
    rightSet->append(right[i]);
    wrongSet->append(wrong[i]);
    const int32_t total = right[i] + wrong[i];
    most = std::max(most, total);
    if (total > 0) {
      share->append(i, 100.0 * right[i] / total);
      sharePoints->append(share->points().back());
    }
  }
  auto* bars = new QStackedBarSeries;
  bars->append(rightSet);
  bars->append(wrongSet);
  bars->setBarWidth(0.8);

  auto* answers = new QChart;
  answers->setTitle(tr("Answers per day"));
  answers->addSeries(bars);
  answers->addSeries(share);
  answers->addSeries(sharePoints);
  auto* answerDays = DayAxis(first, days);
  auto* counts = CountAxis(most);
  auto* percent = CountAxis(100, QStringLiteral("%d%%"));
  answers->addAxis(answerDays, Qt::AlignBottom);
  answers->addAxis(counts, Qt::AlignLeft);
  answers->addAxis(percent, Qt::AlignRight);
  bars->attachAxis(answerDays);
  bars->attachAxis(counts);
  share->attachAxis(answerDays);
  share->attachAxis(percent);
  sharePoints->attachAxis(answerDays);
  sharePoints->attachAxis(percent);
  ReplaceChart(chvAnswers, answers);
  answers->legend()->markers(sharePoints).constFirst()->setVisible(false);

  auto* learntChart = new QChart;
  learntChart->setTitle(tr("Entries learnt"));
  learntChart->addSeries(learnt);
  auto* learntDays = DayAxis(first, days);
  double top = 0;
  for (const QPointF& p : learnt->points()) top = std::max(top, p.y());
  // Room above the highest point, whose marker the plot's edge would cut in half.
  auto* learntAxis = CountAxis(top * 1.05);
  learntChart->addAxis(learntDays, Qt::AlignBottom);
  learntChart->addAxis(learntAxis, Qt::AlignLeft);
  learnt->attachAxis(learntDays);
  learnt->attachAxis(learntAxis);
  // An unseen copy of the percent axis gives both plots the same width, so that a day sits at
  // the same place in both and the last day's label has room.
  auto* room = CountAxis(100, QStringLiteral("%d%%"));
  room->setLabelsColor(Qt::transparent);
  room->setLineVisible(false);
  room->setGridLineVisible(false);
  learntChart->addAxis(room, Qt::AlignRight);
  learntChart->legend()->hide();
  ReplaceChart(chvLearnt, learntChart);

  lblTimeSpent->setText(tr("Time spent: %1").arg(Duration(ms)));
}

void TStatisticsDialog::ShowInListClick() {
  const QTreeWidgetItem* item = lvHardest->currentItem();
  if (!item) return;
  m_History->ShowItem = item->data(0, Qt::UserRole).toInt();
  reject();
}
