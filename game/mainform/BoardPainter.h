#pragma once
// Draws the board canvas from a scene: the window texture, the frames, the
// cells, the preview and discard boxes, the time bar and the carried tile.
// Symbols are scaled once per resize into two sheets, so a quarter costs two
// block copies (AND with the mask, OR with the pattern).
//
// The painter remembers the scene it drew last. Sync draws only what differs
// from it, taking the carried tile away first wherever something under it
// changes and putting it back last, so that after every Sync the canvas is
// exactly what a full Paint of the same scene draws on a fresh canvas.
#include <QImage>
#include <optional>

#include "assets/SymbolPicture.h"
#include "game/rules/BoardGeometry.h"
#include "game/flow/BoardScene.h"
#include "game/mainform/Canvas.h"

class BoardPainter {
public:
    BoardPainter(PixelCanvas& box, const QImage& textureSheet, const SymbolPicture& masks, const SymbolPicture& pats);

    const BoardGeometry& Geometry() const { return geometry_; }
    int CellSize() const { return geometry_.CellSize; }

    // Background variant 0..6: the row of the texture sheet. Takes effect at the next Resize.
    int BackMode = 0;

    void ComputeLayout(int boxWidth, int boxHeight);
    // New geometry, symbol sheets, saved-background square and backgrounds
    // for the canvas's size and scale and for BackMode; formWidth and
    // formHeight bound the texture tiling. The next Sync paints everything.
    void Resize(int formWidth, int formHeight);

    // The whole picture, in its fixed order.
    void Paint(const BoardScene& scene);
    // Only what differs from the scene drawn last.
    void Sync(const BoardScene& scene);
    // What Paint draws for the scene on a fresh canvas (the canvas stays as it is).
    QImage FreshPicture(const BoardScene& scene) const;
    // The texture of the tool strip.
    void ToolBoxPaint(PixelCanvas& toolBox, int clientWidth) const;

    // --- drawing steps ---------------------------------------------------------
    // Image numbers: 0 draws an empty cell.
    void DrawCell(int column, int row, int image);
    void DrawQuarter(int x, int y, int image);
    // The tile's four quarters around (cx, cy), over whatever lies there.
    void DrawTile(int cx, int cy, const Tile& images);
    void DrawPreview(const Tile& images);
    void DrawDiscard(const std::optional<BoardScene::Discard>& discard);
    void DrawTimeBar(float timeLeft);
    void DrawFocusFrame(bool focused);
    void ShowHand(const BoardScene::Hand& hand);
    void HideHand();

    const QImage& MaskSheet() const { return maskSheet_; }
    const QImage& PatternSheet() const { return patternSheet_; }
    QRect TimeBarRect() const;

private:
    void FramedArea(int left, int top, int width, int height);
    QRect HandRect(const BoardScene::Hand& hand) const;
    QRect CellRect(int column, int row) const;
    void DrawSymbol(int x, int y, int image);
    QRect FocusFrameRect() const;

    PixelCanvas* box_;
    QImage textureSheet_; // at the canvas's scale
    const QImage* originalSheet_;
    const SymbolPicture* masks_;
    const SymbolPicture* pats_;

    BoardGeometry geometry_;
    QImage patternSheet_, maskSheet_, underHand_, boardBack_, windowBack_;
    int sheetsCell_ = 0;  // the cell size and scale the sheets were made for
    int sheetsScale_ = 0;
    std::optional<BoardScene> shown_; // what the canvas shows; none: paint it all
    std::optional<BoardScene::Hand> handShown_;
};
