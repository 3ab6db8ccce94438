// SPDX-License-Identifier: MIT
// The print commands of the main window: Print, the tool-bar Print, Print Preview and Page
// Setup, and printing a file named on the command line.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <ostream>
#include <stdexcept>

#include "app/MainFrm.h"
#include "app/VocabGrid.h"
#include "dialogs/PgStpDlg.h"
#include "dialogs/PrntOpDlg.h"
#include "platform/DlgUtils.h"
#include "platform/ErrorHandler.h"
#include "platform/FileDialogs.h"
#include "platform/Hourglass.h"
#include "print/PrinterCanvas.h"

namespace {
// While a print run lasts the main window takes no input and shows the hourglass; both come
// back however the run ends.
class TPrintingGuard {
public:
  explicit TPrintingGuard(QWidget* window) : m_Window(window) { m_Window->setEnabled(false); }
  ~TPrintingGuard() { m_Window->setEnabled(true); }
  TPrintingGuard(const TPrintingGuard&) = delete;
  TPrintingGuard& operator=(const TPrintingGuard&) = delete;

private:
  QWidget* m_Window;
  THourglass m_Hourglass;
};

// Writing the word list over the file it comes from would lose the vocabulary.
void CheckNotVocabularyFile(const QString& pdfFile, const QString& vocabFile) {
  const QString vocab = QFileInfo(vocabFile).canonicalFilePath();
  if (!vocab.isEmpty() && QFileInfo(pdfFile).canonicalFilePath() == vocab) {
    throw std::runtime_error(
        TMainForm::tr("The PDF file would replace the vocabulary file.").toStdString());
  }
}

// The PDF of the vocabulary file at path, beside it: "words.pdf", or the first free name of
// "words (2).pdf", "words (3).pdf", ..., as printing without asking must not replace a file.
QString CommandLinePdfFile(const QString& path) {
  const QFileInfo file(path);
  const QDir folder(file.absolutePath());
  const QString base = file.completeBaseName();
  QString pdfFile = folder.filePath(base + ".pdf");
  CheckNotVocabularyFile(pdfFile, path);
  for (int number = 2; QFileInfo::exists(pdfFile); ++number) {
    pdfFile = folder.filePath(QStringLiteral("%1 (%2).pdf").arg(base).arg(number));
  }
  return pdfFile;
}
}  // namespace

void TMainForm::CreatePrintCommands() {
  miFilePrint =
      AddCommand(miFile, "miFilePrint", 2006, tr("&Print..."), tr("Prints the current file"),
                 QKeySequence(Qt::CTRL | Qt::Key_P), tiPrint, &TMainForm::miFilePrintClick);
  miFilePrintPreview = AddCommand(miFile, "miFilePrintPreview", 2006, tr("Print Pre&view..."),
                                  tr("Shows the pages as they will be printed"), {}, tiNone,
                                  &TMainForm::miFilePrintPreviewClick);
  miFilePageSetup = AddCommand(miFile, "miFilePageSetup", 2007, tr("Page S&etup..."),
                               tr("Changes the layout of printed pages"), {}, tiNone,
                               &TMainForm::miFilePageSetupClick);
  // The tool-bar Print prints at once with the current options; it shares the menu item's look.
  tbPrint = new QAction(miFilePrint->icon(), miFilePrint->text(), this);
  tbPrint->setObjectName("tbPrintAction");
  tbPrint->setStatusTip(miFilePrint->statusTip());
  connect(tbPrint, &QAction::triggered, this, [this] { RunCommand([this] { tbPrintClick(); }); });
}

TPrinter& TMainForm::Printer() {
  if (!m_Printer) m_Printer = std::make_unique<TPrinter>();
  return *m_Printer;
}

TPrintJob TMainForm::CurrentPrintJob(const TVocabFile& vocab) const {
  return MakePrintJob(vocab, m_Settings.PrintOptions, m_Settings.PageSetup, m_Settings.PrintFont);
}

void TMainForm::miFilePrintClick() {
  CheckPrinterInstalled();
  TPrintOptionsData data;
  data.Options = m_Settings.PrintOptions;
  data.Copies = Printer().Copies();
  data.Font = m_Settings.PrintFont;
  data.Printer = &Printer();
  const bool confirmed = RunDialog<TPrintOptionsDialog>(PrintOptionsDialogRunner, data);
  // A font chosen in the dialog stays chosen, also after Cancel.
  m_Settings.PrintFont = data.Font;
  if (!confirmed) return;
  m_Settings.PrintOptions = data.Options;
  Printer().SetCopies(data.Copies);
  repaint();
  PrintVocabularyNow();
}

