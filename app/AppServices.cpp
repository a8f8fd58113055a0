#include "app/AppServices.h"

#include "game/main.h"
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

int TAppServices::ShowMsg(int n)
{
    YesNoDlg->ShowMsg(quint32(n));
    return YesNoDlg->ModalResult();
}

bool TAppServices::MessageShowing() const { return YesNoDlg && YesNoDlg->IsShowing(); }

void TAppServices::ShowHighscore(int score, bool showOnly) { HighscoreDlg->ShowModal(score, showOnly); }

bool TAppServices::HighscoreShowing() const { return HighscoreDlg && HighscoreDlg->isVisible(); }

void TAppServices::ShowOptions() { OptionDlg->ShowModal(); }

void TAppServices::ShowInfo() { InfoDlg->exec(); }

void TAppServices::AskLanguage() { TongueDlg->exec(); }

void TAppServices::PlayEffect(int n) { ::PlayEffect(n); }

void TAppServices::MusicStartUp() { music_.StartUp(); }

void TAppServices::MusicKeepAlive() { music_.KeepAlive(); }

void TAppServices::HelpStartUp(const QString& helpFile)
{
    helpSystem_ = std::make_unique<THookHelpSystem>(helpFile, QString(), THostType::HtmlHelp);
}

void TAppServices::HelpContext(int context) { AppHelpContext(context); }

void TAppServices::HelpCommand(int command, int data) { AppHelpCommand(command, data); }

void TAppServices::HelpShutDown()
{
    helpSystem_.reset();
    HHCloseAll();
}

QWidget* TAppServices::MainWindow() { return mainform; }

int TAppServices::BackMode() const { return mainform->BackMode(); }

void TAppServices::SetBackMode(int mode) { mainform->SetBackMode(mode); }

void TAppServices::Resize() { mainform->Resize(); }

void TAppServices::ApplyLanguage()
{
    mainform->ApplyLanguage();
    // The rules, if open, change language with the rest of the game.
    if (helpSystem_)
        helpSystem_->FollowLanguage();
}

bool TAppServices::SwitchMusic() { return music_.SwitchMusic(); }

bool TAppServices::MusicFilesFound() const { return ::MusicFilesFound; }

QString TAppServices::MusicFileName() const { return music_.CurrentFileName(); }

void TAppServices::CloseMusic() { midi.Close(); }

QString TAppServices::HelpPlacement()
{
    return mainform ? mainform->ini.ReadString(CommonSection(), HelpPlacementKey, QString()) : QString();
}

void TAppServices::SetHelpPlacement(const QString& value)
{
    if (mainform)
        mainform->ini.WriteString(CommonSection(), HelpPlacementKey, value);
}
