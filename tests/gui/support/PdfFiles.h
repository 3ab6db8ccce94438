// SPDX-License-Identifier: MIT
// Reading back the PDF files printing tests write, and a full disk to write them on.
#pragma once

#include <QString>

// The number of pages of a PDF file; -1 when it is missing or no PDF.
int PdfPageCount(const QString& fileName);

// The text of a PDF as pdftotext reads it (keeping the layout); empty when pdftotext is missing.
QString PdfText(const QString& fileName);

// While it lasts, no file of this process grows beyond maxBytes: writes past that fail as on a
// full disk. Where the system has no such limit, Active() is false.
class TFileSizeLimit {
public:
  explicit TFileSizeLimit(long long maxBytes);
  ~TFileSizeLimit();
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;
  bool Active() const { return m_Active; }

private:
  bool m_Active = false;
  long long m_Saved = 0;
  void (*m_SavedSignal)(int) = nullptr;
};
