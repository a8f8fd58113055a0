// The picture button: which face it shows, how it is drawn over its parent,
// and how it answers the mouse and the keyboard.
#include "tests/ui/TestPictures.h"
#include "ui/toolkit/PictureButton.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

namespace {
const QColor UpColor(0, 0, 200);
const QColor OverColor(0, 200, 0);
const QColor DisabledColor(128, 128, 128);
const QColor BehindColor(200, 0, 0);

// A window with a red background and one button at 10,10.
struct ButtonFixture {
    QWidget window;
    PictureButton* button;

    explicit ButtonFixture(QColor corner = Qt::white)
    {
        window.resize(120, 80);
        window.setAutoFillBackground(true);
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, BehindColor);
        window.setPalette(palette);
        button = new PictureButton(&window);
        button->move(10, 10);
        button->SetTransparentColor(corner);
        button->SetPictures(ButtonFace(UpColor, corner), ButtonFace(OverColor, corner),
                            ButtonFace(DisabledColor, corner));
        // The mouse stays where the previous test left it: start away from the window.
        QCursor::setPos(700, 500);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!button->MouseOver());
    }
    QColor Centre() const { return button->grab().toImage().pixelColor(25, 25); }
};

// Notes the keys that reach a widget.
class KeyRecorder : public QObject {
public:
    KeyRecorder(QWidget* widget, QList<int>& keys) : keys_(keys) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            keys_ << static_cast<QKeyEvent*>(event)->key();
        return false;
    }

private:
    QList<int>& keys_;
};
} // namespace

class TestPictureButton : public QObject {
    Q_OBJECT
private slots:
    void isFiftySquare()
    {
        PictureButton button;
        QCOMPARE(button.size(), QSize(50, 50));
    }

    void mouseOverShowsOverPictureAndLeavingShowsUp()
    {
        ButtonFixture f;
        QCOMPARE(f.Centre(), UpColor);
        QTest::mouseMove(&f.window, QPoint(35, 35));
        QTRY_VERIFY(f.button->MouseOver());
        QCOMPARE(f.button->ShownFace(), PictureButton::Face::Over);
        QCOMPARE(f.Centre(), OverColor);
        QTest::mouseMove(&f.window, QPoint(100, 70));
        QTRY_VERIFY(!f.button->MouseOver());
        QCOMPARE(f.Centre(), UpColor);
    }

    void hiddenUnderTheMouseStartsAgainWithUpPicture()
    {
        // A dialog closed by a click on its button is hidden with the mouse on it.
        ButtonFixture f;
        QTest::mouseMove(&f.window, QPoint(35, 35));
        QTRY_VERIFY(f.button->MouseOver());
        f.window.hide();
        QCursor::setPos(700, 500);
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        QCOMPARE(f.Centre(), UpColor);
    }

    void pressedButtonShowsUpPicture()
    {
        ButtonFixture f;
        QTest::mouseMove(&f.window, QPoint(35, 35));
        QTRY_VERIFY(f.button->MouseOver());
        QTest::mousePress(f.button, Qt::LeftButton, {}, QPoint(25, 25));
        QVERIFY(f.button->isDown());
        QCOMPARE(f.Centre(), UpColor);
        QTest::mouseRelease(f.button, Qt::LeftButton, {}, QPoint(25, 25));
    }

    void disabledShowsDisabledPictureAndIgnoresClicks()
    {
        ButtonFixture f;
        QSignalSpy clicks(f.button, &QAbstractButton::clicked);
        QTest::mouseMove(&f.window, QPoint(35, 35));
        QTRY_VERIFY(f.button->MouseOver());
        f.button->setEnabled(false);
        QCOMPARE(f.Centre(), DisabledColor);
        QTest::mouseClick(f.button, Qt::LeftButton, {}, QPoint(25, 25));
        f.button->setFocus();
        QTest::keyClick(f.button, Qt::Key_Space);
        QCOMPARE(clicks.count(), 0);

        // Enabled again under the resting mouse, it shows the mouse-over face.
        f.button->setEnabled(true);
        QCOMPARE(f.Centre(), OverColor);
        QTest::mouseClick(f.button, Qt::LeftButton, {}, QPoint(25, 25));
        QCOMPARE(clicks.count(), 1);
    }

    void missingPicturesFallBackToUp()
    {
        PictureButton button;
        button.SetPictures(ButtonFace(UpColor), QImage());
        button.setEnabled(false);
        QCOMPARE(button.grab().toImage().pixelColor(25, 25), UpColor);
    }

    void transparentColourShowsWhatLiesBehind_data()
    {
        QTest::addColumn<QColor>("corner");
        QTest::newRow("white, the default") << QColor(Qt::white);
        QTest::newRow("blue, German flag face") << QColor(0, 0, 255);
        QTest::newRow("green, English flag face") << QColor(0, 255, 0);
    }
    void transparentColourShowsWhatLiesBehind()
    {
        QFETCH(QColor, corner);
        ButtonFixture f(corner);
        const QImage window = f.window.grab().toImage();
        QCOMPARE(window.pixelColor(10, 10), BehindColor);  // top-left corner of the button
        QCOMPARE(window.pixelColor(59, 59), BehindColor);  // bottom-right corner
        QCOMPARE(window.pixelColor(35, 35), UpColor);
    }

