// The board in the main window: what the canvas shows, and play through real
// mouse events on it. After every event the canvas must be exactly what a
// full paint of the current state draws on a fresh canvas.
#include <QtTest>

#include "game/mainform/CanvasGeometryQt.h"
#include "game/mainform/DarkenColor.h"
#include "BoardText.h"
#include "FakeServices.h"
#include "Positions.h"
#include "game/mainform/main.h"
#include "settings/Globals.h"

namespace {

constexpr int DesignWidth = 701;
constexpr int DesignHeight = 462;

QRgb Rgb(QRgb p) { return p & 0xFFFFFFu; }

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
    QPoint PreviewCentre() { return ToQPoint(Geo().PreviewCentre()); }
    QPoint DiscardCentre() { return ToQPoint(Geo().DiscardCentre()); }
    QPoint BlockCentre(int bc, int br) { return {Geo().BlockCentreX(bc), Geo().BlockCentreY(br)}; }

    void Press(Qt::MouseButton button, QPoint p) { QTest::mousePress(form->box, button, {}, p); }
    // The canvas equals a fresh full paint of what the window shows now.
    bool CanvasIsFresh() { return Canvas() == form->Painter().FreshPicture(form->Scene()); }
    // The texture pixel the cell background shows at a canvas point.
    QRgb CellBackground(int x, int y, int backMode)
    {
        return Rgb(form->bmps.Item(0).pixel(200 + x % 100, backMode * 100 + y % 100));
    }
    // The carried tile over a board written as text.
    void CarryOverBoard(const char* board, const char* tile)
    {
        Press(Qt::LeftButton, PreviewCentre());
        QVERIFY(Arrange(*form, [&](GamePosition& p) { CarryOver(p, board, tile); }));
        services->effects.clear();
    }

private slots:
    void init()
    {
        TIniCtrl().WriteInteger("common", "tongue", 0); // English, chosen before
        services = std::make_unique<FakeServices>();
        form = std::make_unique<Tmainform>(*services, std::make_unique<UniformRandom>(5));
        form->resize(DesignWidth, DesignHeight);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTRY_VERIFY(!form->Flow().Busy() && form->Flow().ClockRunning()); // the first showing is done
        form->Timer.stop(); // ticks are fed by hand where a test needs them
        form->SetBackMode(0);
        form->Resize();
        QVERIFY(Geo().CellSize >= 25);
        QVERIFY(CanvasIsFresh());
    }
    void cleanup()
    {
        services->answers = {Answer::Yes};
        form->hide();
        form.reset();
    }

    // Each quarter is the cell background ANDed with the mask and ORed with
    // the pattern: where the mask is white the background shows unchanged.
    void quarterShowsBackgroundOutsideItsSymbol()
    {
        const int c = Geo().CellSize;
        for (int value = 1; value <= 2; ++value) {
            QVERIFY(Arrange(*form, [value](GamePosition& p) {
                for (int dx = 0; dx < 2; ++dx)
                    for (int dy = 0; dy < 2; ++dy)
                        p.Board.SetCell(4 + dx, dy, value);
            }));
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
            QVERIFY(CanvasIsFresh()); // the other symbol left nothing behind
        }
    }

    // The tile in the preview box (drawn as a carried tile is, over what lies
    // there) shows the same pixels: its symbol where the mask is black, the
    // cell texture elsewhere.
    void previewQuarterShowsItsSymbol()
    {
        const int c = Geo().CellSize;
        const int image = form->Scene().preview[0][0];
        QVERIFY(image > 0);
        const int n = image - 1, sx = (n % 9) * c + 1, sy = (n / 9) * c + 1;
        const int x0 = Geo().PreviewLeft + 1, y0 = Geo().PreviewTop + 1;
        int symbol = 0;
        for (int dx = 0; dx < c; ++dx)
            for (int dy = 0; dy < c; ++dy) {
                const bool inSymbol = Rgb(form->Painter().MaskSheet().pixel(sx + dx, sy + dy)) == 0;
                const QRgb expected = inSymbol ? Rgb(form->Painter().PatternSheet().pixel(sx + dx, sy + dy))
                                               : CellBackground(x0 + dx, y0 + dy, 0);
                symbol += inSymbol;
                QCOMPARE(Rgb(Canvas().pixel(x0 + dx, y0 + dy)), expected);
            }
        QVERIFY(symbol > 0);
    }

