#pragma once
// Everything the game decides, without a window: the tableau, the tiles, the
// matching rule, the score, the levels and the clock. The main window turns
// presses and ticks into calls on this class and draws what it leaves behind.
#include <array>
#include <cstdint>
#include <optional>

#include "game/Board.h"
#include "game/GameClock.h"
#include "game/RandomSource.h"
#include "game/Tile.h"

enum class TGameState : std::uint8_t {
    gsReady = 0,   // a tableau is dealt, nothing pressed yet; the clock runs
    gsRunning = 1, // play goes on
    gsOver = 2,    // time ran out or the game was given up; presses ignored
    gsPaused = 3,  // the pause message is open; the clock is frozen
};

struct LayOutcome {
    int balance = 0;                     // s: the lay scored s cubed
    std::optional<BlockPos> fullSquare;  // a covered 3 x 3 square wins the level
};

class GameCore {
public:
    explicit GameCore(RandomSource& random) : random_(random) {}

    // --- dealing -------------------------------------------------------
    // A new symbol assignment, level 1, score 0, the first tableau and next
    // tile, nothing carried, gsReady. The generator is not reseeded.
    void NewGame();
    // Empties the board and lays the start tiles of the current level; full clock.
    void SetUpLevel();
    // A random tile in the preview box.
    void DealNextTile();

    // --- presses on the board -------------------------------------------
    bool AcceptsPresses() const { return GameState != TGameState::gsOver && GameState != TGameState::gsPaused; }
    // The first press of a tableau starts the game.
    void StartOnFirstPress();
    // Takes the tile out of the preview box.
    void PickUp();
    void TurnHandTile() { HandTile = TurnAnticlockwise(HandTile); }
    // The balance the carried tile would score on block b, if the lay would be
    // accepted: b empty and more touching quarters match than differ.
    std::optional<int> AcceptedBalance(BlockPos b) const;
    // Lays the carried tile on b; only after AcceptedBalance gave a value.
    LayOutcome Lay(BlockPos b);
    // The carried tile goes into the discard box, for 10 points.
    void ThrowAway();
    // A won level: one level up and the bonus; the caller deals it with SetUpLevel.
    void AdvanceLevel();

    // --- clock ---------------------------------------------------------
    // One tick in gsReady or gsRunning; true when the time has just run out.
    bool TickClock();
    // Time ran out: a carried tile is lost and the game is over.
    void EndByTimeOut();

    // --- pause and giving up --------------------------------------------
    void Pause() { GameState = TGameState::gsPaused; }
    void Resume() { GameState = TGameState::gsRunning; }
    void GiveUp() { GameState = TGameState::gsOver; }

    // Image number (1..27) drawn for a pattern number.
    int ImageFor(int pattern) const { return PatternMap[pattern]; }

    // The state, read by the window and the tests. Change it through the
    // operations above so that its invariants hold.
    TGameState GameState = TGameState::gsReady;
    std::int32_t Score = 0;
    std::int32_t Level = 1;
    int PatternCount = 2;
    TBoard Board;
    Tile NextTile{};
    Tile HandTile{};
    std::array<int, 28> PatternMap{}; // [1..27], a permutation of 1..27
    GameClock Clock;
    bool InHand = false;

private:
    RandomSource& random_;
};

// Points for a lay of balance s.
constexpr std::int32_t LayScore(int s) { return s * s * s; }
inline constexpr std::int32_t LevelBonus = 1000;
inline constexpr std::int32_t DiscardCost = 10;
