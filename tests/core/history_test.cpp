// SPDX-License-Identifier: MIT
// The study history: what is recorded and read back, and writing when the database is not there.
#include "history/History.h"

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>

#include "TempFiles.h"
#include "TestSupport.h"

namespace fs = std::filesystem;

namespace {
constexpr int32_t kToday = 20000;

THistoryAnswer Answer(const std::string& vocab, const std::string& word, bool right,
                      int32_t day = kToday) {
  THistoryAnswer a;
  a.Vocabulary = vocab;
  a.Foreign = word;
  a.Native = word + "-native";
  a.Entry = HistoryEntryKey(a.Foreign, a.Native);
  a.Time = int64_t(day) * 86400 + 43200;
  a.Day = day;
  a.Right = right;
  a.AnswerMs = 1500;
  a.LearntCount = 7;
  return a;
}

// "word:R" or "word:W" per answer, in order.
std::string Answers(THistoryStore& store, const std::string& vocab) {
  std::string out;
  store.ForEachAnswer(vocab, [&out](const THistoryAnswer& a) {
    out += (out.empty() ? "" : " ") + a.Foreign + (a.Right ? ":R" : ":W");
  });
  return out;
}

std::string Hardest(THistoryStore& store, const std::string& vocab,
                    const std::function<bool(uint64_t)>& keep = {}) {
  std::string out;
  for (const THistoryEntry& e : store.Hardest(vocab, 3, 20, keep)) {
    out += (out.empty() ? "" : " ") + e.Foreign + ":" + std::to_string(e.Wrong) + "/" +
           std::to_string(e.Answers);
  }
  return out;
}

// Runs body in a child process that cannot write where root could (as nobody when run as
// root); its exit status.
int InChildUnprivileged(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(100);
    _exit(body());
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
}  // namespace

// Sums by day, the streak, the hardest entries, revising the last answer and clearing one file.
TEST(HistoryStore, KeepsAnswersAndTheirSums) {
  TTempDir dir;
  THistoryStore store(dir.Path("history.sqlite"));
  for (const auto& [word, right, day] :
       std::vector<std::tuple<std::string, bool, int32_t>>{{"a", false, kToday - 2},
                                                           {"a", false, kToday},
                                                           {"a", true, kToday},
                                                           {"b", false, kToday},
                                                           {"b", true, kToday},
                                                           {"b", true, kToday},
                                                           {"c", false, kToday},
                                                           {"c", false, kToday},
                                                           {"c", false, kToday},
                                                           {"d", true, kToday},
                                                           {"d", true, kToday},
                                                           {"d", true, kToday},
                                                           {"e", false, kToday},
                                                           {"e", false, kToday}}) {
    store.Record(Answer("v", word, right, day));
  }
  store.Record(Answer("other", "a", false));
  EXPECT_EQ(store.Pending(), 0u);

  const std::vector<THistoryDay> days = store.Days("v", kToday - 29, kToday);
  ASSERT_EQ(days.size(), 2u);
  EXPECT_EQ(days[0].Day, kToday - 2);
  EXPECT_EQ(days[1].Right, 6);
  EXPECT_EQ(days[1].Wrong, 7);
  EXPECT_EQ(days[1].AnswerMs, 13 * 1500);
  // Today counts, and a day without answers yet does not break the streak of the days before.
  EXPECT_EQ(store.Streak("v", kToday), 1);
  store.Record(Answer("v", "d", true, kToday - 1));
  EXPECT_EQ(store.Streak("v", kToday), 3);
  EXPECT_EQ(store.Streak("v", kToday + 1), 3);
  EXPECT_EQ(store.Streak("v", kToday + 2), 0);

  // e has too few answers, d none wrong; ties go to the entry with more answers.
  EXPECT_EQ(Hardest(store, "v"), "c:3/3 a:2/3 b:1/3");
  const uint64_t c = HistoryEntryKey("c", "c-native");
  EXPECT_EQ(Hardest(store, "v", [c](uint64_t e) { return e != c; }), "a:2/3 b:1/3");

  // "I was right" after the last answer: its row, its day and its entry follow.
  store.Record(Answer("v", "b", false));
  EXPECT_EQ(Hardest(store, "v"), "c:3/3 a:2/3 b:2/4");
  EXPECT_TRUE(store.ReviseLast(true, 9));
  EXPECT_EQ(Hardest(store, "v"), "c:3/3 a:2/3 b:1/4");
  EXPECT_EQ(store.Days("v", kToday, kToday).at(0).LearntCount, 9);
  EXPECT_EQ(store.Days("v", kToday, kToday).at(0).Right, 7);
  std::string last;
  store.ForEachAnswer("v", [&last](const THistoryAnswer& a) {
    last = a.Foreign + (a.Right ? ":R:" : ":W:") + std::to_string(a.LearntCount);
  });
  EXPECT_EQ(last, "b:R:9");

  store.Clear("v");
  EXPECT_EQ(Answers(store, "v"), "");
  EXPECT_TRUE(store.Days("v", 0, kToday).empty());
  EXPECT_FALSE(store.ReviseLast(false, 0));
  EXPECT_EQ(Answers(store, "other"), "a:W");
}

// Save As carries the history along; onto a name with a history of its own, both are merged.
TEST(HistoryStore, RenameCarriesAndMergesHistories) {
  TTempDir dir;
  THistoryStore store(dir.Path("history.sqlite"));
  const std::string untitled = HistoryVocabularyKey("");
  EXPECT_NE(untitled, HistoryVocabularyKey(""));
  EXPECT_EQ(HistoryVocabularyKey(dir.Path("x/../w.doz")), HistoryVocabularyKey(dir.Path("w.doz")));
  store.Record(Answer(untitled, "a", false));
  store.Record(Answer(untitled, "a", false));
  store.Rename(untitled, "/f/one.doz");
  store.Record(Answer("/f/one.doz", "a", false));
  EXPECT_EQ(Answers(store, untitled), "");
  EXPECT_EQ(Answers(store, "/f/one.doz"), "a:W a:W a:W");

  store.Record(Answer("/f/two.doz", "a", true));
  store.Record(Answer("/f/two.doz", "b", true, kToday - 1));
  store.Rename("/f/one.doz", "/f/two.doz");
  EXPECT_EQ(Answers(store, "/f/two.doz"), "a:W a:W a:W a:R b:R");
  EXPECT_EQ(Hardest(store, "/f/two.doz"), "a:3/4");
  EXPECT_EQ(store.Days("/f/two.doz", kToday, kToday).at(0).Wrong, 3);
  EXPECT_EQ(store.Days("/f/two.doz", kToday, kToday).at(0).Right, 1);
}

// Whatever keeps the database from being written, answers wait and are written once it can be
// again; nothing throws. A damaged file is moved aside once, with its name reported.
TEST(HistoryStore, AnswersWaitWhileTheDatabaseCannotBeWritten) {
  struct Case {
    const char* name;
    // Puts the obstacle in place and returns what takes it away.
    std::function<std::function<void()>(const std::string& path)> obstruct;
    bool damaged;
  } cases[] = {
      {"another connection holds the write lock",
       [](const std::string& path) -> std::function<void()> {
         sqlite3* db = nullptr;
         sqlite3_open(path.c_str(), &db);
         EXPECT_EQ(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
         return [db] {
           sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
           sqlite3_close(db);
         };
       },
       false},
      {"the disk is full",
       [](const std::string&) -> std::function<void()> {
         signal(SIGXFSZ, SIG_IGN);
         rlimit saved{};
         getrlimit(RLIMIT_FSIZE, &saved);
         rlimit tiny = saved;
         tiny.rlim_cur = 512;
         setrlimit(RLIMIT_FSIZE, &tiny);
         return [saved] { setrlimit(RLIMIT_FSIZE, &saved); };
       },
       false},
      {"the file is garbage",
       [](const std::string& path) -> std::function<void()> {
         fs::remove(path);
         fs::remove(path + "-wal");
         std::string garbage(8192, '\0');
         for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = char(i * 7919 % 251);
         FILE* f = fopen(path.c_str(), "wb");
         fwrite(garbage.data(), 1, garbage.size(), f);
         fclose(f);
         return [] {};
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TTempDir dir;
    const std::string path = dir.Path("history.sqlite");
    {
      THistoryStore first(path);
      first.Record(Answer("v", "before", true));
    }
    THistoryStore store(path);
    const std::function<void()> clear = c.obstruct(path);
    store.Record(Answer("v", "x", false));
    store.Record(Answer("v", "y", true));
    EXPECT_EQ(store.Pending(), c.damaged ? 0u : 2u);
    clear();
    EXPECT_TRUE(store.Flush());
    EXPECT_EQ(Answers(store, "v"), c.damaged ? "x:W y:R" : "before:R x:W y:R");
    const std::string moved = store.TakeDamagedNotice();
    EXPECT_EQ(moved.empty(), !c.damaged);
    EXPECT_EQ(store.TakeDamagedNotice(), "");
    if (c.damaged) {
      EXPECT_EQ(moved.substr(0, path.size() + 9), path + ".damaged-");
      EXPECT_EQ(fs::file_size(moved), 8192u);
    }
  }
}

// A database some other program changed: an answer is reported written only when it was, and
// tables that are no longer ours count as damage rather than hiding what is written into them.
TEST(HistoryStore, ChangedDatabasesNeitherSwallowNorHideAnswers) {
  const std::pair<const char*, bool> cases[] = {
      // the change, and whether it is damage
      {"CREATE TRIGGER t BEFORE INSERT ON days BEGIN SELECT RAISE(ABORT, 'no'); END", false},
      {"ALTER TABLE entries RENAME COLUMN foreign_text TO f", true},
      {"CREATE TABLE t(id INTEGER, path TEXT NOT NULL UNIQUE); INSERT INTO t SELECT NULL, path"
       " FROM vocabularies; DROP TABLE vocabularies; ALTER TABLE t RENAME TO vocabularies",
       true},
      {"PRAGMA user_version=-2", true},
  };
  for (const auto& [sql, damaged] : cases) {
    SCOPED_TRACE(sql);
    TTempDir dir;
    const std::string path = dir.Path("history.sqlite");
    THistoryStore(path).Record(Answer("v", "before", true));
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    THistoryStore store(path);
    store.Record(Answer("v", "x", false));
    EXPECT_EQ(store.Flush(), damaged);
    EXPECT_EQ(store.TakeDamagedNotice().empty(), !damaged);
    EXPECT_EQ(Answers(store, "v"), damaged ? "x:W" : "before:R");
  }
}

// In a folder the program cannot write, answers wait in memory and nothing is reported.
TEST(HistoryStore, ReadOnlyFolderKeepsAnswersWaiting) {
  TTempDir dir;
  fs::create_directory(dir.Path("ro"));
  fs::permissions(dir.Path("ro"), fs::perms::owner_read | fs::perms::owner_exec |
                                      fs::perms::group_read | fs::perms::group_exec |
                                      fs::perms::others_read | fs::perms::others_exec);
  const std::string path = dir.Path("ro/history.sqlite");
  const int waiting = InChildUnprivileged([&path] {
    THistoryStore store(path);
    for (int i = 0; i < 3; ++i) store.Record(Answer("v", "x", false));
    return store.Days("v", 0, kToday).empty() ? int(store.Pending()) : 99;
  });
  EXPECT_EQ(waiting, 3);
  EXPECT_FALSE(fs::exists(path));
  fs::permissions(dir.Path("ro"), fs::perms::owner_all);
}

// Two running programs write into one database; no answer of either is lost.
TEST(HistoryStore, TwoProcessesWriteTogether) {
  TTempDir dir;
  const std::string path = dir.Path("history.sqlite");
  constexpr int kEach = 150;
  pid_t children[2];
  for (pid_t& child : children) {
    child = fork();
    if (child == 0) {
      THistoryStore store(path);
      for (int i = 0; i < kEach; ++i) store.Record(Answer("v", std::to_string(i % 10), i % 2));
      for (int tries = 0; tries < 1000 && !store.Flush(); ++tries) usleep(10000);
      _exit(store.Pending() == 0 ? 0 : 1);
    }
  }
  for (const pid_t child : children) {
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  THistoryStore store(path);
  int count = 0;
  store.ForEachAnswer("v", [&count](const THistoryAnswer&) { ++count; });
  EXPECT_EQ(count, 2 * kEach);
  const THistoryDay day = store.Days("v", kToday, kToday).at(0);
  EXPECT_EQ(day.Right + day.Wrong, 2 * kEach);
}

// The export: a header line, then one line per answer, texts converted to UTF-8.
TEST(HistoryExport, WritesEveryAnswerAsUtf8) {
  TTempDir dir;
  THistoryStore store(dir.Path("history.sqlite"));
  THistoryAnswer a = Answer("v", "H\xe4user", false);
  a.Native = "houses, \"homes\"";
  a.Direction = 1;
  a.HintUsed = true;
  store.Record(a);
  THistoryAnswer b = Answer("v", "Baum", true);
  b.MultipleChoice = true;
  store.Record(b);
  ExportHistory(store, "v", 0x0407, 0x0409, dir.Path("out.csv"));
  const std::string text = TTempDir::Read(dir.Path("out.csv"));
  const std::string header =
      "Time,Word/phrase,Translations,Direction,Type,Result,Hint,Milliseconds,Learnt\r\n";
  ASSERT_EQ(text.substr(0, header.size()), header);
  const size_t first = text.find(',', header.size());
  EXPECT_EQ(text.substr(first, text.find("\r\n", first) - first),
            ",H\xc3\xa4user,\"houses, \"\"homes\"\"\",into foreign,typed,wrong,yes,1500,7");
  EXPECT_NE(text.find(",Baum,Baum-native,into native,multiple choice,right,no,1500,7\r\n"),
            std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
}
