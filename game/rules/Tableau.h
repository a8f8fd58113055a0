#pragma once
// Where a level's start tiles lie and how many patterns it deals.
#include <algorithm>
#include <array>

#include "game/rules/Board.h"

// The nine places a start tile can take: a 3 x 3 grid on the odd block
// columns and rows, so no two start tiles touch, not even at a corner.
// Index 0 is unused; a layout entry of 0 means "no tile".
inline constexpr std::array<BlockPos, 10> StartPositions{{
    {0, 0},
    {1, 1}, {3, 1}, {5, 1},
    {1, 3}, {3, 3}, {5, 3},
    {1, 5}, {3, 5}, {5, 5},
}};

// Row k serves the levels with (Level - 1) mod 3 = k: three, six and nine
// start tiles in turn.
inline constexpr std::array<std::array<int, 9>, 3> StartLayouts{{
    {4, 5, 6, 0, 0, 0, 0, 0, 0},
    {1, 3, 4, 6, 7, 9, 0, 0, 0},
    {1, 2, 3, 4, 5, 6, 7, 8, 9},
}};

inline constexpr int MaxPatterns = 27;

// Two patterns on levels 1-3, one more every third level, at most 27.
constexpr int PatternCountForLevel(int level)
{
    return std::min(MaxPatterns, (level - 1) / 3 + 2);
}
