// SPDX-License-Identifier: MIT
// Reading Anki packages: the zip container, the Zstandard-compressed collection, the SQLite
// database in both of its schemas, and the append of the notes as entries.
#include "vocab/AnkiPackage.h"

#include <sqlite3.h>
#include <zip.h>
#include <zstd.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unordered_map>

#include "text/Utf8.h"
#include "vocab/FileUtils.h"
#include "vocab/VocFile.h"

namespace {
constexpr char kFieldSeparator = '\x1F';
constexpr size_t kChunk = size_t{1} << 20;
// The largest single value SQLite hands us: a note's fields or the note types' JSON.
constexpr int kMaxValueBytes = 64 << 20;

[[noreturn]] void Fail(const std::string& message) {
  throw EVocabFileError(message);
}
[[noreturn]] void Damaged() {
  Fail("The file is damaged.");
}

// A private file in the temporary folder (mode 0600), removed when this goes out of scope.
class TTempFile {
public:
  TTempFile() {
    std::error_code ec;
    std::string pattern = (std::filesystem::temp_directory_path(ec) / "dadezivu-XXXXXX").string();
    if (ec) pattern = "/tmp/dadezivu-XXXXXX";
    m_Fd = ::mkstemp(pattern.data());
    if (m_Fd < 0) RaiseCannotCreate(pattern);
    m_Path = pattern;
  }
  ~TTempFile() {
    Close();
    ::unlink(m_Path.c_str());
  }
  TTempFile(const TTempFile&) = delete;
  TTempFile& operator=(const TTempFile&) = delete;