    void pausedBoardShowsNoTile()
    {
        Press(Qt::MiddleButton, BlockCentre(0, 0)); // starts the game
        bool checked = false;
        services->whileMessageOpen = [&](int) {
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
            QVERIFY(CanvasIsFresh());
            checked = true;
        };
        form->PauseBtnClick();
        QVERIFY(checked);
        QVERIFY(CanvasIsFresh());
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
        QVERIFY(Arrange(*form, [timeLeft](GamePosition& p) {
            p.Clock.TimeLeft = timeLeft;
            if (timeLeft < 0)
                p.GameState = TGameState::gsOver;
        }));
        const int y = Geo().TimeBarTop() + Geo().CellSize / 2;
        for (int i = 0; i < Geo().BoxSize(); ++i)
            QCOMPARE(Rgb(Canvas().pixel(Geo().PreviewLeft + i, y)), i < filled ? colour : 0u);
    }

    // A tick draws the time bar and nothing else.
    void tickRedrawsOnlyTheTimeBar()
    {
        form->TimerTimer();
        const QRegion sent = form->box->LastFlushRegion();
        const QRect bar(Geo().PreviewLeft, Geo().TimeBarTop(), Geo().BoxSize(), Geo().CellSize);
        QVERIFY(!sent.isEmpty());
        QVERIFY(bar.contains(sent.boundingRect()));
        QVERIFY(CanvasIsFresh());
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
        QVERIFY(CanvasIsFresh());
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
        const Tile next = form->Game().NextTile();
        QVERIFY(!form->PauseBtn->isEnabled());
        Press(button, PreviewCentre());
        QVERIFY(form->Game().InHand());
        QCOMPARE(form->Game().HandTile(), next);
        QVERIFY(IsEmpty(form->Game().NextTile()));
        QCOMPARE(form->Game().GameState(), TGameState::gsRunning);
        QVERIFY(form->PauseBtn->isEnabled());
        QVERIFY(CanvasIsFresh());
    }

    void rightButtonTurnsOnlyACarriedTile()
    {
        const Tile next = form->Game().NextTile();
        Press(Qt::RightButton, BlockCentre(0, 0)); // nothing carried: nothing turns
        QCOMPARE(form->Game().NextTile(), next);
        QVERIFY(!form->Game().InHand());

        Press(Qt::LeftButton, PreviewCentre());
        Press(Qt::RightButton, BlockCentre(0, 0));
        QCOMPARE(form->Game().HandTile(), TurnAnticlockwise(next));
        Press(Qt::MiddleButton, BlockCentre(0, 0)); // the middle button does nothing more
        QCOMPARE(form->Game().HandTile(), TurnAnticlockwise(next));
        QVERIFY(form->Game().InHand());
        QVERIFY(CanvasIsFresh());
    }

    void refusedAndAcceptedLays()
    {
        CarryOverBoard(TwoSymbolRing, "1221");
        Press(Qt::LeftButton, BlockCentre(3, 2)); // occupied
        Press(Qt::LeftButton, BlockCentre(6, 6)); // no neighbours
        QCOMPARE(services->effects, (QList<int>{3, 3}));
        QVERIFY(form->Game().InHand());
        QCOMPARE(form->Game().Score(), 0);
        QVERIFY(form->Scene().hand->refused); // the tile shows the refusal too
        QVERIFY(CanvasIsFresh());

        QVERIFY(Arrange(*form, [](GamePosition& p) { p.Clock.TimeLeft = 0.5f; }));
        Press(Qt::LeftButton, BlockCentre(3, 3));
        QCOMPARE(form->Game().Score(), 512);
        QCOMPARE(services->effects.last(), 2);
        QVERIFY(!form->Game().InHand());
        QVERIFY(!IsEmpty(form->Game().NextTile()));
        QCOMPARE(form->Game().Board().TileAt({3, 3}), TileFromText("1221"));
        QCOMPARE(form->Game().TimeLeft(), float(0.5L + 0.1L));
        QCOMPARE(form->ScoreLabel->text(), QStringLiteral("512"));
        QVERIFY(CanvasIsFresh());
    }

