// SPDX-License-Identifier: MIT
// The printed word list: layout to the pixel on a recording canvas, and real PDF output.
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QPageSize>
#include <QPaintEngine>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <random>
#include <stdexcept>

#include "PdfFiles.h"
#include "print/PrinterCanvas.h"
#include "print/PrtUtils.h"
#include "settings/RegUtils.h"
#include "vocab/VocFile.h"

namespace {
struct TEntry {
  std::string Foreign, Category, Notes, Native;
};

std::unique_ptr<TVocabFile> Vocabulary(const std::vector<TEntry>& entries,
                                       const std::string& description = {}) {
  auto vocab = std::make_unique<TVocabFile>();
  for (const TEntry& e : entries) {
    vocab->EditItem().Values = {e.Foreign, e.Category, e.Notes, e.Native};
    vocab->AddItem(2);
  }
  vocab->SetProperty(0, description);
  return vocab;
}

std::vector<TEntry> Numbered(int count) {
  std::vector<TEntry> entries;
  for (int i = 0; i < count; ++i) entries.push_back({"w", "", "", std::to_string(i)});
  return entries;
}

// A page of 1100 x 1500 pixels at 100 dpi: the default 1-inch margins leave the frame
// 100..1000 x 100..1400. Every character is 10 pixels wide, a line twice the point size high.
// Drawing is recorded as "x,y <size><b|i|r> text"; bars, pages and the job as words.
class TRecordingCanvas : public TPrintCanvas {
public:
  int32_t PageWidth() const override { return 1100; }
  int32_t PageHeight() const override { return 1500; }
  int32_t DpiX() const override { return 100; }
  int32_t DpiY() const override { return 100; }
  int32_t Copies() const override { return m_Copies; }
  bool CanCopy() const override { return m_CanCopy; }
  void BeginJob(const std::u16string& jobName) override {
    Ops << "begin " + QString::fromStdU16String(jobName);
  }
  void EndJob() override { Ops << "end"; }
  void NewPage() override { Ops << "page"; }
  void SetFont(const std::string&, int32_t pointSize) override { m_Size = pointSize; }
  void SetFontSize(int32_t pointSize) override { m_Size = pointSize; }
  void SetFontStyle(bool bold, bool italic) override { m_Style = bold ? 'b' : italic ? 'i' : 'r'; }
  int32_t TextWidth(const std::u16string& text) override {
    return 10 * static_cast<int32_t>(text.size());
  }
  int32_t TextHeight(const std::u16string&) override { return 2 * m_Size; }
  void DrawText(int32_t x, int32_t y, const std::u16string& text) override {
    if (--m_DrawsBeforeFailure == 0) throw std::runtime_error("Printer out of paper");
    Ops << QStringLiteral("%1,%2 %3%4 %5")
               .arg(x)
               .arg(y)
               .arg(m_Size)
               .arg(QChar(m_Style))
               .arg(QString::fromStdU16String(text));
  }
  void FillBar(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
    Ops << QStringLiteral("bar %1,%2 %3,%4").arg(left).arg(top).arg(right).arg(bottom);
  }

  QStringList Ops;
  int32_t m_Copies = 1;
  bool m_CanCopy = true;
  int m_DrawsBeforeFailure = -1;

private:
  int32_t m_Size = 0;
  char m_Style = 'r';
};

TPrintJob Job(int32_t columns = 2, bool title = true) {
  TPrintJob job;
  job.PageSetup.Columns = columns;
  job.Options.PrintTitle = title;
  job.JobName = u"Dadezivu - test.doz";
  return job;
}

QStringList Print(const TVocabFile& vocab, const TPrintJob& job, TRecordingCanvas canvas = {}) {
  PrintVocabulary(canvas, vocab, job);
  return canvas.Ops;
}

QStringList Filtered(const QStringList& ops, const QString& pattern) {
  return ops.filter(QRegularExpression(pattern));
}

// A paint engine that only records the baselines text is drawn on.
class TTextPositions : public QPaintEngine {
public:
  TTextPositions() : QPaintEngine(QPaintEngine::AllFeatures) {}
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState&) override {}
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
  void drawTextItem(const QPointF& p, const QTextItem&) override { Baselines << p.y(); }
  Type type() const override { return QPaintEngine::User; }
  QList<qreal> Baselines;
};

