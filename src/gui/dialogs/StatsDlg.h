// SPDX-License-Identifier: MIT
// The statistics dialog, which shows testing progress and can reset it.
#pragma once

#include "platform/Dialog.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class TVocabFile;

// The testing progress and success rate of a vocabulary, and the one place to reset them. The
// values are a snapshot taken on creation. Closes with Accepted only when the statistics are to
// be reset.
class TStatisticsDialog : public TDialog {
  Q_OBJECT
public:
  TStatisticsDialog(QWidget* owner, const TVocabFile& vocab);

  QTabWidget* pcStatistics = nullptr;
  QLabel* lblLearnt = nullptr;
  QLabel* lblCount = nullptr;
  QLabel* lblProgress = nullptr;
  QProgressBar* pbrProgress = nullptr;
  QLabel* lblCorrect = nullptr;
  QLabel* lblAttempted = nullptr;
  QLabel* lblSuccess = nullptr;
  QLabel* lblRevised = nullptr;
  QLabel* lblSlips = nullptr;
  QCheckBox* chbReset = nullptr;

protected:
  void showEvent(QShowEvent* event) override;

private:
  void OkClick() override;
};
