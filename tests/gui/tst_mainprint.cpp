// SPDX-License-Identifier: MIT
// Tests of the print commands of the main window and of printing from the command line.
#include <QAction>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <sstream>

#include "GuiTestSupport.h"
#include "PdfFiles.h"
#include "app/MainFrm.h"
#include "app/VocabGrid.h"
#include "print/PrinterCanvas.h"
#include "settings/RegUtils.h"

namespace {
const QString kSample = QStringLiteral(DADEZIVU_SOURCE_DIR "/resources/samples/German-English.doz");

void WriteWords(const QString& path, int count) {
  std::vector<TEntryTexts> entries;
  for (int i = 1; i <= count; ++i) {
    entries.push_back({"Wort" + std::to_string(i), "n", "", "word " + std::to_string(i)});
  }
  WriteVocabulary(path, entries);
}

// A main window whose settings live in a file of its own, with only the PDF file to print on.
struct TForm {
  explicit TForm(QStringList printers = {PdfPrinterName()})
      : printersSeam(InstalledPrinters, [printers] { return printers; }) {}
  TScopedSeam<std::function<QStringList()>> printersSeam;
  QTemporaryDir dir;
  TSettingsStore store{dir.filePath("settings.ini")};
  TMainForm form{&store};

  // Opens a copy of the file in the form's folder, so that printing may write beside it.
  bool Open(const QString& source) {
    const QString copy = dir.filePath(QFileInfo(source).fileName());
    QFile::remove(copy);
    if (!QFile::copy(source, copy) || !form.OpenFile(copy)) return false;
    form.SetViewMode(vmList);
    form.UpdateCommands();
    return true;
  }
};
}  // namespace

class TestMainPrint : public QObject {
  Q_OBJECT
private slots:
  void cleanup() { m_Unexpected.Verify(); }

  void commandsStandInTheFileMenuAndTheToolBar();
  void noPrinterStopsBeforeTheOptionsDialog();
  void printWritesThePdfTheUserNames();
  void printProposesTheFileNamedInSetup();
  void cancelledOptionsPrintNothingButKeepTheFont();
  void toolButtonPrintsAtOnceWithTheStoredOptions();
  void windowIsDisabledWhilePrintingAndRestoredOnFailure();
  void pageSetupStoresOnlyOnOk();
  void previewDrawsWhatPrintWould();
  void commandLinePrintWritesAPdfBesideTheFile();
  void commandLinePrintNeverReplacesAFile();
  void commandLinePrintReportsFailures();
  void failedPdfWriteIsReported();
  void programPrintsFromItsCommandLine();
  void printedPdfHoldsTheWordList();

private:
  TUnexpectedModals m_Unexpected;
};

