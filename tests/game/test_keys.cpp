// Keyboard play and the shortcuts of the tool strip.
#include <QtTest>

#include "FakeServices.h"
#include "Positions.h"
#include "game/mainform/main.h"
#include "settings/Globals.h"

namespace {

struct Move {
    bool lay;           // lay at block after turns; otherwise throw the tile away
    BlockPos block;
    int turns;
};

// A move a careful player would make: the best accepted lay of the carried
// tile over every empty block and turn, or a throw-away when none fits.
Move ChooseMove(const GameCore& game)
{
    Move best{false, {}, 0};
    int bestBalance = 0;
    for (int turns = 0; turns < 4; ++turns) {
        GameCore probe = game;
        for (int t = 0; t < turns; ++t)
            probe.TurnHandTile();
        for (int bc = 0; bc < BoardBlocks; ++bc)
            for (int br = 0; br < BoardBlocks; ++br)
                if (const auto s = probe.AcceptedBalance({bc, br}); s && *s > bestBalance) {
                    bestBalance = *s;
                    best = {true, {bc, br}, turns};
                }
    }
    return best;
}

struct Snapshot {
    BoardGrid::Cells board;
    int score, level;
    Tile next;
    bool inHand;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const GameCore& g) { return {g.Board().AllCells(), g.Score(), g.Level(), g.NextTile(), g.InHand()}; }

} // namespace

class KeysTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeServices> services;
    std::unique_ptr<Tmainform> form;

    std::unique_ptr<Tmainform> MakeForm(FakeServices& s, int seed)
    {
        auto f = std::make_unique<Tmainform>(s, std::make_unique<UniformRandom>(seed));
        f->show();
        f->activateWindow();
        return f;
    }
    // A key as the player presses it: to whatever has the keyboard focus.
    void Key(Tmainform& f, Qt::Key key, Qt::KeyboardModifiers mods = {})
    {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target && target->window() == &f ? target : f.box, key, mods);
        f.FinishAnimation();
    }
    const BoardGeometry& Geo() { return form->Painter().Geometry(); }
    QPoint BlockCentre(BlockPos b) { return {Geo().BlockCentreX(b.column), Geo().BlockCentreY(b.row)}; }

