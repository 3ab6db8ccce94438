// SPDX-License-Identifier: MIT
// Tests of the recovery copies: a program killed mid-session, started again, gets its changes
// back; copies of running programs are left alone; saving and discarding remove the copy.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "GuiTestSupport.h"
#include "app/MainFrm.h"
#include "app/Recovery.h"
#include "settings/RegUtils.h"

namespace {
std::string FilePath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

void WriteWords(const QString& path, const std::vector<std::string>& words) {
  std::vector<TEntryTexts> entries;
  for (const auto& w : words) entries.push_back({w, "", "", w});
  WriteVocabulary(path, entries);
}

// The answers' statistics, as "questions/correct: penalty,last ..." for comparison.
QString Statistics(const TVocabFile& v) {
  QString text = QString("%1/%2:").arg(v.QuestionCount()).arg(v.CorrectCount());
  for (const TVocabItem* item : v.Items()) {
    text += QString(" %1,%2").arg(item->PenaltyPoints).arg(item->LastAsked);
  }
  return text;
}

void AddWord(TVocabFile& v, const std::string& word) {
  v.EditItem().Values = {word, "", "", word};
  v.AddItem(2);
}

// Kills the child however the test ends.
struct TChild {
  QProcess Process;
  ~TChild() {
    if (Process.state() != QProcess::NotRunning) {
      Process.kill();
      Process.waitForFinished(10000);
    }
  }
};

QStringList CopiesIn(const QString& folder) {
  return QDir(folder).entryList({"*.doz"}, QDir::Files);
}

// The child program: a main window that opens the file named (or starts untitled), answers 20
// questions as a test run does, prints its statistics once the copy is on disk, and then waits
// to be killed.
int RunChild(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const QString path = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
  QTemporaryDir settingsDir;
  TSettingsStore store(settingsDir.filePath("settings.ini"));
  TMainForm form(&store);
  if (!path.isEmpty()) {
    if (!form.OpenFile(path)) return 2;
  } else {
    form.Vocab().SetForeignLangID(0x0407);
    form.Vocab().SetNativeLangID(0x0409);
    for (const char* word : {"eins", "zwei", "drei"}) AddWord(form.Vocab(), word);
  }
  form.SetViewMode(vmList);
  TVocabFile& vocab = form.Vocab();
  // Mostly wrong answers, so that no entry becomes learnt and the run goes on.
  for (int answers = 0, i = 0; answers < TRecovery::kAnswersPerCopy; ++i) {
    vocab.SetItemIndex(i % vocab.Count());
    vocab.RecordAnswer(vocab.CurrentItem().PenaltyPoints > 1, 3);
    form.Recovery().AnswerGiven();
    ++answers;
  }
  if (!form.Recovery().Store().Flush()) return 3;
  std::cout << Statistics(vocab).toStdString() << std::endl;
  return app.exec();
}
}  // namespace

class TestRecovery : public QObject {
  Q_OBJECT
private slots:
  void init();
  void cleanup() { m_Unexpected.Verify(); }

  void aKilledProgramsAnswersAreRestoredWithItsFile();
  void aKilledProgramsUntitledVocabularyIsRestoredAtStartUp();
  void noDeletesTheCopyAndOpensTheFile();
  void theTimerWritesWhileModifiedAndSavingRemoves();

private:
  // Starts the child on path (empty: untitled) and returns its statistics once its copy is
  // written; the child keeps running.
  QString StartChild(QProcess& child, const QString& path);
  static void Kill(QProcess& child);

  TUnexpectedModals m_Unexpected;
  std::unique_ptr<QTemporaryDir> m_Dir;
  QString m_Folder;  // where the copies go
};

void TestRecovery::init() {
  m_Dir = std::make_unique<QTemporaryDir>();
  // The data folder of this process and of its children.
  qputenv("XDG_DATA_HOME", QFile::encodeName(m_Dir->filePath("data")));
  m_Folder = TRecovery::DefaultFolder();
  QVERIFY(m_Folder.startsWith(m_Dir->path()));
}

QString TestRecovery::StartChild(QProcess& child, const QString& path) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_DATA_HOME", m_Dir->filePath("data"));
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  child.setProcessEnvironment(environment);
  child.start(QCoreApplication::applicationFilePath(), {"child", "--", path});
  if (!child.waitForReadyRead(60000)) return "child failed: " + child.readAllStandardError();
  return QString::fromUtf8(child.readLine()).trimmed();
}

void TestRecovery::Kill(QProcess& child) {
  child.kill();  // SIGKILL: no handler, no clean-up
  child.waitForFinished(10000);
}

