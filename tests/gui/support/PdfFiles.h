// SPDX-License-Identifier: MIT
// Reading back the PDF files printing tests write.
#pragma once

#include <QString>

// The number of pages of a PDF file; -1 when it is missing or no PDF.
int PdfPageCount(const QString& fileName);

// The text of a PDF as pdftotext reads it (keeping the layout); empty when pdftotext is missing.
QString PdfText(const QString& fileName);
