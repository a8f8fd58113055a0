// The real game under a real Wayland compositor: weston, headless, started by
// the test with a runtime directory and a socket of its own, and the game
// started on it as a player starts it, with an empty settings store. It is
// played by keys only. What is checked is what the compositor knows: every
// window of the game is the main window's child, so that the compositor keeps
// it over the main window; every window carries the desktop entry's name as
// its app id; a frameless window moves when dragged by its background; the
// game closes cleanly.
#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <functional>
#include <memory>
#include <linux/input-event-codes.h>
#include <sys/prctl.h>

#include "tests/e2e/Poll.h"
#include "tests/e2e/ProgramCopy.h"
#include "tests/wayland/WestonSession.h"

namespace {
const QSize ScreenSize{1280, 1024};
// Long enough for a busy machine; the polls end as soon as the compositor shows it.
constexpr int Patience = 30000;
const QString AppId = QStringLiteral("org.orvane.Tangrix");

// The dialogs, told apart by their sizes.
const QSize LanguageSize{408, 162};
const QSize MessageSize{319, 158};
const QSize OptionsSize{497, 416};
const QSize HighscoreSize{320, 476};
const QSize InfoSize{360, 170};

QString Describe(const WestonWindow& w)
{
    return QStringLiteral("\"%1\" %2x%3 app id \"%4\" id %5 parent %6")
        .arg(w.title)
        .arg(w.geometry.width())
        .arg(w.geometry.height())
        .arg(w.appId, w.id, w.parent);
}

QString Describe(const QList<WestonWindow>& windows)
{
    QStringList all;
    for (const WestonWindow& w : windows)
        all << Describe(w);
    return all.isEmpty() ? QStringLiteral("none") : all.join(QStringLiteral("; "));
}

using WindowTest = std::function<bool(const WestonWindow&)>;

WindowTest Sized(QSize size)
{
    return [size](const WestonWindow& w) { return w.geometry.size() == size; };
}

WindowTest Titled(const QString& part)
{
    return [part](const WestonWindow& w) { return w.title.contains(part); };
}

QString StoredTongue(const QString& configHome)
{
    QSettings store(QDir(configHome).filePath(QStringLiteral("Orvane/Tangrix V2.conf")), QSettings::IniFormat);
    return store.value(QStringLiteral("common/tongue")).toString();
}
} // namespace

class TestWayland : public QObject {
    Q_OBJECT

    WestonSession weston_;
    QString artefacts_;

    // One run of the game: its program directory, its settings store, its process.
    struct Run {
        QTemporaryDir programDir;
        QTemporaryDir store;
        QProcess game;
    };
    std::unique_ptr<Run> run_;
    QString mainId_;
    // Every toplevel seen that was not the main window's child.
    QStringList strays_;

    QString Artefact(const QString& name) const { return QDir(artefacts_).filePath(name); }

    // The compositor's windows; notes every stray toplevel on the way.
    QList<WestonWindow> Look()
    {
        const QList<WestonWindow> windows = weston_.Windows();
        for (const WestonWindow& w : windows) {
            if (mainId_.isEmpty() || w.kind != QLatin1String("toplevel") || w.id == mainId_)
                continue;
            if (w.parent != mainId_) {
                const QString stray = Describe(w);
                if (!strays_.contains(stray))
                    strays_ << stray;
            }
        }
        return windows;
    }

    std::optional<WestonWindow> Find(const WindowTest& test)
    {
        for (const WestonWindow& w : Look())
            if (w.kind == QLatin1String("toplevel") && w.id != mainId_ && test(w))
                return w;
        return std::nullopt;
    }

    std::optional<WestonWindow> WaitFor(const WindowTest& test)
    {
        std::optional<WestonWindow> found;
        Poll([&] { return (found = Find(test)).has_value() || run_->game.state() == QProcess::NotRunning; }, Patience);
        return found;
    }

    bool WaitUntilGone(const QString& id)
    {
        return Poll(
            [&] {
                const QList<WestonWindow> windows = Look();
                return std::none_of(windows.begin(), windows.end(), [&](const auto& w) { return w.id == id; });
            },
            Patience);
    }

    // Keys go where the compositor sends them: to the window that has the keyboard.
    bool WaitForKeyboard(const QString& id)
    {
        return Poll(
            [&] {
                const QList<WestonWindow> windows = Look();
                return std::any_of(windows.begin(), windows.end(),
                                   [&](const auto& w) { return w.id == id && w.hasKeyboard; });
            },
            Patience);
    }

