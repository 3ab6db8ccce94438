// SPDX-License-Identifier: MIT
// The vocabulary model: TVocabItem, TVocabFile, its errors and the edit journal.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// The vocabulary's own failures; what() is the message shown to the user.
class EVocabFileError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Indexes into TVocabItem::Values. The order is fixed: the file format, the clipboard, import
// and export all rely on it.
enum TFieldIndex : int { Foreign = 0, Category = 1, Notes = 2, Native = 3 };
using TFieldValues = std::array<std::string, 4>;

class TStreamReader;
class TStreamWriter;
struct TSearchData;

// One entry of a vocabulary: its four texts, its sorting position and its testing statistics.
// Texts are bytes in the code page of their language; the model never converts them.
// Entries are never copied: an entry object is owned by the vocabulary while it is in the list,
// and otherwise by the edit buffer or one journal record; it moves between them.
class TVocabItem {
public:
  TVocabItem();
  ~TVocabItem();
  TVocabItem(const TVocabItem&) = delete;
  TVocabItem& operator=(const TVocabItem&) = delete;

  // The numbers sit together at the front so that question selection, which reads the
  // statistics of every entry, touches one cache line per entry.
  int32_t DisplayWidth = 0;  // width in the list: 0 not known, < 0 estimated; never saved
  int32_t LastAsked = 0;
  int32_t SortPos = 0;        // leading characters of the word/phrase that sorting skips
  int32_t PenaltyPoints = 0;  // -1: learnt

private:
  friend class TVocabFile;
  int32_t m_Slot = -1;  // where the vocabulary keeps it while it is in the list; -1 outside

public:
  TFieldValues Values;  // word/phrase, part of speech, notes, translations
  std::string SortKey;  // filled just before Sort; never saved

  const std::string& GetValue(int index) const { return Values[index]; }
  void SetValue(int index, std::string text) { Values[index] = std::move(text); }
  bool IsLearnt() const { return PenaltyPoints == -1; }

  // One entry record of the file format: four counted strings, LastAsked, SortPos,
  // PenaltyPoints. Reading raises "Stream read error" at the end of the stream.
  void LoadFromStream(std::istream& stream);
  void SaveToStream(std::ostream& stream) const;
  void Read(TStreamReader& reader);
  void Write(TStreamWriter& writer) const;
};

// Process-wide counts of live objects, so that leaks show up in tests and at program end.
extern int32_t LiveItemCount;
extern int32_t LiveFileCount;
// True when no TVocabItem or TVocabFile is left; otherwise reports "Assertion failure" on
// standard error and returns false.
bool CheckLiveObjects();

// An order of entries: references only. The list's entries are owned by the vocabulary's store,
// so that a sort can be undone by swapping two orders without moving ownership.
using TItemList = std::vector<TVocabItem*>;
using TVocabItemArray = std::vector<TVocabItem*>;

// Kinds of journal records; the values are fixed.
enum TJournalKind : uint8_t {
  jkNone = 0,
  jkAdd = 1,
  jkEdit = 2,
  jkDelete = 3,
  jkMove = 4,
  jkSort = 5,
  jkShuffle = 6,
};
// The word the Edit menu shows after "&Undo " and "&Redo ": "Add", "Edit", ...; empty for jkNone.
const char* JournalKindName(uint8_t kind);

// One undoable change. It holds at most one object: the entry that is out of the list, or the
// entry order that is not in use, whichever the record's current state leaves outside.
struct TJournalRecord {
  uint8_t Kind = jkNone;
  int32_t OldIndex = -1;
  int32_t NewIndex = -1;
  std::unique_ptr<TVocabItem> Item;
  std::unique_ptr<TItemList> List;
};

constexpr int kMaxJournalRecords = 5000;
constexpr int kMaxPropertyIndex = 7;
constexpr int32_t kMaxListCapacity = 134217727;

// The open vocabulary: its entries in display order, the current entry, the edit buffer, the
// edit journal, the file's properties and languages, its testing counters and modified state.
class TVocabFile {
public:
  TVocabFile();
  ~TVocabFile();
  TVocabFile(const TVocabFile&) = delete;
  TVocabFile& operator=(const TVocabFile&) = delete;

  // Empties the vocabulary: entries, journal, properties, counters and file name. The
  // languages and the edit buffer stay.
  void Clear();