// A PDF printer's metrics, but drawing goes to the recording engine.
class TTextPrinter : public QPrinter {
public:
  TTextPrinter() : QPrinter(QPrinter::HighResolution) { setOutputFormat(QPrinter::PdfFormat); }
  QPaintEngine* paintEngine() const override { return &Engine; }
  mutable TTextPositions Engine;
};

// The real canvas, counting the pages it starts.
class TCountingCanvas : public TPrinterCanvas {
public:
  using TPrinterCanvas::TPrinterCanvas;
  void NewPage() override {
    ++Pages;
    TPrinterCanvas::NewPage();
  }
  int Pages = 1;
};
}  // namespace

class TestPrtUtils : public QObject {
  Q_OBJECT

private slots:
  void shortListFitsOnePageWithoutNumberOrBar();
  void columnEdgesAndTextLimits();
  void secondColumnBeginsWithABarOverTheWholeHeight();
  void longTextWrapsIndentedAndCutsWideWords();
  void fieldOptionsChooseWhatEachEntryPrints();
  void noTwoRunsOverlapForAnyEntriesAndColumns();
  void titleComesFromDescriptionOrFileName();
  void titleWrapsOverTheWholeWidthOnTheFirstPageOnly();
  void pagesAreNumberedWhenMoreThanOne();
  void copiesThePrinterCannotMakeStartOnNewPages();
  void marginsWithoutRoomStopBeforeTheJob();
  void columnCountOutOfRangePrintsOneColumn();
  void failureEndsTheJob();
  void jobNameAndFileBaseName();
  void pdfHasThePagesTheLayoutStarted();
  void pdfOfUnwritablePathFails();
  void failedPdfWriteKeepsTheOldFile();
  void realCanvasKeepsOneLineForEveryStyle();
};

void TestPrtUtils::shortListFitsOnePageWithoutNumberOrBar() {
  const auto vocab = Vocabulary(
      {{"Haus", "n", "", "house"}, {"Baum", "", "tree in the garden", "tree"}}, "Animals");
  // The title at size 12 is 24 pixels high: three breaks put the columns 72 pixels lower.
  QCOMPARE(Print(*vocab, Job()),
           QStringList({"begin Dadezivu - test.doz", "100,100 12b Animals", "100,172 10b Haus ",
                        "150,172 10i n ", "170,172 10r house", "100,192 10b Baum ",
                        "150,192 10i tree in the garden ", "340,192 10r tree", "end"}));
}

void TestPrtUtils::columnEdgesAndTextLimits() {
  const int32_t edges[] = {100, 413, 726, 1040};
  for (int32_t column = 1; column <= 4; ++column) {
    QCOMPARE(ColumnEdge(100, 1000, 40, column, 3), edges[column - 1]);
  }
  // Text limits are the next edge less the gap: 373, 686 and exactly the frame's right edge.
  QCOMPARE(ColumnEdge(100, 1000, 40, 4, 3) - 40, 1000);
  QCOMPARE(ColumnEdge(100, 1000, 40, 2, 2), 570);

  // On the recording page the gap is 40 (two spaces of 10 pixels, doubled): a word of 40
  // characters is cut at 27 in the first column of three (27 * 10 < 373 - 100).
  const auto vocab = Vocabulary({{std::string(40, 'x'), "", "", ""}});
  const QStringList ops = Print(*vocab, Job(3, false));
  QCOMPARE(ops.mid(1, 2), QStringList({"100,100 10b " + QString(27, 'x'),
                                       "120,120 10b " + QString(13, 'x') + ' '}));
}

