#pragma once
// What the board canvas shows, as plain values: the picture is a function of
// this. The game flow says what the scene is after every event; the painter
// compares it with what it drew last and draws only the differences.
#include <array>
#include <optional>

#include "game/rules/Board.h"
#include "game/rules/Tile.h"

struct BoardScene {
    // Image numbers (1..27) of the cells, 0 for an empty cell.
    std::array<std::array<int, BoardCells>, BoardCells> cells{};
    // The tile waiting in the preview box, as image numbers; all 0 when empty.
    Tile preview{};

    // A tile going into the discard box, darkened a number of times.
    struct Discard {
        Tile tile{};
        int passes = 0;
        friend bool operator==(const Discard&, const Discard&) = default;
    };
    std::optional<Discard> discard;

    float timeLeft = 1.0f;

    // The carried tile, centred on (x, y) in canvas pixels.
    struct Hand {
        Tile tile{};
        int x = 0;
        int y = 0;
        bool refused = false; // a lay was just refused: the tile says so
        friend bool operator==(const Hand&, const Hand&) = default;
    };
    std::optional<Hand> hand;

    // The board has the keyboard.
    bool focused = false;

    friend bool operator==(const BoardScene&, const BoardScene&) = default;
};
