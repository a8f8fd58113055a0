// The rules of the game, without a window.
#include <QtTest>

#include <deque>
#include <random>
#include <set>

#include "BoardText.h"
#include "Positions.h"
#include "game/rules/BoardGeometry.h"
#include "game/rules/GameCore.h"
#include "game/rules/Tableau.h"

namespace {

// Hands out preset numbers (0 when they run out) and records every request.
class ScriptedRandom final : public RandomSource {
public:
    std::deque<int> script;
    std::vector<int> requests;
    int Random(int n) override
    {
        requests.push_back(n);
        if (script.empty())
            return 0;
        const int v = script.front();
        script.pop_front();
        return v;
    }
};

// The middle block (3,3) is empty; each of its eight touching cells holds the
// quarter of tile "1234" that it touches, so only the right pairs all match.
const char* const RingBoard = R"(
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. 99 .. .. ..
.. .. .. 13 .. .. ..
.. .. 91 .. 39 .. ..
.. .. 92 .. 49 .. ..
.. .. .. 24 .. .. ..
.. .. .. 99 .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
)";

// Neighbours of the two corner blocks (0,0) and (6,6) matching tile "1234".
const char* const CornerBoard = R"(
.. 39 .. .. .. .. ..
.. 49 .. .. .. .. ..
24 .. .. .. .. .. ..
99 .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. 99
.. .. .. .. .. .. 13
.. .. .. .. .. 91 ..
.. .. .. .. .. 92 ..
)";

QList<BlockPos> FilledBlocks(const BoardGrid& board)
{
    QList<BlockPos> blocks;
    for (int bc = 0; bc < BoardBlocks; ++bc)
        for (int br = 0; br < BoardBlocks; ++br)
            if (!board.BlockEmpty({bc, br}))
                blocks.append({bc, br});
    return blocks;
}

void FillSquare(BoardGrid& board, int sc, int sr)
{
    for (int dx = 0; dx < 6; ++dx)
        for (int dy = 0; dy < 6; ++dy)
            board.SetCell(2 * sc + dx, 2 * sr + dy, 1);
}

} // namespace

Q_DECLARE_METATYPE(BlockPos)

class RulesTest : public QObject {
    Q_OBJECT

private slots:
    void tableau_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("patterns");
        QTest::addColumn<QList<BlockPos>>("blocks"); // in the order FilledBlocks lists them

