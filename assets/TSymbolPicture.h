#pragma once
// The two hidden symbol pictures of the main window (`masks` and `pats`):
// 27 symbols in 9 x 3 equal cells of a 5066 x 1681 vector frame, image n in
// column (n - 1) mod 9 and row (n - 1) div 9. The only use is to draw the
// whole picture stretched into a rectangle.
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <memory>

class QSvgRenderer;

class TSymbolPicture {
public:
    explicit TSymbolPicture(const QString& svgResourcePath);

    bool IsValid() const;
    // Draws the whole picture into target, stretched to its width and height.
    void StretchDraw(QPainter& painter, const QRectF& target) const;

private:
    // Shared so that the picture can be handed around by value; drawing does not change it.
    std::shared_ptr<QSvgRenderer> renderer_;
};

// Scales both pictures to (9c + 2) x (3c + 2) pixels (Format_RGB32), the picture
// itself filling the 9c x 3c inside a one-pixel border so that image n fills
// exactly its square at every c, and makes the pair exact for the board's
// two-step drawing (dest AND mask, then OR pattern):
// the mask is pure black where a symbol covers its cell (at least half a pixel)
// and pure white elsewhere, including the one-pixel border that belongs to no
// cut-out square; the pattern is pure black wherever the mask is white.
// Image n is then cut from the c x c square at
// ((n - 1) mod 9 * c + 1, (n - 1) div 9 * c + 1).
void RenderSymbolSheets(const TSymbolPicture& masks, const TSymbolPicture& pats, int c,
                        QImage& maskSheet, QImage& patternSheet);
