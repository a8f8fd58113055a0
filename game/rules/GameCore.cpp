#include "game/rules/GameCore.h"

#include "game/rules/Tableau.h"

#include <utility>

int GameCore::PatternCount() const
{
    return PatternCountForLevel(p_.Level);
}

void GameCore::NewGame()
{
    for (int i = 1; i <= MaxPatterns; ++i)
        p_.PatternMap[i] = i;
    for (int k = 0; k < MaxPatterns * MaxPatterns; ++k) {
        const int a = random_.Random(MaxPatterns) + 1; // a before b: the draw order is fixed
        const int b = random_.Random(MaxPatterns) + 1;
        std::swap(p_.PatternMap[a], p_.PatternMap[b]);
    }
    p_.Level = 1;
    p_.Score = 0;
    wonSquare_.reset();
    nextLevelDue_ = false;
    SetUpLevel();
    DealNextTile();
    p_.InHand = false;
    p_.GameState = TGameState::gsReady;
}

void GameCore::SetUpLevel()
{
    const int count = PatternCount();
    p_.Board.Clear();
    for (int v : StartLayouts[(p_.Level - 1) % 3]) {
        if (v == 0)
            continue;
        const BlockPos b = StartPositions[v];
        for (int dx = 0; dx < 2; ++dx)
            for (int dy = 0; dy < 2; ++dy)
                p_.Board.SetCell(2 * b.column + dx, 2 * b.row + dy, random_.Random(count) + 1);
    }
    p_.Clock.Fill();
}

void GameCore::DealNextTile()
{
    const int count = PatternCount();
    p_.NextTile = EmptyTile;
    for (int dx = 0; dx < 2; ++dx)
        for (int dy = 0; dy < 2; ++dy)
            p_.NextTile[dx][dy] = random_.Random(count) + 1;
}

void GameCore::StartOnFirstPress()
{
    if (p_.GameState == TGameState::gsReady)
        p_.GameState = TGameState::gsRunning;
}

bool GameCore::PickUp()
{
    if (!AcceptsPresses() || p_.InHand || IsEmpty(p_.NextTile))
        return false;
    p_.HandTile = p_.NextTile;
    p_.NextTile = EmptyTile;
    p_.InHand = true;
    return true;
}

bool GameCore::TurnHandTile()
{
    if (!AcceptsPresses() || !p_.InHand)
        return false;
    p_.HandTile = TurnAnticlockwise(p_.HandTile);
    return true;
}

std::optional<int> GameCore::AcceptedBalance(BlockPos b) const
{
    if (!p_.InHand || !IsBlockOnBoard(b) || !p_.Board.BlockEmpty(b))
        return std::nullopt;
    const int s = p_.Board.Balance(b, p_.HandTile);
    if (s <= 0)
        return std::nullopt;
    return s;
}

LayResult GameCore::Lay(BlockPos b)
{
    LayResult result;
    const std::optional<int> s = AcceptsPresses() ? AcceptedBalance(b) : std::nullopt;
    if (!s)
        return result;
    result.accepted = true;
    result.balance = *s;
    p_.Score += LayScore(*s);
    p_.Board.PutTile(b, p_.HandTile);
    p_.Clock.WindBack();
    p_.InHand = false;
    result.fullSquare = p_.Board.FindFullSquare();
    if (result.fullSquare)
        wonSquare_ = result.fullSquare;
    else
        DealNextTile();
    return result;
}

bool GameCore::ThrowAway()
{
    if (!AcceptsPresses() || !p_.InHand)
        return false;
    p_.InHand = false;
    p_.Score -= DiscardCost;
    DealNextTile();
    return true;
}

bool GameCore::AdvanceLevel()
{
    if (!wonSquare_)
        return false;
    wonSquare_.reset();
    p_.Level += 1;
    p_.Score += LevelBonus;
    nextLevelDue_ = true;
    return true;
}

bool GameCore::SetUpNextLevel()
{
    if (!nextLevelDue_)
        return false;
    nextLevelDue_ = false;
    SetUpLevel();
    DealNextTile();
    return true;
}

bool GameCore::TickClock()
{
    if (!AcceptsPresses())
        return false;
    return p_.Clock.Tick();
}

void GameCore::EndByTimeOut()
{
    p_.InHand = false;
    p_.GameState = TGameState::gsOver;
}

bool GameCore::Pause()
{
    if (p_.GameState != TGameState::gsRunning)
        return false;
    p_.GameState = TGameState::gsPaused;
    return true;
}

bool GameCore::Resume()
{
    if (p_.GameState != TGameState::gsPaused)
        return false;
    p_.GameState = TGameState::gsRunning;
    return true;
}

void GameCore::GiveUp()
{
    p_.GameState = TGameState::gsOver;
}

bool GameCore::Restore(const GamePosition& position)
{
    if (!BrokenInvariant(position, true).empty())
        return false;
    p_ = position;
    wonSquare_.reset();
    nextLevelDue_ = false;
    return true;
}

std::string GameCore::BrokenInvariant(const GamePosition& p, bool previewMayBeEmpty)
{
    using std::to_string;
    if (p.Level < 1)
        return "level " + to_string(p.Level);
    if (p.GameState > TGameState::gsPaused)
        return "game state " + to_string(int(p.GameState));
    const int count = PatternCountForLevel(p.Level);
    for (int bc = 0; bc < BoardBlocks; ++bc)
        for (int br = 0; br < BoardBlocks; ++br) {
            int filled = 0;
            for (int dx = 0; dx < 2; ++dx)
                for (int dy = 0; dy < 2; ++dy) {
                    const int v = p.Board.Cell(2 * bc + dx, 2 * br + dy);
                    if (v < 0 || v > count)
                        return "cell value " + to_string(v) + " with " + to_string(count) + " patterns";
                    filled += v != 0;
                }
            if (filled != 0 && filled != 4)
                return "block (" + to_string(bc) + "," + to_string(br) + ") has " + to_string(filled) + " of 4 cells filled";
        }
    const auto tileInRange = [count](const Tile& t) {
        for (const auto& column : t)
            for (int v : column)
                if (v < 1 || v > count)
                    return false;
        return true;
    };
    if (p.InHand) {
        if (!IsEmpty(p.NextTile))
            return "the preview holds a tile while one is carried";
        if (!tileInRange(p.HandTile))
            return "the carried tile has a pattern outside 1.." + to_string(count);
    } else if (!tileInRange(p.NextTile) && !(previewMayBeEmpty && IsEmpty(p.NextTile))) {
        return "the preview is not a tile of 1.." + to_string(count) + " while none is carried";
    }
    std::array<bool, 28> seen{};
    for (int pattern = 1; pattern <= MaxPatterns; ++pattern) {
        const int image = p.PatternMap[pattern];
        if (image < 1 || image > MaxPatterns || seen[image])
            return "the symbol assignment is not a permutation";
        seen[image] = true;
    }
    if (p.Clock.TimeLeft > 1.0f)
        return "more than a full clock";
    const bool playing = p.GameState == TGameState::gsReady || p.GameState == TGameState::gsRunning;
    if (playing && p.Clock.RunOut())
        return "the clock ran out but the game goes on";
    return {};
}
