// The symbol pictures scaled to (9c + 2) x (3c + 2), at any device pixel
// ratio, must serve the board's two-step drawing (dest AND mask square, then
// OR pattern square) exactly, in device pixels.
#include "assets/MainFormAssets.h"

#include <QPainter>
#include <QtTest>
#include <algorithm>

namespace {

constexpr QRgb kBlack = 0xff000000;
constexpr QRgb kWhite = 0xffffffff;

struct Sheets {
    QImage mask, pattern;
};

const Sheets& SheetsAt(int c, qreal dpr = 1)
{
    static QMap<std::pair<int, qreal>, Sheets> cache;
    const std::pair key{c, dpr};
    if (!cache.contains(key)) {
        Sheets sheets;
        RenderSymbolSheets(MaskPicture(), PatternPicture(), c, dpr, sheets.mask, sheets.pattern);
        cache.insert(key, sheets);
    }
    return cache[key];
}

// A point given in the symbol's own 100 x 100 drawing units, on the scaled sheet.
QPoint DrawingPoint(int n, int c, double u, double v)
{
    const double cellWidth = (9.0 * c + 2) / 9, cellHeight = (3.0 * c + 2) / 3;
    return QPoint(int(((n - 1) % 9 + u / 100) * cellWidth), int(((n - 1) / 9 + v / 100) * cellHeight));
}

bool Black(const QImage& image, QPoint p) { return (image.pixel(p) | kBlack) == kBlack; }

int BlackIn(const QImage& mask, const QRect& square)
{
    int count = 0;
    for (int y = square.top(); y <= square.bottom(); ++y)
        for (int x = square.left(); x <= square.right(); ++x)
            count += Black(mask, QPoint(x, y));
    return count;
}

// The two pictures rendered straight into a 9 x 3 grid of squares of `cell`
// pixels, with the painter's own anti-aliasing: what a symbol of that size
// looks like.
struct Drawing {
    QImage mask, pattern;
};

QImage RenderedDirectly(const SymbolPicture& picture, int cell, QRgb background)
{
    QImage image(9 * cell, 3 * cell, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    picture.StretchDraw(painter, QRectF(0, 0, image.width(), image.height()));
    return image;
}

Drawing DrawingAt(int cell)
{
    return {RenderedDirectly(MaskPicture(), cell, kWhite), RenderedDirectly(PatternPicture(), cell, kBlack)};
}

struct Mismatch {
    int silhouette = 0;  // pixels the drawing clearly puts inside (outside) the symbol but the sheet does not
    int colour = 0;      // pixels inside both whose colours clearly differ
};

// Symbol n of sheets of cell size c at device pixel ratio 2 against its 2c
// square of the drawing.
Mismatch CompareWithDrawing(const Sheets& sheets, const Drawing& drawing, int n, int c)
{
    const QRect square = SymbolSquare(n, c, 2);
    const QPoint origin((n - 1) % 9 * 2 * c, (n - 1) / 9 * 2 * c);
    Mismatch mismatch;
    for (int y = 0; y < 2 * c; ++y)
        for (int x = 0; x < 2 * c; ++x) {
            const QPoint p = square.topLeft() + QPoint(x, y), d = origin + QPoint(x, y);
            // Where the drawing's edge passes through a pixel, rounding may go either way.
            const int grey = qGray(drawing.mask.pixel(d));
            const bool inSheet = Black(sheets.mask, p);
            if ((grey < 64 && !inSheet) || (grey > 192 && inSheet))
                ++mismatch.silhouette;
            if (grey < 64 && inSheet) {
                const QColor a = sheets.pattern.pixelColor(p), b = drawing.pattern.pixelColor(d);
                if (std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue())}) > 48)
                    ++mismatch.colour;
            }
        }
    return mismatch;
}

} // namespace

class TestSymbolSheets : public QObject {
    Q_OBJECT

private slots:
    void picturesLoadFromTheProgram();
    void sheetsMeetTheContract_data();
    void sheetsMeetTheContract();
    void squaresInDevicePixels_data();
    void squaresInDevicePixels();
    void sheetsAtTwiceTheRatioAreTheDrawingAtTwiceTheCell_data();
    void sheetsAtTwiceTheRatioAreTheDrawingAtTwiceTheCell();
    void symbolsStayInsideTheirSquares_data();
    void symbolsStayInsideTheirSquares();
    void smallestCellsCutTheSameSymbolsAsLargeOnes();
    void coloursBlackPartsAndOpeningsAsDrawn();
    void noTwoSymbolsShareNearlyTheSameMask();
};

