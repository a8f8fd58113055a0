// The board in the main window: what the canvas shows, and play through real
// mouse events on it.
#include <QtTest>

#include "BoardText.h"
#include "FakeServices.h"
#include "game/main.h"
#include "settings/Globals.h"

namespace {

constexpr int DesignWidth = 701;
constexpr int DesignHeight = 462;

QRgb Rgb(QRgb p) { return p & 0xFFFFFFu; }

// The board of the rules test: block (3,3) empty, its eight touching cells
// matching tile "1234".
const char* const RingBoard = R"(
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. 22 .. .. ..
.. .. .. 12 .. .. ..
.. .. 21 .. 22 .. ..
.. .. 22 .. 12 .. ..
.. .. .. 21 .. .. ..
.. .. .. 22 .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
)";

// A 3 x 3 square at blocks (1..3, 1..3) with its middle block (2,2) missing;
// tile "1111" fits there with all eight quarters matching.
const char* const AlmostSquare = R"(
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. 22 22 22 .. .. ..
.. 22 11 22 .. .. ..
.. 21 .. 12 .. .. ..
.. 21 .. 12 .. .. ..
.. 22 11 22 .. .. ..
.. 22 22 22 .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
.. .. .. .. .. .. ..
)";

} // namespace

class BoardTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeServices> services;
    std::unique_ptr<Tmainform> form;

    const BoardGeometry& Geo() { return form->Painter().Geometry(); }
    QImage Canvas() { return form->box->Canvas().Image(); }
    QPoint PreviewCentre() { return {Geo().PreviewLeft + Geo().CellSize, Geo().PreviewTop + Geo().CellSize}; }
    QPoint DiscardCentre() { return {Geo().PreviewLeft + Geo().CellSize, Geo().PreviewTop + 4 * Geo().CellSize}; }
    QPoint BlockCentre(int bc, int br) { return {Geo().BlockCentreX(bc), Geo().BlockCentreY(br)}; }

    void Press(Qt::MouseButton button, QPoint p) { QTest::mousePress(form->box, button, {}, p); }
    void SetBoard(const char* text)
    {
        form->Game().Board = BoardFromText(text);
        form->Paint();
    }
    // The texture pixel the cell background shows at a canvas point.
    QRgb CellBackground(int x, int y, int backMode)
    {
        return Rgb(form->bmps.Item(0).pixel(200 + x % 100, backMode * 100 + y % 100));
    }

