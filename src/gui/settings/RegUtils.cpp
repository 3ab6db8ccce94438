// SPDX-License-Identifier: MIT
// Reading and writing the settings record in the user's settings store.
#include "settings/RegUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>

#include <unicode/uloc.h>

#include <algorithm>
#include <string>

#include "platform/DataFiles.h"
#include "platform/DlgUtils.h"
#include "text/TextUtils.h"

namespace {

constexpr int kWindowPositionSize = 16;
// Stored counts beyond this are damage; reading them all would stall the start.
constexpr int32_t kMaxStoredFiles = 1000;
// Window bounds beyond this are no screen's.
constexpr int32_t kMaxCoordinate = 1 << 16;
constexpr int32_t kMinFontSize = 8, kMaxFontSize = 24;

std::string ToBytes(const QByteArray& bytes) {
  return bytes.toStdString();
}
QByteArray FromBytes(const std::string& bytes) {
  return QByteArray::fromStdString(bytes);
}

int32_t GetInt32(const QByteArray& bytes, int at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(bytes[at + i]);
  return static_cast<int32_t>(v);
}

void PutInt32(QByteArray& bytes, int at, int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::optional<QRect> ReadWindowPosition(TSettingsStore& key) {
  const std::optional<QByteArray> bytes =
      ReadBinary(key, QStringLiteral("WindowPosition"), kWindowPositionSize);
  if (!bytes || bytes->size() != kWindowPositionSize) return std::nullopt;
  const int32_t left = GetInt32(*bytes, 0), top = GetInt32(*bytes, 4);
  const int32_t right = GetInt32(*bytes, 8), bottom = GetInt32(*bytes, 12);
  for (int32_t v : {left, top, right, bottom})
    if (v < -kMaxCoordinate || v > kMaxCoordinate) return std::nullopt;
  if (right <= left || bottom <= top) return std::nullopt;
  return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}

QByteArray EncodeWindowPosition(const QRect& r) {
  QByteArray bytes(kWindowPositionSize, '\0');
  PutInt32(bytes, 0, r.x());
  PutInt32(bytes, 4, r.y());
  PutInt32(bytes, 8, r.x() + r.width());
  PutInt32(bytes, 12, r.y() + r.height());
  return bytes;
}

uint16_t ReadLangID(TSettingsStore& key, const QString& name, uint16_t defaultValue) {
  const int32_t v = ReadInteger(key, name, defaultValue);
  return v >= 0 && v <= 0xFFFF ? static_cast<uint16_t>(v) : defaultValue;
}

int32_t ReadFontSize(TSettingsStore& key, const QString& name, int32_t defaultValue) {
  const int32_t v = ReadInteger(key, name, defaultValue);
  return v >= kMinFontSize && v <= kMaxFontSize ? v : defaultValue;
}

// Each block is decoded over the record as it is; a block that cannot be read gives defaults.
template <typename TRecord>
void ReadRecord(TSettingsStore& key, const QString& name, int size, TRecord& record,
                void (*decode)(const std::string&, TRecord&)) {
  if (const std::optional<QByteArray> bytes = ReadBinary(key, name, size))
    decode(ToBytes(*bytes), record);
  else
    record = TRecord{};
}

}  // namespace

TSettingsStore::TSettingsStore()
    : m_Settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("Devizur"),
                                             QStringLiteral("Dadezivu"))) {
  m_Settings->beginGroup(QStringLiteral("2"));
}

TSettingsStore::TSettingsStore(const QString& iniPath)
    : m_Settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {
  m_Settings->beginGroup(QStringLiteral("2"));
}

TSettingsStore::~TSettingsStore() = default;

int32_t ReadInteger(TSettingsStore& key, const QString& name, int32_t defaultValue) {
  const QVariant v = key.Settings().value(name);
  if (!v.isValid() || v.typeId() == QMetaType::QByteArray) return defaultValue;
  bool ok = false;
  const int32_t result = v.toInt(&ok);
  return ok ? result : defaultValue;
}

bool ReadBool(TSettingsStore& key, const QString& name, bool defaultValue) {
  return ReadInteger(key, name, defaultValue ? 1 : 0) != 0;
}

std::optional<QByteArray> ReadBinary(TSettingsStore& key, const QString& name, int size) {
  const QVariant v = key.Settings().value(name);
  if (v.typeId() != QMetaType::QByteArray) return std::nullopt;
  QByteArray bytes = v.toByteArray();
  if (bytes.size() > size) return std::nullopt;
  return bytes;
}

QString ReadString(TSettingsStore& key, const QString& name, const QString& defaultValue) {
  const QVariant v = key.Settings().value(name);
  if (v.typeId() != QMetaType::QString) return defaultValue;
  return v.toString();
}

