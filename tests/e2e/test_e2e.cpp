// The real game, started as a player starts it, under a private X server, and
// played from outside with the pointer and the keyboard. Every step is
// checked on the screen; the settings file is checked after the close.
// CTest runs it twice: on the bare server, and with a window manager
// (TANGRIX_E2E_WM names it), which frames the windows and hands out the focus.
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <utility>

#include <csignal>
#include <sys/types.h>

#include "tests/e2e/GameRun.h"
#include "tests/e2e/Player.h"
#include "tests/e2e/session/SessionManager.h"

namespace {
const QSize ScreenSize{1280, 1024};
// Long enough for a busy machine; the polls end as soon as the screen shows it.
constexpr int Patience = 30000;

QString Describe(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Section "common" of the settings file, every value as its text.
QMap<QString, QString> StoredValues(const QString& file)
{
    QMap<QString, QString> values;
    QSettings store(file, QSettings::IniFormat);
    store.beginGroup(QStringLiteral("common"));
    for (const QString& key : store.childKeys()) {
        const QVariant v = store.value(key);
        values[key] = v.typeId() == QMetaType::QStringList ? v.toStringList().join(QLatin1Char(',')) : v.toString();
    }
    return values;
}

QString WindowNames(const XDisplay& x)
{
    QStringList names;
    for (const XWindowInfo& w : x.VisibleWindows())
        names << QStringLiteral("\"%1\" %2x%3").arg(w.name).arg(w.geometry.width()).arg(w.geometry.height());
    return names.join(QStringLiteral(", "));
}

// The placement "200,flags,show,left,top,right,bottom" must hold the rectangle.
void CheckPlacement(const QString& stored, const QRect& window)
{
    const QStringList parts = stored.split(QLatin1Char(','));
    QCOMPARE(parts.size(), 7);
    QCOMPARE(parts[0], QStringLiteral("200"));
    QCOMPARE(parts[3].toInt(), window.left());
    QCOMPARE(parts[4].toInt(), window.top());
    QCOMPARE(parts[5].toInt() - parts[3].toInt(), window.width());
    QCOMPARE(parts[6].toInt() - parts[4].toInt(), window.height());
}
} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT

    XDisplay x_;
    // The options run and the restart after it share one settings store.
    QTemporaryDir sharedStore_;
    QImage germanCaptions_;
    std::optional<Pixels::Mean> chosenBackground_;
    QRect movedWindow_;
    QRect rulesLeftAt_;

    std::optional<XWindowInfo> FindWindow(const QString& id) const
    {
        for (const XWindowInfo& w : x_.VisibleWindows())
            if (w.id == id)
                return w;
        return std::nullopt;
    }

    QRect Outer(const XWindowInfo& w) const { return w.geometry.marginsAdded(x_.FrameExtents(w.id)); }

    // The window manager keeps every window of the game over the main window.
    void CheckChildOfMain(const GameRun& run, const XWindowInfo& w)
    {
        QVERIFY2(x_.TransientFor(w.id) == run.Main().id,
                 qPrintable(QStringLiteral("\"%1\" %2x%3 is kept over \"%4\", not over the main window %5")
                                .arg(w.name)
                                .arg(w.geometry.width())
                                .arg(w.geometry.height())
                                .arg(x_.TransientFor(w.id), run.Main().id)));
    }

    // A frameless window dragged by its background goes as far as the pointer.
    std::optional<XWindowInfo> DragByBackground(const XWindowInfo& w, QPoint background)
    {
        const QPoint way(-80, 60);
        const QPoint from = w.geometry.topLeft() + background;
        x_.Drag(from, from + way);
        std::optional<XWindowInfo> moved;
        const bool followed = Poll([&] { return (moved = FindWindow(w.id)) && moved->geometry.topLeft() == w.geometry.topLeft() + way; });
        if (!followed)
            qWarning("dragged from %s by -80,60, the window is at %s", qPrintable(Describe(w.geometry)),
                     moved ? qPrintable(Describe(moved->geometry)) : "nowhere");
        return followed ? moved : std::nullopt;
    }

