// SPDX-License-Identifier: MIT
// Safe replacement of files through a temporary file, and bounded file reading.
#include "vocab/FileUtils.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>
#endif

#include "vocab/StreamIO.h"

namespace fs = std::filesystem;

namespace {
constexpr uint32_t kTemporaryNumbers = 1000000;
constexpr auto kStaleMargin = std::chrono::seconds(2);

// The temporary files of target are named "." + its name + ".tmp" + a number below
// kTemporaryNumbers (or no number, the last resort).
std::string TemporaryStem(const fs::path& target) {
  // Built by appending: GCC 12 at -O3 warns falsely about "." + string.
  std::string stem(1, '.');
  stem.append(target.filename().string()).append(".tmp");
  return stem;
}

bool IsTemporaryName(const std::string& name, const std::string& stem) {
  if (name.size() > stem.size() + 6 || name.compare(0, stem.size(), stem) != 0) return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(stem.size()), name.end(),
                     [](char c) { return c >= '0' && c <= '9'; });
}

// A name for the temporary file beside target that nothing else uses.
fs::path TemporaryPathFor(const fs::path& target) {
  static std::mt19937 generator{std::random_device{}()};
  const fs::path dir = target.parent_path();
  const std::string stem = TemporaryStem(target);
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = dir / (stem + std::to_string(generator() % kTemporaryNumbers));
    std::error_code ec;
    if (!fs::exists(candidate, ec)) return candidate;
  }
  return dir / stem;
}

// Removes what earlier saves of target left behind when they were killed: regular files of the
// exact temporary naming that were last written before this save began. A save running now in
// another process keeps writing its file, so its time is not older than ours; the margin covers
// the coarse clock of file times.
void RemoveStaleTemporaries(const fs::path& target, fs::file_time_type saveStart) {
  const std::string stem = TemporaryStem(target);
  std::error_code ec;
  fs::directory_iterator it(target.parent_path().empty() ? fs::path(".") : target.parent_path(),
                            ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const fs::directory_entry& entry = *it;
    std::error_code entryError;
    if (!IsTemporaryName(entry.path().filename().string(), stem) ||
        !entry.is_regular_file(entryError) || entry.is_symlink(entryError)) {
      continue;
    }
    const fs::file_time_type written = entry.last_write_time(entryError);
    if (!entryError && written < saveStart - kStaleMargin) fs::remove(entry.path(), entryError);
  }
}

// Makes sure the written bytes are on the disk before the old file is replaced.
bool SyncToDisk(const fs::path& path) {
#if defined(__unix__) || defined(__APPLE__)
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
#else
  (void)path;
  return true;
#endif
}
}  // namespace

void RaiseCannotCreate(const std::string& path, int error) {
  throw std::runtime_error("Cannot create file " + path +
                           (error != 0 ? ": " + std::generic_category().message(error) : ""));
}

void RaiseCannotOpen(const std::string& path) {
  throw std::runtime_error("Cannot open file " + path);
}

void CheckRegularFile(const std::string& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) RaiseCannotOpen(path);
}

void WriteFileReplacing(const std::string& path, const std::function<void(std::ostream&)>& write) {
  std::error_code ec;
  // Replace the file a link points to, not the link.
  fs::path target = fs::weakly_canonical(fs::path(path), ec);
  if (ec) target = fs::path(path);

  if (fs::exists(target, ec)) {
    const auto perms = fs::status(target, ec).permissions();
    if (fs::is_directory(target, ec)) RaiseCannotCreate(path, EISDIR);
    if ((perms & fs::perms::owner_write) == fs::perms::none) RaiseCannotCreate(path, EACCES);
  }

  const fs::file_time_type saveStart = fs::file_time_type::clock::now();
  const fs::path temp = TemporaryPathFor(target);
  // Opening is inside the guard too: the stream can fail after the file was created.
  try {
    errno = 0;
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) RaiseCannotCreate(path, errno);
    write(out);
    out.close();
    if (!out || !SyncToDisk(temp)) RaiseWriteError();
  } catch (...) {
    fs::remove(temp, ec);
    throw;
  }
  if (fs::exists(target, ec)) {
    fs::permissions(temp, fs::status(target, ec).permissions(), ec);
  }
  fs::rename(temp, target, ec);
  if (ec) {
    const int error = ec.value();
    fs::remove(temp, ec);
    RaiseCannotCreate(path, error);
  }
  // The save has succeeded; tidying up must not turn it into a failure (not even out of memory).
  try {
    RemoveStaleTemporaries(target, saveStart);
  } catch (...) {
  }
}

std::string ReadFileBytes(const std::string& path, size_t maxBytes) {
  CheckRegularFile(path);
  std::ifstream in(path, std::ios::binary);
  if (!in) RaiseCannotOpen(path);
  std::string bytes;
  std::streambuf* buf = in.rdbuf();
  const std::streampos end = buf->pubseekoff(0, std::ios::end, std::ios::in);
  buf->pubseekpos(0, std::ios::in);
  // The size only sizes the buffer; reading goes on to the real end of the file.
  if (end != std::streampos(-1)) {
    bytes.reserve(std::min(maxBytes, static_cast<size_t>(static_cast<std::streamoff>(end))));
  }
  char chunk[64 * 1024];
  // The file buffer throws its own text on a failing read; the user sees the stream's message.
  try {
    while (bytes.size() < maxBytes) {
      const size_t want = std::min(sizeof chunk, maxBytes - bytes.size());
      const std::streamsize got = buf->sgetn(chunk, static_cast<std::streamsize>(want));
      if (got <= 0) break;
      bytes.append(chunk, static_cast<size_t>(got));
    }
  } catch (const std::ios_base::failure&) {
    RaiseReadError();
  }
  if (in.bad()) RaiseReadError();
  return bytes;
}