void WriteInteger(TSettingsStore& key, const QString& name, int32_t value) {
  key.Settings().setValue(name, static_cast<int>(value));
}

void WriteBool(TSettingsStore& key, const QString& name, bool value) {
  WriteInteger(key, name, value ? 1 : 0);
}

void WriteBinary(TSettingsStore& key, const QString& name, const QByteArray& bytes) {
  key.Settings().setValue(name, bytes);
}

void WriteString(TSettingsStore& key, const QString& name, const QString& text) {
  key.Settings().setValue(name, text);
}

void LoadSettings(TSettingsStore& key, TSettings& s) {
  s.WindowPosition = ReadWindowPosition(key);
  s.ForeignLangID = ReadLangID(key, QStringLiteral("ForeignLangID"), 0);
  s.NativeLangID = ReadLangID(key, QStringLiteral("NativeLangID"), DefaultUserLangID());
  s.ShowToolBar = ReadBool(key, QStringLiteral("ShowToolBar"), true);
  s.ShowStatusBar = ReadBool(key, QStringLiteral("ShowStatusBar"), true);
  s.TestMode = ReadInteger(key, QStringLiteral("TestMode"), 0) == 1 ? 1 : 0;
  s.MultipleChoice = ReadBool(key, QStringLiteral("MultipleChoice"), false);
  s.NextTip = std::max(ReadInteger(key, QStringLiteral("NextTip"), 0), 0);
  s.ShowTips = ReadBool(key, QStringLiteral("ShowTips"), true);

  LoadRecentFiles(key, s.RecentFiles);

  ReadRecord(key, QStringLiteral("PrintOptions"), kPrintOptionsSize, s.PrintOptions,
             DecodePrintOptions);
  ReadRecord(key, QStringLiteral("PageSetup"), kPageSetupSize, s.PageSetup, DecodePageSetup);
  ReadRecord(key, QStringLiteral("Options"), kProgramOptionsSize, s.Options, DecodeProgramOptions);

  s.RightSound = ReadString(key, QStringLiteral("Sound1"), DefaultSoundPath("Clap.wav"));
  s.WrongSound = ReadString(key, QStringLiteral("Sound2"), DefaultSoundPath("Pow.wav"));
  s.Speech.SpeakQuestions = ReadBool(key, QStringLiteral("SpeakQuestions"), false);
  s.Speech.SpeakWrongAnswers = ReadBool(key, QStringLiteral("SpeakAnswers"), false);
  s.Speech.Rate =
      std::clamp(ReadInteger(key, QStringLiteral("SpeechRate"), 0), kMinSpeechRate, kMaxSpeechRate);

  s.DisplayFont.Name = ReadString(key, QStringLiteral("DisplayFont"), QStringLiteral("Verdana"));
  s.DisplayFont.Size = ReadFontSize(key, QStringLiteral("DisplaySize"), 8);
  if (!FontExists(s.DisplayFont.Name, 0)) s.DisplayFont = {QStringLiteral("Arial"), 10};
  s.PrintFont.Name =
      ReadString(key, QStringLiteral("PrintFont"), QStringLiteral("Times New Roman"));
  s.PrintFont.Size = ReadFontSize(key, QStringLiteral("PrintSize"), 10);
  s.KeepHistory = ReadBool(key, QStringLiteral("KeepHistory"), true);
}

void LoadRecentFiles(TSettingsStore& key, TRecentFileList& files) {
  key.Settings().sync();
  const int32_t fileCount =
      std::min(ReadInteger(key, QStringLiteral("FileCount"), 0), kMaxStoredFiles);
  for (int32_t n = 1; n <= fileCount; ++n)
    files.AppendFile(ReadString(key, QStringLiteral("File%1").arg(n), {}));
}

