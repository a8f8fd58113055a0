#pragma once
// A drawing surface that behaves like a window canvas of the classic desktop
// API: bit-block copies with the raster operations copy, AND and OR,
// rectangles with a pen and a brush, and single pixels, all on a 32-bit image.
// Every operation records the area it changed, so the widget showing the
// canvas copies only that part to the screen.
//
// Coordinates are logical pixels. The image itself has Scale() device pixels
// per logical pixel, so that on a high-density screen every copy, rectangle
// and pixel operation works at the screen's own resolution; a source image
// must have the same device pixel ratio.
#include <QImage>
#include <QRegion>

enum class RasterOp { SrcCopy, SrcAnd, SrcPaint };

class PixelCanvas {
public:
    // A new, black surface of the given logical size.
    void Resize(int width, int height, int scale = 1);
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Scale() const { return scale_; }
    // The image in device pixels (its device pixel ratio is Scale()).
    const QImage& Image() const { return image_; }

    // Copies w x h pixels from (sx, sy) of source to (x, y), combined by op.
    // Both rectangles are clipped to their images.
    void BitBlt(int x, int y, int w, int h, const QImage& source, int sx, int sy, RasterOp op);
    // Copies from this canvas into dest (w x h at (sx, sy) to (0, 0) of dest).
    void CopyTo(QImage& dest, int sx, int sy, int w, int h) const;

    // The outline of Rectangle(left, top, right, bottom) with a solid pen of
    // the given width and no brush; the pen is centred on the edges, whose
    // right and bottom lie at right - 1 and bottom - 1.
    void FrameRectangle(int left, int top, int right, int bottom, int penWidth, QRgb color);
    // Rectangle with a one-pixel pen and a solid brush of the same colour:
    // left..right-1 by top..bottom-1.
    void FillRectangle(int left, int top, int right, int bottom, QRgb color);

    // Reads every device pixel of the logical rectangle r (x as the outer
    // loop) and writes back f(pixel).
    template <class F>
    void TransformPixels(QRect r, F f)
    {
        r = r.intersected(QRect(0, 0, width_, height_));
        const QRect d = ToDevice(r);
        for (int x = d.left(); x <= d.right(); ++x)
            for (int y = d.top(); y <= d.bottom(); ++y) {
                auto* p = reinterpret_cast<quint32*>(image_.scanLine(y)) + x;
                *p = f(*p) | 0xFF000000u;
            }
        if (!r.isEmpty())
            MarkDirty(r);
    }

    // The logical area changed since the last call.
    QRegion TakeDirty();

private:
    QRect ToDevice(const QRect& r) const { return {r.x() * scale_, r.y() * scale_, r.width() * scale_, r.height() * scale_}; }
    void Fill(QRect r, QRgb color);
    void MarkDirty(const QRect& r) { dirty_ += r; }

    QImage image_;
    int width_ = 0;
    int height_ = 0;
    int scale_ = 1;
    QRegion dirty_;
};
