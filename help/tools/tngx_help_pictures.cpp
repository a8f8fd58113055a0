// Draws stand-in pictures of the board for the rules, for builds that have no
// pictures rendered by the game itself. Usage: tngx_help_pictures <folder>
// writes board-start.png and board-match.png there.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

constexpr int kCell = 22;
constexpr int kGap = 2;
constexpr int kBlock = 2 * kCell + kGap;
const QColor kBoardColour(0x6b, 0x55, 0x3a);
const QColor kEmptyColour(0x8a, 0x72, 0x52);

// Two symbols, as on the first levels: a gold disc and a blue diamond.
void DrawQuarter(QPainter& p, QPoint topLeft, int symbol)
{
    const QRect cell(topLeft, QSize(kCell, kCell));
    p.fillRect(cell, QColor(0xf4, 0xec, 0xd8));
    p.setPen(Qt::NoPen);
    if (symbol == 1) {
        p.setBrush(QColor(0xd9, 0xa4, 0x1e));
        p.drawEllipse(cell.adjusted(4, 4, -4, -4));
    } else {
        p.setBrush(QColor(0x2e, 0x5c, 0xb8));
        const QPointF c = QRectF(cell).center();
        QPainterPath diamond;
        diamond.moveTo(c.x(), c.y() - 7);
        diamond.lineTo(c.x() + 7, c.y());
        diamond.lineTo(c.x(), c.y() + 7);
        diamond.lineTo(c.x() - 7, c.y());
        diamond.closeSubpath();
        p.drawPath(diamond);
    }
    p.setPen(QColor(0x9c, 0x8a, 0x6a));
    p.setBrush(Qt::NoBrush);
    p.drawRect(cell.adjusted(0, 0, -1, -1));
}

// quarters in the order top-left, bottom-left, top-right, bottom-right; 0 = empty place
void DrawBlock(QPainter& p, QPoint origin, int column, int row, const int (&quarters)[4])
{
    const QPoint topLeft = origin + QPoint(column * kBlock, row * kBlock);
    if (quarters[0] == 0) {
        p.fillRect(QRect(topLeft, QSize(2 * kCell, 2 * kCell)), kEmptyColour);
        return;
    }
    DrawQuarter(p, topLeft, quarters[0]);
    DrawQuarter(p, topLeft + QPoint(0, kCell), quarters[1]);
    DrawQuarter(p, topLeft + QPoint(kCell, 0), quarters[2]);
    DrawQuarter(p, topLeft + QPoint(kCell, kCell), quarters[3]);
}

QImage BoardStart()
{
    const int board = 7 * kBlock;
    QImage image(board + 3 * kBlock, board + 2 * kGap * 4, QImage::Format_RGB32);
    image.fill(kBoardColour);
    QPainter p(&image);
    const QPoint origin(8, 8);
    const int empty[4] = {0, 0, 0, 0};
    for (int c = 0; c < 7; ++c)
        for (int r = 0; r < 7; ++r)
            DrawBlock(p, origin, c, r, empty);
    const int starts[3][4] = {{1, 2, 1, 1}, {2, 2, 1, 2}, {1, 1, 2, 2}};
    for (int i = 0; i < 3; ++i)
        DrawBlock(p, origin, 1 + 2 * i, 3, starts[i]);
    // the preview box with the next tile, and the discard box below it
    const QPoint side = origin + QPoint(7 * kBlock + kBlock / 2, 0);
    const int next[4] = {2, 1, 2, 2};
    DrawBlock(p, side, 0, 0, next);
    p.fillRect(QRect(side + QPoint(0, 3 * kCell), QSize(2 * kCell, 2 * kCell)), QColor(0x40, 0x30, 0x20));
    return image;
}

QImage BoardMatch()
{
    QImage image(3 * kBlock + 16, 2 * kBlock + 16, QImage::Format_RGB32);
    image.fill(kBoardColour);
    QPainter p(&image);
    const QPoint origin(8, 8);
    const int start[4] = {1, 2, 1, 2};
    const int laid[4] = {1, 2, 2, 1};
    const int empty[4] = {0, 0, 0, 0};
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 2; ++r)
            DrawBlock(p, origin, c, r, empty);
    DrawBlock(p, origin, 0, 1, start);
    DrawBlock(p, origin, 1, 1, laid);
    // mark the two matching pairs across the shared edge
    p.setPen(QPen(QColor(0x2a, 0xa0, 0x3a), 3));
    const int edgeX = origin.x() + 2 * kCell + kGap / 2;
    const int top = origin.y() + kBlock;
    p.drawLine(edgeX - 8, top + kCell / 2, edgeX + 8, top + kCell / 2);
    p.drawLine(edgeX - 8, top + kCell + kCell / 2, edgeX + 8, top + kCell + kCell / 2);
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tngx_help_pictures <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!BoardStart().save(folder.filePath(QStringLiteral("board-start.png")))
        || !BoardMatch().save(folder.filePath(QStringLiteral("board-match.png")))) {
        std::fprintf(stderr, "tngx_help_pictures: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
