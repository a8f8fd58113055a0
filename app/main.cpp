// The program entry: sets up the application object, then the program
// object makes the windows in their fixed order and runs the event loop
// until the main window has closed.
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>

#include "app/GameApplication.h"
#include "app/Program.h"
#include "assets/ProgramIcon.h"
#include "help/hh.h"
#include "media/ProgramAudio.h"
#include "settings/ErrorReport.h"
#include "ui/StandardErrorBox.h"
#include "ui/toolkit/ShapeHint.h"

int main(int argc, char* argv[])
{
    QElapsedTimer startClock;
    startClock.start();
    // On X11, every picture sent through shared memory is answered by an event
    // that wakes the program twice more; the game mostly sends the time bar
    // and a cell or two, which cost less sent plainly than those wake-ups
    // (idle: two wake-ups a second, the clock's, instead of six). A player
    // who sets the switch either way keeps it.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    GameApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tangrix"));
    // The desktop entry's name: the app id of every window under Wayland and
    // its desktop hint under X11, so that docks and task switchers find the
    // launcher of the running game.
    QApplication::setDesktopFileName(QStringLiteral("org.orvane.Tangrix"));
    // The game ends with its main window, also while a help window is still open.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(ProgramIcon());
    ShapeHint::Install(app);
    // What the store and the music cannot do is told in the standard box.
    SetErrorReporter(ShowStandardError);
    InitHelpLayer(QApplication::arguments(), QApplication::applicationDirPath() + QLatin1Char('/'));

    int result = 0;
    {
        Program program(startClock);
        result = program.Run();
    }
    // A sound server that does not answer keeps the audio thread inside the
    // audio library; the library's own clean-up at exit would wait for it
    // too, so the program ends without it.
    if (!EndProgramAudio()) {
        std::fflush(nullptr);
        std::_Exit(result);
    }
    return result;
}
