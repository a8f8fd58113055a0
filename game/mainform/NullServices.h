#pragma once
// The main window's services doing nothing, for programs that only want the
// drawing (the benchmark, the pictures of the rules): no dialogs, sound,
// music or help; every question is answered Yes.
#include "game/flow/MainServices.h"

class NullServices final : public MainServices {
public:
    Answer ShowMsg(Message) override { return Answer::Yes; }
    bool MessageShowing() const override { return false; }
    void ShowHighscore(int, bool) override {}
    bool HighscoreShowing() const override { return false; }
    void ShowOptions() override {}
    void ShowInfo() override {}
    void AskLanguage() override {}
    void PlayEffect(Effect) override {}
    void MusicStartUp() override {}
    void MusicKeepAlive() override {}
    void HelpContext(int) override {}
    void HelpQuit() override {}
};
