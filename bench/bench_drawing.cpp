// Drawing figures of the main window at large sizes: a full Paint, one step
// of a carried tile following the pointer, one Resize, and how many pixels a
// pointer step sends to the screen. Runs headless; prints one line a size.
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "game/mainform/NullServices.h"
#include "game/mainform/main.h"

namespace {
// Median time of one call in microseconds.
double MedianMicros(int runs, const std::function<void()>& step)
{
    std::vector<double> times;
    times.reserve(runs);
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        step();
        times.push_back(double(clock.nsecsElapsed()) / 1000.0);
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[runs / 2];
}

void Measure(Tmainform& form, QSize client)
{
    form.resize(client);
    QApplication::processEvents();
    const BoardGeometry& g = form.Painter().Geometry();
    const double paint = MedianMicros(30, [&] { form.Paint(); });
    const double resize = MedianMicros(10, [&] { form.Resize(); });
    QApplication::processEvents();

    // Take the tile, then move it to and fro over the board.
    form.boxMouseDown(Qt::LeftButton, g.PreviewLeft + g.CellSize, g.PreviewTop + g.CellSize);
    QApplication::processEvents();
    const int y = g.BoardTop + 7 * g.CellSize;
    int step = 0;
    qint64 pixels = 0;
    const double move = MedianMicros(400, [&] {
        const int x = g.BoardLeft + 2 * g.CellSize + (step++ % 2) * g.CellSize / 2;
        form.MouseMove(x, y);
        pixels = form.box->LastFlushPixels();
    });
    // The same step with the widget's repaint of what changed.
    const double moveShown = MedianMicros(200, [&] {
        const int x = g.BoardLeft + 2 * g.CellSize + (step++ % 2) * g.CellSize / 2;
        form.MouseMove(x, y);
        QApplication::processEvents();
    });
    std::printf("| %dx%d | %d | %.0f | %.0f | %.1f | %.1f | %lld |\n", client.width(), client.height(), g.CellSize,
                paint, resize, move, moveShown, static_cast<long long>(pixels));
    std::fflush(stdout);
    form.NewGame(); // drops the carried tile for the next size
}
} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never the player's own settings.
    QTemporaryDir store;
    qputenv("XDG_CONFIG_HOME", store.path().toLocal8Bit());
    QApplication app(argc, argv);

    NullServices services;
    Tmainform form(services);
    form.show();
    QApplication::processEvents();

    std::printf("| window client | cell px | Paint µs | Resize µs | MouseMove µs | MouseMove + repaint µs | pixels sent a step |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    for (const QSize size : {QSize(1920, 1080), QSize(3840, 2160)})
        Measure(form, size);
    return 0;
}
