// The real game, started as a player starts it, under a private X server, and
// played from outside with the pointer and the keyboard. Every step is
// checked on the screen; the settings file is checked after the close.
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/e2e/GameRun.h"
#include "tests/e2e/Player.h"

namespace {
const QSize ScreenSize{1280, 1024};
// Long enough for a busy machine; the polls end as soon as the screen shows it.
constexpr int Patience = 30000;

// Level 1 deals its start tiles in the middle row.
const QList<QPoint> StartTiles{{1, 3}, {3, 3}, {5, 3}};

QString Artefacts(const QString& run)
{
    return QDir(QStringLiteral(TANGRIX_E2E_ARTIFACTS)).filePath(run);
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

QString WindowNames(const TXDisplay& x)
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

    TXDisplay x_;
    // The options run and the restart after it share one settings store.
    QTemporaryDir sharedStore_;
    QImage germanCaptions_;
    std::optional<Pixels::Mean> chosenBackground_;
    QRect movedWindow_;

    // Answers the first-start language question; the captions then show.
    void ChooseLanguage(TGameRun& run, bool german)
    {
        const auto dialog = run.WaitForDialog(DialogSize::Language, Patience);
        QVERIFY2(dialog, qPrintable(QStringLiteral("no language question; windows: ") + WindowNames(x_)));
        // A fresh store: the window opens centred on the screen.
        const QRect main = run.Main().geometry;
        QCOMPARE(main.left(), (ScreenSize.width() - main.width()) / 2);
        QCOMPARE(main.top(), (ScreenSize.height() - main.height()) / 2);
        run.KeepScreen(QStringLiteral("language-question"));
        run.ClickIn(*dialog, german ? QPoint(149, 52) : QPoint(149, 108));
        QVERIFY(run.WaitUntilDialogGone(DialogSize::Language, Patience));
    }

    // Closes with the exit button; key answers the question.
    std::optional<XWindowInfo> AskToClose(TGameRun& run)
    {
        run.Click(run.Layout().ExitButton());
        run.MoveTo(run.Layout().Rest());
        return run.WaitForDialog(DialogSize::Message, Patience);
    }

    void ConfirmedCloseEnds(TGameRun& run)
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
        const QString error = x_.Start(ScreenSize);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    // German chosen; a tile taken, turned, laid; pause, high scores, the
    // information window and the rules; the close asked twice.
    void germanGame()
    {
        QTemporaryDir store;
        TGameRun run(x_, Artefacts(QStringLiteral("german-game")), store.path());
        QString error = run.Start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        error = run.WaitForMainWindow(Patience);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        ChooseLanguage(run, true);
        if (QTest::currentTestFailed())
            return;
        const TMainLayout& l = run.Layout();
        QImage shot = run.Shot();
        germanCaptions_ = shot.copy(l.Captions());
        run.Keep(shot, QStringLiteral("german"));

        TPlayer player(run, StartTiles);

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
        run.KeepScreen(QStringLiteral("high-scores"));
        run.ClickIn(*table, {285, 441});
        QVERIFY(run.WaitUntilDialogGone(DialogSize::Highscore, Patience));

        // The information window and its button back to the game.
        run.Click(l.InfoButton());
        run.MoveTo(l.Rest());
        auto info = run.WaitForDialog(DialogSize::Info, Patience);
        QVERIFY2(info, "the info button shows no information window");
        run.KeepScreen(QStringLiteral("information"));
        run.ClickIn(*info, {324, 135});
        QVERIFY(run.WaitUntilDialogGone(DialogSize::Info, Patience));

        // The rules, in German, with their pictures.
        run.Click(l.RulesButton());
        run.MoveTo(l.Rest());
        auto rules = run.WaitForWindowNamed(QStringLiteral("Spielregeln"), Patience);
        QVERIFY2(rules, qPrintable(QStringLiteral("no German rules window; windows: ") + WindowNames(x_)));
        QVERIFY2(Poll([&] { return Pixels::ColourfulPixels(x_.Grab(), rules->geometry, 30) > 20000; }),
                 "the rules window shows no picture of the board");
        run.KeepScreen(QStringLiteral("rules"));

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
        TGameRun run(x_, Artefacts(QStringLiteral("english-options")), sharedStore_.path());
        QString error = run.Start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        error = run.WaitForMainWindow(Patience);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        ChooseLanguage(run, false);
        if (QTest::currentTestFailed())
            return;
        const TMainLayout& l = run.Layout();
        const QImage englishCaptions = run.Shot().copy(l.Captions());
        if (!germanCaptions_.isNull())
            QVERIFY2(!Pixels::Same(englishCaptions, germanCaptions_), "the counters' captions are not English");

        // The right button takes the tile too; it turns, then goes.
        TPlayer player(run, StartTiles);
        error = player.PickUp(3);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        error = player.Turn();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        error = player.ThrowAway();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        run.Keep(run.Shot(), QStringLiteral("tile-thrown-away"));

        run.Click(l.OptionButton());
        run.MoveTo(l.Rest());
        auto options = run.WaitForDialog(DialogSize::Options, Patience);
        QVERIFY2(options, "the tools button shows no options");
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
        QVERIFY2(press({157, 140}, 132), "the sound button does not change its label");
        QVERIFY2(press({157, 196}, 188), "the music button does not change its label");
        const Pixels::Mean before = Pixels::MeanColour(run.Shot(), l.Margin());
        QVERIFY2(press({157, 252}, 244), "the background button does not change its label");
        QVERIFY2(Poll([&] { return Pixels::MeanColour(run.Shot(), l.Margin()).DistanceTo(before) > 20; }),
                 "the window's background keeps its colour");
        run.KeepScreen(QStringLiteral("options-changed"));
        run.ClickIn(*options, {461, 380});
        QVERIFY(run.WaitUntilDialogGone(DialogSize::Options, Patience));
        const QImage shot = run.Shot();
        chosenBackground_ = Pixels::MeanColour(shot, l.Margin());
        run.Keep(shot, QStringLiteral("new-background"));

        // Moved: the next start opens it here.
        x_.MoveWindow(run.Main().id, {100, 80});
        QVERIFY(Poll([&] {
            const auto main = run.FindMainWindow();
            return main && main->geometry.topLeft() == QPoint(100, 80);
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
        TGameRun run(x_, Artefacts(QStringLiteral("restart")), sharedStore_.path());
        QString error = run.Start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        error = run.WaitForMainWindow(Patience);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        // A short look: the question would come right after the first frame.
        QVERIFY2(!Poll([&] { return run.FindDialog(DialogSize::Language).has_value(); }, 2000),
                 "the language is asked again");
        const TMainLayout& l = run.Layout();
        const QImage shot = run.Shot();
        run.Keep(shot, QStringLiteral("restarted"));
        QCOMPARE(run.Main().geometry, movedWindow_);
        QVERIFY2(Pixels::MeanColour(shot, l.Margin()).DistanceTo(*chosenBackground_) < 8,
                 "the chosen background is not shown");

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
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "test_e2e.moc"
