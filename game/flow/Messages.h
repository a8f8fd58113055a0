#pragma once
// The message dialog's messages the game shows, by their numbers, and the
// answer it gives.
enum class Message : int {
    Quit = 3,      // "Do you really want to go?"
    GiveUp = 4,    // "Do you really want to give up the game?"
    GameOver = 7,  // "Sorry, game over!"
    NextLevel = 8, // "The next level is waiting!"
    Paused = 12,   // "Game paused." / "Continue?"
};

// The dialog's modal result: 6 for Yes; every other value counts as No.
enum class Answer : int { Yes = 6, No = 7 };

constexpr Answer AnswerFromModalResult(int result) { return result == int(Answer::Yes) ? Answer::Yes : Answer::No; }
