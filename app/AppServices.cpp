#include "app/AppServices.h"

#include "help/AppHelp.h"
#include "help/hh_funcs.h"
#include "media/Effects.h"
#include "ui/InfoDlg.h"
#include "ui/Options.h"
#include "ui/Tongdlg.h"
#include "ui/YesNo.h"
#include "ui/highscor.h"

AppServices::AppServices() = default;

AppServices::~AppServices() { midi.Close(); }

Answer AppServices::ShowMsg(Message message)
{
    YesNoDlg->ShowMsg(quint32(message));
    return AnswerFromModalResult(YesNoDlg->ModalResult());
}

bool AppServices::MessageShowing() const { return YesNoDlg && YesNoDlg->IsShowing(); }

void AppServices::ShowHighscore(int score, bool showOnly) { HighscoreDlg->ShowModal(score, showOnly); }

bool AppServices::HighscoreShowing() const { return HighscoreDlg && HighscoreDlg->isVisible(); }

void AppServices::ShowOptions() { OptionDlg->ShowModal(); }

void AppServices::ShowInfo() { InfoDlg->exec(); }

void AppServices::AskLanguage() { TongueDlg->exec(); }

void AppServices::PlayEffect(Effect effect) { ::PlayEffect(int(effect)); }

void AppServices::MusicStartUp() { music_.StartUp(); }

void AppServices::MusicKeepAlive() { music_.KeepAlive(); }

void AppServices::HelpContext(int context) { AppHelpContext(context); }

void AppServices::HelpQuit() { AppHelpCommand(kHelpQuit, 0); }

bool AppServices::SwitchMusic() { return music_.SwitchMusic(); }

bool AppServices::MusicFilesFound() const { return ::MusicFilesFound; }

QString AppServices::MusicFileName() const { return music_.CurrentFileName(); }
