// SPDX-License-Identifier: MIT
// Recovery copies: names, which program's copies are offered, and restoring one.
#include "vocab/Recovery.h"

#include <filesystem>
#include <thread>

#include "TempFiles.h"
#include "TestSupport.h"

namespace fs = std::filesystem;

namespace {
std::string CopyBytes(TVocabFile& v) {
  const bool modified = v.Modified();
  const std::string bytes = RecoveryBytes(v, 10);
  EXPECT_EQ(v.Modified(), modified);  // making the copy changes nothing
  EXPECT_EQ(bytes, SavedBytes(v));    // it is what a save writes
  v.SetModified(modified);
  return bytes;
}
}  // namespace

// The name says which file a copy belongs to; two files of one name in different folders, and
// the untitled vocabulary, get names of their own that do not change from run to run.
TEST(RecoveryStem, NamesTheFileAndTellsPathsApart) {
  EXPECT_EQ(RecoveryStem(""), "untitled-cbf29ce484222325");
  const std::string a = RecoveryStem("/home/u/German-English.doz");
  EXPECT_EQ(a.substr(0, 19), "German-English_doz-");
  EXPECT_EQ(a.size(), 19u + 16u);
  EXPECT_EQ(RecoveryStem("/home/u/German-English.doz"), a);
  EXPECT_NE(RecoveryStem("/tmp/German-English.doz"), a);
  // Blanks, dots and bytes outside ASCII never reach the name; long names are cut.
  const std::string odd = RecoveryStem("/x/" + std::string(100, 'a') + ".\xe4 b..doz");
  EXPECT_EQ(odd.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_-"), std::string::npos);
  EXPECT_EQ(odd.size(), 40u + 1u + 16u);
}

// A running program's copy is never offered to another; once the program is gone (its lock
// goes with it, however it ended) the copy is offered, claimed by one program at a time.
TEST(RecoveryStore, OffersOnlyCopiesOfProgramsThatNoLongerRun) {
  TTempDir dir;
  const std::string folder = dir.Path("recovery");
  auto vocab = SampleVocabulary({{"Haus", "n", "", "house"}});
  AddEntry(*vocab, {"Baum", "", "", "tree"});
  const std::string original = dir.Write("words.doz", "saved before the changes");
  fs::last_write_time(original, fs::file_time_type::clock::now() - std::chrono::hours(1));

  auto first = std::make_unique<TRecoveryStore>(folder);
  first->Write(CopyBytes(*vocab), original);
  ASSERT_TRUE(first->Flush());
  EXPECT_TRUE(first->HasCopy());
  TRecoveryStore second(folder);
  EXPECT_TRUE(second.Orphans().empty());

  first.reset();  // the program ends without removing its copy, as a crash would
  std::vector<TRecoveryCopy> copies = second.Orphans();
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0].OriginalPath, original);
  EXPECT_TRUE(IsNewerThanOriginal(copies[0]));
  EXPECT_LE(copies[0].Time, std::chrono::system_clock::now());
  EXPECT_EQ(second.Orphans(original).size(), 0u) << "claimed by the first call";
  {
    TRecoveryStore third(folder);
    EXPECT_TRUE(third.Orphans().empty());
  }

  TVocabFile restored;
  TRecoveryStore::Restore(copies[0], restored);
  EXPECT_EQ(Words(restored), "Haus Baum");
  EXPECT_EQ(restored.FileName(), original);
  EXPECT_TRUE(restored.Modified());

  copies.clear();  // the claim ends
  EXPECT_EQ(second.Orphans(original).size(), 1u);
  EXPECT_TRUE(second.Orphans(dir.Path("other.doz")).empty());
  // Saved after the copy was written: the file has everything the copy has.
  fs::last_write_time(original, fs::file_time_type::clock::now() + std::chrono::seconds(5));
  EXPECT_FALSE(IsNewerThanOriginal(second.Orphans()[0]));
  fs::remove(original);
  EXPECT_TRUE(IsNewerThanOriginal(second.Orphans()[0]));

  TRecoveryStore::Delete(second.Orphans()[0]);
  EXPECT_EQ(dir.Files(), (std::vector<std::string>{"recovery"}));
  EXPECT_TRUE(fs::is_empty(folder));
}

// One copy per program: a copy for another file replaces the old one, a save or discard removes
// it, and a program that ends without a copy leaves nothing behind.
TEST(RecoveryStore, KeepsOneCopyAndCleansUp) {
  TTempDir dir;
  const std::string folder = dir.Path("recovery");
  auto vocab = SampleVocabulary({{"Haus"}});
  auto listing = [&] {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.push_back(entry.path().extension().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  };
  {
    TRecoveryStore store(folder);
    EXPECT_FALSE(store.HasCopy());
    store.Write(CopyBytes(*vocab), "");
    store.Write(CopyBytes(*vocab), dir.Path("a.doz"));
    ASSERT_TRUE(store.Flush());
    EXPECT_EQ(listing(), (std::vector<std::string>{".doz", ".lock", ".path"}));
    const std::string copyName = RecoveryStem(dir.Path("a.doz"));
    bool found = false;
    for (const auto& entry : fs::directory_iterator(folder)) {
      if (entry.path().extension() != ".doz") continue;
      found = entry.path().filename().string().starts_with(copyName + ".");
      EXPECT_EQ(TTempDir::Read(entry.path().string()), CopyBytes(*vocab));
    }
    EXPECT_TRUE(found);
    store.Remove();
    EXPECT_FALSE(store.HasCopy());
    EXPECT_EQ(listing(), (std::vector<std::string>{".lock"}));
  }
  EXPECT_TRUE(fs::is_empty(folder));

  // Restoring an untitled copy gives an untitled, modified vocabulary.
  {
    TRecoveryStore crashed(folder);
    crashed.Write(CopyBytes(*vocab), "");
    ASSERT_TRUE(crashed.Flush());
  }
  TRecoveryStore store(folder);
  const auto copies = store.Orphans(std::string());
  ASSERT_EQ(copies.size(), 1u);
  TVocabFile restored;
  TRecoveryStore::Restore(copies[0], restored);
  EXPECT_EQ(restored.FileName(), "");
  EXPECT_TRUE(restored.Modified());
  EXPECT_EQ(Words(restored), "Haus");
}

// A folder that cannot be made is reported by Flush, not thrown at the program.
TEST(RecoveryStore, AFailedWriteIsReportedByFlush) {
  TTempDir dir;
  TRecoveryStore store(dir.Write("recovery", "a file, not a folder"));
  store.Write("bytes", "");
  EXPECT_FALSE(store.Flush());
}
