// SPDX-License-Identifier: MIT
// Recovery copies: naming, the background writer, and finding the copies left behind.
#include "vocab/Recovery.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <ostream>
#include <random>
#include <streambuf>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include "vocab/FileUtils.h"
#include "vocab/VocFile.h"

namespace fs = std::filesystem;

namespace {
constexpr size_t kMaxTitleBytes = 40;
constexpr size_t kOwnerLength = 16;
constexpr size_t kMaxNoteBytes = 64 * 1024;

std::string Hex64(uint64_t value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i, value >>= 4) text[static_cast<size_t>(i)] = kDigits[value & 0xF];
  return text;
}

bool IsOwner(const std::string& text) {
  return text.size() == kOwnerLength && std::all_of(text.begin(), text.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
         });
}

std::string NewOwner() {
  std::random_device device;
  return Hex64((static_cast<uint64_t>(device()) << 32) ^ device());
}

bool SamePath(const std::string& a, const std::string& b) {
  if (a == b) return true;
  if (a.empty() || b.empty()) return false;
  std::error_code ec1, ec2;
  const fs::path ca = fs::weakly_canonical(fs::absolute(a, ec1), ec1);
  const fs::path cb = fs::weakly_canonical(fs::absolute(b, ec2), ec2);
  return !ec1 && !ec2 && ca == cb;
}

// Locks the file without waiting: -1 when another process (or another lock of this one) holds
// it. The lock ends when the descriptor is closed, also by the death of the process.
int LockFile(const std::string& path) {
#if defined(__unix__) || defined(__APPLE__)
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
#else
  (void)path;
  return 0;
#endif
}

void Unlock(int fd) {
#if defined(__unix__) || defined(__APPLE__)
  if (fd >= 0) ::close(fd);
#else
  (void)fd;
#endif
}

// Appends what is written to a string: unlike a string stream it grows the string once (to
// the reserved size) instead of doubling it on the way, which halves the time at 100,000 entries.
class TStringSink : public std::streambuf {
public:
  explicit TStringSink(std::string& target) : m_Target(target) {}

protected:
  std::streamsize xsputn(const char* data, std::streamsize size) override {
    m_Target.append(data, static_cast<size_t>(size));
    return size;
  }
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      m_Target.push_back(traits_type::to_char_type(c));
    }
    return traits_type::not_eof(c);
  }

private:
  std::string& m_Target;
};

std::chrono::system_clock::time_point ToSystemTime(fs::file_time_type time) {
  return std::chrono::time_point_cast<std::chrono::system_clock::duration>(
      std::chrono::file_clock::to_sys(time));
}
}  // namespace

std::string RecoveryStem(const std::string& originalPath) {
  std::string title = fs::path(originalPath).filename().string();
  if (title.size() > kMaxTitleBytes) title.resize(kMaxTitleBytes);
  for (char& c : title) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '_';
    if (!plain) c = '_';
  }
  if (title.empty()) title = "untitled";
  // FNV-1a: stable across runs and builds, unlike std::hash.
  uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char c : originalPath) {
    hash = (hash ^ static_cast<uint8_t>(c)) * 0x100000001b3ULL;
  }
  return title + "-" + Hex64(hash);
}

std::string RecoveryBytes(const TVocabFile& vocab, size_t sizeHint) {
  std::string bytes;
  bytes.reserve(sizeHint);
  TStringSink sink(bytes);
  std::ostream out(&sink);
  vocab.WriteCopyTo(out);
  return bytes;
}

bool IsNewerThanOriginal(const TRecoveryCopy& copy) {
  if (copy.OriginalPath.empty()) return true;
  std::error_code ec;
  const fs::file_time_type written = fs::last_write_time(copy.OriginalPath, ec);
  return ec || copy.Time > ToSystemTime(written);
}

TRecoveryStore::TRecoveryStore(std::string folder)
    : m_Folder(std::move(folder)), m_Owner(NewOwner()) {}

TRecoveryStore::~TRecoveryStore() {
  {
    std::lock_guard lock(m_Mutex);
    m_Stop = true;
  }
  m_Wake.notify_all();
  if (m_Thread.joinable()) m_Thread.join();
  if (m_LockFd >= 0) {
    // Without a copy the lock file has nothing left to guard.
    std::error_code ec;
    if (!m_WrittenStem) fs::remove(LockPath(), ec);
    Unlock(m_LockFd);
  }
}

std::string TRecoveryStore::PathOf(const std::string& stem, const char* extension) const {
  return (fs::path(m_Folder) / (stem + "." + m_Owner + "." + extension)).string();
}

std::string TRecoveryStore::LockPath() const {
  return (fs::path(m_Folder) / (m_Owner + ".lock")).string();
}

void TRecoveryStore::Write(std::string bytes, const std::string& originalPath) {
  {
    std::lock_guard lock(m_Mutex);
    m_Pending = TJob{std::move(bytes), originalPath};
    m_HasCopy = true;
    if (!m_Thread.joinable()) m_Thread = std::thread([this] { Run(); });
  }
  m_Wake.notify_all();
}

