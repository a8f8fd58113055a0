#pragma once
// Positions for the tests, made from a dealt game and handed to the rules'
// own check: a test can arrange only what a game could show.
#include <algorithm>
#include <type_traits>

#include "BoardText.h"
#include "game/rules/GameCore.h"

// Edits the current position of the rules (or of what holds them) and hands
// it back to them; false when they refuse it.
template <class Holder, class Edit>
[[nodiscard]] bool Arrange(Holder& holder, Edit edit)
{
    GamePosition p;
    if constexpr (std::is_same_v<Holder, GameCore>)
        p = holder.Position();
    else
        p = holder.Game().Position();
    edit(p);
    return holder.Restore(p);
}

// A level with nine symbols, so that boards written with the digits 1..9 are valid.
inline constexpr int NineSymbolLevel = 22;

// A tile carried over a board written as text, in a running game.
inline void CarryOver(GamePosition& p, const QString& board, const char* tile)
{
    p.Level = std::max(p.Level, NineSymbolLevel);
    p.Board = BoardFromText(board);
    p.HandTile = TileFromText(tile);
    p.NextTile = EmptyTile;
    p.InHand = true;
    p.GameState = TGameState::gsRunning;
}

// A 3 x 3 square of symbol 1 at blocks (0..2, 0..2) with its corner block
// (2,2) still empty, and tile "1111" in hand: laying it there wins the level.
inline const char* const AlmostSquareBoard = R"(
11 11 11 .. .. .. ..
11 11 11 .. .. .. ..
11 11 11 .. .. .. ..
11 11 11 .. .. .. ..
11 11 .. .. .. .. ..
11 11 .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
)";
inline constexpr BlockPos AlmostSquareHole{2, 2};

inline void AboutToWin(GamePosition& p)
{
    p.Board = BoardFromText(AlmostSquareBoard);
    p.HandTile = TileFromText("1111");
    p.NextTile = EmptyTile;
    p.InHand = true;
    p.GameState = TGameState::gsRunning;
}