    // A fresh store: the designed client area, and the whole window, frame
    // included, centred on the screen.
    void CheckFirstPlacement(GameRun& run)
    {
        const QRect screen(QPoint(0, 0), ScreenSize);
        const auto centred = [&] {
            const QRect outer = run.MainOuter();
            return outer.left() == (screen.width() - outer.width()) / 2
                && outer.top() == (screen.height() - outer.height()) / 2;
        };
        Poll([&] { return run.WaitForMainWindow(Patience).isEmpty() && centred(); }, Patience);
        QCOMPARE(run.Main().geometry.size(), QSize(701, 462));
        QVERIFY2(centred(), qPrintable(QStringLiteral("window at ") + Describe(run.MainOuter())));
        QVERIFY2(screen.contains(run.MainOuter()), qPrintable(QStringLiteral("window at ") + Describe(run.MainOuter())));
    }

    // Answers the first-start language question; the captions then show.
    void ChooseLanguage(GameRun& run, bool german)
    {
        const auto dialog = run.WaitForDialog(DialogSize::Language, Patience);
        QVERIFY2(dialog, qPrintable(QStringLiteral("no language question; windows: ") + WindowNames(x_)));
        CheckFirstPlacement(run);
        CheckChildOfMain(run, *dialog);
        if (QTest::currentTestFailed())
            return;
        run.KeepScreen(QStringLiteral("language-question"));
        run.ClickIn(*dialog, german ? QPoint(149, 52) : QPoint(149, 108));
        QVERIFY(run.WaitUntilDialogGone(DialogSize::Language, Patience));
    }

    // Closes with the exit button; key answers the question.
    std::optional<XWindowInfo> AskToClose(GameRun& run)
    {
        run.Click(run.Layout().ExitButton());
        run.MoveTo(run.Layout().Rest());
        const auto question = run.WaitForDialog(DialogSize::Message, Patience);
        if (question)
            CheckChildOfMain(run, *question);
        return question;
    }

    // The rules window of the rules button: the first time in a store it
    // opens centred over the main window, later where it was left.
    std::optional<XWindowInfo> OpenRules(GameRun& run, const QString& title)
    {
        run.Click(run.Layout().RulesButton());
        run.MoveTo(run.Layout().Rest());
        const auto rules = run.WaitForWindowNamed(title, Patience);
        if (!rules)
            qWarning("no rules window named %s; windows: %s", qPrintable(title), qPrintable(WindowNames(x_)));
        else
            CheckChildOfMain(run, *rules);
        return rules;
    }

    void CheckCentredOverMain(GameRun& run, const XWindowInfo& rules)
    {
        const QPoint offset = Outer(rules).center() - run.MainOuter().center();
        QVERIFY2(offset.manhattanLength() <= 2,
                 qPrintable(QStringLiteral("rules at %1, main window at %2")
                                .arg(Describe(Outer(rules)), Describe(run.MainOuter()))));
    }

    void RulesCloseWithEscape(GameRun& run, const XWindowInfo& rules)
    {
        x_.Key(QStringLiteral("Escape"));
        QVERIFY2(Poll([&] { return !FindWindow(rules.id); }, Patience), "Escape does not close the rules");
        QVERIFY(run.Running());
    }

    // Space is the board's key. After a click on a tool-strip button it must
    // not press that button again: not the rocket (a new tableau, or the
    // question whether to give up), not the door (its question, and then
    // Space as Yes would end the game).
    void SpaceAfterRocket(GameRun& run)
    {
        const MainLayout& l = run.Layout();
        run.Click(l.StartButton());
        run.MoveTo(l.Rest());
        QImage before;
        // The new tableau is on the screen when two looks agree.
        QVERIFY(Poll([&] {
            const QImage now = run.Shot().copy(l.Board());
            return std::exchange(before, now) == now;
        }));
        x_.Key(QStringLiteral("space"));
        QVERIFY2(!Poll([&] { return run.FindDialog(DialogSize::Message).has_value(); }, 2000),
                 "Space after the rocket asks a question");
        const QImage after = run.Shot().copy(l.Board());
        run.Keep(run.Shot(), QStringLiteral("space-after-rocket"));
        // The start tiles left and right of the middle are the same tiles.
        for (const QPoint block : {QPoint(1, 3), QPoint(5, 3)}) {
            const QRect r = l.Block(block.x(), block.y()).translated(-l.Board().topLeft());
            QVERIFY2(Pixels::Same(after.copy(r), before.copy(r)), "Space after the rocket dealt a new tableau");
        }
    }

