// SPDX-License-Identifier: MIT
// Reading Anki packages (.apkg, .colpkg): note types, notes in deck order, and their plain text.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TVocabFile;

// Bounds of the reader. A package beyond one of them is refused with a message rather than
// read; tests and the fuzzer lower them.
struct TAnkiLimits {
  int64_t MaxPackageBytes = int64_t{1} << 30;
  int64_t MaxMemberBytes = int64_t{2} << 30;  // a collection database once unpacked
  int64_t MaxRatio = 200;                     // unpacked bytes per packed byte
  int32_t MaxNotes = 1000000;
  int64_t MaxText = 65535;  // bytes of one field as stored
};

// A note type of the package that at least one note uses, with its fields in their order.
struct TAnkiNoteType {
  std::string Name;  // UTF-8
  std::vector<std::string> FieldNames;
  int32_t NoteCount = 0;
};

// One note: the index of its note type and the plain text of each of its fields (UTF-8), as
// many as the note type has.
struct TAnkiNote {
  int32_t NoteType = 0;
  std::vector<std::string> Fields;
};

// What a package holds for this program. Notes come deck by deck (decks in the order of their
// names, a deck's subdecks after it; notes of no known deck last), each deck's notes in the
// order they were created.
struct TAnkiPackage {
  std::vector<TAnkiNoteType> NoteTypes;
  std::vector<TAnkiNote> Notes;
  int32_t DroppedMedia = 0;  // sound and image references left out of the texts
};

// Reads the package at path: the newest collection form it holds (collection.anki21b, then
// collection.anki21, then collection.anki2) is unpacked to a private temporary file, which is
// always removed again, and read through SQLite opened read-only and defensively. Throws
// EVocabFileError with a message naming the fault: "Cannot open file <path>", not a package, a
// bound exceeded, a database with triggers or views, or "The file is damaged.".
TAnkiPackage ReadAnkiPackage(const std::string& path, const TAnkiLimits& limits = {});

// The plain text of one stored field: cloze markers give their text (without hints), sound and
// image references are removed (each counted in droppedMedia), tags are dropped, character
// references decoded, every line break (<br>, a block's end, a new line) becomes "; " and every
// other run of white space or control characters one space; no break or space at either end.
std::string AnkiFieldText(std::string_view html, int32_t& droppedMedia);

// Where each field of a note type goes: per field the entry field (TFieldIndex) or -1 for none.
using TAnkiFieldMap = std::vector<int32_t>;
// The suggestion for a note type of fieldCount fields: the first to the word/phrase, the second
// to the translations, the rest not used.
TAnkiFieldMap DefaultAnkiFieldMap(size_t fieldCount);

struct TAnkiImportResult {
  int32_t Added = 0;
  int32_t Unconvertible = 0;  // characters the vocabulary's code pages could not hold ("?")
};

// Appends one entry per note whose mapped word/phrase is not empty, in the package's order,
// through TVocabFile::ImportEntries in the vocabulary's own languages (maps: one per note type).
// Fields mapped to the same entry field are joined with "; ".
TAnkiImportResult ImportAnkiNotes(TVocabFile& vocab, const TAnkiPackage& package,
                                  const std::vector<TAnkiFieldMap>& maps);
