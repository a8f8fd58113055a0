#pragma once
// The sound effects the game plays, by the numbers of the program's sound list.
enum class Effect : int {
    LevelWon = 1,   // a 3 x 3 square is covered
    TileLaid = 2,   // a lay was accepted and the level goes on
    LayRefused = 3, // a lay was refused; also when the time has run out
    // 4 is in the sound list, but no event of the game plays it.
    ThrownAway = 5, // a tile went into the discard box
};