private slots:
    void init()
    {
        TIniCtrl().WriteInteger("common", "tongue", 0); // English, chosen before
        services = std::make_unique<FakeServices>();
        form = MakeForm(*services, 9);
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTRY_VERIFY(form->Flow().ClockRunning()); // the first showing is done
        form->Timer.stop();
        services->messages.clear();
    }
    void cleanup()
    {
        services->answers = {Answer::Yes};
        form->close();
        form.reset();
    }

    // The same moves, made by keys on one window and by the mouse on a twin
    // dealt from the same seed, until a level is won: both end alike. Between
    // the keys the pointer wanders over the keyed window too: the arrows
    // always move from the block under the carried tile.
    void aLevelByKeysEndsLikeByMouse()
    {
        FakeServices mouseServices;
        auto twin = MakeForm(mouseServices, 9);
        QTRY_VERIFY(twin->Flow().ClockRunning());
        twin->Timer.stop();
        const auto& geo = twin->Painter().Geometry();
        const QPoint preview(geo.PreviewLeft + geo.CellSize, geo.PreviewTop + geo.CellSize);
        const QPoint discard(geo.PreviewLeft + geo.CellSize, geo.PreviewTop + 4 * geo.CellSize);
        const auto click = [&](Qt::MouseButton button, QPoint p) {
            QTest::mouseClick(twin->box, button, {}, p);
            twin->FinishAnimation();
        };

        int moves = 0;
        while (form->Game().Level() == 1 && moves < 400) {
            ++moves;
            Key(*form, Qt::Key_Space);
            click(Qt::LeftButton, preview);
            QVERIFY(form->Game().InHand());
            QCOMPARE(form->Game().HandTile(), twin->Game().HandTile());

            const Move move = ChooseMove(form->Game());
            if (!move.lay) {
                Key(*form, moves % 2 ? Qt::Key_Delete : Qt::Key_Backspace);
                click(Qt::LeftButton, discard);
                continue;
            }
            for (int t = 0; t < move.turns; ++t) {
                Key(*form, Qt::Key_R);
                click(Qt::RightButton, QPoint(300, 200));
            }
            // The pointer moves somewhere (on or off the board) before the arrows.
            const BlockPos wander{(moves * 5) % 9 - 1, (moves * 3) % 8};
            QTest::mouseMove(form->box, BlockCentre(wander) + QPoint(moves % 7, -(moves % 5)));
            const BlockPos start = form->Flow().AimedBlock();
            QCOMPARE(start, Geo().NearestBlock(form->Flow().HandX(), form->Flow().HandY()));
            while (form->Flow().AimedBlock().column != move.block.column)
                Key(*form, form->Flow().AimedBlock().column < move.block.column ? Qt::Key_Right : Qt::Key_Left);
            while (form->Flow().AimedBlock().row != move.block.row)
                Key(*form, form->Flow().AimedBlock().row < move.block.row ? Qt::Key_Down : Qt::Key_Up);
            QCOMPARE(form->Flow().HandX(), geo.BlockCentreX(move.block.column));
            Key(*form, moves % 2 ? Qt::Key_Return : Qt::Key_Space);
            click(Qt::LeftButton, QPoint(geo.BlockCentreX(move.block.column), geo.BlockCentreY(move.block.row)));
            QVERIFY(Take(form->Game()) == Take(twin->Game()));
        }
        QCOMPARE(form->Game().Level(), 2);
        QVERIFY(Take(form->Game()) == Take(twin->Game()));
        QCOMPARE(services->messages, QList<int>{8});
        mouseServices.answers = {Answer::Yes};
        twin->close();
    }

    // Space lays the tile where it is shown, whoever moved it there.
    void spaceLaysWhereTheTileIsShown()
    {
        QTest::mouseClick(form->box, Qt::LeftButton, {}, QPoint(Geo().PreviewLeft + 9, Geo().PreviewTop + 9));
        QVERIFY(Arrange(*form, [](GamePosition& p) { CarryOver(p, AlmostSquareBoard, "1111"); p.Level = 1; }));
        // Off the board the first Space brings the tile onto the nearest block.
        Key(*form, Qt::Key_Space);
        QVERIFY(form->Game().InHand());
        QCOMPARE(form->Flow().AimedBlock(), (BlockPos{6, 0}));
        // Then the pointer takes it over the hole of the square, a little off centre.
        QTest::mouseMove(form->box, BlockCentre(AlmostSquareHole) + QPoint(9, -7));
        Key(*form, Qt::Key_Space);
        QVERIFY(!form->Game().InHand());
        QCOMPARE(form->Game().Level(), 2);
        QCOMPARE(services->messages, QList<int>{8});
    }

    // A click on a button of the tool strip leaves the keyboard with the board:
    // Space then plays instead of pressing the button again.
    void spaceAfterAButtonClickPlays()
    {
        QTest::mouseClick(form->StartBtn, Qt::LeftButton);
        QCOMPARE(form->Game().GameState(), TGameState::gsReady);
        services->answers = {Answer::No};
        QTest::mouseClick(form->ExitBtn, Qt::LeftButton);
        QCOMPARE(services->messages, QList<int>{3});
        QVERIFY(form->isVisible());
        Key(*form, Qt::Key_Space);
        Key(*form, Qt::Key_Space);
        QCOMPARE(services->messages, QList<int>{3}); // no question, no new game
        QCOMPARE(form->Game().GameState(), TGameState::gsRunning);
        QVERIFY(form->isVisible());
        QVERIFY(form->box->hasFocus());
    }

    void refusedLayByKeySoundsAndKeepsTheTile()
    {
        Key(*form, Qt::Key_Space);
        // The centre block (3,3) holds a start tile on level 1.
        Key(*form, Qt::Key_Space);
        QCOMPARE(services->effects, QList<int>{3});
        QVERIFY(form->Game().InHand());
    }

    // The arrows reach each corner of the board and stop there.
    void arrowsReachEveryEdge_data()
    {
        QTest::addColumn<int>("horizontal"); // Qt::Key_Left or Qt::Key_Right
        QTest::addColumn<int>("vertical");   // Qt::Key_Up or Qt::Key_Down
        QTest::addColumn<BlockPos>("corner");
        QTest::newRow("top left") << int(Qt::Key_Left) << int(Qt::Key_Up) << BlockPos{0, 0};
        QTest::newRow("top right") << int(Qt::Key_Right) << int(Qt::Key_Up) << BlockPos{6, 0};
        QTest::newRow("bottom left") << int(Qt::Key_Left) << int(Qt::Key_Down) << BlockPos{0, 6};
        QTest::newRow("bottom right") << int(Qt::Key_Right) << int(Qt::Key_Down) << BlockPos{6, 6};
    }
    void arrowsReachEveryEdge()
    {
        QFETCH(int, horizontal);
        QFETCH(int, vertical);
        QFETCH(BlockPos, corner);
        Key(*form, Qt::Key_Space);
        for (int i = 0; i < 10; ++i)
            Key(*form, Qt::Key(horizontal));
        for (int i = 0; i < 10; ++i)
            Key(*form, Qt::Key(vertical));
        QCOMPARE(form->Flow().AimedBlock(), corner);
        QCOMPARE(form->Flow().HandX(), Geo().BlockCentreX(corner.column));
        QCOMPARE(form->Flow().HandY(), Geo().BlockCentreY(corner.row));
    }

    void keysWithoutATileDoNotStartTheGame()
    {
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_R, Qt::Key_Delete})
            Key(*form, key);
        QCOMPARE(form->Game().GameState(), TGameState::gsReady);
        Key(*form, Qt::Key_Return);
        QCOMPARE(form->Game().GameState(), TGameState::gsRunning);
    }

    void keysDoNothingWhilePausedOrOver()
    {
        Key(*form, Qt::Key_Space);
        const Tile carried = form->Game().HandTile();
        const BlockPos aimed = form->Flow().AimedBlock();
        services->whileMessageOpen = [&](int) {
            for (Qt::Key key : {Qt::Key_R, Qt::Key_Right, Qt::Key_Space, Qt::Key_Delete})
                form->boxKeyDown(QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
        };
        form->PauseBtnClick();
        form->FinishAnimation();
        QCOMPARE(form->Game().HandTile(), carried);
        QCOMPARE(form->Flow().AimedBlock(), aimed);

        for (int i = 0; i < 300 && form->Game().GameState() != TGameState::gsOver; ++i)
            form->TimerTimer();
        const int score = form->Game().Score();
        for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Delete})
            Key(*form, key);
        QVERIFY(!form->Game().InHand());
        QVERIFY(IsEmpty(form->Game().NextTile()));
        QCOMPARE(form->Game().Score(), score);
    }

    // Each shortcut does what its button does, in the states that matter.
    void shortcuts()
    {
        Key(*form, Qt::Key_Space); // running, a tile carried
        QVERIFY(Arrange(*form, [](GamePosition& p) { p.Score = 50; }));

        Key(*form, Qt::Key_P);
        Key(*form, Qt::Key_Pause);
        QCOMPARE(services->messages, (QList<int>{12, 12}));

        Key(*form, Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(services->highscores, (QList<QPair<int, bool>>{{50, true}}));
        Key(*form, Qt::Key_O);
        Key(*form, Qt::Key_I);
        QCOMPARE(services->optionsShown, 1);
        QCOMPARE(services->infoShown, 1);
        Key(*form, Qt::Key_F1);
        QCOMPARE(services->helpContexts, QList<int>{2});

        services->messages.clear();
        services->answers = {Answer::No};
        Key(*form, Qt::Key_N, Qt::ControlModifier); // asks, as the button does; No keeps the game
        QCOMPARE(services->messages, QList<int>{4});
        QCOMPARE(form->Game().Score(), 50);
        services->answers = {Answer::No};
        Key(*form, Qt::Key_Q, Qt::ControlModifier); // closing asks for confirmation
        QCOMPARE(services->messages, (QList<int>{4, 4}));
        QVERIFY(form->isVisible());
        services->answers = {Answer::Yes};
        Key(*form, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(form->Game().Score(), 0);
        QCOMPARE(form->Game().GameState(), TGameState::gsReady);
        services->answers = {Answer::Yes};
        Key(*form, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!form->isVisible());
    }
};

QTEST_MAIN(KeysTest)
#include "test_keys.moc"