  void Write(const char* data, size_t size) {
    while (size > 0) {
      const ssize_t written = ::write(m_Fd, data, size);
      if (written <= 0) RaiseCannotCreate(m_Path);
      data += written;
      size -= static_cast<size_t>(written);
    }
  }
  void Close() {
    if (m_Fd >= 0) ::close(m_Fd);
    m_Fd = -1;
  }
  const std::string& Path() const { return m_Path; }

private:
  int m_Fd = -1;
  std::string m_Path;
};

struct TZipCloser {
  void operator()(zip_t* z) const { zip_discard(z); }
};
struct TZipFileCloser {
  void operator()(zip_file_t* f) const { zip_fclose(f); }
};
struct TZstdFreer {
  void operator()(ZSTD_DStream* s) const { ZSTD_freeDStream(s); }
};

// The members holding the collection, newest form first; the older ones in a newer package are
// stubs that only ask for an update.
struct TMember {
  const char* Name;
  bool Zstd;
};
constexpr TMember kMembers[] = {
    {"collection.anki21b", true}, {"collection.anki21", false}, {"collection.anki2", false}};

// Unpacks the newest collection member of the package into file, within the bounds.
void UnpackCollection(const std::string& path, const TAnkiLimits& limits, TTempFile& file) {
  CheckRegularFile(path);
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) RaiseCannotOpen(path);
  if (static_cast<int64_t>(size) > limits.MaxPackageBytes) {
    Fail("The file " + path + " is larger than " + std::to_string(limits.MaxPackageBytes >> 20) +
         " MB and cannot be imported.");
  }
  int error = 0;
  const std::unique_ptr<zip_t, TZipCloser> zip(
      zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error));
  if (!zip) {
    if (error == ZIP_ER_OPEN || error == ZIP_ER_READ || error == ZIP_ER_MEMORY) {
      RaiseCannotOpen(path);
    }
    // An archive cut short has lost its directory, which is at the end.
    if (error == ZIP_ER_NOZIP && ReadFileBytes(path, 4) != "PK\x03\x04") {
      Fail("The file " + path + " is not an Anki package.");
    }
    Damaged();
  }
  const TMember* member = nullptr;
  zip_int64_t index = -1;
  for (const TMember& m : kMembers) {
    index = zip_name_locate(zip.get(), m.Name, 0);
    if (index >= 0) {
      member = &m;
      break;
    }
  }
  if (!member) Fail("The file " + path + " is not an Anki package.");

  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(zip.get(), static_cast<zip_uint64_t>(index), 0, &stat) != 0 ||
      !(stat.valid & ZIP_STAT_SIZE) || !(stat.valid & ZIP_STAT_COMP_SIZE)) {
    Damaged();
  }
  // What may come out: the bound, and a ratio that only a zip bomb reaches. The database of
  // the newest form is compressed twice; both steps are held to the ratio.
  const int64_t packed = static_cast<int64_t>(stat.comp_size);
  const int64_t unpacked = static_cast<int64_t>(stat.size);
  const std::string tooLarge = "The file " + path + " unpacks to more than " +
                               std::to_string(limits.MaxMemberBytes >> 20) + " MB or " +
                               std::to_string(limits.MaxRatio) +
                               " times its packed size and cannot be imported.";
  if (unpacked > limits.MaxMemberBytes || unpacked > packed * limits.MaxRatio) Fail(tooLarge);
  const int64_t maxOut = std::min(limits.MaxMemberBytes, unpacked * limits.MaxRatio);

  const std::unique_ptr<zip_file_t, TZipFileCloser> in(
      zip_fopen_index(zip.get(), static_cast<zip_uint64_t>(index), 0));
  if (!in) Damaged();
  std::unique_ptr<ZSTD_DStream, TZstdFreer> zstd;
  if (member->Zstd) {
    zstd.reset(ZSTD_createDStream());
    if (!zstd) throw std::bad_alloc();
    // A frame may not ask for a window larger than this; the default would allow 128 MB.
    ZSTD_DCtx_setParameter(zstd.get(), ZSTD_d_windowLogMax, 27);
  }
  std::vector<char> buffer(kChunk), out(member->Zstd ? ZSTD_DStreamOutSize() : 0);
  int64_t readBytes = 0, written = 0;
  size_t zstdLeft = 1;  // 0 once a frame ended
  // One step of the decoder: its output is held to the bound and written; returns its size.
  const auto decode = [&](ZSTD_inBuffer& input) {
    ZSTD_outBuffer output{out.data(), out.size(), 0};
    zstdLeft = ZSTD_decompressStream(zstd.get(), &output, &input);
    if (ZSTD_isError(zstdLeft)) Damaged();
    written += static_cast<int64_t>(output.pos);
    if (written > maxOut) Fail(tooLarge);
    file.Write(out.data(), output.pos);
    return output.pos;
  };
  for (;;) {
    const zip_int64_t got = zip_fread(in.get(), buffer.data(), buffer.size());
    if (got < 0) Damaged();
    if (got == 0) break;
    readBytes += got;
    if (readBytes > unpacked) Damaged();
    if (!member->Zstd) {
      file.Write(buffer.data(), static_cast<size_t>(got));
      continue;
    }
    ZSTD_inBuffer input{buffer.data(), static_cast<size_t>(got), 0};
    while (input.pos < input.size) decode(input);
  }
  if (readBytes != unpacked) Damaged();
  if (member->Zstd) {
    // Output still held inside the decoder, when the frame did not end with the input.
    while (zstdLeft != 0) {
      ZSTD_inBuffer input{nullptr, 0, 0};
      if (decode(input) < out.size()) break;
    }
    if (zstdLeft != 0) Damaged();
  }
  file.Close();
}

