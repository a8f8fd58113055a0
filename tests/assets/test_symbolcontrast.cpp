// Every symbol must stand out from every cell background it can lie on.
//
// A quarter is drawn as the board draws it: the cell texture (column 2 of the
// texture sheet), ANDed with the mask square, ORed with the pattern square.
// Along the symbol's edge, each texture pixel is compared with the symbol pixel
// next to it by the luminance contrast ratio of WCAG 2.x, (L1 + 0.05) /
// (L2 + 0.05). Why that measure and these numbers:
//  - Luminance, not hue: the outline of a small shape is seen by its lightness
//    step (the eye resolves fine detail far worse in colour than in
//    lightness), and a step in hue alone is lost to colour-blind players.
//  - 3 : 1 is WCAG's minimum for the parts of a graphic one needs to make it
//    out (success criterion 1.4.11, non-text contrast).
//  - 90 % of the edge must reach it, for each symbol on each background: the
//    remaining tenth is where anti-aliasing mixes a sharp tip or corner with
//    the texture. On today's textures the old art reached as little as 0 % (a
//    teal octagon on turquoise).
//  - An outline needs room: a pixel of it on either side and one of the
//    symbol's colour between, three pixels. Where the drawing is thinner
//    than that just behind the edge (the strokes of the knot and the
//    spirals at a small cell), outline and colour cannot both show and the
//    pixels there are anti-aliased mixes; such places are judged at the
//    large cell size, where they are wide enough.
// Two cell sizes: 25, the default window's, and 63, a full-HD window's.
#include "assets/MainFormAssets.h"

#include <QtTest>
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr double kClearContrast = 3.0;
constexpr double kClearShare = 0.9;
constexpr double kRoom = 3;     // pixels across, of drawing behind the edge
constexpr int kFineCell = 400;  // the drawing's true shape, for judging the room
constexpr int kTexture = 100;

double Linear(int channel)
{
    const double s = channel / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
}

double Luminance(QRgb p)
{
    return 0.2126 * Linear(qRed(p)) + 0.7152 * Linear(qGreen(p)) + 0.0722 * Linear(qBlue(p));
}

double Contrast(QRgb a, QRgb b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

struct Sheets {
    QImage mask, pattern;
};

Sheets SheetsAt(int c)
{
    Sheets sheets;
    RenderSymbolSheets(MaskPicture(), PatternPicture(), c, sheets.mask, sheets.pattern);
    return sheets;
}

bool Covered(const QImage& mask, int x, int y) { return (mask.pixel(x, y) & 0xffffff) == 0; }

// How thick the drawing is: for each pixel of a finely rendered mask, the
// distance to the nearest pixel it does not cover (a two-pass chamfer
// distance with steps 1 and sqrt 2, close enough to the true one here).
class Thickness {
public:
    explicit Thickness(const QImage& fineMask)
        : width_(fineMask.width()), height_(fineMask.height()), distance_(width_ * height_)
    {
        constexpr float diagonal = 1.41421356f;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                At(x, y) = Covered(fineMask, x, y) ? 1e9f : 0.0f;
        auto relax = [&](int x, int y, int dx, int dy, float step) {
            if (x + dx >= 0 && y + dy >= 0 && x + dx < width_ && y + dy < height_)
                At(x, y) = std::min(At(x, y), At(x + dx, y + dy) + step);
        };
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                relax(x, y, -1, 0, 1), relax(x, y, 0, -1, 1);
                relax(x, y, -1, -1, diagonal), relax(x, y, 1, -1, diagonal);
            }
        for (int y = height_ - 1; y >= 0; --y)
            for (int x = width_ - 1; x >= 0; --x) {
                relax(x, y, 1, 0, 1), relax(x, y, 0, 1, 1);
                relax(x, y, 1, 1, diagonal), relax(x, y, -1, 1, diagonal);
            }
    }

    // The radius, in pixels of cell size c, of the largest disc inside symbol
    // n's drawing whose centre lies within `reach` pixels of pixel (x, y).
    double LargestDiscNear(int n, int c, int x, int y, double reach) const
    {
        const QRect fine = SymbolSquare(n, kFineCell);
        const double scale = double(kFineCell) / c;
        const double cx = fine.left() + (x + 0.5) * scale, cy = fine.top() + (y + 0.5) * scale;
        const double r = reach * scale;
        const int step = std::max(1, int(scale / 4));
        float largest = 0;
        for (int fy = std::max(int(cy - r), fine.top()); fy <= std::min(int(cy + r), fine.bottom()); fy += step)
            for (int fx = std::max(int(cx - r), fine.left()); fx <= std::min(int(cx + r), fine.right()); fx += step)
                if ((fx - cx) * (fx - cx) + (fy - cy) * (fy - cy) <= r * r)
                    largest = std::max(largest, distance_[fy * width_ + fx]);
        return largest / scale;
    }

private:
    float& At(int x, int y) { return distance_[y * width_ + x]; }

    int width_, height_;
    std::vector<float> distance_;
};

