#pragma once
// The program object: makes the program's parts in their start-up order,
// each completely before the next, hands each what it needs, runs the event
// loop, and ends the parts in the reverse order, which is the order of the
// members below read from the bottom up.
#include <QElapsedTimer>
#include <QString>
#include <memory>

#include "app/AppServices.h"
#include "app/EndRequests.h"
#include "app/HelpPlacementHost.h"
#include "app/MainWindowHost.h"
#include "app/ProgramParts.h"
#include "assets/DlgRes.h"
#include "game/mainform/main.h"
#include "ui/InfoDlg.h"
#include "ui/Options.h"
#include "ui/Tongdlg.h"
#include "ui/YesNo.h"
#include "ui/highscor.h"

class FirstFrameWatcher;

class Program {
public:
    // startClock: running since the program's entry (for the first-frame report).
    explicit Program(const QElapsedTimer& startClock);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the main window and runs the event loop until it has closed.
    int Run();

private:
    // The program's directory, the record cipher: the help file's path.
    const QString helpFile_;
    // Where the help window is kept; it closes last, after the main window.
    HelpPlacementHost helpHost_;
    InstalledHelpViewer helpViewer_;
    // Dialogs, effects, music; its end closes the music device.
    AppServices services_;
    HelpSession help_;
    NamedPart<Tmainform> mainWindow_;
    // The sound effects play the main window's sounds while it lives.
    struct EffectSounds {
        explicit EffectSounds(const Tmainform& window);
        ~EffectSounds();
    } effectSounds_;
    NamedPart<TDlgResources> dialogPictures_;
    MainWindowHost windowHost_;
    // Every dialog is a child of the main window: the window manager or the
    // compositor keeps it over the main window, and under Wayland that is
    // the only way to have it there.
    NamedPart<TTongueDlg> languageDialog_;
    NamedPart<TOptionDlg> optionsDialog_;
    NamedPart<THighscoreDlg> highscoreDialog_;
    NamedPart<TYesNoDlg> messageDialog_;
    NamedPart<TInfoDlg> infoDialog_;
    // The standard error box opens over the main window once it is complete.
    struct ErrorBoxOwner {
        explicit ErrorBoxOwner(Tmainform& window);
        ~ErrorBoxOwner();
    } errorBoxOwner_;
    std::unique_ptr<FirstFrameWatcher> firstFrame_;
    std::unique_ptr<EndRequests> endRequests_;
};
