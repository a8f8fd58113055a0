// Draws a chosen position of the game with the game's own drawing code into a
// PNG, for the pictures of the rules:
//   tangrix-boardshot <out.png> start|match
// "start" is a first level as dealt; "match" has one tile laid between two
// start tiles, matching on both sides.
//
// The picture is drawn at twice its size (the game draws its board in device
// pixels, here at a scale factor of 2) and marked as 192 dots per inch, so
// that the rules show it at its logical size and sharp on a screen at 200 %.
#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>

#include "game/mainform/NullServices.h"
#include "game/mainform/main.h"
#include "settings/Globals.h"

namespace {

// One tile laid right of the start tile at (1,3), touching the one at (3,3) too.
GamePosition WithMatchingTile(GamePosition p)
{
    Tile tile{};
    tile[0][0] = p.Board.Cell(3, 6); // left quarters meet the left start tile's right ones
    tile[0][1] = p.Board.Cell(3, 7);
    tile[1][0] = p.Board.Cell(6, 6); // right quarters meet the right start tile's left ones
    tile[1][1] = p.Board.Cell(6, 7);
    p.Board.PutTile(BlockPos{2, 3}, tile);
    return p;
}

constexpr int Ratio = 2;

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", QByteArray::number(Ratio));
    // The window reads and writes the settings store: keep the builder's own out of it.
    QTemporaryDir store;
    qputenv("XDG_CONFIG_HOME", store.path().toLocal8Bit());
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <out.png> start|match\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString position = QString::fromLocal8Bit(argv[2]);

    Tongue = 0;
    NullServices services;
    Tmainform form(services, std::make_unique<UniformRandom>(2024));
    form.Timer.stop();
    form.SetBackMode(2);
    form.resize(19 * 22, 57 + 16 * 22); // cells of 22 pixels
    form.Resize();
    if (position == QLatin1String("match"))
        form.Restore(WithMatchingTile(form.Game().Position()));
    else if (position != QLatin1String("start")) {
        std::fprintf(stderr, "unknown position\n");
        return 2;
    }
    form.Paint();

    const BoardGeometry& g = form.Painter().Geometry();
    const QRect area(QPoint(g.BoardLeft - 8, g.BoardTop - 8),
                     QPoint(g.PreviewLeft + g.BoxSize() + 8, g.BoardTop + g.BoardSize() + 8));
    if (form.box->Canvas().Scale() != Ratio) {
        std::fprintf(stderr, "the board is not drawn at twice its size\n");
        return 1;
    }
    QImage picture = form.box->Canvas().Image().copy(QRect(area.topLeft() * Ratio, area.size() * Ratio));
    // Dots per inch say the size it is meant to be seen at: twice 96.
    constexpr int dotsPerMeterAt96 = 3780;
    picture.setDotsPerMeterX(Ratio * dotsPerMeterAt96);
    picture.setDotsPerMeterY(Ratio * dotsPerMeterAt96);
    if (!picture.save(out)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