    void SpaceAfterDoorAnsweredNo(GameRun& run)
    {
        const auto question = AskToClose(run);
        QVERIFY2(question, "the door asks nothing");
        run.ClickIn(*question, {229, 125}); // No
        QVERIFY(run.WaitUntilDialogGone(DialogSize::Message, Patience));
        x_.Key(QStringLiteral("space"));
        x_.Key(QStringLiteral("space"));
        QVERIFY2(!Poll([&] { return run.FindDialog(DialogSize::Message).has_value() || !run.Running(); }, 3000),
                 "Space after the door asks again or ends the game");
        run.Keep(run.Shot(), QStringLiteral("space-after-door"));
    }

    void ConfirmedCloseEnds(GameRun& run)
    {
        QVERIFY2(Poll([&] { return !run.Running(); }, Patience),
                 qPrintable(QStringLiteral("the game goes on after the close was confirmed; windows: ") +
                            WindowNames(x_)));
        QCOMPARE(run.ExitStatus(), QProcess::NormalExit);
        QCOMPARE(run.ExitCode(), 0);
        QVERIFY2(x_.VisibleWindows().isEmpty(), qPrintable(QStringLiteral("left on screen: ") + WindowNames(x_)));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(sharedStore_.isValid());
        const QString error = StartDisplay(x_, ScreenSize, QStringLiteral("window-manager.txt"));
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    // German chosen; a tile taken, turned, laid; pause, high scores, the
    // information window and the rules; the close asked twice.
    void germanGame()
    {
        QTemporaryDir store;
        GameRun run(x_, ArtefactFolder(QStringLiteral("german-game")), store.path());
        QString error = run.StartAndWaitForMainWindow(Patience);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        ChooseLanguage(run, true);
        if (QTest::currentTestFailed())
            return;
        const MainLayout& l = run.Layout();
        QImage shot = run.Shot();
        germanCaptions_ = shot.copy(l.Captions());
        run.Keep(shot, QStringLiteral("german"));

        ScriptedPlayer player(run, StartTiles);

        // The middle button takes the tile as well as the left one.
        error = player.PickUp(2);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        run.Keep(run.Shot(), QStringLiteral("tile-taken"));
        const bool uniform = player.HandIsUniform();
        for (int turn = 0; turn < 4; ++turn) {
            error = player.Turn();
            QVERIFY2(error.isEmpty(), qPrintable(error));
            if (turn == 0)
                run.Keep(run.Shot(), QStringLiteral("tile-turned"));
        }
        if (uniform)
            qInfo("the tile had four equal quarters: its turns were checked as no change");

        // Beside the start tiles, in every turn; a tile that fits nowhere is
        // thrown away and the next one tried.
        std::optional<QPoint> laid;
        for (int tile = 0; tile < 6 && !laid; ++tile) {
            if (tile > 0) {
                error = player.ThrowAway();
                QVERIFY2(error.isEmpty(), qPrintable(error));
                error = player.PickUp(1);
                QVERIFY2(error.isEmpty(), qPrintable(error));
            }
            laid = player.Lay(&error);
            QVERIFY2(error.isEmpty(), qPrintable(error));
        }
        QVERIFY2(laid, "no tile of six fitted beside the start tiles");
        run.Keep(run.Shot(), QStringLiteral("tile-laid"));

        // Pause: a message, and the board without its tiles.
        const QImage beforePause = run.Shot();
        run.Click(l.PauseButton());
        run.MoveTo(l.Rest());
        auto message = run.WaitForDialog(DialogSize::Message, Patience);
        QVERIFY2(message, "the pause shows no message");
        CheckChildOfMain(run, *message);
        // Out of the way, to see the whole board behind it.
        x_.MoveWindow(message->id, {0, 0});
        QVERIFY2(Poll([&] {
                     const QImage now = run.Shot();
                     for (int column = 0; column < 7; ++column)
                         for (int row = 0; row < 7; ++row) {
                             const bool same = Pixels::Same(player.BlockImage(now, {column, row}),
                                                            player.BlockImage(beforePause, {column, row}));
                             if (same == player.Occupied().contains(QPoint(column, row)))
                                 return false;
                         }
                     return true;
                 }),
                 "in the pause the laid tiles do not hide, or empty places change");
        run.KeepScreen(QStringLiteral("paused"));
        x_.Key(QStringLiteral("Return"));
        QVERIFY(run.WaitUntilDialogGone(DialogSize::Message, Patience));
        QVERIFY2(Poll([&] { return Pixels::Same(run.Shot().copy(l.Board()), beforePause.copy(l.Board())); }),
                 "after the pause the board does not show its tiles again");

        // The high-score table, shown only.
        run.Click(l.HighScoreButton());
        run.MoveTo(l.Rest());
        auto table = run.WaitForDialog(DialogSize::Highscore, Patience);
        QVERIFY2(table, "the trophy button shows no high-score table");
        CheckChildOfMain(run, *table);
        run.KeepScreen(QStringLiteral("high-scores"));
        run.ClickIn(*table, {285, 441});
        QVERIFY(run.WaitUntilDialogGone(DialogSize::Highscore, Patience));

        // The information window and its button back to the game.
        run.Click(l.InfoButton());
        run.MoveTo(l.Rest());
        auto info = run.WaitForDialog(DialogSize::Info, Patience);
        QVERIFY2(info, "the info button shows no information window");
        CheckChildOfMain(run, *info);
        run.KeepScreen(QStringLiteral("information"));
        // It has no frame: the player moves it by its background, below the
        // picture and left of the button.
        info = DragByBackground(*info, {60, 140});
        QVERIFY2(info, "the information window does not follow a drag on its background");
        run.ClickIn(*info, {324, 135});
        QVERIFY(run.WaitUntilDialogGone(DialogSize::Info, Patience));

        // The rules, in German, with their pictures, over the main window.
        const auto rules = OpenRules(run, QStringLiteral("Spielregeln"));
        QVERIFY2(rules, "no German rules window");
        QVERIFY2(Poll([&] { return Pixels::ColourfulPixels(x_.Grab(), rules->geometry, 30) > 20000; }),
                 "the rules window shows no picture of the board");
        run.KeepScreen(QStringLiteral("rules"));
        CheckCentredOverMain(run, *rules);
        RulesCloseWithEscape(run, *rules);
        if (QTest::currentTestFailed())
            return;

        // Closing a running game asks whether to give it up. No first: the
        // game stays; then yes.
        message = AskToClose(run);
        QVERIFY2(message, "closing asks nothing");
        run.KeepScreen(QStringLiteral("give-up-question"));
        x_.Key(QStringLiteral("n"));
        QVERIFY(run.WaitUntilDialogGone(DialogSize::Message, Patience));
        QVERIFY2(run.Running() && run.FindMainWindow(), "the game closed although the answer was no");
        message = AskToClose(run);
        QVERIFY2(message, "closing asks nothing the second time");
        x_.Key(QStringLiteral("j"));

        // With points, the table offers a place for a name.
        std::optional<XWindowInfo> entry;
        QVERIFY(Poll([&] { return !run.Running() || (entry = run.FindDialog(DialogSize::Highscore)); }, Patience));
        const bool named = entry.has_value();
        if (named) {
            run.KeepScreen(QStringLiteral("name-entry"));
            x_.Type(QStringLiteral("Xaver"));
            run.ClickIn(*entry, {285, 441});
        }
        ConfirmedCloseEnds(run);
        if (QTest::currentTestFailed())
            return;

        const auto values = StoredValues(run.SettingsFile());
        QCOMPARE(values.value(QStringLiteral("tongue")), QStringLiteral("1"));
        QCOMPARE(values.value(QStringLiteral("sound")), QStringLiteral("1"));
        QCOMPARE(values.value(QStringLiteral("music")), QStringLiteral("1"));
        QCOMPARE(values.value(QStringLiteral("backmode")), QStringLiteral("0"));
        CheckPlacement(values.value(QStringLiteral("MainForm")), run.Main().geometry);
        QVERIFY(!values.contains(QStringLiteral("MainFormColor")) && !values.contains(QStringLiteral("MainFormFont")));
        if (named) {
            QCOMPARE(values.value(QStringLiteral("player")), QStringLiteral("Xaver"));
            QVERIFY(!values.value(QStringLiteral("hs0")).isEmpty());
        }
    }

    // English chosen; a tile thrown away; every option changed; the window
    // moved; the close answered with Enter.
    void englishOptions()
    {
        GameRun run(x_, ArtefactFolder(QStringLiteral("english-options")), sharedStore_.path());
        QString error = run.StartAndWaitForMainWindow(Patience);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        ChooseLanguage(run, false);
        if (QTest::currentTestFailed())
            return;
        const MainLayout& l = run.Layout();
        const QImage englishCaptions = run.Shot().copy(l.Captions());
        if (!germanCaptions_.isNull())
            QVERIFY2(!Pixels::Same(englishCaptions, germanCaptions_), "the counters' captions are not English");

        // The right button takes the tile too; it turns, then goes.
        ScriptedPlayer player(run, StartTiles);
        error = player.PickUp(3);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        error = player.Turn();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        error = player.ThrowAway();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        run.Keep(run.Shot(), QStringLiteral("tile-thrown-away"));

        // The rules stay open, low and to the right, out of the way of the
        // tool strip and the window's margin.
        const auto rules = OpenRules(run, QStringLiteral("Rules"));
        QVERIFY2(rules, "no English rules window");
        x_.MoveWindow(rules->id, {560, 380});
        QVERIFY(Poll([&] {
            const auto moved = FindWindow(rules->id);
            return moved && moved->geometry.topLeft() != rules->geometry.topLeft();
        }));

        run.Click(l.OptionButton());
        run.MoveTo(l.Rest());
        auto options = run.WaitForDialog(DialogSize::Options, Patience);
        QVERIFY2(options, "the tools button shows no options");
        CheckChildOfMain(run, *options);
        run.KeepScreen(QStringLiteral("options"));
        const QPoint aside = options->geometry.topLeft() + QPoint(250, 395);
        const auto press = [&](QPoint button, int labelTop) {
            const QRect label(options->geometry.left() + 195, options->geometry.top() + labelTop, 270, 18);
            const QImage before = x_.Grab().copy(label);
            x_.Click(options->geometry.topLeft() + button);
            x_.MoveTo(aside);
            return Poll([&] { return !Pixels::Same(x_.Grab().copy(label), before); });
        };
        QVERIFY2(press({157, 84}, 76), "the language button does not change its label");
        QVERIFY2(Poll([&] {
                     const QImage now = run.Shot().copy(l.Captions());
                     return germanCaptions_.isNull() ? !Pixels::Same(now, englishCaptions)
                                                     : Pixels::Same(now, germanCaptions_);
                 }),
                 "the main window's captions do not turn German");
        QVERIFY2(Poll([&] {
                     const auto now = FindWindow(rules->id);
                     return now && now->name.contains(QStringLiteral("Spielregeln"));
                 }),
                 "the open rules stay English");
        QVERIFY2(press({157, 140}, 132), "the sound button does not change its label");
        QVERIFY2(press({157, 196}, 188), "the music button does not change its label");
        const Pixels::Mean before = Pixels::MeanColour(run.Shot(), l.Margin());
        QVERIFY2(press({157, 252}, 244), "the background button does not change its label");
        QVERIFY2(Poll([&] { return Pixels::MeanColour(run.Shot(), l.Margin()).DistanceTo(before) > 20; }),
                 "the window's background keeps its colour");
        run.KeepScreen(QStringLiteral("options-changed"));
        // Enter closes the window; it does not press the last option again.
        x_.Key(QStringLiteral("Return"));
        QVERIFY2(run.WaitUntilDialogGone(DialogSize::Options, Patience), "Enter does not close the options");
        const QImage shot = run.Shot();
        chosenBackground_ = Pixels::MeanColour(shot, l.Margin());
        run.Keep(shot, QStringLiteral("new-background"));

        // The rules go by their own close button; the next start opens
        // them where they were.
        const auto german = FindWindow(rules->id);
        QVERIFY(german);
        rulesLeftAt_ = german->geometry;
        run.KeepScreen(QStringLiteral("rules-aside"));
        // The button is at the top right, left of the scroll bar.
        run.ClickIn(*german, {german->geometry.width() - 40, 16});
        QVERIFY2(Poll([&] { return !FindWindow(rules->id); }), "the rules' close button does not close them");

        // Moved: the next start opens it here.
        const QPoint from = run.Main().geometry.topLeft();
        x_.MoveWindow(run.Main().id, {100, 80});
        QVERIFY(Poll([&] {
            const auto main = run.FindMainWindow();
            return main && main->geometry.topLeft() != from;
        }));
        QVERIFY(run.WaitForMainWindow(Patience).isEmpty());
        movedWindow_ = run.Main().geometry;

        // Played, with a negative score: the close asks, and no table follows.
        QVERIFY2(AskToClose(run), "closing asks nothing");
        x_.Key(QStringLiteral("Return"));
        QVERIFY2(Poll([&] { return !run.Running() || run.FindDialog(DialogSize::Highscore); }, Patience),
                 "the game goes on after the close was confirmed");
        QVERIFY2(!run.FindDialog(DialogSize::Highscore), "a negative score was offered to the high-score table");
        ConfirmedCloseEnds(run);
        if (QTest::currentTestFailed())
            return;

        const auto values = StoredValues(run.SettingsFile());
        QCOMPARE(values.value(QStringLiteral("tongue")), QStringLiteral("1"));
        QCOMPARE(values.value(QStringLiteral("sound")), QStringLiteral("0"));
        QCOMPARE(values.value(QStringLiteral("music")), QStringLiteral("0"));
        QCOMPARE(values.value(QStringLiteral("backmode")), QStringLiteral("1"));
        CheckPlacement(values.value(QStringLiteral("MainForm")), movedWindow_);
    }

    // The next start with that store: no language question, the chosen
    // background, the window where it was left; the close asked in a game
    // not yet begun, answered with Escape first.
    void restartKeepsOptions()
    {
        if (!chosenBackground_)
            QSKIP("needs the options run before it");
        GameRun run(x_, ArtefactFolder(QStringLiteral("restart")), sharedStore_.path());
        QString error = run.StartAndWaitForMainWindow(Patience);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        // A short look: the question would come right after the first frame.
        QVERIFY2(!Poll([&] { return run.FindDialog(DialogSize::Language).has_value(); }, 2000),
                 "the language is asked again");
        const MainLayout& l = run.Layout();
        const QImage shot = run.Shot();
        run.Keep(shot, QStringLiteral("restarted"));
        QCOMPARE(run.Main().geometry, movedWindow_);
        QVERIFY2(Pixels::MeanColour(shot, l.Margin()).DistanceTo(*chosenBackground_) < 8,
                 "the chosen background is not shown");

        const auto rules = OpenRules(run, QStringLiteral("Spielregeln"));
        QVERIFY2(rules, "no German rules window");
        QCOMPARE(rules->geometry, rulesLeftAt_);
        RulesCloseWithEscape(run, *rules);

        QVERIFY2(AskToClose(run), "closing asks nothing");
        run.KeepScreen(QStringLiteral("go-question"));
        x_.Key(QStringLiteral("Escape"));
        QVERIFY(run.WaitUntilDialogGone(DialogSize::Message, Patience));
        QVERIFY2(run.Running() && run.FindMainWindow(), "the game closed although the answer was no");
        QVERIFY2(AskToClose(run), "closing asks nothing the second time");
        x_.Key(QStringLiteral("y"));
        ConfirmedCloseEnds(run);
        if (QTest::currentTestFailed())
            return;

        const auto values = StoredValues(run.SettingsFile());
        QCOMPARE(values.value(QStringLiteral("tongue")), QStringLiteral("1"));
        QCOMPARE(values.value(QStringLiteral("sound")), QStringLiteral("0"));
        QCOMPARE(values.value(QStringLiteral("music")), QStringLiteral("0"));
        QCOMPARE(values.value(QStringLiteral("backmode")), QStringLiteral("1"));

        // The caption is the program's own, with nothing appended.
        QCOMPARE(run.Main().name, QStringLiteral("Tangrix V2.1"));
    }

    // Mouse and keyboard mixed: Space after clicks on the rocket and on the
    // door does nothing harmful.
    void spaceAfterToolButtons()
    {
        QTemporaryDir store;
        GameRun run(x_, ArtefactFolder(QStringLiteral("space-after-clicks")), store.path());
        QString error = run.StartAndWaitForMainWindow(Patience);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        ChooseLanguage(run, false);
        if (QTest::currentTestFailed())
            return;
        SpaceAfterRocket(run);
        if (QTest::currentTestFailed())
            return;
        SpaceAfterDoorAnsweredNo(run);
        if (QTest::currentTestFailed())
            return;

        QVERIFY2(AskToClose(run), "closing asks nothing");
        x_.Key(QStringLiteral("y"));
        // A tile laid by the keys may have scored: the table takes Enter as OK.
        std::optional<XWindowInfo> table;
        QVERIFY(Poll([&] { return !run.Running() || (table = run.FindDialog(DialogSize::Highscore)); }, Patience));
        if (table)
            x_.Key(QStringLiteral("Return"));
        ConfirmedCloseEnds(run);
    }

private:
    // What is open when the system asks the game to end: nobody answers it.
    enum class Open { Nothing, CloseQuestion, Options };
    void OpenDialog(GameRun& run, Open open)
    {
        if (open == Open::CloseQuestion) {
            QVERIFY2(AskToClose(run), "closing asks nothing");
        } else if (open == Open::Options) {
            run.Click(run.Layout().OptionButton());
            run.MoveTo(run.Layout().Rest());
            QVERIFY2(run.WaitForDialog(DialogSize::Options, Patience), "the tools button shows no options");
        }
    }

    // A game begun and the sound switched off in the options: a session's
    // change that only the close stores.
    void PlayWithSoundSwitchedOff(GameRun& run, XDisplay& x)
    {
        const MainLayout& l = run.Layout();
        run.Click(l.StartButton());
        run.Click(l.OptionButton());
        run.MoveTo(l.Rest());
        const auto options = run.WaitForDialog(DialogSize::Options, Patience);
        QVERIFY2(options, "the tools button shows no options");
        const QRect label(options->geometry.left() + 195, options->geometry.top() + 132, 270, 18);
        const QImage before = x.Grab().copy(label);
        x.Click(options->geometry.topLeft() + QPoint(157, 140));
        x.MoveTo(options->geometry.topLeft() + QPoint(250, 395));
        QVERIFY2(Poll([&] { return !Pixels::Same(x.Grab().copy(label), before); }),
                 "the sound button does not change its label");
        x.Key(QStringLiteral("Return"));
        QVERIFY(run.WaitUntilDialogGone(DialogSize::Options, Patience));
    }

    void CheckSessionKept(const GameRun& run, const QRect& window)
    {
        const auto values = StoredValues(run.SettingsFile());
        QCOMPARE(values.value(QStringLiteral("sound")), QStringLiteral("0"));
        QCOMPARE(values.value(QStringLiteral("music")), QStringLiteral("0"));
        CheckPlacement(values.value(QStringLiteral("MainForm")), window);
    }

private slots:
    // Asked to end by the system during a game (a logout, a terminal closed,
    // Ctrl+C): the game ends as a confirmed close does, asks nothing, and
    // keeps the options changed in this session and the window's place.
    void politeEndKeepsTheSession_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("open");
        QTest::newRow("SIGTERM") << int(SIGTERM) << int(Open::Nothing);
        QTest::newRow("SIGHUP") << int(SIGHUP) << int(Open::Nothing);
        QTest::newRow("SIGINT") << int(SIGINT) << int(Open::Nothing);
        QTest::newRow("SIGTERM, close question open") << int(SIGTERM) << int(Open::CloseQuestion);
        QTest::newRow("SIGTERM, options open") << int(SIGTERM) << int(Open::Options);
    }

