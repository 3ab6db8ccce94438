// SPDX-License-Identifier: MIT
// The KVTML reader on any bytes, and the append of what it read.
#include <QByteArray>
#include <QString>

#include "FuzzSupport.h"
#include "import/KvtmlReader.h"
#include "text/Languages.h"
#include "vocab/VocFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  TKvtmlVocabulary read;
  try {
    read = ReadKvtml(bytes, QStringLiteral("fuzz.kvtml"));
  } catch (const EVocabFileError&) {
    return 0;
  }
  FUZZ_CHECK(read.Entries.size() <= static_cast<size_t>(kMaxKvtmlEntries));
  for (const auto& fields : read.Entries) {
    for (const std::u16string& field : fields) {
      FUZZ_CHECK(field.size() <= static_cast<size_t>(2 * kMaxKvtmlText + 2));
    }
  }
  // The same bytes read the same way twice.
  FUZZ_CHECK(ReadKvtml(bytes, QStringLiteral("fuzz.kvtml")).Entries.size() == read.Entries.size());

  const uint16_t foreign = LanguageFromLocale(read.ForeignLocale.toStdString());
  const uint16_t native = LanguageFromLocale(read.NativeLocale.toStdString());
  TVocabFile v;
  v.SetForeignLangID(foreign);
  v.SetNativeLangID(native);
  v.SetModified(false);
  int32_t count = 0;
  try {
    count = v.ImportEntries(foreign, native, read.Entries);
  } catch (const std::exception&) {
    FUZZ_CHECK(v.Count() == 0 && !v.Modified());
    return 0;
  }
  FUZZ_CHECK(count == v.Count() && count <= static_cast<int32_t>(read.Entries.size()));
  for (int32_t i = 0; i < count; ++i) {
    FUZZ_CHECK(!v.GetItem(i).Values[Foreign].empty() && !v.GetItem(i).Values[Native].empty());
  }
  return 0;
}
