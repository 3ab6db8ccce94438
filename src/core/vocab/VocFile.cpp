// SPDX-License-Identifier: MIT
// Entry ownership, the list's edits and the edit journal of TVocabFile.
#include "vocab/VocFile.h"

#include <algorithm>
#include <cassert>
#include <cstdio>

#include "text/Random.h"

int32_t LiveItemCount = 0;
int32_t LiveFileCount = 0;

bool CheckLiveObjects() {
  if (LiveItemCount == 0 && LiveFileCount == 0) return true;
  std::fprintf(stderr, "Assertion failure (VocFile): %d entries and %d vocabularies left\n",
               LiveItemCount, LiveFileCount);
  return false;
}

TVocabItem::TVocabItem() {
  ++LiveItemCount;
}
TVocabItem::~TVocabItem() {
  --LiveItemCount;
}

const char* JournalKindName(uint8_t kind) {
  switch (kind) {
    case jkAdd:
      return "Add";
    case jkEdit:
      return "Edit";
    case jkDelete:
      return "Delete";
    case jkMove:
      return "Move";
    case jkSort:
      return "Sort";
    case jkShuffle:
      return "Shuffle";
    default:
      return "";
  }
}

namespace {
// Moves the element at from so that it ends at to; the ones in between shift by one.
void MoveElement(TItemList& list, int32_t from, int32_t to) {
  auto first = list.begin();
  if (from < to) {
    std::rotate(first + from, first + from + 1, first + to + 1);
  } else {
    std::rotate(first + to, first + from, first + from + 1);
  }
}

// Like reserve, but keeps the geometric growth that one-at-a-time insertion relies on.
template <class T>
void ReserveGrowing(std::vector<T>& list, size_t more) {
  const size_t needed = list.size() + more;
  if (needed > list.capacity()) list.reserve(std::max(needed, 2 * list.capacity()));
}
}  // namespace

TVocabFile::TVocabFile() : m_EditItem(std::make_unique<TVocabItem>()) {
  ++LiveFileCount;
}

TVocabFile::~TVocabFile() {
  Clear();
  --LiveFileCount;
}

void TVocabFile::RaiseError(const std::string& message) {
  throw EVocabFileError(message);
}

void TVocabFile::Clear() {
  ClearJournal();
  m_QuestionCount = 0;
  m_CorrectCount = 0;
  m_RevisedCount = 0;
  m_SlipCount = 0;
  for (auto& p : m_Properties) p.clear();
  m_Items.clear();
  m_Items.shrink_to_fit();
  m_Store.clear();
  m_Store.shrink_to_fit();
  m_ItemIndex = -1;
  m_FileName.clear();
  m_Modified = false;
  m_SavedPos = 0;
}

TVocabItem& TVocabFile::GetItem(int32_t index) const {
  if (index < 0 || index >= Count()) RaiseError("Invalid item index");
  return *m_Items[index];
}

TVocabItem& TVocabFile::CurrentItem() const {
  if (m_ItemIndex < 0 || m_ItemIndex >= Count()) RaiseError("No current item");
  return *m_Items[m_ItemIndex];
}

void TVocabFile::SetItemIndex(int32_t index) {
  if (index < -1 || index >= Count()) RaiseError("Invalid property value.");
  m_ItemIndex = index;
}

TVocabItem* TVocabFile::Adopt(std::unique_ptr<TVocabItem>& item) {
  const auto slot = static_cast<int32_t>(m_Store.size());
  m_Store.push_back(std::move(item));
  m_Store.back()->m_Slot = slot;
  return m_Store.back().get();
}

std::unique_ptr<TVocabItem> TVocabFile::Disown(TVocabItem* item) noexcept {
  const int32_t slot = item->m_Slot;
  assert(slot >= 0 && slot < static_cast<int32_t>(m_Store.size()) && m_Store[slot].get() == item);
  std::unique_ptr<TVocabItem> owned = std::move(m_Store[slot]);
  // The last one fills the gap, so leaving costs the same wherever the entry was.
  if (slot + 1 < static_cast<int32_t>(m_Store.size())) {
    m_Store[slot] = std::move(m_Store.back());
    m_Store[slot]->m_Slot = slot;
  }
  m_Store.pop_back();
  owned->m_Slot = -1;
  return owned;
}