        QTest::newRow("level 1: middle row") << 1 << 2 << QList<BlockPos>{{1, 3}, {3, 3}, {5, 3}};
        QTest::newRow("level 2: outer columns")
            << 2 << 2 << QList<BlockPos>{{1, 1}, {1, 3}, {1, 5}, {5, 1}, {5, 3}, {5, 5}};
        QTest::newRow("level 3: whole grid") << 3 << 2
                                             << QList<BlockPos>{{1, 1}, {1, 3}, {1, 5}, {3, 1}, {3, 3},
                                                                {3, 5}, {5, 1}, {5, 3}, {5, 5}};
        QTest::newRow("level 4: three again, one more symbol")
            << 4 << 3 << QList<BlockPos>{{1, 3}, {3, 3}, {5, 3}};
    }
    void tableau()
    {
        QFETCH(int, level);
        QFETCH(int, patterns);
        QFETCH(QList<BlockPos>, blocks);

        // Levels are reached only by winning the ones before.
        UniformRandom random(7);
        GameCore game(random);
        game.NewGame();
        while (game.Level() < level) {
            QVERIFY(Arrange(game, [](GamePosition& p) { AboutToWin(p); p.Clock.TimeLeft = 0.25f; }));
            QVERIFY(game.Lay(AlmostSquareHole).fullSquare);
            QVERIFY(game.AdvanceLevel());
            QVERIFY(game.SetUpNextLevel());
        }

        QCOMPARE(game.PatternCount(), patterns);
        QCOMPARE(FilledBlocks(game.Board()), blocks);
        for (int c = 0; c < BoardCells; ++c)
            for (int r = 0; r < BoardCells; ++r)
                QVERIFY(game.Board().Cell(c, r) >= 0 && game.Board().Cell(c, r) <= patterns);
        QCOMPARE(game.TimeLeft(), 1.0f);
        QVERIFY(!IsEmpty(game.NextTile()));
    }

    void patternCount_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("count");
        const std::pair<int, int> cases[] = {{1, 2}, {3, 2}, {4, 3}, {7, 4}, {73, 26}, {75, 26},
                                             {76, 27}, {77, 27}, {78, 27}, {79, 27}, {100000, 27}};
        for (auto [level, count] : cases)
            QTest::addRow("level %d", level) << level << count;
    }
    void patternCount()
    {
        QFETCH(int, level);
        QFETCH(int, count);
        QCOMPARE(PatternCountForLevel(level), count);
    }

    // Draws come in a fixed order: 729 swaps (a, then b), the start tiles
    // quarter by quarter in the order TL, BL, TR, BR, then the next tile.
    void drawOrder()
    {
        ScriptedRandom random;
        for (int i = 0; i < 729 * 2; ++i)
            random.script.push_back(0); // every swap is 1 <-> 1
        random.script.insert(random.script.end(), {0, 1, 1, 0}); // first start tile
        random.script.insert(random.script.end(), 8, 0);          // two more
        random.script.insert(random.script.end(), {1, 0, 0, 1}); // next tile
        GameCore game(random);
        game.NewGame();

        QCOMPARE(random.requests.size(), size_t(729 * 2 + 12 + 4));
        QVERIFY(std::all_of(random.requests.begin(), random.requests.begin() + 1458,
                            [](int n) { return n == 27; }));
        QVERIFY(std::all_of(random.requests.begin() + 1458, random.requests.end(),
                            [](int n) { return n == 2; }));
        QCOMPARE(game.Board().TileAt({1, 3}), TileFromText("1221"));
        QCOMPARE(game.NextTile(), TileFromText("2112"));
        for (int i = 1; i <= 27; ++i)
            QCOMPARE(game.PatternMap()[i], i);
    }

    void newGameStartsAfresh()
    {
        UniformRandom random(11);
        GameCore game(random);
        game.NewGame();
        const auto firstMap = game.PatternMap();
        std::set<int> images(firstMap.begin() + 1, firstMap.end());
        QCOMPARE(images.size(), size_t(27)); // a permutation of 1..27

        game.StartOnFirstPress();
        QVERIFY(game.PickUp());
        QVERIFY(game.ThrowAway());
        QVERIFY(Arrange(game, AboutToWin));
        QVERIFY(game.Lay(AlmostSquareHole).fullSquare);
        QVERIFY(game.AdvanceLevel());
        QVERIFY(game.SetUpNextLevel());
        QVERIFY(game.PickUp());
        game.TickClock();

        game.NewGame();
        QCOMPARE(game.Level(), 1);
        QCOMPARE(game.Score(), 0);
        QVERIFY(!game.InHand());
        QVERIFY(!IsEmpty(game.NextTile()));
        QCOMPARE(game.GameState(), TGameState::gsReady);
        QCOMPARE(game.TimeLeft(), 1.0f);
        QCOMPARE(FilledBlocks(game.Board()).size(), 3);
        // The generator runs on instead of starting over: a new assignment.
        QVERIFY(game.PatternMap() != firstMap);
    }

    void turning()
    {
        const Tile tile = TileFromText("1234"); // TL 1, BL 2, TR 3, BR 4
        // One turn anticlockwise: the top-right quarter comes to the top-left.
        QCOMPARE(TurnAnticlockwise(tile), TileFromText("3142"));
        Tile t = tile;
        for (int i = 0; i < 4; ++i)
            t = TurnAnticlockwise(t);
        QCOMPARE(t, tile);
    }

    void balance_data()
    {
        QTest::addColumn<QString>("board");
        QTest::addColumn<BlockPos>("block");
        QTest::addColumn<QString>("tile");
        QTest::addColumn<int>("balance");
        QTest::addColumn<bool>("accepted");

        QTest::newRow("middle, all eight match") << RingBoard << BlockPos{3, 3} << "1234" << 8 << true;
        QTest::newRow("middle, turned: all differ") << RingBoard << BlockPos{3, 3} << "3142" << -8 << false;
        QTest::newRow("middle, matches cancel mismatches") << RingBoard << BlockPos{3, 3} << "1255" << 0 << false;
        QTest::newRow("middle, six of eight") << RingBoard << BlockPos{3, 3} << "1254" << 4 << true;
        QTest::newRow("occupied block") << RingBoard << BlockPos{3, 2} << "9913" << 0 << false;
        QTest::newRow("no neighbours at all") << RingBoard << BlockPos{0, 6} << "1234" << 0 << false;
        QTest::newRow("one neighbour, half matching") << RingBoard << BlockPos{1, 3} << "9919" << 0 << false;
        QTest::newRow("top-left corner") << CornerBoard << BlockPos{0, 0} << "1234" << 4 << true;
        QTest::newRow("bottom-right corner") << CornerBoard << BlockPos{6, 6} << "1234" << 4 << true;
        QTest::newRow("left edge, top neighbour half matching") << CornerBoard << BlockPos{0, 2} << "9444" << 0 << false;
        QTest::newRow("top edge, one matching pair") << CornerBoard << BlockPos{2, 0} << "9399" << 0 << false;
    }
    void balance()
    {
        QFETCH(QString, board);
        QFETCH(BlockPos, block);
        QFETCH(QString, tile);
        QFETCH(int, balance);
        QFETCH(bool, accepted);

        UniformRandom random(1);
        GameCore game(random);
        game.NewGame();
        QVERIFY(Arrange(game, [&](GamePosition& p) { CarryOver(p, board, tile.toLatin1().constData()); }));

        if (game.Board().BlockEmpty(block))
            QCOMPARE(game.Board().Balance(block, game.HandTile()), balance);
        QCOMPARE(game.AcceptedBalance(block).has_value(), accepted);
        if (accepted)
            QCOMPARE(*game.AcceptedBalance(block), balance);

        // A lay is decided by the rules themselves: refused, nothing changes.
        const GamePosition before = game.Position();
        const LayResult result = game.Lay(block);
        QCOMPARE(result.accepted, accepted);
        if (!accepted) {
            QCOMPARE(game.Score(), before.Score);
            QVERIFY(game.InHand());
            QCOMPARE(game.Board().AllCells(), before.Board.AllCells());
        }
    }

    // Every place of the board, against a count of its own: each quarter of
    // the tile is compared with every cell beside it outside its block, so
    // places on the edges and next to them are counted as often as the middle.
    void balanceOnEveryPlace()
    {
        std::mt19937 random(11);
        std::uniform_int_distribution<int> symbol(1, 3), filled(0, 2);
        for (int round = 0; round < 12; ++round) {
            BoardGrid board;
            for (int bc = 0; bc < BoardBlocks; ++bc)
                for (int br = 0; br < BoardBlocks; ++br)
                    if (filled(random) > 0)
                        board.PutTile({bc, br}, Tile{{{symbol(random), symbol(random)}, {symbol(random), symbol(random)}}});
            for (int bc = 0; bc < BoardBlocks; ++bc)
                for (int br = 0; br < BoardBlocks; ++br) {
                    BoardGrid around = board;
                    around.PutTile({bc, br}, EmptyTile);
                    const Tile tile{{{symbol(random), symbol(random)}, {symbol(random), symbol(random)}}};
                    int expected = 0;
                    for (int dx = 0; dx < 2; ++dx)
                        for (int dy = 0; dy < 2; ++dy) {
                            const int x = 2 * bc + dx, y = 2 * br + dy;
                            for (const auto [nx, ny] : {std::pair{x - 1, y}, std::pair{x + 1, y}, std::pair{x, y - 1}, std::pair{x, y + 1}}) {
                                if (nx < 0 || ny < 0 || nx >= BoardCells || ny >= BoardCells)
                                    continue;
                                if (nx / 2 == bc && ny / 2 == br)
                                    continue; // the tile's own quarter
                                if (const int cell = around.Cell(nx, ny); cell != 0)
                                    expected += cell == tile[dx][dy] ? 1 : -1;
                            }
                        }
                    QVERIFY2(around.Balance({bc, br}, tile) == expected,
                             qPrintable(QStringLiteral("round %1, place (%2,%3): %4, counted %5")
                                            .arg(round)
                                            .arg(bc)
                                            .arg(br)
                                            .arg(around.Balance({bc, br}, tile))
                                            .arg(expected)));
                }
        }
    }

    void layScoresCubeAndWindsClockBack()
    {
        UniformRandom random(1);
        GameCore game(random);
        game.NewGame();
        QVERIFY(Arrange(game, [](GamePosition& p) {
            CarryOver(p, RingBoard, "1234");
            p.Score = 5;
            p.Clock.TimeLeft = 0.95f;
        }));

        const LayResult result = game.Lay({3, 3});
        QVERIFY(result.accepted);
        QCOMPARE(result.balance, 8);
        QCOMPARE(game.Score(), 5 + 512);
        QCOMPARE(game.Board().TileAt({3, 3}), TileFromText("1234"));
        QCOMPARE(game.TimeLeft(), 1.0f); // capped at full
        QVERIFY(!game.InHand());
        QVERIFY(!result.fullSquare);
        QVERIFY(!IsEmpty(game.NextTile())); // the next tile is dealt with the lay
    }

    // A won level waits: no tile is dealt until the next tableau is.
    void winningLayWaitsForTheNextLevel()
    {
        UniformRandom random(1);
        GameCore game(random);
        game.NewGame();
        QVERIFY(Arrange(game, [](GamePosition& p) { AboutToWin(p); p.Score = 20; }));
        QVERIFY(!game.SetUpNextLevel()); // nothing is won yet

        const LayResult result = game.Lay(AlmostSquareHole);
        QCOMPARE(result.balance, 4);
        QCOMPARE(result.fullSquare, std::optional<BlockPos>(BlockPos{0, 0}));
        QVERIFY(IsEmpty(game.NextTile()));
        QVERIFY(!game.PickUp());
        QVERIFY(!game.SetUpNextLevel()); // the level goes up first
        QVERIFY(game.AdvanceLevel());
        QCOMPARE(game.Level(), 2);
        QCOMPARE(game.Score(), 20 + 64 + 1000);
        QVERIFY(!game.AdvanceLevel()); // once per won square
        QVERIFY(game.SetUpNextLevel());
        QCOMPARE(FilledBlocks(game.Board()).size(), 6);
        QVERIFY(!IsEmpty(game.NextTile()));
    }

    // Operations that do not apply to the position change nothing.
    void operationsRefuseWhatDoesNotApply()
    {
        UniformRandom random(1);
        GameCore game(random);
        game.NewGame();
        const GamePosition dealt = game.Position();
        QVERIFY(!game.TurnHandTile());
        QVERIFY(!game.ThrowAway());
        QVERIFY(!game.Lay({0, 0}).accepted);
        QVERIFY(!game.Resume());
        QVERIFY(!game.Pause()); // only a running game pauses
        QCOMPARE(game.Score(), dealt.Score);
        QCOMPARE(game.NextTile(), dealt.NextTile);

        game.StartOnFirstPress();
        QVERIFY(game.PickUp());
        QVERIFY(!game.PickUp()); // one tile at a time
        QVERIFY(game.Pause());
        QVERIFY(!game.TurnHandTile()); // nothing is played in a pause
        QVERIFY(!game.ThrowAway());
        QVERIFY(game.Resume());
        QVERIFY(game.TurnHandTile());

        // Positions that break the rules are refused.
        QVERIFY(!Arrange(game, [](GamePosition& p) { p.Board.SetCell(0, 0, 1); })); // a quarter of a tile
        QVERIFY(!Arrange(game, [](GamePosition& p) { p.NextTile = TileFromText("1111"); })); // two tiles at once
        QVERIFY(!Arrange(game, [](GamePosition& p) { p.HandTile = TileFromText("1119"); })); // a symbol of no level 1
        QVERIFY(!Arrange(game, [](GamePosition& p) { p.PatternMap[1] = p.PatternMap[2]; }));
        QVERIFY(!Arrange(game, [](GamePosition& p) { p.Clock.TimeLeft = -0.5f; })); // run out, still playing
    }

    void throwAwayCostsTenEvenBelowZero()
    {
        UniformRandom random(1);
        GameCore game(random);
        game.NewGame();
        QVERIFY(Arrange(game, [](GamePosition& p) { p.Clock.TimeLeft = 0.5f; }));
        QVERIFY(game.PickUp());
        QVERIFY(game.ThrowAway());
        QCOMPARE(game.Score(), -10);
        QVERIFY(!game.InHand());
        QVERIFY(!IsEmpty(game.NextTile())); // and the next tile is dealt
        QCOMPARE(game.TimeLeft(), 0.5f); // no time for a discard
    }

    void fullSquare_data()
    {
        QTest::addColumn<QList<BlockPos>>("squares");
        QTest::addColumn<QList<BlockPos>>("holes"); // blocks left empty afterwards
        QTest::addColumn<bool>("found");
        QTest::addColumn<BlockPos>("expected");

        QTest::newRow("empty board") << QList<BlockPos>{} << QList<BlockPos>{} << false << BlockPos{};
        QTest::newRow("one square") << QList<BlockPos>{{2, 3}} << QList<BlockPos>{} << true << BlockPos{2, 3};
        // Square columns are searched before square rows: (0,2) comes before (2,0).
        QTest::newRow("two squares: column order first")
            << QList<BlockPos>{{2, 0}, {0, 2}} << QList<BlockPos>{} << true << BlockPos{0, 2};
        QTest::newRow("in the last three columns") << QList<BlockPos>{{4, 1}} << QList<BlockPos>{} << true << BlockPos{4, 1};
        QTest::newRow("in the last three rows") << QList<BlockPos>{{1, 4}} << QList<BlockPos>{} << true << BlockPos{1, 4};
        QTest::newRow("one block short") << QList<BlockPos>{{4, 4}} << QList<BlockPos>{{6, 6}} << false << BlockPos{};
        QTest::newRow("full board") << QList<BlockPos>{{0, 0}, {4, 4}, {0, 4}, {4, 0}} << QList<BlockPos>{} << true
                                    << BlockPos{0, 0};
    }
    void fullSquare()
    {
        QFETCH(QList<BlockPos>, squares);
        QFETCH(QList<BlockPos>, holes);
        QFETCH(bool, found);
        QFETCH(BlockPos, expected);

        BoardGrid board;
        for (const BlockPos& s : squares)
            FillSquare(board, s.column, s.row);
        for (const BlockPos& h : holes)
            board.PutTile(h, EmptyTile);
        const auto square = board.FindFullSquare();
        QCOMPARE(square.has_value(), found);
        if (found)
            QCOMPARE(*square, expected);
    }

    void clockRunsOutAfter201Ticks()
    {
        GameClock clock;
        int ticks = 0;
        while (!clock.Tick())
            ++ticks;
        QCOMPARE(ticks + 1, 201);
        QVERIFY(clock.TimeLeft < 0.0f);
    }

    // Each tick is computed in extended precision and rounded to float. Done
    // in float alone, the value after 194 ticks would be 0.0300008095801.
    void clockPrecision()
    {
        GameClock clock;
        for (int i = 0; i < 194; ++i)
            clock.Tick();
        QCOMPARE(clock.TimeLeft, 0.0300008077174f);
        QVERIFY(clock.TimeLeft != 0.0300008095801f);

        clock.TimeLeft = 0.5f;
        clock.WindBack();
        QCOMPARE(clock.TimeLeft, float(0.5L + 0.1L));
        clock.TimeLeft = 0.95f;
        clock.WindBack();
        QCOMPARE(clock.TimeLeft, 1.0f);
    }

    void clockTicksOnlyWhileReadyOrRunning_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("ticks");
        QTest::newRow("ready") << int(TGameState::gsReady) << true;
        QTest::newRow("running") << int(TGameState::gsRunning) << true;
        QTest::newRow("over") << int(TGameState::gsOver) << false;
        QTest::newRow("paused") << int(TGameState::gsPaused) << false;
    }
    void clockTicksOnlyWhileReadyOrRunning()
    {
        QFETCH(int, state);
        QFETCH(bool, ticks);
        UniformRandom random(1);
        GameCore game(random);
        game.NewGame();
        QVERIFY(Arrange(game, [state](GamePosition& p) { p.GameState = TGameState(state); }));
        game.TickClock();
        QCOMPARE(game.TimeLeft() < 1.0f, ticks);
    }

    void timeOutDropsCarriedTile()
    {
        UniformRandom random(1);
        GameCore game(random);
        game.NewGame();
        game.StartOnFirstPress();
        QVERIFY(game.PickUp());
        QVERIFY(Arrange(game, [](GamePosition& p) { p.Clock.TimeLeft = 0.004f; }));
        QVERIFY(game.TickClock());
        game.EndByTimeOut();
        QVERIFY(!game.InHand());
        QCOMPARE(game.GameState(), TGameState::gsOver);
        QVERIFY(IsEmpty(game.NextTile())); // the preview stays empty until a new game
    }

    void layout_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("cell");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("preview");
        QTest::newRow("design size") << 701 << 405 << 25 << 132 << 21 << 519;
        QTest::newRow("smallest window") << 640 << 423 << 26 << 93 << 23 << 495;
        QTest::newRow("narrow and tall") << 400 << 900 << 21 << 15 << 297 << 342;
        QTest::newRow("1080p") << 1920 << 1023 << 63 << 418 << 64 << 1375;
    }
    void layout()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        const BoardGeometry g = BoardGeometry::ComputeLayout(width, height);
        QTEST(g.CellSize, "cell");
        QTEST(g.BoardLeft, "left");
        QTEST(g.BoardTop, "top");
        QTEST(g.PreviewLeft, "preview");
        QCOMPARE(g.PreviewTop, g.BoardTop);
    }

    // A press acts on the block drawn under it; the gaps between blocks, the
    // frame and everything outside the board hit nothing.
    void blockUnderPointer_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<bool>("hit");
        QTest::addColumn<BlockPos>("block");
        // c = 25: block k spans 52k .. 52k + 49 from the board's corner (132, 21).
        QTest::newRow("block 0, first pixel") << 132 << 21 << true << BlockPos{0, 0};
        QTest::newRow("block 0, last pixel") << 132 + 49 << 21 + 49 << true << BlockPos{0, 0};
        QTest::newRow("gap after block 0") << 132 + 50 << 21 + 10 << false << BlockPos{};
        QTest::newRow("gap below block 0") << 132 + 10 << 21 + 51 << false << BlockPos{};
        QTest::newRow("left of the board") << 131 << 30 << false << BlockPos{};
        QTest::newRow("above the board") << 140 << 20 << false << BlockPos{};
        QTest::newRow("block 3, first pixel") << 132 + 156 << 21 + 156 << true << BlockPos{3, 3};
        QTest::newRow("block 3, right part") << 132 + 156 + 45 << 21 + 156 + 45 << true << BlockPos{3, 3};
        QTest::newRow("gap after block 3") << 132 + 156 + 51 << 21 + 160 << false << BlockPos{};
        QTest::newRow("block 6, last pixel") << 132 + 312 + 49 << 21 + 312 + 49 << true << BlockPos{6, 6};
        QTest::newRow("right of block 6") << 132 + 312 + 50 << 21 + 320 << false << BlockPos{};
        QTest::newRow("below block 6") << 132 + 320 << 21 + 312 + 50 << false << BlockPos{};
    }
    void blockUnderPointer()
    {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(bool, hit);
        QFETCH(BlockPos, block);
        const BoardGeometry g = BoardGeometry::ComputeLayout(701, 405);
        const auto found = g.BlockAt(x, y);
        QCOMPARE(found.has_value(), hit);
        if (hit)
            QCOMPARE(*found, block);
    }

    void previewAndDiscardAreas()
    {
        const BoardGeometry g = BoardGeometry::ComputeLayout(701, 405); // preview at (519, 21), c = 25
        QVERIFY(g.InPreview(520, 22));
        QVERIFY(g.InPreview(568, 70));
        QVERIFY(!g.InPreview(519, 30)); // the comparisons are strict
        QVERIFY(!g.InPreview(569, 30));
        QVERIFY(g.InDiscard(540, 21 + 75 + 1));
        QVERIFY(!g.InDiscard(540, 21 + 75));
        QVERIFY(!g.InDiscard(540, 21 + 125));
        // The side column's areas, as the painter frames them and the keys press them.
        QCOMPARE(g.PreviewRect(), (CanvasRect{519, 21, 52, 52}));
        QCOMPARE(g.DiscardRect(), (CanvasRect{519, 96, 52, 52}));
        QCOMPARE(g.TimeBarRect(), (CanvasRect{519, 171, 52, 25}));
        QCOMPARE(g.DiscardDarkening(), (CanvasRect{519, 96, 51, 51}));
        QCOMPARE(g.PreviewCentre(), (CanvasPoint{544, 46}));
        QCOMPARE(g.DiscardCentre(), (CanvasPoint{544, 121}));
    }
};

QTEST_GUILESS_MAIN(RulesTest)
#include "test_rules.moc"
