// SPDX-License-Identifier: MIT
// The statistics dialog, which shows testing progress and can reset it.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

#include "history/History.h"
#include "platform/Dialog.h"

class QChartView;
class QComboBox;
class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class TVocabFile;

// What the History page shows: the open file's days with answers (the last year), the streak
// and the entries answered wrong most often that the file still holds.
struct THistoryPageData {
  int32_t Today = 0;  // LocalDay of now
  std::vector<THistoryDay> Days;
  int32_t Streak = 0;
  struct THardEntry {
    QString Text;  // word/phrase and translations
    int32_t Answers = 0;
    int32_t Wrong = 0;
    int32_t ItemIndex = 0;  // in the open vocabulary
  };
  std::vector<THardEntry> Hardest;
  // Set by "Show in List": the entry to select once the dialog is closed; -1 for none.
  int32_t ShowItem = -1;
};

// The testing progress and success rate of a vocabulary, and the one place to reset them. The
// values are a snapshot taken on creation. Closes with Accepted only when the statistics are to
// be reset. With history, a History page follows the two pages of counters.
class TStatisticsDialog : public TDialog {
  Q_OBJECT
public:
  TStatisticsDialog(QWidget* owner, const TVocabFile& vocab, THistoryPageData* history = nullptr);

  // The periods the charts can show, in days.
  static constexpr int kPeriods[] = {30, 90, 365};

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
  // History
  QComboBox* cbHistoryPeriod = nullptr;
  QChartView* chvAnswers = nullptr;
  QChartView* chvLearnt = nullptr;
  QLabel* lblStreak = nullptr;
  QLabel* lblTimeSpent = nullptr;
  QTreeWidget* lvHardest = nullptr;
  QPushButton* btnShowInList = nullptr;

protected:
  void showEvent(QShowEvent* event) override;

private:
  void OkClick() override;
  QWidget* CreateHistoryPage();
  // Draws the charts and sums of the last days days.
  void ShowPeriod(int days);
  void ShowInListClick();

  THistoryPageData* m_History = nullptr;
};
