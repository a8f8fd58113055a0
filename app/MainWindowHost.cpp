#include "app/MainWindowHost.h"

#include "app/AppServices.h"
#include "game/mainform/main.h"
#include "help/hh_funcs.h"

QWidget* MainWindowHost::MainWindow() { return &window_; }

int MainWindowHost::BackMode() const { return window_.BackMode(); }

void MainWindowHost::SetBackMode(int mode) { window_.SetBackMode(mode); }

void MainWindowHost::Resize() { window_.Resize(); }

void MainWindowHost::ApplyLanguage()
{
    window_.ApplyLanguage();
    // The rules, if open, change language with the rest of the game.
    help_.FollowLanguage();
}

bool MainWindowHost::SwitchMusic() { return services_.SwitchMusic(); }

bool MainWindowHost::MusicFilesFound() const { return services_.MusicFilesFound(); }

bool MainWindowHost::MusicAvailable() const { return services_.MusicAvailable(); }

QString MainWindowHost::MusicFileName() const { return services_.MusicFileName(); }