  int32_t Count() const { return static_cast<int32_t>(m_Items.size()); }
  const TItemList& Items() const { return m_Items; }
  TVocabItem& GetItem(int32_t index) const;  // "Invalid item index"
  TVocabItem& CurrentItem() const;           // "No current item"
  TVocabItem& EditItem() const { return *m_EditItem; }

  int32_t ItemIndex() const { return m_ItemIndex; }
  void SetItemIndex(int32_t index);  // -1..Count()-1, else "Invalid property value."

  // Moves the edit buffer into the list. mode 0: before the current entry, 1: after it,
  // 2: at the end (also whenever there is no current entry). The new entry becomes current.
  void AddItem(int mode);
  // Puts the edit buffer in place of the current entry.
  void ReplaceCurrent();
  // Removes the current entry; the one that followed becomes current (or the new last one).
  void DeleteCurrent();
  // Moves the current entry so that it ends at newIndex.
  void MoveCurrent(int32_t newIndex);
  // Reorders by ascending SortKey (byte-wise, unsigned), keeping the current entry current.
  void Sort();
  // Reorders at random with the program's generator, keeping the current entry current.
  void Shuffle();
  int32_t Find(const TSearchData& search) const;  // next match, wrapping, current last; or -1

  const std::string& GetProperty(int index) const;  // 0..7, else "Invalid property array index."
  void SetProperty(int index, const std::string& text);

  uint16_t ForeignLangID() const { return m_ForeignLangID; }
  uint16_t NativeLangID() const { return m_NativeLangID; }
  void SetForeignLangID(uint16_t id);
  void SetNativeLangID(uint16_t id);
  // True when the primary languages (low 10 bits) both match.
  bool SameLanguages(uint16_t foreignId, uint16_t nativeId) const;

  const std::string& FileName() const { return m_FileName; }
  void SetFileName(const std::string& name) { m_FileName = name; }
  bool Modified() const { return m_Modified; }
  void SetModified(bool modified) { m_Modified = modified; }
  int32_t QuestionCount() const { return m_QuestionCount; }
  int32_t CorrectCount() const { return m_CorrectCount; }

  [[noreturn]] static void RaiseError(const std::string& message);

  // The doz format. Loading replaces everything; on failure the vocabulary is left empty and the
  // error passes on. Saving to a file writes a temporary file beside it and replaces the target
  // only when all was written, so a failed save leaves the old file, Modified and FileName alone.
  void LoadFromFile(const std::string& path);
  void LoadFromStream(std::istream& stream);
  void SaveToFile(const std::string& path);
  void SaveToStream(std::ostream& stream);
  // The saved form without saving: FileName, Modified and the journal stay as they are.
  void WriteCopyTo(std::ostream& stream) const;

  // Edit journal.
  bool Undo();  // returns the new Modified; "Invalid procedure call." with nothing to undo
  bool Redo();  // returns the new Modified; "Invalid procedure call." with nothing to redo
  uint8_t UndoKind() const;
  uint8_t RedoKind() const;
  int32_t AddJournalRecord(TJournalRecord&& record);
  void ClearJournal();
  int32_t JournalPos() const { return m_JournalPos; }
  int32_t SavedPos() const { return m_SavedPos; }
  const std::deque<TJournalRecord>& Journal() const { return m_Journal; }

  // Testing.
  // Chooses the next question from penalty points and age and makes it current; false when
  // every entry is learnt (or there are none), leaving ItemIndex alone.
  bool SelectNextQuestion();
  // Records an answer to the current entry; limit is the maximum of penalty points (0: off).
  void RecordAnswer(bool right, int32_t limit);
  void ResetStatistics();
  int32_t LearntCount() const;
  // Turns the last answer, recorded wrong for the current entry while it held penaltyBefore
  // points, into a right one: the entry and the counters end as RecordAnswer(true, limit) would
  // have left them from before. "Invalid procedure call." unless the current entry's answer is
  // the last one recorded and the entry is not learnt.
  void ReviseAnswer(int32_t penaltyBefore, int32_t limit);
  // Answers revised and answers accepted with a typing slip since the file was opened or its
  // statistics reset; kept in memory only.
  int32_t RevisedCount() const { return m_RevisedCount; }
  int32_t SlipCount() const { return m_SlipCount; }
  void CountSlip() { ++m_SlipCount; }
  // Fills result with min(Count(), n) entries in random order, the current entry among them,
  // the others preferably of its part of speech and not yet learnt.
  void GetChoices(TVocabItemArray& result, int32_t n) const;

