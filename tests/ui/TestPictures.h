#pragma once
// Small stand-in pictures for the widget tests: faces with known colours and
// corners in a known transparent colour, and a face whose every pixel differs.
#include <QColor>
#include <QImage>
#include <QPainter>

// A 50 x 50 button face: a square of `fill` with 4 x 4 corners of `corner`.
inline QImage ButtonFace(QColor fill, QColor corner = Qt::white)
{
    QImage image(50, 50, QImage::Format_RGB32);
    image.fill(fill);
    QPainter painter(&image);
    for (const QPoint& at : {QPoint(0, 0), QPoint(46, 0), QPoint(0, 46), QPoint(46, 46)})
        painter.fillRect(QRect(at, QSize(4, 4)), corner);
    return image;
}

// A picture in which neighbouring pixels differ, so that any shift shows.
inline QImage PatternFace(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 37 + 11) % 256, (y * 53 + 7) % 256, (x * 13 + y * 29) % 256));
    return image;
}
