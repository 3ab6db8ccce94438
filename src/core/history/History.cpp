// SPDX-License-Identifier: MIT
// The study history database: schema, writes that wait while they cannot be made, and queries.
#include "history/History.h"

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "text/Languages.h"
#include "text/TextUtils.h"
#include "text/Utf8.h"
#include "vocab/FileUtils.h"

namespace fs = std::filesystem;

namespace {
// Each step takes the schema from the version of its index to the next one.
const char* const kMigrations[] = {
    "CREATE TABLE vocabularies(id INTEGER PRIMARY KEY, path TEXT NOT NULL UNIQUE);"
    "CREATE TABLE answers(id INTEGER PRIMARY KEY, vocabulary INTEGER NOT NULL,"
    " entry INTEGER NOT NULL, time INTEGER NOT NULL, flags INTEGER NOT NULL,"
    " answer_ms INTEGER NOT NULL, learnt INTEGER NOT NULL);"
    "CREATE INDEX answers_by_vocabulary ON answers(vocabulary);"
    "CREATE TABLE entries(vocabulary INTEGER NOT NULL, entry INTEGER NOT NULL,"
    " foreign_text BLOB NOT NULL, native_text BLOB NOT NULL, answers INTEGER NOT NULL,"
    " wrong INTEGER NOT NULL, PRIMARY KEY(vocabulary, entry)) WITHOUT ROWID;"
    "CREATE TABLE days(vocabulary INTEGER NOT NULL, day INTEGER NOT NULL,"
    " right_count INTEGER NOT NULL, wrong_count INTEGER NOT NULL, answer_ms INTEGER NOT NULL,"
    " learnt INTEGER NOT NULL, PRIMARY KEY(vocabulary, day)) WITHOUT ROWID;",
};
static_assert(std::size(kMigrations) == THistoryStore::kSchemaVersion);

// The tables as the last step leaves them: each column's name, declared type and place in the
// primary key. Tables that differ were changed by something else; what is written into them may
// not be found again.
const char* const kTables[][2] = {
    {"vocabularies", "id INTEGER 1, path TEXT 0"},
    {"answers",
     "id INTEGER 1, vocabulary INTEGER 0, entry INTEGER 0, time INTEGER 0, flags INTEGER 0,"
     " answer_ms INTEGER 0, learnt INTEGER 0"},
    {"entries",
     "vocabulary INTEGER 1, entry INTEGER 2, foreign_text BLOB 0, native_text BLOB 0,"
     " answers INTEGER 0, wrong INTEGER 0"},
    {"days",
     "vocabulary INTEGER 1, day INTEGER 2, right_count INTEGER 0, wrong_count INTEGER 0,"
     " answer_ms INTEGER 0, learnt INTEGER 0"},
};

// The bits of answers.flags.
constexpr int kFlagRight = 1;
constexpr int kFlagIntoForeign = 2;
constexpr int kFlagMultipleChoice = 4;
constexpr int kFlagHint = 8;

int Flags(const THistoryAnswer& a) {
  return (a.Right ? kFlagRight : 0) | (a.Direction == 1 ? kFlagIntoForeign : 0) |
         (a.MultipleChoice ? kFlagMultipleChoice : 0) | (a.HintUsed ? kFlagHint : 0);
}

bool IsDamage(int code) {
  const int primary = code & 0xFF;
  return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

// A prepared statement with its arguments bound in order.
class TQuery {
public:
  TQuery(sqlite3* db, const char* sql) {
    m_Code = sqlite3_prepare_v2(db, sql, -1, &m_Stmt, nullptr);
  }
  ~TQuery() { sqlite3_finalize(m_Stmt); }
  TQuery(const TQuery&) = delete;
  TQuery& operator=(const TQuery&) = delete;

  TQuery& Bind(int64_t value) {
    if (m_Code == SQLITE_OK) m_Code = sqlite3_bind_int64(m_Stmt, ++m_Arg, value);
    return *this;
  }
  TQuery& Bind(const std::string& value) {
    if (m_Code == SQLITE_OK) {
      m_Code = sqlite3_bind_blob(m_Stmt, ++m_Arg, value.data(), static_cast<int>(value.size()),
                                 SQLITE_TRANSIENT);
    }
    return *this;
  }
  TQuery& BindText(const std::string& value) {
    if (m_Code == SQLITE_OK) {
      m_Code = sqlite3_bind_text(m_Stmt, ++m_Arg, value.data(), static_cast<int>(value.size()),
                                 SQLITE_TRANSIENT);
    }
    return *this;
  }
  // True while a row is there; the code says why not at the end.
  bool Step() {
    if (m_Code != SQLITE_OK && m_Code != SQLITE_ROW) return false;
    m_Code = sqlite3_step(m_Stmt);
    if (m_Code == SQLITE_DONE) {
      m_Code = SQLITE_OK;
      return false;
    }
    return m_Code == SQLITE_ROW;
  }
  // Runs a statement without rows; true on success.
  bool Run() {
    Step();
    return m_Code == SQLITE_OK;
  }
  int64_t Int(int column) const { return sqlite3_column_int64(m_Stmt, column); }
  std::string Bytes(int column) const {
    const auto* data = static_cast<const char*>(sqlite3_column_blob(m_Stmt, column));
    return data ? std::string(data, static_cast<size_t>(sqlite3_column_bytes(m_Stmt, column)))
                : std::string();
  }
  int Code() const { return m_Code; }

private:
  sqlite3_stmt* m_Stmt = nullptr;
  int m_Code = SQLITE_OK;
  int m_Arg = 0;
};

// Runs the queries in order up to the first that fails: its code, or SQLITE_OK. The code is
// taken from the query itself, since finalizing a statement resets the connection's.
int RunAll(std::initializer_list<std::reference_wrapper<TQuery>> queries) {
  for (TQuery& query : queries) {
    if (!query.Run()) return query.Code() == SQLITE_OK ? SQLITE_ERROR : query.Code();
  }
  return SQLITE_OK;
}

int Exec(sqlite3* db, const char* sql) {
  return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

// SQLITE_OK when the tables are as kTables has them, SQLITE_CORRUPT when they differ.
int CheckTables(sqlite3* db) {
  for (const auto& [table, columns] : kTables) {
    TQuery query(db,
                 "SELECT group_concat(name || ' ' || type || ' ' || pk, ', ') FROM"
                 " (SELECT * FROM pragma_table_info(?) ORDER BY cid)");
    if (!query.BindText(table).Step())
      return query.Code() == SQLITE_OK ? SQLITE_ERROR : query.Code();
    if (query.Bytes(0) != columns) return SQLITE_CORRUPT;
  }
  return SQLITE_OK;
}

// The local date of time, with the time of day when withClock.
std::string LocalDate(int64_t time, bool withClock) {
  const time_t t = static_cast<time_t>(time);
  tm local{};
  localtime_r(&t, &local);
  char text[32];
  const size_t size =
      strftime(text, sizeof text, withClock ? "%Y-%m-%d %H:%M:%S" : "%Y-%m-%d", &local);
  return std::string(text, size);
}
}  // namespace

uint64_t HistoryEntryKey(const std::string& foreign, const std::string& native) {
  // FNV-1a over both texts with a separator no stored text holds: stable everywhere.
  uint64_t hash = 0xcbf29ce484222325ULL;
  const auto add = [&hash](unsigned char byte) {
    hash ^= byte;
    hash *= 0x100000001b3ULL;
  };
  for (const char c : foreign) add(static_cast<unsigned char>(c));
  add(0);
  for (const char c : native) add(static_cast<unsigned char>(c));
  return hash;
}

std::string HistoryVocabularyKey(const std::string& path) {
  if (path.empty()) {
    // Unique in this run and against other runs: the process and a counter.
    static std::atomic<int> untitled{0};
    return "untitled:" + std::to_string(getpid()) + ":" + std::to_string(time(nullptr)) + ":" +
           std::to_string(++untitled);
  }
  std::error_code error;
  const fs::path canonical = fs::weakly_canonical(path, error);
  return error ? fs::absolute(path, error).string() : canonical.string();
}

int32_t LocalDay(int64_t time) {
  const time_t t = static_cast<time_t>(time);
  tm local{};
  localtime_r(&t, &local);
  using namespace std::chrono;
  const year_month_day date{year{local.tm_year + 1900}, month{unsigned(local.tm_mon + 1)},
                            day{unsigned(local.tm_mday)}};
  return static_cast<int32_t>(sys_days(date).time_since_epoch().count());
}

THistoryStore::THistoryStore(std::string path, int busyTimeoutMs)
    : m_Path(std::move(path)), m_BusyTimeoutMs(busyTimeoutMs) {}

THistoryStore::~THistoryStore() {
  if (!m_Pending.empty()) {
    // The program ends: worth a longer wait than a question allows.
    m_BusyTimeoutMs = 2000;
    if (m_Db) sqlite3_busy_timeout(m_Db, m_BusyTimeoutMs);
    Flush();
  }
  Close();
}

bool THistoryStore::Open() {
  if (m_Db) return true;
  if (m_Unusable) return false;
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::error_code error;
    fs::create_directories(fs::path(m_Path).parent_path(), error);
    if (sqlite3_open_v2(m_Path.c_str(), &m_Db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
      Close();
      return false;
    }
    sqlite3_extended_result_codes(m_Db, 1);
    sqlite3_busy_timeout(m_Db, m_BusyTimeoutMs);
    int code = Exec(m_Db, "PRAGMA journal_mode=WAL");
    if (code == SQLITE_OK) code = Exec(m_Db, "PRAGMA synchronous=NORMAL");
    int64_t version = 0;
    const auto readVersion = [this, &code, &version] {
      TQuery read(m_Db, "PRAGMA user_version");
      version = read.Step() ? read.Int(0) : 0;
      code = read.Code() == SQLITE_ROW ? SQLITE_OK : read.Code();
      // This program never writes a version below 0: the header is damaged.
      if (code == SQLITE_OK && version < 0) code = SQLITE_CORRUPT;
    };
    if (code == SQLITE_OK) readVersion();
    if (code == SQLITE_OK && version > kSchemaVersion) {
      // A newer program's schema: not ours to write.
      m_Unusable = true;
      Close();
      return false;
    }
    if (code == SQLITE_OK && version < kSchemaVersion) {
      code = Exec(m_Db, "BEGIN IMMEDIATE");
      if (code == SQLITE_OK) {
        // Another program may have migrated it while this one waited for the lock.
        readVersion();
        for (; code == SQLITE_OK && version < kSchemaVersion; ++version) {
          code = Exec(m_Db, kMigrations[version]);
        }
        if (code == SQLITE_OK) {
          code = Exec(m_Db, ("PRAGMA user_version=" + std::to_string(version)).c_str());
        }
        if (code == SQLITE_OK) code = Exec(m_Db, "COMMIT");
        if (code != SQLITE_OK) Exec(m_Db, "ROLLBACK");
      }
    }
    if (code == SQLITE_OK) code = CheckTables(m_Db);
    if (code == SQLITE_OK) return true;
    Close();
    if (!IsDamage(code)) return false;
    MoveAside();
  }
  return false;
}

void THistoryStore::Close() {
  if (m_Db) sqlite3_close_v2(m_Db);
  m_Db = nullptr;
}

void THistoryStore::MoveAside() {
  Close();
  m_LastRowId = 0;
  const std::string stem = m_Path + ".damaged-" + LocalDate(time(nullptr), false);
  std::string target = stem;
  std::error_code error;
  for (int n = 2; fs::exists(target, error); ++n) target = stem + "-" + std::to_string(n);
  fs::rename(m_Path, target, error);
  if (error) {
    // It cannot be moved: leave it and this run's answers alone rather than lose both.
    m_Unusable = true;
    return;
  }
  // The log belongs to the damaged file; the index of shared memory is rebuilt.
  std::error_code ignored;
  if (fs::exists(m_Path + "-wal", ignored)) fs::rename(m_Path + "-wal", target + "-wal", ignored);
  fs::remove(m_Path + "-shm", ignored);
  m_DamagedNotice = target;
}

void THistoryStore::Failed(int code) {
  if (IsDamage(code)) {
    MoveAside();
  } else if ((code & 0xFF) != SQLITE_BUSY && (code & 0xFF) != SQLITE_LOCKED) {
    // Read-only, full, an I/O error: open afresh next time, when it may have passed.
    Close();
  }
}

std::string THistoryStore::TakeDamagedNotice() {
  return std::exchange(m_DamagedNotice, std::string());
}

void THistoryStore::Enqueue(TOperation operation) {
  if (m_Pending.size() < kMaxPending) m_Pending.push_back(std::move(operation));
}

void THistoryStore::Record(const THistoryAnswer& answer, bool flush) {
  m_Last = answer;
  Enqueue({TOperation::kAnswer, answer, false, {}});
  if (flush) Flush();
}

bool THistoryStore::ReviseLast(bool right, int32_t learntCount) {
  if (!m_Last) return false;
  const bool wasRight = m_Last->Right;
  m_Last->Right = right;
  m_Last->LearntCount = learntCount;
  if (!m_Pending.empty() && m_Pending.back().Kind == TOperation::kAnswer) {
    // Not written yet: it is written as revised.
    m_Pending.back().Answer = *m_Last;
  } else {
    Enqueue({TOperation::kRevise, *m_Last, wasRight, {}});
  }
  Flush();
  return true;
}

void THistoryStore::Rename(const std::string& from, const std::string& to) {
  if (from == to) return;
  if (m_Last && m_Last->Vocabulary == from) m_Last->Vocabulary = to;
  TOperation operation{TOperation::kRename, {}, false, to};
  operation.Answer.Vocabulary = from;
  Enqueue(std::move(operation));
  Flush();
}

int64_t THistoryStore::VocabularyId(const std::string& key, bool create, int& code) {
  {
    TQuery find(m_Db, "SELECT id FROM vocabularies WHERE path=?");
    find.BindText(key);
    if (find.Step()) return find.Int(0);
    code = find.Code();
    if (code != SQLITE_OK) return -1;
  }
  if (!create) return 0;
  TQuery add(m_Db, "INSERT INTO vocabularies(path) VALUES(?)");
  code = RunAll({add.BindText(key)});
  return code == SQLITE_OK ? sqlite3_last_insert_rowid(m_Db) : -1;
}

int THistoryStore::Apply(const TOperation& op, int64_t& lastRowId) {
  const THistoryAnswer& a = op.Answer;
  int code = SQLITE_OK;
  const int64_t id = VocabularyId(a.Vocabulary, op.Kind == TOperation::kAnswer, code);
  if (id < 0) return code;
  const auto entry = static_cast<int64_t>(a.Entry);
  switch (op.Kind) {
    case TOperation::kAnswer: {
      TQuery answer(m_Db,
                    "INSERT INTO answers(vocabulary, entry, time, flags, answer_ms, learnt)"
                    " VALUES(?,?,?,?,?,?)");
      code = RunAll({answer.Bind(id)
                         .Bind(entry)
                         .Bind(a.Time)
                         .Bind(Flags(a))
                         .Bind(a.AnswerMs)
                         .Bind(a.LearntCount)});
      if (code != SQLITE_OK) return code;
      lastRowId = sqlite3_last_insert_rowid(m_Db);
      TQuery entries(m_Db,
                     "INSERT INTO entries VALUES(?,?,?,?,1,?) ON CONFLICT DO UPDATE SET"
                     " answers=answers+1, wrong=wrong+excluded.wrong");
      TQuery days(m_Db,
                  "INSERT INTO days VALUES(?,?,?,?,?,?) ON CONFLICT DO UPDATE SET"
                  " right_count=right_count+excluded.right_count,"
                  " wrong_count=wrong_count+excluded.wrong_count,"
                  " answer_ms=answer_ms+excluded.answer_ms, learnt=excluded.learnt");
      return RunAll(
          {entries.Bind(id).Bind(entry).Bind(a.Foreign).Bind(a.Native).Bind(a.Right ? 0 : 1),
           days.Bind(id)
               .Bind(a.Day)
               .Bind(a.Right ? 1 : 0)
               .Bind(a.Right ? 0 : 1)
               .Bind(a.AnswerMs)
               .Bind(a.LearntCount)});
    }
    case TOperation::kRevise: {
      if (id == 0 || lastRowId == 0) return SQLITE_OK;
      TQuery answer(m_Db, "UPDATE answers SET flags=?, learnt=? WHERE id=? AND vocabulary=?");
      code = RunAll({answer.Bind(Flags(a)).Bind(a.LearntCount).Bind(lastRowId).Bind(id)});
      // Unless the history of the file was cleared in between.
      if (code != SQLITE_OK || sqlite3_changes(m_Db) == 0) return code;
      const int64_t madeRight = (a.Right ? 1 : 0) - (op.WasRight ? 1 : 0);
      TQuery entries(m_Db, "UPDATE entries SET wrong=wrong-? WHERE vocabulary=? AND entry=?");
      TQuery days(m_Db,
                  "UPDATE days SET right_count=right_count+?1, wrong_count=wrong_count-?1,"
                  " learnt=?2 WHERE vocabulary=?3 AND day=?4");
      return RunAll({entries.Bind(madeRight).Bind(id).Bind(entry),
                     days.Bind(madeRight).Bind(a.LearntCount).Bind(id).Bind(a.Day)});
    }
    case TOperation::kRename: {
      if (id == 0) return SQLITE_OK;
      const int64_t to = VocabularyId(op.To, false, code);
      if (to < 0) return code;
      if (to == 0) {
        TQuery rename(m_Db, "UPDATE vocabularies SET path=? WHERE id=?");
        return RunAll({rename.BindText(op.To).Bind(id)});
      }
      // The new name has a history of its own: both become one.
      TQuery entries(m_Db,
                     "INSERT INTO entries SELECT ?1, entry, foreign_text, native_text, answers,"
                     " wrong FROM entries WHERE vocabulary=?2 ON CONFLICT DO UPDATE SET"
                     " answers=answers+excluded.answers, wrong=wrong+excluded.wrong");
      TQuery days(m_Db,
                  "INSERT INTO days SELECT ?1, day, right_count, wrong_count, answer_ms, learnt"
                  " FROM days WHERE vocabulary=?2 ON CONFLICT DO UPDATE SET"
                  " right_count=right_count+excluded.right_count,"
                  " wrong_count=wrong_count+excluded.wrong_count,"
                  " answer_ms=answer_ms+excluded.answer_ms, learnt=excluded.learnt");
      TQuery answers(m_Db, "UPDATE answers SET vocabulary=?1 WHERE vocabulary=?2");
      TQuery dropEntries(m_Db, "DELETE FROM entries WHERE vocabulary=?");
      TQuery dropDays(m_Db, "DELETE FROM days WHERE vocabulary=?");
      TQuery dropVocabulary(m_Db, "DELETE FROM vocabularies WHERE id=?");
      return RunAll({entries.Bind(to).Bind(id), days.Bind(to).Bind(id), answers.Bind(to).Bind(id),
                     dropEntries.Bind(id), dropDays.Bind(id), dropVocabulary.Bind(id)});
    }
  }
  return SQLITE_ERROR;
}

bool THistoryStore::Flush() {
  // A second round only after a damaged database was replaced by a new one.
  for (int attempt = 0; attempt < 2 && !m_Pending.empty(); ++attempt) {
    if (!Open()) return false;
    int code = Exec(m_Db, "BEGIN IMMEDIATE");
    if (code != SQLITE_OK) {
      Failed(code);
      if (!IsDamage(code)) return false;
      continue;
    }
    int64_t lastRowId = m_LastRowId;
    for (auto op = m_Pending.begin(); code == SQLITE_OK && op != m_Pending.end(); ++op) {
      code = Apply(*op, lastRowId);
    }
    if (code == SQLITE_OK) code = Exec(m_Db, "COMMIT");
    if (code == SQLITE_OK) {
      m_Pending.clear();
      m_LastRowId = lastRowId;
      return true;
    }
    Exec(m_Db, "ROLLBACK");
    Failed(code);
    if (!IsDamage(code)) return false;
  }
  return m_Pending.empty();
}

std::vector<THistoryDay> THistoryStore::Days(const std::string& vocabulary, int32_t first,
                                             int32_t last) {
  std::vector<THistoryDay> days;
  Flush();
  if (!Open()) return days;
  TQuery query(m_Db,
               "SELECT d.day, d.right_count, d.wrong_count, d.answer_ms, d.learnt FROM days d"
               " JOIN vocabularies v ON v.id=d.vocabulary WHERE v.path=? AND d.day BETWEEN ? AND ?"
               " ORDER BY d.day");
  query.BindText(vocabulary).Bind(first).Bind(last);
  // Whatever a damaged file holds, counts stay ones that add up without overflow.
  const auto count = [&query](int column) {
    return static_cast<int32_t>(std::clamp<int64_t>(query.Int(column), 0, INT32_MAX / 2));
  };
  while (query.Step()) {
    days.push_back({static_cast<int32_t>(query.Int(0)), count(1), count(2),
                    std::clamp<int64_t>(query.Int(3), 0, int64_t(1) << 53), count(4)});
  }
  if (query.Code() != SQLITE_OK) Failed(query.Code());
  return days;
}

int32_t THistoryStore::Streak(const std::string& vocabulary, int32_t today) {
  Flush();
  if (!Open()) return 0;
  TQuery query(m_Db,
               "SELECT d.day FROM days d JOIN vocabularies v ON v.id=d.vocabulary"
               " WHERE v.path=? AND d.day<=? ORDER BY d.day DESC");
  query.BindText(vocabulary).Bind(today);
  int32_t streak = 0;
  int64_t expected = today;
  while (query.Step()) {
    const int64_t day = query.Int(0);
    // Today may still be without answers; the streak then ends yesterday.
    if (streak == 0 && day == today - 1) expected = day;
    if (day != expected) break;
    ++streak;
    --expected;
  }
  if (query.Code() != SQLITE_OK && query.Code() != SQLITE_ROW) Failed(query.Code());
  return streak;
}

std::vector<THistoryEntry> THistoryStore::Hardest(const std::string& vocabulary, int32_t minAnswers,
                                                  size_t limit,
                                                  const std::function<bool(uint64_t)>& keep) {
  std::vector<THistoryEntry> hardest;
  Flush();
  if (!Open()) return hardest;
  TQuery query(m_Db,
               "SELECT e.entry, e.foreign_text, e.native_text, e.answers, e.wrong FROM entries e"
               " JOIN vocabularies v ON v.id=e.vocabulary"
               " WHERE v.path=? AND e.answers>=? AND e.wrong>0"
               " ORDER BY CAST(e.wrong AS REAL)/e.answers DESC, e.answers DESC, e.foreign_text");
  query.BindText(vocabulary).Bind(minAnswers);
  while (hardest.size() < limit && query.Step()) {
    const auto entry = static_cast<uint64_t>(query.Int(0));
    if (keep && !keep(entry)) continue;
    hardest.push_back({entry, query.Bytes(1), query.Bytes(2), static_cast<int32_t>(query.Int(3)),
                       static_cast<int32_t>(query.Int(4))});
  }
  if (query.Code() != SQLITE_OK && query.Code() != SQLITE_ROW) Failed(query.Code());
  return hardest;
}

void THistoryStore::ForEachAnswer(const std::string& vocabulary,
                                  const std::function<void(const THistoryAnswer&)>& visit) {
  Flush();
  if (!Open()) return;
  TQuery query(m_Db,
               "SELECT a.entry, e.foreign_text, e.native_text, a.time, a.flags, a.answer_ms,"
               " a.learnt FROM answers a JOIN vocabularies v ON v.id=a.vocabulary"
               " LEFT JOIN entries e ON e.vocabulary=a.vocabulary AND e.entry=a.entry"
               " WHERE v.path=? ORDER BY a.id");
  query.BindText(vocabulary);
  THistoryAnswer a;
  a.Vocabulary = vocabulary;
  while (query.Step()) {
    a.Entry = static_cast<uint64_t>(query.Int(0));
    a.Foreign = query.Bytes(1);
    a.Native = query.Bytes(2);
    a.Time = query.Int(3);
    a.Day = LocalDay(a.Time);
    const int64_t flags = query.Int(4);
    a.Right = flags & kFlagRight;
    a.Direction = flags & kFlagIntoForeign ? 1 : 0;
    a.MultipleChoice = flags & kFlagMultipleChoice;
    a.HintUsed = flags & kFlagHint;
    a.AnswerMs = static_cast<int32_t>(query.Int(5));
    a.LearntCount = static_cast<int32_t>(query.Int(6));
    visit(a);
  }
  if (query.Code() != SQLITE_OK && query.Code() != SQLITE_ROW) Failed(query.Code());
}

void THistoryStore::Clear(const std::string& vocabulary) {
  std::erase_if(m_Pending, [&vocabulary](const TOperation& op) {
    return op.Kind != TOperation::kRename && op.Answer.Vocabulary == vocabulary;
  });
  if (m_Last && m_Last->Vocabulary == vocabulary) m_Last.reset();
  if (!Flush() || !Open()) throw std::runtime_error("The study history cannot be changed now.");
  int code = Exec(m_Db, "BEGIN IMMEDIATE");
  if (code == SQLITE_OK) {
    const int64_t id = VocabularyId(vocabulary, false, code);
    for (const char* sql :
         {"DELETE FROM answers WHERE vocabulary=?", "DELETE FROM entries WHERE vocabulary=?",
          "DELETE FROM days WHERE vocabulary=?", "DELETE FROM vocabularies WHERE id=?"}) {
      if (code == SQLITE_OK && id > 0) {
        TQuery drop(m_Db, sql);
        code = RunAll({drop.Bind(id)});
      }
    }
    if (code == SQLITE_OK) code = Exec(m_Db, "COMMIT");
    if (code != SQLITE_OK) Exec(m_Db, "ROLLBACK");
  }
  if (code != SQLITE_OK) {
    Failed(code);
    throw std::runtime_error("The study history cannot be changed now.");
  }
}

void ExportHistory(THistoryStore& store, const std::string& vocabulary, uint16_t foreignLangID,
                   uint16_t nativeLangID, const std::string& path) {
  const auto utf8 = [](const std::string& text, uint16_t langId) {
    try {
      return CsvQuote(WideToUtf8(AnsiToWide(text, langId)));
    } catch (const std::runtime_error&) {
      return CsvQuote(WideToUtf8(Utf8ToWide(text)));
    }
  };
  WriteFileReplacing(path, [&](std::ostream& out) {
    out << "Time,Word/phrase,Translations,Direction,Type,Result,Hint,Milliseconds,Learnt\r\n";
    store.ForEachAnswer(vocabulary, [&](const THistoryAnswer& a) {
      out << LocalDate(a.Time, true) << ',' << utf8(a.Foreign, foreignLangID) << ','
          << utf8(a.Native, nativeLangID) << ','
          << (a.Direction == 1 ? "into foreign" : "into native") << ','
          << (a.MultipleChoice ? "multiple choice" : "typed") << ','
          << (a.Right ? "right" : "wrong") << ',' << (a.HintUsed ? "yes" : "no") << ','
          << a.AnswerMs << ',' << a.LearntCount << "\r\n";
    });
  });
}
