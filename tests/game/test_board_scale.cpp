// The board at a scale factor of 2: the canvas works in device pixels, a
// symbol on it is drawn from sheets rendered at twice the cell size (as sharp
// as its drawing at that size, not doubled pixels), and the canvas still
// equals a fresh paint of the state after every event.
#include <QtTest>

#include "FakeServices.h"
#include "Positions.h"
#include "game/mainform/main.h"
#include "settings/Globals.h"

class BoardScaleTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeServices> services;
    std::unique_ptr<Tmainform> form;

    const BoardGeometry& Geo() { return form->Painter().Geometry(); }
    bool CanvasIsFresh() { return form->box->Canvas().Image() == form->Painter().FreshPicture(form->Scene()); }

private slots:
    void initTestCase()
    {
        TIniCtrl().WriteInteger("common", "tongue", 0);
        services = std::make_unique<FakeServices>();
        form = std::make_unique<Tmainform>(*services, std::make_unique<UniformRandom>(5));
        form->resize(701, 462);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTRY_VERIFY(form->Flow().ClockRunning());
        form->Timer.stop();
        if (form->devicePixelRatio() < 2)
            QSKIP("needs QT_SCALE_FACTOR=2");
    }
    void cleanupTestCase()
    {
        if (!form)
            return;
        services->answers = {Answer::Yes};
        form->close();
        form.reset();
    }

    void canvasHasTheScreensPixels()
    {
        const PixelCanvas& canvas = form->box->Canvas();
        QCOMPARE(canvas.Scale(), 2);
        QCOMPARE(canvas.Image().size(), form->box->size() * 2);
        QCOMPARE(form->Painter().MaskSheet().devicePixelRatio(), 2.0);
        QVERIFY(CanvasIsFresh());
    }

    // A quarter on the canvas is the cell background ANDed with the mask and
    // ORed with the pattern of sheets rendered at twice the cell size.
    void symbolsAreDrawnFromSheetsAtTwiceTheSize()
    {
        const int c = Geo().CellSize;
        QImage mask, pattern;
        RenderSymbolSheets(form->masks, form->pats, c, 2, mask, pattern);
        QCOMPARE(form->Painter().MaskSheet(), mask);
        QCOMPARE(form->Painter().PatternSheet(), pattern);

        const int image = form->Game().ImageFor(form->Game().Board().Cell(2, 6)); // a start tile's quarter
        QVERIFY(image > 0);
        const QRect square = SymbolSquare(image, c, 2);
        const QImage& shown = form->box->Canvas().Image();
        const QImage empty = form->Painter().FreshPicture([&] {
            BoardScene s = form->Scene();
            s.cells = {};
            return s;
        }());
        const QPoint at(Geo().CellX(2) * 2, Geo().CellY(6) * 2);
        int symbolPixels = 0;
        for (int dx = 0; dx < 2 * c; ++dx)
            for (int dy = 0; dy < 2 * c; ++dy) {
                const QRgb m = mask.pixel(square.topLeft() + QPoint(dx, dy));
                const QRgb p = pattern.pixel(square.topLeft() + QPoint(dx, dy));
                const QRgb back = empty.pixel(at + QPoint(dx, dy));
                QCOMPARE(shown.pixel(at + QPoint(dx, dy)) & 0xFFFFFF, ((back & m) | p) & 0xFFFFFF);
                symbolPixels += (m & 0xFFFFFF) == 0;
            }
        QVERIFY(symbolPixels > 0);
    }

    void playKeepsTheCanvasFresh()
    {
        const QPoint preview(Geo().PreviewLeft + Geo().CellSize, Geo().PreviewTop + Geo().CellSize);
        QTest::mouseClick(form->box, Qt::LeftButton, {}, preview);
        QVERIFY(CanvasIsFresh());
        QTest::mouseMove(form->box, {Geo().BlockCentreX(3), Geo().BlockCentreY(2) + 5});
        QVERIFY(CanvasIsFresh());
        form->TimerTimer();
        QVERIFY(CanvasIsFresh());
        QTest::mouseClick(form->box, Qt::LeftButton, {},
                          {Geo().PreviewLeft + Geo().CellSize, Geo().PreviewTop + 4 * Geo().CellSize});
        QVERIFY(CanvasIsFresh()); // a frame of the throw-away
        form->FinishAnimation();
        QVERIFY(CanvasIsFresh());
        form->resize(900, 600);
        QTRY_COMPARE(form->box->Canvas().Width(), 900);
        QVERIFY(CanvasIsFresh());
    }
};

QTEST_MAIN(BoardScaleTest)
#include "test_board_scale.moc"
