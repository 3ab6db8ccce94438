// SPDX-License-Identifier: MIT
// Tests of the settings record and its store.
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <optional>

#include "GuiTestSupport.h"
#include "platform/DlgUtils.h"
#include "settings/RegUtils.h"

namespace {

QByteArray LE32(std::initializer_list<int32_t> values) {
  QByteArray bytes;
  for (int32_t v : values)
    for (int i = 0; i < 4; ++i)
      bytes.append(static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF));
  return bytes;
}

QByteArray Bytes(const std::string& bytes) {
  return QByteArray::fromStdString(bytes);
}

// A record with no field left at its default.
TSettings Changed() {
  TSettings s;
  s.WindowPosition = QRect(QPoint(-20, 30), QSize(640, 480));
  s.ForeignLangID = 0x040C;
  s.NativeLangID = 0x0419;
  s.ShowToolBar = false;
  s.ShowStatusBar = false;
  s.TestMode = 1;
  s.MultipleChoice = true;
  s.NextTip = 17;
  s.ShowTips = false;
  s.RecentFiles.AddFile("/data/old, with comma.doz");
  s.RecentFiles.AddFile("/data/Wörter/ß & co.doz");
  s.RecentFiles.AddFile("/data/new.doz");
  s.PrintOptions = {false, false, 0x08};
  s.PageSetup = {1418, 0, 567, 2880, 3, false, {1, 2, 3}};
  s.Options.AppendNewWords = true;
  s.Options.ShortcutChars[26] = {0xC0, 204};
  s.Options.NumChoices = 7;
  s.Options.RightColour = 0x00FF00;
  s.RightSound = "/snd/yes.wav";
  s.WrongSound = "";
  s.Speech = {true, true, -4};
  s.DisplayFont = {"DejaVu Sans", 12};
  s.PrintFont = {"Courier New", 24};
  s.KeepHistory = false;
  return s;
}

void CompareSettings(const TSettings& a, const TSettings& b) {
  QCOMPARE(a.WindowPosition, b.WindowPosition);
  QCOMPARE(a.ForeignLangID, b.ForeignLangID);
  QCOMPARE(a.NativeLangID, b.NativeLangID);
  QCOMPARE(a.ShowToolBar, b.ShowToolBar);
  QCOMPARE(a.ShowStatusBar, b.ShowStatusBar);
  QCOMPARE(a.TestMode, b.TestMode);
  QCOMPARE(a.MultipleChoice, b.MultipleChoice);
  QCOMPARE(a.NextTip, b.NextTip);
  QCOMPARE(a.ShowTips, b.ShowTips);
  QCOMPARE(a.RecentFiles.Files(), b.RecentFiles.Files());
  QVERIFY(a.PrintOptions == b.PrintOptions);
  QVERIFY(a.PageSetup == b.PageSetup);
  QVERIFY(a.Options == b.Options);
  QCOMPARE(a.RightSound, b.RightSound);
  QCOMPARE(a.WrongSound, b.WrongSound);
  QVERIFY(a.Speech == b.Speech);
  QCOMPARE(a.DisplayFont.Name, b.DisplayFont.Name);
  QCOMPARE(a.DisplayFont.Size, b.DisplayFont.Size);
  QCOMPARE(a.PrintFont.Name, b.PrintFont.Name);
  QCOMPARE(a.PrintFont.Size, b.PrintFont.Size);
  QCOMPARE(a.KeepHistory, b.KeepHistory);
}

}  // namespace

class TestRegUtils : public QObject {
  Q_OBJECT
private slots:
  void init();
  void cleanup();
  void firstStartGivesTheDefaults();
  void missingDisplayFontBecomesArial10();
  void savedSettingsReadBackByteForByte();
  void damagedValuesFollowTheirRules_data();
  void damagedValuesFollowTheirRules();
  void minimisedOrMaximisedKeepsTheStoredPosition();
  void fileValuesBeyondTheCountAreKeptButNotRead();
  void programStoreIsTheUsersNativeStore();

private:
  QString Path(const QString& name = "settings.ini") const { return m_Dir->filePath(name); }

  std::unique_ptr<QTemporaryDir> m_Dir;
  QStringList m_FontsAsked;
  std::optional<TScopedSeam<decltype(FontExistsHandler)>> m_Fonts;
};

void TestRegUtils::init() {
  m_Dir = std::make_unique<QTemporaryDir>();
  QVERIFY(m_Dir->isValid());
  m_FontsAsked.clear();
  m_Fonts.emplace(FontExistsHandler, [this](const QString& name, int charset) {
    m_FontsAsked << QString("%1/%2").arg(name).arg(charset);
    return name != "Gone Font";
  });
}

void TestRegUtils::cleanup() {
  m_Fonts.reset();
}