void TRecoveryStore::Run() {
  std::unique_lock lock(m_Mutex);
  for (;;) {
    m_Wake.wait(lock, [this] { return m_Stop || m_Pending.has_value(); });
    if (!m_Pending) return;
    const TJob job = std::move(*m_Pending);
    m_Pending.reset();
    m_Busy = true;
    lock.unlock();
    bool ok = true;
    try {
      WriteJob(job);
    } catch (const std::exception&) {
      ok = false;
    }
    lock.lock();
    m_Busy = false;
    m_LastFailed = !ok;
    m_Idle.notify_all();
  }
}

bool TRecoveryStore::EnsureLock() {
  if (m_LockFd >= 0) return true;
  std::error_code ec;
  fs::create_directories(m_Folder, ec);
  m_LockFd = LockFile(LockPath());
  return m_LockFd >= 0;
}

void TRecoveryStore::WriteJob(const TJob& job) {
  if (!EnsureLock()) RaiseCannotCreate(LockPath(), errno);
  const std::string stem = RecoveryStem(job.OriginalPath);
  // The note goes first: a copy is never on disk without the name of its file.
  if (m_WrittenStem != stem) {
    WriteFileReplacing(PathOf(stem, "path"), [&](std::ostream& out) { out << job.OriginalPath; });
  }
  WriteFileReplacing(PathOf(stem, "doz"), [&](std::ostream& out) {
    out.write(job.Bytes.data(), static_cast<std::streamsize>(job.Bytes.size()));
  });
  if (m_WrittenStem && *m_WrittenStem != stem) RemoveCopyFiles(*m_WrittenStem);
  m_WrittenStem = stem;
}

void TRecoveryStore::RemoveCopyFiles(const std::string& stem) {
  std::error_code ec;
  fs::remove(PathOf(stem, "doz"), ec);
  fs::remove(PathOf(stem, "path"), ec);
}

bool TRecoveryStore::Flush() {
  std::unique_lock lock(m_Mutex);
  m_Idle.wait(lock, [this] { return !m_Busy && !m_Pending; });
  return !m_LastFailed;
}

void TRecoveryStore::Remove() {
  std::unique_lock lock(m_Mutex);
  m_Pending.reset();
  m_Idle.wait(lock, [this] { return !m_Busy; });
  if (m_WrittenStem) RemoveCopyFiles(*m_WrittenStem);
  m_WrittenStem.reset();
  m_HasCopy = false;
}

bool TRecoveryStore::HasCopy() const {
  std::lock_guard lock(m_Mutex);
  return m_HasCopy;
}

std::vector<TRecoveryCopy> TRecoveryStore::Orphans(
    const std::optional<std::string>& originalPath) const {
  std::vector<TRecoveryCopy> copies;
  std::error_code ec;
  for (fs::directory_iterator it(m_Folder, ec); !ec && it != fs::directory_iterator();
       it.increment(ec)) {
    const fs::path path = it->path();
    if (path.extension() != ".doz") continue;
    const std::string base = path.stem().string();
    const size_t dot = base.rfind('.');
    if (dot == std::string::npos) continue;
    const std::string owner = base.substr(dot + 1);
    if (owner == m_Owner || !IsOwner(owner)) continue;

    TRecoveryCopy copy;
    copy.CopyPath = path.string();
    try {
      copy.OriginalPath =
          ReadFileBytes((fs::path(m_Folder) / (base + ".path")).string(), kMaxNoteBytes);
    } catch (const std::exception&) {
      // Without its note the copy is still worth offering, as an untitled vocabulary.
    }
    if (originalPath && !SamePath(copy.OriginalPath, *originalPath)) continue;
    const int fd = LockFile((fs::path(m_Folder) / (owner + ".lock")).string());
    if (fd < 0) continue;  // its program still runs, or another one has claimed it
    copy.Claim = std::shared_ptr<void>(nullptr, [fd](void*) { Unlock(fd); });
    std::error_code timeError;
    const fs::file_time_type written = fs::last_write_time(path, timeError);
    if (timeError) continue;  // deleted meanwhile
    copy.Time = ToSystemTime(written);
    copies.push_back(std::move(copy));
  }
  std::stable_sort(copies.begin(), copies.end(),
                   [](const TRecoveryCopy& a, const TRecoveryCopy& b) { return a.Time > b.Time; });
  return copies;
}

void TRecoveryStore::Delete(const TRecoveryCopy& copy) {
  const fs::path path(copy.CopyPath);
  const std::string base = path.stem().string();
  std::error_code ec;
  fs::remove(path, ec);
  fs::remove(path.parent_path() / (base + ".path"), ec);
  const size_t dot = base.rfind('.');
  if (dot != std::string::npos) {
    fs::remove(path.parent_path() / (base.substr(dot + 1) + ".lock"), ec);
  }
}

void TRecoveryStore::Restore(const TRecoveryCopy& copy, TVocabFile& vocab) {
  vocab.LoadFromFile(copy.CopyPath);
  vocab.SetFileName(copy.OriginalPath);
  vocab.SetModified(true);
}