void TestPrtUtils::secondColumnBeginsWithABarOverTheWholeHeight() {
  // Page 1 holds 61 lines below the title in a column (172 .. 1372), page 2 holds 64.
  const auto vocab = Vocabulary(Numbered(61 + 61 + 64 + 1), "T");
  TPrintJob job = Job();
  QStringList ops = Print(*vocab, job);
  QCOMPARE(Filtered(ops, "^bar|^page"),
           QStringList({"bar 548,172 551,1400", "page", "bar 548,100 551,1400"}));
  const qsizetype bar = ops.indexOf("bar 548,172 551,1400");
  QCOMPARE(ops[bar - 1], QStringLiteral("120,1372 10r 60"));
  QCOMPARE(ops[bar + 1], QStringLiteral("570,172 10b w "));
  // The last entry opens column 2 of page 2; that page is numbered too.
  QCOMPARE(ops.last(4),
           QStringList({"570,100 10b w ", "590,100 10r 186", "545,1420 10r 2", "end"}));

  job.PageSetup.Separator = false;
  ops = Print(*vocab, job);
  QVERIFY(Filtered(ops, "^bar").isEmpty());
  QVERIFY(ops.contains("570,172 10b w "));

  // With three columns the bars sit in the middle of each gap.
  job = Job(3, false);
  ops = Print(*Vocabulary(Numbered(64 * 2 + 1)), job);
  QCOMPARE(Filtered(ops, "^bar"), QStringList({"bar 391,100 394,1400", "bar 704,100 707,1400"}));
}

void TestPrtUtils::longTextWrapsIndentedAndCutsWideWords() {
  const QString groups3 = "abcdefghi abcdefghi abcdefghi ";
  struct {
    TEntry Entry;
    QStringList Expected;
    int32_t RightMargin = 1440;
  } cases[] = {
      // The space right behind the part that fits stays on the line.
      {{std::string(42, 'a') + " b", "", "", ""},
       {"100,100 10b " + QString(42, 'a') + ' ', "120,120 10b b "}},
      // A word wider than the column is cut at its edge; the rest continues indented.
      {{std::string(50, 'c'), "", "", ""},
       {"100,100 10b " + QString(42, 'c'), "120,120 10b " + QString(8, 'c') + ' '}},
      // A word that only misses the rest of the line starts the next one, then is cut there.
      {{"dd", "", "", std::string(45, 'e')},
       {"100,100 10b dd ", "120,120 10r " + QString(40, 'e'), "120,140 10r eeeee"}},
      // Lines end after the last space that fits.
      {{"wxyzw", "", "", (groups3 + groups3 + groups3 + "abcdefghi").toStdString()},
       {"100,100 10b wxyzw ", "160,100 10r " + groups3, "120,120 10r " + groups3 + "abcdefghi ",
        "120,140 10r " + groups3.left(29)}},
      // Only the trailing space misses the line: the next field must not start over the word.
      {{std::string(42, 'x'), "", "", "tr"},
       {"100,100 10b " + QString(42, 'x') + ' ', "120,120 10r tr"}},
      // Lines narrower than a character: the last cut character moves the pen as well.
      {{"abc", "", "", "de"},
       {"100,100 10b ab", "120,120 10b c", "120,140 10b  ", "120,160 10r d", "120,180 10r e"},
       (1100 - 190) * 1440 / 100},
  };
  for (const auto& c : cases) {
    TPrintJob job = Job(2, false);
    job.PageSetup.MarginRight = c.RightMargin;
    const QStringList ops = Print(*Vocabulary({c.Entry}), job);
    QCOMPARE(ops.mid(1, ops.size() - 2), c.Expected);
  }
}

