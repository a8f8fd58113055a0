#include "game/Canvas.h"

#include <cstring>

void TCanvas::Resize(int width, int height)
{
    image_ = QImage(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    image_.fill(0xFF000000u);
    dirty_ = QRegion(image_.rect());
}

void TCanvas::BitBlt(int x, int y, int w, int h, const QImage& source, int sx, int sy, RasterOp op)
{
    // Clip against the source, then against the destination, moving both origins together.
    QRect src(sx, sy, w, h);
    QRect clipped = src.intersected(source.rect());
    QRect dst = clipped.translated(x - sx, y - sy).intersected(image_.rect());
    if (dst.isEmpty())
        return;
    const int srcX = dst.x() - (x - sx);
    const int srcY = dst.y() - (y - sy);
    const QImage* from = &source;
    QImage converted;
    if (source.format() != QImage::Format_RGB32 && source.format() != QImage::Format_ARGB32) {
        converted = source.convertToFormat(QImage::Format_RGB32);
        from = &converted;
    }
    for (int row = 0; row < dst.height(); ++row) {
        const auto* s = reinterpret_cast<const quint32*>(from->constScanLine(srcY + row)) + srcX;
        auto* d = reinterpret_cast<quint32*>(image_.scanLine(dst.y() + row)) + dst.x();
        switch (op) {
        case RasterOp::SrcCopy:
            std::memcpy(d, s, sizeof(quint32) * dst.width());
            break;
        case RasterOp::SrcAnd:
            for (int i = 0; i < dst.width(); ++i)
                d[i] &= s[i];
            break;
        case RasterOp::SrcPaint:
            for (int i = 0; i < dst.width(); ++i)
                d[i] |= s[i];
            break;
        }
    }
    MarkDirty(dst);
}

void TCanvas::CopyTo(QImage& dest, int sx, int sy, int w, int h) const
{
    if (dest.size() != QSize(w, h) || dest.format() != QImage::Format_RGB32)
        dest = QImage(w, h, QImage::Format_RGB32);
    dest.fill(0xFF000000u);
    const QRect src = QRect(sx, sy, w, h).intersected(image_.rect());
    for (int row = 0; row < src.height(); ++row) {
        const auto* s = reinterpret_cast<const quint32*>(image_.constScanLine(src.y() + row)) + src.x();
        auto* d = reinterpret_cast<quint32*>(dest.scanLine(src.y() - sy + row)) + (src.x() - sx);
        std::memcpy(d, s, sizeof(quint32) * src.width());
    }
}

void TCanvas::Fill(QRect r, QRgb color)
{
    r = r.intersected(image_.rect());
    if (r.isEmpty())
        return;
    color |= 0xFF000000u;
    for (int row = r.top(); row <= r.bottom(); ++row) {
        auto* d = reinterpret_cast<quint32*>(image_.scanLine(row)) + r.left();
        std::fill(d, d + r.width(), color);
    }
    MarkDirty(r);
}

void TCanvas::FrameRectangle(int left, int top, int right, int bottom, int penWidth, QRgb color)
{
    const int before = (penWidth - 1) / 2; // pen pixels outside the edge line
    const int l = left - before, t = top - before;
    const int r = right - 1 - before + penWidth - 1, b = bottom - 1 - before + penWidth - 1; // inclusive
    Fill(QRect(QPoint(l, t), QPoint(r, t + penWidth - 1)), color);            // top
    Fill(QRect(QPoint(l, b - penWidth + 1), QPoint(r, b)), color);            // bottom
    Fill(QRect(QPoint(l, t), QPoint(l + penWidth - 1, b)), color);            // left
    Fill(QRect(QPoint(r - penWidth + 1, t), QPoint(r, b)), color);            // right
}

void TCanvas::FillRectangle(int left, int top, int right, int bottom, QRgb color)
{
    if (right > left && bottom > top)
        Fill(QRect(left, top, right - left, bottom - top), color);
}

QRgb TCanvas::Pixel(int x, int y) const
{
    return image_.valid(x, y) ? image_.pixel(x, y) : 0xFF000000u;
}

void TCanvas::SetPixel(int x, int y, QRgb color)
{
    if (!image_.valid(x, y))
        return;
    reinterpret_cast<quint32*>(image_.scanLine(y))[x] = color | 0xFF000000u;
    MarkDirty(QRect(x, y, 1, 1));
}

QRegion TCanvas::TakeDirty()
{
    QRegion d = dirty_;
    dirty_ = QRegion();
    return d;
}
