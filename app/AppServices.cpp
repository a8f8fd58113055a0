#include "app/AppServices.h"

#include "help/AppHelp.h"
#include "help/hh_funcs.h"
#include "media/Effects.h"
#include "ui/InfoDlg.h"
#include "ui/Options.h"
#include "ui/Tongdlg.h"
#include "ui/YesNo.h"
#include "ui/highscor.h"

TAppServices::TAppServices() = default;

TAppServices::~TAppServices() { midi.Close(); }

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

void TAppServices::HelpContext(int context) { AppHelpContext(context); }

void TAppServices::HelpQuit() { AppHelpCommand(kHelpQuit, 0); }

bool TAppServices::SwitchMusic() { return music_.SwitchMusic(); }

bool TAppServices::MusicFilesFound() const { return ::MusicFilesFound; }

QString TAppServices::MusicFileName() const { return music_.CurrentFileName(); }