void TestPrtUtils::noTwoRunsOverlapForAnyEntriesAndColumns() {
  std::mt19937 random(19);
  const auto pick = [&random](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const auto text = [&](int maxLength) {
    static const char letters[] = "wiam  ";
    std::string result(size_t(pick(0, maxLength)), ' ');
    for (char& c : result) c = letters[pick(0, int(sizeof letters) - 2)];
    return result;
  };
  for (int trial = 0; trial < 300; ++trial) {
    std::vector<TEntry> entries(size_t(pick(1, 80)));
    for (TEntry& e : entries) e = {text(70), text(pick(0, 1) * 8), text(pick(0, 1) * 30), text(60)};
    TPrintJob job = Job(pick(1, 3), pick(0, 1) == 1);
    job.Options.PrintFields = uint8_t(pick(0, 7) << 1);
    // Columns from about one character to the whole page wide.
    const int32_t frame = pick(job.PageSetup.Columns * 42, 1000);
    job.PageSetup.MarginLeft = 1440 * pick(0, 1100 - frame) / 100;
    job.PageSetup.MarginRight = (1100 - frame) * 1440 / 100 - job.PageSetup.MarginLeft;
    job.PageSetup.MarginBottom = 1440 * pick(1, 8);
    // Each drawn run's box, as high as a line; boxes of a sound layout meet but never overlap.
    std::vector<std::pair<QRect, QString>> runs;
    static const QRegularExpression drawing("^(\\d+),(\\d+) (\\d+). (.*)$");
    for (const QString& op : Print(*Vocabulary(entries, text(20)), job)) {
      if (op == "page") runs.clear();
      const QRegularExpressionMatch run = drawing.match(op);
      if (!run.hasMatch()) continue;
      const QRect box(run.captured(1).toInt(), run.captured(2).toInt(),
                      10 * int(run.captured(4).size()), 2 * run.captured(3).toInt());
      for (const auto& [other, drawn] : runs) {
        if (box.intersects(other)) {
          QFAIL(qPrintable(QStringLiteral("trial %1: '%2' over '%3'").arg(trial).arg(op, drawn)));
        }
      }
      runs.emplace_back(box, op);
    }
  }
}

void TestPrtUtils::fieldOptionsChooseWhatEachEntryPrints() {
  const auto vocab = Vocabulary({{"Haus", "n", "old", "house"}, {"Baum", "", "", "tree"}});
  struct {
    uint8_t Fields;
    QStringList Expected;
  } cases[] = {
      {0, {"100,100 10b Haus ", "100,120 10b Baum "}},
      {kPrintNative,
       {"100,100 10b Haus ", "150,100 10r house", "100,120 10b Baum ", "150,120 10r tree"}},
      {kPrintCategory | kPrintNotes,
       {"100,100 10b Haus ", "150,100 10i n ", "170,100 10i old ", "100,120 10b Baum "}},
  };
  for (const auto& c : cases) {
    TPrintJob job = Job(2, false);
    job.Options.PrintFields = c.Fields;
    const QStringList ops = Print(*vocab, job);
    QCOMPARE(ops.mid(1, ops.size() - 2), c.Expected);
  }
}

void TestPrtUtils::titleComesFromDescriptionOrFileName() {
  const std::vector<TEntry> entries = {{"a", "", "", "b"}};
  auto firstOps = [&](const std::string& description, std::u16string baseName, bool title) {
    const auto vocab = Vocabulary(entries, description);
    TPrintJob job = Job(2, title);
    job.FileBaseName = std::move(baseName);
    return Print(*vocab, job).mid(1, 2);
  };
  QCOMPARE(firstOps("  Animals \t", u"words", true),
           QStringList({"100,100 12b Animals", "100,172 10b a "}));
  QCOMPARE(firstOps("   ", u"words", true), QStringList({"100,100 12b words", "100,172 10b a "}));
  // Unsaved and without description: no title, the entries start at the top.
  QCOMPARE(firstOps("", u"", true), QStringList({"100,100 10b a ", "120,100 10r b"}));
  QCOMPARE(firstOps("Animals", u"words", false), QStringList({"100,100 10b a ", "120,100 10r b"}));

  // The description is in the code page of the native language.
  auto vocab = Vocabulary(entries, "\xCF\xF0\xE8\xE2\xE5\xF2");
  vocab->SetNativeLangID(0x0419);
  QCOMPARE(Print(*vocab, Job()).at(1), QString::fromUtf8("100,100 12b Привет"));
}

void TestPrtUtils::titleWrapsOverTheWholeWidthOnTheFirstPageOnly() {
  const std::string title = std::string(50, 'a') + ' ' + std::string(50, 'b');
  const QStringList ops = Print(*Vocabulary(Numbered(2 * 60 + 1), title), Job());
  QCOMPARE(ops.mid(1, 3), QStringList({"100,100 12b " + QString(50, 'a') + ' ',
                                       "100,124 12b " + QString(50, 'b'), "100,196 10b w "}));
  QCOMPARE(Filtered(ops, " 12b ").size(), 2);
  QVERIFY(ops.contains("page"));

  // A title cut inside a word keeps a surrogate pair together.
  TPrintJob job = Job();
  job.FileBaseName = std::u16string(88, u'a') + u"\U0001F600" + std::u16string(10, u'b');
  QCOMPARE(Print(*Vocabulary({}), job).mid(1, 2),
           QStringList({"100,100 12b " + QString(88, 'a'),
                        "100,124 12b " + QString::fromUtf16(u"\U0001F600") + QString(10, 'b')}));
}

void TestPrtUtils::pagesAreNumberedWhenMoreThanOne() {
  // One column holds 64 lines (100 .. 1360): 130 entries take three pages.
  const auto vocab = Vocabulary(Numbered(130));
  QStringList ops = Print(*vocab, Job(1, false));
  // Centred between the margins, one line below the bottom one, before each new page.
  QCOMPARE(Filtered(ops, "^page|^545,1420"),
           QStringList({"545,1420 10r 1", "page", "545,1420 10r 2", "page", "545,1420 10r 3"}));
  QCOMPARE(ops.indexOf("100,1360 10b w ") + 2, ops.indexOf("545,1420 10r 1"));
  QCOMPARE(ops.indexOf("page") + 1, ops.indexOf("100,100 10b w ", ops.indexOf("page")));

  TPrintJob job = Job(1, false);
  job.Options.PrintPageNumbers = false;
  ops = Print(*vocab, job);
  QCOMPARE(Filtered(ops, "^page|,1420 ").size(), 2);

  // Exactly one page full: no number at all.
  ops = Print(*Vocabulary(Numbered(64)), Job(1, false));
  QVERIFY(Filtered(ops, "^page|,1420 ").isEmpty());
}

void TestPrtUtils::copiesThePrinterCannotMakeStartOnNewPages() {
  const auto vocab = Vocabulary(Numbered(65), "T");
  TRecordingCanvas canvas;
  canvas.m_Copies = 3;
  canvas.m_CanCopy = false;
  QStringList ops = Print(*vocab, Job(1), canvas);
  QCOMPARE(Filtered(ops, "^page|,1420 |12b|begin|end"),
           QStringList({"begin Dadezivu - test.doz", "100,100 12b T", "545,1420 10r 1", "page",
                        "545,1420 10r 2", "page", "100,100 12b T", "545,1420 10r 1", "page",
                        "545,1420 10r 2", "page", "100,100 12b T", "545,1420 10r 1", "page",
                        "545,1420 10r 2", "end"}));

  canvas.m_CanCopy = true;
  ops = Print(*vocab, Job(1), canvas);
  QCOMPARE(Filtered(ops, "12b").size(), 1);
}

void TestPrtUtils::marginsWithoutRoomStopBeforeTheJob() {
  const auto vocab = Vocabulary(Numbered(3));
  TPrintJob job = Job();
  job.PageSetup.MarginLeft = 1440 * 6;
  job.PageSetup.MarginRight = 1440 * 5;  // left and right meet at 600
  TRecordingCanvas canvas;
  QVERIFY_THROWS_EXCEPTION(EVocabFileError, PrintVocabulary(canvas, *vocab, job));
  try {
    PrintVocabulary(canvas, *vocab, job);
  } catch (const EVocabFileError& e) {
    QCOMPARE(QString(e.what()), QStringLiteral("Margins too large for paper."));
  }
  QVERIFY(canvas.Ops.isEmpty());

  job = Job();
  job.PageSetup.MarginTop = job.PageSetup.MarginBottom = 1440 * 15 / 2;
  QVERIFY_THROWS_EXCEPTION(EVocabFileError, PrintVocabulary(canvas, *vocab, job));
  job.PageSetup.MarginBottom -= 15;  // one pixel of room
  QVERIFY(!Print(*vocab, job).isEmpty());
}

void TestPrtUtils::columnCountOutOfRangePrintsOneColumn() {
  const auto vocab = Vocabulary({{std::string(60, 'x'), "", "", ""}});
  for (int32_t columns : {0, 4, -1}) {
    QCOMPARE(Print(*vocab, Job(columns, false)), Print(*vocab, Job(1, false)));
  }
  QCOMPARE(Print(*vocab, Job(1, false)).at(1), "100,100 10b " + QString(60, 'x') + ' ');
}

void TestPrtUtils::failureEndsTheJob() {
  TRecordingCanvas canvas;
  canvas.m_DrawsBeforeFailure = 2;
  QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                           PrintVocabulary(canvas, *Vocabulary(Numbered(3)), Job()));
  QCOMPARE(canvas.Ops, QStringList({"begin Dadezivu - test.doz", "100,100 10b w ", "end"}));
}

