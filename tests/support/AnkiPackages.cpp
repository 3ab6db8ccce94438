// SPDX-License-Identifier: MIT
// Anki packages made by the tests themselves.
#include "AnkiPackages.h"

#include <sqlite3.h>
#include <zip.h>
#include <zstd.h>

#include <stdexcept>

namespace {
void Check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string("building a test package: ") + what);
}

std::string Json(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + '"';
}

class TStatement {
public:
  TStatement(sqlite3* db, const std::string& sql) {
    Check(sqlite3_prepare_v2(db, sql.c_str(), -1, &m_Stmt, nullptr) == SQLITE_OK, "prepare");
  }
  ~TStatement() { sqlite3_finalize(m_Stmt); }
  // Binds the values in order (integers or texts) and runs the statement once.
  template <typename... Values>
  void Run(const Values&... values) {
    int column = 0;
    (Bind(++column, values), ...);
    Check(sqlite3_step(m_Stmt) == SQLITE_DONE, "insert");
    sqlite3_reset(m_Stmt);
  }

private:
  void Bind(int column, int64_t value) { sqlite3_bind_int64(m_Stmt, column, value); }
  void Bind(int column, const std::string& text) {
    sqlite3_bind_text(m_Stmt, column, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }
  sqlite3_stmt* m_Stmt = nullptr;
};
}  // namespace

std::string AnkiDatabase(const TTestCollection& c, int schema) {
  sqlite3* db = nullptr;
  Check(sqlite3_open(":memory:", &db) == SQLITE_OK, "open");
  auto exec = [&](const std::string& sql) {
    Check(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK, sql.c_str());
  };
  exec(
      "CREATE TABLE col (id integer primary key, ver integer, models text, decks text);"
      "CREATE TABLE notes (id integer primary key, guid text, mid integer, flds text);"
      "CREATE TABLE cards (id integer primary key, nid integer, did integer, ord integer);"
      "CREATE INDEX ix_cards_nid ON cards (nid); BEGIN");
  std::string models = "{", decks = "{";
  if (schema == 18) {
    exec(
        "CREATE TABLE notetypes (id integer primary key, name text, config blob);"
        "CREATE TABLE fields (ntid integer, ord integer, name text, PRIMARY KEY (ntid, ord));"
        "CREATE TABLE decks (id integer primary key, name text)");
    TStatement type(db, "INSERT INTO notetypes VALUES (?, ?, x'08')");
    TStatement field(db, "INSERT INTO fields VALUES (?, ?, ?)");
    for (const TTestNoteType& t : c.NoteTypes) {
      type.Run(t.Id, t.Name);
      for (size_t i = 0; i < t.Fields.size(); ++i) field.Run(t.Id, int64_t(i), t.Fields[i]);
    }
    TStatement deck(db, "INSERT INTO decks VALUES (?, ?)");
    for (auto [id, name] : c.Decks) {
      for (size_t at = name.find("::"); at != std::string::npos; at = name.find("::", at))
        name.replace(at, 2, "\x1F");
      deck.Run(id, name);
    }
  } else {
    for (const TTestNoteType& t : c.NoteTypes) {
      if (models.size() > 1) models += ',';
      models += Json(std::to_string(t.Id)) + ":{\"id\":" + std::to_string(t.Id) +
                ",\"name\":" + Json(t.Name) + ",\"type\":0,\"flds\":[";
      // The fields out of order, as only their ord says where they go.
      for (size_t i = t.Fields.size(); i-- > 0;) {
        models += "{\"name\":" + Json(t.Fields[i]) + ",\"ord\":" + std::to_string(i) + "}";
        if (i > 0) models += ',';
      }
      models += "]}";
    }
    for (const auto& [id, name] : c.Decks) {
      if (decks.size() > 1) decks += ',';
      decks += Json(std::to_string(id)) + ":{\"name\":" + Json(name) + "}";
    }
  }
  TStatement(db, "INSERT INTO col VALUES (1, ?, ?, ?)")
      .Run(int64_t(schema), models + "}", decks + "}");
  TStatement note(db, "INSERT INTO notes VALUES (?, 'guid', ?, ?)");
  TStatement card(db, "INSERT INTO cards VALUES (?, ?, ?, ?)");
  for (const TTestNote& n : c.Notes) {
    std::string fields;
    for (const std::string& f : n.Fields) fields += (fields.empty() ? "" : "\x1F") + f;
    note.Run(n.Id, n.NoteType, fields);
    // The later cards first, so that the first card is found by its ord, not by its row.
    for (size_t ord = n.CardDecks.size(); ord-- > 0;)
      card.Run(n.Id * 10 + int64_t(n.CardDecks.size() - ord), n.Id, n.CardDecks[ord], int64_t(ord));
  }
  exec("COMMIT");
  if (!c.ExtraSql.empty()) exec(c.ExtraSql);
  sqlite3_int64 size = 0;
  unsigned char* bytes = sqlite3_serialize(db, "main", &size, 0);
  Check(bytes != nullptr, "serialize");
  std::string result(reinterpret_cast<const char*>(bytes), static_cast<size_t>(size));
  sqlite3_free(bytes);
  sqlite3_close(db);
  return result;
}

std::string ZstdCompress(const std::string& bytes) {
  std::string out(ZSTD_compressBound(bytes.size()), '\0');
  const size_t size = ZSTD_compress(out.data(), out.size(), bytes.data(), bytes.size(), 3);
  Check(!ZSTD_isError(size), "zstd");
  out.resize(size);
  return out;
}

std::string ZipArchive(const std::vector<std::pair<std::string, std::string>>& members,
                       bool deflate) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_t* zip = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
  Check(zip != nullptr, "zip");
  zip_source_keep(buffer);
  for (const auto& [name, bytes] : members) {
    const zip_int64_t index =
        zip_file_add(zip, name.c_str(), zip_source_buffer(zip, bytes.data(), bytes.size(), 0), 0);
    Check(index >= 0, "zip member");
    zip_set_file_compression(zip, static_cast<zip_uint64_t>(index),
                             deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0);
  }
  Check(zip_close(zip) == 0, "zip close");
  std::string out;
  Check(zip_source_open(buffer) == 0, "zip read");
  char chunk[65536];
  for (zip_int64_t got; (got = zip_source_read(buffer, chunk, sizeof chunk)) > 0;)
    out.append(chunk, static_cast<size_t>(got));
  zip_source_close(buffer);
  zip_source_free(buffer);
  return out;
}

std::string AnkiPackageBytes(const TTestCollection& collection, TAnkiForm form) {
  if (form != TAnkiForm::Anki21b) {
    return ZipArchive({{form == TAnkiForm::Anki2 ? "collection.anki2" : "collection.anki21",
                        AnkiDatabase(collection, 11)},
                       {"media", "{}"}});
  }
  TTestCollection stub;
  stub.NoteTypes = {{1, "Basic", {"Front", "Back"}}};
  stub.Notes = {{1, 1, {"Please update to the latest version.", ""}, {1}}};
  return ZipArchive({{"collection.anki2", AnkiDatabase(stub, 11)},
                     {"collection.anki21b", ZstdCompress(AnkiDatabase(collection, 18))},
                     {"media", ZstdCompress("")}},
                    false);
}
