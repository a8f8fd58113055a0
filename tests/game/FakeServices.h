#pragma once
// Stands in for the dialogs, sound, music and help of the main window: answers
// every message at once with a preset answer and records what was asked.
#include <QList>
#include <deque>
#include <functional>

#include "game/MainServices.h"
#include "settings/Globals.h"

class FakeServices final : public TMainServices {
public:
    QList<int> messages;          // numbers of the messages shown
    std::deque<int> answers;      // answers to give, 6 when none is left
    QList<int> effects;
    QList<QPair<int, bool>> highscores; // (score, showOnly)
    QList<int> helpContexts;
    QList<QPair<int, int>> helpCommands;
    int optionsShown = 0;
    int infoShown = 0;
    int languageAsked = 0;
    int musicKeptAlive = 0;
    bool messageShowing = false;
    bool highscoreShowing = false;
    // Runs while a message is "open", to act as the clock would behind it.
    std::function<void(int)> whileMessageOpen;
    std::function<void()> whileHighscoreOpen;
    int languageChoice = -1;

    int ShowMsg(int n) override
    {
        messages.append(n);
        if (whileMessageOpen) {
            messageShowing = true;
            auto hook = std::exchange(whileMessageOpen, nullptr);
            hook(n);
            messageShowing = false;
        }
        if (answers.empty())
            return 6;
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    bool MessageShowing() const override { return messageShowing; }
    void ShowHighscore(int score, bool showOnly) override
    {
        highscores.append({score, showOnly});
        if (whileHighscoreOpen) {
            highscoreShowing = true;
            auto hook = std::exchange(whileHighscoreOpen, nullptr);
            hook();
            highscoreShowing = false;
        }
    }
    bool HighscoreShowing() const override { return highscoreShowing; }
    void ShowOptions() override { ++optionsShown; }
    void ShowInfo() override { ++infoShown; }
    void AskLanguage() override
    {
        ++languageAsked;
        Tongue = languageChoice;
    }
    void PlayEffect(int n) override { effects.append(n); }
    void MusicStartUp() override {}
    void MusicKeepAlive() override { ++musicKeptAlive; }
    void HelpStartUp(const QString&) override {}
    void HelpContext(int context) override { helpContexts.append(context); }
    void HelpCommand(int command, int data) override { helpCommands.append({command, data}); }
    void HelpShutDown() override {}
};
