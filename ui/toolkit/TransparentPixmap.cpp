#include "ui/toolkit/TransparentPixmap.h"

QImage WithTransparentColor(const QImage& picture, QColor transparent)
{
    if (picture.isNull())
        return {};
    // Palette pictures (the grey disabled faces) are converted first so that
    // every pixel can be tested and cleared the same way.
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = transparent.rgb() & RGB_MASK;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & RGB_MASK) == key)
                line[x] = 0;
        }
    }
    return image;
}

QPixmap MaskedPixmap(const QImage& picture, QColor transparent)
{
    return QPixmap::fromImage(WithTransparentColor(picture, transparent));
}
