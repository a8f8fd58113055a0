#include "game/GameCore.h"

#include "game/Tableau.h"

#include <utility>

void GameCore::NewGame()
{
    for (int i = 1; i <= MaxPatterns; ++i)
        PatternMap[i] = i;
    for (int k = 0; k < MaxPatterns * MaxPatterns; ++k) {
        const int a = random_.Random(MaxPatterns) + 1; // a before b: the draw order is fixed
        const int b = random_.Random(MaxPatterns) + 1;
        std::swap(PatternMap[a], PatternMap[b]);
    }
    Level = 1;
    Score = 0;
    SetUpLevel();
    DealNextTile();
    InHand = false;
    GameState = TGameState::gsReady;
}

void GameCore::SetUpLevel()
{
    PatternCount = PatternCountForLevel(Level);
    Board.Clear();
    for (int v : StartLayouts[(Level - 1) % 3]) {
        if (v == 0)
            continue;
        const BlockPos p = StartPositions[v];
        for (int dx = 0; dx < 2; ++dx)
            for (int dy = 0; dy < 2; ++dy)
                Board.SetCell(2 * p.column + dx, 2 * p.row + dy, random_.Random(PatternCount) + 1);
    }
    Clock.Fill();
}

void GameCore::DealNextTile()
{
    NextTile = EmptyTile;
    for (int dx = 0; dx < 2; ++dx)
        for (int dy = 0; dy < 2; ++dy)
            NextTile[dx][dy] = random_.Random(PatternCount) + 1;
}

void GameCore::StartOnFirstPress()
{
    if (GameState == TGameState::gsReady)
        GameState = TGameState::gsRunning;
}

void GameCore::PickUp()
{
    HandTile = NextTile;
    NextTile = EmptyTile;
    InHand = true;
}

std::optional<int> GameCore::AcceptedBalance(BlockPos b) const
{
    if (!IsBlockOnBoard(b) || !Board.BlockEmpty(b))
        return std::nullopt;
    const int s = Board.Balance(b, HandTile);
    if (s <= 0)
        return std::nullopt;
    return s;
}

LayOutcome GameCore::Lay(BlockPos b)
{
    LayOutcome outcome;
    outcome.balance = Board.Balance(b, HandTile);
    Score += LayScore(outcome.balance);
    Board.PutTile(b, HandTile);
    Clock.WindBack();
    InHand = false;
    outcome.fullSquare = Board.FindFullSquare();
    return outcome;
}

void GameCore::ThrowAway()
{
    InHand = false;
    Score -= DiscardCost;
}

void GameCore::AdvanceLevel()
{
    Level += 1;
    Score += LevelBonus;
}

bool GameCore::TickClock()
{
    if (GameState != TGameState::gsReady && GameState != TGameState::gsRunning)
        return false;
    return Clock.Tick();
}

void GameCore::EndByTimeOut()
{
    InHand = false;
    GameState = TGameState::gsOver;
}