void TMainForm::tbPrintClick() {
  CheckPrinterInstalled();
  PrintVocabularyNow();
}

void TMainForm::miFilePageSetupClick() {
  TPageSetup setup = m_Settings.PageSetup;
  if (RunDialog<TPageSetupDialog>(PageSetupDialogRunner, setup)) m_Settings.PageSetup = setup;
}

void TMainForm::miFilePrintPreviewClick() {
  CheckPrinterInstalled();
  const TPrintJob job = CurrentPrintJob(*m_Vocab);
  // Exactly the run Print makes, drawn on the preview's pages.
  const auto paint = [this, &job](QPrinter& printer) {
    RunCommand([&] { PreviewVocabulary(printer, *m_Vocab, job); });
  };
  BeforeDialog();
  QPrinter& printer = Printer().Device();
  if (PrintPreviewRunner) {
    PrintPreviewRunner(printer, paint);
    return;
  }
  QPrintPreviewDialog preview(&printer, this);
  preview.setObjectName("PrintPreviewDialog");
  preview.setWindowTitle(tr("Print Preview"));
  connect(&preview, &QPrintPreviewDialog::paintRequested, this,
          [&paint](QPrinter* target) { paint(*target); });
  preview.exec();
}

bool TMainForm::ChoosePdfFile(QString& path) {
  TFileDialogRequest request;
  request.Title = tr("Print to PDF File");
  request.Filter = tr("PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*");
  request.FilterIndex = 1;
  // A file named in the printer setup comes first, else the vocabulary's name as a PDF.
  if (const QFileInfo named(Printer().SetupFileName()); !named.filePath().isEmpty()) {
    request.InitialDir = named.absolutePath();
    request.FileName = named.fileName();
  } else {
    const QString fileName = DecodedFileName(*m_Vocab);
    const QFileInfo file(fileName.isEmpty() ? FileTitle(QString()) : fileName);
    request.InitialDir = fileName.isEmpty() ? QDir::currentPath() : file.absolutePath();
    request.FileName = file.completeBaseName() + ".pdf";
  }
  request.DefaultExt = "pdf";
  dgVocab->ClearCutMark();
  if (!SaveFileDialog(this, request)) return false;
  path = WithTypeExtension(request.FileName, request.Filter, request.FilterIndex, "pdf");
  return true;
}

void TMainForm::PrintVocabularyNow() {
  QString pdfFile;
  if (Printer().IsPdf()) {
    if (!ChoosePdfFile(pdfFile)) return;
    CheckNotVocabularyFile(pdfFile, DecodedFileName(*m_Vocab));
  }
  PrintOn(Printer().Device(pdfFile), *m_Vocab);
}

void TMainForm::PrintOn(QPrinter& printer, const TVocabFile& vocab) {
  const TPrintJob job = CurrentPrintJob(vocab);
  TPrintingGuard printing(this);
  if (PrintRunner) {
    PrintRunner(printer, job);
  } else {
    ::PrintVocabulary(printer, vocab, job);
  }
}

int TMainForm::PrintFromCommandLine(const QString& path, std::ostream& out, std::ostream& err) {
  try {
    CheckPrinterInstalled();
    TVocabFile vocab;
    vocab.LoadFromFile(QFile::encodeName(path).toStdString());
    const QString pdfFile = Printer().IsPdf() ? CommandLinePdfFile(path) : QString();
    PrintOn(Printer().Device(pdfFile), vocab);
    if (Printer().IsPdf()) {
      out << tr("Printed to %1").arg(QDir::toNativeSeparators(pdfFile)).toStdString() << std::endl;
    } else {
      out << tr("Printed on %1").arg(Printer().Name()).toStdString() << std::endl;
    }
    return 0;
  } catch (const std::exception& e) {
    err << tr("Cannot print %1: %2")
               .arg(QDir::toNativeSeparators(path), QString::fromUtf8(e.what()))
               .toStdString()
        << std::endl;
    return 1;
  }
}
