// The texture tiles and the granites repeat edge to edge, so each must join
// itself seamlessly: the jump across a wrapped edge may be no larger than the
// typical jumps between neighbouring columns (rows) inside the tile.
#include "assets/DlgRes.h"
#include "assets/MainFormAssets.h"

#include <QtTest>
#include <algorithm>
#include <cmath>

namespace {

// Mean colour distance between column a and column b (or rows, when across is false).
double LineJump(const QImage& tile, int a, int b, bool columns)
{
    const int length = columns ? tile.height() : tile.width();
    double sum = 0;
    for (int i = 0; i < length; ++i) {
        const QRgb p = columns ? tile.pixel(a, i) : tile.pixel(i, a);
        const QRgb q = columns ? tile.pixel(b, i) : tile.pixel(i, b);
        sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
    }
    return sum / length;
}

struct SeamFigure {
    double wrapped;  // jump from the last line to the first
    double typical;  // 90th percentile of the jumps between neighbouring lines inside
};

SeamFigure Seam(const QImage& tile, bool columns)
{
    const int lines = columns ? tile.width() : tile.height();
    QList<double> inside;
    for (int i = 0; i + 1 < lines; ++i)
        inside.append(LineJump(tile, i, i + 1, columns));
    std::sort(inside.begin(), inside.end());
    return {LineJump(tile, lines - 1, 0, columns), inside[int(inside.size() * 0.9)]};
}

bool Seamless(const QImage& tile, QString* why)
{
    for (bool columns : {true, false}) {
        const SeamFigure seam = Seam(tile, columns);
        if (seam.wrapped > 1.25 * seam.typical + 1.0) {
            *why = QStringLiteral("%1 edge jumps %2, inside typically %3")
                       .arg(columns ? u"left/right" : u"top/bottom")
                       .arg(seam.wrapped, 0, 'f', 1)
                       .arg(seam.typical, 0, 'f', 1);
            return false;
        }
    }
    return true;
}

double MeanLuminance(const QImage& tile)
{
    double sum = 0;
    for (int y = 0; y < tile.height(); ++y)
        for (int x = 0; x < tile.width(); ++x)
            sum += qGray(tile.pixel(x, y));
    return sum / (tile.width() * tile.height());
}

// Pearson correlation of the luminance of two equally sized tiles.
double Correlation(const QImage& a, const QImage& b)
{
    const double ma = MeanLuminance(a), mb = MeanLuminance(b);
    double ab = 0, aa = 0, bb = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const double da = qGray(a.pixel(x, y)) - ma, db = qGray(b.pixel(x, y)) - mb;
            ab += da * db;
            aa += da * da;
            bb += db * db;
        }
    return ab / std::sqrt(aa * bb);
}

QImage Tile(int row, int column)
{
    static const QImage sheet = MainFormBitmaps().Item(0);
    return sheet.copy(100 * column, 100 * row, 100, 100);
}

} // namespace

class TestTextures : public QObject {
    Q_OBJECT

private slots:
    void seamFigureCatchesAnEdge_data();
    void seamFigureCatchesAnEdge();
    void everyTextureTileIsSeamless_data();
    void everyTextureTileIsSeamless();
    void gradesAreTheSameTextureDarkerAndLighter_data();
    void gradesAreTheSameTextureDarkerAndLighter();
    void sevenBackgroundsDiffer();
    void granitesAreSeamlessAndTwoGradesOfOneStone();
};

void TestTextures::seamFigureCatchesAnEdge_data()
{
    QTest::addColumn<QImage>("tile");
    QImage gradient(100, 100, QImage::Format_RGB32);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            gradient.setPixel(x, y, qRgb(x * 2, 90, 255 - y * 2));
    QTest::newRow("colour ramp") << gradient;
    // Two different seamless textures side by side: the inside join is one line among many,
    // the wrapped edge is where they meet again.
    QImage halves = Tile(0, 0);
    QPainter painter(&halves);
    painter.drawImage(QPoint(50, 0), Tile(3, 0), QRect(50, 0, 50, 100));
    painter.end();
    QTest::newRow("halves of two textures") << halves;
}

void TestTextures::seamFigureCatchesAnEdge()
{
    QFETCH(QImage, tile);
    QString why;
    QVERIFY(!Seamless(tile, &why));
}

void TestTextures::everyTextureTileIsSeamless_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    for (int row = 0; row < 7; ++row)
        for (int column = 0; column < 3; ++column)
            QTest::addRow("background %d grade %d", row, column) << row << column;
}

void TestTextures::everyTextureTileIsSeamless()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QString why;
    QVERIFY2(Seamless(Tile(row, column), &why), qPrintable(why));
}

void TestTextures::gradesAreTheSameTextureDarkerAndLighter_data()
{
    QTest::addColumn<int>("row");
    for (int row = 0; row < 7; ++row)
        QTest::addRow("background %d", row) << row;
}

void TestTextures::gradesAreTheSameTextureDarkerAndLighter()
{
    QFETCH(int, row);
    const QImage normal = Tile(row, 0), darker = Tile(row, 1), lighter = Tile(row, 2);
    QVERIFY(MeanLuminance(darker) < MeanLuminance(normal) - 15);
    QVERIFY(MeanLuminance(lighter) > MeanLuminance(normal) + 15);
    QVERIFY(Correlation(normal, darker) > 0.9);
    QVERIFY(Correlation(normal, lighter) > 0.9);
}

void TestTextures::sevenBackgroundsDiffer()
{
    // A background choice that looks like another would be no choice: compare the mean colours.
    QList<QColor> means;
    for (int row = 0; row < 7; ++row) {
        const QImage tile = Tile(row, 0);
        double r = 0, g = 0, b = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                const QRgb p = tile.pixel(x, y);
                r += qRed(p), g += qGreen(p), b += qBlue(p);
            }
        means.append(QColor(int(r / 1e4), int(g / 1e4), int(b / 1e4)));
    }
    for (int i = 0; i < 7; ++i)
        for (int j = i + 1; j < 7; ++j) {
            const int distance = std::abs(means[i].red() - means[j].red()) + std::abs(means[i].green() - means[j].green())
                + std::abs(means[i].blue() - means[j].blue());
            QVERIFY2(distance > 20, qPrintable(QStringLiteral("backgrounds %1 and %2 look alike").arg(i).arg(j)));
        }
}

void TestTextures::granitesAreSeamlessAndTwoGradesOfOneStone()
{
    const TDlgResources resources;
    const QImage light = resources.dlgs.Item(0), dark = resources.dlgs.Item(1);
    QString why;
    QVERIFY2(Seamless(light, &why), qPrintable(why));
    QVERIFY2(Seamless(dark, &why), qPrintable(why));
    QVERIFY(MeanLuminance(dark) < MeanLuminance(light) - 40);
    QVERIFY(Correlation(light, dark) > 0.9);
}

QTEST_GUILESS_MAIN(TestTextures)
#include "test_textures.moc"
