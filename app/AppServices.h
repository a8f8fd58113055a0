#pragma once
// The real services behind the game flow: the single dialogs, the sound
// effects, the music player with its file cycle, and help by context number.
#include "game/flow/MainServices.h"
#include "media/MusicCycle.h"
#include "media/TMediaPlayer.h"

class AppServices final : public MainServices {
public:
    AppServices();
    // Closes the music device, which stops the music.
    ~AppServices() override;
    AppServices(const AppServices&) = delete;
    AppServices& operator=(const AppServices&) = delete;

    // MainServices
    Answer ShowMsg(Message message) override;
    bool MessageShowing() const override;
    void ShowHighscore(int score, bool showOnly) override;
    bool HighscoreShowing() const override;
    void ShowOptions() override;
    void ShowInfo() override;
    void AskLanguage() override;
    void PlayEffect(Effect effect) override;
    void MusicStartUp() override;
    void MusicKeepAlive() override;
    void HelpContext(int context) override;
    void HelpQuit() override;

    // The music, for the first frame and the options dialog.
    void MusicWindowShown() { music_.WindowShown(); }
    // Switches the music off, or on to the next piece; false when that failed.
    bool SwitchMusic();
    bool MusicFilesFound() const;
    bool MusicAvailable() const { return music_.MusicAvailable(); }
    QString MusicFileName() const;

private:
    TMediaPlayer midi;
    MusicCycle music_{midi};
};
