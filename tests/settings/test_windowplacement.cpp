// The "MainForm" value and the rules that put a restored window on the
// desktop or centre it.
#include "settings/WindowPlacement.h"

#include <QtTest>

Q_DECLARE_METATYPE(WindowPlacement)

class TestWindowPlacement : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void formatRoundTrips();
    void clampToDesktop_data();
    void clampToDesktop();
    void fitToDesktop_data();
    void fitToDesktop();
    void centre_data();
    void centre();
};

void TestWindowPlacement::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<WindowPlacement>("expected");

    QTest::newRow("normal") << QStringLiteral("200,0,1,10,20,710,500") << true
                            << WindowPlacement{0, 1, 10, 20, 710, 500};
    QTest::newRow("maximised, off the left") << QStringLiteral("200,2,3,-50,10,750,510") << true
                                             << WindowPlacement{2, 3, -50, 10, 750, 510};
    const WindowPlacement none;
    QTest::newRow("empty") << QString() << false << none;
    QTest::newRow("six parts") << QStringLiteral("200,0,1,10,20,710") << false << none;
    QTest::newRow("eight parts") << QStringLiteral("200,0,1,10,20,710,500,9") << false << none;
    QTest::newRow("first part 100") << QStringLiteral("100,0,1,10,20,710,500") << false << none;
    QTest::newRow("first part with a blank") << QStringLiteral(" 200,0,1,10,20,710,500") << false << none;
    QTest::newRow("a part not a number") << QStringLiteral("200,0,1,ten,20,710,500") << false << none;
    QTest::newRow("flags not a number") << QStringLiteral("200,x,1,10,20,710,500") << false << none;
    QTest::newRow("empty part") << QStringLiteral("200,0,1,10,,710,500") << false << none;
    QTest::newRow("zero width") << QStringLiteral("200,0,1,10,20,10,500") << false << none;
    QTest::newRow("inverted height") << QStringLiteral("200,0,1,10,500,710,20") << false << none;
    QTest::newRow("beyond any window")
        << QStringLiteral("200,0,1,-2147483647,0,2147483647,500") << false << none;
}

void TestWindowPlacement::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(WindowPlacement, expected);

    const std::optional<WindowPlacement> parsed = ParsePlacement(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QVERIFY(*parsed == expected);
}

void TestWindowPlacement::formatRoundTrips()
{
    WindowPlacement placement{2, 3, 0, 0, 0, 0};
    placement.SetNormalRect(QRect(-8, 15, 701, 480));
    QCOMPARE(placement.right, 693);
    QCOMPARE(placement.bottom, 495);

    const QString text = FormatPlacement(placement);
    QCOMPARE(text, QStringLiteral("200,2,3,-8,15,693,495"));
    const std::optional<WindowPlacement> parsed = ParsePlacement(text);
    QVERIFY(parsed);
    QVERIFY(*parsed == placement);
    QCOMPARE(parsed->NormalRect(), QRect(-8, 15, 701, 480));
}

void TestWindowPlacement::clampToDesktop_data()
{
    // Rectangles as left, top, right, bottom with exclusive edges.
    auto edges = [](int left, int top, int right, int bottom) {
        return QRect(QPoint(left, top), QSize(right - left, bottom - top));
    };
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QRect>("desktop");
    QTest::addColumn<QRect>("expected");

    const QRect desktop(0, 0, 1024, 768);
    QTest::newRow("inside") << edges(10, 20, 710, 500) << desktop << edges(10, 20, 710, 500);
    QTest::newRow("off the left") << edges(-50, 10, 750, 510) << desktop << edges(0, 10, 800, 510);
    QTest::newRow("off the right") << edges(900, 100, 1300, 400) << desktop << edges(624, 100, 1024, 400);
    QTest::newRow("off the top") << edges(10, -30, 710, 470) << desktop << edges(10, 0, 710, 500);
    QTest::newRow("off the bottom") << edges(10, 700, 710, 900) << desktop << edges(10, 568, 710, 768);
    // The left and top checks come last: a window larger than the desktop
    // keeps its top left corner on screen.
    QTest::newRow("larger than the desktop") << edges(-10, -10, 2000, 1000) << desktop << edges(0, 0, 2010, 1010);

    // A screen left of the primary one: the desktop starts at -1920 and its
    // right edge is at 1920, not at its width.
    const QRect wide(-1920, 0, 3840, 1080);
    QTest::newRow("wide desktop, inside") << edges(-1800, 10, -1000, 510) << wide << edges(-1800, 10, -1000, 510);
    QTest::newRow("wide desktop, off the right") << edges(1500, 10, 2200, 510) << wide << edges(1220, 10, 1920, 510);
    QTest::newRow("wide desktop, off the left") << edges(-2000, 10, -1300, 510) << wide << edges(-1920, 10, -1220, 510);
}