// One symbol's edge at cell size c: each pair of a texture pixel and the
// symbol pixel next to it (one of four directions), where the drawing has
// room for an outline: a disc kRoom pixels across fits in it just behind.
struct EdgePair {
    QPoint outside, inside;
};

QList<EdgePair> EdgeWithRoom(int n, int c, const QImage& mask, const Thickness& thickness)
{
    const QRect square = SymbolSquare(n, c);
    auto covered = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < c && y < c && Covered(mask, square.left() + x, square.top() + y);
    };
    QList<EdgePair> pairs;
    for (int y = 0; y < c; ++y)
        for (int x = 0; x < c; ++x) {
            if (covered(x, y))
                continue;
            for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                if (covered(x + dx, y + dy)
                    && thickness.LargestDiscNear(n, c, x + dx, y + dy, 1.5) >= kRoom / 2)
                    pairs.append({QPoint(x, y), QPoint(x + dx, y + dy)});
        }
    return pairs;
}

// The quarter as the board draws it, with the cell texture starting at offset
// (ox, oy) of its tile: a cell can lie anywhere on the repeated texture.
QImage DrawnQuarter(int n, int c, const Sheets& sheets, const QImage& texture, int ox, int oy)
{
    const QRect square = SymbolSquare(n, c);
    QImage quarter(c, c, QImage::Format_RGB32);
    for (int y = 0; y < c; ++y)
        for (int x = 0; x < c; ++x) {
            const QRgb back = texture.pixel((ox + x) % kTexture, (oy + y) % kTexture);
            const QRgb mask = sheets.mask.pixel(square.left() + x, square.top() + y);
            const QRgb pattern = sheets.pattern.pixel(square.left() + x, square.top() + y);
            quarter.setPixel(x, y, (back & mask) | pattern);
        }
    return quarter;
}

// The share of the edge that reaches the clear contrast, over placements spread
// across the texture tile.
double ClearShare(const QList<EdgePair>& edge, int n, int c, const Sheets& sheets, const QImage& texture)
{
    int clear = 0, all = 0;
    for (int ox = 0; ox < kTexture; ox += 20)
        for (int oy = 0; oy < kTexture; oy += 20) {
            const QImage quarter = DrawnQuarter(n, c, sheets, texture, ox, oy);
            for (const EdgePair& pair : edge) {
                clear += Contrast(quarter.pixel(pair.outside), quarter.pixel(pair.inside)) >= kClearContrast;
                ++all;
            }
        }
    return all ? double(clear) / all : 1.0;
}

} // namespace

class TestSymbolContrast : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everySymbolStandsOutFromEveryCellBackground_data();
    void everySymbolStandsOutFromEveryCellBackground();

private:
    QList<QImage> cellTextures_;
    std::unique_ptr<Thickness> thickness_;
};

void TestSymbolContrast::initTestCase()
{
    const QImage sheet = MainFormBitmaps().Item(0).convertToFormat(QImage::Format_RGB32);
    for (int row = 0; row < 7; ++row)
        cellTextures_.append(sheet.copy(2 * kTexture, row * kTexture, kTexture, kTexture));
    thickness_ = std::make_unique<Thickness>(SheetsAt(kFineCell).mask);
}

void TestSymbolContrast::everySymbolStandsOutFromEveryCellBackground_data()
{
    QTest::addColumn<int>("c");
    QTest::newRow("default window, c = 25") << 25;
    QTest::newRow("full-HD window, c = 63") << 63;
}

void TestSymbolContrast::everySymbolStandsOutFromEveryCellBackground()
{
    QFETCH(int, c);
    const Sheets sheets = SheetsAt(c);
    QStringList faint, noRoom;
    double lowest = 1;
    for (int n = 1; n <= 27; ++n) {
        const QList<EdgePair> edge = EdgeWithRoom(n, c, sheets.mask, *thickness_);
        // Every symbol is judged at the large size at least.
        if (edge.size() < c) {
            QVERIFY2(c < 63, qPrintable(QStringLiteral("symbol %1 has almost no edge to measure").arg(n)));
            noRoom << QString::number(n);
            continue;
        }
        for (int backMode = 0; backMode < 7; ++backMode) {
            const double share = ClearShare(edge, n, c, sheets, cellTextures_[backMode]);
            lowest = std::min(lowest, share);
            if (share < kClearShare)
                faint << QStringLiteral("symbol %1 on background %2: %3 %").arg(n).arg(backMode).arg(qRound(100 * share));
        }
    }
    qInfo("lowest share of a clear edge: %d %%", qRound(100 * lowest));
    if (!noRoom.isEmpty())
        qInfo("too thin for an outline at this size, judged at the large one: %s", qPrintable(noRoom.join(u", ")));
    for (const QString& pair : faint)
        qWarning("faint: %s", qPrintable(pair));
    QVERIFY2(faint.isEmpty(), qPrintable(QStringLiteral("%1 pairs of symbol and background with less than %2 % of "
                                                        "the edge at %3 : 1 (listed above)")
                                             .arg(faint.size())
                                             .arg(qRound(100 * kClearShare))
                                             .arg(kClearContrast)));
}

QTEST_GUILESS_MAIN(TestSymbolContrast)
#include "test_symbolcontrast.moc"
