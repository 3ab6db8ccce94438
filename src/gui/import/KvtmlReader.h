// SPDX-License-Identifier: MIT
// Reading KVTML 2 vocabulary files (the format of other trainers) into entries to append.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TVocabFile;

// What a KVTML file holds for this program: the locale codes of its first two identifiers and
// one entry per vocabulary entry, as UTF-16 fields in the order of TFieldValues (word/phrase,
// part of speech, notes, translations). Entries come lesson by lesson, each once, then those of
// no lesson.
struct TKvtmlVocabulary {
  QString ForeignLocale;
  QString NativeLocale;
  std::vector<std::array<std::u16string, 4>> Entries;
};

// Bounds of the reader: a larger file, more entries, deeper lessons or word types, or a longer
// text are refused with a message rather than read. Reading holds the file and its parsed form,
// about three times its size.
constexpr qint64 kMaxKvtmlBytes = qint64{1} << 30;
constexpr int32_t kMaxKvtmlEntries = 1000000;
constexpr int kMaxKvtmlDepth = 64;
constexpr int kMaxKvtmlText = 65535;

// Reads the file's bytes. Throws EVocabFileError with a message naming the fault (not KVTML 2,
// malformed XML, fewer than two identifiers, a bound exceeded); sourceName names the file in it.
TKvtmlVocabulary ReadKvtml(const QByteArray& bytes, const QString& sourceName);
// Reads the file at path: "Cannot open file ..." when it cannot be read, and the size bound
// checked before reading. External entities are never fetched, nor internal ones expanded.
TKvtmlVocabulary ReadKvtmlFile(const QString& path);

// Appends the entries of a KVTML file to the vocabulary (TVocabFile::ImportEntries): its
// languages must be ones of the language table and the same as the vocabulary's.
int32_t ImportKvtml(TVocabFile& vocab, const QString& path);
