#pragma once
// A tile: four pattern numbers indexed [column offset][row offset], so
// [0][0] top-left, [0][1] bottom-left, [1][0] top-right, [1][1] bottom-right.
// Whenever the four are listed, copied or dealt, the order is that flat order:
// top-left, bottom-left, top-right, bottom-right.
#include <array>

using Tile = std::array<std::array<int, 2>, 2>;

inline constexpr Tile EmptyTile{};

// One quarter turn anticlockwise: the top-right quarter moves to the top-left,
// and so on round the tile.
constexpr Tile TurnAnticlockwise(const Tile& t)
{
    Tile r{};
    r[0][0] = t[1][0]; // top-left     <- top-right
    r[1][0] = t[1][1]; // top-right    <- bottom-right
    r[1][1] = t[0][1]; // bottom-right <- bottom-left
    r[0][1] = t[0][0]; // bottom-left  <- top-left
    return r;
}

constexpr bool IsEmpty(const Tile& t)
{
    return t[0][0] == 0 && t[0][1] == 0 && t[1][0] == 0 && t[1][1] == 0;
}