void TestRegUtils::firstStartGivesTheDefaults() {
  TSettingsStore store(Path());
  TSettings s;
  LoadSettings(store, s);
  TSettings expected;
  expected.NativeLangID = DefaultUserLangID();
  expected.RightSound = DefaultSoundPath("Clap.wav");
  expected.WrongSound = DefaultSoundPath("Pow.wav");
  CompareSettings(s, expected);
  QVERIFY(!s.WindowPosition);
  QCOMPARE(s.DisplayFont.Name, QString("Verdana"));
  QCOMPARE(s.DisplayFont.Size, 8);
  QCOMPARE(s.PrintFont.Name, QString("Times New Roman"));
  QCOMPARE(s.PrintFont.Size, 10);
  QCOMPARE(s.RecentFiles.Count(), 0);
  QCOMPARE(s.RecentFiles.MaxCount(), 9);
  QVERIFY(s.RightSound.endsWith("/Sounds/Clap.wav"));
  QVERIFY(s.WrongSound.endsWith("/Sounds/Pow.wav"));
  QVERIFY(s.NativeLangID != 0);
  // Only the display face is checked, for the ANSI character set.
  QCOMPARE(m_FontsAsked, QStringList{"Verdana/0"});
  // Reading creates nothing.
  QVERIFY(!QFile::exists(Path()));
}

void TestRegUtils::missingDisplayFontBecomesArial10() {
  TSettings s = Changed();
  s.DisplayFont = {"Gone Font", 14};
  s.PrintFont = {"Gone Font", 12};
  {
    TSettingsStore store(Path());
    SaveSettings(store, s);
  }
  TSettings loaded;
  {
    TSettingsStore store(Path());
    LoadSettings(store, loaded);
    QCOMPARE(loaded.DisplayFont.Name, QString("Arial"));
    QCOMPARE(loaded.DisplayFont.Size, 10);
    QCOMPARE(loaded.PrintFont.Name, QString("Gone Font"));  // not checked
    QCOMPARE(loaded.PrintFont.Size, 12);
    SaveSettings(store, loaded);
  }
  QSettings raw(Path(), QSettings::IniFormat);
  QCOMPARE(raw.value("2/DisplayFont").toString(), QString("Arial"));
  QCOMPARE(raw.value("2/DisplaySize").toInt(), 10);
}

void TestRegUtils::savedSettingsReadBackByteForByte() {
  const TSettings original = Changed();
  {
    TSettingsStore store(Path("a.ini"));
    SaveSettings(store, original);
  }
  TSettings loaded;
  {
    TSettingsStore store(Path("a.ini"));
    LoadSettings(store, loaded);
  }
  CompareSettings(loaded, original);
  {
    TSettingsStore store(Path("b.ini"));
    SaveSettings(store, loaded);
  }
  QSettings a(Path("a.ini"), QSettings::IniFormat);
  QSettings b(Path("b.ini"), QSettings::IniFormat);
  QCOMPARE(a.allKeys(), b.allKeys());
  for (const QString& name : a.allKeys()) QCOMPARE(a.value(name), b.value(name));
  QFile fa(Path("a.ini")), fb(Path("b.ini"));
  QVERIFY(fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly));
  QCOMPARE(fa.readAll(), fb.readAll());

  // The stored form: names, types and byte layouts.
  a.beginGroup("2");
  QCOMPARE(a.value("WindowPosition").toByteArray(), LE32({-20, 30, 620, 510}));
  QCOMPARE(a.value("PrintOptions").toByteArray(), QByteArray("\x00\x00\x08", 3));
  QCOMPARE(a.value("PageSetup").toByteArray(),
           LE32({1418, 0, 567, 2880, 3}) + QByteArray("\x00\x01\x02\x03", 4));
  QCOMPARE(a.value("Options").toByteArray(), Bytes(EncodeProgramOptions(original.Options)));
  QCOMPARE(a.value("Options").toByteArray().size(), 236);
  QCOMPARE(a.value("FileCount").toInt(), 3);
  QCOMPARE(a.value("File1").toString(), QString("/data/new.doz"));
  QCOMPARE(a.value("File3").toString(), QString("/data/old, with comma.doz"));
  QCOMPARE(a.value("ForeignLangID").toInt(), 0x040C);
  QCOMPARE(a.value("ShowToolBar").toString(), QString("0"));
  QCOMPARE(a.value("MultipleChoice").toString(), QString("1"));
  QCOMPARE(a.value("Sound2").toString(), QString());
  QVERIFY(a.contains("Sound2"));
}

