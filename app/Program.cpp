#include "app/Program.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <optional>
#include <utility>

#include "cipher/Chiffre.h"
#include "game/rules/RandomSource.h"
#include "media/Effects.h"
#include "settings/DataLocation.h"
#include "settings/ErrorReport.h"
#include "settings/Globals.h"
#include "ui/StandardErrorBox.h"
#include "ui/toolkit/DesktopEntryHint.h"

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
            QTimer::singleShot(0, this, [this, ms = clock_.elapsed()] {
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

namespace {

// The main window's first creation steps, before anything else is made: the
// program's directory and the record cipher. Gives the help file's path. A
// folder whose name cannot be decoded leaves both folders empty: no music and
// no rules from it (told once the windows exist), but nothing read from '/'
// or the current folder in its place either.
QString PrepareFiles()
{
    const std::optional<QString> programDir = ProgramDirFrom(QCoreApplication::applicationDirPath());
    ProgramDir = programDir.value_or(QString());
    DataDir = programDir ? DataDirFor(ProgramDir) : QString();
    ScoreCipher.Init(std::u32string(), 0);
    return DataDir.isEmpty() ? QString() : DataDir + QStringLiteral("tngx.chm");
}

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

std::unique_ptr<Tmainform> MakeMainWindow(AppServices& services)
{
    auto window = std::make_unique<Tmainform>(services, SeededRandom());
    // TANGRIX_TEST_TICK_MS (end-to-end tests only) sets the clock's tick, so
    // that a test can let the time run out in seconds or never.
    if (const int tickMs = qEnvironmentVariableIntValue("TANGRIX_TEST_TICK_MS"); tickMs > 0)
        window->Timer.setInterval(tickMs);
    DesktopEntryHint::Install(*window);
    return window;
}

} // namespace

Program::EffectSounds::EffectSounds(const Tmainform& window) { SetEffectWaves(&window.waves); }

Program::EffectSounds::~EffectSounds() { SetEffectWaves(nullptr); }

Program::ErrorBoxOwner::ErrorBoxOwner(Tmainform& window) { SetStandardErrorMainWindow(&window); }

Program::ErrorBoxOwner::~ErrorBoxOwner() { SetStandardErrorMainWindow(nullptr); }

Program::Program(const QElapsedTimer& startClock)
    : helpFile_(PrepareFiles()),
      helpViewer_(helpHost_),
      help_(helpFile_),
      mainWindow_(mainform, MakeMainWindow(services_)),
      effectSounds_(*mainWindow_),
      dialogPictures_(DlgResources, std::make_unique<TDlgResources>()),
      windowHost_(*mainWindow_, services_, help_.Router()),
      languageDialog_(TongueDlg, std::make_unique<TTongueDlg>(&*mainWindow_)),
      optionsDialog_(OptionDlg, std::make_unique<TOptionDlg>(windowHost_, &*mainWindow_)),
      highscoreDialog_(HighscoreDlg, std::make_unique<THighscoreDlg>(mainWindow_->ini, &*mainWindow_)),
      messageDialog_(YesNoDlg, std::make_unique<TYesNoDlg>(&*mainWindow_)),
      infoDialog_(InfoDlg, std::make_unique<TInfoDlg>(&*mainWindow_)),
      errorBoxOwner_(*mainWindow_),
      firstFrame_(std::make_unique<FirstFrameWatcher>(startClock, [this] { services_.MusicWindowShown(); })),
      // Asked by the system to end (a signal, the session's end): the game
      // ends as a confirmed close does, asking nothing, and keeps the
      // session's settings and a new score being entered. (The Quit after
      // the player's own close finds the window gone.)
      endRequests_(std::make_unique<EndRequests>([this] {
                                                      highscoreDialog_->KeepEntryAtEnd();
                                                      if (mainWindow_->isVisible())
                                                          mainWindow_->EndWithoutQuestions();
                                                  },
                                                  [this] { mainWindow_->SaveSettings(); }))
{
    helpHost_.SetMainWindow(&*mainWindow_);
    // The right-hand buttons draw the shared dialog pictures, which exist
    // only now, before anything is shown.
    mainWindow_->BindDialogPictures();
    mainWindow_->box->installEventFilter(firstFrame_.get());
    if (ProgramDir.isEmpty())
        ReportError(Lang(QString::fromUtf8("Der Ordner des Programms lässt sich nicht finden: Sein Name ist hier "
                                           "nicht lesbar. Musik und Spielregeln fehlen."),
                         QStringLiteral("The program's folder cannot be found: its name cannot be decoded here. "
                                        "Music and rules are missing.")));
}

Program::~Program() = default;

int Program::Run()
{
    QObject::connect(&*mainWindow_, &Tmainform::Closed, QCoreApplication::instance(), &QCoreApplication::quit,
                     Qt::QueuedConnection);
    mainWindow_->RestorePlacement();
    mainWindow_->show();
    const int result = QApplication::exec();
    // No more end requests once the loop is over: the parts are ending.
    endRequests_.reset();
    return result;
}
