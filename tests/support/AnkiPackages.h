// SPDX-License-Identifier: MIT
// Anki packages made by the tests themselves: SQLite databases of both schemas, Zstandard and zip.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct TTestNoteType {
  int64_t Id;
  std::string Name;
  std::vector<std::string> Fields;
};
struct TTestNote {
  int64_t Id;  // the creation time in milliseconds
  int64_t NoteType;
  std::vector<std::string> Fields;
  std::vector<int64_t> CardDecks;  // the deck of the card of each ord
};
struct TTestCollection {
  std::vector<TTestNoteType> NoteTypes;
  std::vector<std::pair<int64_t, std::string>> Decks;  // id, name with levels joined by "::"
  std::vector<TTestNote> Notes;
  std::string ExtraSql;  // run after the tables are filled
};

// The database file of the collection in schema 11 (note types and decks as JSON in col) or
// schema 18 (tables of their own).
std::string AnkiDatabase(const TTestCollection& collection, int schema);
std::string ZstdCompress(const std::string& bytes);
// A zip archive of the members (name, bytes), deflated or stored.
std::string ZipArchive(const std::vector<std::pair<std::string, std::string>>& members,
                       bool deflate = true);

// The forms of a package: its collection member.
enum class TAnkiForm { Anki2, Anki21, Anki21b };
// A package as exported: the collection in the form's member (schema 18 and Zstandard for
// Anki21b, beside a stub collection.anki2 holding another note), and a media list.
std::string AnkiPackageBytes(const TTestCollection& collection, TAnkiForm form);
