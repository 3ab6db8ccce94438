// SPDX-License-Identifier: MIT
// Write-then-replace saving: what it leaves beside the target.
#include "vocab/FileUtils.h"

#include <chrono>
#include <filesystem>
#include <ostream>

#include "TempFiles.h"
#include "TestSupport.h"
#include "vocab/StreamIO.h"

namespace fs = std::filesystem;

namespace {
void SetAge(const std::string& path, std::chrono::seconds age) {
  fs::last_write_time(path, fs::file_time_type::clock::now() - age);
}

void WriteText(const std::string& path, const std::string& text) {
  WriteFileReplacing(path, [&](std::ostream& out) { out << text; });
}
}  // namespace

// A save that was killed leaves its temporary file; the next successful save of the same
// target removes such files, but only those of the exact own naming that are not in use.
TEST(WriteFileReplacing, RemovesStaleTemporariesOfTheSameTargetOnly) {
  TTempDir dir;
  const std::string target = dir.Write("words.doz", "old");
  const std::vector<std::string> stale = {".words.doz.tmp", ".words.doz.tmp0",
                                          ".words.doz.tmp123456"};
  const std::vector<std::string> kept = {
      ".words.doz.tmp1234567",  // more digits than the naming ever uses
      ".words.doz.tmp12a",     ".words.doz.tmpx",     ".words.doz.tmp-1", "words.doz.tmp1",
      ".other.doz.tmp1",       ".words.doz.tmp1.bak", ".Words.doz.tmp1"};
  for (const auto& name : stale) SetAge(dir.Write(name, "partial"), std::chrono::hours(1));
  for (const auto& name : kept) SetAge(dir.Write(name, "other"), std::chrono::hours(1));
  // Written just now: another copy of the program may be saving the same file.
  dir.Write(".words.doz.tmp77", "in use");
  fs::create_directory(dir.Path(".words.doz.tmp5"));
  fs::create_symlink(dir.Path(".other.doz.tmp1"), dir.Path(".words.doz.tmp6"));
  SetAge(dir.Path(".words.doz.tmp5"), std::chrono::hours(1));

  // A failed save removes nothing.
  EXPECT_THROW(WriteFileReplacing(target, [](std::ostream&) { RaiseWriteError(); }),
               std::runtime_error);
  for (const auto& name : stale) EXPECT_TRUE(fs::exists(dir.Path(name))) << name;

  WriteText(target, "new");
  EXPECT_EQ(TTempDir::Read(target), "new");
  for (const auto& name : stale) EXPECT_FALSE(fs::exists(dir.Path(name))) << name;
  for (const auto& name : kept) EXPECT_TRUE(fs::exists(dir.Path(name))) << name;
  EXPECT_TRUE(fs::exists(dir.Path(".words.doz.tmp77")));
  EXPECT_TRUE(fs::is_directory(dir.Path(".words.doz.tmp5")));
  EXPECT_TRUE(fs::is_symlink(dir.Path(".words.doz.tmp6")));
}

// Through a link the file linked to is saved, so its own leftovers are the ones removed.
TEST(WriteFileReplacing, RemovesTheLeftoversOfTheFileALinkPointsTo) {
  TTempDir dir;
  const std::string real = dir.Write("real.doz", "old");
  fs::create_symlink(real, dir.Path("link.doz"));
  SetAge(dir.Write(".real.doz.tmp9", "partial"), std::chrono::hours(1));
  SetAge(dir.Write(".link.doz.tmp9", "partial"), std::chrono::hours(1));
  WriteText(dir.Path("link.doz"), "new");
  EXPECT_EQ(TTempDir::Read(real), "new");
  EXPECT_TRUE(fs::is_symlink(dir.Path("link.doz")));
  EXPECT_EQ(dir.Files(), (std::vector<std::string>{".link.doz.tmp9", "link.doz", "real.doz"}));
}