    void StartGame(const QString& run)
    {
        artefacts_ = QDir(QStringLiteral(TANGRIX_E2E_ARTIFACTS)).filePath(QStringLiteral("wayland/") + run);
        QDir().mkpath(artefacts_);
        QVERIFY(run_->programDir.isValid() && run_->store.isValid());
        const QString error = CopyProgram(run_->programDir.path());
        QVERIFY2(error.isEmpty(), qPrintable(error));

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), weston_.SocketName());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), weston_.RuntimeDir());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), run_->store.path());
        // Not an X server to fall back to, nor a sound server or store of the machine's.
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("PULSE_SERVER"));
        env.remove(QStringLiteral("TANGRIX_TEST_STORE"));
        // One symbol everywhere: every lay beside a tile fits and scores.
        env.insert(QStringLiteral("TANGRIX_TEST_ONE_SYMBOL"), QStringLiteral("1"));
        run_->game.setProcessEnvironment(env);
        run_->game.setWorkingDirectory(run_->programDir.path());
        run_->game.setProcessChannelMode(QProcess::MergedChannels);
        run_->game.setStandardOutputFile(Artefact(QStringLiteral("game-output.txt")));
        run_->game.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        run_->game.start(QDir(run_->programDir.path()).filePath(QStringLiteral("tangrix")), {});
        QVERIFY2(run_->game.waitForStarted(20000), qPrintable(run_->game.errorString()));

        const auto main = WaitFor(Titled(QStringLiteral("Tangrix V2.1")));
        QVERIFY2(main, qPrintable(QStringLiteral("no main window; windows: ") + Describe(Look())));
        mainId_ = main->id;
        QCOMPARE(main->appId, AppId);
        QVERIFY2(!main->HasParent(), qPrintable(Describe(*main)));
    }

    // The first-start question, answered by keys: the choice then has the keyboard.
    void AnswerLanguage(std::initializer_list<std::initializer_list<int>> keys)
    {
        const auto question = WaitFor(Sized(LanguageSize));
        QVERIFY2(question, qPrintable(QStringLiteral("no language question; windows: ") + Describe(Look())));
        CheckChildOfMain(*question);
        QVERIFY2(WaitForKeyboard(question->id), "the language question never gets the keyboard");
        for (const auto& key : keys)
            QVERIFY(weston_.Keys(key));
        QVERIFY2(WaitUntilGone(question->id), "the language question stays after its answer");
    }

    void CheckChildOfMain(const WestonWindow& w)
    {
        QVERIFY2(w.parent == mainId_, qPrintable(QStringLiteral("not the main window's child: ") + Describe(w)));
        QCOMPARE(w.appId, AppId);
    }

    // Opens a window from the main window by its key and closes it with another.
    std::optional<WestonWindow> Open(std::initializer_list<int> keys, const WindowTest& which, const char* what)
    {
        if (!WaitForKeyboard(mainId_)) {
            qWarning("the main window does not get the keyboard back before %s", what);
            return std::nullopt;
        }
        if (!weston_.Keys(keys))
            return std::nullopt;
        const auto opened = WaitFor(which);
        if (!opened)
            qWarning("no %s; windows: %s", what, qPrintable(Describe(Look())));
        return opened;
    }

    void OpenAndClose(std::initializer_list<int> keys, const WindowTest& which, const char* what, int closeKey)
    {
        const auto opened = Open(keys, which, what);
        QVERIFY2(opened, what);
        CheckChildOfMain(*opened);
        QVERIFY2(WaitForKeyboard(opened->id), what);
        QVERIFY(weston_.Keys({closeKey}));
        QVERIFY2(WaitUntilGone(opened->id), what);
    }

    // A press on the background of the frameless window and a drag: the
    // compositor takes over the move, and the window ends up as far away as
    // the pointer went.
    void DragByBackground(const WestonWindow& w, QPoint background)
    {
        const QPoint grab = w.geometry.topLeft() + background;
        const QPoint way(-90, 70);
        // The compositor finds the window under the pointer once it has
        // drawn it: until then the pointer is taken there again.
        QVERIFY2(Poll([&] {
                     const auto pointer = weston_.MovePointer(grab) ? weston_.Pointer() : std::nullopt;
                     return pointer && pointer->over == w.id;
                 }),
                 "the pointer does not get over the window");
        QVERIFY(weston_.Button(BTN_LEFT, true));
        const bool moving = Poll([&] {
            const auto pointer = weston_.Pointer();
            return pointer && pointer->heldByShell;
        });
        for (int step = 1; step <= 5; ++step)
            QVERIFY(weston_.MovePointer(grab + way * step / 5));
        QVERIFY(weston_.Button(BTN_LEFT, false));
        QVERIFY2(moving, "a press on the background starts no move of the window");
        std::optional<WestonWindow> moved;
        QVERIFY2(Poll([&] {
                     moved = Find([&](const WestonWindow& now) { return now.id == w.id; });
                     return moved && moved->geometry.topLeft() == w.geometry.topLeft() + way;
                 }),
                 qPrintable(QStringLiteral("dragged from %1,%2 by %3,%4, the window is at %5,%6")
                                .arg(w.geometry.x())
                                .arg(w.geometry.y())
                                .arg(way.x())
                                .arg(way.y())
                                .arg(moved ? moved->geometry.x() : -1)
                                .arg(moved ? moved->geometry.y() : -1)));
    }

    // Ctrl+Q asks; the key answers yes; a score goes to the high-score
    // table, which Enter closes; the game ends by itself, cleanly.
    void Quit(int yesKey)
    {
        const auto question = Open({KEY_LEFTCTRL, KEY_Q}, Sized(MessageSize), "close question");
        QVERIFY2(question, "Ctrl+Q asks nothing");
        CheckChildOfMain(*question);
        QVERIFY(WaitForKeyboard(question->id));
        QVERIFY(weston_.Keys({yesKey}));
        std::optional<WestonWindow> table;
        QVERIFY(Poll([&] { return run_->game.state() == QProcess::NotRunning || (table = Find(Sized(HighscoreSize))); },
                     Patience));
        if (table) {
            CheckChildOfMain(*table);
            QVERIFY(WaitForKeyboard(table->id));
            QVERIFY(weston_.Keys({KEY_ENTER}));
        }
        QVERIFY2(Poll([&] { return run_->game.state() == QProcess::NotRunning; }, Patience),
                 "the game goes on after the close was confirmed");
        QCOMPARE(run_->game.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run_->game.exitCode(), 0);
        QVERIFY2(Look().isEmpty(), qPrintable(QStringLiteral("left on the screen: ") + Describe(Look())));
    }

