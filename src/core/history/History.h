// SPDX-License-Identifier: MIT
// The study history: every recorded answer in the user's SQLite database, and the sums the
// history page shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

// One recorded answer.
struct THistoryAnswer {
  std::string Vocabulary;  // HistoryVocabularyKey of the vocabulary's file
  uint64_t Entry = 0;      // HistoryEntryKey of the entry asked
  std::string Foreign;     // its word/phrase and translations as stored, for lists and export
  std::string Native;
  int64_t Time = 0;       // seconds since 1970-01-01 UTC
  int32_t Day = 0;        // LocalDay(Time)
  uint8_t Direction = 0;  // 0: into the native language, 1: into the foreign language
  bool MultipleChoice = false;
  bool Right = false;
  bool HintUsed = false;
  int32_t AnswerMs = 0;     // from the question shown to the answer given
  int32_t LearntCount = 0;  // the file's learnt entries after the answer
};

// The answers of one calendar day.
struct THistoryDay {
  int32_t Day = 0;
  int32_t Right = 0;
  int32_t Wrong = 0;
  int64_t AnswerMs = 0;
  int32_t LearntCount = 0;  // after the day's last answer
};

// The answers to one entry.
struct THistoryEntry {
  uint64_t Entry = 0;
  std::string Foreign;
  std::string Native;
  int32_t Answers = 0;
  int32_t Wrong = 0;
};

// The key of an entry: the same for the same word/phrase and translations (as stored) in every
// run and build.
uint64_t HistoryEntryKey(const std::string& foreign, const std::string& native);
// The key of a vocabulary file: its canonical path; for an untitled vocabulary (empty path) a
// name of this run's own, which a later Rename gives the file's key.
std::string HistoryVocabularyKey(const std::string& path);
// The local calendar day of time, as days since 1970-01-01.
int32_t LocalDay(int64_t time);

// The history database at one path, on one connection of its own. Writing never blocks the
// caller for longer than the busy timeout and never throws: what cannot be written now (the
// database locked by another program, read-only, the disk full) waits in memory, in order, and
// is written by a later Record or Flush. A damaged database is moved aside as
// "<path>.damaged-<date>" and a new one started; TakeDamagedNotice reports it once.
class THistoryStore {
public:
  static constexpr int kSchemaVersion = 1;
  // Operations waiting beyond this are dropped rather than kept without bound.
  static constexpr size_t kMaxPending = 100000;

  explicit THistoryStore(std::string path, int busyTimeoutMs = 50);
  // Writes what waits, allowing a longer wait for the lock.
  ~THistoryStore();
  THistoryStore(const THistoryStore&) = delete;
  THistoryStore& operator=(const THistoryStore&) = delete;

  // Adds the answer behind everything waiting and, with flush, tries to write it all.
  void Record(const THistoryAnswer& answer, bool flush = true);
  // Changes the result and learnt count of the last answer this store recorded, written or
  // still waiting. False when it recorded none (or the history of its file was cleared).
  bool ReviseLast(bool right, int32_t learntCount);
  // Carries the history of the vocabulary key from to the key to (Save As, the first save of an
  // untitled file); into a history that to already has, the answers are merged.
  void Rename(const std::string& from, const std::string& to);
  // Tries to write what waits; true when nothing is left waiting.
  bool Flush();
  size_t Pending() const { return m_Pending.size(); }
  // The name a damaged database was moved aside to, once; empty when none was.
  std::string TakeDamagedNotice();

  // Reads; after trying to write what waits. Empty results while the database cannot be read.
  // The days from first to last (inclusive) that have answers, in order.
  std::vector<THistoryDay> Days(const std::string& vocabulary, int32_t first, int32_t last);
  // Days in a row with answers, ending today, or yesterday when today has none yet.
  int32_t Streak(const std::string& vocabulary, int32_t today);
  // Entries with at least minAnswers answers and one wrong, by share wrong (most first), then
  // by answers; only those for which keep holds, at most limit of them.
  std::vector<THistoryEntry> Hardest(const std::string& vocabulary, int32_t minAnswers,
                                     size_t limit, const std::function<bool(uint64_t)>& keep);
  // Every answer of the vocabulary in the order recorded.
  void ForEachAnswer(const std::string& vocabulary,
                     const std::function<void(const THistoryAnswer&)>& visit);
  // Removes the vocabulary's history, waiting answers included. Throws std::runtime_error
  // when the database cannot be changed now.
  void Clear(const std::string& vocabulary);

private:
  struct TOperation {
    enum TKind { kAnswer, kRevise, kRename } Kind = kAnswer;
    THistoryAnswer Answer;  // kRevise: the answer as revised; kRename: Vocabulary is from
    bool WasRight = false;  // kRevise
    std::string To;         // kRename
  };
  bool Open();
  void Close();
  void Enqueue(TOperation operation);
  // Runs the operation inside the open transaction: SQLITE_OK, or the code of what failed.
  int Apply(const TOperation& operation, int64_t& lastRowId);
  // A database that is not one, or damaged: moved aside (with its log), a new one started.
  void MoveAside();
  // Handles the result of a failed step: a damaged database is moved aside.
  void Failed(int code);
  // The vocabulary's id, 0 when it has none (and create is false), -1 on an error left in code.
  int64_t VocabularyId(const std::string& key, bool create, int& code);

  std::string m_Path;
  int m_BusyTimeoutMs;
  sqlite3* m_Db = nullptr;
  bool m_Unusable = false;  // written by a newer program: left alone
  std::deque<TOperation> m_Pending;
  std::optional<THistoryAnswer> m_Last;  // the last answer recorded, as revised
  int64_t m_LastRowId = 0;               // its row, once written
  std::string m_DamagedNotice;
};

// Writes the vocabulary's answers as UTF-8 comma-delimited text with a header line; texts are
// converted from the code pages of the two languages. Replaces path only when all was written.
void ExportHistory(THistoryStore& store, const std::string& vocabulary, uint16_t foreignLangID,
                   uint16_t nativeLangID, const std::string& path);