void TestMainPrint::commandsStandInTheFileMenuAndTheToolBar() {
  TForm t;
  auto* menu = t.form.findChild<QMenu*>("miFile");
  QVERIFY(menu);
  QStringList names;
  for (const QAction* action : menu->actions()) {
    names << (action->isSeparator() ? QString("-") : action->objectName());
  }
  const QString order = names.join(' ');
  QVERIFY2(order.contains("miFileProperties - miFilePrint miFilePrintPreview miFilePageSetup -"),
           qPrintable(order));
  QAction* print = FindAction(&t.form, "miFilePrint");
  QCOMPARE(print->text(), QString("&Print..."));
  QCOMPARE(print->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
  QCOMPARE(FindAction(&t.form, "miFilePrintPreview")->text(), QString("Print Pre&view..."));
  QVERIFY(FindAction(&t.form, "miFilePrintPreview")->shortcut().isEmpty());
  QCOMPARE(FindAction(&t.form, "miFilePageSetup")->text(), QString("Page S&etup..."));

  auto* toolBar = t.form.findChild<QToolBar*>("tbrToolBar");
  auto* button = toolBar->findChild<QToolButton*>("tbPrint");
  QVERIFY(button);
  const QList<QAction*> actions = toolBar->actions();
  QCOMPARE(actions.indexOf(button->defaultAction()),
           actions.indexOf(FindAction(&t.form, "miFileSave")) + 1);
  QCOMPARE(button->toolTip(), QString("Print - Ctrl+P"));

  // Printing needs an open file; Page Setup does not.
  t.form.UpdateCommands();
  for (const char* name : {"miFilePrint", "miFilePrintPreview", "tbPrintAction"}) {
    QVERIFY2(!FindAction(&t.form, name)->isEnabled(), name);
  }
  QVERIFY(FindAction(&t.form, "miFilePageSetup")->isEnabled());
  QVERIFY(t.Open(kSample));
  for (const char* name : {"miFilePrint", "miFilePrintPreview", "tbPrintAction"}) {
    QVERIFY2(FindAction(&t.form, name)->isEnabled(), name);
  }
}

void TestMainPrint::noPrinterStopsBeforeTheOptionsDialog() {
  TForm t{QStringList()};
  QVERIFY(t.Open(kSample));
  int dialogs = 0;
  t.form.PrintOptionsDialogRunner = [&](TPrintOptionsData&) { return ++dialogs, true; };
  int runs = 0;
  t.form.PrintRunner = [&](QPrinter&, const TPrintJob&) { ++runs; };
  t.form.PrintPreviewRunner = [&](QPrinter&, const std::function<void(QPrinter&)>&) { ++runs; };
  for (const char* command : {"miFilePrint", "tbPrintAction", "miFilePrintPreview"}) {
    TMessageBoxes boxes;
    TRIGGER_ACTION(&t.form, command);
    QCOMPARE(boxes.Messages(), QStringList{"No printer installed."});
    QCOMPARE(boxes.Shown[0].Style, kMbStop);
  }
  QCOMPARE(dialogs, 0);
  QCOMPARE(runs, 0);
}

void TestMainPrint::printWritesThePdfTheUserNames() {
  TForm t;
  QVERIFY(t.Open(kSample));
  QList<TPrintOptionsData> offered;
  t.form.PrintOptionsDialogRunner = [&](TPrintOptionsData& data) {
    offered << data;
    data.Options.PrintFields = kPrintCategory;  // no translations
    data.Copies = 2;
    return true;
  };
  const QString chosen = t.dir.filePath("list");  // the type's extension is added
  TFileDialogAnswer save(SaveFileDialog, chosen);
  TRIGGER_ACTION(&t.form, "miFilePrint");
  QCOMPARE(offered.size(), 1);
  QCOMPARE(offered[0].Options, TPrintOptions{});
  QCOMPARE(offered[0].Copies, 1);
  QCOMPARE(offered[0].Printer, &t.form.Printer());
  QCOMPARE(save.Calls, 1);
  QCOMPARE(save.Request.FileName, QString("German-English.pdf"));
  QCOMPARE(QDir(save.Request.InitialDir), QDir(t.dir.path()));
  QCOMPARE(save.Request.DefaultExt, QString("pdf"));
  // The options and the copy count are kept for the next run.
  QCOMPARE(t.form.Settings().PrintOptions.PrintFields, kPrintCategory);
  QCOMPARE(t.form.Printer().Copies(), 2);
  // Writing a PDF makes no copies itself: the word list comes twice, each on a page of its own.
  QCOMPARE(PdfPageCount(chosen + ".pdf"), 2);

  // Cancelling the Save dialog prints nothing.
  QFile::remove(chosen + ".pdf");
  save.Path.clear();
  TRIGGER_ACTION(&t.form, "miFilePrint");
  QCOMPARE(save.Calls, 2);
  QVERIFY(!QFile::exists(chosen + ".pdf"));

  // The open vocabulary's own file is no place for its PDF.
  const QString vocabFile = t.dir.filePath("German-English.doz");
  const QByteArray bytes = [&] {
    QFile file(vocabFile);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }();
  save.Path = vocabFile;
  save.FilterIndex = 2;
  TMessageBoxes boxes;
  TRIGGER_ACTION(&t.form, "miFilePrint");
  QCOMPARE(boxes.Messages(), QStringList{"The PDF file would replace the vocabulary file."});
  QFile file(vocabFile);
  QVERIFY(file.open(QIODevice::ReadOnly));
  QCOMPARE(file.readAll(), bytes);
}

void TestMainPrint::printProposesTheFileNamedInSetup() {
  TForm t;
  QVERIFY(t.Open(kSample));
  QVERIFY(QDir(t.dir.path()).mkdir("out"));
  const QString named = t.dir.filePath("out/named.pdf");
  QString offered;
  TScopedSeam setup(PrinterSetupDialog, [&](QWidget*, QPrinter& printer) {
    offered = printer.outputFileName();
    if (offered.isEmpty()) printer.setOutputFileName(named);
    return true;
  });
  t.form.PrintOptionsDialogRunner = [](TPrintOptionsData& data) {
    return data.Printer->Setup(nullptr);
  };
  TFileDialogAnswer save(SaveFileDialog, t.dir.filePath("printed.pdf"));
  TRIGGER_ACTION(&t.form, "miFilePrint");
  QCOMPARE(save.Request.FileName, QString("named.pdf"));
  QCOMPARE(QDir(save.Request.InitialDir), QDir(t.dir.filePath("out")));
  QVERIFY(PdfPageCount(t.dir.filePath("printed.pdf")) > 0);

  // Setup shows the file printed last; taken unchanged, the name chosen before still counts.
  TRIGGER_ACTION(&t.form, "miFilePrint");
  QCOMPARE(offered, t.dir.filePath("printed.pdf"));
  QCOMPARE(save.Calls, 2);
  QCOMPARE(save.Request.FileName, QString("named.pdf"));
}

void TestMainPrint::cancelledOptionsPrintNothingButKeepTheFont() {
  TForm t;
  QVERIFY(t.Open(kSample));
  t.form.PrintOptionsDialogRunner = [&](TPrintOptionsData& data) {
    data.Font = {"DejaVu Sans", 12};
    data.Options.PrintTitle = false;
    data.Copies = 9;
    return false;
  };
  int runs = 0;
  t.form.PrintRunner = [&](QPrinter&, const TPrintJob&) { ++runs; };
  TRIGGER_ACTION(&t.form, "miFilePrint");
  QCOMPARE(runs, 0);
  QCOMPARE(t.form.Settings().PrintFont, (TFontSetting{"DejaVu Sans", 12}));
  QCOMPARE(t.form.Settings().PrintOptions, TPrintOptions{});
  QCOMPARE(t.form.Printer().Copies(), 1);
}

void TestMainPrint::toolButtonPrintsAtOnceWithTheStoredOptions() {
  TForm t({"Office", PdfPrinterName()});
  QVERIFY(t.Open(kSample));
  t.form.Settings().PrintOptions = {false, true, kPrintNotes};
  t.form.Settings().PageSetup.Columns = 3;
  t.form.Settings().PrintFont = {"DejaVu Serif", 11};
  QList<TPrintJob> jobs;
  t.form.PrintRunner = [&](QPrinter&, const TPrintJob& job) { jobs << job; };
  // A system printer needs no file name: nothing is asked before the run (an unexpected Save
  // dialog fails the test).
  TRIGGER_ACTION(&t.form, "tbPrintAction");
  QCOMPARE(t.form.Printer().Name(), QString("Office"));
  QCOMPARE(jobs.size(), 1);
  QCOMPARE(jobs[0].Options, t.form.Settings().PrintOptions);
  QCOMPARE(jobs[0].PageSetup.Columns, 3);
  QCOMPARE(jobs[0].FontName, std::string("DejaVu Serif"));
  QCOMPARE(jobs[0].FontSize, 11);
  QCOMPARE(QString::fromStdU16String(jobs[0].JobName), QString("Dadezivu - German-English.doz"));
  QCOMPARE(QString::fromStdU16String(jobs[0].FileBaseName), QString("German-English"));
}

void TestMainPrint::windowIsDisabledWhilePrintingAndRestoredOnFailure() {
  TForm t;
  QVERIFY(t.Open(kSample));
  t.form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&t.form));
  TVocabGrid* grid = t.form.findChild<TVocabGrid*>("dgVocab");
  const int item = t.form.Vocab().ItemIndex();
  bool enabledWhilePrinting = true;
  Qt::CursorShape cursor = Qt::ArrowCursor;
  t.form.PrintRunner = [&](QPrinter&, const TPrintJob&) {
    enabledWhilePrinting = t.form.isEnabled();
    if (const QCursor* shown = QGuiApplication::overrideCursor()) cursor = shown->shape();
    // No key reaches any window meanwhile: Down would move to the next entry.
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(&t.form, Qt::Key_P, Qt::ControlModifier);
    throw std::runtime_error("Paper jam");
  };
  TFileDialogAnswer save(SaveFileDialog, t.dir.filePath("out.pdf"));
  TMessageBoxes boxes;
  TRIGGER_ACTION(&t.form, "tbPrintAction");
  QVERIFY(!enabledWhilePrinting);
  QCOMPARE(cursor, Qt::WaitCursor);
  QCOMPARE(t.form.Vocab().ItemIndex(), item);
  QCOMPARE(boxes.Messages(), QStringList{"Paper jam"});
  QVERIFY(t.form.isEnabled());
  QVERIFY(!QGuiApplication::overrideCursor());
  QCOMPARE(save.Calls, 1);  // Ctrl+P never reached the menu

  // The real run refusing the margins does the same, and writes no file.
  t.form.PrintRunner = nullptr;
  t.form.Settings().PageSetup.MarginLeft = 99 * 1440;
  TRIGGER_ACTION(&t.form, "tbPrintAction");
  QCOMPARE(boxes.Messages().last(), QString("Margins too large for paper."));
  QVERIFY(t.form.isEnabled());
  QVERIFY(!QGuiApplication::overrideCursor());
  QVERIFY(!QFile::exists(t.dir.filePath("out.pdf")));
  // Keys work again afterwards.
  grid->setFocus();
  QTest::keyClick(grid, Qt::Key_Down);
  QCOMPARE(t.form.Vocab().ItemIndex(), item + 1);
}