private slots:
    void initTestCase()
    {
        const QString folder = QDir(QStringLiteral(TANGRIX_E2E_ARTIFACTS)).filePath(QStringLiteral("wayland"));
        QDir().mkpath(folder);
        const QString error = weston_.Start(ScreenSize, QDir(folder).filePath(QStringLiteral("weston.txt")));
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void init()
    {
        run_ = std::make_unique<Run>();
        mainId_.clear();
        strays_.clear();
    }

    void cleanup()
    {
        if (run_->game.state() != QProcess::NotRunning) {
            run_->game.kill();
            run_->game.waitForFinished(5000);
        }
        run_.reset();
        QVERIFY2(strays_.isEmpty(), qPrintable(QStringLiteral("windows that were not the main window's children: ") +
                                               strays_.join(QStringLiteral("; "))));
    }

    // English chosen by Down and Enter; the options, the high scores, the
    // information, a tile laid, the new-game question (dragged, answered No),
    // the close question and the offered place in the table, each by keys.
    void englishByKeys()
    {
        StartGame(QStringLiteral("english"));
        if (QTest::currentTestFailed())
            return;
        AnswerLanguage({{KEY_DOWN}, {KEY_ENTER}});
        if (QTest::currentTestFailed())
            return;

        OpenAndClose({KEY_O}, Sized(OptionsSize), "options", KEY_ESC);
        OpenAndClose({KEY_LEFTCTRL, KEY_H}, Sized(HighscoreSize), "high-score table", KEY_ESC);
        OpenAndClose({KEY_I}, Sized(InfoSize), "information window", KEY_ESC);
        if (QTest::currentTestFailed())
            return;

        // A tile taken (Space, from the middle), moved above the middle start
        // tile and laid: with points, a new game asks first.
        QVERIFY(WaitForKeyboard(mainId_));
        for (const int key : {KEY_SPACE, KEY_UP, KEY_SPACE})
            QVERIFY(weston_.Keys({key}));
        const auto question = Open({KEY_LEFTCTRL, KEY_N}, Sized(MessageSize), "new-game question");
        QVERIFY2(question, "Ctrl+N asks nothing");
        CheckChildOfMain(*question);
        // Left of the buttons, below the text.
        DragByBackground(*question, {100, 125});
        QVERIFY(WaitForKeyboard(question->id));
        QVERIFY(weston_.Keys({KEY_N}));
        QVERIFY2(WaitUntilGone(question->id), "N does not answer the new-game question");

        Quit(KEY_Y);
        QCOMPARE(StoredTongue(run_->store.path()), QStringLiteral("0"));
    }

    // German chosen by Space; the rules, which open in German; J answers the
    // close question.
    void germanByKeys()
    {
        StartGame(QStringLiteral("german"));
        if (QTest::currentTestFailed())
            return;
        AnswerLanguage({{KEY_SPACE}});
        if (QTest::currentTestFailed())
            return;
        OpenAndClose({KEY_F1}, Titled(QStringLiteral("Spielregeln")), "German rules window", KEY_ESC);
        Quit(KEY_J);
        QCOMPARE(StoredTongue(run_->store.path()), QStringLiteral("1"));
    }
};

QTEST_GUILESS_MAIN(TestWayland)
#include "test_wayland.moc"
