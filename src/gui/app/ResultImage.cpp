// SPDX-License-Identifier: MIT
// The tick and the cross shown after an answer, recoloured to the feedback colour.
#include "app/ResultImage.h"

#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int kImageSize = 20;

// Drawn without antialiasing, so that the picture holds exactly two colours and recolouring
// reaches every pixel of the glyph.
QImage Template(const QPainterPath& glyph) {
  QImage image(kImageSize, kImageSize, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter.drawPath(glyph);
  return image;
}
}  // namespace

QColor OptionColour(uint32_t colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

QImage TickImage() {
  QPainterPath path;
  path.moveTo(4, 10);
  path.lineTo(8, 14);
  path.lineTo(15, 4);
  return Template(path);
}

QImage CrossImage() {
  QPainterPath path;
  path.moveTo(5, 5);
  path.lineTo(14, 14);
  path.moveTo(14, 5);
  path.lineTo(5, 14);
  return Template(path);
}

void ReplaceColour(QImage& image, QColor from, QColor to) {
  const QRgb source = from.rgb();
  const QRgb target = to.rgb();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) == source) image.setPixel(x, y, target);
    }
  }
}

QImage ResultPicture(bool correct, uint32_t colour) {
  QImage picture = correct ? TickImage() : CrossImage();
  if ((colour & 0xFFFFFF) == 0xFFFFFF) ReplaceColour(picture, Qt::white, QColor(0xFF, 0, 0));
  ReplaceColour(picture, Qt::black, OptionColour(colour));
  return picture;
}

QImage TransparentPicture(const QImage& picture) {
  if (picture.isNull()) return {};
  QImage shown = picture.convertToFormat(QImage::Format_ARGB32);
  const QRgb transparent = shown.pixel(0, shown.height() - 1);
  for (int y = 0; y < shown.height(); ++y) {
    for (int x = 0; x < shown.width(); ++x) {
      if (shown.pixel(x, y) == transparent) shown.setPixel(x, y, qRgba(0, 0, 0, 0));
    }
  }
  return shown;
}

TResultImage::TResultImage(QWidget* parent) : QWidget(parent) {
  setObjectName("imgResult");
  setFixedSize(20, 29);
  // A double-click on it is one on the question.
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TResultImage::SetPicture(const QImage& picture) {
  m_Picture = picture;
  m_Shown = TransparentPicture(picture);
  update();
}

void TResultImage::paintEvent(QPaintEvent*) {
  if (m_Shown.isNull()) return;
  QPainter painter(this);
  painter.drawImage((width() - m_Shown.width()) / 2, (height() - m_Shown.height()) / 2, m_Shown);
}
