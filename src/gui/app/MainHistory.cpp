// SPDX-License-Identifier: MIT
// The main window's study history: recording answers, the History page's data, clearing and
// exporting the open file's history.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

#include <ctime>
#include <unordered_map>

#include "app/MainFrm.h"
#include "app/TestPanel.h"
#include "app/VocabGrid.h"
#include "platform/DlgUtils.h"
#include "platform/FileDialogs.h"
#include "platform/Hourglass.h"
#include "text/DrawItem.h"

namespace {
// Answers that had to wait are tried again after this long.
constexpr int kRetryMs = 5000;
constexpr int32_t kHardestMinAnswers = 3;
constexpr size_t kHardestCount = 20;
}  // namespace

THistoryStore& TMainForm::History() {
  if (!m_History) {
    const QString path =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/history.sqlite";
    m_History = std::make_unique<THistoryStore>(QFile::encodeName(path).toStdString());
    m_HistoryRetry = new QTimer(this);
    m_HistoryRetry->setSingleShot(true);
    m_HistoryRetry->setInterval(kRetryMs);
    connect(m_HistoryRetry, &QTimer::timeout, this, [this] {
      if (!m_History->Flush()) m_HistoryRetry->start();
    });
  }
  return *m_History;
}

std::string TMainForm::HistoryKey() {
  if (!m_Vocab->FileName().empty()) return HistoryVocabularyKey(m_Vocab->FileName());
  if (m_UntitledHistoryKey.empty()) m_UntitledHistoryKey = HistoryVocabularyKey("");
  return m_UntitledHistoryKey;
}

void TMainForm::RecordHistory(int32_t answerMs) {
  m_LastAnswerInHistory = m_Settings.KeepHistory;
  if (!m_Settings.KeepHistory) return;
  const TVocabItem& item = m_Vocab->CurrentItem();
  const TTestRun& run = pnlTest->Run();
  THistoryAnswer answer;
  answer.Vocabulary = HistoryKey();
  answer.Foreign = item.Values[0];
  answer.Native = item.Values[3];
  answer.Entry = HistoryEntryKey(answer.Foreign, answer.Native);
  answer.Time = time(nullptr);
  answer.Day = LocalDay(answer.Time);
  answer.Direction = run.TestMode;
  answer.MultipleChoice = run.MultipleChoice;
  answer.Right = run.RecordedRight(m_Settings.Options);
  answer.HintUsed = run.HintUsed;
  answer.AnswerMs = answerMs;
  answer.LearntCount = m_Vocab->LearntCount();
  THistoryStore& history = History();
  history.Record(answer);
  if (history.Pending() > 0 && !m_HistoryRetry->isActive()) m_HistoryRetry->start();
  KeepHistoryNotice();
}

void TMainForm::ReviseHistory() {
  // With the history off for the answer, the last row belongs to an older answer.
  if (!m_LastAnswerInHistory) return;
  History().ReviseLast(pnlTest->Run().RecordedRight(m_Settings.Options), m_Vocab->LearntCount());
}

THistoryPageData TMainForm::HistoryPageData() {
  THistoryPageData data;
  THistoryStore& history = History();
  const std::string key = HistoryKey();
  data.Today = LocalDay(time(nullptr));
  data.Days = history.Days(key, data.Today - 364, data.Today);
  data.Streak = history.Streak(key, data.Today);
  // Only entries the file still holds can be shown in the list.
  std::unordered_map<uint64_t, int32_t> entries;
  const auto present = [&](uint64_t entry) {
    if (entries.empty()) {
      for (int32_t i = m_Vocab->Count() - 1; i >= 0; --i) {
        const TVocabItem& item = m_Vocab->GetItem(i);
        entries[HistoryEntryKey(item.Values[0], item.Values[3])] = i;
      }
    }
    return entries.contains(entry);
  };
  for (const THistoryEntry& e : history.Hardest(key, kHardestMinAnswers, kHardestCount, present)) {
    const QString text = VocabText(e.Foreign, m_Vocab->ForeignLangID()) +
                         QStringLiteral(" \u2013 ") + VocabText(e.Native, m_Vocab->NativeLangID());
    data.Hardest.push_back({text, e.Answers, e.Wrong, entries.at(e.Entry)});
  }
  KeepHistoryNotice();
  return data;
}

void TMainForm::ShowInList(int32_t index) {
  if (m_ViewMode == vmTest) SetViewMode(vmList);
  m_Vocab->SetItemIndex(index);
  dgVocab->RefreshList();
}

void TMainForm::KeepHistoryNotice() {
  // A notice waiting for the test run to end stays until it is shown.
  const std::string moved = History().TakeDamagedNotice();
  if (!moved.empty()) m_HistoryNotice = QFile::decodeName(moved.c_str());
}

void TMainForm::ShowHistoryNotice() {
  const QString moved = std::exchange(m_HistoryNotice, QString());
  if (moved.isEmpty()) return;
  ShowMessageBox(tr("The study history was damaged. It was moved aside as %1, and a new one was "
                    "started.")
                     .arg(QDir::toNativeSeparators(moved)),
                 QString(), kMbNotice);
}

void TMainForm::miTestClearHistoryClick() {
  const QString title = FileTitle(QFile::decodeName(m_Vocab->FileName().c_str()));
  if (ShowMessageBox(tr("Remove the study history of %1?").arg(title), QString(), kMbQuestion) !=
      kIdYes) {
    return;
  }
  History().Clear(HistoryKey());
}

void TMainForm::miTestExportHistoryClick() {
  const QString fileName = QFile::decodeName(m_Vocab->FileName().c_str());
  TFileDialogRequest request;
  request.Title = tr("Export History");
  request.Filter = tr("Text (Comma-delimited) (*.csv)|*.csv|All Files (*.*)|*.*");
  request.FilterIndex = 1;
  request.DefaultExt = "csv";
  if (fileName.isEmpty()) {
    request.InitialDir = QDir::currentPath();
  } else {
    const QFileInfo info(fileName);
    request.InitialDir = info.absolutePath();
    request.FileName = tr("%1 history").arg(info.completeBaseName());
  }
  dgVocab->ClearCutMark();
  if (!SaveFileDialog(this, request)) return;
  const QString path =
      WithTypeExtension(request.FileName, request.Filter, request.FilterIndex, request.DefaultExt);
  THourglass hourglass;
  ExportHistory(History(), HistoryKey(), m_Vocab->ForeignLangID(), m_Vocab->NativeLangID(),
                QFile::encodeName(path).toStdString());
}
