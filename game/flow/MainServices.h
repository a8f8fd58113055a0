#pragma once
// What the game asks of the rest of the program: the modal windows, sound,
// music and help. The program entry passes the real ones; tests pass fakes
// that answer at once and record what was asked.
#include "game/flow/Messages.h"
#include "game/flow/Sounds.h"

class MainServices {
public:
    virtual ~MainServices() = default;

    // A message of the message dialog, modal; gives its answer.
    virtual Answer ShowMsg(Message message) = 0;
    virtual bool MessageShowing() const = 0;
    // The high-score table: a score offered for entry, or the table only.
    virtual void ShowHighscore(int score, bool showOnly) = 0;
    virtual bool HighscoreShowing() const = 0;
    virtual void ShowOptions() = 0;
    virtual void ShowInfo() = 0;
    // The first start's language question; the language is set when answered.
    virtual void AskLanguage() = 0;

    virtual void PlayEffect(Effect effect) = 0;

    // Opens the first piece beside the program (does not play it yet).
    virtual void MusicStartUp() = 0;
    // On every tick of the clock: starts the piece again when it has stopped.
    virtual void MusicKeepAlive() = 0;

    // The rules by help context number; and the close of the program.
    virtual void HelpContext(int context) = 0;
    virtual void HelpQuit() = 0;
};
