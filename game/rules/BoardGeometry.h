#pragma once
// Where the board, the preview box, the discard box and the time bar lie on
// the board canvas, all in whole cells derived from the canvas size, and which
// of them a press hits.
#include <algorithm>
#include <optional>

#include "game/rules/Board.h"

// The 2-pixel gap between blocks, which shows the black under the cells.
inline constexpr int BlockGap = 2;

// A point and an area on the board canvas, in pixels.
struct CanvasPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const CanvasPoint&, const CanvasPoint&) = default;
};
struct CanvasRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const CanvasRect&, const CanvasRect&) = default;
};

struct BoardGeometry {
    int CellSize = 1;
    int BoardLeft = 0;
    int BoardTop = 0;
    int PreviewLeft = 0;
    int PreviewTop = 0;

    // The board (14 cells and 6 gaps) and the side column one cell to its
    // right, centred on a canvas of the given size.
    static BoardGeometry ComputeLayout(int width, int height)
    {
        BoardGeometry g;
        const int c = std::min(width / 19, height / 16);
        g.CellSize = c;
        g.BoardLeft = (width - 17 * c - 12) / 2;
        g.BoardTop = (height - 14 * c - 12) / 2;
        g.PreviewLeft = g.BoardLeft + 15 * c + 12;
        g.PreviewTop = g.BoardTop;
        return g;
    }

    int BoardSize() const { return 14 * CellSize + 6 * BlockGap; }
    int BoxSize() const { return 2 * CellSize + 2; } // preview and discard box
    int DiscardTop() const { return PreviewTop + 3 * CellSize; }
    int TimeBarTop() const { return PreviewTop + 6 * CellSize; }

    // The side column, framed areas: the preview box, the discard box, the time bar.
    CanvasRect PreviewRect() const { return {PreviewLeft, PreviewTop, BoxSize(), BoxSize()}; }
    CanvasRect DiscardRect() const { return {PreviewLeft, DiscardTop(), BoxSize(), BoxSize()}; }
    CanvasRect TimeBarRect() const { return {PreviewLeft, TimeBarTop(), BoxSize(), CellSize}; }
    // Where a tile is drawn in the preview and the discard box (the centre of
    // its four quarters), and where the keys press to take or throw away a tile.
    CanvasPoint PreviewCentre() const { return {PreviewLeft + CellSize, PreviewTop + CellSize}; }
    CanvasPoint DiscardCentre() const { return {PreviewLeft + CellSize, DiscardTop() + CellSize}; }
    // What a thrown tile's darkening covers: the discard box's inside and its
    // inner frame line, one pixel beyond the tile to the right and below.
    CanvasRect DiscardDarkening() const { return {PreviewLeft, DiscardTop(), 2 * CellSize + 1, 2 * CellSize + 1}; }

    int CellX(int column) const { return BoardLeft + column * CellSize + BlockGap * (column / 2); }
    int CellY(int row) const { return BoardTop + row * CellSize + BlockGap * (row / 2); }

    // Strictly inside the tile area of the preview or the discard box.
    bool InPreview(int x, int y) const { return InTileArea(PreviewRect(), x, y); }
    bool InDiscard(int x, int y) const { return InTileArea(DiscardRect(), x, y); }

    // The block drawn under a point; nothing on the gaps between blocks, on
    // the frame or outside the board.
    std::optional<BlockPos> BlockAt(int x, int y) const
    {
        const auto index = [this](int offset) -> std::optional<int> {
            const int pitch = 2 * CellSize + BlockGap;
            if (offset < 0 || offset >= BoardBlocks * pitch)
                return std::nullopt;
            if (offset % pitch >= 2 * CellSize)
                return std::nullopt;
            return offset / pitch;
        };
        const auto column = index(x - BoardLeft);
        const auto row = index(y - BoardTop);
        if (!column || !row)
            return std::nullopt;
        return BlockPos{*column, *row};
    }

    // Inside the board's cells and gaps.
    bool OnBoard(int x, int y) const
    {
        return BoardLeft <= x && x < BoardLeft + BoardSize() && BoardTop <= y && y < BoardTop + BoardSize();
    }

    // The block under a point, the one left of or above a gap, or the
    // nearest one when the point is off the board.
    BlockPos NearestBlock(int x, int y) const
    {
        const int pitch = 2 * CellSize + BlockGap;
        const auto index = [pitch](int offset) { return std::clamp(offset < 0 ? 0 : offset / pitch, 0, BoardBlocks - 1); };
        return BlockPos{index(x - BoardLeft), index(y - BoardTop)};
    }

    // Centre of a block, where the keyboard puts the carried tile.
    int BlockCentreX(int column) const { return CellX(2 * column) + CellSize; }
    int BlockCentreY(int row) const { return CellY(2 * row) + CellSize; }


private:
    bool InTileArea(const CanvasRect& box, int x, int y) const
    {
        const int c2 = 2 * CellSize;
        return box.left < x && x < box.left + c2 && box.top < y && y < box.top + c2;
    }
};
