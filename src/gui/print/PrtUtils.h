// SPDX-License-Identifier: MIT
// The page layout of a printed word list, drawn through a small canvas interface.
#pragma once

#include <cstdint>
#include <string>

#include "settings/PrintSettings.h"

class TVocabFile;

// Where a print run draws. All positions and sizes are device pixels; text positions are the
// top left corner of the text. The layout needs nothing else of the device, so tests put a
// canvas with fixed metrics here and check the layout to the pixel.
class TPrintCanvas {
public:
  virtual ~TPrintCanvas() = default;

  // The paintable page and the device's resolution in dots per inch.
  virtual int32_t PageWidth() const = 0;
  virtual int32_t PageHeight() const = 0;
  virtual int32_t DpiX() const = 0;
  virtual int32_t DpiY() const = 0;
  // The copy count the user chose, and whether the device makes that many copies by itself.
  virtual int32_t Copies() const = 0;
  virtual bool CanCopy() const = 0;

  // Starts the job under that name; throws std::runtime_error when the device refuses.
  virtual void BeginJob(const std::u16string& jobName) = 0;
  // Ends a started job; must not throw.
  virtual void EndJob() = 0;
  virtual void NewPage() = 0;

  virtual void SetFont(const std::string& faceName, int32_t pointSize) = 0;
  virtual void SetFontSize(int32_t pointSize) = 0;
  virtual void SetFontStyle(bool bold, bool italic) = 0;
  virtual int32_t TextWidth(const std::u16string& text) = 0;
  virtual int32_t TextHeight(const std::u16string& text) = 0;
  virtual void DrawText(int32_t x, int32_t y, const std::u16string& text) = 0;
  // A solid black rectangle, right and bottom exclusive.
  virtual void FillBar(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
};

// Everything a print run needs besides the vocabulary and the canvas.
struct TPrintJob {
  TPrintOptions Options;
  TPageSetup PageSetup;
  std::string FontName = "Times New Roman";  // UTF-8
  int32_t FontSize = 10;
  std::u16string JobName;       // what the print queue shows
  std::u16string FileBaseName;  // file name without folder and extension; empty when unsaved
};

// Prints the whole vocabulary as a word list: the title on the first page, then every entry as
// one paragraph flowed down the columns of each page, with separators and page numbers as the
// options and page setup say. Every copy the device cannot make itself is printed again from a
// new page. Throws EVocabFileError "Margins too large for paper." when the margins leave no room
// on the page (before the job starts, so nothing comes out), and passes on what the canvas
// throws; a started job is always ended.
void PrintVocabulary(TPrintCanvas& canvas, const TVocabFile& vocab, const TPrintJob& job);

// Left edge of column (1-based) of columns on the frame from left to right with the gap between
// columns. Column columns + 1 starts at right + gap, so every column ends a gap before the next.
int32_t ColumnEdge(int32_t left, int32_t right, int32_t gap, int32_t column, int32_t columns);
