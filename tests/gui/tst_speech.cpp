// SPDX-License-Identifier: MIT
// Speaking in the main window: what is spoken in which language and when, the Speech page of the
// options, and one run through the real speech service.
#include <QCheckBox>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextToSpeech>
#include <QtTest>

#include "GuiTestSupport.h"
#include "app/MainFrm.h"
#include "controls/SblEdit.h"

namespace {

// A main window with a German-English file of one entry open in the list.
struct TForm {
  QTemporaryDir dir;
  TSettingsStore store{dir.filePath("settings.ini")};
  TMainForm form{&store};

  explicit TForm(TSpeechSettings speech = {}) {
    WriteVocabulary(dir.filePath("a.doz"), {{"(sich) waschen", "v", "", "wash/clean"}});
    form.Settings().Speech = speech;
    form.Settings().Options.WrongDelay = 0;
    if (!form.OpenFile(dir.filePath("a.doz"))) qFatal("sample not opened");
    form.SetViewMode(vmList);
  }
  bool Trigger(const char* name) {
    form.UpdateCommands();
    return TriggerAction(&form, name);
  }
  void Answer(const char* typed) {
    auto* response = form.findChild<TSymbolEdit*>("edtResponse");
    response->SetAnsiText(typed);
    QTest::keyClick(response, Qt::Key_Return);
  }
};

const TSpokenText kGerman{"sich waschen", "de_DE", 0};
const TSpokenText kEnglish{"wash, clean", "en_US", 0};

}  // namespace

class TestSpeech : public QObject {
  Q_OBJECT
private slots:
  void cleanup() { m_Unexpected.Verify(); }
  void commandsSpeakTheFieldOfTheirLanguage();
  void automaticSpeakingFollowsTheOptions();
  void withoutVoiceOrServiceTheCommandsSayWhy();
  void speechPageEditsTheSettingsAndTries();
  void speaksThroughTheRealService();

private:
  TUnexpectedModals m_Unexpected;
};

void TestSpeech::commandsSpeakTheFieldOfTheirLanguage() {
  TSpeechRecorder speech;
  TForm f;
  QVERIFY(f.Trigger("miTestSpeak") && !f.Trigger("miTestSpeakAnswer"));
  QCOMPARE(speech.Spoken, QList<TSpokenText>{kGerman});
  for (const bool intoNative : {true, false}) {
    speech.Spoken.clear();
    QVERIFY(f.Trigger(intoNative ? "miTestPassive" : "miTestActive"));
    QVERIFY(f.Trigger("miTestSpeak") && !f.Trigger("miTestSpeakAnswer"));
    f.Answer("wrong");
    QVERIFY(f.Trigger("miTestSpeakAnswer") && f.Trigger("miTestStartTesting"));
    QCOMPARE(speech.Spoken, (QList<TSpokenText>{intoNative ? kGerman : kEnglish,
                                                intoNative ? kEnglish : kGerman}));
  }
}

void TestSpeech::automaticSpeakingFollowsTheOptions() {
  const struct {
    TSpeechSettings Speech;
    const char* Typed;
    QList<TSpokenText> Spoken;
    QStringList Voices = {"de_DE", "en_US"};
  } cases[] = {
      {{false, false, 0}, "wrong", {}},
      {{true, false, 5}, "wrong", {{"sich waschen", "de_DE", 0.5}}},
      {{false, true, -10}, "wrong", {{"wash, clean", "en_US", -1}}},
      {{false, true, 0}, "wash", {}},  // a right answer is not repeated
      // No German voice: the question is not spoken, the answer by the British voice.
      {{true, true, 0}, "wrong", {kEnglish}, {"en_GB"}},
  };
  for (const auto& c : cases) {
    TSpeechRecorder speech(c.Voices);
    TForm f(c.Speech);
    QVERIFY(f.Trigger("miTestPassive"));
    f.Answer(c.Typed);
    QCOMPARE(speech.Spoken, c.Spoken);
  }
}

