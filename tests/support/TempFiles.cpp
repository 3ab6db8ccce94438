// SPDX-License-Identifier: MIT
// Temporary folders and files for tests, removed when the test ends.
#include "TempFiles.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include <unistd.h>

namespace fs = std::filesystem;

TTempDir::TTempDir() {
  static std::atomic<int> serial{0};
  const fs::path dir = fs::temp_directory_path() / ("dadezivu-test-" + std::to_string(::getpid()) +
                                                    "-" + std::to_string(serial++));
  fs::remove_all(dir);
  fs::create_directories(dir);
  m_Dir = dir.string();
}

TTempDir::~TTempDir() {
  std::error_code ec;
  fs::remove_all(m_Dir, ec);
}

std::string TTempDir::Path(const std::string& name) const {
  return (fs::path(m_Dir) / name).string();
}

std::string TTempDir::Write(const std::string& name, const std::string& bytes) const {
  const std::string path = Path(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::string TTempDir::Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> TTempDir::Files() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(m_Dir)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}
