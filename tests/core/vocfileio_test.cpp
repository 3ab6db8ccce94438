// SPDX-License-Identifier: MIT
// Tests of the doz format: exact bytes, damaged files and safe saving.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>

#include "TestSupport.h"
#include "vocab/StreamIO.h"
#include "vocab/VocFile.h"

namespace fs = std::filesystem;

namespace {
const std::string kSignature = std::string("\x0c") + "Dadezivu 2.3";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string Int32(int32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i)
    s[i] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
  return s;
}

class TempDir : public testing::Test {
protected:
  void SetUp() override {
    m_Dir = fs::temp_directory_path() /
            ("dadezivu-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_Dir);
    fs::create_directories(m_Dir);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(m_Dir, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_Dir, ec);
  }
  fs::path m_Dir;
};
}  // namespace

TEST(VocFileFormat, EmptyVocabularyIs45Bytes) {
  TVocabFile v;
  const std::string bytes = SavedBytes(v);
  EXPECT_EQ(Hex(bytes), Hex(kSignature + std::string(4 + 8 + 16 + 4, '\0')));
  std::istringstream in(bytes);
  TVocabFile loaded;
  loaded.LoadFromStream(in);
  EXPECT_EQ(loaded.Count(), 0);
  EXPECT_EQ(loaded.ItemIndex(), -1);
}

TEST(VocFileFormat, SingleEntryFileIs75BytesByteForByte) {
  TVocabFile v;
  v.SetForeignLangID(0x0407);
  v.SetNativeLangID(0x0409);
  AddEntry(v, {"Haus", "n", "", "house"});
  const std::string expected = kSignature + std::string("\x07\x04\x09\x04", 4) +
                               std::string(8, '\0') + std::string(16, '\0') +
                               std::string("\x01\x00\x00\x00", 4) + std::string("\x04\x00", 2) +
                               "Haus" + std::string("\x01\x00", 2) + "n" +
                               std::string("\x00\x00\x05\x00", 4) + "house" + std::string(12, '\0');
  ASSERT_EQ(expected.size(), 75u);
  EXPECT_EQ(Hex(SavedBytes(v)), Hex(expected));
  EXPECT_FALSE(v.Modified());
  EXPECT_EQ(v.SavedPos(), v.JournalPos());
}

TEST(VocFileFormat, RoundTripKeepsEverythingStoredAndDropsTheTransient) {
  auto v = SampleVocabulary();
  for (int i = 0; i < 8; ++i) v->SetProperty(i, "property " + std::to_string(i));
  v->SetItemIndex(1);
  v->RecordAnswer(false, 3);
  TVocabItem& e = v->GetItem(2);
  e.LastAsked = -7;
  e.SortPos = -1;
  e.PenaltyPoints = -5;
  e.SortKey = "key";
  e.DisplayWidth = 99;
  e.Values[2] = std::string("bin\0ary\xff", 8);

  std::istringstream in(SavedBytes(*v));
  TVocabFile loaded;
  loaded.SetForeignLangID(0x0419);
  loaded.LoadFromStream(in);
  EXPECT_EQ(loaded.ForeignLangID(), 0x0407);
  EXPECT_EQ(loaded.NativeLangID(), 0x0409);
  EXPECT_EQ(loaded.QuestionCount(), 1);
  EXPECT_EQ(loaded.CorrectCount(), 0);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(loaded.GetProperty(i), "property " + std::to_string(i));
  ASSERT_EQ(loaded.Count(), v->Count());
  for (int32_t i = 0; i < v->Count(); ++i) {
    EXPECT_EQ(loaded.GetItem(i).Values, v->GetItem(i).Values);
    EXPECT_EQ(loaded.GetItem(i).LastAsked, v->GetItem(i).LastAsked);
    EXPECT_EQ(loaded.GetItem(i).SortPos, v->GetItem(i).SortPos);
    EXPECT_EQ(loaded.GetItem(i).PenaltyPoints, v->GetItem(i).PenaltyPoints);
  }
  EXPECT_EQ(loaded.GetItem(1).PenaltyPoints, 1);
  EXPECT_EQ(loaded.GetItem(2).SortKey, "");
  EXPECT_EQ(loaded.GetItem(2).DisplayWidth, 0);
  EXPECT_EQ(loaded.ItemIndex(), -1);
  EXPECT_FALSE(loaded.Modified());
  EXPECT_EQ(loaded.JournalPos(), 0);
  EXPECT_EQ(loaded.SavedPos(), 0);
}