void TVocabFile::ExchangeEntry(int32_t index, std::unique_ptr<TVocabItem>& other) noexcept {
  TVocabItem* leaving = m_Items[index];
  const int32_t slot = leaving->m_Slot;
  other->m_Slot = slot;
  leaving->m_Slot = -1;
  m_Store[slot].swap(other);
  m_Items[index] = m_Store[slot].get();
}

void TVocabFile::ReserveMore(size_t count) {
  ReserveGrowing(m_Items, count);
  ReserveGrowing(m_Store, count);
}

void TVocabFile::AppendEntries(std::vector<std::unique_ptr<TVocabItem>>& entries) {
  const auto total = static_cast<int64_t>(m_Items.size()) + static_cast<int64_t>(entries.size());
  // A longer list could be saved but never loaded again.
  if (total > kMaxListCapacity) {
    throw std::runtime_error("List capacity out of bounds (" + std::to_string(total) + ")");
  }
  m_Items.reserve(static_cast<size_t>(total));
  m_Store.reserve(static_cast<size_t>(total));
  // Nothing below allocates.
  for (auto& entry : entries) m_Items.push_back(Adopt(entry));
  entries.clear();
}

void TVocabFile::AddItem(int mode) {
  TJournalRecord record;
  record.Kind = jkAdd;
  record.OldIndex = m_ItemIndex;
  auto fresh = std::make_unique<TVocabItem>();
  int32_t index = m_ItemIndex;
  if (index == -1 || mode == 2) {
    index = Count();
  } else if (mode == 1) {
    ++index;
  }
  ReserveMore(1);
  m_Items.insert(m_Items.begin() + index, Adopt(m_EditItem));
  m_EditItem = std::move(fresh);
  m_ItemIndex = index;
  record.NewIndex = index;
  AddJournalRecord(std::move(record));
}

void TVocabFile::ReplaceCurrent() {
  if (m_ItemIndex < 0) RaiseError("No current item");
  TJournalRecord record;
  record.Kind = jkEdit;
  record.OldIndex = record.NewIndex = m_ItemIndex;
  auto fresh = std::make_unique<TVocabItem>();
  ExchangeEntry(m_ItemIndex, m_EditItem);
  record.Item = std::move(m_EditItem);
  m_EditItem = std::move(fresh);
  AddJournalRecord(std::move(record));
}

void TVocabFile::DeleteCurrent() {
  if (m_ItemIndex < 0) RaiseError("No current item");
  TJournalRecord record;
  record.Kind = jkDelete;
  record.OldIndex = m_ItemIndex;
  record.Item = Disown(m_Items[m_ItemIndex]);
  m_Items.erase(m_Items.begin() + m_ItemIndex);
  if (m_ItemIndex == Count()) --m_ItemIndex;
  record.NewIndex = m_ItemIndex;
  AddJournalRecord(std::move(record));
}

void TVocabFile::MoveCurrent(int32_t newIndex) {
  if (m_ItemIndex < 0) RaiseError("No current item");
  if (newIndex < 0 || newIndex >= Count()) RaiseError("Invalid item index");
  if (newIndex == m_ItemIndex) return;
  TJournalRecord record;
  record.Kind = jkMove;
  record.OldIndex = m_ItemIndex;
  record.NewIndex = newIndex;
  MoveElement(m_Items, m_ItemIndex, newIndex);
  m_ItemIndex = newIndex;
  AddJournalRecord(std::move(record));
}

void TVocabFile::ReplaceOrder(TItemList&& newOrder, uint8_t kind) {
  TJournalRecord record;
  record.Kind = kind;
  record.OldIndex = m_ItemIndex;
  record.NewIndex = -1;
  if (m_ItemIndex >= 0) {
    const TVocabItem* current = m_Items[m_ItemIndex];
    record.NewIndex = static_cast<int32_t>(std::find(newOrder.begin(), newOrder.end(), current) -
                                           newOrder.begin());
  }
  record.List = std::make_unique<TItemList>(std::move(newOrder));
  // The record keeps the previous order; the new one becomes Items.
  m_Items.swap(*record.List);
  m_ItemIndex = record.NewIndex;
  AddJournalRecord(std::move(record));
}

void TVocabFile::Sort() {
  TItemList sorted(m_Items);
  // Keys end in the distinct entry position, so no two compare equal and the order is stable.
  std::sort(sorted.begin(), sorted.end(),
            [](const TVocabItem* a, const TVocabItem* b) { return a->SortKey < b->SortKey; });
  ReplaceOrder(std::move(sorted), jkSort);
}