void TestRegUtils::damagedValuesFollowTheirRules_data() {
  QTest::addColumn<QVariantMap>("stored");
  QTest::addColumn<std::function<bool(const TSettings&)>>("holds");
  using F = std::function<bool(const TSettings&)>;
  const auto files = [](const TSettings& s) { return s.RecentFiles.Files(); };

  TProgramOptions notDefault;
  notDefault.AppendNewWords = true;
  notDefault.NumChoices = 9;
  const QByteArray options = Bytes(EncodeProgramOptions(notDefault));

  QTest::newRow("longer options block gives the defaults")
      << QVariantMap{{"Options", options + 'x'}}
      << F([](auto& s) { return s.Options == TProgramOptions{}; });
  QTest::newRow("shorter options block is read as far as it goes")
      << QVariantMap{{"Options", options.left(100)}}
      << F([](auto& s) { return s.Options.AppendNewWords && s.Options.NumChoices == 4; });
  QTest::newRow("options stored as text count as missing")
      << QVariantMap{{"Options", QString("\x01\x01")}}
      << F([](auto& s) { return s.Options == TProgramOptions{}; });
  QTest::newRow("out-of-range options are bounded")
      << QVariantMap{{"Options", Bytes(std::string(236, '\xFF'))}} << F([](auto& s) {
           return s.Options.NumChoices == 4 && s.Options.MaxPenaltyPoints == 3 &&
                  s.Options.WrongDelay == 0 && s.Options.LearntColour == 0x808080 &&
                  s.Options.PassiveFlags == 0x08FE && s.Options.AppendNewWords;
         });
  QTest::newRow("longer page setup gives the defaults")
      << QVariantMap{{"PageSetup", LE32({1, 2, 3, 4, 3, 1, 0})}}
      << F([](auto& s) { return s.PageSetup == TPageSetup{}; });
  QTest::newRow("page setup with four columns")
      << QVariantMap{{"PageSetup", LE32({1, 2, 3, 4, 4, 1})}}
      << F([](auto& s) { return s.PageSetup.Columns == 1 && s.PageSetup.MarginBottom == 4; });
  QTest::newRow("shorter print options")
      << QVariantMap{{"PrintOptions", QByteArray("\x00", 1)}} << F([](auto& s) {
           return !s.PrintOptions.PrintTitle && s.PrintOptions.PrintPageNumbers &&
                  s.PrintOptions.PrintFields == 0x0E;
         });
  QTest::newRow("window position of 15 bytes")
      << QVariantMap{{"WindowPosition", LE32({1, 2, 300, 400}).left(15)}}
      << F([](auto& s) { return !s.WindowPosition; });
  QTest::newRow("window position of 20 bytes")
      << QVariantMap{{"WindowPosition", LE32({1, 2, 300, 400, 5})}}
      << F([](auto& s) { return !s.WindowPosition; });
  QTest::newRow("window position turned inside out")
      << QVariantMap{{"WindowPosition", LE32({300, 2, 1, 400})}}
      << F([](auto& s) { return !s.WindowPosition; });
  QTest::newRow("window position far off any screen")
      << QVariantMap{{"WindowPosition", LE32({0, 0, 2000000000, 400})}}
      << F([](auto& s) { return !s.WindowPosition; });
  QTest::newRow("window position")
      << QVariantMap{{"WindowPosition", LE32({-5, 2, 300, 400})}}
      << F([](auto& s) { return s.WindowPosition == QRect(-5, 2, 305, 398); });
  QTest::newRow("second of three files missing")
      << QVariantMap{{"FileCount", 3}, {"File1", "/a.doz"}, {"File3", "/c.doz"}}
      << F([files](auto& s) {
           return files(s) == QStringList{"/a.doz", "/c.doz"};
         });
  QTest::newRow("empty file value")
      << QVariantMap{{"FileCount", 2}, {"File1", ""}, {"File2", "/b.doz"}}
      << F([files](auto& s) { return files(s) == QStringList{"/b.doz"}; });
  QTest::newRow("files beyond the count are not read")
      << QVariantMap{{"FileCount", 1}, {"File1", "/a.doz"}, {"File2", "/b.doz"}}
      << F([files](auto& s) { return files(s) == QStringList{"/a.doz"}; });
  QTest::newRow("negative file count") << QVariantMap{{"FileCount", -4}, {"File1", "/a.doz"}}
                                       << F([](auto& s) { return s.RecentFiles.Count() == 0; });
  QTest::newRow("huge file count")
      << QVariantMap{{"FileCount", 2147483647}, {"File1", "/a.doz"}, {"File2", "/b.doz"}}
      << F([files](auto& s) {
           return files(s) == QStringList{"/a.doz", "/b.doz"};
         });
  QVariantMap twelve{{"FileCount", 12}};
  for (int n = 1; n <= 12; ++n) twelve[QString("File%1").arg(n)] = QString("/f%1.doz").arg(n);
  QTest::newRow("twelve stored files raise the maximum") << twelve << F([](auto& s) {
    return s.RecentFiles.Count() == 12 && s.RecentFiles.MaxCount() == 12 &&
           s.RecentFiles.GetFile(0) == "/f1.doz" && s.RecentFiles.GetFile(11) == "/f12.doz";
  });
  QTest::newRow("the same file twice in other letter case")
      << QVariantMap{{"FileCount", 2}, {"File1", "/A.doz"}, {"File2", "/a.DOZ"}}
      << F([files](auto& s) { return files(s) == QStringList{"/A.doz"}; });
  QTest::newRow("integer that is not a number")
      << QVariantMap{{"NextTip", "many"}, {"ShowTips", "no"}}
      << F([](auto& s) { return s.NextTip == 0 && s.ShowTips; });
  QTest::newRow("integer stored as binary")
      << QVariantMap{{"ForeignLangID", QByteArray("\x07\x04", 2)}}
      << F([](auto& s) { return s.ForeignLangID == 0; });
  QTest::newRow("flags other than 0 and 1")
      << QVariantMap{{"ShowToolBar", 0}, {"ShowStatusBar", 5}, {"MultipleChoice", -1}}
      << F([](auto& s) { return !s.ShowToolBar && s.ShowStatusBar && s.MultipleChoice; });
  QTest::newRow("values out of their range")
      << QVariantMap{{"TestMode", 2},      {"NextTip", -3},    {"ForeignLangID", 70000},
                     {"NativeLangID", -1}, {"DisplaySize", 0}, {"PrintSize", 1000},
                     {"SpeechRate", 11}}
      << F([](auto& s) {
           return s.TestMode == 0 && s.NextTip == 0 && s.ForeignLangID == 0 &&
                  s.NativeLangID == DefaultUserLangID() && s.DisplayFont.Size == 8 &&
                  s.PrintFont.Size == 10 && s.Speech.Rate == kMaxSpeechRate;
         });
  QTest::newRow("an emptied sound stays off") << QVariantMap{{"Sound1", ""}} << F([](auto& s) {
    return s.RightSound.isEmpty() && s.WrongSound == DefaultSoundPath("Pow.wav");
  });
}

