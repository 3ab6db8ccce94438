// SPDX-License-Identifier: MIT
// The printer a run of the program prints on: the choice among the installed printers, the
// copy count and the device set up for a print run.
#pragma once

#include <QPageSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

// The name under which writing a PDF file is offered among the printers.
QString PdfPrinterName();

// The printers the program can print on: the system's print queues (its default first), then
// "PDF file", which is always possible with Qt, so a desktop without a print queue can still
// print. A seam: tests put a list of their own here.
extern std::function<QStringList()> InstalledPrinters;
QStringList SystemInstalledPrinters();

// Throws std::runtime_error "No printer installed." when InstalledPrinters() is empty.
void CheckPrinterInstalled();

// The system's printer-setup dialog on printer; true when it closed with OK. A seam: tests
// answer it without a window.
extern std::function<bool(QWidget* owner, QPrinter& printer)> PrinterSetupDialog;
bool ShowPrinterSetupDialog(QWidget* owner, QPrinter& printer);

// Paper for PDF files: Letter where the user's measurement system is the US one, else A4.
QPageSize DefaultPaperSize();

// The current printer of this run: its name, the copy count (not stored between runs) and the
// device. The device is made when it is first needed, so that merely starting the program
// does not ask the print system anything.
class TPrinter {
public:
  // The first installed printer: the system's default one, or "PDF file" without any.
  TPrinter();
  ~TPrinter();
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;

  QString Name() const { return m_Name; }
  bool IsPdf() const { return m_Name == PdfPrinterName(); }
  int Copies() const { return m_Copies; }
  void SetCopies(int copies) { m_Copies = copies; }

  // Shows the printer-setup dialog; on OK its printer and copy count take effect at once.
  bool Setup(QWidget* owner);
  // The PDF file last named in the setup dialog, for Print to propose; empty when none was named
  // or a system printer was chosen since.
  QString SetupFileName() const { return m_SetupFileName; }

  // The device set up for a print run on the current printer: the whole paper as the page (the
  // page setup's margins count from its edge) and the copy count. For "PDF file" the output
  // goes into pdfFile.
  QPrinter& Device(const QString& pdfFile = {});

private:
  QString m_Name;
  int m_Copies = 1;
  QString m_SetupFileName;
  std::unique_ptr<QPrinter> m_Device;
};
