// SPDX-License-Identifier: MIT
// The print canvas on a printer or PDF writer, and printing a vocabulary with it.
#pragma once

#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QString>

#include "print/PrtUtils.h"

class QPagedPaintDevice;
class QPrinter;
struct TFontSetting;

// Draws a print run on a paged device through a painter of its own. On a QPrinter the job name
// becomes the document name and the printer's copy count and copy support are reported; on
// another device copies is the copy count, and every copy is drawn.
class TPrinterCanvas : public TPrintCanvas {
public:
  explicit TPrinterCanvas(QPagedPaintDevice& device, int32_t copies = 1);
  ~TPrinterCanvas() override;
  TPrinterCanvas(const TPrinterCanvas&) = delete;
  TPrinterCanvas& operator=(const TPrinterCanvas&) = delete;

  int32_t PageWidth() const override;
  int32_t PageHeight() const override;
  int32_t DpiX() const override;
  int32_t DpiY() const override;
  int32_t Copies() const override;
  bool CanCopy() const override;
  void BeginJob(const std::u16string& jobName) override;
  void EndJob() override;
  void NewPage() override;
  void SetFont(const std::string& faceName, int32_t pointSize) override;
  void SetFontSize(int32_t pointSize) override;
  void SetFontStyle(bool bold, bool italic) override;
  int32_t TextWidth(const std::u16string& text) override;
  int32_t TextHeight(const std::u16string& text) override;
  void DrawText(int32_t x, int32_t y, const std::u16string& text) override;
  void FillBar(int32_t left, int32_t top, int32_t right, int32_t bottom) override;

  // Whether the ended job failed: the painter could not finish it or the printer is in error.
  bool Failed() const;

private:
  QPagedPaintDevice& m_Device;
  QPrinter* m_Printer = nullptr;  // the device, when it is a printer
  int32_t m_Copies = 1;
  bool m_EndFailed = false;
  QPainter m_Painter;
  QFont m_Font;
  int32_t m_LineAscent = 0;
  int32_t m_LineHeight = 0;
};

// The vocabulary's file name as a QString; empty before it is saved.
QString DecodedFileName(const TVocabFile& vocab);
// "Dadezivu - " and the title of the vocabulary's file ("Untitled" before it is saved).
QString PrintJobName(const TVocabFile& vocab);
// A print job for the vocabulary with these settings.
TPrintJob MakePrintJob(const TVocabFile& vocab, const TPrintOptions& options,
                       const TPageSetup& pageSetup, const TFontSetting& font);
// Prints the vocabulary on the printer as it is set up (PrintVocabulary). A PDF file is written
// beside its target first and replaces it only once written whole, so a failed run never leaves
// a damaged file. Throws std::runtime_error "Cannot create file <path>" when the file cannot be
// made, and "Printing failed." when the run could not be finished.
void PrintVocabulary(QPrinter& printer, const TVocabFile& vocab, const TPrintJob& job);
// Draws the same run on the pages of a print preview's printer.
void PreviewVocabulary(QPrinter& printer, const TVocabFile& vocab, const TPrintJob& job);
// Prints the vocabulary into a PDF file on paper of pageSize, the margins counted from the
// paper's edge. Throws std::runtime_error when the file cannot be written.
void PrintVocabularyToPdf(const TVocabFile& vocab, const TPrintJob& job, const QString& fileName,
                          const QPageSize& pageSize, int copies = 1);