// A database connection that trusts nothing the file says: read-only and immutable, defensive,
// without triggers, views, extensions or functions from its schema.
class TDatabase {
public:
  explicit TDatabase(const std::string& path) {
    std::string uri = "file:";
    for (const unsigned char c : path) {
      if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.') {
        uri += static_cast<char>(c);
      } else {
        static const char kHex[] = "0123456789ABCDEF";
        uri += '%';
        uri += kHex[c >> 4];
        uri += kHex[c & 15];
      }
    }
    uri += "?immutable=1";
    if (sqlite3_open_v2(uri.c_str(), &m_Db,
                        SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
      Damaged();
    }
    for (const int option :
         {SQLITE_DBCONFIG_ENABLE_TRIGGER, SQLITE_DBCONFIG_ENABLE_VIEW,
          SQLITE_DBCONFIG_TRUSTED_SCHEMA, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION}) {
      sqlite3_db_config(m_Db, option, 0, nullptr);
    }
    sqlite3_db_config(m_Db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_limit(m_Db, SQLITE_LIMIT_LENGTH, kMaxValueBytes);
    sqlite3_limit(m_Db, SQLITE_LIMIT_ATTACHED, 0);
    Execute("PRAGMA cell_size_check=ON");
    Execute("PRAGMA mmap_size=0");
    Execute("PRAGMA query_only=ON");
  }
  ~TDatabase() { sqlite3_close_v2(m_Db); }
  TDatabase(const TDatabase&) = delete;
  TDatabase& operator=(const TDatabase&) = delete;

  void Execute(const char* sql) {
    if (sqlite3_exec(m_Db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Damaged();
  }
  sqlite3* Handle() const { return m_Db; }

private:
  sqlite3* m_Db = nullptr;
};

// One statement stepped row by row; any failure (a damaged page, a missing table or column,
// malformed JSON) counts as damage.
class TQuery {
public:
  TQuery(const TDatabase& db, const char* sql) {
    if (sqlite3_prepare_v2(db.Handle(), sql, -1, &m_Stmt, nullptr) != SQLITE_OK) {
      sqlite3_finalize(m_Stmt);
      Damaged();
    }
  }
  ~TQuery() { sqlite3_finalize(m_Stmt); }
  TQuery(const TQuery&) = delete;
  TQuery& operator=(const TQuery&) = delete;

  bool Next() {
    const int rc = sqlite3_step(m_Stmt);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    Damaged();
  }
  int64_t Int(int column) const { return sqlite3_column_int64(m_Stmt, column); }
  std::string_view Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_Stmt, column));
    return text ? std::string_view(text, static_cast<size_t>(sqlite3_column_bytes(m_Stmt, column)))
                : std::string_view();
  }

private:
  sqlite3_stmt* m_Stmt = nullptr;
};

struct TRawNoteType {
  std::string Name;
  std::vector<std::string> FieldNames;
};

struct TRawNote {
  int64_t Id;
  int64_t NoteType;
  std::string Fields;
  int64_t Deck = 0;
  int64_t CardOrd = INT64_MAX, CardId = INT64_MAX;  // of the first card seen so far
};

struct TCollection {
  std::unordered_map<int64_t, TRawNoteType> NoteTypes;
  std::unordered_map<int64_t, std::string> Decks;  // names, levels separated by 0x1F
  std::vector<TRawNote> Notes;                     // by id
};

bool HasTable(TDatabase& db, const char* name) {
  TQuery query(
      db, (std::string("SELECT 1 FROM sqlite_schema WHERE type='table' AND name='") + name + "'")
              .c_str());
  return query.Next();
}

// Schema 18 keeps note types, their fields and decks in tables of their own; deck levels are
// separated by 0x1F.
void ReadTables(TDatabase& db, TCollection& c) {
  TQuery types(db, "SELECT id, name FROM notetypes");
  while (types.Next()) c.NoteTypes[types.Int(0)].Name = types.Text(1);
  TQuery fields(db, "SELECT ntid, name FROM fields ORDER BY ntid, ord");
  while (fields.Next()) {
    const auto type = c.NoteTypes.find(fields.Int(0));
    if (type != c.NoteTypes.end()) type->second.FieldNames.emplace_back(fields.Text(1));
  }
  TQuery decks(db, "SELECT id, name FROM decks");
  while (decks.Next()) c.Decks[decks.Int(0)] = decks.Text(1);
}

