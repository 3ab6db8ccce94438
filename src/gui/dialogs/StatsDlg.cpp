// SPDX-License-Identifier: MIT
// The statistics dialog: progress and success-rate pages and the reset choice.
#include "dialogs/StatsDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

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
}  // namespace

TStatisticsDialog::TStatisticsDialog(QWidget* owner, const TVocabFile& vocab)
    : TDialog(owner, kHelpTopic) {
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
  pbrProgress->setRange(0, count);
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
