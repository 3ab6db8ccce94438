// SPDX-License-Identifier: MIT
// Tests of undo and redo for every kind of change, and entry ownership across them.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "text/Random.h"
#include "vocab/VocFile.h"

namespace {
void SetKeys(TVocabFile& v) {
  // Sort by the word itself; the appended position keeps equal words in order.
  for (int32_t i = 0; i < v.Count(); ++i) {
    TVocabItem& e = v.GetItem(i);
    char pos[16];
    std::snprintf(pos, sizeof pos, "%04X", i);
    e.SortKey = e.Values[0] + '\0' + pos;
  }
}
}  // namespace

TEST(Journal, EveryKindUndoesAndRedoesToTheSameObjectsAndCurrentEntry) {
  auto v = SampleVocabulary({{"D"}, {"B"}, {"A"}, {"C"}});
  struct Step {
    const char* name;
    void (*apply)(TVocabFile&);
    uint8_t kind;
  } steps[] = {
      {"add",
       [](TVocabFile& f) {
         f.SetItemIndex(1);
         AddEntry(f, {"X"}, 1);
       },
       jkAdd},
      {"edit",
       [](TVocabFile& f) {
         f.SetItemIndex(0);
         f.EditItem().Values[0] = "E";
         f.ReplaceCurrent();
       },
       jkEdit},
      {"delete",
       [](TVocabFile& f) {
         f.SetItemIndex(f.Count() - 1);
         f.DeleteCurrent();
       },
       jkDelete},
      {"move",
       [](TVocabFile& f) {
         f.SetItemIndex(0);
         f.MoveCurrent(3);
       },
       jkMove},
      {"sort",
       [](TVocabFile& f) {
         f.SetItemIndex(2);
         SetKeys(f);
         f.Sort();
       },
       jkSort},
      {"shuffle",
       [](TVocabFile& f) {
         f.SetItemIndex(1);
         SetRandSeed(7);
         f.Shuffle();
       },
       jkShuffle},
  };
  for (const Step& s : steps) {
    const TItemList before = v->Items();
    s.apply(*v);
    const int32_t indexBefore = v->Journal().back().OldIndex;
    const TItemList after = v->Items();
    const int32_t indexAfter = v->ItemIndex();
    EXPECT_EQ(v->UndoKind(), s.kind) << s.name;
    const int live = LiveItemCount;

    v->Undo();
    EXPECT_EQ(v->Items(), before) << s.name;
    EXPECT_EQ(v->ItemIndex(), indexBefore) << s.name;
    EXPECT_EQ(v->RedoKind(), s.kind) << s.name;
    v->Redo();
    EXPECT_EQ(v->Items(), after) << s.name << ": redo restores the very same objects";
    EXPECT_EQ(v->ItemIndex(), indexAfter) << s.name;
    EXPECT_EQ(LiveItemCount, live) << s.name << ": no copies";
  }
  // Now undo the whole history back to the sample.
  while (v->UndoKind() != jkNone) v->Undo();
  EXPECT_EQ(Words(*v), "D B A C");
  EXPECT_FALSE(v->Modified());
  while (v->RedoKind() != jkNone) v->Redo();
  EXPECT_EQ(v->JournalPos(), 6);
}

TEST(Journal, UndoOfAddRestoresThePreviousCurrentEntry) {
  auto v = SampleVocabulary({{"A"}, {"B"}});
  v->SetItemIndex(1);
  AddEntry(*v, {"X"}, 0);
  TVocabItem* added = &v->CurrentItem();
  v->Undo();
  EXPECT_EQ(Words(*v), "A B");
  EXPECT_EQ(v->ItemIndex(), 1);
  v->Redo();
  EXPECT_EQ(&v->GetItem(1), added);
  EXPECT_EQ(v->ItemIndex(), 1);
}

TEST(Journal, UndoOfDeletingTheLastEntryBringsItBackCurrent) {
  auto v = SampleVocabulary({{"A"}, {"B"}, {"C"}});
  v->SetItemIndex(2);
  v->DeleteCurrent();
  EXPECT_EQ(v->ItemIndex(), 1);
  v->Undo();
  EXPECT_EQ(Words(*v), "A B C");
  EXPECT_EQ(v->ItemIndex(), 2);
}

TEST(Journal, UndoOfEditSwapsTheTwoEntriesWithoutAThirdCopy) {
  auto v = SampleVocabulary({{"old"}});
  v->EditItem().Values[0] = "new";
  v->ReplaceCurrent();
  const int live = LiveItemCount;
  v->Undo();
  EXPECT_EQ(Words(*v), "old");
  v->Redo();
  EXPECT_EQ(Words(*v), "new");
  EXPECT_EQ(LiveItemCount, live);
}

