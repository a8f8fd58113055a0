// The main window's part in the game flow: the clock, the tool-strip
// buttons, the first showing, closing, and the texts that follow the
// language. The flow decides; the window shows what it left behind.
#include "game/mainform/main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>

#include "settings/Globals.h"
#include "settings/ProgramSettings.h"
#include "ui/keeper/FormKeeper.h"

// --- the clock ---------------------------------------------------------------------

void Tmainform::TimerTimer()
{
    flow_.Tick();
    Sync();
}

// --- the buttons ---------------------------------------------------------------------

void Tmainform::StartBtnClick()
{
    flow_.StartButton();
    Sync();
    FocusBoard();
}

void Tmainform::PauseBtnClick()
{
    flow_.PauseButton();
    Sync();
    FocusBoard();
}

void Tmainform::HighScoreBtnClick()
{
    flow_.HighScoreButton();
    Sync();
    FocusBoard();
}

void Tmainform::OptionBtnClick()
{
    flow_.OptionsButton();
    Sync();
    FocusBoard();
}

void Tmainform::InfoBtnClick()
{
    flow_.InfoButton();
    Sync();
    FocusBoard();
}

void Tmainform::RulesBtnClick()
{
    flow_.RulesButton(German());
    Sync();
}

void Tmainform::ExitBtnClick()
{
    close();
}

// --- closing -------------------------------------------------------------------------

bool Tmainform::CloseQuery()
{
    const bool mayClose = flow_.CloseRequested();
    Sync();
    return mayClose;
}

void Tmainform::Leave()
{
    flow_.Leave();
    Timer.stop();
    SaveSettings();
}

void Tmainform::SaveSettings()
{
    // One write: a kill in the middle of the close leaves the old settings or
    // the new ones, never a mix.
    ini.WriteChanges(CommonSection(), ProgramSettingsChanges(painter_.BackMode) + FormKeeper1->PlacementChanges());
}

void Tmainform::EndWithoutQuestions()
{
    // Nobody is left to answer: an open question or dialog closes unanswered
    // (as by Escape), and a close that was asking goes on once it returns.
    endRequested_ = true;
    while (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        dialog->reject();
        if (dialog->isVisible())
            break;
    }
    closeConfirmed_ = true;
    close();
}

void Tmainform::closeEvent(QCloseEvent* event)
{
    // A close that waited for an animation was confirmed when it was asked;
    // the system may ask the game to end while the close question is open.
    bool mayClose = std::exchange(closeConfirmed_, false) || endRequested_;
    if (!mayClose)
        mayClose = CloseQuery() || endRequested_;
    if (!mayClose) {
        event->ignore();
        FocusBoard();
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
    flow_.FirstShow(Tongue != -1);
    Sync();
    FocusBoard();
}

// --- texts -----------------------------------------------------------------------------

void Tmainform::ShowCounters()
{
    const QString level = QString::number(Game().Level() % 1000000);
    const QString score = QString::number(Game().Score() % 1000000);
    if (LevelLabel->text() != level) {
        LevelLabel->setText(level);
        LevelLabel->adjustSize();
    }
    if (ScoreLabel->text() != score) {
        ScoreLabel->setText(score);
        ScoreLabel->adjustSize();
    }
}

void Tmainform::ApplyLanguage()
{
    // Screen readers say a button's short name, then its hint.
    const auto word = [](PictureButton* button, const QString& name, const QString& hint) {
        button->SetName(name);
        button->SetHint(hint);
        button->setAccessibleDescription(hint);
    };
    word(StartBtn, Lang(QStringLiteral("Neues Spiel"), QStringLiteral("New game")),
         Lang(QStringLiteral("Ich möchte eine neue Auslage."), QStringLiteral("I want an new \"tableau\".")));
    word(HighScoreBtn, Lang(QStringLiteral("Bestenliste"), QStringLiteral("High scores")),
         Lang(QStringLiteral("Wer sind die Besten?"), QStringLiteral("Who are the best?")));
    word(PauseBtn, QStringLiteral("Pause"),
         Lang(QStringLiteral("Ich brauch eine kurze Pause."), QStringLiteral("I need a break.")));
    word(RulesBtn, Lang(QStringLiteral("Spielregeln"), QStringLiteral("Rules")),
         Lang(QStringLiteral("Worum geht's da eigentlich?"), QStringLiteral("What's to do here?")));
    word(OptionBtn, Lang(QStringLiteral("Einstellungen"), QStringLiteral("Options")),
         Lang(QStringLiteral("Ich möchte die Einstellungen ändern."), QStringLiteral(" I want to change the options.")));
    word(ExitBtn, Lang(QStringLiteral("Beenden"), QStringLiteral("Quit")),
         Lang(QStringLiteral("Ich hab genug!"), QStringLiteral("I have enough!")));
    word(InfoBtn, Lang(QStringLiteral("Über Tangrix"), QStringLiteral("About Tangrix")),
         Lang(QStringLiteral("Wer hat diese Spiele nur verbrochen?"), QStringLiteral("Who did these TANGRIX GAME?")));
    ScoLabel->setText(Lang(QStringLiteral("Punkte:"), QStringLiteral("Score:")));
    LevLabel->setText(Lang(QStringLiteral("Stufe:"), QStringLiteral("Level:")));
    ScoLabel->adjustSize();
    LevLabel->adjustSize();
    box->setAccessibleName(Lang(QStringLiteral("Spielfeld"), QStringLiteral("Board")));
    accessibility_.SetTimeBarName(Lang(QStringLiteral("Restzeit"), QStringLiteral("Time left")));
    accessibility_.Follow();
}
