// SPDX-License-Identifier: MIT
// Tests of TVocabItem and the list edits, properties and languages of TVocabFile.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "vocab/VocFile.h"

TEST(VocabItem, StartsEmptyAndReportsLearntOnlyAtMinusOne) {
  TVocabItem item;
  for (int i = 0; i < 4; ++i) EXPECT_EQ(item.GetValue(i), "");
  EXPECT_EQ(item.LastAsked, 0);
  EXPECT_EQ(item.SortPos, 0);
  EXPECT_EQ(item.PenaltyPoints, 0);
  EXPECT_EQ(item.DisplayWidth, 0);
  EXPECT_FALSE(item.IsLearnt());
  item.SetValue(Native, "house");
  EXPECT_EQ(item.Values[3], "house");
  for (int points : {-2, 0, 1}) {
    item.PenaltyPoints = points;
    EXPECT_FALSE(item.IsLearnt()) << points;
  }
  item.PenaltyPoints = -1;
  EXPECT_TRUE(item.IsLearnt());
}

TEST(VocabFile, NewVocabularyIsEmptyAndUnmodified) {
  TVocabFile v;
  EXPECT_EQ(v.Count(), 0);
  EXPECT_EQ(v.ItemIndex(), -1);
  EXPECT_FALSE(v.Modified());
  EXPECT_EQ(v.ForeignLangID(), 0);
  EXPECT_EQ(v.JournalPos(), 0);
  EXPECT_EQ(v.SavedPos(), 0);
  EXPECT_EQ(LiveFileCount, 1);
  EXPECT_EQ(LiveItemCount, 1);  // the edit buffer
  EXPECT_THROW_MSG(v.CurrentItem(), "No current item");
  EXPECT_THROW_MSG(v.GetItem(0), "Invalid item index");
}

TEST(VocabFile, AddItemPlacesTheEntryByModeAndMakesItCurrent) {
  struct Case {
    int current;  // index made current before adding to "A B C"
    int mode;
    const char* order;
    int newIndex;
  } cases[] = {
      {-1, 0, "A B C X", 3}, {-1, 1, "A B C X", 3}, {1, 2, "A B C X", 3}, {0, 0, "X A B C", 0},
      {1, 0, "A X B C", 1},  {1, 1, "A B X C", 2},  {2, 1, "A B C X", 3},
  };
  for (const Case& c : cases) {
    auto v = SampleVocabulary({{"A"}, {"B"}, {"C"}});
    v->SetItemIndex(c.current);
    TVocabItem* buffer = &v->EditItem();
    buffer->Values[0] = "X";
    v->AddItem(c.mode);
    EXPECT_EQ(Words(*v), c.order) << c.current << "/" << c.mode;
    EXPECT_EQ(v->ItemIndex(), c.newIndex);
    EXPECT_EQ(&v->CurrentItem(), buffer) << "the buffer itself moves into the list";
    EXPECT_NE(&v->EditItem(), buffer);
    EXPECT_EQ(v->EditItem().Values[0], "");
    EXPECT_TRUE(v->Modified());
    EXPECT_EQ(v->UndoKind(), jkAdd);
  }
}

TEST(VocabFile, AddToEmptyVocabularyMakesEntryZeroCurrent) {
  for (int mode : {0, 1, 2}) {
    TVocabFile v;
    AddEntry(v, {"Haus"}, mode);
    EXPECT_EQ(v.Count(), 1);
    EXPECT_EQ(v.ItemIndex(), 0);
  }
}

TEST(VocabFile, ReplaceCurrentPutsTheBufferInPlaceAndKeepsTheOldEntryInTheJournal) {
  auto v = SampleVocabulary({{"A"}, {"B"}, {"C"}});
  v->SetItemIndex(1);
  TVocabItem* old = &v->CurrentItem();
  v->EditItem().Values[0] = "Z";
  const int live = LiveItemCount;
  v->ReplaceCurrent();
  EXPECT_EQ(Words(*v), "A Z C");
  EXPECT_EQ(v->ItemIndex(), 1);
  EXPECT_EQ(v->Journal().back().Item.get(), old);
  EXPECT_EQ(LiveItemCount, live + 1) << "one fresh edit buffer, no copies";
}

TEST(VocabFile, DeleteCurrentMakesTheFollowingOrTheNewLastEntryCurrent) {
  auto v = SampleVocabulary({{"A"}, {"B"}, {"C"}});
  v->SetItemIndex(1);
  v->DeleteCurrent();
  EXPECT_EQ(Words(*v), "A C");
  EXPECT_EQ(v->ItemIndex(), 1);
  v->DeleteCurrent();
  EXPECT_EQ(Words(*v), "A");
  EXPECT_EQ(v->ItemIndex(), 0);
  v->DeleteCurrent();
  EXPECT_EQ(v->Count(), 0);
  EXPECT_EQ(v->ItemIndex(), -1);
  EXPECT_THROW_MSG(v->DeleteCurrent(), "No current item");
  EXPECT_THROW_MSG(v->ReplaceCurrent(), "No current item");
  EXPECT_THROW_MSG(v->MoveCurrent(0), "No current item");
}

