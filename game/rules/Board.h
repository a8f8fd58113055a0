#pragma once
// The board: 14 x 14 quarter cells in 7 x 7 blocks (tile places), indexed
// [column][row]. 0 is an empty cell, 1..27 a pattern number.
#include "game/rules/Tile.h"

#include <array>
#include <optional>

inline constexpr int BoardCells = 14;
inline constexpr int BoardBlocks = 7;

struct BlockPos {
    int column = 0;
    int row = 0;
    friend bool operator==(const BlockPos&, const BlockPos&) = default;
};

class BoardGrid {
public:
    using Cells = std::array<std::array<int, BoardCells>, BoardCells>;

    int Cell(int column, int row) const { return cells_[column][row]; }
    void SetCell(int column, int row, int value) { cells_[column][row] = value; }
    const Cells& AllCells() const { return cells_; }
    void Clear() { cells_ = {}; }

    // Tiles are laid whole, so a block is empty when its top-left cell is.
    bool BlockEmpty(BlockPos b) const { return cells_[2 * b.column][2 * b.row] == 0; }
    void PutTile(BlockPos b, const Tile& tile);
    Tile TileAt(BlockPos b) const;

    // Matching quarters minus differing quarters across the four block edges.
    // Empty neighbour cells count neither way, so the result lies in -8..8.
    int Balance(BlockPos b, const Tile& tile) const;

    // The first completely covered 3 x 3 square of blocks, searched by square
    // column (outer) then square row; gives its top-left block.
    std::optional<BlockPos> FindFullSquare() const;

private:
    Cells cells_{};
};

constexpr bool IsBlockOnBoard(BlockPos b)
{
    return b.column >= 0 && b.column < BoardBlocks && b.row >= 0 && b.row < BoardBlocks;
}