void TestWindowPlacement::clampToDesktop()
{
    QFETCH(QRect, window);
    QFETCH(QRect, desktop);
    QFETCH(QRect, expected);
    QCOMPARE(ClampToDesktop(window, desktop), expected);
}

void TestWindowPlacement::fitToDesktop_data()
{
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QRect>("desktop");
    QTest::addColumn<QSize>("smallest");
    QTest::addColumn<QRect>("expected");

    const QRect desktop(0, 0, 1280, 1024);
    const QSize smallest(640, 480);
    QTest::newRow("fits: unchanged") << QRect(10, 20, 701, 500) << desktop << smallest << QRect(10, 20, 701, 500);
    QTest::newRow("largest extent: the desktop")
        << QRect(0, 0, 16777215, 16777215) << desktop << smallest << desktop;
    QTest::newRow("larger screen's size: the desktop")
        << QRect(0, 0, 2560, 1440) << desktop << smallest << desktop;
    QTest::newRow("wider only, off the right") << QRect(900, 100, 3000, 500) << desktop << smallest
                                               << QRect(0, 100, 1280, 500);
    QTest::newRow("too small: the smallest size, on the desktop")
        << QRect(1270, 1020, 1, 1) << desktop << smallest << QRect(640, 544, 640, 480);
    QTest::newRow("desktop below the smallest: smallest wins, top left shown")
        << QRect(50, 50, 800, 600) << QRect(0, 0, 600, 400) << smallest << QRect(0, 0, 640, 480);
    const QRect second(-1280, 200, 1280, 800);
    QTest::newRow("desktop not at the origin") << QRect(-5000, 0, 4000, 4000) << second << smallest << second;
    QTest::newRow("no desktop: only the smallest size")
        << QRect(5, 6, 10, 2000) << QRect() << smallest << QRect(5, 6, 640, 2000);
}

void TestWindowPlacement::fitToDesktop()
{
    QFETCH(QRect, window);
    QFETCH(QRect, desktop);
    QFETCH(QSize, smallest);
    QFETCH(QRect, expected);
    QCOMPARE(FitToDesktop(window, desktop, smallest), expected);
}

void TestWindowPlacement::centre_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("odd remainder") << QRect(0, 0, 1024, 768) << QSize(701, 463) << QPoint(161, 152);
    QTest::newRow("exact fit") << QRect(0, 0, 800, 600) << QSize(800, 600) << QPoint(0, 0);
    // Halves of negative numbers round toward zero, not down.
    QTest::newRow("larger than the screen") << QRect(0, 0, 800, 600) << QSize(1001, 703) << QPoint(-100, -51);
    QTest::newRow("screen not at the origin") << QRect(1920, 0, 1280, 1024) << QSize(640, 480) << QPoint(2240, 272);
}

void TestWindowPlacement::centre()
{
    QFETCH(QRect, screen);
    QFETCH(QSize, window);
    QFETCH(QPoint, expected);
    QCOMPARE(CentredTopLeft(screen, window), expected);
}

QTEST_GUILESS_MAIN(TestWindowPlacement)
#include "test_windowplacement.moc"