TEST(VocabFile, MoveCurrentShiftsTheEntriesBetween) {
  auto v = SampleVocabulary({{"A"}, {"B"}, {"C"}, {"D"}, {"E"}});
  v->SetItemIndex(1);
  v->MoveCurrent(3);
  EXPECT_EQ(Words(*v), "A C D B E");
  EXPECT_EQ(v->ItemIndex(), 3);
  v->MoveCurrent(0);
  EXPECT_EQ(Words(*v), "B A C D E");
  EXPECT_EQ(v->JournalPos(), 2);
  v->MoveCurrent(0);
  EXPECT_EQ(v->JournalPos(), 2) << "a move onto itself records nothing";
  EXPECT_THROW_MSG(v->MoveCurrent(5), "Invalid item index");
  EXPECT_THROW_MSG(v->MoveCurrent(-1), "Invalid item index");
  EXPECT_EQ(Words(*v), "B A C D E");
}

TEST(VocabFile, SetItemIndexAcceptsOnlyMinusOneToLast) {
  auto v = SampleVocabulary({{"A"}, {"B"}});
  for (int bad : {-2, 2, 100}) EXPECT_THROW_MSG(v->SetItemIndex(bad), "Invalid property value.");
  v->SetItemIndex(-1);
  v->SetItemIndex(1);
  EXPECT_EQ(v->ItemIndex(), 1);
  EXPECT_FALSE(v->Modified()) << "moving the current entry is no change";
}

TEST(VocabFile, PropertiesAndLanguagesMarkModifiedOnlyWhenTheyChange) {
  TVocabFile v;
  for (int bad : {-1, 8}) {
    EXPECT_THROW_MSG(v.GetProperty(bad), "Invalid property array index.");
    EXPECT_THROW_MSG(v.SetProperty(bad, "x"), "Invalid property array index.");
  }
  v.SetProperty(7, "");
  EXPECT_FALSE(v.Modified());
  v.SetProperty(7, "hidden");
  EXPECT_TRUE(v.Modified());
  EXPECT_EQ(v.SavedPos(), -1);
  EXPECT_EQ(v.GetProperty(7), "hidden");

  v.SetModified(false);
  v.SetForeignLangID(0);
  v.SetNativeLangID(0);
  EXPECT_FALSE(v.Modified());
  v.SetForeignLangID(0x0407);
  EXPECT_TRUE(v.Modified());
  v.SetNativeLangID(0x0409);

  // Another sublanguage of the same primary language is a change, but the same language.
  v.SetModified(false);
  v.SetForeignLangID(0x0807);
  EXPECT_TRUE(v.Modified());
  EXPECT_TRUE(v.SameLanguages(0x0407, 0x0809));
  EXPECT_FALSE(v.SameLanguages(0x0409, 0x0409));
  EXPECT_FALSE(v.SameLanguages(0x0407, 0x0407));
}

TEST(VocabFile, ClearEmptiesAllButTheLanguagesAndTheEditBuffer) {
  auto v = SampleVocabulary();
  v->SetProperty(0, "desc");
  v->SetItemIndex(0);
  v->RecordAnswer(true, 3);
  v->EditItem().Values[0] = "pending";
  v->Clear();
  EXPECT_EQ(v->Count(), 0);
  EXPECT_EQ(v->ItemIndex(), -1);
  EXPECT_EQ(v->QuestionCount(), 0);
  EXPECT_EQ(v->CorrectCount(), 0);
  EXPECT_EQ(v->GetProperty(0), "");
  EXPECT_FALSE(v->Modified());
  EXPECT_EQ(v->SavedPos(), 0);
  EXPECT_EQ(v->UndoKind(), jkNone);
  EXPECT_EQ(v->ForeignLangID(), 0x0407);
  EXPECT_EQ(v->NativeLangID(), 0x0409);
  EXPECT_EQ(v->EditItem().Values[0], "pending");
  EXPECT_EQ(LiveItemCount, 1);
}

TEST(VocabFile, RaiseErrorThrowsTheVocabularyError) {
  EXPECT_THROW(TVocabFile::RaiseError("x"), EVocabFileError);
  EXPECT_THROW_MSG(TVocabFile::RaiseError("Languages are different."), "Languages are different.");
}

TEST(LiveObjects, CheckReportsObjectsLeftAlive) {
  {
    TVocabFile v;
    EXPECT_FALSE(CheckLiveObjects());
  }
  EXPECT_TRUE(CheckLiveObjects());
}