    // The refusal's sign goes by itself, on a timer, while play goes on.
    void refusalSignFadesByItself()
    {
        CarryOverBoard(TwoSymbolRing, "1221");
        Press(Qt::LeftButton, BlockCentre(6, 6));
        const QPoint hand(form->Flow().HandX(), form->Flow().HandY());
        const int c = Geo().CellSize;
        const QRgb red = Rgb(Canvas().pixel(hand.x() - c, hand.y()));
        QCOMPARE(red, 0xE01010u);
        QTest::mouseMove(form->box, BlockCentre(5, 5));
        QVERIFY(form->Scene().hand->refused);
        QTRY_VERIFY(!form->Scene().hand->refused);
        QVERIFY(CanvasIsFresh());
    }

    void throwAwayCostsTenAndDealsANewTile()
    {
        const int c = Geo().CellSize;
        const QRect discardBox(Geo().PreviewLeft, Geo().DiscardTop(), Geo().BoxSize(), Geo().BoxSize());
        const QImage before = Canvas().copy(discardBox);
        Press(Qt::LeftButton, PreviewCentre());
        QTest::mouseMove(form->box, DiscardCentre() + QPoint(c / 2, c / 2));
        Press(Qt::LeftButton, DiscardCentre());
        QCOMPARE(services->effects, QList<int>{5});
        QVERIFY(Canvas().copy(discardBox) != before); // the tile darkens in the box
        QVERIFY(CanvasIsFresh());
        QTRY_VERIFY(!form->Flow().Busy()); // on its own timer
        QCOMPARE(form->Game().Score(), -10);
        QVERIFY(!form->Game().InHand());
        QVERIFY(!IsEmpty(form->Game().NextTile()));
        QCOMPARE(form->ScoreLabel->text(), QStringLiteral("-10"));
        // The darkened tile is gone: the discard box is as it was.
        QCOMPARE(Canvas().copy(discardBox), before);
        QVERIFY(CanvasIsFresh());
    }

    // While an animation runs, presses, the clock's tick and a close request
    // wait for its end; the window keeps painting.
    void eventsWaitForTheAnimation()
    {
        Press(Qt::LeftButton, PreviewCentre());
        QVERIFY(Arrange(*form, [](GamePosition& p) { p.Clock.TimeLeft = 0.5f; }));
        services->answers = {Answer::No}; // "No" to the close question when it comes
        Press(Qt::LeftButton, DiscardCentre());
        form->TimerTimer();
        form->close();
        Press(Qt::LeftButton, PreviewCentre());
        QCOMPARE(form->Game().TimeLeft(), 0.5f);
        QVERIFY(services->messages.isEmpty());
        QVERIFY(form->isVisible());
        QVERIFY(CanvasIsFresh());

        QTRY_VERIFY(!form->Flow().Busy());
        QVERIFY(form->Game().TimeLeft() < 0.5f);       // the held tick came afterwards,
        QCOMPARE(services->messages, QList<int>{4});   // then the close question,
        QVERIFY(form->Game().InHand());                // then the pick-up
        QVERIFY(form->isVisible());
        QVERIFY(CanvasIsFresh());
    }

    void fillingASquareWinsTheLevel()
    {
        CarryOverBoard(AlmostSquare, "1111");
        QVERIFY(Arrange(*form, [](GamePosition& p) { p.Level = 1; p.Clock.TimeLeft = 0.4f; }));
        Press(Qt::LeftButton, BlockCentre(2, 2));
        QVERIFY(!form->Timer.isActive()); // the clock stops for the blink
        QVERIFY(CanvasIsFresh());
        form->FinishAnimation();

        QCOMPARE(form->Game().Score(), 512 + 1000);
        QCOMPARE(form->Game().Level(), 2);
        QCOMPARE(services->effects.last(), 1);
        QCOMPARE(services->messages, QList<int>{8});
        QCOMPARE(form->Game().TimeLeft(), 1.0f);
        QCOMPARE(form->Game().PatternCount(), 2);
        int filled = 0;
        for (int bc = 0; bc < BoardBlocks; ++bc)
            for (int br = 0; br < BoardBlocks; ++br)
                filled += !form->Game().Board().BlockEmpty({bc, br});
        QCOMPARE(filled, 6); // level 2 starts with six tiles
        QVERIFY(form->Timer.isActive());
        QCOMPARE(form->LevelLabel->text(), QStringLiteral("2"));
        QVERIFY(CanvasIsFresh());
    }

