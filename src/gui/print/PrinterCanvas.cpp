// SPDX-License-Identifier: MIT
// The print canvas on a printer or PDF writer, and printing a vocabulary with it.
#include "print/PrinterCanvas.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

#include <stdexcept>

#include "platform/DlgUtils.h"
#include "settings/RegUtils.h"
#include "text/DrawItem.h"
#include "vocab/VocFile.h"

namespace {
QString Tr(const char* text) {
  return QCoreApplication::translate("TPrinterCanvas", text);
}

QString ToQString(const std::u16string& text) {
  return QString::fromStdU16String(text);
}

// Text whose first letter is Arabic or Hebrew runs from the right within its piece. The blanks
// that end such a piece are measured on their own and not drawn, so that they stay on its right
// as the gap before the next piece (drawn after Arabic they take the Arabic font's blank, which
// can be empty).
struct TPrintedPiece {
  QString Text;
  qsizetype Blanks = 0;
};

TPrintedPiece PrintedPiece(const std::u16string& text) {
  QString piece = ToQString(text);
  if (!piece.isRightToLeft()) return {piece, 0};
  qsizetype blanks = 0;
  while (blanks < piece.size() && piece[piece.size() - 1 - blanks] == u' ') ++blanks;
  return {RightToLeftPiece(piece.chopped(blanks)), blanks};
}
}  // namespace

TPrinterCanvas::TPrinterCanvas(QPagedPaintDevice& device, int32_t copies)
    : m_Device(device), m_Printer(dynamic_cast<QPrinter*>(&device)), m_Copies(copies) {}

TPrinterCanvas::~TPrinterCanvas() {
  EndJob();
}

int32_t TPrinterCanvas::PageWidth() const {
  return m_Device.width();
}

int32_t TPrinterCanvas::PageHeight() const {
  return m_Device.height();
}

int32_t TPrinterCanvas::DpiX() const {
  return m_Device.logicalDpiX();
}

int32_t TPrinterCanvas::DpiY() const {
  return m_Device.logicalDpiY();
}

int32_t TPrinterCanvas::Copies() const {
  return m_Printer ? m_Printer->copyCount() : m_Copies;
}

bool TPrinterCanvas::CanCopy() const {
  return m_Printer && m_Printer->supportsMultipleCopies();
}

void TPrinterCanvas::BeginJob(const std::u16string& jobName) {
  if (m_Printer) {
    m_Printer->setDocName(ToQString(jobName));
  } else if (auto* writer = dynamic_cast<QPdfWriter*>(&m_Device)) {
    writer->setTitle(ToQString(jobName));
  }
  if (m_Painter.begin(&m_Device)) return;
  if (m_Printer && !m_Printer->outputFileName().isEmpty()) {
    throw std::runtime_error(
        Tr("Cannot create file %1").arg(m_Printer->outputFileName()).toStdString());
  }
  throw std::runtime_error(Tr("Printing could not be started.").toStdString());
}

void TPrinterCanvas::EndJob() {
  if (m_Painter.isActive() && !m_Painter.end()) m_EndFailed = true;
}

bool TPrinterCanvas::Failed() const {
  return m_EndFailed || (m_Printer && m_Printer->printerState() == QPrinter::Error);
}

void TPrinterCanvas::NewPage() {
  if (!m_Device.newPage()) throw std::runtime_error(Tr("Printing failed.").toStdString());
}

void TPrinterCanvas::SetFont(const std::string& faceName, int32_t pointSize) {
  m_Font = QFont(QString::fromStdString(faceName));
  SetFontSize(pointSize);
}

void TPrinterCanvas::SetFontSize(int32_t pointSize) {
  m_Font.setPointSize(std::max(pointSize, 1));
  m_Painter.setFont(m_Font);
  // Lines are as high as the upright face makes them, and every style sits on its baseline:
  // the italic face of some families is taller, which would lift it off the line.
  QFont upright = m_Font;
  upright.setBold(false);
  upright.setItalic(false);
  const QFontMetrics metrics(upright, &m_Device);
  m_LineAscent = metrics.ascent();
  m_LineHeight = metrics.height();
}

