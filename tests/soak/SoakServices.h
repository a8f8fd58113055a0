#pragma once
// The rest of the program as the soak sees it: every modal window answers at
// once (questions 3 and 4 with a random Yes or No), and every call is counted
// so that the soak can check how the game used them.
#include <QString>
#include <QStringList>

#include <random>

#include "game/MainServices.h"
#include "settings/Globals.h"

class SoakServices final : public TMainServices {
public:
    static constexpr int Yes = 6;
    static constexpr int No = 7;

    explicit SoakServices(std::mt19937& random) : random_(random) {}

    int messages = 0;
    int gameOverMessages = 0;
    int scoresOffered = 0;
    int effects = 0;
    // Calls the game must never make, described for the failure message.
    QStringList misuse;

    int ShowMsg(int n) override
    {
        ++messages;
        if (n == 7)
            ++gameOverMessages;
        if (n != 3 && n != 4 && n != 7 && n != 8 && n != 12)
            misuse << QStringLiteral("message %1").arg(n);
        if (n == 3 || n == 4)
            return std::bernoulli_distribution(0.5)(random_) ? Yes : No;
        return Yes;
    }
    bool MessageShowing() const override { return false; }

    void ShowHighscore(int score, bool showOnly) override
    {
        if (showOnly)
            return;
        ++scoresOffered;
        if (score <= 0)
            misuse << QStringLiteral("score %1 offered to the table").arg(score);
    }
    bool HighscoreShowing() const override { return false; }
    void ShowOptions() override {}
    void ShowInfo() override {}
    void AskLanguage() override { Tongue = 0; }

    void PlayEffect(int n) override
    {
        ++effects;
        if (n < 0 || n > 5 || n == 4)
            misuse << QStringLiteral("effect %1").arg(n);
    }

    void MusicStartUp() override {}
    void MusicKeepAlive() override {}
    void HelpStartUp(const QString&) override {}
    void HelpContext(int context) override
    {
        if (context != 1 && context != 2)
            misuse << QStringLiteral("help context %1").arg(context);
    }
    void HelpCommand(int, int) override {}
    void HelpShutDown() override {}

private:
    std::mt19937& random_;
};