// Damaged files leave the vocabulary empty and the message of the first failure.
TEST(VocFileLoad, TruncatedAnywhereLeavesEmptyVocabulary) {
  auto sample = SampleVocabulary();
  sample->SetProperty(2, "comments");
  const std::string good = SavedBytes(*sample);
  for (size_t cut = 0; cut < good.size(); ++cut) {
    TVocabFile v;
    v.SetForeignLangID(0x0419);
    std::istringstream in(good.substr(0, cut));
    EXPECT_THROW_MSG(v.LoadFromStream(in), cut < 13 ? "Invalid file format." : "Stream read error");
    EXPECT_EQ(v.Count(), 0) << "cut at " << cut;
    EXPECT_EQ(v.QuestionCount(), 0);
    EXPECT_EQ(v.GetProperty(2), "");
    EXPECT_FALSE(v.Modified());
  }
}

TEST(VocFileLoad, AcceptsOnlyTheExactSignature) {
  const std::string good = SavedBytes(*SampleVocabulary());
  for (size_t at = 0; at < 13; ++at) {
    std::string bad = good;
    bad[at] = at == 0 ? '\x0b' : static_cast<char>(bad[at] ^ 0x20);  // flips letter case
    std::istringstream in(bad);
    TVocabFile v;
    EXPECT_THROW_MSG(v.LoadFromStream(in), "Invalid file format.");
    EXPECT_THROW(
        {
          std::istringstream again(bad);
          v.LoadFromStream(again);
        },
        EVocabFileError);
  }
}

TEST(VocFileLoad, RejectsImpossibleCountsWithoutReservingForThem) {
  TVocabFile empty;
  const std::string header = SavedBytes(empty).substr(0, 41);
  struct Case {
    int32_t count;
    const char* message;
  } cases[] = {
      {-1, "List capacity out of bounds (-1)"},
      {134217728, "List capacity out of bounds (134217728)"},
      {INT32_MIN, "List capacity out of bounds (-2147483648)"},
      // Plausible to the list, but far more than the stream holds: fails at the end of the data.
      {134217727, "Stream read error"},
      {2, "Stream read error"},
  };
  for (const Case& c : cases) {
    std::istringstream in(header + Int32(c.count) + std::string(20, '\0'));
    TVocabFile v;
    EXPECT_THROW_MSG(v.LoadFromStream(in), c.message);
    EXPECT_EQ(v.Count(), 0);
    EXPECT_EQ(v.Items().capacity(), 0u) << "the partial list is freed";
  }
}

TEST(VocFileLoad, IgnoresBytesAfterTheLastEntryAndLoadsIntoAUsedVocabulary) {
  std::string bytes = SavedBytes(*SampleVocabulary({{"eins"}}));
  bytes += "trailing garbage";
  auto v = SampleVocabulary();
  AddEntry(*v, {"pending"});
  std::istringstream in(bytes);
  v->LoadFromStream(in);
  EXPECT_EQ(Words(*v), "eins");
  EXPECT_EQ(v->UndoKind(), jkNone);
}

TEST(VocFileLoad, LongTextsUpTo65535BytesRoundTrip) {
  auto v = SampleVocabulary({{"x"}});
  v->GetItem(0).Values[3] = std::string(65535, 'a');
  v->SetProperty(1, std::string(70000 / 2, 'b'));
  std::istringstream in(SavedBytes(*v));
  TVocabFile loaded;
  loaded.LoadFromStream(in);
  EXPECT_EQ(loaded.GetItem(0).Values[3].size(), 65535u);
  EXPECT_EQ(loaded.GetProperty(1).size(), 35000u);
}

TEST(VocFileSave, RefusesTextsTooLongForTheFormatAndWritesNothing) {
  auto v = SampleVocabulary();
  v->GetItem(3).Values[2] = std::string(65536, 'x');
  v->SetModified(true);
  std::ostringstream out;
  EXPECT_THROW_MSG(v->SaveToStream(out),
                   "Entry 4 has a text longer than 65,535 bytes and cannot be saved.");
  EXPECT_EQ(out.str().size(), 0u);
  EXPECT_TRUE(v->Modified());

  TVocabFile p;
  p.SetProperty(5, std::string(65536, 'y'));
  EXPECT_THROW_MSG(p.SaveToStream(out),
                   "The file property 6 is longer than 65,535 bytes and cannot be saved.");
}

TEST(VocFileSave, StreamWriteErrorIsReportedAndStateKept) {
  auto v = SampleVocabulary();
  AddEntry(*v, {"neu"});
  // A stream buffer that accepts nothing.
  struct Full : std::streambuf {
    int_type overflow(int_type) override { return traits_type::eof(); }
  } full;
  std::ostream sink(&full);
  EXPECT_THROW_MSG(v->SaveToStream(sink), "Stream write error");
  EXPECT_TRUE(v->Modified());
  EXPECT_EQ(v->SavedPos(), 0);
  EXPECT_EQ(v->JournalPos(), 1);
}

