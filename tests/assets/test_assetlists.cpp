// Counts, order, sizes, depths and transparent colours of every picture list,
// read from the compiled-in resources exactly as the program reads them.
#include "assets/DlgRes.h"
#include "assets/MainFormAssets.h"
#include "assets/ProgramIcon.h"

#include <QGuiApplication>
#include <QSet>
#include <QtTest>

namespace {

const QColor kWhite(255, 255, 255);
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 255, 0);
const QColor kFuchsia(255, 0, 255);
const QColor kNoKey;  // pictures drawn opaque

const BitmapList& ListNamed(const QString& name)
{
    static const BitmapList bmps = MainFormBitmaps();
    static const TDlgResources resources;
    if (name == u"bmps")
        return bmps;
    if (name == u"dlgs")
        return resources.dlgs;
    if (name == u"opts")
        return resources.opts;
    return resources.btns;
}

QRgb Rgb(QColor c) { return c.rgb() | 0xff000000; }

bool IsGreyPalette(const QImage& image)
{
    for (QRgb entry : image.colorTable())
        if (qRed(entry) != qGreen(entry) || qGreen(entry) != qBlue(entry))
            return false;
    return true;
}

} // namespace

class TestAssetLists : public QObject {
    Q_OBJECT

private slots:
    void listsHaveTheirCounts_data();
    void listsHaveTheirCounts();
    void itemsHaveSizeDepthAndCorners_data();
    void itemsHaveSizeDepthAndCorners();
    void mouseOverFacesDifferFromUpFaces_data();
    void mouseOverFacesDifferFromUpFaces();
    void cartoonHasFuchsiaAroundAndADrawingInside();
    void programIconOffersAllSizes();
};

void TestAssetLists::listsHaveTheirCounts_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("count");
    QTest::newRow("bmps") << "bmps" << 10;
    QTest::newRow("dlgs") << "dlgs" << 11;
    QTest::newRow("opts") << "opts" << 9;
    QTest::newRow("btns") << "btns" << 8;
}

void TestAssetLists::listsHaveTheirCounts()
{
    QFETCH(QString, list);
    QFETCH(int, count);
    QCOMPARE(ListNamed(list).Count(), count);
}

void TestAssetLists::itemsHaveSizeDepthAndCorners_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("index");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("bits");  // 24 colour, 8 palette
    QTest::addColumn<QColor>("key");

    const QSize face(50, 50);
    auto row = [](const char* list, int index, QSize size, int bits, QColor key) {
        QTest::addRow("%s %d", list, index) << QString::fromLatin1(list) << index << size << bits << key;
    };
    row("bmps", 0, QSize(300, 700), 24, kNoKey);
    for (int i = 1; i <= 9; ++i)
        row("bmps", i, face, i % 3 == 0 ? 8 : 24, kWhite);
    row("dlgs", 0, QSize(160, 120), 24, kNoKey);
    row("dlgs", 1, QSize(160, 120), 24, kNoKey);
    row("dlgs", 2, QSize(100, 75), 24, kFuchsia);
    for (int i = 3; i <= 6; ++i)
        row("dlgs", i, face, 24, kWhite);
    row("dlgs", 7, face, 24, kBlue);
    row("dlgs", 8, face, 24, kBlue);
    row("dlgs", 9, face, 24, kGreen);
    row("dlgs", 10, face, 24, kGreen);
    for (int i = 0; i <= 8; ++i)
        row("opts", i, face, i == 4 ? 8 : 24, kWhite);
    for (int i = 0; i <= 7; ++i)
        row("btns", i, face, 24, kWhite);
}

