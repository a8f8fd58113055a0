// Keyboard play and the shortcuts of the tool strip.
#include <QtTest>

#include "FakeServices.h"
#include "game/main.h"
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
    TBoard::Cells board;
    int score, level;
    Tile next;
    bool inHand;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const GameCore& g) { return {g.Board.AllCells(), g.Score, g.Level, g.NextTile, g.InHand}; }

} // namespace

class KeysTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeServices> services;
    std::unique_ptr<Tmainform> form;

    std::unique_ptr<Tmainform> MakeForm(FakeServices& s, int seed)
    {
        auto f = std::make_unique<Tmainform>(s, std::make_unique<UniformRandom>(seed));
        f->InstantAnimations = true;
        f->show();
        f->activateWindow();
        return f;
    }
    void Key(Tmainform& f, Qt::Key key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(f.box, key, mods); }

private slots:
    void init()
    {
        Tongue = 0;
        services = std::make_unique<FakeServices>();
        form = MakeForm(*services, 9);
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->Timer.stop();
        services->messages.clear();
    }
    void cleanup()
    {
        services->answers = {6};
        form->close();
        form.reset();
    }

    // The same moves, made by keys on one window and by the mouse on a twin
    // dealt from the same seed, until a level is won: both end alike.
    void aLevelByKeysEndsLikeByMouse()
    {
        FakeServices mouseServices;
        auto twin = MakeForm(mouseServices, 9);
        twin->Timer.stop();
        const auto& geo = twin->Painter().Geometry();
        const QPoint preview(geo.PreviewLeft + geo.CellSize, geo.PreviewTop + geo.CellSize);
        const QPoint discard(geo.PreviewLeft + geo.CellSize, geo.PreviewTop + 4 * geo.CellSize);

        int moves = 0;
        while (form->Game().Level == 1 && moves < 400) {
            ++moves;
            Key(*form, Qt::Key_Space);
            QTest::mouseClick(twin->box, Qt::LeftButton, {}, preview);
            QVERIFY(form->Game().InHand);
            QCOMPARE(form->Game().HandTile, twin->Game().HandTile);

            const Move move = ChooseMove(form->Game());
            if (!move.lay) {
                Key(*form, moves % 2 ? Qt::Key_Delete : Qt::Key_Backspace);
                QTest::mouseClick(twin->box, Qt::LeftButton, {}, discard);
                continue;
            }
            for (int t = 0; t < move.turns; ++t) {
                Key(*form, Qt::Key_R);
                QTest::mouseClick(twin->box, Qt::RightButton, {}, QPoint(300, 200));
            }
            while (form->KeyBlock.column != move.block.column)
                Key(*form, form->KeyBlock.column < move.block.column ? Qt::Key_Right : Qt::Key_Left);
            while (form->KeyBlock.row != move.block.row)
                Key(*form, form->KeyBlock.row < move.block.row ? Qt::Key_Down : Qt::Key_Up);
            QCOMPARE(form->Painter().HandX, geo.BlockCentreX(move.block.column));
            Key(*form, moves % 2 ? Qt::Key_Return : Qt::Key_Space);
            QTest::mouseClick(twin->box, Qt::LeftButton, {},
                              QPoint(geo.BlockCentreX(move.block.column), geo.BlockCentreY(move.block.row)));
            QVERIFY(Take(form->Game()) == Take(twin->Game()));
        }
        QCOMPARE(form->Game().Level, 2);
        QVERIFY(Take(form->Game()) == Take(twin->Game()));
        QCOMPARE(services->messages, QList<int>{8});
        mouseServices.answers = {6};
        twin->close();
    }

    void refusedLayByKeySoundsAndKeepsTheTile()
    {
        Key(*form, Qt::Key_Space);
        // The centre block (3,3) holds a start tile on level 1.
        Key(*form, Qt::Key_Space);
        QCOMPARE(services->effects, QList<int>{3});
        QVERIFY(form->Game().InHand);
    }

    void arrowsStopAtTheEdges()
    {
        Key(*form, Qt::Key_Space);
        for (int i = 0; i < 10; ++i)
            Key(*form, Qt::Key_Left);
        for (int i = 0; i < 10; ++i)
            Key(*form, Qt::Key_Down);
        QCOMPARE(form->KeyBlock, (BlockPos{0, 6}));
        const auto& geo = form->Painter().Geometry();
        QCOMPARE(form->Painter().HandX, geo.BlockCentreX(0));
        QCOMPARE(form->Painter().HandY, geo.BlockCentreY(6));
    }

    void keysWithoutATileDoNotStartTheGame()
    {
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_R, Qt::Key_Delete})
            Key(*form, key);
        QCOMPARE(form->Game().GameState, TGameState::gsReady);
        Key(*form, Qt::Key_Return);
        QCOMPARE(form->Game().GameState, TGameState::gsRunning);
    }

    void keysDoNothingWhilePausedOrOver()
    {
        Key(*form, Qt::Key_Space);
        const Tile carried = form->Game().HandTile;
        services->whileMessageOpen = [&](int) {
            for (Qt::Key key : {Qt::Key_R, Qt::Key_Right, Qt::Key_Space, Qt::Key_Delete})
                form->boxKeyDown(QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
        };
        form->PauseBtnClick();
        QCOMPARE(form->Game().HandTile, carried);
        QCOMPARE(form->KeyBlock, (BlockPos{3, 3}));

        for (int i = 0; i < 300 && form->Game().GameState != TGameState::gsOver; ++i)
            form->TimerTimer();
        const int score = form->Game().Score;
        for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Delete})
            Key(*form, key);
        QVERIFY(!form->Game().InHand);
        QVERIFY(IsEmpty(form->Game().NextTile));
        QCOMPARE(form->Game().Score, score);
    }

    // Each shortcut does what its button does, in the states that matter.
    void shortcuts()
    {
        Key(*form, Qt::Key_Space); // running, a tile carried
        form->Game().Score = 50;

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
        services->answers = {7};
        Key(*form, Qt::Key_N, Qt::ControlModifier); // asks, as the button does; No keeps the game
        QCOMPARE(services->messages, QList<int>{4});
        QCOMPARE(form->Game().Score, 50);
        services->answers = {7};
        Key(*form, Qt::Key_Q, Qt::ControlModifier); // closing asks for confirmation
        QCOMPARE(services->messages, (QList<int>{4, 4}));
        QVERIFY(form->isVisible());
        services->answers = {6};
        Key(*form, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(form->Game().Score, 0);
        QCOMPARE(form->Game().GameState, TGameState::gsReady);
        services->answers = {6};
        Key(*form, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!form->isVisible());
    }
};

QTEST_MAIN(KeysTest)
#include "test_keys.moc"
