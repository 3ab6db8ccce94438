// SPDX-License-Identifier: MIT
// Tests of the main window: files, settings, start-up, caption and the idle-time update.
#include <QAbstractEventDispatcher>
#include <QAction>
#include <QFontDatabase>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>
#include <fstream>

#include "AnkiPackages.h"
#include "GuiTestSupport.h"
#include "app/MainFrm.h"
#include "app/StatusPanels.h"
#include "app/VocabGrid.h"
#include "dialogs/PropsDlg.h"
#include "platform/DlgUtils.h"
#include "platform/FileDialogs.h"
#include "settings/RegUtils.h"

namespace {
// The list of the main window, found as tests find every widget: by name.
TVocabGrid* Grid(const TMainForm& form) {
  return form.findChild<TVocabGrid*>("dgVocab");
}

void WriteWords(const QString& path, const std::vector<std::string>& words) {
  std::vector<TEntryTexts> entries;
  for (const auto& w : words) entries.push_back({w, "", "", ""});
  WriteVocabulary(path, entries);
}

// A main window whose settings live in a file of its own.
struct TForm {
  QTemporaryDir settingsDir;
  TSettingsStore store{settingsDir.filePath("settings.ini")};
  TMainForm form{&store};
};

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Makes the form look as if a file had been opened from disk.
void OpenSample(TMainForm& form, const QString& path) {
  WriteWords(path, {"Haus", "Baum"});
  QVERIFY(form.OpenFile(path));
  form.SetViewMode(vmList);
}
}  // namespace

class TestMainForm : public QObject {
  Q_OBJECT
private slots:
  // No test may wait on a real modal window: a box or file dialog that a test did not answer is
  // answered (OK, Cancel) and fails the test.
  void cleanup() { m_Unexpected.Verify(); }

  void startsWithTheEmptyWorkspace();
  void captionFollowsTheFile();
  void commandsNeedAFile();
  void openAdoptsOnlyAGoodFile();
  void querySaveAnswers();
  void yesOnANeverSavedVocabularyLeadsToSaveAs();
  void saveOfAReadOnlyFileTurnsIntoSaveAs();
  void commandLine();
  void closingAsksFirst();
  void errorsInCommandsAreShownAndAbandonTheCommand();
  void firstStartUsesTheDefaults();
  void settingsSurviveARestart();
  void twoCopiesKeepEachOthersRecentFiles();
  void startOpensTheNamedFileOrOffersTheStartUpDialog();
  void newKeepsTheChosenLanguages();
  void anotherAlphabetEmptiesTheSearchText();
  void openedFilesBecomeRecent();
  void saveAsWritesEveryType();
  void saveAsGivesANameTheTypesExtension();
  void anExportNeverReplacesTheVocabularysFile();
  void anIdleProgramDoesNotSpin();
  void theListShowsTheOpenFile();
  void fontCommandChangesTheList();
  void importMergesAndConvertsFiles();
  void screenshot();

private:
  TUnexpectedModals m_Unexpected;
};

void TestMainForm::startsWithTheEmptyWorkspace() {
  TForm fixture;
  TMainForm& form = fixture.form;
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QCOMPARE(form.windowTitle(), QString("Dadezivu"));
  QCOMPARE(form.ViewMode(), vmNone);
  auto* workspace = form.findChild<QWidget*>("pbWorkSpace");
  QVERIFY(workspace);
  QVERIFY(workspace->isVisible());

  // The inside shows the workspace colour; the border is drawn as a sunken edge.
  const QImage image = workspace->grab().toImage();
  const QColor inside = image.pixelColor(image.width() / 2, image.height() / 2);
  QCOMPARE(inside.rgb(), workspace->palette().color(QPalette::Dark).rgb());
  QVERIFY(image.pixelColor(image.width() - 1, image.height() - 1).rgb() != inside.rgb());
  for (const char* name : {"tbNew", "tbOpen", "tbSave", "miFileNew", "sbrStatusBar"}) {
    QVERIFY2(form.findChild<QObject*>(name), name);
  }
}