void TestMainPrint::pageSetupStoresOnlyOnOk() {
  TForm t;
  for (const bool ok : {false, true}) {
    QList<TPageSetup> offered;
    t.form.PageSetupDialogRunner = [&](TPageSetup& setup) {
      offered << setup;
      setup.Columns = 1;
      setup.MarginTop = 720;
      return ok;
    };
    TRIGGER_ACTION(&t.form, "miFilePageSetup");
    QCOMPARE(offered, QList<TPageSetup>{TPageSetup{}});
    QCOMPARE(t.form.Settings().PageSetup.Columns, ok ? 1 : 2);
    QCOMPARE(t.form.Settings().PageSetup.MarginTop, ok ? 720 : 1440);
  }
}

void TestMainPrint::previewDrawsWhatPrintWould() {
  TForm t;
  const QString source = t.dir.filePath("long.doz");
  WriteWords(source, 400);
  QVERIFY(t.form.OpenFile(source));
  t.form.SetViewMode(vmList);
  t.form.UpdateCommands();
  t.form.Settings().PageSetup.Columns = 3;
  t.form.Printer().SetCopies(2);

  TFileDialogAnswer save(SaveFileDialog, t.dir.filePath("printed.pdf"));
  TRIGGER_ACTION(&t.form, "tbPrintAction");
  const int printed = PdfPageCount(t.dir.filePath("printed.pdf"));
  QVERIFY2(printed > 2, qPrintable(QString::number(printed)));

  // The preview paints on the printer's own set-up; here its pages go into a file too.
  int previews = 0;
  t.form.PrintPreviewRunner = [&](QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
    ++previews;
    QVERIFY(printer.fullPage());
    QCOMPARE(printer.copyCount(), 2);
    printer.setOutputFileName(t.dir.filePath("preview.pdf"));
    paint(printer);
  };
  TRIGGER_ACTION(&t.form, "miFilePrintPreview");
  QCOMPARE(previews, 1);
  QCOMPARE(save.Calls, 1);  // the preview asks for no file
  QCOMPARE(PdfPageCount(t.dir.filePath("preview.pdf")), printed);
  const QString text = PdfText(t.dir.filePath("printed.pdf"));
  if (!text.isEmpty()) QCOMPARE(PdfText(t.dir.filePath("preview.pdf")), text);
}

