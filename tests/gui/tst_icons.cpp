// SPDX-License-Identifier: MIT
// Tests of the tool images and the program icon.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QtTest>

#include "platform/Icons.h"

namespace {

QImage Render(const QIcon& icon, int size) {
  return icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
}

int VisiblePixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) >= 128) ++count;
  return count;
}

// All images in index order, the program icon last.
QList<QIcon> AllIcons() {
  QList<QIcon> icons;
  for (int i = 0; i < kToolImageCount; ++i) icons.append(ToolImage(i));
  icons.append(ProgramIcon());
  return icons;
}

}  // namespace

class TestIcons : public QObject {
  Q_OBJECT
private slots:
  void resourcesHoldOneValidSvgPerImage();
  void everyImageRendersVisiblyAtEverySize();
  void anImageThatCannotBeDrawnIsReportedOnce();
  void noTwoImagesLookAlike();
  void writesTheContactSheet();
};

// The file names carry the index, so the resource folder must list them in index order, each a
// well-formed SVG that the renderer accepts without complaint.
void TestIcons::resourcesHoldOneValidSvgPerImage() {
  ProgramIcon();  // registers the resources
  const QStringList files = QDir(":/icons").entryList(QDir::Files, QDir::Name);
  QCOMPARE(files.size(), kToolImageCount + 1);
  for (int i = 0; i < kToolImageCount; ++i)
    QVERIFY2(QRegularExpression(QString("^%1-[a-z-]+\\.svg$").arg(i, 2, 10, QChar('0')))
                 .match(files[i])
                 .hasMatch(),
             qPrintable(files[i]));
  QCOMPARE(files.last(), QString("dadezivu.svg"));

  QTest::failOnWarning(QRegularExpression("."));
  for (const QString& file : files) {
    QSvgRenderer renderer(":/icons/" + file);
    QVERIFY2(renderer.isValid(), qPrintable(file));
    const QSize expected = file == "dadezivu.svg" ? QSize(64, 64) : QSize(16, 16);
    QCOMPARE(renderer.defaultSize(), expected);
  }
}

// An image that failed to load renders as an empty or transparent pixmap; one that lost most of
// its shapes shows only a few pixels.
void TestIcons::anImageThatCannotBeDrawnIsReportedOnce() {
  QTest::ignoreMessage(QtWarningMsg,
                       "Dadezivu: cannot draw the image :/icons/none.svg (is Qt's "
                       "SVG image plugin installed?)");
  QVERIFY(ShippedImage(":/icons/none.svg").pixmap(QSize(16, 16)).isNull());
  QTest::failOnWarning(QRegularExpression("cannot draw"));
  ShippedImage(":/icons/none.svg");
  QVERIFY(!ShippedImage(":/icons/00-new.svg").pixmap(QSize(16, 16)).isNull());
}

void TestIcons::everyImageRendersVisiblyAtEverySize() {
  QTest::failOnWarning(QRegularExpression("."));
  const QList<QIcon> icons = AllIcons();
  for (int i = 0; i < icons.size(); ++i) {
    QVERIFY2(!icons[i].isNull(), qPrintable(QString::number(i)));
    for (int size : {16, 24, 32, 256}) {
      const QImage image = Render(icons[i], size);
      const QString where = QString("image %1 at %2 px").arg(i).arg(size);
      QCOMPARE(image.size(), QSize(size, size));
      QVERIFY2(VisiblePixels(image) >= size * size / 8, qPrintable(where));
    }
  }
}

void TestIcons::noTwoImagesLookAlike() {
  const QList<QIcon> icons = AllIcons();
  QList<QImage> images;
  for (const QIcon& icon : icons) images.append(Render(icon, 16));
  for (int i = 0; i < images.size(); ++i)
    for (int j = i + 1; j < images.size(); ++j)
      QVERIFY2(images[i] != images[j], qPrintable(QString("images %1 and %2").arg(i).arg(j)));
}

// Draws every image at 16 and 32 px on a light and a dark ground, for looking at them side by
// side. Runs only when DADEZIVU_ICON_SHEET names the PNG file to write.
void TestIcons::writesTheContactSheet() {
  const QString target = qEnvironmentVariable("DADEZIVU_ICON_SHEET");
  if (target.isEmpty()) QSKIP("DADEZIVU_ICON_SHEET is not set");

  const int columns = 7, cellWidth = 124, cellHeight = 76;
  const int rows = (kToolImageCount + columns - 1) / columns;
  const int programRow = rows * cellHeight;
  QImage sheet(columns * cellWidth, programRow + 150, QImage::Format_ARGB32);
  sheet.fill(QColor(0xF5, 0xF5, 0xF5));
  QPainter painter(&sheet);
  QFont font = painter.font();
  font.setPixelSize(11);
  painter.setFont(font);
  const QStringList files = QDir(":/icons").entryList(QDir::Files, QDir::Name);

  for (int i = 0; i < kToolImageCount; ++i) {
    const QIcon icon = ToolImage(i);
    const int x = (i % columns) * cellWidth, y = (i / columns) * cellHeight;
    painter.fillRect(x + 4, y + 4, 56, 44, Qt::white);
    painter.fillRect(x + 64, y + 4, 56, 44, QColor(0x2B, 0x2F, 0x33));
    for (int ground : {0, 1}) {
      const int left = x + 4 + ground * 60;
      painter.drawPixmap(left + 4, y + 18, icon.pixmap(16));
      painter.drawPixmap(left + 22, y + 10, icon.pixmap(32));
    }
    painter.setPen(QColor(0x37, 0x47, 0x4F));
    painter.drawText(QRect(x + 4, y + 50, cellWidth - 8, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     QString(files.value(i)).remove(".svg"));
  }

  const QIcon program = ProgramIcon();
  int left = 8;
  for (int size : {16, 32, 48, 64, 128}) {
    painter.drawPixmap(left, programRow + 8 + (128 - size), program.pixmap(size));
    left += size + 16;
  }
  painter.drawText(QRect(8, programRow + 136, 400, 14), Qt::AlignLeft | Qt::AlignVCenter,
                   "dadezivu (program icon)");
  painter.end();
  QVERIFY2(sheet.save(target, "PNG"), qPrintable(target));
}

QTEST_MAIN(TestIcons)
#include "tst_icons.moc"
