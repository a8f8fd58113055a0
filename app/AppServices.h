#pragma once
// The real services behind the main window: the single dialogs, the sound
// effects, the music player with its file cycle, and the help router. It also
// stands for the main window towards the options dialog and the help window.
#include <memory>

#include "game/MainServices.h"
#include "help/THelpWindowHost.h"
#include "media/MusicCycle.h"
#include "media/TMediaPlayer.h"
#include "ui/OptionsHost.h"

class THookHelpSystem;

class TAppServices final : public TMainServices, public TOptionsHost, public THelpWindowHost {
public:
    TAppServices();
    ~TAppServices() override;

    // TMainServices
    int ShowMsg(int n) override;
    bool MessageShowing() const override;
    void ShowHighscore(int score, bool showOnly) override;
    bool HighscoreShowing() const override;
    void ShowOptions() override;
    void ShowInfo() override;
    void AskLanguage() override;
    void PlayEffect(int n) override;
    void MusicStartUp() override;
    void MusicKeepAlive() override;
    void HelpStartUp(const QString& helpFile) override;
    void HelpContext(int context) override;
    void HelpCommand(int command, int data) override;
    void HelpShutDown() override;

    // TOptionsHost and THelpWindowHost
    QWidget* MainWindow() override;
    int BackMode() const override;
    void SetBackMode(int mode) override;
    void Resize() override;
    void ApplyLanguage() override;
    bool SwitchMusic() override;
    bool MusicFilesFound() const override;
    QString MusicFileName() const override;

    // THelpWindowHost: the help window's place, kept beside the main window's.
    QString HelpPlacement() override;
    void SetHelpPlacement(const QString& value) override;

    // Ends the music (the device closes with the main window).
    void CloseMusic();

private:
    TMediaPlayer midi;
    TMusicCycle music_{midi};
    std::unique_ptr<THookHelpSystem> helpSystem_;
};
