// The textured panel, the raised label, the transparent picture and the hint look.
#include "tests/ui/TestPictures.h"
#include "ui/toolkit/DialogPlacement.h"
#include "ui/toolkit/RaisedLabel.h"
#include "ui/toolkit/ShapeHint.h"
#include "ui/toolkit/TexturedPanel.h"
#include "ui/toolkit/TransparentImage.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>
#include <QFontInfo>
#include <QTest>
#include <QToolTip>

namespace {
// The box around every pixel of the colour, or an empty rectangle.
QRect BoundsOf(const QImage& image, QColor color)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == color)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// Exact colours are compared, so the test text is drawn without smoothing.
QFont PlainArial(int pixelSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

QImage Render(QWidget& widget, QColor background)
{
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(background);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}
} // namespace

class TestToolkitWidgets : public QObject {
    Q_OBJECT
private slots:
    void panelFaceIsRepeatedFromTopLeft()
    {
        // Smaller than the panel both ways, so the face repeats inside the frame.
        const QImage face = PatternFace(23, 17);
        TexturedPanel panel(face, nullptr);
        panel.resize(100, 60);
        const QImage shot = panel.grab().toImage();
        const int inside = TexturedPanel::FrameWidth;
        for (int y = inside; y < panel.height() - inside; ++y)
            for (int x = inside; x < panel.width() - inside; ++x)
                QCOMPARE(shot.pixel(x, y), face.pixel(x % face.width(), y % face.height()));
    }

    void panelFrameHasBevelsAroundBlackBorder()
    {
        TexturedPanel panel(ButtonFace(QColor(90, 90, 90)), nullptr);
        panel.resize(120, 80);
        const QImage shot = panel.grab().toImage();
        const int midX = 60, midY = 40;
        for (int d : {0, 1}) {  // outer bevel: lit top and left, shaded bottom and right
            QCOMPARE(shot.pixelColor(midX, d), TexturedPanel::BevelLight());
            QCOMPARE(shot.pixelColor(d, midY), TexturedPanel::BevelLight());
            QCOMPARE(shot.pixelColor(midX, 79 - d), TexturedPanel::BevelShadow());
            QCOMPARE(shot.pixelColor(119 - d, midY), TexturedPanel::BevelShadow());
        }
        for (int d : {2, 3, 4}) {  // the black border on all four sides
            QCOMPARE(shot.pixelColor(midX, d), QColor(Qt::black));
            QCOMPARE(shot.pixelColor(d, midY), QColor(Qt::black));
            QCOMPARE(shot.pixelColor(midX, 79 - d), QColor(Qt::black));
            QCOMPARE(shot.pixelColor(119 - d, midY), QColor(Qt::black));
        }
        for (int d : {5, 6}) {  // inner bevel
            QCOMPARE(shot.pixelColor(midX, d), TexturedPanel::BevelLight());
            QCOMPARE(shot.pixelColor(119 - d, midY), TexturedPanel::BevelShadow());
        }
        QCOMPARE(shot.pixelColor(midX, 7), QColor(90, 90, 90));
        QCOMPARE(panel.contentsRect(), QRect(7, 7, 106, 66));
    }

    void raisedLabelDrawsShadowDownRight()
    {
        RaisedLabel label;
        label.setFont(PlainArial(16));
        label.SetCaption(QStringLiteral("Tangrix"));
        label.resize(120, 40);
        const QImage shot = Render(label, QColor(0, 0, 255));
        const QRect text = BoundsOf(shot, Qt::white);
        const QRect shadow = BoundsOf(shot, Qt::black);
        QVERIFY(!text.isEmpty());
        QCOMPARE(shadow.bottomRight(), text.bottomRight() + QPoint(2, 2));

        label.SetDepth(0);
        QVERIFY(BoundsOf(Render(label, QColor(0, 0, 255)), Qt::black).isEmpty());
    }

    void turnedLabelReadsUpwardsFromBottomLeft()
    {
        RaisedLabel label;
        label.setFont(PlainArial(16));
        label.SetCaption(QStringLiteral("Version  V2.1"));
        label.SetTurned(true);
        label.resize(24, 200);
        const QImage shot = Render(label, QColor(0, 0, 255));
        const QRect text = BoundsOf(shot, Qt::white);
        QVERIFY(text.height() > 3 * text.width());  // runs up the label, not across
        QVERIFY(text.left() <= 3);                  // the text's top lies on the left edge
        QVERIFY(text.bottom() >= 200 - 8);          // and it starts at the bottom
        QVERIFY(text.top() > 50);                   // leaving the rest of the label empty
        QCOMPARE(label.sizeHint().height() > label.sizeHint().width(), true);
    }

