// The flow of a game without a window: the clock, the tool-strip buttons,
// pausing, closing, the animations and the events that wait for them. Every
// modal window is a fake that answers at once.
#include <QtTest>

#include "FlowRig.h"

Q_DECLARE_METATYPE(Answer)

using Offers = QList<QPair<int, bool>>; // (score, showOnly)

namespace {
constexpr Answer Yes = Answer::Yes;
constexpr Answer No = Answer::No;

bool BoardShowsTiles(const BoardScene& scene)
{
    for (const auto& column : scene.cells)
        for (int image : column)
            if (image != 0)
                return true;
    return false;
}
} // namespace

class FlowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FlowRig> rig;
    const GameCore& Game() { return rig->Game(); }
    GameFlow& Flow() { return rig->flow; }
    FakeServices& Services() { return rig->services; }

    // Brings the game into a state by the way a player gets there.
    void Enter(TGameState state, int score)
    {
        if (state != TGameState::gsReady)
            rig->PickUp();
        QVERIFY(Arrange(Flow(), [score](GamePosition& p) { p.Score = score; }));
        if (state == TGameState::gsOver)
            rig->RunClockOut();
        rig->Clear();
    }

private slots:
    void init() { rig = std::make_unique<FlowRig>(); }

    void aNewTableauWaitsWithTheClockRunning()
    {
        QCOMPARE(Game().GameState(), TGameState::gsReady);
        QCOMPARE(Game().Score(), 0);
        QCOMPARE(Game().Level(), 1);
        QCOMPARE(Game().TimeLeft(), 1.0f);
        QVERIFY(Flow().ClockRunning());
        QVERIFY(!Flow().PauseEnabled());
        Flow().Tick();
        QVERIFY(Game().TimeLeft() < 1.0f);
        QCOMPARE(Game().GameState(), TGameState::gsReady);
        QCOMPARE(Services().musicKeptAlive, 1);
    }

    void firstPressStartsTheGame()
    {
        Flow().Press(PressButton::Middle, 1, 1); // anywhere on the board canvas
        QCOMPARE(Game().GameState(), TGameState::gsRunning);
        QVERIFY(Flow().PauseEnabled());
        QVERIFY(!Game().InHand());
    }

    // The state table of the game's life, one row per transition.
    void stateTable_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("event");
        QTest::addColumn<int>("score");
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<int>("to");
        QTest::addColumn<QList<int>>("messages");
        QTest::addColumn<bool>("offered");
        QTest::addColumn<bool>("newGame");
        QTest::addColumn<bool>("closed");

        const int ready = int(TGameState::gsReady), running = int(TGameState::gsRunning), over = int(TGameState::gsOver);
        QTest::newRow("ready, start, score 0: new game, no question")
            << ready << "start" << 0 << QList<Answer>{} << ready << QList<int>{} << false << true << false;
        QTest::newRow("running, start, negative score: new game, no question")
            << running << "start" << -30 << QList<Answer>{} << ready << QList<int>{} << false << true << false;
        QTest::newRow("running, start, score, Yes: offered, new game")
            << running << "start" << 80 << QList<Answer>{Yes} << ready << QList<int>{4} << true << true << false;
        QTest::newRow("running, start, score, No: unchanged")
            << running << "start" << 80 << QList<Answer>{No} << running << QList<int>{4} << false << false << false;
        QTest::newRow("ready, start, score, No: unchanged")
            << ready << "start" << 80 << QList<Answer>{No} << ready << QList<int>{4} << false << false << false;
        QTest::newRow("over, start: new game, no question")
            << over << "start" << 80 << QList<Answer>{} << ready << QList<int>{} << false << true << false;
        QTest::newRow("running, close, Yes: game over, offered, closed")
            << running << "close" << 80 << QList<Answer>{Yes} << over << QList<int>{4} << true << false << true;
        QTest::newRow("running, close, Yes, score 0: nothing offered")
            << running << "close" << 0 << QList<Answer>{Yes} << over << QList<int>{4} << false << false << true;
        QTest::newRow("ready, close, Yes: asks 3, nothing offered")
            << ready << "close" << 80 << QList<Answer>{Yes} << ready << QList<int>{3} << false << false << true;
        QTest::newRow("over, close, Yes: asks 3")
            << over << "close" << 80 << QList<Answer>{Yes} << over << QList<int>{3} << false << false << true;
        QTest::newRow("running, close, No: stays")
            << running << "close" << 80 << QList<Answer>{No} << running << QList<int>{4} << false << false << false;
        QTest::newRow("ready, close, No: stays")
            << ready << "close" << 80 << QList<Answer>{No} << ready << QList<int>{3} << false << false << false;
        QTest::newRow("running, pause: paused while the message is open, then running")
            << running << "pause" << 80 << QList<Answer>{} << running << QList<int>{12} << false << false << false;
        QTest::newRow("ready, pause: nothing")
            << ready << "pause" << 0 << QList<Answer>{} << ready << QList<int>{} << false << false << false;
        QTest::newRow("over, pause: nothing although enabled")
            << over << "pause" << 80 << QList<Answer>{} << over << QList<int>{} << false << false << false;
    }
    void stateTable()
    {
        QFETCH(int, from);
        QFETCH(QString, event);
        QFETCH(int, score);
        QFETCH(QList<Answer>, answers);
        QFETCH(int, to);
        QFETCH(QList<int>, messages);
        QFETCH(bool, offered);
        QFETCH(bool, newGame);
        QFETCH(bool, closed);

        Enter(TGameState(from), score);
        const GamePosition before = Game().Position();
        Services().answers.assign(answers.begin(), answers.end());
        TGameState stateWhileMessage = TGameState::gsReady;
        bool clockWhileMessage = true;
        Services().whileMessageOpen = [&](int) {
            stateWhileMessage = Game().GameState();
            clockWhileMessage = Flow().ClockRunning();
        };

        bool closedNow = false;
        if (event == "start")
            Flow().StartButton();
        else if (event == "close")
            closedNow = Flow().CloseRequested();
        else
            Flow().PauseButton();

        QCOMPARE(int(Game().GameState()), to);
        QCOMPARE(Services().messages, messages);
        QCOMPARE(Services().highscores.size(), offered ? 1 : 0);
        if (offered)
            QCOMPARE(Services().highscores.first(), qMakePair(score, false));
        QCOMPARE(closedNow, closed);
        if (newGame) {
            QCOMPARE(Game().Score(), 0);
            QVERIFY(!Game().InHand());
            QVERIFY(Flow().ClockRunning());
            QCOMPARE(Game().TimeLeft(), 1.0f);
        } else if (!closed) {
            QCOMPARE(Game().Score(), score);
            QCOMPARE(Game().Level(), before.Level);
            QCOMPARE(Game().InHand(), before.InHand);
            QVERIFY(Game().Board().AllCells() == before.Board.AllCells());
            QCOMPARE(Game().TimeLeft(), before.Clock.TimeLeft);
        }
        if (event == "pause" && !messages.isEmpty())
            QCOMPARE(stateWhileMessage, TGameState::gsPaused);
        if (event == "start" && TGameState(from) != TGameState::gsOver) {
            if (!messages.isEmpty())
                QVERIFY(!clockWhileMessage); // held during the question
            QVERIFY(Flow().ClockRunning());  // and running again after it
        }
        if (event == "close" && !messages.isEmpty())
            QCOMPARE(clockWhileMessage, TGameState(from) != TGameState::gsOver); // not stopped by the question
    }

    void clockLeftAloneEndsTheGame()
    {
        rig->PickUp(); // a carried tile is lost at the end
        int ticks = 0;
        while (Game().GameState() != TGameState::gsOver && ticks < 1000) {
            Flow().Tick();
            ++ticks;
        }
        QCOMPARE(ticks, 201);
        // The music is looked after on every tick that leaves the clock
        // running, and not on the one that ends the game.
        QCOMPARE(Services().musicKeptAlive, 200);
        QVERIFY(!Game().InHand());
        QVERIFY(IsEmpty(Game().NextTile())); // the preview stays empty until a new game
        QVERIFY(!Flow().ClockRunning());
        QCOMPARE(Services().effects, QList<int>{3});
        QCOMPARE(Services().messages, QList<int>{7});
        QVERIFY(Services().highscores.isEmpty()); // a score of 0 is never offered

        // Over: the board ignores presses and moves, the pause button does nothing.
        const GamePosition over = Game().Position();
        rig->PickUp();
        Flow().PauseButton();
        Flow().Key(BoardKey::Action);
        QCOMPARE(Game().GameState(), TGameState::gsOver);
        QVERIFY(!Game().InHand());
        QVERIFY(Game().Board().AllCells() == over.Board.AllCells());
    }

    void positiveScoreIsOfferedOnceAtTheEnd()
    {
        rig->PickUp();
        QVERIFY(Arrange(Flow(), [](GamePosition& p) { p.Score = 345; }));
        rig->RunClockOut();
        QCOMPARE(Services().highscores, (Offers{{345, false}}));
        Services().answers = {Yes};
        QVERIFY(Flow().CloseRequested()); // closing after the end offers nothing more
        QCOMPARE(Services().highscores.size(), 1);
    }

    void pauseHidesTheTilesAndFreezesTheClock()
    {
        rig->PickUp();
        QVERIFY(Arrange(Flow(), [](GamePosition& p) { p.Clock.TimeLeft = 0.7f; }));
        QVERIFY(BoardShowsTiles(Flow().Scene()));
        bool hiddenDuringPause = false;
        bool handShownDuringPause = false;
        Services().whileMessageOpen = [&](int) {
            hiddenDuringPause = !BoardShowsTiles(Flow().Scene());
            handShownDuringPause = Flow().Scene().hand.has_value();
            Flow().Tick(); // ticks keep coming, but the clock is frozen
            Flow().Tick();
        };
        Flow().PauseButton();
        QVERIFY(hiddenDuringPause);
        QVERIFY(handShownDuringPause);
        QCOMPARE(Game().TimeLeft(), 0.7f);
        QVERIFY(BoardShowsTiles(Flow().Scene()));
        QCOMPARE(Game().GameState(), TGameState::gsRunning);
    }

    // A time-out while the close question is open: the game ends at once, and
    // message 7 and the score offer come when the question has closed.
    void timeOutBehindTheCloseQuestion_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::newRow("answered Yes: offered once, then closed") << Yes;
        QTest::newRow("answered No: offered once, window stays") << No;
    }
    void timeOutBehindTheCloseQuestion()
    {
        QFETCH(Answer, answer);
        rig->PickUp();
        QVERIFY(Arrange(Flow(), [](GamePosition& p) { p.Score = 90; p.Clock.TimeLeft = 0.001f; }));
        Services().answers = {answer};
        Services().whileMessageOpen = [&](int) {
            Flow().Tick();
            QCOMPARE(Game().GameState(), TGameState::gsOver);
            QVERIFY(!Flow().ClockRunning());
            QCOMPARE(Services().messages, QList<int>{4}); // nothing shown over the open question
        };
        const bool closed = Flow().CloseRequested();
        QCOMPARE(Services().messages, (QList<int>{4, 7}));
        QCOMPARE(Services().highscores, (Offers{{90, false}}));
        QCOMPARE(closed, answer == Yes);
    }

    void timeOutBehindTheHighScoreTable()
    {
        rig->PickUp();
        QVERIFY(Arrange(Flow(), [](GamePosition& p) { p.Score = 70; p.Clock.TimeLeft = 0.001f; }));
        Services().whileHighscoreOpen = [&] {
            Flow().Tick();
            QVERIFY(Services().messages.isEmpty());
        };
        Flow().HighScoreButton();
        QCOMPARE(Services().messages, QList<int>{7});
        QCOMPARE(Services().highscores, (Offers{{70, true}, {70, false}}));
        QCOMPARE(Services().effects, QList<int>{3});
    }

    void buttonsReachTheirWindows()
    {
        QVERIFY(Arrange(Flow(), [](GamePosition& p) { p.Score = 12; }));
        Flow().HighScoreButton();
        Flow().OptionsButton();
        Flow().InfoButton();
        QCOMPARE(Services().highscores, (Offers{{12, true}}));
        QCOMPARE(Services().optionsShown, 1);
        QCOMPARE(Services().infoShown, 1);
        Flow().RulesButton(true);
        Flow().RulesButton(false);
        QCOMPARE(Services().helpContexts, (QList<int>{1, 2}));
    }

    void leavingStopsTheClockAndEndsHelp()
    {
        Flow().Leave();
        QVERIFY(!Flow().ClockRunning());
        QCOMPARE(Services().helpQuits, 1);
        const float time = Game().TimeLeft();
        Flow().Tick();
        rig->PickUp();
        QCOMPARE(Game().TimeLeft(), time);
        QVERIFY(!Game().InHand());
    }

    // The clock starts when the player can play: not before the first showing,
    // and not while the first start's language question waits.
    void clockWaitsForTheLanguageQuestion()
    {
        FakeServices services;
        FakeView view;
        UniformRandom random(5);
        GameFlow flow(random, services, view);
        flow.SetGeometry(BoardGeometry::ComputeLayout(701, 405));
        flow.NewGame();
        QVERIFY(!flow.ClockRunning());
        services.whileLanguageAsked = [&] {
            QVERIFY(!flow.ClockRunning());
            for (int i = 0; i < 300; ++i) // longer than a full clock
                flow.Tick();
        };
        flow.FirstShow(false);
        QCOMPARE(services.languageAsked, 1);
        QCOMPARE(view.languagesChosen, 1);
        QCOMPARE(flow.Game().TimeLeft(), 1.0f);
        QCOMPARE(flow.Game().GameState(), TGameState::gsReady);
        QVERIFY(services.messages.isEmpty());
        QVERIFY(flow.ClockRunning());
        flow.FirstShow(false); // only the first showing asks
        QCOMPARE(services.languageAsked, 1);
    }

    // --- the animations and what waits for them ------------------------------------

    void carriedTileKeepsItsBlockThroughANewLayout()
    {
        FlowRig rig;
        rig.flow.Key(BoardKey::Action);
        rig.flow.Key(BoardKey::Right);
        rig.flow.Key(BoardKey::Down);
        const BlockPos aimed = rig.flow.AimedBlock();
        QCOMPARE(aimed.column, 4);
        QCOMPARE(aimed.row, 4);
        rig.flow.SetGeometry(BoardGeometry::ComputeLayout(1100, 740));
        QCOMPARE(QPoint(rig.flow.HandX(), rig.flow.HandY()), rig.BlockCentre(aimed));
        QCOMPARE(rig.flow.Scene().hand->x, rig.BlockCentre(aimed).x());
    }

    void throwAwayDarkensInFramesThenCosts()
    {
        rig->PickUp();
        const Tile thrown = Game().HandTile();
        rig->Press(rig->DiscardCentre());
        QCOMPARE(Services().effects, QList<int>{5});
        QVERIFY(Flow().Busy());
        QCOMPARE(Game().Score(), 0); // the cost comes with the end of the animation
        QVERIFY(!Flow().Scene().hand); // the tile lies in the discard box
        QCOMPARE(Flow().Scene().discard->passes, 1);
        QCOMPARE(Flow().Scene().discard->tile[0][0], Game().ImageFor(thrown[0][0]));
        QCOMPARE(rig->view.pending[FlowTimer::AnimationFrame], FlowAnimation::ThrowAwayFrameMs);

        QCOMPARE(rig->FinishAnimation(), 8); // passes 2..8, then the end
        QVERIFY(!Flow().Busy());
        QCOMPARE(Game().Score(), -10);
        QVERIFY(!Flow().Scene().discard);
        QVERIFY(!IsEmpty(Game().NextTile()));
    }

    // A tick held back during the throw-away comes after its cost: the score
    // offered is the final one, and one of 0 or less is never offered.
    void tickDuringThrowAwayEndsTheGameAfterTheCost_data()
    {
        QTest::addColumn<int>("score");
        QTest::addColumn<Offers>("offered");
        QTest::newRow("8 - 10: nothing offered") << 8 << Offers{};
        QTest::newRow("10 - 10: nothing offered") << 10 << Offers{};
        QTest::newRow("25 - 10: 15 offered") << 25 << Offers{{15, false}};
    }
    void tickDuringThrowAwayEndsTheGameAfterTheCost()
    {
        QFETCH(int, score);
        QFETCH(Offers, offered);
        rig->PickUp();
        QVERIFY(Arrange(Flow(), [score](GamePosition& p) { p.Score = score; p.Clock.TimeLeft = 0.004f; }));
        rig->Press(rig->DiscardCentre());
        Flow().Tick(); // the last tick of the clock
        QCOMPARE(Game().GameState(), TGameState::gsRunning);
        QVERIFY(Services().messages.isEmpty());
        rig->FinishAnimation();
        QCOMPARE(Game().GameState(), TGameState::gsOver);
        QCOMPARE(Game().Score(), score - 10);
        QCOMPARE(Services().messages, QList<int>{7});
        QCOMPARE(Services().highscores, offered);
    }

    // Presses and keys that came during an animation are handled after it in
    // the order they came; the ticks that piled up count as one.
    void eventsWaitForTheAnimationInOrder()
    {
        rig->PickUp();
        rig->Press(rig->DiscardCentre());
        const float before = Game().TimeLeft();
        for (int i = 0; i < 3; ++i)
            Flow().Tick();
        rig->PickUp();                                   // takes the tile dealt after the throw
        rig->Press(rig->PreviewCentre(), PressButton::Right); // then turns it
        Flow().Move(40, 50);
        QVERIFY(!Flow().Scene().hand); // nothing happened yet
        QCOMPARE(Game().TimeLeft(), before);

        rig->FinishAnimation();
        QVERIFY(Game().InHand());
        QCOMPARE(Game().TimeLeft(), float(static_cast<long double>(before) - GameClock::TickStep));
        QCOMPARE(Flow().HandX(), 40);
        QCOMPARE(Flow().HandY(), 50);
        QCOMPARE(Services().effects, QList<int>{5});
    }

    void winningBlinksWithTheClockStoppedThenDealsTheNextLevel()
    {
        rig->PickUp();
        QVERIFY(Arrange(Flow(), [](GamePosition& p) { AboutToWin(p); p.Score = 7; }));
        const BlockPos hole = AlmostSquareHole;
        rig->Press(rig->BlockCentre(hole));
        QCOMPARE(Services().effects, QList<int>{1});
        QVERIFY(!Flow().ClockRunning());
        QCOMPARE(Game().Score(), 7 + 64);
        QCOMPARE(Flow().Scene().cells[0][0], Game().ImageFor(1)); // frame 0 shows the square
        rig->Fire(FlowTimer::AnimationFrame);
        QCOMPARE(Flow().Scene().cells[0][0], 0); // frame 1 hides it
        QCOMPARE(Flow().Scene().cells[6][6], 0);

        int levelWhileMessage = 0;
        Services().whileMessageOpen = [&](int) { levelWhileMessage = Game().Level(); };
        QCOMPARE(rig->FinishAnimation(), 8);
        QCOMPARE(Services().messages, QList<int>{8});
        QCOMPARE(levelWhileMessage, 2);
        QCOMPARE(Game().Score(), 7 + 64 + 1000);
        QVERIFY(Flow().ClockRunning());
        QCOMPARE(Game().TimeLeft(), 1.0f);
        QVERIFY(!IsEmpty(Game().NextTile()));
        QVERIFY(!Flow().Busy());
    }

    // Behind the next-level message, the pause and the new-game question the
    // clock stands still, however long the player waits: ticks that keep
    // coming take nothing off, even with the clock a moment from its end.
    void clockStandsStillBehindEachMessage_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<int>("message");
        QTest::newRow("next level") << "win" << 8;
        QTest::newRow("pause") << "pause" << 12;
        QTest::newRow("new-game question") << "start" << 4;
    }
    void clockStandsStillBehindEachMessage()
    {
        QFETCH(QString, cause);
        QFETCH(int, message);
        rig->PickUp();
        QVERIFY(Arrange(Flow(), [&](GamePosition& p) {
            if (cause == "win")
                AboutToWin(p);
            p.Score = 50;
            p.Clock.TimeLeft = 0.012f; // three ticks from the end
        }));
        bool asked = false;
        Services().answers = {No};
        Services().whileMessageOpen = [&](int shown) {
            asked = shown == message;
            const float before = Game().TimeLeft();
            for (int i = 0; i < 20; ++i)
                Flow().Tick();
            QCOMPARE(Game().TimeLeft(), before);
        };
        if (cause == "win") {
            rig->Press(rig->BlockCentre(AlmostSquareHole));
            rig->FinishAnimation();
        } else if (cause == "pause") {
            Flow().PauseButton();
        } else {
            Flow().StartButton();
        }
        QVERIFY(asked);
        QVERIFY(Game().GameState() != TGameState::gsOver);
        QVERIFY(Flow().ClockRunning());
        QCOMPARE(Services().messages, QList<int>{message});
    }

    // A close asked for during the blink is asked after the level's message,
    // not inside it, and is not lost.
    void closeDuringTheBlinkIsAskedAfterIt()
    {
        rig->PickUp();
        QVERIFY(Arrange(Flow(), AboutToWin));
        rig->Press(rig->BlockCentre(AlmostSquareHole));
        QVERIFY(!Flow().CloseRequested());
        QVERIFY(Services().messages.isEmpty());
        Services().answers = {Yes, Yes}; // message 8, then the close question
        rig->FinishAnimation();
        QCOMPARE(Services().messages, (QList<int>{8, 4}));
        QCOMPARE(rig->view.closesConfirmed, 1);
        QCOMPARE(Services().highscores, (Offers{{Game().Score(), false}}));
        Flow().Tick(); // nothing happens after a confirmed close
        QCOMPARE(Services().messages.size(), 2);
    }

    void closeAnsweredNoDuringTheThrowAwayKeepsPlaying()
    {
        rig->PickUp();
        rig->Press(rig->DiscardCentre());
        QVERIFY(!Flow().CloseRequested());
        Services().answers = {No};
        rig->FinishAnimation();
        QCOMPARE(Services().messages, QList<int>{4});
        QCOMPARE(rig->view.closesConfirmed, 0);
        QCOMPARE(Game().GameState(), TGameState::gsRunning);
        rig->PickUp();
        QVERIFY(Game().InHand());
    }

    // A refused lay shows on the tile for a moment, without holding anything.
    void refusedLayShowsBriefly()
    {
        rig->PickUp();
        QVERIFY(Arrange(Flow(), [](GamePosition& p) { p.Clock.TimeLeft = 0.5f; }));
        rig->Press(rig->BlockCentre({0, 6})); // no neighbours: refused
        QCOMPARE(Services().effects, QList<int>{3});
        QVERIFY(Flow().Scene().hand->refused);
        QVERIFY(!Flow().Busy());
        QCOMPARE(rig->view.pending[FlowTimer::RefusalCue], FlowAnimation::RefusalCueMs);
        Flow().Move(100, 120);
        Flow().Tick();
        QCOMPARE(Flow().Scene().hand->x, 100);
        QVERIFY(Game().TimeLeft() < 0.5f);
        QVERIFY(rig->Fire(FlowTimer::RefusalCue));
        QVERIFY(!Flow().Scene().hand->refused);
    }
};

QTEST_GUILESS_MAIN(FlowTest)
#include "test_flow.moc"