    void politeEndKeepsTheSession()
    {
        QFETCH(int, signal);
        QFETCH(int, open);
        QTemporaryDir store;
        QVERIFY(WriteStore(store.path(), true, false, 0));
        GameRun run(x_, ArtefactFolder(QStringLiteral("polite-end-%1-%2").arg(signal).arg(open)), store.path());
        QString error = run.StartAndWaitForMainWindow(Patience);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        PlayWithSoundSwitchedOff(run, x_);
        if (QTest::currentTestFailed())
            return;
        OpenDialog(run, Open(open));
        if (QTest::currentTestFailed())
            return;

        QCOMPARE(::kill(pid_t(run.ProcessId()), signal), 0);
        // No question: the game is gone without an answer.
        ConfirmedCloseEnds(run);
        if (QTest::currentTestFailed())
            return;
        CheckSessionKept(run, run.Main().geometry);
    }

    // Ended by the system while the name for a new score is typed: the
    // score is kept with the name proposed.
    void politeEndKeepsANewScore()
    {
        QTemporaryDir store;
        QVERIFY(WriteStore(store.path(), false, false, 0));
        GameRun run(x_, ArtefactFolder(QStringLiteral("polite-end-new-score")), store.path());
        run.SetEnvironment(QStringLiteral("TANGRIX_TEST_ONE_SYMBOL"), QStringLiteral("1"));
        QString error = run.StartAndWaitForMainWindow(Patience);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        ScriptedPlayer player(run, StartTiles);
        error = player.PickUp(1);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        error = player.LayOn(WinningLays[0]);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        // Giving the game up offers its points to the table.
        run.Click(run.Layout().StartButton());
        run.MoveTo(run.Layout().Rest());
        QVERIFY2(run.WaitForDialog(DialogSize::Message, Patience), "the rocket does not ask to give up");
        x_.Key(QStringLiteral("y"));
        QVERIFY2(run.WaitForDialog(DialogSize::Highscore, Patience), "the points given up are not offered to the table");
        QVERIFY(StoredValues(run.SettingsFile()).value(QStringLiteral("hs0")).isEmpty());

        QCOMPARE(::kill(pid_t(run.ProcessId()), SIGTERM), 0);
        ConfirmedCloseEnds(run);
        QVERIFY2(!StoredValues(run.SettingsFile()).value(QStringLiteral("hs0")).isEmpty(), "the new score is lost");
    }

