#include "assets/SymbolPicture.h"

#include <QSvgRenderer>
#include <algorithm>

SymbolPicture::SymbolPicture(const QString& svgResourcePath)
    : renderer_(std::make_shared<QSvgRenderer>(svgResourcePath))
{
}

bool SymbolPicture::IsValid() const
{
    return renderer_->isValid();
}

void SymbolPicture::StretchDraw(QPainter& painter, const QRectF& target) const
{
    renderer_->render(&painter, target);
}

namespace {

// Whole device pixels: a fractional device pixel ratio rounds the cell and the
// border the same way everywhere.
struct SheetGrid {
    int cell;    // device pixels per cell
    int border;  // device pixels around the 9 x 3 cells
    int Width() const { return 9 * cell + 2 * border; }
    int Height() const { return 3 * cell + 2 * border; }
};

SheetGrid GridFor(int c, qreal dpr)
{
    return {std::max(qRound(c * dpr), 1), std::max(qRound(dpr), 1)};
}

// Small cells of the mask are drawn several times larger and averaged down, so
// that a pixel's grey is its true coverage; the painter's own anti-aliasing is
// too coarse for features about a pixel wide, and the mask's 50 % threshold
// depends on it.
int MaskSupersampling(int cell)
{
    return std::clamp(96 / std::max(cell, 1), 1, 16);
}

// The picture drawn so that each of its cells fills grid.cell device pixels
// square, inside the border. Placed so, every cell lands exactly on the square
// the board cuts it from; stretched over the whole sheet, cell k would drift by
// up to a pixel from its square, which at small cells clips the symbols of the
// first column and row.
QImage StretchedSheet(const SymbolPicture& picture, const SheetGrid& grid, QRgb background, int supersampling)
{
    const int s = supersampling;
    QImage large(9 * grid.cell * s, 3 * grid.cell * s, QImage::Format_RGB32);
    large.fill(background);
    {
        QPainter painter(&large);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        picture.StretchDraw(painter, QRectF(0, 0, large.width(), large.height()));
    }
    QImage sheet(grid.Width(), grid.Height(), QImage::Format_RGB32);
    sheet.fill(background);
    const int area = s * s;
    for (int y = 0; y < 3 * grid.cell; ++y) {
        auto* out = reinterpret_cast<QRgb*>(sheet.scanLine(y + grid.border)) + grid.border;
        for (int x = 0; x < 9 * grid.cell; ++x) {
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

} // namespace

QRect SymbolSquare(int n, int c, qreal dpr)
{
    const SheetGrid grid = GridFor(c, dpr);
    return QRect((n - 1) % 9 * grid.cell + grid.border, (n - 1) / 9 * grid.cell + grid.border, grid.cell, grid.cell);
}

void RenderSymbolSheets(const SymbolPicture& masks, const SymbolPicture& pats, int c, qreal dpr,
                        QImage& maskSheet, QImage& patternSheet)
{
    constexpr QRgb black = 0xff000000;
    constexpr QRgb white = 0xffffffff;
    const SheetGrid grid = GridFor(c, dpr);

    maskSheet = StretchedSheet(masks, grid, white, MaskSupersampling(grid.cell));
    // The pattern is drawn at the sheet's own pixels: the symbols' outlines are
    // strokes of a fixed width in device pixels, which drawing larger and
    // averaging down would thin.
    patternSheet = StretchedSheet(pats, grid, black, 1);

    // The cut-out squares; the border around them belongs to no symbol.
    const QRect squares(grid.border, grid.border, 9 * grid.cell, 3 * grid.cell);
    for (int y = 0; y < grid.Height(); ++y) {
        auto* maskLine = reinterpret_cast<QRgb*>(maskSheet.scanLine(y));
        auto* patternLine = reinterpret_cast<QRgb*>(patternSheet.scanLine(y));
        for (int x = 0; x < grid.Width(); ++x) {
            // Anti-aliased silhouette: a pixel belongs to the symbol when it is at least half covered.
            const bool covered = qGray(maskLine[x]) < 128 && squares.contains(x, y);
            maskLine[x] = covered ? black : white;
            if (!covered)
                patternLine[x] = black;
        }
    }
    maskSheet.setDevicePixelRatio(dpr);
    patternSheet.setDevicePixelRatio(dpr);
}

void RenderSymbolSheets(const SymbolPicture& masks, const SymbolPicture& pats, int c,
                        QImage& maskSheet, QImage& patternSheet)
{
    RenderSymbolSheets(masks, pats, c, 1, maskSheet, patternSheet);
}

void DrawSymbolQuarter(QPainter& painter, QPoint at, int n, int c, const QImage& maskSheet,
                       const QImage& patternSheet)
{
    const QRect square = SymbolSquare(n, c, maskSheet.devicePixelRatio());
    const QPainter::CompositionMode mode = painter.compositionMode();
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.drawImage(at, maskSheet, square);
    painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    painter.drawImage(at, patternSheet, square);
    painter.setCompositionMode(mode);
}
