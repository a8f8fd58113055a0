// The symbol pictures scaled to (9c + 2) x (3c + 2) must serve the board's
// two-step drawing (dest AND mask square, then OR pattern square) exactly.
#include "assets/MainFormAssets.h"

#include <QtTest>
#include <algorithm>

namespace {

constexpr QRgb kBlack = 0xff000000;
constexpr QRgb kWhite = 0xffffffff;

struct TSheets {
    QImage mask, pattern;
};

const TSheets& SheetsAt(int c)
{
    static QMap<int, TSheets> cache;
    if (!cache.contains(c)) {
        TSheets sheets;
        RenderSymbolSheets(MaskPicture(), PatternPicture(), c, sheets.mask, sheets.pattern);
        cache.insert(c, sheets);
    }
    return cache[c];
}

// The c x c square the board cuts image n from.
QRect CutSquare(int n, int c)
{
    return QRect((n - 1) % 9 * c + 1, (n - 1) / 9 * c + 1, c, c);
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

} // namespace

class TestSymbolSheets : public QObject {
    Q_OBJECT

private slots:
    void picturesLoadFromTheProgram();
    void sheetsMeetTheContract_data();
    void sheetsMeetTheContract();
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
    for (int c : {5, 25, 140})
        QTest::addRow("c = %d", c) << c;
}

void TestSymbolSheets::sheetsMeetTheContract()
{
    QFETCH(int, c);
    const TSheets& sheets = SheetsAt(c);
    QCOMPARE(sheets.mask.size(), QSize(9 * c + 2, 3 * c + 2));
    QCOMPARE(sheets.pattern.size(), QSize(9 * c + 2, 3 * c + 2));
    QCOMPARE(sheets.mask.format(), QImage::Format_RGB32);
    QCOMPARE(sheets.pattern.format(), QImage::Format_RGB32);

    const QRect squares(1, 1, 9 * c, 3 * c);
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
        const QRect square = CutSquare(n, c);
        const int covered = BlackIn(sheets.mask, square);
        QVERIFY2(covered >= c * c / 10, qPrintable(QStringLiteral("symbol %1 covers only %2 pixels").arg(n).arg(covered)));
        // Inside the silhouette the pattern shows the symbol's colours (symbol 7 has a black star).
        int coloured = 0;
        for (int y = square.top(); y <= square.bottom(); ++y)
            for (int x = square.left(); x <= square.right(); ++x)
                coloured += Black(sheets.mask, QPoint(x, y)) && !Black(sheets.pattern, QPoint(x, y));
        QVERIFY2(coloured * 2 >= covered, qPrintable(QStringLiteral("symbol %1 is mostly black in the pattern").arg(n)));
    }
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
        const QRect square = CutSquare(n, c);
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
        const QRect a = CutSquare(n, 5), b = CutSquare(n, 140);
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
    const TSheets& sheets = SheetsAt(c);
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
            const QRect sa = CutSquare(a, c), sb = CutSquare(b, c);
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
#include "tst_symbolsheets.moc"