void TestSpeech::withoutVoiceOrServiceTheCommandsSayWhy() {
  TSpeechRecorder speech({"en_GB"});
  TForm f;
  QVERIFY(!f.Trigger("miTestSpeak"));
  QAction* speak = FindAction(&f.form, "miTestSpeak");
  QCOMPARE(speak->statusTip(), QString("No voice for German (Standard) is installed"));
  speech.Current = TSpeechEngine::ssUnavailable;
  QVERIFY(!f.Trigger("miTestSpeak"));
  QCOMPARE(speak->statusTip(), QString("Speech is not available: no speech service was found"));
}

void TestSpeech::speechPageEditsTheSettingsAndTries() {
  TSpeechRecorder speech;
  TForm f({false, true, 3});
  f.form.OptionsDialogRunner = [](TOptionsData& data) {
    TOptionsDialog dialog(nullptr, data, 0x0407);
    dialog.pcOptions->setCurrentIndex(TOptionsDialog::pgSpeech);
    dialog.chbSpeakQuestions->setChecked(true);
    dialog.trkSpeechRate->setValue(-7);
    QTest::mouseClick(dialog.btnTrySpeech, Qt::LeftButton);
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    return dialog.result() == QDialog::Accepted;
  };
  QVERIFY(f.Trigger("miViewOptions"));
  QCOMPARE(speech.Spoken, (QList<TSpokenText>{{"sich waschen", "de_DE", -0.7}}));
  QVERIFY(f.form.Settings().Speech == (TSpeechSettings{true, true, -7}));
}

// speech-dispatcher started for this test alone from a private configuration, whose one output
// module appends the language and the text it is given to a file.
void TestSpeech::speaksThroughTheRealService() {
  if (QStandardPaths::findExecutable("speech-dispatcher").isEmpty() ||
      !QFile::exists("/usr/lib/speech-dispatcher-modules/sd_generic") ||
      !QTextToSpeech::availableEngines().contains("speechd")) {
    QSKIP("speech-dispatcher (with its sd_generic module) or Qt's speechd plugin is not installed");
  }
  QTemporaryDir home;
  const QString config = home.filePath("speech-dispatcher/"), heard = home.filePath("heard");
  QVERIFY(QDir().mkpath(config + "modules") && QDir().mkpath(home.filePath("run")));
  const std::pair<QString, QString> files[] = {
      {"speechd.conf",
       "AddModule 'recorder' 'sd_generic' 'recorder.conf'\n"
       "DefaultModule 'recorder'\nAudioOutputMethod 'alsa'\n"
       "AudioALSADevice 'null'\nTimeout 2\n"},
      {"modules/recorder.conf", "GenericExecuteSynth 'echo \\'$LANGUAGE:$DATA\\' >> " + heard +
                                    "'\nAddVoice 'de' 'MALE1' 'de'\n"
                                    "GenericLanguage 'de' 'de' 'utf-8'\n"}};
  for (const auto& [name, text] : files) {  // ' stands for " in the texts above
    QFile file(config + name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QString(text).replace('\'', '"').toUtf8());
  }
  qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
  qputenv("XDG_RUNTIME_DIR", home.filePath("run").toUtf8());
  TSpeechEngine* const fake = SetSpeechEngine(nullptr);  // the real engine, for this test only
  const auto restore = qScopeGuard([fake] { SetSpeechEngine(fake); });

  TForm f;
  TSpeechEngine& engine = SpeechEngine();
  QCOMPARE(engine.State(), TSpeechEngine::ssIdle);  // not asked until needed
  QVERIFY(f.Trigger("miTestSpeak"));
  QTRY_COMPARE_WITH_TIMEOUT(engine.State(), TSpeechEngine::ssReady, 15000);
  QVERIFY(CanSpeak(engine, "de_AT") && !CanSpeak(engine, "en_US"));
  const auto heardText = [&] {
    QFile file(heard);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  };
  QTRY_COMPARE_WITH_TIMEOUT(heardText(), QByteArray("de:sich waschen\n"), 15000);
}

QTEST_MAIN(TestSpeech)
#include "tst_speech.moc"
