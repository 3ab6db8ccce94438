// SPDX-License-Identifier: MIT
#include "vocab/SafeFile.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {
[[noreturn]] void RaiseCannotCreate(const std::string& path) {
  throw std::runtime_error("Cannot create file " + path);
}

// A name for the temporary file beside target that nothing else uses.
fs::path TemporaryPathFor(const fs::path& target) {
  static std::mt19937 generator{std::random_device{}()};
  const fs::path dir = target.parent_path();
  const std::string stem = "." + target.filename().string() + ".tmp";
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

void WriteFileSafely(const std::string& path, const std::function<void(std::ostream&)>& write) {
  std::error_code ec;
  fs::path target = fs::weakly_canonical(fs::path(path), ec);
  if (ec) target = fs::path(path);

  const bool exists = fs::exists(target, ec);
  if (exists) {
    const auto perms = fs::status(target, ec).permissions();
    if (fs::is_directory(target, ec) || (perms & fs::perms::owner_write) == fs::perms::none) {
      RaiseCannotCreate(path);
    }
  }

  const fs::path temp = TemporaryPathFor(target);
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) RaiseCannotCreate(path);
    try {
      write(out);
      out.close();
      if (!out || !SyncToDisk(temp)) throw std::runtime_error("Stream write error");
    } catch (...) {
      out.close();
      fs::remove(temp, ec);
      throw;
    }
  }
  if (exists) fs::permissions(temp, fs::status(target, ec).permissions(), ec);
  fs::rename(temp, target, ec);
  if (ec) {
    fs::remove(temp, ec);
    RaiseCannotCreate(path);
  }
}
