#pragma once
// The rest of the program as the soak sees it: every modal window answers at
// once (questions 3 and 4 with a random Yes or No), and every call is counted
// so that the soak can check how the game used them.
#include <QString>
#include <QStringList>

#include <functional>
#include <random>

#include "game/flow/MainServices.h"
#include "settings/Globals.h"

class SoakServices final : public MainServices {
public:
    explicit SoakServices(std::mt19937& random) : random_(random) {}

    // The score of the game at the moment, to check what is offered against it.
    std::function<int()> currentScore;

    int messages = 0;
    int gameOverMessages = 0;
    int scoresOffered = 0;
    int effects = 0;
    // Calls the game must never make, described for the failure message.
    QStringList misuse;

    Answer ShowMsg(Message message) override
    {
        const int n = int(message);
        ++messages;
        if (n == 7)
            ++gameOverMessages;
        if (n != 3 && n != 4 && n != 7 && n != 8 && n != 12)
            misuse << QStringLiteral("message %1").arg(n);
        if (n == 3 || n == 4)
            return std::bernoulli_distribution(0.5)(random_) ? Answer::Yes : Answer::No;
        return Answer::Yes;
    }
    bool MessageShowing() const override { return false; }

    void ShowHighscore(int score, bool showOnly) override
    {
        if (showOnly)
            return;
        ++scoresOffered;
        if (score <= 0)
            misuse << QStringLiteral("score %1 offered to the table").arg(score);
        if (currentScore && score != currentScore())
            misuse << QStringLiteral("score %1 offered, the game has %2").arg(score).arg(currentScore());
    }
    bool HighscoreShowing() const override { return false; }
    void ShowOptions() override {}
    void ShowInfo() override {}
    void AskLanguage() override { Tongue = 0; }

    void PlayEffect(Effect effect) override
    {
        const int n = int(effect);
        ++effects;
        if (n < 0 || n > 5 || n == 4)
            misuse << QStringLiteral("effect %1").arg(n);
    }

    void MusicStartUp() override {}
    void MusicKeepAlive() override {}
    void HelpContext(int context) override
    {
        if (context != 1 && context != 2)
            misuse << QStringLiteral("help context %1").arg(context);
    }
    void HelpQuit() override {}

private:
    std::mt19937& random_;
};