void TestRegUtils::damagedValuesFollowTheirRules() {
  QFETCH(QVariantMap, stored);
  QFETCH(std::function<bool(const TSettings&)>, holds);
  {
    QSettings raw(Path(), QSettings::IniFormat);
    raw.beginGroup("2");
    for (auto it = stored.begin(); it != stored.end(); ++it) raw.setValue(it.key(), it.value());
  }
  TSettingsStore store(Path());
  TSettings s;
  LoadSettings(store, s);
  QVERIFY(holds(s));
}

void TestRegUtils::minimisedOrMaximisedKeepsTheStoredPosition() {
  TSettings s = Changed();
  {
    TSettingsStore store(Path());
    SaveSettings(store, s);
    s.WindowPosition.reset();
    s.NextTip = 3;
    SaveSettings(store, s);
  }
  TSettingsStore store(Path());
  TSettings loaded;
  LoadSettings(store, loaded);
  QCOMPARE(loaded.WindowPosition, Changed().WindowPosition);
  QCOMPARE(loaded.NextTip, 3);
}

void TestRegUtils::fileValuesBeyondTheCountAreKeptButNotRead() {
  TSettings s;
  for (int n = 5; n >= 1; --n) s.RecentFiles.AddFile(QString("/f%1.doz").arg(n));
  {
    TSettingsStore store(Path());
    SaveSettings(store, s);
  }
  TSettings fewer;
  fewer.RecentFiles.AddFile("/g2.doz");
  fewer.RecentFiles.AddFile("/g1.doz");
  {
    TSettingsStore store(Path());
    SaveSettings(store, fewer);
  }
  QSettings raw(Path(), QSettings::IniFormat);
  QCOMPARE(raw.value("2/File5").toString(), QString("/f5.doz"));
  TSettingsStore store(Path());
  TSettings loaded;
  LoadSettings(store, loaded);
  QCOMPARE(loaded.RecentFiles.Files(), (QStringList{"/g1.doz", "/g2.doz"}));
}

void TestRegUtils::programStoreIsTheUsersNativeStore() {
  QStandardPaths::setTestModeEnabled(true);
  TSettingsStore store;
  QCOMPARE(store.Settings().format(), QSettings::NativeFormat);
  QCOMPARE(store.Settings().scope(), QSettings::UserScope);
  QCOMPARE(store.Settings().organizationName(), QString("Devizur"));
  QCOMPARE(store.Settings().applicationName(), QString("Dadezivu"));
  QCOMPARE(store.Settings().group(), QString("2"));
}

QTEST_MAIN(TestRegUtils)
#include "tst_regutils.moc"