void TPrinterCanvas::SetFontStyle(bool bold, bool italic) {
  m_Font.setBold(bold);
  m_Font.setItalic(italic);
  m_Painter.setFont(m_Font);
}

int32_t TPrinterCanvas::TextWidth(const std::u16string& text) {
  const TPrintedPiece piece = PrintedPiece(text);
  const QFontMetrics metrics = m_Painter.fontMetrics();
  return metrics.horizontalAdvance(piece.Text) +
         static_cast<int32_t>(piece.Blanks) * metrics.horizontalAdvance(u' ');
}

int32_t TPrinterCanvas::TextHeight(const std::u16string&) {
  return m_LineHeight;
}

void TPrinterCanvas::DrawText(int32_t x, int32_t y, const std::u16string& text) {
  m_Painter.drawText(QPoint(x, y + m_LineAscent), PrintedPiece(text).Text);
}

void TPrinterCanvas::FillBar(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  m_Painter.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), Qt::black);
}

QString DecodedFileName(const TVocabFile& vocab) {
  return QFile::decodeName(QByteArray::fromStdString(vocab.FileName()));
}

QString PrintJobName(const TVocabFile& vocab) {
  return Tr("Dadezivu - %1").arg(FileTitle(DecodedFileName(vocab)));
}

TPrintJob MakePrintJob(const TVocabFile& vocab, const TPrintOptions& options,
                       const TPageSetup& pageSetup, const TFontSetting& font) {
  TPrintJob job;
  job.Options = options;
  job.PageSetup = pageSetup;
  job.FontName = font.Name.toStdString();
  job.FontSize = font.Size;
  job.JobName = PrintJobName(vocab).toStdU16String();
  if (!vocab.FileName().empty()) {
    job.FileBaseName = QFileInfo(DecodedFileName(vocab)).completeBaseName().toStdU16String();
  }
  return job;
}

void PrintVocabulary(QPrinter& printer, const TVocabFile& vocab, const TPrintJob& job) {
  const QString fileName = printer.outputFileName();
  if (printer.outputFormat() != QPrinter::PdfFormat || fileName.isEmpty()) {
    TPrinterCanvas canvas(printer);
    PrintVocabulary(canvas, vocab, job);
    if (canvas.Failed()) throw std::runtime_error(Tr("Printing failed.").toStdString());
    return;
  }
  // Qt's PDF engine ignores failed writes, so the file goes through a QSaveFile, which notices
  // them and replaces the target only when everything was written.
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) {
    throw std::runtime_error(
        (Tr("Cannot create file %1").arg(fileName) + ": " + file.errorString()).toStdString());
  }
  QPdfWriter writer(&file);
  writer.setPdfVersion(printer.pdfVersion());
  writer.setCreator(printer.creator());
  writer.setResolution(printer.resolution());
  writer.setPageLayout(printer.pageLayout());
  TPrinterCanvas canvas(writer, printer.copyCount());
  PrintVocabulary(canvas, vocab, job);
  if (canvas.Failed() || !file.commit()) {
    throw std::runtime_error(Tr("Printing failed.").toStdString());
  }
}

void PreviewVocabulary(QPrinter& printer, const TVocabFile& vocab, const TPrintJob& job) {
  TPrinterCanvas canvas(printer);
  PrintVocabulary(canvas, vocab, job);
}

void PrintVocabularyToPdf(const TVocabFile& vocab, const TPrintJob& job, const QString& fileName,
                          const QPageSize& pageSize, int copies) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(fileName);
  printer.setPageSize(pageSize);
  // The margins of the page setup are the only ones: they count from the paper's edge.
  printer.setFullPage(true);
  printer.setCopyCount(copies);
  PrintVocabulary(printer, vocab, job);
}