    // A new tableau replaces every symbol: nothing of the old board shows
    // through under the new start tiles.
    void newTableauLeavesNoOldSymbol_data()
    {
        QTest::addColumn<bool>("byWinning");
        QTest::newRow("new game") << false;
        QTest::newRow("next level") << true;
    }
    void newTableauLeavesNoOldSymbol()
    {
        QFETCH(bool, byWinning);
        // Every block but the last one filled.
        QString full;
        for (int row = 0; row < BoardCells; ++row)
            full += QStringLiteral("21122112211221\n");
        Press(Qt::LeftButton, PreviewCentre());
        QVERIFY(Arrange(*form, [&](GamePosition& p) {
            p.Board = BoardFromText(full);
            p.Board.PutTile({6, 6}, EmptyTile);
            p.HandTile = TileFromText("2212"); // matches its left and upper neighbours
            p.GameState = TGameState::gsRunning;
        }));
        QVERIFY(CanvasIsFresh());
        if (byWinning) {
            Press(Qt::LeftButton, BlockCentre(6, 6));
            form->FinishAnimation();
            QCOMPARE(form->Game().Level(), 2);
        } else {
            form->StartBtnClick(); // score 0: a new game without a question
            QCOMPARE(form->Game().Level(), 1);
        }
        QVERIFY(CanvasIsFresh());
        const int x = Geo().CellX(0) + Geo().CellSize / 2, y = Geo().CellY(0) + Geo().CellSize / 2;
        QCOMPARE(Rgb(Canvas().pixel(x, y)), CellBackground(x, y, 0)); // block (0,0) is empty again
    }

    // A resize while an animation runs repaints it as it stands; when it ends,
    // nothing black is left where the tile was.
    void resizeDuringAnAnimation_data()
    {
        QTest::addColumn<bool>("win");
        QTest::newRow("throw-away") << false;
        QTest::newRow("blink") << true;
    }
    void resizeDuringAnAnimation()
    {
        QFETCH(bool, win);
        if (win)
            CarryOverBoard(AlmostSquare, "1111");
        else
            Press(Qt::LeftButton, PreviewCentre());
        const QPoint target = win ? BlockCentre(2, 2) : DiscardCentre();
        QTest::mouseMove(form->box, target);
        Press(Qt::LeftButton, target);
        QVERIFY(form->Flow().Busy());
        form->resize(900, 640);
        QTRY_COMPARE(form->box->Canvas().Width(), 900);
        QVERIFY(form->Flow().Busy());
        QVERIFY(CanvasIsFresh());
        form->FinishAnimation();
        QVERIFY(CanvasIsFresh());
        form->resize(DesignWidth, DesignHeight);
        QTRY_COMPARE(form->box->Canvas().Width(), DesignWidth);
        QVERIFY(CanvasIsFresh());
    }

    // A close asked for during the blink comes after the level's message and
    // closes the window when answered Yes.
    void closeDuringTheBlinkIsNotLost()
    {
        CarryOverBoard(AlmostSquare, "1111");
        QSignalSpy closed(form.get(), &Tmainform::Closed);
        Press(Qt::LeftButton, BlockCentre(2, 2));
        form->close();
        QVERIFY(form->isVisible());
        QCOMPARE(closed.count(), 0);
        services->answers = {Answer::Yes, Answer::Yes};
        QTRY_COMPARE(closed.count(), 1);
        QCOMPARE(services->messages, (QList<int>{8, 4}));
        QVERIFY(!form->isVisible());
    }