void TestRecovery::aKilledProgramsAnswersAreRestoredWithItsFile() {
  const QString path = m_Dir->filePath("words.doz");
  WriteWords(path, {"Haus", "Baum", "Hund", "Katze"});
  std::filesystem::last_write_time(
      FilePath(path), std::filesystem::file_time_type::clock::now() - std::chrono::minutes(5));
  TChild child;
  const QString statistics = StartChild(child.Process, path);
  QVERIFY2(statistics.startsWith("20/"), qPrintable(statistics));
  QCOMPARE(CopiesIn(m_Folder).size(), 1);
  // While the child runs, its copy is not offered to another program.
  {
    QTemporaryDir settingsDir;
    TSettingsStore store(settingsDir.filePath("settings.ini"));
    TMainForm form(&store);
    QVERIFY(form.OpenFile(path));
    QCOMPARE(form.Vocab().QuestionCount(), 0);
  }
  Kill(child.Process);

  QTemporaryDir settingsDir;
  TSettingsStore store(settingsDir.filePath("settings.ini"));
  TMainForm form(&store);
  TMessageBoxes boxes({kIdYes});
  QVERIFY(form.Start({path}));
  QCOMPARE(boxes.Shown.size(), 1);
  QVERIFY2(boxes.Shown[0].Message.startsWith("Unsaved changes to words.doz were recovered from "),
           qPrintable(boxes.Shown[0].Message));
  QVERIFY(boxes.Shown[0].Message.endsWith(". Restore them?"));
  QCOMPARE(boxes.Shown[0].Style, kMbQuestion);
  QCOMPARE(Statistics(form.Vocab()), statistics);
  QVERIFY(form.Vocab().Modified());
  QCOMPARE(QFile::decodeName(form.Vocab().FileName().c_str()), path);
  QCOMPARE(form.ViewMode(), vmList);
  // The restored changes are this program's copy now; the dead one's is gone.
  QVERIFY(form.Recovery().Store().Flush());
  QCOMPARE(CopiesIn(m_Folder).size(), 1);

  TFileDialogAnswer saveAs(SaveFileDialog, QString());
  QVERIFY(TriggerAction(&form, "miFileSave"));
  QCOMPARE(saveAs.Calls, 0);
  QVERIFY(!form.Vocab().Modified());
  QVERIFY(CopiesIn(m_Folder).isEmpty());
  TVocabFile saved;
  saved.LoadFromFile(FilePath(path));
  QCOMPARE(Statistics(saved), statistics);
}

void TestRecovery::aKilledProgramsUntitledVocabularyIsRestoredAtStartUp() {
  TChild child;
  const QString statistics = StartChild(child.Process, QString());
  QVERIFY2(statistics.startsWith("20/"), qPrintable(statistics));
  Kill(child.Process);

  QTemporaryDir settingsDir;
  TSettingsStore store(settingsDir.filePath("settings.ini"));
  TMainForm form(&store);
  TMessageBoxes boxes({kIdYes});
  QVERIFY(form.Start({}));
  QCOMPARE(boxes.Shown.size(), 1);
  QVERIFY(boxes.Shown[0].Message.startsWith("Unsaved changes to Untitled were recovered from "));
  QCOMPARE(Statistics(form.Vocab()), statistics);
  QCOMPARE(form.Vocab().Count(), 3);
  QCOMPARE(form.Vocab().FileName(), std::string());
  QVERIFY(form.Vocab().Modified());
  QCOMPARE(form.ViewMode(), vmList);
  // Discarding the changes removes the copy.
  TMessageBoxes no({kIdNo});
  QVERIFY(form.QuerySave());
  QVERIFY(CopiesIn(m_Folder).isEmpty());
}

void TestRecovery::noDeletesTheCopyAndOpensTheFile() {
  const QString path = m_Dir->filePath("words.doz");
  WriteWords(path, {"Haus", "Baum"});
  std::filesystem::last_write_time(
      FilePath(path), std::filesystem::file_time_type::clock::now() - std::chrono::minutes(5));
  {
    // A window that goes without closing leaves its copy, as a crash does.
    QTemporaryDir settingsDir;
    TSettingsStore store(settingsDir.filePath("settings.ini"));
    TMainForm form(&store);
    QVERIFY(form.OpenFile(path));
    AddWord(form.Vocab(), "neu");
    form.Recovery().WriteNow();
    QVERIFY(form.Recovery().Store().Flush());
  }
  QCOMPARE(CopiesIn(m_Folder).size(), 1);
  QTemporaryDir settingsDir;
  TSettingsStore store(settingsDir.filePath("settings.ini"));
  TMainForm form(&store);
  TMessageBoxes boxes({kIdNo});
  QVERIFY(form.OpenFile(path));
  QCOMPARE(boxes.Shown.size(), 1);
  QCOMPARE(form.Vocab().Count(), 2);
  QVERIFY(!form.Vocab().Modified());
  QVERIFY(CopiesIn(m_Folder).isEmpty());
}

void TestRecovery::theTimerWritesWhileModifiedAndSavingRemoves() {
  const QString path = m_Dir->filePath("words.doz");
  WriteWords(path, {"Haus"});
  QTemporaryDir settingsDir;
  TSettingsStore store(settingsDir.filePath("settings.ini"));
  TMainForm form(&store);
  QVERIFY(form.OpenFile(path));
  form.SetViewMode(vmList);
  form.Recovery().SetInterval(20);
  QTest::qWait(100);
  QVERIFY(CopiesIn(m_Folder).isEmpty());  // nothing to keep while unmodified
  AddWord(form.Vocab(), "neu");
  QTRY_COMPARE(CopiesIn(m_Folder).size(), 1);
  TFileDialogAnswer saveAs(SaveFileDialog, QString());
  QVERIFY(TriggerAction(&form, "miFileSave"));
  QVERIFY(CopiesIn(m_Folder).isEmpty());
  QTest::qWait(100);
  QVERIFY(CopiesIn(m_Folder).isEmpty());
}

int main(int argc, char* argv[]) {
  if (argc > 1 && std::strcmp(argv[1], "child") == 0) return RunChild(argc, argv);
  QApplication app(argc, argv);
  TestRecovery test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
