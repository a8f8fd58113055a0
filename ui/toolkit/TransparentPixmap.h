#pragma once
// Pictures are drawn with one colour left out ("transparent colour"), so that
// rounded button corners and the logo's surroundings show what lies behind.
#include <QColor>
#include <QImage>
#include <QPixmap>

// A copy of the picture in which every pixel of exactly the transparent
// colour (red, green, blue; alpha ignored) is fully transparent.
QImage WithTransparentColor(const QImage& picture, QColor transparent);
QPixmap MaskedPixmap(const QImage& picture, QColor transparent);