    void otherColoursThanTheTransparentOneAreDrawn()
    {
        // White corners on a face whose transparent colour is blue stay white.
        ButtonFixture f(QColor(0, 0, 255));
        f.button->SetPictures(ButtonFace(UpColor, Qt::white), QImage());
        QCOMPARE(f.window.grab().toImage().pixelColor(10, 10), QColor(Qt::white));
    }

    // Tab gives the focus; then Space presses the button, while Enter is
    // left to the window (a dialog closes with it, whatever has the focus).
    void keysOnATabFocusedButton_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("clicks");
        QTest::newRow("space") << int(Qt::Key_Space) << true;
        QTest::newRow("return") << int(Qt::Key_Return) << false;
        QTest::newRow("keypad enter") << int(Qt::Key_Enter) << false;
    }
    void keysOnATabFocusedButton()
    {
        QFETCH(int, key);
        QFETCH(bool, clicks);
        ButtonFixture f;
        auto* second = new PictureButton(&f.window);
        second->move(62, 10);
        second->show();
        QSignalSpy clicked(second, &QAbstractButton::clicked);
        QList<int> windowKeys;
        KeyRecorder recorder(&f.window, windowKeys);
        f.button->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(f.button->hasFocus());
        QTest::keyClick(f.button, Qt::Key_Tab);
        QTRY_VERIFY(second->hasFocus());
        const Qt::KeyboardModifiers modifiers = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        QTest::keyClick(second, Qt::Key(key), modifiers);
        QCOMPARE(clicked.count(), clicks ? 1 : 0);
        QCOMPARE(windowKeys.contains(key), !clicks);
    }

    // A click leaves the keyboard focus on no button: not on the clicked
    // one, nor on one that had it by Tab before. The next Space presses nothing.
    void clickLeavesNoButtonFocused()
    {
        ButtonFixture f;
        auto* second = new PictureButton(&f.window);
        second->move(62, 10);
        second->show();
        QSignalSpy firstClicks(f.button, &QAbstractButton::clicked);
        QSignalSpy secondClicks(second, &QAbstractButton::clicked);
        f.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.window));

        QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(25, 25));
        QVERIFY(!second->hasFocus());

        f.button->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(f.button->hasFocus());
        QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(25, 25));
        QVERIFY(!f.button->hasFocus() && !second->hasFocus());
        QCOMPARE(secondClicks.count(), 2);

        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused ? focused : &f.window, Qt::Key_Space);
        QCOMPARE(firstClicks.count(), 0);
        QCOMPARE(secondClicks.count(), 2);
    }

    void focusIsShownOnTheFace()
    {
        ButtonFixture f;
        f.button->setFocus();
        QTRY_VERIFY(f.button->hasFocus());
        const QImage focused = f.button->grab().toImage();
        f.button->clearFocus();
        QTRY_VERIFY(!f.button->hasFocus());
        QVERIFY(f.button->grab().toImage() != focused);
        QCOMPARE(f.button->grab().toImage().pixelColor(25, 25), UpColor);
    }

    void hintIsToolTipAndAccessibleName()
    {
        PictureButton button;
        button.SetHint(QStringLiteral("Spiel starten"));
        QCOMPARE(button.toolTip(), QStringLiteral("Spiel starten"));
        QCOMPARE(button.accessibleName(), QStringLiteral("Spiel starten"));
        button.SetShowHint(false);
        QVERIFY(button.toolTip().isEmpty());
        QCOMPARE(button.accessibleName(), QStringLiteral("Spiel starten"));
        button.SetShowHint(true);
        QCOMPARE(button.toolTip(), QStringLiteral("Spiel starten"));
        // A name of its own outlasts a later hint.
        button.SetName(QStringLiteral("Neues Spiel"));
        button.SetHint(QStringLiteral("Noch einmal"));
        QCOMPARE(button.accessibleName(), QStringLiteral("Neues Spiel"));
        QCOMPARE(button.toolTip(), QStringLiteral("Noch einmal"));
    }

    // A screen reader hears a plain button or a switch, and pressing either
    // is a click, which the owner answers.
    void screenReadersPressButtonsAndSwitches_data()
    {
        QTest::addColumn<bool>("isSwitch");
        QTest::newRow("button") << false;
        QTest::newRow("switch") << true;
    }
    void screenReadersPressButtonsAndSwitches()
    {
        QFETCH(bool, isSwitch);
        ButtonFixture f;
        if (isSwitch)
            f.button->SetSwitchState(true);
        QAccessibleInterface* button = QAccessible::queryAccessibleInterface(f.button);
        QCOMPARE(button->role(), isSwitch ? QAccessible::CheckBox : QAccessible::Button);
        QCOMPARE(bool(button->state().checkable), isSwitch);
        QCOMPARE(bool(button->state().checked), isSwitch);
        QVERIFY(button->state().focusable);
        if (isSwitch) {
            f.button->SetSwitchState(false);
            QVERIFY(!button->state().checked);
        }
        QSignalSpy clicks(f.button, &QAbstractButton::clicked);
        QAccessibleActionInterface* actions = button->actionInterface();
        const QString action = isSwitch ? QAccessibleActionInterface::toggleAction()
                                        : QAccessibleActionInterface::pressAction();
        QCOMPARE(actions->actionNames().first(), action);
        actions->doAction(action);
        QCOMPARE(clicks.count(), 1);
        f.button->setEnabled(false);
        QVERIFY(!actions->actionNames().contains(action));
        actions->doAction(action);
        QCOMPARE(clicks.count(), 1);
    }
};

QTEST_MAIN(TestPictureButton)
#include "test_picturebutton.moc"