void TestMainForm::captionFollowsTheFile() {
  QTemporaryDir dir;
  TForm fixture;
  TMainForm& form = fixture.form;
  form.UpdateCommands();
  QCOMPARE(form.windowTitle(), QString("Dadezivu"));
  form.SetViewMode(vmList);
  form.UpdateCommands();
  QCOMPARE(form.windowTitle(), QString("Dadezivu - Untitled"));
  OpenSample(form, dir.filePath("words.doz"));
  form.UpdateCommands();
  QCOMPARE(form.windowTitle(), QString("Dadezivu - words.doz"));
}

void TestMainForm::commandsNeedAFile() {
  TForm fixture;
  TMainForm& form = fixture.form;
  form.UpdateCommands();
  QVERIFY(!FindAction(&form, "miFileSave")->isEnabled());
  QVERIFY(!FindAction(&form, "miFileSaveAs")->isEnabled());
  QVERIFY(!FindAction(&form, "miFileProperties")->isEnabled());
  QVERIFY(FindAction(&form, "miFileNew")->isEnabled());
  QVERIFY(FindAction(&form, "miFileOpen")->isEnabled());
  form.SetViewMode(vmList);
  form.UpdateCommands();
  QVERIFY(FindAction(&form, "miFileSave")->isEnabled());
  QVERIFY(FindAction(&form, "miFileProperties")->isEnabled());
}

void TestMainForm::openAdoptsOnlyAGoodFile() {
  QTemporaryDir dir;
  TForm fixture;
  TMainForm& form = fixture.form;
  OpenSample(form, dir.filePath("good.doz"));
  TVocabFile* before = &form.Vocab();
  QCOMPARE(before->Count(), 2);
  QCOMPARE(before->ItemIndex(), 0);

  const QString bad = dir.filePath("bad.doz");
  { std::ofstream(QFile::encodeName(bad).toStdString()) << "not a vocabulary"; }
  for (const QString& path : {bad, dir.filePath("missing.doz")}) {
    TMessageBoxes boxes;
    QVERIFY(!form.OpenFile(path));
    QCOMPARE(boxes.Shown.size(), 1);
    QCOMPARE(boxes.Shown[0].Style, kMbStop);
    QCOMPARE(&form.Vocab(), before);
    QCOMPARE(form.Vocab().Count(), 2);
  }
  TMessageBoxes boxes;
  QVERIFY(!form.OpenFile(bad));
  QCOMPARE(boxes.Shown[0].Message, QString("Invalid file format."));
}

void TestMainForm::querySaveAnswers() {
  QTemporaryDir dir;
  TForm fixture;
  TMainForm& form = fixture.form;
  QVERIFY2(form.QuerySave(), "nothing open");
  OpenSample(form, dir.filePath("words.doz"));
  QVERIFY2(form.QuerySave(), "nothing changed");

  form.Vocab().SetProperty(0, "changed");
  {
    TMessageBoxes boxes({kIdCancel});
    QVERIFY(!form.QuerySave());
    QCOMPARE(boxes.Shown[0].Message, QString("Save changes to words.doz?"));
    QCOMPARE(boxes.Shown[0].Style, kMbIconExclamation | kMbYesNoCancel);
  }
  {
    TMessageBoxes boxes({kIdNo});
    QVERIFY(form.QuerySave());
    QVERIFY(form.Vocab().Modified());
  }
  {
    TMessageBoxes boxes({kIdYes});
    QVERIFY(form.QuerySave());
    QVERIFY(!form.Vocab().Modified());
    TVocabFile reread;
    reread.LoadFromFile(QFile::encodeName(dir.filePath("words.doz")).toStdString());
    QCOMPARE(QString::fromStdString(reread.GetProperty(0)), QString("changed"));
  }
}

void TestMainForm::yesOnANeverSavedVocabularyLeadsToSaveAs() {
  QTemporaryDir dir;
  TForm fixture;
  TMainForm& form = fixture.form;
  form.SetViewMode(vmList);
  form.Vocab().SetProperty(0, "new");
  {
    TMessageBoxes boxes({kIdYes});
    TFileDialogAnswer cancel(SaveFileDialog, QString());
    QVERIFY2(!form.QuerySave(), "cancelling Save As cancels the whole command");
    QCOMPARE(cancel.Calls, 1);
    QCOMPARE(boxes.Shown[0].Message, QString("Save changes to Untitled?"));
  }
  TMessageBoxes boxes({kIdYes});
  const QString path = dir.filePath("new.doz");
  TFileDialogAnswer save(SaveFileDialog, path);
  QVERIFY(form.QuerySave());
  QCOMPARE(QString::fromStdString(form.Vocab().FileName()), path);
  QVERIFY(QFile::exists(path));
}