TEST(Journal, SortThenEditUndoneTwiceRestoresOrderAndCurrentEntry) {
  auto v = SampleVocabulary({{"c"}, {"a"}, {"b"}});
  v->SetItemIndex(0);
  SetKeys(*v);
  v->Sort();
  EXPECT_EQ(Words(*v), "a b c");
  EXPECT_EQ(v->ItemIndex(), 2) << "the current entry stays current";
  v->SetItemIndex(0);
  v->EditItem().Values[0] = "z";
  v->ReplaceCurrent();
  v->Undo();
  EXPECT_EQ(Words(*v), "a b c");
  v->Undo();
  EXPECT_EQ(Words(*v), "c a b");
  EXPECT_EQ(v->ItemIndex(), 0);
}

TEST(Journal, SortWithoutCurrentEntryKeepsNone) {
  auto v = SampleVocabulary({{"b"}, {"a"}});
  v->SetItemIndex(-1);
  SetKeys(*v);
  v->Sort();
  EXPECT_EQ(Words(*v), "a b");
  EXPECT_EQ(v->ItemIndex(), -1);
  EXPECT_EQ(v->Journal().back().NewIndex, -1);
}

TEST(Journal, SortOrdersKeysAsUnsignedBytesShorterPrefixFirst) {
  auto v = SampleVocabulary({{"4"}, {"3"}, {"2"}, {"1"}});
  const std::string keys[] = {"\xE9", "b", "ab", "a"};
  for (int i = 0; i < 4; ++i) v->GetItem(i).SortKey = keys[i];
  v->Sort();
  EXPECT_EQ(Words(*v), "1 2 3 4");
}

TEST(Journal, SortingOrShufflingAnEmptyListStillRecordsAStep) {
  TVocabFile v;
  v.Sort();
  EXPECT_EQ(v.UndoKind(), jkSort);
  EXPECT_TRUE(v.Modified());
  v.Shuffle();
  EXPECT_EQ(v.UndoKind(), jkShuffle);
  EXPECT_STREQ(JournalKindName(v.UndoKind()), "Shuffle");
  v.Undo();
  v.Undo();
  EXPECT_FALSE(v.Modified());
}

TEST(Journal, ShuffleFollowsTheGeneratorAndKeepsTheCurrentEntry) {
  auto v = SampleVocabulary({{"A"}, {"B"}, {"C"}, {"D"}, {"E"}});
  v->SetItemIndex(2);
  SetRandSeed(42);
  TItemList expected = v->Items();
  {
    SetRandSeed(42);
    const int32_t n = 5;
    for (int32_t p = 0; p < n; ++p) std::swap(expected[p], expected[Random(n)]);
  }
  TVocabItem* current = &v->CurrentItem();
  SetRandSeed(42);
  v->Shuffle();
  EXPECT_EQ(v->Items(), expected);
  EXPECT_EQ(&v->CurrentItem(), current);

  // Two entries swap with probability about 1/2; one entry stays put.
  int swapped = 0;
  SetRandSeed(1);
  auto two = SampleVocabulary({{"A"}, {"B"}});
  for (int i = 0; i < 2000; ++i) {
    two->Shuffle();
    if (Words(*two) == "B A") ++swapped;
  }
  EXPECT_GT(swapped, 800);
  EXPECT_LT(swapped, 1200);
  auto one = SampleVocabulary({{"A"}});
  one->Shuffle();
  EXPECT_EQ(Words(*one), "A");
}

TEST(Journal, NewChangeAfterUndoDiscardsTheRedoTail) {
  auto v = SampleVocabulary({{"A"}});
  AddEntry(*v, {"B"});
  AddEntry(*v, {"C"});
  v->Undo();
  v->Undo();
  EXPECT_EQ(v->RedoKind(), jkAdd);
  const int live = LiveItemCount;
  AddEntry(*v, {"D"});
  EXPECT_EQ(v->RedoKind(), jkNone);
  EXPECT_EQ(v->JournalPos(), 1);
  EXPECT_EQ(LiveItemCount, live - 1) << "B and C were freed, D's buffer replaced";
  EXPECT_THROW_MSG(v->Redo(), "Invalid procedure call.");
}

TEST(Journal, UndoAndRedoWithNothingToDoRaiseAndChangeNothing) {
  auto v = SampleVocabulary();
  EXPECT_THROW_MSG(v->Undo(), "Invalid procedure call.");
  EXPECT_THROW_MSG(v->Redo(), "Invalid procedure call.");
  EXPECT_FALSE(v->Modified());
  EXPECT_EQ(v->UndoKind(), jkNone);
  EXPECT_EQ(v->RedoKind(), jkNone);
}

TEST(Journal, ModifiedFollowsTheSavedPosition) {
  auto v = SampleVocabulary({{"A"}});
  SavedBytes(*v);
  AddEntry(*v, {"B"});
  EXPECT_TRUE(v->Modified());
  EXPECT_FALSE(v->Undo()) << "back at the saved state";
  EXPECT_TRUE(v->Redo());

  // Change, save, undo: the undone state is not the saved one.
  SavedBytes(*v);
  EXPECT_EQ(v->SavedPos(), v->JournalPos());
  EXPECT_TRUE(v->Undo());
  EXPECT_FALSE(v->Redo());

  // A language change means no journal position matches the file any more.
  v->SetForeignLangID(0x040C);
  AddEntry(*v, {"C"});
  EXPECT_TRUE(v->Undo());
  EXPECT_EQ(v->SavedPos(), -1);
}

