// SPDX-License-Identifier: MIT
// Temporary folders and files for tests that read and write files.
#pragma once

#include <string>
#include <vector>

// A fresh folder for the files of one test, removed with everything in it at the end.
class TTempDir {
public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  std::string Path(const std::string& name) const;
  // Writes bytes to the file name in the folder and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const;
  // The whole file; empty when it cannot be read.
  static std::string Read(const std::string& path);
  // The names of the files in the folder, sorted.
  std::vector<std::string> Files() const;

private:
  std::string m_Dir;
};
