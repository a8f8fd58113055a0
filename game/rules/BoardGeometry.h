#pragma once
// Where the board, the preview box, the discard box and the time bar lie on
// the board canvas, all in whole cells derived from the canvas size, and which
// of them a press hits.
#include <algorithm>
#include <optional>

#include "game/rules/Board.h"

// The 2-pixel gap between blocks, which shows the black under the cells.
inline constexpr int BlockGap = 2;

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
    int DiscardTop() const { return BoardTop + 3 * CellSize; }
    int TimeBarTop() const { return BoardTop + 6 * CellSize; }

    int CellX(int column) const { return BoardLeft + column * CellSize + BlockGap * (column / 2); }
    int CellY(int row) const { return BoardTop + row * CellSize + BlockGap * (row / 2); }

    bool InPreview(int x, int y) const
    {
        const int c2 = 2 * CellSize;
        return PreviewLeft < x && x < PreviewLeft + c2 && PreviewTop < y && y < PreviewTop + c2;
    }
    bool InDiscard(int x, int y) const
    {
        const int c = CellSize;
        return PreviewLeft < x && x < PreviewLeft + 2 * c && PreviewTop + 3 * c < y && y < PreviewTop + 5 * c;
    }

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
};
