#pragma once
// Draws the game onto the board canvas and the tool strip: the window
// texture, the frames, the cells, the preview and discard boxes, the time bar
// and the carried tile. Symbols are scaled once per resize into two sheets,
// so a quarter costs two block copies (AND with the mask, OR with the pattern).
#include <QImage>

#include "assets/TSymbolPicture.h"
#include "game/BoardGeometry.h"
#include "game/Canvas.h"
#include "game/GameCore.h"

class TBoardPainter {
public:
    TBoardPainter(TCanvas& box, const GameCore& game, const QImage& textureSheet, const TSymbolPicture& masks,
                  const TSymbolPicture& pats);

    const BoardGeometry& Geometry() const { return geometry_; }
    int CellSize() const { return geometry_.CellSize; }

    // Background variant 0..6: the row of the texture sheet.
    int BackMode = 0;
    // Centre of the carried tile in canvas pixels.
    int HandX = 0;
    int HandY = 0;

    void ComputeLayout(int boxWidth, int boxHeight);
    // New geometry, symbol sheets, saved-background square and cell
    // background for the current size and BackMode. formWidth and formHeight
    // bound the texture tiling.
    void Resize(int boxWidth, int boxHeight, int formWidth, int formHeight);

    // The whole picture, in its fixed order.
    void Paint(int formWidth, int formHeight);
    // The texture of the tool strip.
    void ToolBoxPaint(TCanvas& toolBox, int clientWidth) const;

    void DrawCell(int column, int row, int value);
    void DrawQuarter(int x, int y, int value);
    void DrawTile(int cx, int cy, const Tile& tile);
    void DrawPreview();
    void ShowHand();
    void HideHand();
    void DrawTimeBar();
    // Every cell with its board value (after a new tableau or level).
    void DrawBoard();

    // One pass of the throw-away animation over the discard box.
    void DarkenDiscardBox(int percent);
    // The 6 x 6 cells of a won square, empty or shown.
    void DrawSquare(BlockPos square, bool shown);

    const QImage& MaskSheet() const { return maskSheet_; }
    const QImage& PatternSheet() const { return patternSheet_; }

private:
    void FramedArea(int left, int top, int width, int height);

    TCanvas& box_;
    const GameCore& game_;
    const QImage& textureSheet_;
    const TSymbolPicture& masks_;
    const TSymbolPicture& pats_;

    BoardGeometry geometry_;
    QImage patternSheet_, maskSheet_, underHand_, boardBack_;
};
