// The program entry: makes the windows in their fixed order, each one
// completely before the next, and runs the event loop until the main window
// has closed.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "app/AppServices.h"
#include "app/EndRequests.h"
#include "assets/DlgRes.h"
#include "assets/ProgramIcon.h"
#include "cipher/Chiffre.h"
#include "game/rules/RandomSource.h"
#include "game/mainform/main.h"
#include "help/hh.h"
#include "media/Effects.h"
#include "media/ProgramAudio.h"
#include "settings/DataLocation.h"
#include "settings/ErrorReport.h"
#include "settings/Globals.h"
#include "ui/InfoDlg.h"
#include "ui/StandardErrorBox.h"
#include "ui/Options.h"
#include "ui/Tongdlg.h"
#include "ui/YesNo.h"
#include "ui/highscor.h"
#include "ui/toolkit/DesktopEntryHint.h"
#include "ui/toolkit/TShapeHint.h"

namespace {
// Waits for the board's first picture, then lets what it was not to wait
// for begin; with TANGRIX_REPORT_FIRST_FRAME set (the benchmark), says when.
class FirstFrameWatcher : public QObject {
public:
    FirstFrameWatcher(const QElapsedTimer& clock, std::function<void()> then)
        : clock_(clock), then_(std::move(then)) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, [this, ms = clock_.elapsed()] {
                if (qEnvironmentVariableIsSet("TANGRIX_REPORT_FIRST_FRAME"))
                    std::fprintf(stderr, "tangrix: first frame after %lld ms\n", static_cast<long long>(ms));
                then_();
            });
        }
        return false;
    }

private:
    const QElapsedTimer& clock_;
    std::function<void()> then_;
};

// TANGRIX_SEED makes the games of a run repeatable (for tests that play
// the real program); otherwise the generator is seeded from the clock.
// TANGRIX_TEST_ONE_SYMBOL (end-to-end tests only) deals one symbol everywhere.
std::unique_ptr<RandomSource> SeededRandom()
{
    if (qEnvironmentVariableIsSet("TANGRIX_TEST_ONE_SYMBOL"))
        return std::make_unique<OneSymbolRandom>();
    bool ok = false;
    const uint seed = qEnvironmentVariable("TANGRIX_SEED").toUInt(&ok);
    if (!ok)
        return nullptr;
    return std::make_unique<UniformRandom>(seed);
}
} // namespace

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
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tangrix"));
    // The desktop entry's name: the app id of every window under Wayland and
    // its desktop hint under X11, so that docks and task switchers find the
    // launcher of the running game.
    QApplication::setDesktopFileName(QStringLiteral("org.orvane.Tangrix"));
    // The game ends with its main window, also while a help window is still open.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(ProgramIcon());
    TShapeHint::Install(app);
    // What the store and the music cannot do is told in the standard box.
    SetErrorReporter(ShowStandardError);
    InitHelpLayer(QApplication::arguments(), QApplication::applicationDirPath() + QLatin1Char('/'));

    // The program's own start-up steps, in the order the main window's
    // creation used to take them: its directory, the record cipher, help.
    // A folder whose name cannot be decoded leaves both empty: no music and
    // no rules from it (told once the language is known), but nothing read
    // from '/' or the current folder in its place either.
    const std::optional<QString> programDir = ProgramDirFrom(QCoreApplication::applicationDirPath());
    ProgramDir = programDir.value_or(QString());
    DataDir = programDir ? DataDirFor(ProgramDir) : QString();
    ScoreCipher.Init(std::u32string(), 0);
    TAppServices services;
    services.HelpStartUp(DataDir.isEmpty() ? QString() : DataDir + QStringLiteral("tngx.chm"));
    SetHelpWindowHost(&services);
    mainform = new Tmainform(services, SeededRandom());
    // TANGRIX_TEST_TICK_MS (end-to-end tests only) sets the clock's tick, so
    // that a test can let the time run out in seconds or never.
    if (const int tickMs = qEnvironmentVariableIntValue("TANGRIX_TEST_TICK_MS"); tickMs > 0)
        mainform->Timer.setInterval(tickMs);
    TDesktopEntryHint::Install(*mainform);
    services.AttachMainWindow(mainform);
    SetEffectWaves(&mainform->waves);
    DlgResources = new TDlgResources;
    mainform->BindDialogPictures();
    // Every dialog is a child of the main window: the window manager or the
    // compositor keeps it over the main window, and under Wayland that is
    // the only way to have it there.
    TongueDlg = new TTongueDlg(mainform);
    OptionDlg = new TOptionDlg(services, mainform);
    HighscoreDlg = new THighscoreDlg(mainform->ini, mainform);
    YesNoDlg = new TYesNoDlg(mainform);
    InfoDlg = new TInfoDlg(mainform);
    SetStandardErrorMainWindow(mainform);
    if (!programDir)
        ReportError(Lang(QString::fromUtf8("Der Ordner des Programms lässt sich nicht finden: Sein Name ist hier "
                                           "nicht lesbar. Musik und Spielregeln fehlen."),
                         QStringLiteral("The program's folder cannot be found: its name cannot be decoded here. "
                                        "Music and rules are missing.")));
    // Asked by the system to end (a signal, the session's end): the game
    // ends as a confirmed close does, asking nothing, and keeps the session's
    // settings.
    auto endRequests = std::make_unique<TEndRequests>([] { mainform->EndWithoutQuestions(); },
                                                      [] { mainform->SaveSettings(); });

    FirstFrameWatcher firstFrame(startClock, [&services] { services.MusicWindowShown(); });
    mainform->box->installEventFilter(&firstFrame);

    QObject::connect(mainform, &Tmainform::Closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    mainform->RestorePlacement();
    mainform->show();
    const int result = app.exec();
    endRequests.reset();

    // The dialogs go before the main window that holds them (they are hidden
    // by now); then the main window saves its placement, help closes its
    // windows, and the music ends.
    delete std::exchange(InfoDlg, nullptr);
    delete std::exchange(YesNoDlg, nullptr);
    delete std::exchange(HighscoreDlg, nullptr);
    delete std::exchange(OptionDlg, nullptr);
    delete std::exchange(TongueDlg, nullptr);
    SetStandardErrorMainWindow(nullptr);
    delete mainform;
    services.AttachMainWindow(nullptr);
    services.HelpShutDown();
    SetHelpWindowHost(nullptr);
    services.CloseMusic();
    SetEffectWaves(nullptr);
    delete DlgResources;
    // A sound server that does not answer keeps the audio thread inside the
    // audio library; the library's own clean-up at exit would wait for it
    // too, so the program ends without it.
    if (!EndProgramAudio()) {
        std::fflush(nullptr);
        std::_Exit(result);
    }
    return result;
}
