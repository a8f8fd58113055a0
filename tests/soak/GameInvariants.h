#pragma once
// The rules that hold between any two events of a game, and the ways one
// event may change the score and the level. Each check gives a description of
// what is wrong, or an empty text.
#include <QString>

#include "game/GameCore.h"

struct GameSnapshot {
    std::int32_t score = 0;
    std::int32_t level = 1;
    TGameState state = TGameState::gsReady;
    bool inHand = false;

    static GameSnapshot Of(const GameCore& game) { return {game.Score, game.Level, game.GameState, game.InHand}; }
};

// previewMayBeEmpty: the game ended by time-out while a tile was carried, and
// no new game has started since; the preview box then stays empty.
inline QString BrokenInvariant(const GameCore& game, bool previewMayBeEmpty)
{
    const int count = game.PatternCount;
    if (count < 2 || count > 27)
        return QStringLiteral("pattern count %1").arg(count);
    for (int bc = 0; bc < BoardBlocks; ++bc) {
        for (int br = 0; br < BoardBlocks; ++br) {
            int filled = 0;
            for (int dx = 0; dx < 2; ++dx) {
                for (int dy = 0; dy < 2; ++dy) {
                    const int v = game.Board.Cell(2 * bc + dx, 2 * br + dy);
                    if (v < 0 || v > count)
                        return QStringLiteral("cell value %1 with %2 patterns").arg(v).arg(count);
                    filled += v != 0;
                }
            }
            if (filled != 0 && filled != 4)
                return QStringLiteral("block (%1,%2) has %3 of 4 cells filled").arg(bc).arg(br).arg(filled);
        }
    }
    const auto tileInRange = [count](const Tile& t) {
        for (const auto& column : t)
            for (int v : column)
                if (v < 1 || v > count)
                    return false;
        return true;
    };
    if (game.InHand) {
        if (!IsEmpty(game.NextTile))
            return QStringLiteral("the preview holds a tile while one is carried");
        if (!tileInRange(game.HandTile))
            return QStringLiteral("the carried tile has a pattern outside 1..%1").arg(count);
    } else if (!tileInRange(game.NextTile)) {
        const bool allowed = previewMayBeEmpty && game.GameState == TGameState::gsOver && IsEmpty(game.NextTile);
        if (!allowed)
            return QStringLiteral("the preview is not a tile of 1..%1 while none is carried").arg(count);
    }
    std::array<bool, 28> seen{};
    for (int p = 1; p <= 27; ++p) {
        const int image = game.PatternMap[p];
        if (image < 1 || image > 27 || seen[image])
            return QStringLiteral("the symbol assignment is not a permutation");
        seen[image] = true;
    }
    if (game.Clock.TimeLeft > 1.0f)
        return QStringLiteral("more than a full clock: %1").arg(double(game.Clock.TimeLeft));
    const bool playing = game.GameState == TGameState::gsReady || game.GameState == TGameState::gsRunning;
    if (playing && game.Clock.RunOut())
        return QStringLiteral("the clock ran out but the game goes on");
    if (game.Level < 1)
        return QStringLiteral("level %1").arg(game.Level);
    return {};
}

// One event changes the score by s cubed (s = 1..8), by 1000 and the cube of
// the winning lay together with one level up, by -10, or starts a new game
// (score 0, level 1); otherwise score and level stay.
inline QString BrokenStep(const GameSnapshot& before, const GameSnapshot& after)
{
    const std::int32_t delta = after.score - before.score;
    const std::int32_t levels = after.level - before.level;
    if (delta == 0 && levels == 0)
        return {};
    const bool newGame = after.score == 0 && after.level == 1 && after.state == TGameState::gsReady;
    if (newGame)
        return {};
    for (int s = 1; s <= 8; ++s) {
        if (delta == s * s * s && levels == 0)
            return {};
        if (delta == LevelBonus + s * s * s && levels == 1)
            return {};
    }
    if (delta == -DiscardCost && levels == 0)
        return {};
    return QStringLiteral("score %1 -> %2, level %3 -> %4")
        .arg(before.score)
        .arg(after.score)
        .arg(before.level)
        .arg(after.level);
}