void TestSymbolSheets::picturesLoadFromTheProgram()
{
    QVERIFY(MaskPicture().IsValid());
    QVERIFY(PatternPicture().IsValid());
}

void TestSymbolSheets::sheetsMeetTheContract_data()
{
    QTest::addColumn<int>("c");
    QTest::addColumn<qreal>("dpr");
    QTest::addColumn<QSize>("size");  // in device pixels
    QTest::newRow("c = 5") << 5 << 1.0 << QSize(47, 17);
    QTest::newRow("c = 25") << 25 << 1.0 << QSize(227, 77);
    QTest::newRow("c = 140") << 140 << 1.0 << QSize(1262, 422);
    QTest::newRow("c = 5 at 200 %") << 5 << 2.0 << QSize(94, 34);
    QTest::newRow("c = 25 at 200 %") << 25 << 2.0 << QSize(454, 154);
    // 37.5 device pixels a cell round to 38, the 1.5-pixel border to 2.
    QTest::newRow("c = 25 at 150 %") << 25 << 1.5 << QSize(346, 118);
}

void TestSymbolSheets::sheetsMeetTheContract()
{
    QFETCH(int, c);
    QFETCH(qreal, dpr);
    QFETCH(QSize, size);
    const Sheets& sheets = SheetsAt(c, dpr);
    QCOMPARE(sheets.mask.size(), size);
    QCOMPARE(sheets.pattern.size(), size);
    QCOMPARE(sheets.mask.devicePixelRatio(), dpr);
    QCOMPARE(sheets.pattern.devicePixelRatio(), dpr);
    QCOMPARE(sheets.mask.format(), QImage::Format_RGB32);
    QCOMPARE(sheets.pattern.format(), QImage::Format_RGB32);

    const QRect squares = SymbolSquare(1, c, dpr) | SymbolSquare(27, c, dpr);
    for (int y = 0; y < sheets.mask.height(); ++y)
        for (int x = 0; x < sheets.mask.width(); ++x) {
            const QRgb m = sheets.mask.pixel(x, y) | kBlack;
            if (m != kBlack && m != kWhite)
                QFAIL(qPrintable(QStringLiteral("mask not pure black or white at %1,%2").arg(x).arg(y)));
            if (m == kWhite && (sheets.pattern.pixel(x, y) | kBlack) != kBlack)
                QFAIL(qPrintable(QStringLiteral("pattern not black where the mask is white at %1,%2").arg(x).arg(y)));
            if (m == kBlack && !squares.contains(x, y))
                QFAIL(qPrintable(QStringLiteral("symbol outside every square at %1,%2").arg(x).arg(y)));
        }

    for (int n = 1; n <= 27; ++n) {
        const QRect square = SymbolSquare(n, c, dpr);
        const int area = square.width() * square.height();
        const int covered = BlackIn(sheets.mask, square);
        QVERIFY2(covered >= area / 10, qPrintable(QStringLiteral("symbol %1 covers only %2 pixels").arg(n).arg(covered)));
        // Inside the silhouette the pattern shows the symbol's colours (symbol 7 has a black star).
        int coloured = 0;
        for (int y = square.top(); y <= square.bottom(); ++y)
            for (int x = square.left(); x <= square.right(); ++x)
                coloured += Black(sheets.mask, QPoint(x, y)) && !Black(sheets.pattern, QPoint(x, y));
        QVERIFY2(coloured * 2 >= covered, qPrintable(QStringLiteral("symbol %1 is mostly black in the pattern").arg(n)));
    }
}

void TestSymbolSheets::squaresInDevicePixels_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("c");
    QTest::addColumn<qreal>("dpr");
    QTest::addColumn<QRect>("square");
    QTest::newRow("first, c = 5") << 1 << 5 << 1.0 << QRect(1, 1, 5, 5);
    QTest::newRow("last, c = 5") << 27 << 5 << 1.0 << QRect(41, 11, 5, 5);
    QTest::newRow("first of row 2, c = 25 at 200 %") << 10 << 25 << 2.0 << QRect(2, 52, 50, 50);
    QTest::newRow("last, c = 25 at 200 %") << 27 << 25 << 2.0 << QRect(402, 102, 50, 50);
    QTest::newRow("second, c = 25 at 150 %") << 2 << 25 << 1.5 << QRect(40, 2, 38, 38);
    QTest::newRow("last, c = 64 at 300 %") << 27 << 64 << 3.0 << QRect(1539, 387, 192, 192);
}

