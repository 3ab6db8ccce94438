// SPDX-License-Identifier: MIT
// The Anki package reader on any bytes (with lowered bounds), the append of what it read, and the
// field text on any text.
#include "FuzzSupport.h"
#include "vocab/AnkiPackage.h"
#include "vocab/VocFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TFuzzFile file;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  int32_t media = 0;
  const std::string text = AnkiFieldText(bytes, media);
  FUZZ_CHECK(text.size() <= 4 * bytes.size() && media >= 0);
  FUZZ_CHECK(text.empty() || (text.front() != ' ' && text.back() != ' '));

  TAnkiPackage package;
  try {
    package = ReadAnkiPackage(file.Write(bytes), {1 << 20, 16 << 20, 200, 1000, 4096});
  } catch (const EVocabFileError&) {
    return 0;
  }
  FUZZ_CHECK(package.Notes.size() <= 1000);
  std::vector<TAnkiFieldMap> maps;
  for (const TAnkiNoteType& type : package.NoteTypes) {
    maps.push_back(DefaultAnkiFieldMap(type.FieldNames.size()));
  }
  for (const TAnkiNote& note : package.Notes) {
    FUZZ_CHECK(note.NoteType >= 0 && static_cast<size_t>(note.NoteType) < maps.size());
    FUZZ_CHECK(note.Fields.size() == maps[static_cast<size_t>(note.NoteType)].size());
  }
  TVocabFile v;
  v.SetForeignLangID(0x0407);
  v.SetNativeLangID(0x0409);
  const TAnkiImportResult result = ImportAnkiNotes(v, package, maps);
  FUZZ_CHECK(result.Added == v.Count() &&
             result.Added <= static_cast<int32_t>(package.Notes.size()));
  FUZZ_CHECK(result.Unconvertible >= 0);
  return 0;
}
