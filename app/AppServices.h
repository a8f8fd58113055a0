#pragma once
// The real services behind the main window: the single dialogs, the sound
// effects, the music player with its file cycle, and the help router. It also
// stands for the main window towards the options dialog and the help window,
// once the program entry has attached it.
#include <memory>

#include "game/flow/MainServices.h"
#include "help/THelpWindowHost.h"
#include "media/MusicCycle.h"
#include "media/TMediaPlayer.h"
#include "settings/TIniCtrl.h"
#include "ui/OptionsHost.h"

class THookHelpSystem;
class Tmainform;

class TAppServices final : public TMainServices, public TOptionsHost, public THelpWindowHost {
public:
    TAppServices();
    ~TAppServices() override;

    // The window the options dialog works on.
    void AttachMainWindow(Tmainform* window) { window_ = window; }

    // The help router for the help file, and its end.
    void HelpStartUp(const QString& helpFile);
    void HelpShutDown();

    // TMainServices
    Answer ShowMsg(Message message) override;
    bool MessageShowing() const override;
    void ShowHighscore(int score, bool showOnly) override;
    bool HighscoreShowing() const override;
    void ShowOptions() override;
    void ShowInfo() override;
    void AskLanguage() override;
    void PlayEffect(Effect effect) override;
    void MusicStartUp() override;
    void MusicWindowShown() { music_.WindowShown(); }
    void MusicKeepAlive() override;
    void HelpContext(int context) override;
    void HelpQuit() override;

    // TOptionsHost and THelpWindowHost
    QWidget* MainWindow() override;
    int BackMode() const override;
    void SetBackMode(int mode) override;
    void Resize() override;
    void ApplyLanguage() override;
    bool SwitchMusic() override;
    bool MusicFilesFound() const override;
    bool MusicAvailable() const override { return music_.MusicAvailable(); }
    QString MusicFileName() const override;

    // THelpWindowHost: the help window's place, kept beside the main window's.
    QString HelpPlacement() override;
    void SetHelpPlacement(const QString& value) override;

    // Ends the music (the device closes with the main window).
    void CloseMusic();

private:
    TIniCtrl ini_;
    Tmainform* window_ = nullptr;
    TMediaPlayer midi;
    TMusicCycle music_{midi};
    std::unique_ptr<THookHelpSystem> helpSystem_;
};
