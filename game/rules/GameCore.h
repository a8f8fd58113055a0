#pragma once
// Everything the game decides, without a window: the tableau, the tiles, the
// matching rule, the score, the levels and the clock. Every operation checks
// that it applies to the position it is given and refuses otherwise, so no
// caller can bring the rules into a state a game cannot reach.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "game/rules/Board.h"
#include "game/rules/GameClock.h"
#include "game/rules/RandomSource.h"
#include "game/rules/Tile.h"

enum class TGameState : std::uint8_t {
    gsReady = 0,   // a tableau is dealt, nothing pressed yet; the clock runs
    gsRunning = 1, // play goes on
    gsOver = 2,    // time ran out or the game was given up; presses ignored
    gsPaused = 3,  // the pause message is open; the clock is frozen
};

// Image numbers (1..27) drawn for the pattern numbers 1..27; index 0 unused.
using PatternImages = std::array<int, 28>;

// A position of a game: what the rules keep between two events.
struct GamePosition {
    TGameState GameState = TGameState::gsReady;
    std::int32_t Score = 0;
    std::int32_t Level = 1;
    BoardGrid Board;
    Tile NextTile{};
    Tile HandTile{};
    PatternImages PatternMap{};
    GameClock Clock;
    bool InHand = false;
};

// What a lay did.
struct LayResult {
    bool accepted = false;               // refused: nothing changed
    int balance = 0;                     // s: an accepted lay scored s cubed
    std::optional<BlockPos> fullSquare;  // a covered 3 x 3 square: the level is won
};

class GameCore {
public:
    explicit GameCore(RandomSource& random) : random_(random) {}

    // --- the position, read-only ------------------------------------------
    TGameState GameState() const { return p_.GameState; }
    std::int32_t Score() const { return p_.Score; }
    std::int32_t Level() const { return p_.Level; }
    // Distinct patterns dealt on the current level, 2..27.
    int PatternCount() const;
    const BoardGrid& Board() const { return p_.Board; }
    const Tile& NextTile() const { return p_.NextTile; }
    const Tile& HandTile() const { return p_.HandTile; }
    bool InHand() const { return p_.InHand; }
    float TimeLeft() const { return p_.Clock.TimeLeft; }
    const PatternImages& PatternMap() const { return p_.PatternMap; }
    // Image number (1..27) drawn for a pattern number; 0 stays 0 (empty).
    int ImageFor(int pattern) const { return pattern > 0 ? p_.PatternMap[pattern] : 0; }
    const GamePosition& Position() const { return p_; }
    // A won level waits for AdvanceLevel, then for SetUpNextLevel.
    bool LevelWon() const { return wonSquare_.has_value(); }
    bool NextLevelDue() const { return nextLevelDue_; }

    // Takes over a prepared position (for tests and the tools that draw
    // pictures of the game); refuses one that breaks the rules' invariants.
    bool Restore(const GamePosition& position);

    // --- dealing -------------------------------------------------------
    // A new symbol assignment, level 1, score 0, the first tableau and next
    // tile, nothing carried, gsReady. The generator is not reseeded.
    void NewGame();

    // --- presses on the board -------------------------------------------
    bool AcceptsPresses() const { return p_.GameState == TGameState::gsReady || p_.GameState == TGameState::gsRunning; }
    // The first press of a tableau starts the game.
    void StartOnFirstPress();
    // Takes the tile out of the preview box; false when there is none to take.
    bool PickUp();
    // A quarter turn of the carried tile; false when none is carried.
    bool TurnHandTile();
    // The balance the carried tile would score on b, if the lay would be accepted.
    std::optional<int> AcceptedBalance(BlockPos b) const;
    // Lays the carried tile on b if more touching quarters match than differ.
    // Accepted: the score, the clock and the board change, and unless the
    // level is won the next tile is dealt.
    LayResult Lay(BlockPos b);
    // The carried tile goes into the discard box for 10 points and the next
    // tile is dealt; false when none is carried.
    bool ThrowAway();
    // After a won level: one level up and the bonus.
    bool AdvanceLevel();
    // Then: the next level's tableau with a full clock, and its first tile.
    bool SetUpNextLevel();

    // --- clock ---------------------------------------------------------
    // One tick in gsReady or gsRunning; true when the time has just run out.
    bool TickClock();
    // Time ran out: a carried tile is lost and the game is over.
    void EndByTimeOut();

    // --- pause and giving up --------------------------------------------
    bool Pause();
    bool Resume();
    void GiveUp();

    // What is wrong with a position, or an empty text when it is one the
    // rules can reach. An empty preview while no tile is carried is allowed
    // only where the rules leave it so (after a time-out with a tile in hand,
    // and while a won level waits for its next tableau).
    static std::string BrokenInvariant(const GamePosition& position, bool previewMayBeEmpty);

private:
    void SetUpLevel();
    void DealNextTile();

    RandomSource& random_;
    GamePosition p_;
    std::optional<BlockPos> wonSquare_;
    bool nextLevelDue_ = false;
};

// Points for a lay of balance s.
constexpr std::int32_t LayScore(int s) { return s * s * s; }
inline constexpr std::int32_t LevelBonus = 1000;
inline constexpr std::int32_t DiscardCost = 10;