void TestMainForm::saveOfAReadOnlyFileTurnsIntoSaveAs() {
  QTemporaryDir dir;
  TForm fixture;
  TMainForm& form = fixture.form;
  const QString path = dir.filePath("locked.doz");
  OpenSample(form, path);
  QFile::setPermissions(path, QFileDevice::ReadOwner);
  TMessageBoxes boxes;
  TFileDialogAnswer cancel(SaveFileDialog, QString());
  TRIGGER_ACTION(&form, "miFileSave");
  QCOMPARE(boxes.Shown.size(), 1);
  QVERIFY(boxes.Shown[0].Message.endsWith(
      "locked.doz\nThis file is read-only. Please use a different file name."));
  QCOMPARE(cancel.Calls, 1);
  QCOMPARE(cancel.Request.FileName, QString("locked"));
  QCOMPARE(cancel.Request.InitialDir, dir.path());
  QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void TestMainForm::commandLine() {
  struct Case {
    QStringList arguments;
    QString path;
    bool print;
  } cases[] = {
      {{}, "", false},
      {{"words.doz"}, "words.doz", false},
      {{"/P", "words.doz"}, "words.doz", true},
      {{"/p"}, "/p", true},
      {{"words.doz", "other.doz"}, "words.doz", false},
  };
  for (const Case& c : cases) {
    QString path;
    bool print = false;
    TMainForm::ParseCommandLine(c.arguments, path, print);
    QCOMPARE(path, c.path);
    QCOMPARE(print, c.print);
  }
}

void TestMainForm::closingAsksFirst() {
  QTemporaryDir dir;
  TForm fixture;
  TMainForm& form = fixture.form;
  form.show();
  OpenSample(form, dir.filePath("words.doz"));
  form.Vocab().SetProperty(1, "me");
  {
    TMessageBoxes boxes({kIdCancel});
    QVERIFY(!form.close());
    QVERIFY(form.isVisible());
  }
  TMessageBoxes boxes({kIdNo});
  QVERIFY(form.close());
}

void TestMainForm::errorsInCommandsAreShownAndAbandonTheCommand() {
  QTemporaryDir dir;
  TForm fixture;
  TMainForm& form = fixture.form;
  OpenSample(form, dir.filePath("words.doz"));
  form.Vocab().GetItem(0).Values[0] = std::string(70000, 'x');
  form.Vocab().SetProperty(0, "changed");
  TMessageBoxes boxes;
  TRIGGER_ACTION(&form, "miFileSave");
  QCOMPARE(boxes.Shown.size(), 1);
  QCOMPARE(boxes.Shown[0].Style, kMbStop);
  QVERIFY(boxes.Shown[0].Message.contains("65,535"));
  QVERIFY(form.Vocab().Modified());
}

void TestMainForm::firstStartUsesTheDefaults() {
  TForm fixture;
  TMainForm& form = fixture.form;
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QVERIFY(form.findChild<QToolBar*>("tbrToolBar")->isVisible());
  QVERIFY(form.statusBar()->isVisible());
  QCOMPARE(form.RecentFiles().Count(), 0);
  QCOMPARE(form.Vocab().ForeignLangID(), 0);
  QVERIFY(!form.Vocab().Modified());
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  // Centred on the screen (within what the window manager adds around it).
  QVERIFY(qAbs(form.frameGeometry().center().x() - screen.center().x()) <= 4);
  QVERIFY(qAbs(form.frameGeometry().center().y() - screen.center().y()) <= 4);
}

void TestMainForm::settingsSurviveARestart() {
  QTemporaryDir settingsDir;
  const QString ini = settingsDir.filePath("settings.ini");
  {
    TSettingsStore store(ini);
    TMainForm form(&store);
    form.show();
    TRIGGER_ACTION(&form, "miViewToolBar");
    form.Vocab().SetForeignLangID(0x0419);
    form.setGeometry(50, 60, 500, 300);
    QVERIFY(form.close());
  }
  TSettingsStore store(ini);
  TMainForm form(&store);
  form.show();
  QVERIFY(!form.findChild<QToolBar*>("tbrToolBar")->isVisible());
  QVERIFY(form.statusBar()->isVisible());
  QCOMPARE(form.Vocab().ForeignLangID(), 0x0419);
  QVERIFY2(!form.Vocab().Modified(), "languages from the settings are no change");
  QCOMPARE(form.geometry(), QRect(50, 60, 500, 300));
}

void TestMainForm::twoCopiesKeepEachOthersRecentFiles() {
  QTemporaryDir dir;
  const QString ini = dir.filePath("settings.ini");
  const QString first = dir.filePath("first.doz"), second = dir.filePath("second.doz");
  WriteWords(first, {"eins"});
  WriteWords(second, {"zwei"});
  {
    TSettingsStore store1(ini), store2(ini);
    TMainForm form1(&store1), form2(&store2);
    QVERIFY(form1.OpenFile(first));
    QVERIFY(form2.OpenFile(second));
    QVERIFY(form1.close());
    QVERIFY(form2.close());
  }
  TSettingsStore store(ini);
  TMainForm form(&store);
  QCOMPARE(form.RecentFiles().Files(), QStringList({second, first}));
}

void TestMainForm::startOpensTheNamedFileOrOffersTheStartUpDialog() {
  QTemporaryDir dir;
  const QString path = dir.filePath("words.doz");
  WriteWords(path, {"eins", "zwei"});
  {
    TForm fixture;
    int offered = 0;
    fixture.form.WelcomeDialogRunner = [&](TWelcomeData&) { return ++offered, false; };
    QVERIFY(fixture.form.Start({path}));
    QCOMPARE(offered, 0);
    QCOMPARE(fixture.form.ViewMode(), vmList);
    QCOMPARE(fixture.form.Vocab().Count(), 2);
  }
  {
    TForm fixture;
    TMessageBoxes boxes;
    QVERIFY(!fixture.form.Start({dir.filePath("missing.doz")}));
    QCOMPARE(boxes.Shown.size(), 1);
    QVERIFY2(!fixture.form.Start({"/p"}), "\"/p\" alone is taken as the file name");
  }
  {
    TForm fixture;
    int offered = 0;
    fixture.form.TipsDialogRunner = [](TTipRequest&) { return true; };
    fixture.form.WelcomeDialogRunner = [&](TWelcomeData&) { return ++offered, false; };
    QVERIFY(fixture.form.Start({}));
    QCOMPARE(offered, 1);
    // A cancelled start-up dialog leaves the workspace.
    QCOMPARE(fixture.form.ViewMode(), vmNone);
  }
  {
    TForm fixture;
    fixture.form.TipsDialogRunner = [](TTipRequest&) { return true; };
    fixture.form.WelcomeDialogRunner = [&](TWelcomeData& data) {
      data.OpenExisting = true;
      data.FileName = path;
      return true;
    };
    QVERIFY(fixture.form.Start({}));
    QCOMPARE(fixture.form.ViewMode(), vmList);
    QCOMPARE(fixture.form.Vocab().Count(), 2);
  }
}

void TestMainForm::newKeepsTheChosenLanguages() {
  QTemporaryDir dir;
  TForm fixture;
  TMainForm& form = fixture.form;
  OpenSample(form, dir.filePath("words.doz"));
  bool sawNew = false;
  form.PropertiesDialogRunner = [&](TPropertiesData& data) {
    sawNew = data.IsNew && data.FileName.isEmpty() && data.Description.empty();
    data.ForeignLangID = 0x040C;
    data.NativeLangID = 0x0407;
    return true;
  };
  TRIGGER_ACTION(&form, "miFileNew");
  QVERIFY(sawNew);
  QCOMPARE(form.ViewMode(), vmList);
  QCOMPARE(form.Vocab().Count(), 0);
  QCOMPARE(form.Vocab().ForeignLangID(), 0x040C);
  QCOMPARE(form.Vocab().NativeLangID(), 0x0407);
  QCOMPARE(form.Vocab().FileName(), std::string());
  QVERIFY2(!form.Vocab().Modified(), "no texts entered");

  // Properties of an existing file: a cancelled dialog changes nothing.
  form.PropertiesDialogRunner = [&](TPropertiesData& data) {
    data.Description = "ignored";
    return false;
  };
  TRIGGER_ACTION(&form, "miFileProperties");
  QCOMPARE(form.Vocab().GetProperty(0), std::string());
}

// The search text's bytes would mean other letters in another character set.
void TestMainForm::anotherAlphabetEmptiesTheSearchText() {
  QTemporaryDir dir;
  TForm fixture;
  TMainForm& form = fixture.form;
  OpenSample(form, dir.filePath("words.doz"));
  form.SearchData().Text = "Haus";
  QVERIFY(form.OpenFile(dir.filePath("words.doz")));
  QCOMPARE(form.SearchData().Text, std::string("Haus"));  // the same alphabet keeps it
  TRIGGER_ACTION(&form, "miEditFind");
  form.PropertiesDialogRunner = [](TPropertiesData& data) {
    data.ForeignLangID = 0x0419;  // Russian
    return true;
  };
  TRIGGER_ACTION(&form, "miFileProperties");
  QCOMPARE(form.findChild<QLineEdit*>("edtFind")->text(), QString());
  form.SearchData().Text = "\xe4\xee\xec";
  QVERIFY(form.OpenFile(dir.filePath("words.doz")));
  form.UpdateCommands();
  QVERIFY(!FindAction(&form, "miEditFindNext")->isEnabled());
}

void TestMainForm::openedFilesBecomeRecent() {
  QTemporaryDir dir;
  TForm fixture;
  TMainForm& form = fixture.form;
  const QString first = dir.filePath("first.doz");
  const QString second = dir.filePath("second.doz");
  WriteWords(first, {"a"});
  WriteWords(second, {"b"});
  QVERIFY(form.OpenFile(first));
  QVERIFY(form.OpenFile(second));
  form.SetViewMode(vmList);
  QCOMPARE(form.RecentFiles().Files(), QStringList({second, first}));
  form.UpdateCommands();
  auto* item = form.findChild<QAction*>("miFileRecent2");
  QVERIFY(item);
  QVERIFY(item->isVisible());
  QVERIFY(item->text().startsWith("&2 "));
  TRIGGER_ACTION(&form, "miFileRecent2");
  QCOMPARE(form.Vocab().GetItem(0).Values[0], std::string("a"));

  // A failed open leaves the list alone.
  TMessageBoxes boxes;
  QVERIFY(!form.OpenFile(dir.filePath("missing.doz")));
  QCOMPARE(form.RecentFiles().Count(), 2);
}

// Only the vocabulary type takes the new name, the recent entry and the saved state.
void TestMainForm::saveAsWritesEveryType() {
  QTemporaryDir dir;
  TForm fixture;
  TMainForm& form = fixture.form;
  const QString original = dir.filePath("words.doz");
  OpenSample(form, original);
  form.Vocab().SetProperty(0, "Animals");
  const char* starts[] = {
      "\x0c"
      "Dadezivu 2.3",
      "{\\rtf1",
      "Haus,",
      "Haus\t",
      "\xff\xfe",
      "\xff\xfe",
      "<!DOCTYPE",
      "Haus,",
      "Haus\t"};
  for (int type = 9; type >= 1; --type) {
    const QString path = dir.filePath(QString("copy%1.out").arg(type));
    TFileDialogAnswer answer(SaveFileDialog, path, type);
    TRIGGER_ACTION(&form, "miFileSaveAs");
    QCOMPARE(answer.Request.FilterIndex, 1);
    QCOMPARE(answer.Request.FileName, QString("words"));
    QFile written(path);
    QVERIFY2(written.open(QIODevice::ReadOnly), qPrintable(path));
    const QByteArray start(starts[type - 1]);
    QVERIFY2(written.read(start.size()) == start, qPrintable(QString("type %1").arg(type)));
    form.UpdateCommands();
    if (type > 1) {
      QCOMPARE(QString::fromStdString(form.Vocab().FileName()), original);
      QVERIFY(form.Vocab().Modified());
      QCOMPARE(form.RecentFiles().Count(), 1);
      QCOMPARE(form.windowTitle(), QString("Dadezivu - words.doz"));
    } else {
      QCOMPARE(QString::fromStdString(form.Vocab().FileName()), path);
      QVERIFY(!form.Vocab().Modified());
      QCOMPARE(form.RecentFiles().GetFile(0), path);
      QCOMPARE(form.windowTitle(), QString("Dadezivu - copy1.out"));
    }
  }
}

// A name typed without an extension gets the chosen type's: "mytest" saved as Rich Text Format
// is mytest.rtf, and the vocabulary's mytest.doz stays as it was.
void TestMainForm::saveAsGivesANameTheTypesExtension() {
  QTemporaryDir dir;
  TForm fixture;
  TMainForm& form = fixture.form;
  const QString original = dir.filePath("mytest.doz");
  OpenSample(form, original);
  const QByteArray saved = ReadAll(original);
  const std::pair<int, const char*> types[] = {
      {2, "mytest.rtf"}, {3, "mytest.txt"}, {7, "mytest.htm"}, {9, "mytest.txt"}, {1, "new.doz"}};
  for (const auto& [type, written] : types) {
    const QString name = type == 1 ? "new" : "mytest";
    TFileDialogAnswer answer(SaveFileDialog, dir.filePath(name), type);
    TRIGGER_ACTION(&form, "miFileSaveAs");
    QVERIFY2(QFileInfo::exists(dir.filePath(written)), written);
    QVERIFY(!QFileInfo::exists(dir.filePath(name)));
  }
  QCOMPARE(ReadAll(original), saved);
  QCOMPARE(QString::fromStdString(form.Vocab().FileName()), dir.filePath("new.doz"));
}

// An export aimed at the open vocabulary's own file, by any name of it, is refused with a
// message: the file stays as it was, and so does the vocabulary's modified state.
void TestMainForm::anExportNeverReplacesTheVocabularysFile() {
  QTemporaryDir dir;
  TForm fixture;
  TMainForm& form = fixture.form;
  const QString original = dir.filePath("mytest.doz");
  OpenSample(form, original);
  form.Vocab().SetProperty(0, "changed");
  QVERIFY(form.Vocab().Modified());
  const QByteArray saved = ReadAll(original);
  QVERIFY(QFile::link(original, dir.filePath("link.doz")));
  for (const QString& target : {original, dir.filePath("link.doz"), dir.filePath("./mytest.doz")}) {
    for (int type = 2; type <= 9; ++type) {
      TFileDialogAnswer answer(SaveFileDialog, target, type);
      TMessageBoxes boxes;
      TRIGGER_ACTION(&form, "miFileSaveAs");
      QCOMPARE(boxes.Shown.size(), 1);
      QVERIFY2(boxes.Shown[0].Message.contains("holds the open vocabulary"),
               qPrintable(boxes.Shown[0].Message));
      QCOMPARE(boxes.Shown[0].Style, kMbError);
      QCOMPARE(ReadAll(original), saved);
      QVERIFY(form.Vocab().Modified());
    }
  }
  form.UpdateCommands();
  QCOMPARE(form.findChild<QLabel*>("sbrPanel5")->text(), QString("Modified"));
  // Saving as a vocabulary there is an ordinary save.
  TFileDialogAnswer answer(SaveFileDialog, original, 1);
  TRIGGER_ACTION(&form, "miFileSaveAs");
  QVERIFY(!form.Vocab().Modified());
  QVERIFY(ReadAll(original) != saved);
}

void TestMainForm::anIdleProgramDoesNotSpin() {
  QTemporaryDir dir;
  TForm fixture;
  TMainForm& form = fixture.form;
  form.show();
  OpenSample(form, dir.filePath("words.doz"));
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  int waits = 0;
  const auto counter = connect(QAbstractEventDispatcher::instance(),
                               &QAbstractEventDispatcher::aboutToBlock, [&] { ++waits; });
  QEventLoop loop;
  QTimer::singleShot(300, &loop, &QEventLoop::quit);
  loop.exec();
  disconnect(counter);
  // A loop woken by its own idle-time update would wait thousands of times.
  QVERIFY2(waits < 20, qPrintable(QString::number(waits)));
  QCOMPARE(form.windowTitle(), QString("Dadezivu - words.doz"));
}

void TestMainForm::theListShowsTheOpenFile() {
  QTemporaryDir dir;
  TForm fixture;
  TMainForm& form = fixture.form;
  form.show();
  auto* grid = form.findChild<TVocabGrid*>("dgVocab");
  QVERIFY(grid);
  QVERIFY(!grid->isVisible());
  OpenSample(form, dir.filePath("words.doz"));
  QVERIFY(grid->isVisible());
  QCOMPARE(grid->model()->rowCount(), 2);
  QCOMPARE(grid->currentIndex().row(), 0);
  QCOMPARE(form.focusWidget(), grid);
  form.UpdateCommands();
  QCOMPARE(form.findChild<QLabel*>("sbrPanel1")->text(), QString("De - En"));
  QCOMPARE(form.findChild<QLabel*>("sbrPanel2")->text(), QString("2"));

  // A new file shows its one blank row; the old vocabulary is gone from the list.
  form.PropertiesDialogRunner = [](TPropertiesData&) { return true; };
  TRIGGER_ACTION(&form, "miFileNew");
  QCOMPARE(grid->Vocabulary(), &form.Vocab());
  QCOMPARE(grid->model()->rowCount(), 1);
  form.UpdateCommands();
  QCOMPARE(form.findChild<QLabel*>("sbrPanel2")->text(), QString("0"));

  // Opening another file hands the list the new vocabulary before the old one goes.
  OpenSample(form, dir.filePath("second.doz"));
  QCOMPARE(grid->Vocabulary(), &form.Vocab());
  QCOMPARE(grid->model()->rowCount(), 2);
}

void TestMainForm::fontCommandChangesTheList() {
  TForm fixture;
  TMainForm& form = fixture.form;
  const QString face = QFontDatabase::families().value(0);
  QVERIFY(!face.isEmpty());
  form.FontDialogRunner = [&](TFontSetting& font) {
    font = {face, 20};
    return true;
  };
  const QLineEdit* edtFind = form.findChild<QLineEdit*>("edtFind");  // vocabulary text too
  QCOMPARE(edtFind->font().pointSize(), Grid(form)->DisplayFont().pointSize());
  const int before = Grid(form)->RowHeight();
  TRIGGER_ACTION(&form, "miViewFont");
  QCOMPARE(form.Settings().DisplayFont.Size, 20);
  QCOMPARE(Grid(form)->DisplayFont().pointSize(), 20);
  QCOMPARE(edtFind->font().family(), face);
  QCOMPARE(edtFind->font().pointSize(), 20);
  QVERIFY(Grid(form)->RowHeight() > before);
  form.FontDialogRunner = [&](TFontSetting& font) {
    font.Size = 8;
    return false;
  };
  TRIGGER_ACTION(&form, "miViewFont");
  QCOMPARE(form.Settings().DisplayFont.Size, 20);
}

void TestMainForm::importMergesAndConvertsFiles() {
  QTemporaryDir dir;
  TForm fixture;
  TMainForm& form = fixture.form;
  OpenSample(form, dir.filePath("words.doz"));
  const QString other = dir.filePath("other.doz");
  WriteWords(other, {"drei"});
  const QString text = dir.filePath("list.txt");
  {
    std::ofstream(QFile::encodeName(text).toStdString())
        << "word,translation\nvier,four\nfuenf,five\n";
  }
  TFileDialogAnswer chosen(OpenFileDialog, QString());
  form.UpdateCommands();
  QVERIFY(FindAction(&form, "miFileImport")->isEnabled());

  // A vocabulary file is merged without the dialog.
  chosen.Path = other;
  {
    TMessageBoxes boxes;
    TRIGGER_ACTION(&form, "miFileImport");
    QCOMPARE(boxes.Shown.size(), 1);
    QCOMPARE(boxes.Shown[0].Message, QString("1 items imported successfully."));
    QCOMPARE(boxes.Shown[0].Style, kMbNotice);
  }
  QCOMPARE(form.Vocab().Count(), 3);
  QCOMPARE(form.Vocab().ItemIndex(), 2);
  QCOMPARE(form.Vocab().UndoKind(), jkNone);

  // A text file goes through the dialog, which may skip the heading line.
  chosen.Path = text;
  int asked = 0;
  form.ConvertDialogRunner = [&](TImportRequest& request) {
    ++asked;
    request.FirstLine = 2;
    request.ColumnMap = {1, 0, 0, 2};
    return true;
  };
  {
    TMessageBoxes boxes;
    TRIGGER_ACTION(&form, "miFileImport");
    QCOMPARE(boxes.Shown.value(0).Message, QString("2 items imported successfully."));
  }
  QCOMPARE(asked, 1);
  QCOMPARE(form.Vocab().Count(), 5);
  QCOMPARE(form.Vocab().CurrentItem().Values[3], std::string("five"));

  // Nothing to import is an error; a cancelled dialog is nothing at all.
  form.ConvertDialogRunner = [&](TImportRequest& request) {
    request.FirstLine = 10;
    request.ColumnMap = {1, 0, 0, 2};
    return true;
  };
  {
    TMessageBoxes boxes;
    TRIGGER_ACTION(&form, "miFileImport");
    QCOMPARE(boxes.Shown.value(0).Message, QString("Nothing to import."));
    QCOMPARE(boxes.Shown.value(0).Style, kMbStop);
  }
  form.ConvertDialogRunner = [&](TImportRequest&) { return false; };
  {
    TMessageBoxes boxes;
    TRIGGER_ACTION(&form, "miFileImport");
    QCOMPARE(boxes.Shown.size(), 0);
  }
  QCOMPARE(form.Vocab().Count(), 5);

  // A KVTML file (of any letter case) is read without the dialog; one in other languages is
  // refused with the merge's message.
  chosen.Path = dir.filePath("other.KVTML");
  QVERIFY(QFile::copy(DADEZIVU_SOURCE_DIR "/tests/data/german-english.kvtml", chosen.Path));
  asked = 0;
  {
    TMessageBoxes boxes;
    TRIGGER_ACTION(&form, "miFileImport");
    QCOMPARE(boxes.Shown.value(0).Message, QString("4 items imported successfully."));
  }
  QCOMPARE(asked, 0);
  QCOMPARE(form.Vocab().Count(), 9);
  QCOMPARE(form.Vocab().CurrentItem().Values[0], std::string("die T\xFCr"));
  form.Vocab().SetNativeLangID(0x040C);
  {
    TMessageBoxes boxes;
    TRIGGER_ACTION(&form, "miFileImport");
    QCOMPARE(boxes.Shown.value(0).Message, QString("Languages are different."));
  }
  QCOMPARE(form.Vocab().Count(), 9);

  // An Anki package goes through the mapping dialog, which offers the suggestion first and then
  // what was confirmed for the note type; the import says what it left out.
  TTestCollection deck{{{1, "Basic", {"Front", "Back", "Extra"}}}, {{1, "Default"}}, {}, {}};
  deck.Notes = {{10, 1, {"Apfel", "apple", "<b>fruit</b>[sound:a.mp3]"}, {1}},
                {11, 1, {"Birne", "pear", ""}, {1}}};
  chosen.Path = dir.filePath("deck.APKG");
  std::ofstream(QFile::encodeName(chosen.Path).toStdString(), std::ios::binary)
      << AnkiPackageBytes(deck, TAnkiForm::Anki21b);
  QList<TAnkiFieldMap> offered;
  form.AnkiDialogRunner = [&](TAnkiMappingData& data) {
    offered << data.Maps.at(0);
    data.Maps[0] = {Foreign, Native, Notes};
    return offered.size() == 1;
  };
  {
    TMessageBoxes boxes;
    TRIGGER_ACTION(&form, "miFileImport");
    TRIGGER_ACTION(&form, "miFileImport");
    QCOMPARE(boxes.Messages(), QStringList{"2 items imported successfully.\n1 sound or image "
                                           "references of the package were left out."});
  }
  QCOMPARE(offered, (QList<TAnkiFieldMap>{{Foreign, Native, -1}, {Foreign, Native, Notes}}));
  QCOMPARE(form.Vocab().Count(), 11);
  QCOMPARE(form.Vocab().CurrentItem().Values, (TFieldValues{"Birne", "", "", "pear"}));
  QCOMPARE(form.Vocab().GetItem(9).Values[Notes], std::string("fruit"));
}

// Writes docs/screenshots/main-window.png when DADEZIVU_SCREENSHOTS names the folder.
void TestMainForm::screenshot() {
  const QString folder = qEnvironmentVariable("DADEZIVU_SCREENSHOTS");
  if (folder.isEmpty()) QSKIP("DADEZIVU_SCREENSHOTS not set");
  TForm fixture;
  TMainForm& form = fixture.form;
  form.resize(640, 420);
  form.show();
  QVERIFY(
      form.OpenFile(QStringLiteral(DADEZIVU_SOURCE_DIR "/resources/samples/German-English.doz")));
  form.SetViewMode(vmList);
  form.Vocab().SetItemIndex(2);
  Grid(form)->RefreshList();
  form.UpdateCommands();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QVERIFY(form.grab().save(folder + "/main-window.png"));
}

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