  // Import, export and clipboard transfer (Import.cpp, Export.cpp, Clipboard.cpp). TClipboard
  // is the clipboard interface of vocab/Clipboard.h.
  // Both imports append at the end and return how many entries they added; when that is above
  // 0 the journal is emptied and the vocabulary marked modified. ItemIndex stays. A failure
  // leaves the vocabulary exactly as it was.
  // Appends the entries of a doz file: "Languages are different." unless its primary languages
  // match; the entries keep texts and SortPos and start untested.
  int32_t MergeFile(const std::string& path);
  // textType 0/1: 8-bit comma/tab-delimited, 2/3: UTF-16 comma/tab-delimited, 4/5: UTF-8
  // comma/tab-delimited (a leading byte-order mark skipped, ill-formed bytes read as "?"),
  // other: adds nothing. UTF-16 and UTF-8 text is converted to each field's code page, where a
  // character the code page lacks becomes "?". columnMap[field] is the 1-based column of that
  // field, 0 for none. firstLine < 1: "Invalid procedure call.".
  int32_t ImportText(const std::string& path, int textType, const std::array<int32_t, 4>& columnMap,
                     int32_t firstLine);
  // Appends entries another program's file held, each as UTF-16 fields in the order of
  // TFieldValues, with that file's languages: "Languages are different." unless their primary
  // languages match. The word/phrase is converted to the foreign code page, the rest to the native
  // one; an entry without a word/phrase is skipped, empty translations become "#Value?#".
  int32_t ImportEntries(uint16_t foreignId, uint16_t nativeId,
                        const std::vector<std::array<std::u16string, 4>>& entries);
  // Every entry as one line; format 0/1: 8-bit comma/tab-delimited, 2/3: UTF-16 little-endian
  // comma/tab-delimited with a byte-order mark, 4/5: UTF-8 comma/tab-delimited without one;
  // other: "Invalid procedure call.". An existing
  // file is replaced only when all was written. Changes nothing in the vocabulary.
  void ExportText(const std::string& path, int format) const;
  // Puts the current entry on the clipboard in the private format ("No current item").
  void CopyToClipboard(class TClipboard& clipboard) const;
  // Adds the entry on the clipboard through the edit buffer as AddItem(mode) does, untested and
  // journaled as an Add. "No valid data on clipboard." or "Languages are different." change
  // nothing.
  void PasteFromClipboard(class TClipboard& clipboard, int mode);
  bool CanPaste(const class TClipboard& clipboard) const;

private:
  void WriteTo(TStreamWriter& writer) const;
  void CheckSavable() const;
  void MarkSaved();
  void ReplaceOrder(TItemList&& newOrder, uint8_t kind);
  void ForgetHistory();
  // Ownership of the list's entries. Adopt takes an entry that joins the list (on failure the
  // caller keeps it); Disown hands back one that leaves it. Neither touches the order.
  TVocabItem* Adopt(std::unique_ptr<TVocabItem>& item);
  std::unique_ptr<TVocabItem> Disown(TVocabItem* item) noexcept;
  // Makes room for count more entries in the order and the store, or throws changing nothing.
  void ReserveMore(size_t count);
  // Appends the entries at the end of the list: all of them or, when memory runs out, none.
  void AppendEntries(std::vector<std::unique_ptr<TVocabItem>>& entries);
  // Appends what an import or merge read as a change that cannot be undone; the count appended.
  int32_t AppendRead(std::vector<std::unique_ptr<TVocabItem>>& entries);
  // Puts other in place of the list's entry at index and hands that entry back in other.
  void ExchangeEntry(int32_t index, std::unique_ptr<TVocabItem>& other) noexcept;

  std::deque<TJournalRecord> m_Journal;
  int32_t m_JournalPos = 0;
  int32_t m_SavedPos = 0;
  int32_t m_QuestionCount = 0;
  std::unique_ptr<TVocabItem> m_EditItem;
  std::string m_FileName;
  uint16_t m_ForeignLangID = 0;
  int32_t m_ItemIndex = -1;
  TItemList m_Items;  // the list in display order
  // Owns exactly the entries of m_Items, each at its m_Slot, in no particular order.
  std::vector<std::unique_ptr<TVocabItem>> m_Store;
  bool m_Modified = false;
  uint16_t m_NativeLangID = 0;
  std::array<std::string, kMaxPropertyIndex + 1> m_Properties;
  int32_t m_CorrectCount = 0;
  int32_t m_RevisedCount = 0;
  int32_t m_SlipCount = 0;
};
