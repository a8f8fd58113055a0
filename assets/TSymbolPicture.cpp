#include "assets/TSymbolPicture.h"

#include <QSvgRenderer>

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

QImage StretchedSheet(const TSymbolPicture& picture, int width, int height, QRgb background)
{
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(background);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    picture.StretchDraw(painter, QRectF(0, 0, width, height));
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

    maskSheet = StretchedSheet(masks, width, height, white);
    patternSheet = StretchedSheet(pats, width, height, black);

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