void SaveSettings(TSettingsStore& key, const TSettings& s) {
  if (s.WindowPosition)
    WriteBinary(key, QStringLiteral("WindowPosition"), EncodeWindowPosition(*s.WindowPosition));
  WriteInteger(key, QStringLiteral("ForeignLangID"), s.ForeignLangID);
  WriteInteger(key, QStringLiteral("NativeLangID"), s.NativeLangID);
  WriteBool(key, QStringLiteral("ShowToolBar"), s.ShowToolBar);
  WriteBool(key, QStringLiteral("ShowStatusBar"), s.ShowStatusBar);
  WriteInteger(key, QStringLiteral("TestMode"), s.TestMode);
  WriteBool(key, QStringLiteral("MultipleChoice"), s.MultipleChoice);
  WriteInteger(key, QStringLiteral("NextTip"), s.NextTip);
  WriteBool(key, QStringLiteral("ShowTips"), s.ShowTips);
  WriteInteger(key, QStringLiteral("FileCount"), s.RecentFiles.Count());
  for (int32_t i = 0; i < s.RecentFiles.Count(); ++i)
    WriteString(key, QStringLiteral("File%1").arg(i + 1), s.RecentFiles.GetFile(i));
  WriteBinary(key, QStringLiteral("PrintOptions"), FromBytes(EncodePrintOptions(s.PrintOptions)));
  WriteBinary(key, QStringLiteral("PageSetup"), FromBytes(EncodePageSetup(s.PageSetup)));
  WriteBinary(key, QStringLiteral("Options"), FromBytes(EncodeProgramOptions(s.Options)));
  WriteString(key, QStringLiteral("Sound1"), s.RightSound);
  WriteString(key, QStringLiteral("Sound2"), s.WrongSound);
  WriteBool(key, QStringLiteral("SpeakQuestions"), s.Speech.SpeakQuestions);
  WriteBool(key, QStringLiteral("SpeakAnswers"), s.Speech.SpeakWrongAnswers);
  WriteInteger(key, QStringLiteral("SpeechRate"), s.Speech.Rate);
  WriteString(key, QStringLiteral("DisplayFont"), s.DisplayFont.Name);
  WriteInteger(key, QStringLiteral("DisplaySize"), s.DisplayFont.Size);
  WriteString(key, QStringLiteral("PrintFont"), s.PrintFont.Name);
  WriteInteger(key, QStringLiteral("PrintSize"), s.PrintFont.Size);
  WriteBool(key, QStringLiteral("KeepHistory"), s.KeepHistory);
  key.Settings().sync();
}

uint16_t DefaultUserLangID() {
  const QByteArray locale = QLocale::system().name().toLatin1();
  const uint32_t lcid = uloc_getLCID(locale.constData());
  return lcid != 0 ? static_cast<uint16_t>(lcid & 0xFFFF) : 0x0409;
}

QString DefaultSoundPath(const QString& fileName) {
  const QString relative = QStringLiteral("Sounds/") + fileName;
  QString path = FindDataFile(relative);
  if (path.isEmpty()) path = QDir(QCoreApplication::applicationDirPath()).filePath(relative);
#ifdef Q_OS_WIN
  // File names there ignore case, so the path may be shown in its tidy form.
  path = QString::fromStdString(CapitaliseWords(QDir::toNativeSeparators(path).toStdString()));
#endif
  return path;
}

namespace {
constexpr int32_t kMaxAnkiNoteTypes = 100;

// The stored note type names, most recently used first.
QStringList AnkiNoteTypes(TSettingsStore& key) {
  QStringList names;
  const int32_t count =
      std::min(ReadInteger(key, QStringLiteral("AnkiNoteTypeCount"), 0), kMaxAnkiNoteTypes);
  for (int32_t n = 1; n <= count; ++n) {
    names << ReadString(key, QStringLiteral("AnkiNoteType%1").arg(n), {});
  }
  return names;
}
}  // namespace

std::vector<int32_t> ReadAnkiFieldMap(TSettingsStore& key, const QString& noteType) {
  const int n = static_cast<int>(AnkiNoteTypes(key).indexOf(noteType));
  std::vector<int32_t> map;
  if (n < 0) return map;
  for (const QString& target :
       ReadString(key, QStringLiteral("AnkiFieldMap%1").arg(n + 1), {}).split(u',')) {
    bool ok = false;
    const int value = target.toInt(&ok);
    map.push_back(ok && value >= 0 && value <= 3 ? value : -1);
  }
  return map;
}

void WriteAnkiFieldMap(TSettingsStore& key, const QString& noteType,
                       const std::vector<int32_t>& map) {
  QStringList names = AnkiNoteTypes(key);
  QStringList maps;
  for (int n = 0; n < names.size(); ++n) {
    maps << ReadString(key, QStringLiteral("AnkiFieldMap%1").arg(n + 1), {});
  }
  const qsizetype old = names.indexOf(noteType);
  if (old >= 0) {
    names.removeAt(old);
    maps.removeAt(old);
  }
  QStringList targets;
  for (const int32_t target : map) targets << QString::number(target);
  names.prepend(noteType);
  maps.prepend(targets.join(u','));
  const auto count = static_cast<int32_t>(std::min<qsizetype>(names.size(), kMaxAnkiNoteTypes));
  WriteInteger(key, QStringLiteral("AnkiNoteTypeCount"), count);
  for (int32_t n = 0; n < count; ++n) {
    WriteString(key, QStringLiteral("AnkiNoteType%1").arg(n + 1), names[n]);
    WriteString(key, QStringLiteral("AnkiFieldMap%1").arg(n + 1), maps[n]);
  }
}