private slots:
    void init()
    {
        Tongue = 0;
        services = std::make_unique<FakeServices>();
        form = std::make_unique<Tmainform>(*services, std::make_unique<UniformRandom>(5));
        form->resize(DesignWidth, DesignHeight);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->Timer.stop(); // ticks are fed by hand where a test needs them
        form->SetBackMode(0);
        form->Resize();
        QVERIFY(Geo().CellSize >= 25);
    }
    void cleanup()
    {
        form->hide();
        form.reset();
    }

    // Each quarter is the cell background ANDed with the mask and ORed with
    // the pattern: where the mask is white the background shows unchanged.
    void quarterShowsBackgroundOutsideItsSymbol()
    {
        const int c = Geo().CellSize;
        for (int value = 1; value <= 2; ++value) {
            form->Game().Board.SetCell(4, 0, value);
            form->Paint();
            const int n = form->Game().ImageFor(value) - 1;
            const int sx = (n % 9) * c + 1, sy = (n / 9) * c + 1;
            const int x0 = Geo().CellX(4), y0 = Geo().CellY(0);
            int background = 0, symbol = 0;
            for (int dx = 0; dx < c; ++dx)
                for (int dy = 0; dy < c; ++dy) {
                    const QRgb mask = Rgb(form->Painter().MaskSheet().pixel(sx + dx, sy + dy));
                    const QRgb pattern = Rgb(form->Painter().PatternSheet().pixel(sx + dx, sy + dy));
                    const QRgb shown = Rgb(Canvas().pixel(x0 + dx, y0 + dy));
                    if (mask == 0xFFFFFF) {
                        QCOMPARE(shown, CellBackground(x0 + dx, y0 + dy, 0));
                        ++background;
                    } else {
                        QCOMPARE(mask, 0u);
                        QCOMPARE(shown, pattern);
                        ++symbol;
                    }
                }
            QVERIFY(background > 0 && symbol > 0);
        }
    }

    void pausedBoardShowsNoTile()
    {
        form->Game().StartOnFirstPress();
        form->Game().Pause();
        form->Paint();
        for (int column = 0; column < BoardCells; ++column)
            for (int row = 0; row < BoardCells; ++row) {
                const int x = Geo().CellX(column) + 12, y = Geo().CellY(row) + 12;
                QCOMPARE(Rgb(Canvas().pixel(x, y)), CellBackground(x, y, 0));
            }
        // The next tile still shows in the preview box.
        int tilePixels = 0;
        for (int dx = -20; dx <= 20; ++dx)
            for (int dy = -20; dy <= 20; ++dy) {
                const QPoint p = PreviewCentre() + QPoint(dx, dy);
                tilePixels += Rgb(Canvas().pixel(p)) != CellBackground(p.x(), p.y(), 0);
            }
        QVERIFY(tilePixels > 0);
    }

    void timeBar_data()
    {
        QTest::addColumn<float>("timeLeft");
        QTest::addColumn<int>("cells");   // the coloured part is cells * c + pixels wide
        QTest::addColumn<int>("pixels");
        QTest::addColumn<QRgb>("colour");
        QTest::newRow("full: pure green, the whole width") << 1.0f << 2 << 2 << (qRgb(0, 255, 0) & 0xFFFFFF);
        QTest::newRow("half: yellow") << 0.5f << 1 << 2 << (qRgb(255, 255, 0) & 0xFFFFFF);
        QTest::newRow("just run out: a red stub") << -0.001f << 0 << 1 << (qRgb(255, 0, 0) & 0xFFFFFF);
    }
    void timeBar()
    {
        QFETCH(float, timeLeft);
        QFETCH(int, cells);
        QFETCH(int, pixels);
        QFETCH(QRgb, colour);
        const int filled = cells * Geo().CellSize + pixels;
        form->Game().Clock.TimeLeft = timeLeft;
        form->Painter().DrawTimeBar();
        const int y = Geo().TimeBarTop() + Geo().CellSize / 2;
        for (int i = 0; i < Geo().BoxSize(); ++i)
            QCOMPARE(Rgb(Canvas().pixel(Geo().PreviewLeft + i, y)), i < filled ? colour : 0u);
    }

    void backModeSixTakesTheBottomRow()
    {
        form->SetBackMode(6);
        form->Resize();
        const QImage& sheet = form->bmps.Item(0);
        QCOMPARE(Rgb(Canvas().pixel(20, 20)), Rgb(sheet.pixel(20, 620)));       // window texture
        QCOMPARE(Rgb(form->ToolBox->Canvas().Image().pixel(5, 5)), Rgb(sheet.pixel(105, 605))); // tool strip
        const int x = Geo().CellX(0) + 3, y = Geo().CellY(0) + 3;
        QCOMPARE(Rgb(Canvas().pixel(x, y)), CellBackground(x, y, 6));            // empty cell
    }

    void pickUpWithAnyButton_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::newRow("left") << Qt::LeftButton;
        QTest::newRow("right") << Qt::RightButton;
        QTest::newRow("middle") << Qt::MiddleButton;
    }
    void pickUpWithAnyButton()
    {
        QFETCH(Qt::MouseButton, button);
        const Tile next = form->Game().NextTile;
        QVERIFY(!form->PauseBtn->isEnabled());
        Press(button, PreviewCentre());
        QVERIFY(form->Game().InHand);
        QCOMPARE(form->Game().HandTile, next);
        QVERIFY(IsEmpty(form->Game().NextTile));
        QCOMPARE(form->Game().GameState, TGameState::gsRunning);
        QVERIFY(form->PauseBtn->isEnabled());
    }

    void rightButtonTurnsOnlyACarriedTile()
    {
        const Tile next = form->Game().NextTile;
        Press(Qt::RightButton, BlockCentre(0, 0)); // nothing carried: nothing turns
        QCOMPARE(form->Game().NextTile, next);
        QVERIFY(!form->Game().InHand);

        Press(Qt::LeftButton, PreviewCentre());
        Press(Qt::RightButton, BlockCentre(0, 0));
        QCOMPARE(form->Game().HandTile, TurnAnticlockwise(next));
        Press(Qt::MiddleButton, BlockCentre(0, 0)); // the middle button does nothing more
        QCOMPARE(form->Game().HandTile, TurnAnticlockwise(next));
        QVERIFY(form->Game().InHand);
    }

    void refusedAndAcceptedLays()
    {
        SetBoard(RingBoard);
        Press(Qt::LeftButton, PreviewCentre());
        form->Game().HandTile = TileFromText("1221");
        services->effects.clear();

        Press(Qt::LeftButton, BlockCentre(3, 2)); // occupied
        Press(Qt::LeftButton, BlockCentre(6, 6)); // no neighbours
        QCOMPARE(services->effects, (QList<int>{3, 3}));
        QVERIFY(form->Game().InHand);
        QCOMPARE(form->Game().Score, 0);

        form->Game().Clock.TimeLeft = 0.5f;
        Press(Qt::LeftButton, BlockCentre(3, 3));
        QCOMPARE(form->Game().Score, 512);
        QCOMPARE(services->effects.last(), 2);
        QVERIFY(!form->Game().InHand);
        QVERIFY(!IsEmpty(form->Game().NextTile));
        QCOMPARE(form->Game().Board.TileAt({3, 3}), TileFromText("1221"));
        QCOMPARE(form->Game().Clock.TimeLeft, float(0.5L + 0.1L));
        QCOMPARE(form->ScoreLabel->text(), QStringLiteral("512"));
    }

    void throwAwayCostsTenAndDealsANewTile()
    {
        const int c = Geo().CellSize;
        const QRect discardBox(Geo().PreviewLeft, Geo().DiscardTop(), Geo().BoxSize(), Geo().BoxSize());
        const QImage before = Canvas().copy(discardBox);
        Press(Qt::LeftButton, PreviewCentre());
        const Tile carried = form->Game().HandTile;
        QTest::mouseMove(form->box, DiscardCentre() + QPoint(c / 2, c / 2));
        Press(Qt::LeftButton, DiscardCentre());
        QCOMPARE(form->Game().Score, -10);
        QCOMPARE(services->effects, QList<int>{5});
        QVERIFY(!form->Game().InHand);
        QVERIFY(!IsEmpty(form->Game().NextTile));
        QCOMPARE(form->ScoreLabel->text(), QStringLiteral("-10"));
        // The darkened tile is gone: the discard box is as it was.
        QCOMPARE(Canvas().copy(discardBox), before);
        QVERIFY(form->Game().HandTile == carried);
    }

    // While an animation runs, the clock's tick and a close request wait
    // for its end instead of cutting into it.
    void ticksAndClosingWaitForTheAnimation()
    {
        Press(Qt::LeftButton, PreviewCentre());
        form->Game().Clock.TimeLeft = 0.5f;
        float duringAnimation = -1;
        QTimer::singleShot(60, [&] {
            form->TimerTimer();
            duringAnimation = form->Game().Clock.TimeLeft;
            form->close();
        });
        services->answers = {7}; // "No" to the close question when it comes
        Press(Qt::LeftButton, DiscardCentre()); // the throw-away takes about 320 ms
        QCOMPARE(duringAnimation, 0.5f);
        QVERIFY(form->Game().Clock.TimeLeft < 0.5f); // the held tick came afterwards
        QVERIFY(services->messages.isEmpty());
        QTRY_COMPARE(services->messages, QList<int>{4}); // and then the close question
        QVERIFY(form->isVisible());
    }

    void fillingASquareWinsTheLevel()
    {
        SetBoard(AlmostSquare);
        Press(Qt::LeftButton, PreviewCentre());
        form->Game().HandTile = TileFromText("1111");
        form->Game().Clock.TimeLeft = 0.4f;
        Press(Qt::LeftButton, BlockCentre(2, 2));

        QCOMPARE(form->Game().Score, 512 + 1000);
        QCOMPARE(form->Game().Level, 2);
        QCOMPARE(services->effects.last(), 1);
        QCOMPARE(services->messages, QList<int>{8});
        QCOMPARE(form->Game().Clock.TimeLeft, 1.0f);
        QCOMPARE(form->Game().PatternCount, 2);
        int filled = 0;
        for (int bc = 0; bc < BoardBlocks; ++bc)
            for (int br = 0; br < BoardBlocks; ++br)
                filled += !form->Game().Board.BlockEmpty({bc, br});
        QCOMPARE(filled, 6); // level 2 starts with six tiles
        QVERIFY(form->Timer.isActive());
        QCOMPARE(form->LevelLabel->text(), QStringLiteral("2"));
    }

    void pressesOnGapsAndOutsideAreIgnored()
    {
        SetBoard(RingBoard);
        Press(Qt::LeftButton, PreviewCentre());
        form->Game().HandTile = TileFromText("1221");
        services->effects.clear();
        const int gapX = Geo().CellX(6) + 2 * Geo().CellSize; // the gap after block column 3
        Press(Qt::LeftButton, {gapX, BlockCentre(3, 3).y()});
        Press(Qt::LeftButton, {Geo().BoardLeft - 3, BlockCentre(0, 0).y()});
        QVERIFY(services->effects.isEmpty());
        QVERIFY(form->Game().InHand);
    }

    // However the carried tile wanders, the canvas ends up exactly as a full
    // repaint with the tile at its last place would draw it.
    void movingTheTileRestoresWhatWasUnder()
    {
        form->Game().Board.SetCell(6, 6, 1);
        form->Game().Board.SetCell(7, 6, 2);
        form->Game().Board.SetCell(6, 7, 2);
        form->Game().Board.SetCell(7, 7, 1);
        form->Paint();
        Press(Qt::LeftButton, PreviewCentre());
        const QList<QPoint> path = {BlockCentre(3, 3), {Geo().BoardLeft - 2, Geo().BoardTop + 40},
                                    {5, 5}, {690, 400}, DiscardCentre(), {Geo().PreviewLeft + 10, Geo().TimeBarTop()},
                                    BlockCentre(3, 3) + QPoint(7, -13), {300, 200}};
        for (const QPoint& p : path)
            QTest::mouseMove(form->box, p);
        QCOMPARE(form->Painter().HandX, 300);
        QImage afterMoves = Canvas().copy();
        form->Paint();
        // A fresh paint leaves the empty preview box black (nothing is
        // drawn into it while a tile is carried); pickup showed it textured.
        QImage repainted = Canvas().copy();
        const QRect preview(Geo().PreviewLeft, Geo().PreviewTop, Geo().BoxSize(), Geo().BoxSize());
        for (QImage* image : {&afterMoves, &repainted}) {
            QPainter painter(image);
            painter.fillRect(preview, Qt::black);
        }
        QCOMPARE(afterMoves, repainted);
        // Only the two squares under the old and the new place reach the screen.
        QTest::mouseMove(form->box, {340, 220});
        const int c2 = 2 * Geo().CellSize;
        QVERIFY(form->box->LastFlushPixels() <= 2 * c2 * c2);
        QVERIFY(form->box->LastFlushPixels() > 0);
    }
};

QTEST_MAIN(BoardTest)
#include "test_board.moc"