    void pressesOnGapsAndOutsideAreIgnored()
    {
        CarryOverBoard(TwoSymbolRing, "1221");
        const int gapX = Geo().CellX(6) + 2 * Geo().CellSize; // the gap after block column 3
        Press(Qt::LeftButton, {gapX, BlockCentre(3, 3).y()});
        Press(Qt::LeftButton, {Geo().BoardLeft - 3, BlockCentre(0, 0).y()});
        QVERIFY(services->effects.isEmpty());
        QVERIFY(form->Game().InHand());
    }

    // However the carried tile wanders, over cells, frames, the preview box and
    // the time bar, the canvas stays what a fresh paint draws; the tile stays
    // on top of the time bar when the clock ticks under it.
    void movingTheTileKeepsTheCanvasFresh()
    {
        QVERIFY(Arrange(*form, [](GamePosition& p) { p.Board.PutTile({3, 3}, TileFromText("1221")); }));
        Press(Qt::LeftButton, PreviewCentre());
        const QList<QPoint> path = {BlockCentre(3, 3), {Geo().BoardLeft - 2, Geo().BoardTop + 40},
                                    {5, 5}, {690, 400}, DiscardCentre(), PreviewCentre() + QPoint(9, 3),
                                    {Geo().PreviewLeft + 10, Geo().TimeBarTop()},
                                    BlockCentre(3, 3) + QPoint(7, -13), {300, 200}};
        for (const QPoint& p : path) {
            QTest::mouseMove(form->box, p);
            QVERIFY2(CanvasIsFresh(), qPrintable(QStringLiteral("at %1,%2").arg(p.x()).arg(p.y())));
        }
        QCOMPARE(form->Flow().HandX(), 300);

        QTest::mouseMove(form->box, {Geo().PreviewLeft + Geo().CellSize, Geo().TimeBarTop()});
        const QImage handOnBar = Canvas();
        form->TimerTimer();
        QVERIFY(CanvasIsFresh());
        const QPoint onTile(Geo().PreviewLeft + Geo().CellSize / 2, Geo().TimeBarTop() + Geo().CellSize / 2);
        QCOMPARE(Canvas().pixel(onTile), handOnBar.pixel(onTile));

        // A full repaint while carrying: the preview box shows its texture, not black.
        form->Paint();
        QVERIFY(CanvasIsFresh());
        const QPoint inPreview = PreviewCentre();
        QCOMPARE(Rgb(Canvas().pixel(inPreview)), CellBackground(inPreview.x(), inPreview.y(), 0));

        // Only the two squares under the old and the new place reach the screen.
        QTest::mouseMove(form->box, {340, 220});
        QTest::mouseMove(form->box, {360, 230});
        const int c2 = 2 * Geo().CellSize;
        QVERIFY(form->box->LastFlushPixels() <= 2 * c2 * c2);
        QVERIFY(form->box->LastFlushPixels() > 0);
    }

    // A few pixels pinned by numbers of the game's own, not by the painter
    // (which the fresh-paint comparisons share with the canvas): the focus
    // frame's gold (the captions' colour, 254, 201, 18), the discard box's
    // eight passes of three quarters each, the line round a carried tile.
    void focusFrameIsGoldInsideBlack()
    {
        BoardScene scene = form->Scene();
        scene.focused = true;
        const QImage shot = form->Painter().FreshPicture(scene);
        const int left = Geo().BoardLeft - 8, top = Geo().BoardTop - 8;
        const int middle = Geo().BoardTop + Geo().BoardSize() / 2;
        QCOMPARE(Rgb(shot.pixel(left, middle)), 0u);
        QCOMPARE(Rgb(shot.pixel(left + 1, middle)), 0xFEC912u);
        QCOMPARE(Rgb(shot.pixel(Geo().BoardLeft + 20, top + 1)), 0xFEC912u);
        QCOMPARE(Rgb(shot.pixel(Geo().BoardLeft + Geo().BoardSize() + 6, middle)), 0xFEC912u);
    }

