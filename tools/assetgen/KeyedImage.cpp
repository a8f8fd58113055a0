#include "KeyedImage.h"

#include <algorithm>
#include <cstring>
#include <cmath>

QImage FlattenOnKey(const QImage& drawing, QColor key, QColor underlay)
{
    const QImage source = drawing.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage out(source.size(), QImage::Format_RGB32);
    const QRgb keyRgb = key.rgb() | 0xff000000;
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const int alpha = qAlpha(in[x]);
            if (alpha < 128) {
                line[x] = keyRgb;
                continue;
            }
            const double rest = (255 - alpha) / 255.0;
            int r = int(std::lround(qRed(in[x]) + rest * underlay.red()));
            int g = int(std::lround(qGreen(in[x]) + rest * underlay.green()));
            int b = int(std::lround(qBlue(in[x]) + rest * underlay.blue()));
            QRgb rgb = qRgb(std::min(r, 255), std::min(g, 255), std::min(b, 255));
            if (rgb == keyRgb)  // would become a hole in the drawing
                rgb = qRgb(qRed(rgb) ^ 1, qGreen(rgb), qBlue(rgb));
            line[x] = rgb;
        }
    }
    return out;
}

QImage GreyDisabled(const QImage& picture, QColor key)
{
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    QImage out(source.size(), QImage::Format_Indexed8);
    // Rows are padded to whole words; clear the padding too, so every build writes the same file.
    std::memset(out.bits(), 0, size_t(out.sizeInBytes()));
    QList<QRgb> greys;
    for (int i = 0; i < 256; ++i)
        greys.append(qRgb(i, i, i));
    out.setColorTable(greys);
    const QRgb keyRgb = key.rgb() | 0xff000000;
    const int keyIndex = qGray(keyRgb);
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        uchar* line = out.scanLine(y);
        for (int x = 0; x < source.width(); ++x) {
            if ((in[x] | 0xff000000) == keyRgb) {
                line[x] = uchar(keyIndex);
                continue;
            }
            const int faded = int(std::lround(78 + 0.62 * qGray(in[x])));
            line[x] = uchar(faded == keyIndex ? faded - 1 : faded);
        }
    }
    return out;
}
