// SPDX-License-Identifier: MIT
// The tick and the cross shown after an answer, recoloured to the feedback colour.
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

#include <cstdint>

// An option colour (0x00BBGGRR: red in the low byte) as a QColor.
QColor OptionColour(uint32_t colour);

// The two templates: a black tick or cross on white, 20 x 20 pixels, no other colours.
QImage TickImage();
QImage CrossImage();

// Every pixel of colour from becomes to; all others stay.
void ReplaceColour(QImage& image, QColor from, QColor to);

// The tick (correct) or the cross in colour, an option colour. The white background stays the
// transparent colour; when colour is white itself the background turns pure red first, so that
// the glyph stays apart from it.
QImage ResultPicture(bool correct, uint32_t colour);

// The picture with every pixel of its bottom-left pixel's colour made transparent.
QImage TransparentPicture(const QImage& picture);

// imgResult: shows a result picture centred, its background colour not drawn.
class TResultImage : public QWidget {
  Q_OBJECT
public:
  explicit TResultImage(QWidget* parent = nullptr);

  const QImage& Picture() const { return m_Picture; }
  void SetPicture(const QImage& picture);

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QImage m_Picture;
  QImage m_Shown;
};