void TestMainPrint::commandLinePrintWritesAPdfBesideTheFile() {
  TForm t;
  const QString source = t.dir.filePath("words.doz");
  WriteWords(source, 300);
  std::ostringstream out, err;
  QCOMPARE(t.form.PrintFromCommandLine(source, out, err), 0);
  const QString pdf = t.dir.filePath("words.pdf");
  QCOMPARE(QString::fromStdString(out.str()), "Printed to " + QDir::toNativeSeparators(pdf) + "\n");
  QCOMPARE(err.str(), std::string());
  QVERIFY(PdfPageCount(pdf) >= 2);
  QVERIFY(!t.form.isVisible());
}

void TestMainPrint::commandLinePrintNeverReplacesAFile() {
  TForm t;
  const QString source = t.dir.filePath("words.doz");
  WriteWords(source, 3);
  QFile old(t.dir.filePath("words.pdf"));
  QVERIFY(old.open(QIODevice::WriteOnly));
  old.write("keep me");
  old.close();
  // An existing PDF stays; the next free name is taken and named.
  for (const char* expected : {"words (2).pdf", "words (3).pdf"}) {
    std::ostringstream out, err;
    QCOMPARE(t.form.PrintFromCommandLine(source, out, err), 0);
    const QString pdf = t.dir.filePath(expected);
    QCOMPARE(QString::fromStdString(out.str()),
             "Printed to " + QDir::toNativeSeparators(pdf) + "\n");
    QCOMPARE(PdfPageCount(pdf), 1);
  }
  QVERIFY(old.open(QIODevice::ReadOnly));
  QCOMPARE(old.readAll(), QByteArray("keep me"));
  old.close();

  // A vocabulary file named like its PDF would be overwritten by it: that is refused, also when
  // the path takes a detour.
  QVERIFY(QDir(t.dir.path()).mkdir("sub"));
  const QString vocabPdf = t.dir.filePath("list.pdf");
  WriteWords(vocabPdf, 3);
  QFile vocabFile(vocabPdf);
  QVERIFY(vocabFile.open(QIODevice::ReadOnly));
  const QByteArray bytes = vocabFile.readAll();
  vocabFile.close();
  for (const QString& path : {vocabPdf, t.dir.filePath("sub/../list.pdf")}) {
    std::ostringstream out, err;
    QCOMPARE(t.form.PrintFromCommandLine(path, out, err), 1);
    QCOMPARE(out.str(), std::string());
    QCOMPARE(QString::fromStdString(err.str()),
             "Cannot print " + QDir::toNativeSeparators(path) +
                 ": The PDF file would replace the vocabulary file.\n");
  }
  QVERIFY(vocabFile.open(QIODevice::ReadOnly));
  QCOMPARE(vocabFile.readAll(), bytes);
  QCOMPARE(QDir(t.dir.path()).entryList({"list*"}), QStringList{"list.pdf"});
}

