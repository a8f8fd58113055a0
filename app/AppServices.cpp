#include "app/AppServices.h"

#include "game/mainform/main.h"
#include "help/AppHelp.h"
#include "help/hh.h"
#include "help/hh_funcs.h"
#include "media/Effects.h"
#include "settings/ProgramSettings.h"
#include "ui/InfoDlg.h"
#include "ui/Options.h"
#include "ui/Tongdlg.h"
#include "ui/YesNo.h"
#include "ui/highscor.h"

namespace {
// Beside "MainForm", in the same format.
const QString HelpPlacementKey = QStringLiteral("HelpForm");
} // namespace

TAppServices::TAppServices() = default;

TAppServices::~TAppServices() = default;

Answer TAppServices::ShowMsg(Message message)
{
    YesNoDlg->ShowMsg(quint32(message));
    return AnswerFromModalResult(YesNoDlg->ModalResult());
}

bool TAppServices::MessageShowing() const { return YesNoDlg && YesNoDlg->IsShowing(); }

void TAppServices::ShowHighscore(int score, bool showOnly) { HighscoreDlg->ShowModal(score, showOnly); }

bool TAppServices::HighscoreShowing() const { return HighscoreDlg && HighscoreDlg->isVisible(); }

void TAppServices::ShowOptions() { OptionDlg->ShowModal(); }

void TAppServices::ShowInfo() { InfoDlg->exec(); }

void TAppServices::AskLanguage() { TongueDlg->exec(); }

void TAppServices::PlayEffect(Effect effect) { ::PlayEffect(int(effect)); }

void TAppServices::MusicStartUp() { music_.StartUp(); }

void TAppServices::MusicKeepAlive() { music_.KeepAlive(); }

void TAppServices::HelpStartUp(const QString& helpFile)
{
    helpSystem_ = std::make_unique<THookHelpSystem>(helpFile, QString(), THostType::HtmlHelp);
}

void TAppServices::HelpContext(int context) { AppHelpContext(context); }

void TAppServices::HelpQuit() { AppHelpCommand(kHelpQuit, 0); }

void TAppServices::HelpShutDown()
{
    helpSystem_.reset();
    HHCloseAll();
}

QWidget* TAppServices::MainWindow() { return window_; }

int TAppServices::BackMode() const { return window_ ? window_->BackMode() : 0; }

void TAppServices::SetBackMode(int mode)
{
    if (window_)
        window_->SetBackMode(mode);
}

void TAppServices::Resize()
{
    if (window_)
        window_->Resize();
}

void TAppServices::ApplyLanguage()
{
    if (window_)
        window_->ApplyLanguage();
    // The rules, if open, change language with the rest of the game.
    if (helpSystem_)
        helpSystem_->FollowLanguage();
}

bool TAppServices::SwitchMusic() { return music_.SwitchMusic(); }

bool TAppServices::MusicFilesFound() const { return ::MusicFilesFound; }

QString TAppServices::MusicFileName() const { return music_.CurrentFileName(); }

void TAppServices::CloseMusic() { midi.Close(); }

QString TAppServices::HelpPlacement() { return ini_.ReadString(CommonSection(), HelpPlacementKey, QString()); }

// Also when help closes its windows at the very end, after the main window.
void TAppServices::SetHelpPlacement(const QString& value) { ini_.WriteString(CommonSection(), HelpPlacementKey, value); }
