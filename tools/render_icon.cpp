// SPDX-License-Identifier: MIT
// Renders the program icon's SVG to PNG files of the sizes the icon theme wants.
//   render_icon ICON.svg OUTDIR SIZE... writes OUTDIR/<SIZE>x<SIZE>/apps/<name>.png
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char* argv[]) {
  // No application object: rendering shapes to an image needs no window system, and the build
  // may run without one.
  QStringList args;
  for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  if (args.size() < 4) {
    std::fprintf(stderr, "usage: render_icon ICON.svg OUTDIR SIZE...\n");
    return 2;
  }
  QSvgRenderer renderer(args[1]);
  if (!renderer.isValid()) {
    std::fprintf(stderr, "render_icon: cannot read %s\n", qPrintable(args[1]));
    return 1;
  }
  const QString name = QFileInfo(args[1]).completeBaseName();
  for (qsizetype i = 3; i < args.size(); ++i) {
    bool ok = false;
    const int size = args[i].toInt(&ok);
    if (!ok || size < 1 || size > 1024) {
      std::fprintf(stderr, "render_icon: bad size %s\n", qPrintable(args[i]));
      return 2;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
      QPainter painter(&image);
      painter.setRenderHint(QPainter::Antialiasing);
      renderer.render(&painter);
    }
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args[2]).arg(size);
    const QString file = QStringLiteral("%1/%2.png").arg(folder, name);
    if (!QDir().mkpath(folder) || !image.save(file, "PNG")) {
      std::fprintf(stderr, "render_icon: cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