void TestMainPrint::commandLinePrintReportsFailures() {
  TForm t;
  QFile damaged(t.dir.filePath("damaged.doz"));
  QVERIFY(damaged.open(QIODevice::WriteOnly));
  damaged.write("not a vocabulary");
  damaged.close();
  struct TCase {
    QString Path;
    QString Reason;
  };
  const TCase cases[] = {{t.dir.filePath("missing.doz"), "Cannot open file"},
                         {damaged.fileName(), "Invalid file format."},
                         {"/p", "Cannot open file"}};
  for (const TCase& c : cases) {
    std::ostringstream out, err;
    QCOMPARE(t.form.PrintFromCommandLine(c.Path, out, err), 1);
    QCOMPARE(out.str(), std::string());
    const QString message = QString::fromStdString(err.str());
    QVERIFY2(message.startsWith("Cannot print " + QDir::toNativeSeparators(c.Path) + ": "),
             qPrintable(message));
    QVERIFY2(message.contains(c.Reason), qPrintable(message));
  }
  QVERIFY(QDir(t.dir.path()).entryList({"*.pdf"}).isEmpty());

  // Without any printer nothing is written either.
  TScopedSeam none(InstalledPrinters, [] { return QStringList(); });
  std::ostringstream out, err;
  QCOMPARE(t.form.PrintFromCommandLine(kSample, out, err), 1);
  QVERIFY(QString::fromStdString(err.str()).contains("No printer installed."));
}