TEST_F(TempDir, SaveAndLoadFilesSetTheFileName) {
  const fs::path path = m_Dir / "words.doz";
  auto v = SampleVocabulary();
  AddEntry(*v, {"neu"});
  v->SaveToFile(path.string());
  EXPECT_EQ(v->FileName(), path.string());
  EXPECT_FALSE(v->Modified());
  EXPECT_EQ(ReadFile(path), SavedBytes(*v));

  TVocabFile loaded;
  loaded.LoadFromFile(path.string());
  EXPECT_EQ(loaded.FileName(), path.string());
  EXPECT_EQ(Words(loaded), Words(*v));
  // Nothing but the file itself is left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(m_Dir), fs::directory_iterator()), 1);
}

TEST_F(TempDir, FailedLoadOfAFileLeavesTheFileNameUnset) {
  TVocabFile v;
  const std::string missing = (m_Dir / "missing.doz").string();
  EXPECT_THROW_MSG(v.LoadFromFile(missing), "Cannot open file " + missing);
  WriteFile(m_Dir / "bad.doz", "not a vocabulary");
  EXPECT_THROW_MSG(v.LoadFromFile((m_Dir / "bad.doz").string()), "Invalid file format.");
  EXPECT_EQ(v.FileName(), "");
}

// Folders, pipes and devices are refused by name, as the import refuses them, instead of
// blocking or failing with the file library's own text; a read that fails mid-way is the
// stream's read error.
TEST_F(TempDir, LoadAndMergeRefuseWhatIsNotARegularFile) {
  const std::string pipe = (m_Dir / "pipe.doz").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  for (const std::string& path : {m_Dir.string(), pipe, std::string("/dev/zero")}) {
    TVocabFile v;
    EXPECT_THROW_MSG(v.LoadFromFile(path), "Cannot open file " + path);
    EXPECT_THROW_MSG(v.MergeFile(path), "Cannot open file " + path);
    EXPECT_EQ(v.FileName(), "");
  }
  std::ifstream folder(m_Dir, std::ios::binary);
  ASSERT_TRUE(folder.is_open());
  TVocabFile v;
  EXPECT_THROW_MSG(v.LoadFromStream(folder), "Stream read error");
}

TEST_F(TempDir, FailedSaveKeepsTheOldFileTheNameAndTheModifiedState) {
  const fs::path path = m_Dir / "words.doz";
  auto v = SampleVocabulary();
  v->SaveToFile(path.string());
  const std::string before = ReadFile(path);

  AddEntry(*v, {"neu"});
  v->GetItem(0).Values[0] = std::string(70000, 'x');
  EXPECT_THROW(v->SaveToFile(path.string()), EVocabFileError);
  EXPECT_EQ(ReadFile(path), before);
  EXPECT_TRUE(v->Modified());

  // A folder that does not exist: the file cannot be created.
  v->GetItem(0).Values[0] = "Haus";
  const std::string target = (m_Dir / "no such folder" / "new.doz").string();
  EXPECT_THROW_MSG(v->SaveToFile(target),
                   "Cannot create file " + target + ": No such file or directory");
  EXPECT_TRUE(v->Modified());
  EXPECT_EQ(v->FileName(), path.string());
}

TEST_F(TempDir, SaveRefusesAReadOnlyTarget) {
  const fs::path path = m_Dir / "readonly.doz";
  WriteFile(path, "old contents");
  fs::permissions(path, fs::perms::owner_read);
  auto v = SampleVocabulary();
  EXPECT_THROW_MSG(v->SaveToFile(path.string()),
                   "Cannot create file " + path.string() + ": Permission denied");
  fs::permissions(path, fs::perms::owner_all);
  EXPECT_EQ(ReadFile(path), "old contents");
}

TEST_F(TempDir, SaveThroughALinkReplacesTheLinkedFile) {
  const fs::path real = m_Dir / "real.doz";
  const fs::path link = m_Dir / "link.doz";
  WriteFile(real, "old");
  fs::create_symlink(real, link);
  auto v = SampleVocabulary();
  v->SaveToFile(link.string());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(real), SavedBytes(*v));
}

TEST(StreamReader, LeavesTheStreamJustAfterWhatItRead) {
  std::istringstream in("abcdefgh");
  {
    TStreamReader reader(in);
    char buf[3];
    reader.ReadBuffer(buf, 3);
    EXPECT_EQ(reader.Remaining(), 5);
  }
  EXPECT_EQ(in.get(), 'd');
}

TEST(VocabItem, StreamsOneEntryRecord) {
  TVocabItem item;
  item.Values = {"a", "bb", "", "ccc"};
  item.LastAsked = 1;
  item.SortPos = 2;
  item.PenaltyPoints = -1;
  std::ostringstream out;
  item.SaveToStream(out);
  EXPECT_EQ(out.str().size(), 20u + 6u);
  std::istringstream in(out.str());
  TVocabItem back;
  back.LoadFromStream(in);
  EXPECT_EQ(back.Values, item.Values);
  EXPECT_EQ(back.LastAsked, 1);
  EXPECT_EQ(back.SortPos, 2);
  EXPECT_TRUE(back.IsLearnt());
}
