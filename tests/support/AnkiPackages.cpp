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

}  // namespace

std::string AnkiDatabase(const TTestCollection& c, int schema) {
  sqlite3* db = nullptr;
  Check(sqlite3_open(":memory:", &db) == SQLITE_OK, "open");
  auto exec = [&](const std::string& sql) {
    Check(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK, sql.c_str());
  };
  // Runs a statement made with sqlite3_mprintf (%Q quotes a text).
  auto run = [&](char* sql) {
    exec(sql);
    sqlite3_free(sql);
  };
  // Schema 18's tables; schema 11 keeps the same as JSON in col (the fields out of order there,
  // as only their ord says where they go).
  exec(
      "CREATE TABLE col (id integer primary key, ver integer, models text, decks text);"
      "CREATE TABLE notes (id integer primary key, guid text, mid integer, flds text);"
      "CREATE TABLE cards (id integer primary key, nid integer, did integer, ord integer);"
      "CREATE INDEX ix_cards_nid ON cards (nid);"
      "CREATE TABLE notetypes (id integer primary key, name text, config blob);"
      "CREATE TABLE fields (ntid integer, ord integer, name text, PRIMARY KEY (ntid, ord));"
      "CREATE TABLE decks (id integer primary key, name text); BEGIN");
  for (const TTestNoteType& t : c.NoteTypes) {
    run(sqlite3_mprintf("INSERT INTO notetypes VALUES (%lld, %Q, x'08')", t.Id, t.Name.c_str()));
    for (size_t i = 0; i < t.Fields.size(); ++i)
      run(sqlite3_mprintf("INSERT INTO fields VALUES (%lld, %d, %Q)", t.Id, int(i),
                          t.Fields[i].c_str()));
  }
  for (const auto& [id, name] : c.Decks)
    run(sqlite3_mprintf("INSERT INTO decks VALUES (%lld, replace(%Q, '::', char(31)))", id,
                        name.c_str()));
  run(sqlite3_mprintf("INSERT INTO col VALUES (1, %d, '{}', '{}')", schema));
  if (schema == 11) {
    exec(
        "UPDATE col SET models = (SELECT json_group_object(id, json_object('name', name, 'flds', "
        "(SELECT json_group_array(json_object('name', name, 'ord', ord)) FROM (SELECT * FROM "
        "fields WHERE ntid = t.id ORDER BY ord DESC)))) FROM notetypes t), decks = (SELECT "
        "json_group_object(id, json_object('name', replace(name, char(31), '::'))) FROM decks);"
        "DROP TABLE notetypes; DROP TABLE fields; DROP TABLE decks");
  }
  for (const TTestNote& n : c.Notes) {
    std::string fields;
    for (const std::string& f : n.Fields) fields += (fields.empty() ? "" : "\x1F") + f;
    run(sqlite3_mprintf("INSERT INTO notes VALUES (%lld, 'guid', %lld, %Q)", n.Id, n.NoteType,
                        fields.c_str()));
    // The later cards first, so that the first card is found by its ord, not by its row.
    for (size_t ord = n.CardDecks.size(); ord-- > 0;)
      run(sqlite3_mprintf("INSERT INTO cards VALUES (%lld, %lld, %lld, %d)",
                          n.Id * 10 + int64_t(n.CardDecks.size() - ord), n.Id, n.CardDecks[ord],
                          int(ord)));
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
