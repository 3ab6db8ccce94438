// SPDX-License-Identifier: MIT
// Shared by the fuzz targets: a failing property stops the run, readers of paths get a file.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

// A property that must hold for every input; a violation is reported like a crash.
#define FUZZ_CHECK(condition)                                                               \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (false)

// Languages of different code pages, single-byte, with combining marks and UTF-8, English and
// not, and ids the table does not know.
inline uint16_t PickLanguage(FuzzedDataProvider& data) {
  static constexpr std::array<uint16_t, 16> kIds = {0x0407, 0x0409, 0x0809, 0x040C, 0x0419, 0x0408,
                                                    0x041F, 0x0405, 0x0411, 0x0804, 0x0000, 0x7FFF,
                                                    0x0401, 0x042A, 0x041E, 0x0439};
  return data.PickValueInArray(kIds);
}

// One file per process that path-based readers read; removed when the process ends. It lives in
// memory where it can: rewriting a file on disk for every input flushes it each time.
class TFuzzFile {
public:
  TFuzzFile()
      : m_Path((Folder() / ("dadezivu-fuzz-" + std::to_string(::getpid()) + ".bin")).string()) {}
  ~TFuzzFile() { std::remove(m_Path.c_str()); }
  const std::string& Write(const std::string& bytes) {
    std::ofstream out(m_Path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return m_Path;
  }

private:
  static std::filesystem::path Folder() {
    std::error_code ec;
    if (std::filesystem::is_directory("/dev/shm", ec)) return "/dev/shm";
    return std::filesystem::temp_directory_path();
  }
  std::string m_Path;
};
