#pragma once
// The two hidden symbol pictures of the main window (`masks` and `pats`):
// 27 symbols in 9 x 3 equal cells of a 5066 x 1681 vector frame, image n in
// column (n - 1) mod 9 and row (n - 1) div 9. The only use is to draw the
// whole picture stretched into a rectangle.
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QPoint>
#include <QRectF>
#include <QString>
#include <memory>

class QSvgRenderer;

class SymbolPicture {
public:
    explicit SymbolPicture(const QString& svgResourcePath);

    bool IsValid() const;
    // Draws the whole picture into target, stretched to its width and height.
    void StretchDraw(QPainter& painter, const QRectF& target) const;

private:
    // Shared so that the picture can be handed around by value; drawing does not change it.
    std::shared_ptr<QSvgRenderer> renderer_;
};

// The c x c square (in logical pixels) that image n (1..27) fills on sheets of
// cell size c, in the device pixels of a sheet rendered at devicePixelRatio
// dpr: the (c * dpr)-square at ((n - 1) mod 9 * c + 1) * dpr,
// ((n - 1) div 9 * c + 1) * dpr. A fractional product is rounded, the same
// way for the cell and for the border, so the squares still tile the sheet.
QRect SymbolSquare(int n, int c, qreal dpr = 1);

// Scales both pictures to (9c + 2) x (3c + 2) logical pixels, that is
// (9c + 2) * dpr x (3c + 2) * dpr device pixels (Format_RGB32, carrying
// devicePixelRatio dpr), the picture itself filling the inside of a border one
// logical pixel wide so that image n fills exactly SymbolSquare(n, c, dpr) at
// every c. The pair is exact, pixel for device pixel, for the board's
// two-step drawing (dest AND mask, then OR pattern):
// the mask is pure black where a symbol covers its cell (at least half a pixel)
// and pure white elsewhere, including the border that belongs to no cut-out
// square; the pattern is pure black wherever the mask is white.
void RenderSymbolSheets(const SymbolPicture& masks, const SymbolPicture& pats, int c, qreal dpr,
                        QImage& maskSheet, QImage& patternSheet);
// The same at one device pixel per logical pixel.
void RenderSymbolSheets(const SymbolPicture& masks, const SymbolPicture& pats, int c,
                        QImage& maskSheet, QImage& patternSheet);

// Draws image n from sheets of cell size c the way the board draws a quarter:
// what the painter's target holds at the logical point `at` is ANDed with the
// mask square, then ORed with the pattern square. The target must have the
// sheets' device pixel ratio, so that their pixels land one to one.
void DrawSymbolQuarter(QPainter& painter, QPoint at, int n, int c, const QImage& maskSheet,
                       const QImage& patternSheet);
