// The standard error box is the child of the window the player is dealing
// with, so that the window system keeps it over that window: the open modal
// dialog, else the active window, else the main window when it is shown.
#include "tests/dialogs/ModalAnswer.h"
#include "ui/StandardErrorBox.h"

#include <QDialog>
#include <QMessageBox>
#include <QTest>

namespace {
// Shows the box and gives the window it belongs to.
QWidget* BoxParent()
{
    QWidget* parent = nullptr;
    ModalAnswer answer([&](QWidget* box) {
        if (qobject_cast<QMessageBox*>(box))
            parent = box->parentWidget();
    });
    ShowStandardError(QStringLiteral("The store cannot be written."));
    if (!answer.Seen())
        qWarning("no error box was shown");
    return parent;
}
} // namespace

class TestErrorBox : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { SetStandardErrorMainWindow(nullptr); }

    // An error of the options (the music cannot be opened) goes over the options.
    void overTheOpenDialog()
    {
        QWidget main;
        main.show();
        SetStandardErrorMainWindow(&main);
        QDialog options(&main);
        QWidget* parent = nullptr;
        ModalAnswer whileOpen([&](QWidget*) { parent = BoxParent(); });
        options.exec();
        QVERIFY(whileOpen.Seen());
        QCOMPARE(parent, &options);
    }

    // A compositor may have activated no window of the game yet.
    void overTheMainWindowWhenNoneIsActive()
    {
        QWidget main;
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        SetStandardErrorMainWindow(&main);
        QApplication::setActiveWindow(nullptr);
        QVERIFY(!QApplication::activeWindow());
        QCOMPARE(BoxParent(), &main);
    }

    // Before the main window is shown (an error while the settings are read
    // at start-up) there is nothing to be over.
    void aloneBeforeTheMainWindowIsShown()
    {
        QWidget main;
        SetStandardErrorMainWindow(&main);
        QCOMPARE(BoxParent(), nullptr);
    }
};

QTEST_MAIN(TestErrorBox)
#include "test_errorbox.moc"