TEST(Journal, KeepsTheLastFiveThousandSteps) {
  auto v = SampleVocabulary({{"A"}});
  SavedBytes(*v);
  for (int i = 0; i < kMaxJournalRecords + 1; ++i) {
    v->SetItemIndex(0);
    v->MoveCurrent(v->Count() - 1 == 0 ? 0 : 1);
    if (v->Count() == 1) AddEntry(*v, {"B"});
  }
  EXPECT_EQ(v->JournalPos(), kMaxJournalRecords);
  EXPECT_EQ(static_cast<int>(v->Journal().size()), kMaxJournalRecords);
  EXPECT_EQ(v->SavedPos(), -1);
  int undone = 0;
  while (v->UndoKind() != jkNone) {
    EXPECT_TRUE(v->Undo()) << "the saved state fell off the journal";
    ++undone;
  }
  EXPECT_EQ(undone, kMaxJournalRecords);
  EXPECT_EQ(v->Count(), 2) << "the oldest step (the add) can no longer be undone";
}

TEST(Journal, RecordedAnswersAndResetsEmptyIt) {
  auto v = SampleVocabulary({{"A"}, {"B"}});
  AddEntry(*v, {"C"});
  v->Undo();
  SavedBytes(*v);
  v->RecordAnswer(true, 0);
  EXPECT_EQ(v->UndoKind(), jkNone);
  EXPECT_EQ(v->RedoKind(), jkNone);
  EXPECT_TRUE(v->Modified());
  EXPECT_EQ(v->SavedPos(), -1);
  SavedBytes(*v);
  v->ResetStatistics();
  EXPECT_TRUE(v->Modified());
  EXPECT_EQ(v->JournalPos(), 0);
}

// Every entry is owned exactly once however changes, undos, redos and discarded redo tails mix:
// each step shows the list it recorded, and the live entries are the list's, the edit buffer
// and the one each journal record holds outside.
TEST(Journal, RandomHistoriesKeepEveryEntryOwnedOnce) {
  std::mt19937 random(5);
  for (int round = 0; round < 20; ++round) {
    const int liveBefore = LiveItemCount;
    {
      auto v = SampleVocabulary({{"a0"}, {"a1"}, {"a2"}});
      std::vector<std::string> states = {Words(*v)};  // the list at each journal position
      int next = 3;
      for (int step = 0; step < 300; ++step) {
        const auto action = static_cast<uint32_t>(random() % 9);
        const int32_t count = v->Count();
        if (count > 0) v->SetItemIndex(static_cast<int32_t>(random() % count));
        const int32_t posBefore = v->JournalPos();
        std::string did;
        if (action == 0 || count == 0) {
          AddEntry(*v, {"a" + std::to_string(next++)}, static_cast<int>(random() % 3));
          did = "add";
        } else if (action == 1) {
          v->EditItem().Values[0] = "e" + std::to_string(next++);
          v->ReplaceCurrent();
          did = "edit";
        } else if (action == 2) {
          v->DeleteCurrent();
          did = "delete";
        } else if (action == 3) {
          v->MoveCurrent(static_cast<int32_t>(random() % count));
          did = "move";
        } else if (action == 4) {
          for (int32_t i = 0; i < count; ++i) {
            v->GetItem(i).SortKey = std::to_string(random() % 5) + '\0' + std::to_string(i);
          }
          v->Sort();
          did = "sort";
        } else if (action == 5) {
          v->Shuffle();
          did = "shuffle";
        } else if (action <= 7 && v->UndoKind() != jkNone) {
          v->Undo();
          did = "undo";
          EXPECT_EQ(Words(*v), states[v->JournalPos()]) << "round " << round << " step " << step;
        } else if (v->RedoKind() != jkNone) {
          v->Redo();
          did = "redo";
          EXPECT_EQ(Words(*v), states[v->JournalPos()]) << "round " << round << " step " << step;
        }
        // A move to where the entry is records no step and keeps the redo tail.
        if (did != "undo" && did != "redo" && v->JournalPos() != posBefore) {
          states.resize(static_cast<size_t>(posBefore) + 1);
          states.push_back(Words(*v));
        }
        int outside = 0;
        for (const TJournalRecord& r : v->Journal()) outside += r.Item != nullptr;
        ASSERT_EQ(LiveItemCount, liveBefore + v->Count() + 1 + outside)
            << "round " << round << " step " << step << " after " << did;
      }
    }
    EXPECT_EQ(LiveItemCount, liveBefore) << "round " << round;
  }
}