    void thrownTileDarkensEightTimesByAQuarter()
    {
        const int c = Geo().CellSize;
        BoardScene scene = form->Scene();
        scene.hand.reset();
        const int image = 5;
        scene.discard = BoardScene::Discard{Tile{{{image, image}, {image, image}}}, 8};
        const QImage shot = form->Painter().FreshPicture(scene);
        const int n = image - 1; // the scene holds image numbers
        const int sx = (n % 9) * c + 1, sy = (n / 9) * c + 1;
        const int x0 = Geo().PreviewLeft, y0 = Geo().PreviewTop + 3 * c; // the top-left quarter
        // On the black box the symbol's AND and OR leave the pattern's own pixels.
        int symbolPixels = 0;
        for (int dx = 0; dx < c; ++dx)
            for (int dy = 0; dy < c; ++dy) {
                const QRgb pattern = form->Painter().PatternSheet().pixel(sx + dx, sy + dy);
                int rgb[3] = {qRed(pattern), qGreen(pattern), qBlue(pattern)};
                for (int pass = 0; pass < 8; ++pass)
                    for (int& v : rgb)
                        v = v * 3 / 4;
                symbolPixels += Rgb(pattern) != 0;
                QCOMPARE(Rgb(shot.pixel(x0 + dx, y0 + dy)), Rgb(qRgb(rgb[0], rgb[1], rgb[2])));
            }
        QVERIFY(symbolPixels > 0);
    }

    // A carried tile parked on a place by the keys carries a gold line round
    // it (black inside), over an empty place, over a laid tile and once a
    // refusal's red has gone; the same tile laid has none.
    void parkedTileIsToldFromALaidOne()
    {
        QVERIFY(Arrange(*form, [](GamePosition& p) { p.Board.PutTile({2, 3}, TileFromText("1111")); }));
        const auto corner = [this](BlockPos b) { return QPoint(Geo().CellX(2 * b.column), Geo().CellY(2 * b.row)); };
        const auto carriedLine = [&](BlockPos b) {
            const QPoint at = corner(b);
            const QPoint far = at + QPoint(2 * Geo().CellSize - 1, 2 * Geo().CellSize - 1);
            return Rgb(Canvas().pixel(at)) == 0xFEC912u && Rgb(Canvas().pixel(far)) == 0xFEC912u
                && Rgb(Canvas().pixel(at + QPoint(1, 1))) == 0u;
        };
        QVERIFY(!carriedLine({2, 3}));
        QTest::keyClick(form->box, Qt::Key_Space); // taken, shown on the middle place (3, 3)
        QVERIFY(carriedLine({3, 3}));
        QTest::keyClick(form->box, Qt::Key_Left); // over the laid tile
        QVERIFY(carriedLine({2, 3}));
        QVERIFY(CanvasIsFresh());
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(form->box, Qt::Key_Up); // (2, 0): no neighbours, refused
        QTest::keyClick(form->box, Qt::Key_Space);
        QVERIFY(form->Game().InHand());
        QTRY_VERIFY(!form->Scene().hand->refused);
        QVERIFY(carriedLine({2, 0}));
        QVERIFY(CanvasIsFresh());
        QTest::keyClick(form->box, Qt::Key_Right);
        QVERIFY(!carriedLine({2, 0})); // the place shows its texture again
    }

    // The board shows when it has the keyboard: a frame around it, drawn and
    // taken away like everything else.
    void focusFrameFollowsTheKeyboard()
    {
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->box->setFocus();
        QTRY_VERIFY(form->Scene().focused);
        QVERIFY(CanvasIsFresh());
        const QImage focused = Canvas();
        form->box->clearFocus();
        QTRY_VERIFY(!form->Scene().focused);
        QVERIFY(CanvasIsFresh());
        QVERIFY(Canvas() != focused);
    }

    void darkenColor()
    {
        QCOMPARE(DarkenColor(0x00FFFFFFu, ThrowAwayDarkenPercent), 0x00BFBFBFu);
        QCOMPARE(DarkenColor(0x00102030u, 75), 0x000C1824u); // each channel on its own, truncated
        QCOMPARE(DarkenColor(0x00C08040u, 200), 0x00FFFF80u); // capped at 255
        std::uint32_t c = 0x00FFFFFF;
        for (int i = 0; i < 8; ++i)
            c = DarkenColor(c, ThrowAwayDarkenPercent);
        QCOMPARE(c, 0x00181818u); // 255 -> 191 -> 143 -> 107 -> 80 -> 60 -> 45 -> 33 -> 24
    }
};

QTEST_MAIN(BoardTest)
#include "test_board.moc"