void TVocabFile::Shuffle() {
  TItemList shuffled(m_Items);
  const int32_t n = Count();
  for (int32_t p = 0; p < n; ++p) std::swap(shuffled[p], shuffled[Random(n)]);
  ReplaceOrder(std::move(shuffled), jkShuffle);
}

const std::string& TVocabFile::GetProperty(int index) const {
  if (index < 0 || index > kMaxPropertyIndex) RaiseError("Invalid property array index.");
  return m_Properties[index];
}

void TVocabFile::SetProperty(int index, const std::string& text) {
  if (index < 0 || index > kMaxPropertyIndex) RaiseError("Invalid property array index.");
  if (m_Properties[index] == text) return;
  m_Properties[index] = text;
  m_Modified = true;
  m_SavedPos = -1;
}

void TVocabFile::SetForeignLangID(uint16_t id) {
  if (id == m_ForeignLangID) return;
  m_ForeignLangID = id;
  m_Modified = true;
  m_SavedPos = -1;
}

void TVocabFile::SetNativeLangID(uint16_t id) {
  if (id == m_NativeLangID) return;
  m_NativeLangID = id;
  m_Modified = true;
  m_SavedPos = -1;
}

bool TVocabFile::SameLanguages(uint16_t foreignId, uint16_t nativeId) const {
  return (foreignId & 0x3FF) == (m_ForeignLangID & 0x3FF) &&
         (nativeId & 0x3FF) == (m_NativeLangID & 0x3FF);
}

// Edit journal.

int32_t TVocabFile::AddJournalRecord(TJournalRecord&& record) {
  m_Journal.erase(m_Journal.begin() + m_JournalPos, m_Journal.end());
  if (m_JournalPos == kMaxJournalRecords) {
    m_Journal.pop_front();
    --m_JournalPos;
    m_SavedPos = -1;
  }
  m_Journal.push_back(std::move(record));
  m_JournalPos = static_cast<int32_t>(m_Journal.size());
  m_Modified = true;
  return m_JournalPos;
}

void TVocabFile::ClearJournal() {
  m_Journal.clear();
  m_JournalPos = 0;
}

uint8_t TVocabFile::UndoKind() const {
  if (m_JournalPos < 1) return jkNone;
  return m_Journal[m_JournalPos - 1].Kind;
}

uint8_t TVocabFile::RedoKind() const {
  if (m_JournalPos >= static_cast<int32_t>(m_Journal.size())) return jkNone;
  return m_Journal[m_JournalPos].Kind;
}

bool TVocabFile::Undo() {
  if (m_JournalPos == 0) RaiseError("Invalid procedure call.");
  TJournalRecord& r = m_Journal[m_JournalPos - 1];
  switch (r.Kind) {
    case jkAdd:
      r.Item = Disown(m_Items[r.NewIndex]);
      m_Items.erase(m_Items.begin() + r.NewIndex);
      break;
    case jkEdit:
      ExchangeEntry(r.NewIndex, r.Item);
      break;
    case jkDelete:
      ReserveMore(1);
      m_Items.insert(m_Items.begin() + r.OldIndex, Adopt(r.Item));
      break;
    case jkMove:
      MoveElement(m_Items, r.NewIndex, r.OldIndex);
      break;
    case jkSort:
    case jkShuffle:
      m_Items.swap(*r.List);
      break;
  }
  --m_JournalPos;
  m_ItemIndex = r.OldIndex;
  m_Modified = m_JournalPos != m_SavedPos;
  return m_Modified;
}

bool TVocabFile::Redo() {
  if (m_JournalPos >= static_cast<int32_t>(m_Journal.size())) RaiseError("Invalid procedure call.");
  TJournalRecord& r = m_Journal[m_JournalPos];
  switch (r.Kind) {
    case jkAdd:
      ReserveMore(1);
      m_Items.insert(m_Items.begin() + r.NewIndex, Adopt(r.Item));
      break;
    case jkEdit:
      ExchangeEntry(r.OldIndex, r.Item);
      break;
    case jkDelete:
      r.Item = Disown(m_Items[r.OldIndex]);
      m_Items.erase(m_Items.begin() + r.OldIndex);
      break;
    case jkMove:
      MoveElement(m_Items, r.OldIndex, r.NewIndex);
      break;
    case jkSort:
    case jkShuffle:
      m_Items.swap(*r.List);
      break;
  }
  m_ItemIndex = r.NewIndex;
  ++m_JournalPos;
  m_Modified = m_JournalPos != m_SavedPos;
  return m_Modified;
}