// Schema 11 keeps them as JSON in the one row of col; SQLite's own JSON functions read it.
// Deck levels are separated by "::".
void ReadJson(TDatabase& db, TCollection& c) {
  TQuery types(db,
               "SELECT CAST(t.key AS INTEGER), json_extract(t.value, '$.name'), "
               "json_extract(f.value, '$.name') FROM (SELECT models FROM col LIMIT 1) c, "
               "json_each(c.models) t LEFT JOIN json_each(t.value, '$.flds') f "
               "ORDER BY 1, json_extract(f.value, '$.ord'), f.key");
  while (types.Next()) {
    TRawNoteType& type = c.NoteTypes[types.Int(0)];
    type.Name = types.Text(1);
    if (!types.Text(2).empty()) type.FieldNames.emplace_back(types.Text(2));
  }
  TQuery decks(db,
               "SELECT CAST(d.key AS INTEGER), json_extract(d.value, '$.name') FROM "
               "(SELECT decks FROM col LIMIT 1) c, json_each(c.decks) d");
  while (decks.Next()) {
    std::string name(decks.Text(1));
    for (size_t at = name.find("::"); at != std::string::npos; at = name.find("::", at + 1)) {
      name.replace(at, 2, 1, kFieldSeparator);
    }
    c.Decks[decks.Int(0)] = std::move(name);
  }
}

TCollection ReadCollection(TDatabase& db, const std::string& path, const TAnkiLimits& limits) {
  {
    TQuery unsafe(db, "SELECT 1 FROM sqlite_schema WHERE type IN ('trigger', 'view')");
    if (unsafe.Next()) {
      Fail("The file " + path + " holds a database with triggers or views and cannot be imported.");
    }
  }
  TCollection c;
  if (HasTable(db, "notetypes")) {
    ReadTables(db, c);
  } else {
    ReadJson(db, c);
  }
  TQuery notes(db, "SELECT id, mid, flds FROM notes ORDER BY id");
  while (notes.Next()) {
    if (c.Notes.size() >= static_cast<size_t>(limits.MaxNotes)) {
      Fail("The file " + path + " holds more than " + std::to_string(limits.MaxNotes) +
           " notes and cannot be imported.");
    }
    c.Notes.push_back({notes.Int(0), notes.Int(1), std::string(notes.Text(2))});
  }
  // The deck of a note is that of its first card. Ids are unique in a sound file; in another,
  // the first note of an id takes its cards.
  TQuery cards(db, "SELECT nid, did, ord, id FROM cards");
  while (cards.Next()) {
    const int64_t nid = cards.Int(0);
    const auto note = std::lower_bound(c.Notes.begin(), c.Notes.end(), nid,
                                       [](const TRawNote& n, int64_t id) { return n.Id < id; });
    if (note == c.Notes.end() || note->Id != nid) continue;
    const int64_t ord = cards.Int(2), id = cards.Int(3);
    if (ord < note->CardOrd || (ord == note->CardOrd && id < note->CardId)) {
      note->CardOrd = ord;
      note->CardId = id;
      note->Deck = cards.Int(1);
    }
  }
  return c;
}