void TestPrtUtils::jobNameAndFileBaseName() {
  QTemporaryDir dir;
  auto vocab = Vocabulary(Numbered(1));
  TFontSetting font{QStringLiteral("DejaVu Serif"), 11};
  TPrintJob job = MakePrintJob(*vocab, TPrintOptions{}, TPageSetup{}, font);
  QCOMPARE(QString::fromStdU16String(job.JobName), QStringLiteral("Dadezivu - Untitled"));
  QVERIFY(job.FileBaseName.empty());
  QCOMPARE(job.FontName, std::string("DejaVu Serif"));
  QCOMPARE(job.FontSize, 11);

  vocab->SaveToFile(QFile::encodeName(dir.filePath("my.words.doz")).toStdString());
  job = MakePrintJob(*vocab, TPrintOptions{}, TPageSetup{}, font);
  QCOMPARE(QString::fromStdU16String(job.JobName), QStringLiteral("Dadezivu - my.words.doz"));
  QCOMPARE(QString::fromStdU16String(job.FileBaseName), QStringLiteral("my.words"));
}

void TestPrtUtils::pdfHasThePagesTheLayoutStarted() {
  QTemporaryDir dir;
  TVocabFile vocab;
  vocab.LoadFromFile(DADEZIVU_SOURCE_DIR "/resources/samples/German-English.doz");
  QVERIFY(vocab.Count() > 0);
  TPrintJob job =
      MakePrintJob(vocab, TPrintOptions{}, TPageSetup{}, {QStringLiteral("Times New Roman"), 10});

  // The real metrics decide the page count: the file has as many pages as the layout started.
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath("sample.pdf"));
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setFullPage(true);
  TCountingCanvas canvas(printer);
  PrintVocabulary(canvas, vocab, job);
  QCOMPARE(PdfPageCount(dir.filePath("sample.pdf")), canvas.Pages);

  // A frame lower than two lines holds one entry per column: one page per entry, per copy.
  job.Options.PrintTitle = false;
  job.PageSetup.Columns = 1;
  job.PageSetup.MarginBottom = 16838 - 1440 - 144;  // a tenth of an inch on A4
  const QString forced = dir.filePath("forced.pdf");
  PrintVocabularyToPdf(*Vocabulary(Numbered(5)), job, forced, QPageSize(QPageSize::A4));
  QCOMPARE(PdfPageCount(forced), 5);
  PrintVocabularyToPdf(*Vocabulary(Numbered(5)), job, forced, QPageSize(QPageSize::A4), 2);
  QCOMPARE(PdfPageCount(forced), printer.supportsMultipleCopies() ? 5 : 10);
}

