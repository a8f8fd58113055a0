#include "game/rules/Board.h"

void BoardGrid::PutTile(BlockPos b, const Tile& tile)
{
    for (int dx = 0; dx < 2; ++dx)
        for (int dy = 0; dy < 2; ++dy)
            cells_[2 * b.column + dx][2 * b.row + dy] = tile[dx][dy];
}

Tile BoardGrid::TileAt(BlockPos b) const
{
    Tile t{};
    for (int dx = 0; dx < 2; ++dx)
        for (int dy = 0; dy < 2; ++dy)
            t[dx][dy] = cells_[2 * b.column + dx][2 * b.row + dy];
    return t;
}

int BoardGrid::Balance(BlockPos b, const Tile& tile) const
{
    const int c = 2 * b.column;
    const int r = 2 * b.row;
    const int topLeft = tile[0][0], bottomLeft = tile[0][1];
    const int topRight = tile[1][0], bottomRight = tile[1][1];

    int s = 0;
    auto compare = [&s](int quarter, int neighbour) {
        if (neighbour != 0)
            s += (neighbour == quarter) ? 1 : -1;
    };
    if (b.column > 0) { // left
        compare(topLeft, cells_[c - 1][r]);
        compare(bottomLeft, cells_[c - 1][r + 1]);
    }
    if (b.row > 0) { // top
        compare(topLeft, cells_[c][r - 1]);
        compare(topRight, cells_[c + 1][r - 1]);
    }
    if (b.column < BoardBlocks - 1) { // right
        compare(topRight, cells_[c + 2][r]);
        compare(bottomRight, cells_[c + 2][r + 1]);
    }
    if (b.row < BoardBlocks - 1) { // bottom
        compare(bottomLeft, cells_[c][r + 2]);
        compare(bottomRight, cells_[c + 1][r + 2]);
    }
    return s;
}

std::optional<BlockPos> BoardGrid::FindFullSquare() const
{
    for (int sc = 0; sc <= BoardBlocks - 3; ++sc)
        for (int sr = 0; sr <= BoardBlocks - 3; ++sr) {
            bool full = true;
            for (int dx = 0; dx < 6 && full; ++dx)
                for (int dy = 0; dy < 6 && full; ++dy)
                    full = cells_[2 * sc + dx][2 * sr + dy] != 0;
            if (full)
                return BlockPos{sc, sr};
        }
    return std::nullopt;
}