// A full disk is an error for the user, and the PDF that was there stays as it was.
void TestMainPrint::failedPdfWriteIsReported() {
  TForm t;
  const QString source = t.dir.filePath("words.doz");
  WriteWords(source, 2000);
  QVERIFY(t.form.OpenFile(source));
  t.form.SetViewMode(vmList);
  t.form.UpdateCommands();
  const QString chosen = t.dir.filePath("chosen.pdf");
  QFile old(chosen);
  QVERIFY(old.open(QIODevice::WriteOnly));
  old.write("the old file");
  old.close();
  TFileDialogAnswer save(SaveFileDialog, chosen);
  TMessageBoxes boxes;
  std::ostringstream out, err;
  {
    TFileSizeLimit full(4096);
    if (!full.Active()) QSKIP("the file size cannot be limited here");
    TRIGGER_ACTION(&t.form, "tbPrintAction");
    QCOMPARE(t.form.PrintFromCommandLine(source, out, err), 1);
  }
  QCOMPARE(boxes.Messages(), QStringList{"Printing failed."});
  QCOMPARE(boxes.Shown[0].Style, kMbStop);
  QCOMPARE(out.str(), std::string());
  QCOMPARE(QString::fromStdString(err.str()),
           "Cannot print " + QDir::toNativeSeparators(source) + ": Printing failed.\n");
  QVERIFY(old.open(QIODevice::ReadOnly));
  QCOMPARE(old.readAll(), QByteArray("the old file"));
  QCOMPARE(QDir(t.dir.path()).entryList({"*.pdf*"}, QDir::Files | QDir::Hidden),
           QStringList{"chosen.pdf"});
}

void TestMainPrint::programPrintsFromItsCommandLine() {
  // The program itself, in a home of its own without a print server: no system printer, so
  // it writes the PDF beside the file.
  QTemporaryDir home;
  const QString source = home.filePath("German-English.doz");
  QVERIFY(QFile::copy(kSample, source));
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("HOME", home.path());
  environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
  environment.insert("XDG_DATA_HOME", home.filePath("data"));
  environment.insert("CUPS_SERVER", home.filePath("no-cups-here"));
  // No display, no platform named: the program takes the offscreen one itself.
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
    environment.remove(name);
  struct TCase {
    QStringList Arguments;
    int ExitCode;
    QString Output;
    QString Errors;
  };
  const QString pdf = home.filePath("German-English.pdf");
  const TCase cases[] = {
      {{"/p", source}, 0, "Printed to " + pdf, ""},
      {{"/P", home.filePath("none.doz")}, 1, "", "Cannot print " + home.filePath("none.doz")},
      {{"/p"}, 1, "", "Cannot print /p"}};
  for (const TCase& c : cases) {
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(DADEZIVU_PROGRAM, c.Arguments);
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), c.ExitCode);
    const QString output = QString::fromLocal8Bit(program.readAllStandardOutput()).trimmed();
    const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
    QCOMPARE(output, c.Output);
    if (!c.Errors.isEmpty()) QVERIFY2(errors.contains(c.Errors), qPrintable(errors));
  }
  QCOMPARE(PdfPageCount(pdf), 1);
}

void TestMainPrint::printedPdfHoldsTheWordList() {
  if (QStandardPaths::findExecutable("pdftotext").isEmpty()) {
    QSKIP("pdftotext (package poppler-utils) is not installed; the PDF's text is not checked");
  }
  TForm t;
  QVERIFY(t.Open(kSample));
  const QString source = t.dir.filePath("German-English.doz");
  const QString pdf = t.dir.filePath("German-English.pdf");
  std::ostringstream out, err;
  QCOMPARE(t.form.PrintFromCommandLine(source, out, err), 0);
  QCOMPARE(PdfPageCount(pdf), 1);
  QString text = PdfText(pdf).simplified();
  // The title, then every entry with its part of speech, notes and translations.
  QVERIFY2(text.startsWith("Everyday German words"), qPrintable(text));
  for (const char* entry : {"der Apfel n apple", "das Frühstück n breakfast",
                            "das Mädchen n neuter! girl", "fahren v by vehicle drive"}) {
    QVERIFY2(text.contains(QString::fromUtf8(entry)), entry);
  }
  // A single page carries no page number.
  QVERIFY(!text.contains(QRegularExpression("\\b1\\s*$")));

  // Without translations and title the words stay, the English goes.
  t.form.Settings().PrintOptions = {false, true, kPrintCategory | kPrintNotes};
  QVERIFY(QFile::remove(pdf));
  QCOMPARE(t.form.PrintFromCommandLine(source, out, err), 0);
  text = PdfText(pdf).simplified();
  QVERIFY2(text.startsWith("der Apfel n arbeiten v"), qPrintable(text));
  QVERIFY(!text.contains("apple") && !text.contains("Everyday German words"));
}

QTEST_MAIN(TestMainPrint)
#include "tst_mainprint.moc"
