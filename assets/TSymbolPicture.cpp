#include "assets/TSymbolPicture.h"

#include <QSvgRenderer>
#include <algorithm>

TSymbolPicture::TSymbolPicture(const QString& svgResourcePath)
    : renderer_(std::make_shared<QSvgRenderer>(svgResourcePath))
{
}

bool TSymbolPicture::IsValid() const
{
    return renderer_->isValid();
}

void TSymbolPicture::StretchDraw(QPainter& painter, const QRectF& target) const
{
    renderer_->render(&painter, target);
}

namespace {

// Small cells are drawn several times larger and averaged down, so that a pixel's
// grey is its true coverage; the painter's own anti-aliasing is too coarse for
// features about a pixel wide, and the mask's 50 % threshold depends on it.
int Supersampling(int c)
{
    return std::clamp(96 / std::max(c, 1), 1, 16);
}

QImage StretchedSheet(const TSymbolPicture& picture, int c, QRgb background)
{
    const int s = Supersampling(c);
    QImage large(9 * c * s, 3 * c * s, QImage::Format_RGB32);
    large.fill(background);
    {
        QPainter painter(&large);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        picture.StretchDraw(painter, QRectF(0, 0, large.width(), large.height()));
    }
    // Placed inside the one-pixel border, every cell of the picture lands exactly on
    // the c x c square the board cuts it from. Stretched over the whole
    // (9c + 2) x (3c + 2), cell k would drift by up to a pixel from its square, which
    // at small cells clips the symbols of the first column and row.
    QImage sheet(9 * c + 2, 3 * c + 2, QImage::Format_RGB32);
    sheet.fill(background);
    const int area = s * s;
    for (int y = 0; y < 3 * c; ++y) {
        auto* out = reinterpret_cast<QRgb*>(sheet.scanLine(y + 1)) + 1;
        for (int x = 0; x < 9 * c; ++x) {
            int r = 0, g = 0, b = 0;
            for (int dy = 0; dy < s; ++dy) {
                const auto* in = reinterpret_cast<const QRgb*>(large.constScanLine(y * s + dy)) + x * s;
                for (int dx = 0; dx < s; ++dx) {
                    r += qRed(in[dx]);
                    g += qGreen(in[dx]);
                    b += qBlue(in[dx]);
                }
            }
            out[x] = qRgb((r + area / 2) / area, (g + area / 2) / area, (b + area / 2) / area);
        }
    }
    return sheet;
}

// The cut-out squares cover [1, 9c + 1) x [1, 3c + 1); the outermost ring belongs to no symbol.
bool InsideSomeSquare(int x, int y, int c)
{
    return x >= 1 && x <= 9 * c && y >= 1 && y <= 3 * c;
}

} // namespace

void RenderSymbolSheets(const TSymbolPicture& masks, const TSymbolPicture& pats, int c,
                        QImage& maskSheet, QImage& patternSheet)
{
    const int width = 9 * c + 2;
    const int height = 3 * c + 2;
    constexpr QRgb black = 0xff000000;
    constexpr QRgb white = 0xffffffff;

    maskSheet = StretchedSheet(masks, c, white);
    patternSheet = StretchedSheet(pats, c, black);

    for (int y = 0; y < height; ++y) {
        auto* maskLine = reinterpret_cast<QRgb*>(maskSheet.scanLine(y));
        auto* patternLine = reinterpret_cast<QRgb*>(patternSheet.scanLine(y));
        for (int x = 0; x < width; ++x) {
            // Anti-aliased silhouette: a pixel belongs to the symbol when it is at least half covered.
            const bool covered = qGray(maskLine[x]) < 128 && InsideSomeSquare(x, y, c);
            maskLine[x] = covered ? black : white;
            if (!covered)
                patternLine[x] = black;
        }
    }
}