void TestSymbolSheets::squaresInDevicePixels()
{
    QFETCH(int, n);
    QFETCH(int, c);
    QFETCH(qreal, dpr);
    QFETCH(QRect, square);
    QCOMPARE(SymbolSquare(n, c, dpr), square);
}

void TestSymbolSheets::sheetsAtTwiceTheRatioAreTheDrawingAtTwiceTheCell_data()
{
    QTest::addColumn<int>("c");
    for (int c : {12, 25, 40})
        QTest::addRow("c = %d", c) << c;
}

void TestSymbolSheets::sheetsAtTwiceTheRatioAreTheDrawingAtTwiceTheCell()
{
    // At 200 % a symbol must be as smooth as its drawing rendered at 2c, not the
    // c-sized one blown up. Each symbol of the sheets at device pixel ratio 2 is
    // compared with the pictures rendered straight into 2c squares.
    QFETCH(int, c);
    const Drawing drawing = DrawingAt(2 * c);
    const Sheets& sharp = SheetsAt(c, 2);
    // The same comparison must catch sheets drawn at c and doubled, or it proves nothing.
    const Sheets& small = SheetsAt(c);
    const Sheets doubled{small.mask.scaled(small.mask.size() * 2), small.pattern.scaled(small.pattern.size() * 2)};

    int doubledMisses = 0;
    for (int n = 1; n <= 27; ++n) {
        const Mismatch sharpMismatch = CompareWithDrawing(sharp, drawing, n, c);
        QVERIFY2(sharpMismatch.silhouette == 0 && sharpMismatch.colour == 0,
                 qPrintable(QStringLiteral("symbol %1: %2 pixels of silhouette and %3 of colour differ from the drawing")
                                .arg(n)
                                .arg(sharpMismatch.silhouette)
                                .arg(sharpMismatch.colour)));
        const Mismatch doubledMismatch = CompareWithDrawing(doubled, drawing, n, c);
        doubledMisses += doubledMismatch.silhouette + doubledMismatch.colour;
        QVERIFY2(doubledMismatch.silhouette + doubledMismatch.colour > 0,
                 qPrintable(QStringLiteral("symbol %1 doubled from c passes as sharp").arg(n)));
    }
    qInfo("sheets doubled from c: %d pixels differ from the drawing", doubledMisses);
}

void TestSymbolSheets::symbolsStayInsideTheirSquares_data()
{
    QTest::addColumn<int>("c");
    QTest::newRow("c = 25") << 25;
    QTest::newRow("c = 140") << 140;
}

void TestSymbolSheets::symbolsStayInsideTheirSquares()
{
    QFETCH(int, c);
    const QImage& mask = SheetsAt(c).mask;
    const int ring = std::max(1, c / 25);
    for (int n = 1; n <= 27; ++n) {
        const QRect square = SymbolSquare(n, c);
        // Nothing of the symbol touches the edge band of its square ...
        const QRect inner = square.adjusted(ring, ring, -ring, -ring);
        QCOMPARE(BlackIn(mask, square), BlackIn(mask, inner));
        // ... and it sits in the middle of it, not shifted towards a neighbour.
        QRect bounds;
        for (int y = square.top(); y <= square.bottom(); ++y)
            for (int x = square.left(); x <= square.right(); ++x)
                if (Black(mask, QPoint(x, y)))
                    bounds |= QRect(x, y, 1, 1);
        const QPointF offset = QRectF(bounds).center() - QRectF(square).center();
        QVERIFY2(std::abs(offset.x()) <= 0.1 * c && std::abs(offset.y()) <= 0.1 * c,
                 qPrintable(QStringLiteral("symbol %1 is off centre by %2,%3").arg(n).arg(offset.x()).arg(offset.y())));
    }
}

