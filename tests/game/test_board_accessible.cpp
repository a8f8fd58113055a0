// The main window as assistive technology finds it through Qt: a named
// frame, the board as one element that reads the game the window shows, the
// time bar as a progress value, and the tool strip's names after a language
// switch. (That all of it reaches a screen reader over the AT-SPI bus is
// tests/accessibility.)
#include <QAccessible>
#include <QtTest>
#include <cmath>

#include "FakeServices.h"
#include "game/mainform/BoardDescription.h"
#include "game/mainform/main.h"
#include "settings/Globals.h"

class BoardAccessibleTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeServices> services;
    std::unique_ptr<Tmainform> form;

    QAccessibleInterface* Board() { return QAccessible::queryAccessibleInterface(form->box); }

private slots:
    void init()
    {
        TIniCtrl().WriteInteger("common", "tongue", 0);
        Tongue = 0;
        services = std::make_unique<FakeServices>();
        form = std::make_unique<Tmainform>(*services, std::make_unique<UniformRandom>(3));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTRY_VERIFY(form->Flow().ClockRunning());
        form->Timer.stop();
    }
    void cleanup()
    {
        services->answers = {Answer::Yes};
        form->close();
        form.reset();
    }

    void theMainWindowIsANamedFrame()
    {
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form.get());
        QCOMPARE(window->role(), QAccessible::Window);
        QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Tangrix V2.1"));
    }

    // The element reads the window's own game, in the window's language, at
    // the moment it is asked.
    void theBoardReadsTheGameItShows()
    {
        QAccessibleInterface* board = Board();
        QCOMPARE(board->role(), QAccessible::Canvas);
        QCOMPARE(board->text(QAccessible::Name), QStringLiteral("Board"));
        QVERIFY(board->state().focusable);
        QCOMPARE(board->text(QAccessible::Description), DescribeBoard(form->Flow(), false));

        QTest::keyClick(form->box, Qt::Key_Space);
        QVERIFY(form->Game().InHand());
        QVERIFY(board->text(QAccessible::Description).startsWith("Tile in hand on column 4, row 4: "));

        Tongue = 1;
        form->ApplyLanguage();
        QCOMPARE(board->text(QAccessible::Name), QStringLiteral("Spielfeld"));
        QVERIFY(board->text(QAccessible::Description).startsWith("Stein in der Hand auf Spalte 4, Reihe 4: "));
    }

    void theTimeBarIsAProgressValueOfTheClock()
    {
        QAccessibleInterface* board = Board();
        QCOMPARE(board->childCount(), 1);
        QAccessibleInterface* bar = board->child(0);
        QCOMPARE(board->indexOfChild(bar), 0);
        QCOMPARE(bar->parent(), board);
        QCOMPARE(bar->role(), QAccessible::ProgressBar);
        QCOMPARE(bar->text(QAccessible::Name), QStringLiteral("Time left"));
        QAccessibleValueInterface* value = bar->valueInterface();
        QVERIFY(value);
        QCOMPARE(value->minimumValue().toInt(), 0);
        QCOMPARE(value->maximumValue().toInt(), 100);
        QCOMPARE(value->currentValue().toInt(), 100);
        for (int tick = 0; tick < 25; ++tick)
            form->TimerTimer();
        QCOMPARE(value->currentValue().toInt(), int(std::lround(form->Game().TimeLeft() * 100)));
        QVERIFY(value->currentValue().toInt() < 100);

        // Where the bar is drawn, on the screen: right of the board, below the discard box.
        const QRect onScreen = bar->rect();
        const QRect boardOnScreen = board->rect();
        QVERIFY2(boardOnScreen.contains(onScreen), qPrintable(QStringLiteral("%1,%2").arg(onScreen.x()).arg(onScreen.y())));
        const BoardGeometry& g = form->Painter().Geometry();
        QCOMPARE(onScreen.topLeft(), form->box->mapToGlobal(QPoint(g.PreviewLeft, g.TimeBarTop())));
        QCOMPARE(board->childAt(onScreen.center().x(), onScreen.center().y()), bar);

        Tongue = 1;
        form->ApplyLanguage();
        QCOMPARE(bar->text(QAccessible::Name), QStringLiteral("Restzeit"));
    }

    // A button's short name, and its hint as the description.
    void theToolStripIsNamedInTheChosenLanguage()
    {
        const QList<PictureButton*> buttons{form->StartBtn,  form->PauseBtn, form->HighScoreBtn, form->OptionBtn,
                                             form->InfoBtn,   form->RulesBtn, form->ExitBtn};
        const auto names = [&] {
            QStringList n;
            for (PictureButton* b : buttons)
                n << QAccessible::queryAccessibleInterface(b)->text(QAccessible::Name);
            return n;
        };
        QCOMPARE(names(), (QStringList{"New game", "Pause", "High scores", "Options", "About Tangrix", "Rules", "Quit"}));
        QCOMPARE(QAccessible::queryAccessibleInterface(form->ExitBtn)->text(QAccessible::Description),
                 QStringLiteral("I have enough!"));
        Tongue = 1;
        form->ApplyLanguage();
        QCOMPARE(names(), (QStringList{"Neues Spiel", "Pause", "Bestenliste", "Einstellungen", "Über Tangrix",
                                       "Spielregeln", "Beenden"}));
        QCOMPARE(QAccessible::queryAccessibleInterface(form->ExitBtn)->text(QAccessible::Description),
                 QStringLiteral("Ich hab genug!"));
    }
};

QTEST_MAIN(BoardAccessibleTest)
#include "test_board_accessible.moc"
