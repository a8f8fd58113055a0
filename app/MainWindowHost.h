#pragma once
// The main window as the options dialog sees it: its background, its
// repaint and re-wording, and the music the program plays beside it. Made
// after the main window and ended before it.
#include "ui/OptionsHost.h"

class AppServices;
class THookHelpSystem;
class Tmainform;

class MainWindowHost final : public OptionsHost {
public:
    MainWindowHost(Tmainform& window, AppServices& services, THookHelpSystem& help)
        : window_(window), services_(services), help_(help)
    {
    }

    QWidget* MainWindow() override;
    int BackMode() const override;
    void SetBackMode(int mode) override;
    void Resize() override;
    void ApplyLanguage() override;
    bool SwitchMusic() override;
    bool MusicFilesFound() const override;
    bool MusicAvailable() const override;
    QString MusicFileName() const override;

private:
    Tmainform& window_;
    AppServices& services_;
    THookHelpSystem& help_;
};
