#include "game/mainform/Canvas.h"

#include <algorithm>
#include <cstring>

void PixelCanvas::Resize(int width, int height, int scale)
{
    width_ = std::max(width, 1);
    height_ = std::max(height, 1);
    scale_ = std::max(scale, 1);
    image_ = QImage(width_ * scale_, height_ * scale_, QImage::Format_RGB32);
    image_.setDevicePixelRatio(scale_);
    image_.fill(0xFF000000u);
    dirty_ = QRegion(0, 0, width_, height_);
}

void PixelCanvas::BitBlt(int x, int y, int w, int h, const QImage& source, int sx, int sy, RasterOp op)
{
    // Clip against the source, then against the destination, moving both
    // origins together; all in logical pixels of the same scale.
    const QRect sourceRect(0, 0, source.width() / scale_, source.height() / scale_);
    const QRect clipped = QRect(sx, sy, w, h).intersected(sourceRect);
    const QRect dst = clipped.translated(x - sx, y - sy).intersected(QRect(0, 0, width_, height_));
    if (dst.isEmpty())
        return;
    const QImage* from = &source;
    QImage converted;
    if (source.format() != QImage::Format_RGB32 && source.format() != QImage::Format_ARGB32) {
        converted = source.convertToFormat(QImage::Format_RGB32);
        from = &converted;
    }
    const QRect d = ToDevice(dst);
    const int srcX = (dst.x() - (x - sx)) * scale_;
    const int srcY = (dst.y() - (y - sy)) * scale_;
    for (int row = 0; row < d.height(); ++row) {
        const auto* s = reinterpret_cast<const quint32*>(from->constScanLine(srcY + row)) + srcX;
        auto* p = reinterpret_cast<quint32*>(image_.scanLine(d.y() + row)) + d.x();
        switch (op) {
        case RasterOp::SrcCopy:
            std::memcpy(p, s, sizeof(quint32) * d.width());
            break;
        case RasterOp::SrcAnd:
            for (int i = 0; i < d.width(); ++i)
                p[i] &= s[i];
            break;
        case RasterOp::SrcPaint:
            for (int i = 0; i < d.width(); ++i)
                p[i] |= s[i];
            break;
        }
    }
    MarkDirty(dst);
}

void PixelCanvas::CopyTo(QImage& dest, int sx, int sy, int w, int h) const
{
    if (dest.size() != QSize(w * scale_, h * scale_) || dest.format() != QImage::Format_RGB32)
        dest = QImage(w * scale_, h * scale_, QImage::Format_RGB32);
    dest.setDevicePixelRatio(scale_);
    dest.fill(0xFF000000u);
    const QRect src = ToDevice(QRect(sx, sy, w, h).intersected(QRect(0, 0, width_, height_)));
    for (int row = 0; row < src.height(); ++row) {
        const auto* s = reinterpret_cast<const quint32*>(image_.constScanLine(src.y() + row)) + src.x();
        auto* d = reinterpret_cast<quint32*>(dest.scanLine(src.y() - sy * scale_ + row)) + (src.x() - sx * scale_);
        std::memcpy(d, s, sizeof(quint32) * src.width());
    }
}

void PixelCanvas::Fill(QRect r, QRgb color)
{
    r = r.intersected(QRect(0, 0, width_, height_));
    if (r.isEmpty())
        return;
    color |= 0xFF000000u;
    const QRect d = ToDevice(r);
    for (int row = d.top(); row <= d.bottom(); ++row) {
        auto* p = reinterpret_cast<quint32*>(image_.scanLine(row)) + d.left();
        std::fill(p, p + d.width(), color);
    }
    MarkDirty(r);
}

void PixelCanvas::FrameRectangle(int left, int top, int right, int bottom, int penWidth, QRgb color)
{
    const int before = (penWidth - 1) / 2; // pen pixels outside the edge line
    const int l = left - before, t = top - before;
    const int r = right - 1 - before + penWidth - 1, b = bottom - 1 - before + penWidth - 1; // inclusive
    Fill(QRect(QPoint(l, t), QPoint(r, t + penWidth - 1)), color);            // top
    Fill(QRect(QPoint(l, b - penWidth + 1), QPoint(r, b)), color);            // bottom
    Fill(QRect(QPoint(l, t), QPoint(l + penWidth - 1, b)), color);            // left
    Fill(QRect(QPoint(r - penWidth + 1, t), QPoint(r, b)), color);            // right
}

void PixelCanvas::FillRectangle(int left, int top, int right, int bottom, QRgb color)
{
    if (right > left && bottom > top)
        Fill(QRect(left, top, right - left, bottom - top), color);
}

QRegion PixelCanvas::TakeDirty()
{
    QRegion d = dirty_;
    dirty_ = QRegion();
    return d;
}
