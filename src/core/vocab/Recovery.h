// SPDX-License-Identifier: MIT
// Recovery copies: what a running program keeps of a modified vocabulary so that a crash, a kill
// or a power cut loses at most seconds, and what a later start offers back.
#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class TVocabFile;

// One copy left behind by a program that no longer runs. While this object (or a copy of it)
// lives, the copy is claimed: no other program offers it.
struct TRecoveryCopy {
  std::string CopyPath;      // the copy, a vocabulary file in the recovery folder
  std::string OriginalPath;  // the file it belongs to; empty for an untitled vocabulary
  std::chrono::system_clock::time_point Time;  // when the copy was written
  std::shared_ptr<void> Claim;
};

// The name of the copies of originalPath, without owner and extension: the file's name (at most
// 40 bytes, "untitled" for none) and a hash of its whole path, so that the folder says which
// file each copy belongs to and two files of one name do not meet.
std::string RecoveryStem(const std::string& originalPath);

// The vocabulary's saved form in memory, without saving it (FileName and Modified stay), in a
// string reserved for sizeHint bytes. Raises what saving would raise for a text too long.
std::string RecoveryBytes(const TVocabFile& vocab, size_t sizeHint = 0);

// True when the copy holds changes the original file lacks: the file is gone or was last
// written before the copy. Untitled copies always do.
bool IsNewerThanOriginal(const TRecoveryCopy& copy);

// The copies of one running program, in one folder shared by every program of the user. Each
// program holds a lock on a file of its own there for as long as it runs (the system lets go of
// it when the process dies, however it dies), so the copies of running programs are told from
// those left behind. Every copy is written through the write-then-replace helper, beside a note
// of the file it belongs to.
class TRecoveryStore {
public:
  // folder is made when the first copy is written.
  explicit TRecoveryStore(std::string folder);
  // Waits for a write under way; the copy stays (a clean exit has removed it before).
  ~TRecoveryStore();
  TRecoveryStore(const TRecoveryStore&) = delete;
  TRecoveryStore& operator=(const TRecoveryStore&) = delete;

  // Writes bytes (a whole vocabulary file) as this program's copy for originalPath on a thread
  // of its own; the caller goes on at once. A write still waiting is replaced by the newer one.
  // The copy of another file written before is removed once the new one is in place.
  void Write(std::string bytes, const std::string& originalPath);
  // Returns once every write handed over so far is done. False when the last one failed.
  bool Flush();
  // Removes this program's copy (after a save or when the changes were discarded).
  void Remove();
  // True while this program has a copy on disk (or one on its way).
  bool HasCopy() const;

  // Copies of programs that no longer run, newest first, each claimed for the caller. With
  // originalPath set, only the copies of that file.
  std::vector<TRecoveryCopy> Orphans(const std::optional<std::string>& originalPath = {}) const;
  // Deletes a copy and its note.
  static void Delete(const TRecoveryCopy& copy);
  // Loads the copy into vocab as the modified vocabulary of its original file. The copy stays
  // until the caller has written its own or deletes it.
  static void Restore(const TRecoveryCopy& copy, TVocabFile& vocab);

  const std::string& Folder() const { return m_Folder; }

private:
  struct TJob {
    std::string Bytes;
    std::string OriginalPath;
  };
  void Run();
  void WriteJob(const TJob& job);
  bool EnsureLock();
  std::string PathOf(const std::string& stem, const char* extension) const;
  std::string LockPath() const;
  void RemoveCopyFiles(const std::string& stem);

  std::string m_Folder;
  std::string m_Owner;
  int m_LockFd = -1;
  // Only the writer thread touches m_WrittenStem while it runs.
  std::optional<std::string> m_WrittenStem;
  mutable std::mutex m_Mutex;
  std::condition_variable m_Wake;
  std::condition_variable m_Idle;
  std::optional<TJob> m_Pending;
  bool m_Busy = false;
  bool m_Stop = false;
  bool m_LastFailed = false;
  bool m_HasCopy = false;
  std::thread m_Thread;
};
