#pragma once
// What the main window asks of the rest of the program: the modal windows,
// sound, music and help. The program entry passes the real ones; tests pass
// fakes that answer at once and record what was asked.
#include <QString>

class TMainServices {
public:
    virtual ~TMainServices() = default;

    // Message n of the message dialog, modal; gives its answer, 6 for Yes.
    virtual int ShowMsg(int n) = 0;
    virtual bool MessageShowing() const = 0;
    // The high-score table: a score offered for entry, or the table only.
    virtual void ShowHighscore(int score, bool showOnly) = 0;
    virtual bool HighscoreShowing() const = 0;
    virtual void ShowOptions() = 0;
    virtual void ShowInfo() = 0;
    // The first start's language question; sets Tongue when answered.
    virtual void AskLanguage() = 0;

    virtual void PlayEffect(int n) = 0;

    // Opens the first piece beside the program (does not play it yet).
    virtual void MusicStartUp() = 0;
    // On every tick of the clock: starts the piece again when it has stopped.
    virtual void MusicKeepAlive() = 0;

    // Help by context number, and the generic help commands.
    virtual void HelpStartUp(const QString& helpFile) = 0;
    virtual void HelpContext(int context) = 0;
    virtual void HelpCommand(int command, int data) = 0;
    // Frees the help router and closes the viewer's windows once more.
    virtual void HelpShutDown() = 0;
};
