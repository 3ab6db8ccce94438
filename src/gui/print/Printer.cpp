// SPDX-License-Identifier: MIT
// The printer a run of the program prints on, and the seams of the print system.
#include "print/Printer.h"

#include <QCoreApplication>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <stdexcept>

namespace {
QString Tr(const char* text) {
  return QCoreApplication::translate("TPrinter", text);
}
}  // namespace

QString PdfPrinterName() {
  return Tr("PDF file");
}

QStringList SystemInstalledPrinters() {
  QStringList printers;
  const QString standard = QPrinterInfo::defaultPrinterName();
  if (!standard.isEmpty()) printers << standard;
  for (const QString& name : QPrinterInfo::availablePrinterNames()) {
    if (name != standard) printers << name;
  }
  printers << PdfPrinterName();
  return printers;
}

std::function<QStringList()> InstalledPrinters = SystemInstalledPrinters;

void CheckPrinterInstalled() {
  if (InstalledPrinters().isEmpty())
    throw std::runtime_error(Tr("No printer installed.").toStdString());
}

bool ShowPrinterSetupDialog(QWidget* owner, QPrinter& printer) {
  QPrintDialog dialog(&printer, owner);
  dialog.setObjectName("PrinterSetupDialog");
  // The word list is always printed whole.
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  return dialog.exec() == QDialog::Accepted;
}

std::function<bool(QWidget* owner, QPrinter& printer)> PrinterSetupDialog = ShowPrinterSetupDialog;

QPageSize DefaultPaperSize() {
  return QPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                       ? QPageSize::Letter
                       : QPageSize::A4);
}

TPrinter::TPrinter() {
  const QStringList printers = InstalledPrinters();
  m_Name = printers.isEmpty() ? PdfPrinterName() : printers.first();
}

TPrinter::~TPrinter() = default;

bool TPrinter::Setup(QWidget* owner) {
  QPrinter& printer = Device();
  // The dialog shows the file printed last; only a name the user changed there counts as chosen.
  const QString shownFile = printer.outputFileName();
  if (!PrinterSetupDialog(owner, printer)) return false;
  m_Name = printer.outputFormat() == QPrinter::PdfFormat || printer.printerName().isEmpty()
               ? PdfPrinterName()
               : printer.printerName();
  m_Copies = std::max(printer.copyCount(), 1);
  if (!IsPdf()) {
    m_SetupFileName.clear();
  } else if (printer.outputFileName() != shownFile) {
    m_SetupFileName = printer.outputFileName();
  }
  return true;
}

QPrinter& TPrinter::Device(const QString& pdfFile) {
  if (!m_Device) {
    m_Device = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (IsPdf()) m_Device->setPageSize(DefaultPaperSize());
  }
  // Qt turns a printer whose file name is cleared into a system printer: the name is only ever
  // set for a PDF, and cleared before a system printer is chosen.
  if (IsPdf()) {
    if (m_Device->outputFormat() != QPrinter::PdfFormat) {
      m_Device->setOutputFormat(QPrinter::PdfFormat);
      m_Device->setPageSize(DefaultPaperSize());
    }
    if (!pdfFile.isEmpty()) m_Device->setOutputFileName(pdfFile);
  } else {
    if (!m_Device->outputFileName().isEmpty()) m_Device->setOutputFileName(QString());
    if (m_Device->outputFormat() != QPrinter::NativeFormat) {
      m_Device->setOutputFormat(QPrinter::NativeFormat);
    }
    if (m_Device->printerName() != m_Name) m_Device->setPrinterName(m_Name);
  }
  // The margins of the page setup are the only ones: they count from the paper's edge.
  m_Device->setFullPage(true);
  m_Device->setCopyCount(m_Copies);
  return *m_Device;
}