// The notes in deck order, their fields as plain text.
TAnkiPackage Arrange(const TCollection& c, const std::string& path, const TAnkiLimits& limits) {
  // Decks in the order of their names; 0x1F sorts a deck's subdecks right after it.
  std::vector<std::pair<std::string_view, int64_t>> decks;
  decks.reserve(c.Decks.size());
  for (const auto& [id, name] : c.Decks) decks.emplace_back(name, id);
  std::sort(decks.begin(), decks.end());
  std::unordered_map<int64_t, size_t> deckRank;
  for (size_t i = 0; i < decks.size(); ++i) deckRank[decks[i].second] = i;

  std::vector<std::pair<size_t, size_t>> order;  // deck rank, note index (already by id)
  order.reserve(c.Notes.size());
  for (size_t i = 0; i < c.Notes.size(); ++i) {
    const auto rank = deckRank.find(c.Notes[i].Deck);
    order.emplace_back(rank == deckRank.end() ? decks.size() : rank->second, i);
  }
  std::sort(order.begin(), order.end());

  TAnkiPackage package;
  std::unordered_map<int64_t, int32_t> typeIndex;
  package.Notes.reserve(order.size());
  for (const auto& [rank, index] : order) {
    const TRawNote& raw = c.Notes[index];
    const auto type = c.NoteTypes.find(raw.NoteType);
    // A note of no known type, or of one without fields, has nothing to map.
    if (type == c.NoteTypes.end() || type->second.FieldNames.empty()) continue;
    auto [known, added] =
        typeIndex.try_emplace(raw.NoteType, static_cast<int32_t>(package.NoteTypes.size()));
    if (added) package.NoteTypes.push_back({type->second.Name, type->second.FieldNames, 0});
    TAnkiNoteType& noteType = package.NoteTypes[static_cast<size_t>(known->second)];
    ++noteType.NoteCount;

    TAnkiNote note;
    note.NoteType = known->second;
    note.Fields.resize(noteType.FieldNames.size());
    std::string_view rest = raw.Fields;
    for (size_t field = 0; field < note.Fields.size() && rest.data(); ++field) {
      const size_t end = rest.find(kFieldSeparator);
      const std::string_view text = rest.substr(0, end);
      if (static_cast<int64_t>(text.size()) > limits.MaxText) {
        Fail("The file " + path + " holds a text longer than " + std::to_string(limits.MaxText) +
             " bytes and cannot be imported.");
      }
      note.Fields[field] = AnkiFieldText(text, package.DroppedMedia);
      if (end == std::string_view::npos) break;
      rest.remove_prefix(end + 1);
    }
    package.Notes.push_back(std::move(note));
  }
  return package;
}
}  // namespace

TAnkiPackage ReadAnkiPackage(const std::string& path, const TAnkiLimits& limits) {
  TTempFile file;
  UnpackCollection(path, limits, file);
  TDatabase db(file.Path());
  return Arrange(ReadCollection(db, path, limits), path, limits);
}

TAnkiFieldMap DefaultAnkiFieldMap(size_t fieldCount) {
  TAnkiFieldMap map(fieldCount, -1);
  if (fieldCount > 0) map[0] = Foreign;
  if (fieldCount > 1) map[1] = Native;
  return map;
}

TAnkiImportResult ImportAnkiNotes(TVocabFile& vocab, const TAnkiPackage& package,
                                  const std::vector<TAnkiFieldMap>& maps) {
  std::vector<std::array<std::u16string, 4>> entries;
  entries.reserve(package.Notes.size());
  for (const TAnkiNote& note : package.Notes) {
    const TAnkiFieldMap& map = maps.at(static_cast<size_t>(note.NoteType));
    std::array<std::string, 4> texts;
    for (size_t field = 0; field < note.Fields.size() && field < map.size(); ++field) {
      const int32_t target = map[field];
      if (target < 0 || target > 3 || note.Fields[field].empty()) continue;
      std::string& text = texts[static_cast<size_t>(target)];
      if (!text.empty()) text += "; ";
      text += note.Fields[field];
    }
    if (texts[Foreign].empty()) continue;
    std::array<std::u16string, 4> entry;
    for (size_t field = 0; field < 4; ++field) entry[field] = Utf8ToWide(texts[field]);
    entries.push_back(std::move(entry));
  }
  TAnkiImportResult result;
  const int32_t first = vocab.Count();
  result.Added = vocab.ImportEntries(vocab.ForeignLangID(), vocab.NativeLangID(), entries);
  // Every entry went in (none lacks its word/phrase), so each lines up with its texts: a "?" the
  // entry holds beyond those of its texts stands for a character the code page lacks.
  for (int32_t i = 0; i < result.Added; ++i) {
    const auto& values = vocab.GetItem(first + i).Values;
    const auto& texts = entries[static_cast<size_t>(i)];
    for (size_t field = 0; field < 4; ++field) {
      if (texts[field].empty()) continue;
      result.Unconvertible +=
          static_cast<int32_t>(std::count(values[field].begin(), values[field].end(), '?') -
                               std::count(texts[field].begin(), texts[field].end(), u'?'));
    }
  }
  return result;
}
