#pragma once
// The rules that hold between any two events of a game, and the ways one
// event may change the score and the level. Each check gives a description of
// what is wrong, or an empty text.
#include <QString>

#include <algorithm>
#include <vector>

#include "game/rules/GameCore.h"

struct GameSnapshot {
    std::int32_t score = 0;
    std::int32_t level = 1;
    TGameState state = TGameState::gsReady;
    bool inHand = false;

    static GameSnapshot Of(const GameCore& game)
    {
        return {game.Score(), game.Level(), game.GameState(), game.InHand()};
    }
};

// previewMayBeEmpty: the game ended by time-out while a tile was carried, and
// no new game has started since; the preview box then stays empty. It stays
// empty as well while a won level waits for its next tableau.
inline QString BrokenInvariant(const GameCore& game, bool previewMayBeEmpty)
{
    const bool levelPending = game.LevelWon() || game.NextLevelDue();
    return QString::fromStdString(GameCore::BrokenInvariant(game.Position(), previewMayBeEmpty || levelPending));
}

// One event changes the score by s cubed (s = 1..8) for a lay, by -10 for a
// throw-away, by 1000 with one level up for a won level, or starts a new game
// (score 0, level 1); otherwise score and level stay. An event that ends an
// animation also handles the events that waited for it, so it may add up to
// that many of these steps (a new game among them starts the count afresh).
inline QString BrokenStep(const GameSnapshot& before, const GameSnapshot& after, int steps = 1)
{
    const std::int32_t delta = after.score - before.score;
    const std::int32_t levels = after.level - before.level;
    if (delta == 0 && levels == 0)
        return {};
    const bool newGame = after.level == 1 && after.state != TGameState::gsOver && after.score <= 512 * steps;
    if (newGame && (after.score == 0 || steps > 1))
        return {};
    // The rest after the level bonuses and at most one discard per step must
    // be a sum of lay cubes, one per remaining step.
    if (levels < 0 || levels > steps)
        return QStringLiteral("level %1 -> %2").arg(before.level).arg(after.level);
    for (int discards = 0; discards <= steps - levels; ++discards) {
        const std::int32_t lays = delta - LevelBonus * levels + DiscardCost * discards;
        const int free = steps - levels - discards;
        // reachable[k]: a sum of exactly k' <= free cubes of 1..8 equals k.
        if (lays < 0 || lays > 512 * free)
            continue;
        std::vector<int> fewest(size_t(lays) + 1, free + 1);
        fewest[0] = 0;
        for (std::int32_t k = 1; k <= lays; ++k)
            for (int s = 1; s <= 8 && s * s * s <= k; ++s)
                fewest[size_t(k)] = std::min(fewest[size_t(k)], fewest[size_t(k - s * s * s)] + 1);
        if (fewest[size_t(lays)] <= free)
            return {};
    }
    return QStringLiteral("score %1 -> %2, level %3 -> %4")
        .arg(before.score)
        .arg(after.score)
        .arg(before.level)
        .arg(after.level);
}