void TestPrtUtils::pdfOfUnwritablePathFails() {
  QTemporaryDir dir;
  const QString path = dir.filePath("missing/folder/x.pdf");
  TPrintJob job = Job();
  try {
    PrintVocabularyToPdf(*Vocabulary(Numbered(2)), job, path, QPageSize(QPageSize::A4));
    QFAIL("no error");
  } catch (const std::runtime_error& e) {
    // With the system's reason.
    QCOMPARE(QString(e.what()), "Cannot create file " + path + ": No such file or directory");
  }
  QVERIFY(!QFile::exists(path));
}

// Qt's PDF engine ignores failed writes: a full disk must still be reported, and the file that
// was there must stay whole.
void TestPrtUtils::failedPdfWriteKeepsTheOldFile() {
  QTemporaryDir dir;
  const QString path = dir.filePath("words.pdf");
  QFile old(path);
  QVERIFY(old.open(QIODevice::WriteOnly));
  old.write("the old file");
  old.close();
  const TPrintJob job = Job();
  {
    TFileSizeLimit full(4096);
    if (!full.Active()) QSKIP("the file size cannot be limited here");
    try {
      PrintVocabularyToPdf(*Vocabulary(Numbered(2000)), job, path, QPageSize(QPageSize::A4));
      QFAIL("no error");
    } catch (const std::runtime_error& e) {
      QCOMPARE(QString(e.what()), QString("Printing failed."));
    }
  }
  QVERIFY(old.open(QIODevice::ReadOnly));
  QCOMPARE(old.readAll(), QByteArray("the old file"));
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"words.pdf"});

  // With room on the disk the same run replaces it.
  PrintVocabularyToPdf(*Vocabulary(Numbered(2000)), job, path, QPageSize(QPageSize::A4));
  QVERIFY(PdfPageCount(path) > 1);
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"words.pdf"});
}

