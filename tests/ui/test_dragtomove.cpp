// A frameless window moved by a drag on its background, and only there. The
// offscreen platform has no window system that could take the move over, so
// the window follows the pointer itself, as on an X server without a window
// manager.
#include "ui/toolkit/DragToMove.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <QWindow>

class TestDragToMove : public QObject {
    Q_OBJECT
private slots:
    void movesOnlyFromTheBackground_data()
    {
        QTest::addColumn<QString>("target"); // object name; empty for the window itself
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("moves");
        QTest::newRow("the window's own background") << QString() << Qt::LeftButton << true;
        QTest::newRow("a panel") << QStringLiteral("panel") << Qt::LeftButton << true;
        QTest::newRow("a label on the panel") << QStringLiteral("label") << Qt::LeftButton << true;
        QTest::newRow("the right button") << QStringLiteral("panel") << Qt::RightButton << false;
        QTest::newRow("a button") << QStringLiteral("button") << Qt::LeftButton << false;
        QTest::newRow("a disabled button") << QStringLiteral("disabled") << Qt::LeftButton << false;
        QTest::newRow("an edit box") << QStringLiteral("edit") << Qt::LeftButton << false;
    }

    void movesOnlyFromTheBackground()
    {
        QFETCH(QString, target);
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, moves);

        QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
        window.setGeometry(100, 80, 320, 160);
        auto* panel = new QWidget(&window);
        panel->setObjectName(QStringLiteral("panel"));
        panel->setGeometry(10, 10, 200, 140);
        auto* label = new QLabel(QStringLiteral("Text"), panel);
        label->setObjectName(QStringLiteral("label"));
        label->setGeometry(10, 10, 100, 20);
        auto* edit = new QLineEdit(panel);
        edit->setObjectName(QStringLiteral("edit"));
        edit->setGeometry(10, 110, 100, 20);
        auto* pressable = new QPushButton(QStringLiteral("OK"), &window);
        pressable->setObjectName(QStringLiteral("button"));
        pressable->setGeometry(220, 10, 90, 40);
        auto* disabled = new QPushButton(QStringLiteral("Off"), &window);
        disabled->setObjectName(QStringLiteral("disabled"));
        disabled->setGeometry(220, 60, 90, 40);
        disabled->setEnabled(false);
        new DragToMove(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QWidget* on = target.isEmpty() ? &window : window.findChild<QWidget*>(target);
        QVERIFY(on);
        // Where the window shows nothing else, or the middle of the part.
        const QPoint at = target.isEmpty() ? QPoint(5, 150) : on->mapTo(&window, on->rect().center());
        const QPoint start = window.pos();
        const QPoint way(30, -20);
        QWindow* handle = window.windowHandle();
        const QPoint pointer = window.mapToGlobal(at) + way;
        QTest::mousePress(handle, button, {}, at);
        QTest::mouseMove(handle, at + way);
        // Let go where the pointer is, over the window as it stands now.
        QTest::mouseRelease(handle, button, {}, window.mapFromGlobal(pointer));
        QCOMPARE(window.pos(), moves ? start + way : start);
    }
};

QTEST_MAIN(TestDragToMove)
#include "test_dragtomove.moc"
