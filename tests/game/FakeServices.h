#pragma once
// Stands in for the dialogs, sound, music and help of the game: answers
// every message at once with a preset answer and records what was asked.
#include <QList>
#include <deque>
#include <functional>

#include "game/flow/MainServices.h"

class FakeServices final : public MainServices {
public:
    QList<int> messages;          // numbers of the messages shown
    std::deque<Answer> answers;   // answers to give, Yes when none is left
    QList<int> effects;
    QList<QPair<int, bool>> highscores; // (score, showOnly)
    QList<int> helpContexts;
    int helpQuits = 0;
    int optionsShown = 0;
    int infoShown = 0;
    int languageAsked = 0;
    int musicKeptAlive = 0;
    bool messageShowing = false;
    bool highscoreShowing = false;
    // Run while a message, the table or the language question is "open", to
    // act as the clock or the player would behind it.
    std::function<void(int)> whileMessageOpen;
    std::function<void()> whileHighscoreOpen;
    std::function<void()> whileLanguageAsked;
    // What the language question sets.
    std::function<void()> chooseLanguage;

    Answer ShowMsg(Message message) override
    {
        messages.append(int(message));
        if (whileMessageOpen) {
            messageShowing = true;
            auto hook = std::exchange(whileMessageOpen, nullptr);
            hook(int(message));
            messageShowing = false;
        }
        if (answers.empty())
            return Answer::Yes;
        const Answer a = answers.front();
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
        if (whileLanguageAsked)
            std::exchange(whileLanguageAsked, nullptr)();
        if (chooseLanguage)
            chooseLanguage();
    }
    void PlayEffect(Effect effect) override { effects.append(int(effect)); }
    void MusicStartUp() override {}
    void MusicKeepAlive() override { ++musicKeptAlive; }
    void HelpContext(int context) override { helpContexts.append(context); }
    void HelpQuit() override { ++helpQuits; }
};