// Bold and italic faces may be taller than the upright one; lines keep one height and one
// baseline all the same, so an entry's styles sit on one line and the spacing stays even.
void TestPrtUtils::realCanvasKeepsOneLineForEveryStyle() {
  TTextPrinter printer;
  TPrinterCanvas canvas(printer);
  canvas.BeginJob(u"styles");
  const std::pair<bool, bool> styles[] = {
      {false, false}, {true, false}, {false, true}, {true, true}};
  bool tallerStyle = false;
  for (const char* face : {"Times New Roman", "DejaVu Serif", "Liberation Serif"}) {
    canvas.SetFont(face, 10);
    const int32_t height = canvas.TextHeight(u" ");
    QVERIFY(height > 0);
    printer.Engine.Baselines.clear();
    QFont font(face);
    font.setPointSize(10);
    const int uprightAscent = QFontMetrics(font, &printer).ascent();
    for (const auto& [bold, italic] : styles) {
      font.setBold(bold);
      font.setItalic(italic);
      tallerStyle |= QFontMetrics(font, &printer).ascent() != uprightAscent;
      canvas.SetFontStyle(bold, italic);
      QCOMPARE(canvas.TextHeight(u" "), height);
      canvas.DrawText(100, 1000, u"x");
    }
    QCOMPARE(printer.Engine.Baselines.size(), 4);
    for (const qreal baseline : std::as_const(printer.Engine.Baselines)) {
      QCOMPARE(baseline, printer.Engine.Baselines.first());
    }
    QVERIFY(printer.Engine.Baselines.first() > 1000);
    canvas.SetFontStyle(false, true);
    canvas.SetFontSize(12);
    canvas.SetFontStyle(false, false);
    QVERIFY(canvas.TextHeight(u" ") > height);
  }
  canvas.EndJob();
  if (!tallerStyle) QSKIP("no installed face has a style of another height; nothing to tell apart");
}

QTEST_MAIN(TestPrtUtils)
#include "tst_prtutils.moc"