    // The desktop session ends (a logout) under a session manager that speaks
    // the session protocol: asked to save, the game keeps the session's
    // settings while it still runs and asks nothing; told to end, it ends
    // as a confirmed close does.
    void sessionEndKeepsTheSession_data()
    {
        QTest::addColumn<int>("open");
        QTest::newRow("playing") << int(Open::Nothing);
        QTest::newRow("close question open") << int(Open::CloseQuestion);
    }

    void sessionEndKeepsTheSession()
    {
        QFETCH(int, open);
        SessionManager session;
        QString error = session.Start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QTemporaryDir store;
        QVERIFY(WriteStore(store.path(), true, false, 0));
        GameRun run(x_, ArtefactFolder(QStringLiteral("session-end-%1").arg(open)), store.path());
        run.SetEnvironment(QStringLiteral("SESSION_MANAGER"), session.Address());
        error = run.StartAndWaitForMainWindow(Patience);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY2(session.WaitFor(QStringLiteral("registered"), Patience), "the game does not join the session");
        PlayWithSoundSwitchedOff(run, x_);
        if (QTest::currentTestFailed())
            return;

        session.Send(QStringLiteral("save"));
        QVERIFY2(session.WaitFor(QStringLiteral("save-done"), Patience),
                 qPrintable(QStringLiteral("the game does not finish saving; the session heard: ") +
                            session.Reports().join(u' ')));
        QVERIFY(run.Running());
        CheckSessionKept(run, run.Main().geometry);

        OpenDialog(run, Open(open));
        if (QTest::currentTestFailed())
            return;
        session.Send(QStringLiteral("die"));
        ConfirmedCloseEnds(run);
    }

    // The X server gone in the middle of a game (the window system's library
    // then ends the program itself): the session's settings are kept too.
    void lostDisplayKeepsTheSession()
    {
        auto display = std::make_unique<XDisplay>();
        QString error = display->Start(ScreenSize);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QTemporaryDir store;
        QVERIFY(WriteStore(store.path(), true, false, 0));
        GameRun run(*display, ArtefactFolder(QStringLiteral("lost-display")), store.path());
        error = run.StartAndWaitForMainWindow(Patience);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        PlayWithSoundSwitchedOff(run, *display);
        if (QTest::currentTestFailed())
            return;
        const QRect window = run.Main().geometry;

        display.reset();
        QVERIFY2(Poll([&] { return !run.Running(); }, Patience), "the game runs on without its display");
        QCOMPARE(run.ExitStatus(), QProcess::NormalExit);
        CheckSessionKept(run, window);
    }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "test_e2e.moc"
