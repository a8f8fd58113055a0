#pragma once
// Small measurements on screen pictures: parts of them, their mean colour,
// how much of an area is black, how colourful it is, where two differ.
#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>
#include <algorithm>
#include <cmath>

namespace Pixels {

inline QImage Part(const QImage& image, const QRect& r)
{
    return image.copy(r);
}

inline bool Same(const QImage& a, const QImage& b)
{
    return !a.isNull() && a.size() == b.size() && a == b;
}

struct Mean {
    double red = 0, green = 0, blue = 0;
    double DistanceTo(const Mean& o) const
    {
        return std::sqrt((red - o.red) * (red - o.red) + (green - o.green) * (green - o.green) +
                         (blue - o.blue) * (blue - o.blue));
    }
};

inline Mean MeanColour(const QImage& image, const QRect& r)
{
    Mean m;
    const QRect area = r.intersected(image.rect());
    if (area.isEmpty())
        return m;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            m.red += qRed(p);
            m.green += qGreen(p);
            m.blue += qBlue(p);
        }
    const double n = double(area.width()) * area.height();
    m.red /= n;
    m.green /= n;
    m.blue /= n;
    return m;
}

// Share of the area whose pixels are (nearly) black.
inline double BlackShare(const QImage& image, const QRect& r)
{
    const QRect area = r.intersected(image.rect());
    if (area.isEmpty())
        return 0;
    int black = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qRed(p) < 16 && qGreen(p) < 16 && qBlue(p) < 16)
                ++black;
        }
    return double(black) / (double(area.width()) * area.height());
}

// Pixels whose strongest and weakest channel lie far apart: pictures and
// coloured symbols, not grey text or white paper.
inline int ColourfulPixels(const QImage& image, const QRect& r, int minChroma = 60)
{
    const QRect area = r.intersected(image.rect());
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            const int hi = std::max({qRed(p), qGreen(p), qBlue(p)});
            const int lo = std::min({qRed(p), qGreen(p), qBlue(p)});
            if (hi - lo >= minChroma)
                ++count;
        }
    return count;
}

// Where a picture differs from the one expected, outside the areas left out.
struct Difference {
    int pixels = 0;  // how many differ (all of them when the sizes differ)
    QRect bounds;    // around all that differ
    QImage map;      // the expected picture faded, the differing pixels red
};

inline Difference Compare(const QImage& actual, const QImage& expected, const QList<QRect>& leftOut)
{
    Difference d;
    if (actual.size() != expected.size()) {
        d.pixels = std::max(actual.width() * actual.height(), expected.width() * expected.height());
        d.bounds = actual.rect().united(expected.rect());
        return d;
    }
    d.map = expected.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb e = expected.pixel(x, y);
            QRgb mark = qRgb(128 + qGray(e) / 2, 128 + qGray(e) / 2, 128 + qGray(e) / 2);
            const bool left = std::any_of(leftOut.begin(), leftOut.end(), [&](const QRect& r) { return r.contains(x, y); });
            if (left)
                mark = qRgb(96, 96, 160);
            else if ((actual.pixel(x, y) & 0xFFFFFFu) != (e & 0xFFFFFFu)) {
                mark = qRgb(255, 0, 0);
                ++d.pixels;
                d.bounds |= QRect(x, y, 1, 1);
            }
            d.map.setPixel(x, y, mark);
        }
    return d;
}

} // namespace Pixels
