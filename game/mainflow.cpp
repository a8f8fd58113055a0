// The main window's game flow: the clock, the tool-strip buttons, the first
// showing, closing, and the texts that follow the language.
#include "game/main.h"

#include <QCloseEvent>

#include "help/hh_funcs.h"
#include "settings/Globals.h"
#include "settings/ProgramSettings.h"

// --- the clock ---------------------------------------------------------------------

void Tmainform::TimerTimer()
{
    if (animating_) {
        tickHeldBack_ = true;
        return;
    }
    if (game_.GameState == TGameState::gsReady || game_.GameState == TGameState::gsRunning) {
        const bool runOut = game_.TickClock();
        painter_.DrawTimeBar();
        Flush();
        if (runOut)
            TimeOut();
    }
    // The music only restarts while the clock runs.
    if (Timer.isActive())
        services_.MusicKeepAlive();
}

void Tmainform::TimeOut()
{
    if (game_.InHand)
        painter_.HideHand();
    game_.EndByTimeOut();
    Timer.stop();
    Flush();
    services_.PlayEffect(3);
    // The message dialog and the table exist once each. If one of them is
    // open (the close question, the table shown by its button), the game is
    // over now, and the message and the score offer follow when it closes.
    if (services_.MessageShowing() || services_.HighscoreShowing()) {
        timeOutPending_ = true;
        return;
    }
    DeliverTimeOut();
}

void Tmainform::DeliverTimeOut()
{
    timeOutPending_ = false;
    services_.ShowMsg(7);
    OfferScore();
}

void Tmainform::OfferScore()
{
    if (scoreOffered_ || game_.Score <= 0)
        return;
    scoreOffered_ = true;
    services_.ShowHighscore(game_.Score, false);
}

int Tmainform::AskMsg(int n)
{
    const int answer = services_.ShowMsg(n);
    if (timeOutPending_)
        DeliverTimeOut();
    return answer;
}

// --- the buttons ---------------------------------------------------------------------

void Tmainform::StartBtnClick()
{
    if (game_.GameState == TGameState::gsOver) {
        NewGame();
        return;
    }
    Timer.stop(); // the clock is held during the question
    if (game_.Score <= 0) {
        NewGame();
    } else if (AskMsg(4) == 6) {
        OfferScore();
        NewGame();
    }
    EnableTimer();
}

void Tmainform::PauseBtnClick()
{
    if (game_.GameState != TGameState::gsRunning)
        return;
    game_.Pause();
    Paint();
    box->FlushNow();
    AskMsg(12);
    game_.Resume();
    Paint();
}

void Tmainform::HighScoreBtnClick()
{
    services_.ShowHighscore(game_.Score, true);
    if (timeOutPending_)
        DeliverTimeOut();
}

void Tmainform::OptionBtnClick()
{
    services_.ShowOptions();
}

void Tmainform::InfoBtnClick()
{
    services_.ShowInfo();
}

void Tmainform::RulesBtnClick()
{
    services_.HelpContext(German() ? 1 : 2);
}

void Tmainform::ExitBtnClick()
{
    close();
}

// --- closing -------------------------------------------------------------------------

bool Tmainform::CloseQuery()
{
    const bool wasRunning = game_.GameState == TGameState::gsRunning;
    const int answer = services_.ShowMsg(wasRunning ? 4 : 3);
    Paint();
    ToolBoxPaint();
    // A time-out during the question ended the game: its message and score
    // offer come first, whatever the answer.
    if (timeOutPending_)
        DeliverTimeOut();
    if (answer != 6)
        return false;
    if (wasRunning && game_.GameState == TGameState::gsRunning) {
        game_.GiveUp();
        OfferScore();
    }
    return true;
}

void Tmainform::Leave()
{
    Timer.stop();
    services_.HelpCommand(HELP_QUIT, 0);
    WriteProgramSettings(ini, painter_.BackMode);
}

void Tmainform::closeEvent(QCloseEvent* event)
{
    if (animating_) { // asked again when the animation is over
        closeHeldBack_ = true;
        event->ignore();
        return;
    }
    if (!CloseQuery()) {
        event->ignore();
        return;
    }
    Leave();
    event->accept();
    emit Closed();
}

// --- first showing -----------------------------------------------------------------

void Tmainform::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (FirstShow)
        QMetaObject::invokeMethod(this, &Tmainform::FormShow, Qt::QueuedConnection);
}

void Tmainform::FormShow()
{
    if (!FirstShow)
        return;
    FirstShow = false;
    Tongue = ReadStoredTongue(ini);
    if (Tongue == -1) {
        services_.AskLanguage();
        ApplyLanguage();
    }
}

// --- texts -----------------------------------------------------------------------------

void Tmainform::ShowCounters()
{
    LevelLabel->setText(QString::number(game_.Level % 1000000));
    ScoreLabel->setText(QString::number(game_.Score % 1000000));
    LevelLabel->adjustSize();
    ScoreLabel->adjustSize();
}

void Tmainform::ApplyLanguage()
{
    StartBtn->SetHint(Lang(QStringLiteral("Ich möchte eine neue Auslage."), QStringLiteral("I want an new \"tableau\".")));
    HighScoreBtn->SetHint(Lang(QStringLiteral("Wer sind die Besten?"), QStringLiteral("Who are the best?")));
    PauseBtn->SetHint(Lang(QStringLiteral("Ich brauch eine kurze Pause."), QStringLiteral("I need a break.")));
    RulesBtn->SetHint(Lang(QStringLiteral("Worum geht's da eigentlich?"), QStringLiteral("What's to do here?")));
    OptionBtn->SetHint(Lang(QStringLiteral("Ich möchte die Einstellungen ändern."), QStringLiteral(" I want to change the options.")));
    ExitBtn->SetHint(Lang(QStringLiteral("Ich hab genug!"), QStringLiteral("I have enough!")));
    InfoBtn->SetHint(Lang(QStringLiteral("Wer hat diese Spiele nur verbrochen?"), QStringLiteral("Who did these TANGRIX GAME?")));
    ScoLabel->setText(Lang(QStringLiteral("Punkte:"), QStringLiteral("Score:")));
    LevLabel->setText(Lang(QStringLiteral("Stufe:"), QStringLiteral("Level:")));
    ScoLabel->adjustSize();
    LevLabel->adjustSize();
}
