// SPDX-License-Identifier: MIT
#include "vocab/FileUtils.h"

#include <algorithm>
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
// A name for the temporary file beside target that nothing else uses.
fs::path TemporaryPathFor(const fs::path& target) {
  static std::mt19937 generator{std::random_device{}()};
  const fs::path dir = target.parent_path();
  std::string stem(1, '.');
  stem.append(target.filename().string()).append(".tmp");
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = dir / (stem + std::to_string(generator() % 1000000));
    std::error_code ec;
    if (!fs::exists(candidate, ec)) return candidate;
  }
  return dir / stem;
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

void RaiseCannotCreate(const std::string& path) {
  throw std::runtime_error("Cannot create file " + path);
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
    if (fs::is_directory(target, ec) || (perms & fs::perms::owner_write) == fs::perms::none) {
      RaiseCannotCreate(path);
    }
  }

  const fs::path temp = TemporaryPathFor(target);
  // Opening is inside the guard too: the stream can fail after the file was created.
  try {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) RaiseCannotCreate(path);
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
    fs::remove(temp, ec);
    RaiseCannotCreate(path);
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
