// The program entry: makes the windows in their fixed order, each one
// completely before the next, and runs the event loop until the main window
// has closed.
#include <QApplication>

#include "app/AppServices.h"
#include "assets/DlgRes.h"
#include "assets/ProgramIcon.h"
#include "game/main.h"
#include "help/hh.h"
#include "media/Effects.h"
#include "ui/InfoDlg.h"
#include "ui/Options.h"
#include "ui/Tongdlg.h"
#include "ui/YesNo.h"
#include "ui/highscor.h"
#include "ui/toolkit/TShapeHint.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tangrix"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tangrix"));
    QApplication::setWindowIcon(ProgramIcon());
    TShapeHint::Install(app);
    InitHelpLayer(QApplication::arguments(), QApplication::applicationDirPath() + QLatin1Char('/'));

    TAppServices services;
    mainform = new Tmainform(services);
    SetEffectWaves(&mainform->waves);
    DlgResources = new TDlgResources;
    mainform->BindDialogPictures();
    TongueDlg = new TTongueDlg(nullptr);
    OptionDlg = new TOptionDlg(services);
    HighscoreDlg = new THighscoreDlg(mainform->ini, mainform);
    YesNoDlg = new TYesNoDlg(mainform);
    InfoDlg = new TInfoDlg(mainform);

    mainform->RestorePlacement();
    mainform->show();
    const int result = app.exec();

    // The main window goes first: it saves its placement and closes help.
    delete mainform;
    services.CloseMusic();
    SetEffectWaves(nullptr);
    delete InfoDlg;
    delete YesNoDlg;
    delete HighscoreDlg;
    delete OptionDlg;
    delete TongueDlg;
    delete DlgResources;
    return result;
}
