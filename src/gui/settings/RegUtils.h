// SPDX-License-Identifier: MIT
// The settings kept between runs and the store they live in.
#pragma once

#include <QByteArray>
#include <QRect>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "settings/PrintSettings.h"
#include "settings/RecFile.h"
#include "testing/Options.h"

class QSettings;

// A font as the settings keep it: face name and point size.
struct TFontSetting {
  QString Name;
  int32_t Size = 0;
  bool operator==(const TFontSetting&) const = default;
};

// Speaking questions and answers, kept beside the options record (whose bytes stay as they are).
struct TSpeechSettings {
  bool SpeakQuestions = false;     // each question when it is shown
  bool SpeakWrongAnswers = false;  // the expected answer after a wrong one
  int32_t Rate = 0;                // kMinSpeechRate (slowest) .. kMaxSpeechRate (fastest)
  bool operator==(const TSpeechSettings&) const = default;
};
inline constexpr int32_t kMinSpeechRate = -10;
inline constexpr int32_t kMaxSpeechRate = 10;

// Everything the program keeps between runs. A freshly constructed record holds the defaults
// of a first start, except the two that depend on the system (NativeLangID and the sounds),
// which LoadSettings fills in.
struct TSettings {
  // Bounds of the main window in screen pixels, stored as left, top, right, bottom. Take them
  // from geometry() and give them back with setGeometry(), so a restart does not grow the
  // window by its frame. On load: none when no usable bounds are stored (centre the window).
  // On save: none while the window is minimised or maximised, which keeps the stored bounds.
  std::optional<QRect> WindowPosition;
  uint16_t ForeignLangID = 0;
  uint16_t NativeLangID = 0;
  bool ShowToolBar = true;
  bool ShowStatusBar = true;
  int32_t TestMode = 0;  // 0: into the native language, 1: into the foreign language
  bool MultipleChoice = false;
  int32_t NextTip = 0;
  bool ShowTips = true;
  TRecentFileList RecentFiles{9};
  TPrintOptions PrintOptions;
  TPageSetup PageSetup;
  TProgramOptions Options;
  QString RightSound;  // empty: no sound
  QString WrongSound;
  TSpeechSettings Speech;
  TFontSetting DisplayFont{QStringLiteral("Verdana"), 8};
  TFontSetting PrintFont{QStringLiteral("Times New Roman"), 10};
  // Every answer goes into the study history; beside the options record, whose bytes stay.
  bool KeepHistory = true;
};

// The program's key in the settings store: the per-user native store of organisation "Devizur",
// application "Dadezivu", group "2"; or, for tests, an INI file with the same group. Opening
// never fails: a missing key reads as empty, and writes that cannot be made are lost.
class TSettingsStore {
public:
  TSettingsStore();
  explicit TSettingsStore(const QString& iniPath);
  ~TSettingsStore();
  TSettingsStore(const TSettingsStore&) = delete;
  TSettingsStore& operator=(const TSettingsStore&) = delete;

  QSettings& Settings() { return *m_Settings; }

private:
  std::unique_ptr<QSettings> m_Settings;
};

// Single values. A read that fails (missing value, or one of another type) gives the default;
// writes never report. Integers are 32-bit, flags 0 or 1, binary values raw bytes.
int32_t ReadInteger(TSettingsStore& key, const QString& name, int32_t defaultValue);
bool ReadBool(TSettingsStore& key, const QString& name, bool defaultValue);
// At most size bytes; none when the value is missing, not binary or longer than size.
std::optional<QByteArray> ReadBinary(TSettingsStore& key, const QString& name, int size);
QString ReadString(TSettingsStore& key, const QString& name, const QString& defaultValue);
void WriteInteger(TSettingsStore& key, const QString& name, int32_t value);
void WriteBool(TSettingsStore& key, const QString& name, bool value);
void WriteBinary(TSettingsStore& key, const QString& name, const QByteArray& bytes);
void WriteString(TSettingsStore& key, const QString& name, const QString& text);

// Reads every setting into a freshly constructed record. Missing or damaged values give their
// defaults; values out of their range are bounded; a display font that is not installed
// becomes "Arial" 10.
void LoadSettings(TSettingsStore& key, TSettings& settings);
// Reads the stored recent-file list afresh (another copy of the program may have written it).
void LoadRecentFiles(TSettingsStore& key, TRecentFileList& files);
// Writes every setting, then flushes the store.
void SaveSettings(TSettingsStore& key, const TSettings& settings);

// Where the fields of an Anki note type of that name went when last imported (per field the
// entry field, -1 for none); empty when none is stored. The most recently used 100 are kept.
std::vector<int32_t> ReadAnkiFieldMap(TSettingsStore& key, const QString& noteType);
void WriteAnkiFieldMap(TSettingsStore& key, const QString& noteType,
                       const std::vector<int32_t>& map);

// The system's default user language as a Windows language identifier (English when the user's
// locale has none).
uint16_t DefaultUserLangID();
// The default sound file of that name: in the "Sounds" folder beside the program, else in the
// installed data folder.
QString DefaultSoundPath(const QString& fileName);