void TestSymbolSheets::smallestCellsCutTheSameSymbolsAsLargeOnes()
{
    // At c = 5 the sheet is 47 x 17 and rounding is at its worst. Each 5 x 5 cut must
    // agree with the large mask reduced to 5 x 5 at the same square, wherever the
    // large one clearly decides: a pixel covered well over half is black, one covered
    // well under half is white.
    const QImage& small = SheetsAt(5).mask;
    const QImage& large = SheetsAt(140).mask;
    int decidedInAll = 0;
    for (int n = 1; n <= 27; ++n) {
        const QRect a = SymbolSquare(n, 5), b = SymbolSquare(n, 140);
        int decided = 0, disagree = 0;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x) {
                const double cover = BlackIn(large, QRect(b.left() + x * 28, b.top() + y * 28, 28, 28)) / (28.0 * 28.0);
                if (cover > 0.35 && cover < 0.65)
                    continue;
                ++decided;
                disagree += (cover >= 0.65) != Black(small, a.topLeft() + QPoint(x, y));
            }
        QVERIFY2(disagree == 0, qPrintable(QStringLiteral("symbol %1: %2 of %3 pixels disagree").arg(n).arg(disagree).arg(decided)));
        decidedInAll += decided;
    }
    // Fine stripes leave few pixels clearly decided, but most symbols are solid enough.
    QVERIFY(decidedInAll >= 27 * 25 / 2);
}

void TestSymbolSheets::coloursBlackPartsAndOpeningsAsDrawn()
{
    const int c = 140;
    const Sheets& sheets = SheetsAt(c);
    // Symbol 1: purple, green, red and lilac quarters, clockwise from the top left.
    const QColor topLeft = sheets.pattern.pixelColor(DrawingPoint(1, c, 29, 29));
    const QColor topRight = sheets.pattern.pixelColor(DrawingPoint(1, c, 71, 29));
    const QColor bottomRight = sheets.pattern.pixelColor(DrawingPoint(1, c, 71, 71));
    const QColor bottomLeft = sheets.pattern.pixelColor(DrawingPoint(1, c, 29, 71));
    QVERIFY(topLeft.blue() > topLeft.green() && topLeft.red() > topLeft.green());
    QVERIFY(topRight.green() > topRight.red() && topRight.green() > topRight.blue());
    QVERIFY(bottomRight.red() > bottomRight.green() && bottomRight.red() > bottomRight.blue());
    QVERIFY(bottomLeft.blue() > bottomLeft.green() && bottomLeft.red() > bottomLeft.green());
    QVERIFY(bottomLeft.lightness() > topLeft.lightness());  // lilac is the light one of the two

    // Symbol 7: the star is black in the pattern and still part of the silhouette.
    const QPoint star = DrawingPoint(7, c, 50, 52);  // its middle
    QVERIFY(Black(sheets.mask, star));
    QVERIFY(Black(sheets.pattern, star));
    QVERIFY(!Black(sheets.pattern, DrawingPoint(7, c, 72, 76)));  // the red octagon between two points

    // Openings are white in the mask: the eyes of 5, the middle of 10, the gap inside the frame of 17.
    for (auto [n, u, v] : {std::tuple{5, 38.0, 38.0}, std::tuple{10, 50.0, 50.0}, std::tuple{17, 22.0, 50.0},
                           std::tuple{15, 21.5, 50.0}}) {
        const QPoint p = DrawingPoint(n, c, u, v);
        QVERIFY2(!Black(sheets.mask, p), qPrintable(QStringLiteral("symbol %1 has no opening").arg(n)));
        QVERIFY(Black(sheets.pattern, p));
    }
    QVERIFY(Black(sheets.mask, DrawingPoint(5, c, 50, 30)));  // the face between the eyes
}

void TestSymbolSheets::noTwoSymbolsShareNearlyTheSameMask()
{
    // At a small cell size the players tell symbols apart by outline as well as colour.
    // "Nearly the same" here: fewer than one pixel in sixteen differs.
    const int c = 16;
    const QImage& mask = SheetsAt(c).mask;
    int closest = c * c, closestA = 0, closestB = 0;
    for (int a = 1; a <= 27; ++a)
        for (int b = a + 1; b <= 27; ++b) {
            const QRect sa = SymbolSquare(a, c), sb = SymbolSquare(b, c);
            int differ = 0;
            for (int y = 0; y < c; ++y)
                for (int x = 0; x < c; ++x)
                    differ += Black(mask, sa.topLeft() + QPoint(x, y)) != Black(mask, sb.topLeft() + QPoint(x, y));
            if (differ < closest)
                closest = differ, closestA = a, closestB = b;
        }
    qInfo("closest pair %d and %d: %d of %d pixels differ", closestA, closestB, closest, c * c);
    QVERIFY2(closest >= c * c / 16,
             qPrintable(QStringLiteral("symbols %1 and %2 differ in only %3 pixels").arg(closestA).arg(closestB).arg(closest)));
}

QTEST_GUILESS_MAIN(TestSymbolSheets)
#include "test_symbolsheets.moc"