void TestAssetLists::itemsHaveSizeDepthAndCorners()
{
    QFETCH(QString, list);
    QFETCH(int, index);
    QFETCH(QSize, size);
    QFETCH(int, bits);
    QFETCH(QColor, key);

    const QImage& item = ListNamed(list).Item(index);
    QCOMPARE(item.size(), size);
    if (bits == 24) {
        // "24-bit" pictures read back as opaque 32-bit pixels with 8 bits per channel.
        QCOMPARE(item.format(), QImage::Format_RGB32);
    } else {
        QCOMPARE(item.format(), QImage::Format_Indexed8);
        QCOMPARE(item.colorCount(), 256);
        QVERIFY2(IsGreyPalette(item), "the disabled face is grey");
    }
    if (!key.isValid())
        return;

    const int w = item.width(), h = item.height();
    for (QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
        QCOMPARE(QColor(item.pixel(corner)), key);
    if (size != QSize(50, 50))
        return;
    // The face inside its frame never uses the transparent colour, or the button would show holes.
    for (int y = 3; y < 47; ++y)
        for (int x = 3; x < 47; ++x)
            if ((item.pixel(x, y) | 0xff000000) == Rgb(key))
                QFAIL(qPrintable(QStringLiteral("transparent colour inside the face at %1,%2").arg(x).arg(y)));
    // The rounded corners: the key fills a few pixels along each edge from the corner.
    QCOMPARE(QColor(item.pixel(1, 0)), key);
    QCOMPARE(QColor(item.pixel(0, 1)), key);
    QVERIFY(QColor(item.pixel(25, 0)) != key);
}

void TestAssetLists::mouseOverFacesDifferFromUpFaces_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("up");
    QTest::addColumn<int>("over");
    QTest::newRow("rocket") << "bmps" << 1 << 2;
    QTest::newRow("trophy") << "bmps" << 4 << 5;
    QTest::newRow("cup") << "bmps" << 7 << 8;
    QTest::newRow("tick") << "dlgs" << 3 << 4;
    QTest::newRow("cross") << "dlgs" << 5 << 6;
    QTest::newRow("German") << "dlgs" << 7 << 8;
    QTest::newRow("English") << "dlgs" << 9 << 10;
    for (int i = 0; i < 8; i += 2)
        QTest::addRow("opts %d", i > 2 ? i + 1 : i) << "opts" << (i > 2 ? i + 1 : i) << (i > 2 ? i + 2 : i + 1);
    for (int i = 0; i < 8; i += 2)
        QTest::addRow("btns %d", i) << "btns" << i << i + 1;
}

void TestAssetLists::mouseOverFacesDifferFromUpFaces()
{
    QFETCH(QString, list);
    QFETCH(int, up);
    QFETCH(int, over);
    const QImage a = ListNamed(list).Item(up);
    const QImage b = ListNamed(list).Item(over);
    int changed = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            changed += a.pixel(x, y) != b.pixel(x, y);
    // A livelier face: a noticeable part of the face changes, not a stray pixel.
    QVERIFY2(changed > 100, qPrintable(QStringLiteral("only %1 pixels differ").arg(changed)));
}

void TestAssetLists::cartoonHasFuchsiaAroundAndADrawingInside()
{
    const QImage& cartoon = ListNamed(QStringLiteral("dlgs")).Item(2);
    QSet<QRgb> colours;
    int fuchsia = 0;
    for (int y = 0; y < cartoon.height(); ++y)
        for (int x = 0; x < cartoon.width(); ++x) {
            const QRgb p = cartoon.pixel(x, y) | 0xff000000;
            colours.insert(p);
            fuchsia += p == Rgb(kFuchsia);
        }
    QVERIFY2(fuchsia > 300, "the picture stands on fuchsia");
    QVERIFY2(fuchsia < cartoon.width() * cartoon.height() / 2, "most of it is the drawing");
    QVERIFY2(colours.size() > 100, "a drawing, not a few flat colours");
}

void TestAssetLists::programIconOffersAllSizes()
{
    const QIcon icon = ProgramIcon();
    QVERIFY(!icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 32, 48, 256})
        QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
    const QImage small(QStringLiteral(":/assets/icon/icon-32.bmp"));
    QCOMPARE(small.size(), QSize(32, 32));
    QCOMPARE(small.format(), QImage::Format_Indexed8);
    // Symbol 1: the four quarters purple, green, red, lilac, clockwise from the top left.
    const QColor topLeft = small.pixelColor(8, 8), topRight = small.pixelColor(24, 8);
    const QColor bottomRight = small.pixelColor(24, 24), bottomLeft = small.pixelColor(8, 24);
    QVERIFY(topLeft.blue() > topLeft.green() && topLeft.red() > topLeft.green());
    QVERIFY(topRight.green() > topRight.red() && topRight.green() > topRight.blue());
    QVERIFY(bottomRight.red() > bottomRight.green() && bottomRight.red() > bottomRight.blue());
    QVERIFY(bottomLeft.blue() > bottomLeft.green() && bottomLeft.red() > bottomLeft.green());
}

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);  // the icon needs pixmaps
    TestAssetLists test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_assetlists.moc"
