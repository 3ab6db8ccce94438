// SPDX-License-Identifier: MIT
// Sample vocabularies, entry helpers, saved bytes and hex dumps for the core tests.
#include "TestSupport.h"

#include <cstdio>
#include <sstream>
#include <vector>

void AddEntry(TVocabFile& v, const TEntry& e, int mode) {
  TVocabItem& item = v.EditItem();
  item.Values = {e.Foreign, e.Category, e.Notes, e.Native};
  v.AddItem(mode);
}

std::unique_ptr<TVocabFile> SampleVocabulary(std::initializer_list<TEntry> entries) {
  static const std::vector<TEntry> kDefault = {{"Haus", "n", "", "house"},
                                               {"Baum", "n", "tree in the garden", "tree"},
                                               {"laufen", "v", "", "run, walk"},
                                               {"schnell", "adj", "", "fast; quick"},
                                               {"der Garten", "n", "", "garden"}};
  // Built, saved and loaded back, so it is in the state of a freshly opened file.
  TVocabFile built;
  built.SetForeignLangID(0x0407);
  built.SetNativeLangID(0x0409);
  for (const auto& e :
       entries.size() == 0 ? std::vector<TEntry>(kDefault) : std::vector<TEntry>(entries)) {
    AddEntry(built, e);
  }
  std::istringstream in(SavedBytes(built));
  auto v = std::make_unique<TVocabFile>();
  v->LoadFromStream(in);
  if (v->Count() > 0) v->SetItemIndex(0);
  return v;
}

std::string Words(const TVocabFile& v) {
  std::string out;
  for (const TVocabItem* item : v.Items()) {
    if (!out.empty()) out += ' ';
    out += item->Values[0];
  }
  return out;
}

std::string SavedBytes(TVocabFile& v) {
  std::ostringstream out;
  v.SaveToStream(out);
  return out.str();
}

std::string Hex(const std::string& bytes) {
  std::string out;
  char buf[4];
  for (unsigned char c : bytes) {
    std::snprintf(buf, sizeof buf, "%02x", c);
    if (!out.empty()) out += ' ';
    out += buf;
  }
  return out;
}

namespace {
// Every test must leave no entry and no vocabulary alive.
bool g_LiveObjectsLeft = false;

class LiveObjectCheck : public testing::EmptyTestEventListener {
  void OnTestEnd(const testing::TestInfo& info) override {
    if (LiveItemCount != 0 || LiveFileCount != 0) {
      std::fprintf(stderr, "%s.%s left %d entries and %d vocabularies alive\n",
                   info.test_suite_name(), info.name(), LiveItemCount, LiveFileCount);
      g_LiveObjectsLeft = true;
      LiveItemCount = 0;
      LiveFileCount = 0;
    }
  }
};
}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new LiveObjectCheck);
  const int result = RUN_ALL_TESTS();
  return g_LiveObjectsLeft ? 1 : result;
}