    void labelAndPictureLeaveTheirBackgroundAlone()
    {
        RaisedLabel label;
        label.resize(40, 20);
        QCOMPARE(Render(label, QColor(1, 2, 3)).pixelColor(0, 0), QColor(1, 2, 3));

        TransparentImage logo;
        logo.resize(50, 50);
        logo.SetPicture(ButtonFace(QColor(0, 0, 200), QColor(255, 0, 255)), QColor(255, 0, 255));
        const QImage shot = Render(logo, QColor(1, 2, 3));
        QCOMPARE(shot.pixelColor(0, 0), QColor(1, 2, 3));
        QCOMPARE(shot.pixelColor(25, 25), QColor(0, 0, 200));
    }

    void dialogPlacement_data()
    {
        QTest::addColumn<QRect>("mainOuter");
        QTest::addColumn<int>("clientHeight");
        QTest::addColumn<QSize>("dialog");
        QTest::addColumn<QPoint>("expected");
        // Left 100 + (709 - 319) / 2 = 295; top 50 + 492 - (462 + 158) / 2 = 232:
        // centred on the client area below a 26 px caption.
        QTest::newRow("message dialog") << QRect(100, 50, 709, 492) << 462 << QSize(319, 158) << QPoint(295, 232);
        // Halving toward zero: (200 - 319) / 2 = -59, not -60; top 141 - (75 + 158) / 2 = 25.
        QTest::newRow("main window smaller") << QRect(300, 40, 200, 101) << 75 << QSize(319, 158) << QPoint(241, 25);
        QTest::newRow("odd sizes") << QRect(-30, 0, 640, 480) << 455 << QSize(497, 416) << QPoint(41, 45);
    }
    void dialogPlacement()
    {
        QFETCH(QRect, mainOuter);
        QFETCH(int, clientHeight);
        QFETCH(QSize, dialog);
        QFETCH(QPoint, expected);
        QCOMPARE(PlaceOverMainWindow(mainOuter, clientHeight, dialog), expected);
    }

    // A dialog whose size comes from its layout, placed before its first
    // showing: from the size it will have, never from none; and placed anew
    // when its size changes before it is on the screen.
    void dialogPlacedFromTheSizeItShowsWith()
    {
        QWidget mainWindow;
        mainWindow.setGeometry(200, 150, 700, 460);
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));

        QDialog dialog(&mainWindow, Qt::Dialog | Qt::FramelessWindowHint);
        auto* layout = new QVBoxLayout(&dialog);
        auto* text = new QLabel(QStringLiteral("A message of some length"));
        text->setMinimumSize(300, 120);
        layout->addWidget(text);
        CentreDialog(dialog, &mainWindow, DialogSpot::OverMainWindow);
        const QSize laidOut = dialog.size();
        QVERIFY2(laidOut.width() >= 300 && laidOut.height() >= 120, qPrintable(QStringLiteral("%1x%2").arg(laidOut.width()).arg(laidOut.height())));
        QCOMPARE(dialog.pos(), PlaceOverMainWindow(mainWindow, laidOut));

        KeepPlacementKnown(dialog);
        text->setMinimumSize(420, 200);
        dialog.adjustSize();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.pos(), PlaceOverMainWindow(mainWindow, dialog.size()));
        QCOMPARE(dialog.windowHandle()->framePosition(), dialog.pos());
    }

    void hintsHaveArialAndBlackBorder()
    {
        auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
        ShapeHint::Install(*app);
        ShapeHint::Install(*app);
        QCOMPARE(app->styleSheet().count(QStringLiteral("QToolTip")), 1);
        QCOMPARE(QToolTip::font().pixelSize(), 13);
        QCOMPARE(QFontInfo(QToolTip::font()).family(), QStringLiteral("Liberation Sans"));

        QWidget owner;
        owner.resize(200, 100);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        QToolTip::showText(owner.mapToGlobal(QPoint(20, 20)), QStringLiteral("Hinweis"), &owner);
        QWidget* tip = nullptr;
        QTRY_VERIFY((tip = [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->inherits("QTipLabel") && w->isVisible())
                    return w;
            return static_cast<QWidget*>(nullptr);
        }()));
        const QImage shot = tip->grab().toImage();
        QCOMPARE(shot.pixelColor(shot.width() / 2, 0), QColor(Qt::black));
        QCOMPARE(shot.pixelColor(0, shot.height() / 2), QColor(Qt::black));
        QCOMPARE(shot.pixelColor(1, 1), QToolTip::palette().color(QPalette::ToolTipBase));
        QToolTip::hideText();
    }
};

QTEST_MAIN(TestToolkitWidgets)
#include "test_toolkitwidgets.moc"
