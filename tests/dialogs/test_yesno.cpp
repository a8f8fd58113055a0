// The message dialog: buttons per message, answer keys, languages, placement,
// and the guard against a second modal showing.
#include "settings/Globals.h"
#include "tests/dialogs/ModalAnswer.h"
#include "tests/dialogs/DialogTestSetup.h"
#include "ui/YesNo.h"
#include "ui/toolkit/DialogPlacement.h"
#include "ui/toolkit/PictureButton.h"

#include <QAccessible>
#include <QLabel>
#include <QTest>

namespace {
struct Seen {
    bool noVisible = false;
    bool yesVisible = false;
    QString text;
    QPoint noAt, yesAt;
};

// Shows message n, notes what the open dialog shows, answers with `answer`.
Seen ShowAndAnswer(TYesNoDlg& dlg, quint32 n, std::function<void(TYesNoDlg&)> answer)
{
    Seen seen;
    ModalAnswer modal([&](QWidget* w) {
        if (w != &dlg)
            return;
        seen.noVisible = dlg.NoBtn->isVisible();
        seen.yesVisible = dlg.YesBtn->isVisible();
        seen.text = dlg.txt->text();
        seen.noAt = dlg.NoBtn->pos();
        seen.yesAt = dlg.YesBtn->pos();
        answer(dlg);
    });
    dlg.ShowMsg(n);
    if (!modal.Seen())
        qWarning("message %u was not shown modally", n);
    return seen;
}

void ClickYes(TYesNoDlg& dlg) { QTest::mouseClick(dlg.YesBtn, Qt::LeftButton); }
void ClickNo(TYesNoDlg& dlg) { QTest::mouseClick(dlg.NoBtn, Qt::LeftButton); }
} // namespace

class TestYesNo : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { MakeDialogResources(); }
    void init() { Tongue = 0; }

    void buttonsPerMessage_data()
    {
        QTest::addColumn<quint32>("n");
        QTest::addColumn<bool>("question");
        const bool questions[] = {false, true, true, true, false, false, false, false, false, false, false, false, true, true};
        for (quint32 n = 1; n <= 14; ++n) {
            if (n == 10 || n == 11)
                continue;  // no buttons of their own: see customTextKeepsPreviousButtons
            QTest::addRow("message %u", n) << n << questions[n - 1];
        }
    }
    void buttonsPerMessage()
    {
        QFETCH(quint32, n);
        QFETCH(bool, question);
        TYesNoDlg dlg;
        const Seen seen = ShowAndAnswer(dlg, n, ClickYes);
        QCOMPARE(seen.noVisible, question);
        QVERIFY(seen.yesVisible);
        QCOMPARE(dlg.ButtonMode, question ? 2 : 1);
        QCOMPARE(dlg.MsgNo, n);
        QCOMPARE(dlg.ModalResult(), 6);
        // Hidden or not, the No button keeps its place and the Yes button stays put.
        QCOMPARE(seen.noAt, QPoint(204, 100));
        QCOMPARE(seen.yesAt, QPoint(260, 100));
    }

    void clickingNoAnswersSeven()
    {
        TYesNoDlg dlg;
        ShowAndAnswer(dlg, 3, ClickNo);
        QCOMPARE(dlg.ModalResult(), 7);
        ShowAndAnswer(dlg, 4, ClickYes);
        QCOMPARE(dlg.ModalResult(), 6);
    }

    void noButtonFollowsEachMessage()
    {
        TYesNoDlg dlg;
        QVERIFY(ShowAndAnswer(dlg, 4, ClickYes).noVisible);
        QVERIFY(!ShowAndAnswer(dlg, 7, ClickYes).noVisible);
        QVERIFY(ShowAndAnswer(dlg, 4, ClickNo).noVisible);
        QVERIFY(!ShowAndAnswer(dlg, 12, ClickYes).noVisible);
    }

    void customTextKeepsPreviousButtons()
    {
        TYesNoDlg dlg;
        dlg.CustomText = QStringLiteral("Eigener Text\rzweite Zeile");
        ShowAndAnswer(dlg, 3, ClickYes);
        Seen seen = ShowAndAnswer(dlg, 10, ClickYes);
        QVERIFY(seen.noVisible);
        QCOMPARE(seen.text, QStringLiteral("Eigener Text\nzweite Zeile"));
        ShowAndAnswer(dlg, 7, ClickYes);
        seen = ShowAndAnswer(dlg, 11, ClickYes);
        QVERIFY(!seen.noVisible);
        QCOMPARE(seen.text, QStringLiteral("Eigener Text\nzweite Zeile"));
    }

    void unknownNumberKeepsTextAndButtons()
    {
        TYesNoDlg dlg;
        ShowAndAnswer(dlg, 4, ClickYes);
        const Seen seen = ShowAndAnswer(dlg, 15, ClickYes);
        QVERIFY(seen.noVisible);
        QCOMPARE(seen.text, QStringLiteral("Do you really want to give up the game?"));
        QCOMPARE(dlg.MsgNo, 15u);
    }

    void keys_data()
    {
        QTest::addColumn<quint32>("n");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("result");
        for (quint32 n : {12u, 4u}) {  // one button, two buttons
            QTest::addRow("%u Enter", n) << n << int(Qt::Key_Return) << QStringLiteral("\r") << 6;
            QTest::addRow("%u keypad Enter", n) << n << int(Qt::Key_Enter) << QStringLiteral("\r") << 6;
            QTest::addRow("%u J", n) << n << int(Qt::Key_J) << QStringLiteral("J") << 6;
            QTest::addRow("%u j", n) << n << int(Qt::Key_J) << QStringLiteral("j") << 6;
            QTest::addRow("%u Y", n) << n << int(Qt::Key_Y) << QStringLiteral("Y") << 6;
            QTest::addRow("%u y", n) << n << int(Qt::Key_Y) << QStringLiteral("y") << 6;
            QTest::addRow("%u Escape", n) << n << int(Qt::Key_Escape) << QStringLiteral("\x1b") << 7;
            QTest::addRow("%u N", n) << n << int(Qt::Key_N) << QStringLiteral("N") << 7;
            QTest::addRow("%u n", n) << n << int(Qt::Key_N) << QStringLiteral("n") << 7;
        }
    }
    void keys()
    {
        QFETCH(quint32, n);
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(int, result);
        TYesNoDlg dlg;
        bool closed = false;
        ShowAndAnswer(dlg, n, [&](TYesNoDlg& d) {
            // To the focused button, as a real key press goes: the answer keys
            // must win over the button's own Enter.
            QWidget* target = d.focusWidget() ? d.focusWidget() : &d;
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
            QApplication::sendEvent(target, &press);
            closed = !d.isVisible();
        });
        QVERIFY(closed);
        QCOMPARE(dlg.ModalResult(), result);
    }

    void enterOnFocusedNoButtonStillAnswersYes()
    {
        TYesNoDlg dlg;
        ShowAndAnswer(dlg, 3, [](TYesNoDlg& d) {
            d.NoBtn->setFocus();
            QTest::keyClick(d.NoBtn, Qt::Key_Return);
        });
        QCOMPARE(dlg.ModalResult(), 6);
    }

    // Space above all: on a focused button it would be a click.
    void otherKeysAreIgnoredWhateverHasTheFocus_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::newRow("as shown") << QString();
        QTest::newRow("Yes button") << QStringLiteral("YesBtn");
        QTest::newRow("No button") << QStringLiteral("NoBtn");
    }
    void otherKeysAreIgnoredWhateverHasTheFocus()
    {
        QFETCH(QString, focus);
        TYesNoDlg dlg;
        bool stayedOpen = false;
        bool buttonFocusedAtFirst = true;
        ShowAndAnswer(dlg, 4, [&](TYesNoDlg& d) {
            buttonFocusedAtFirst = d.YesBtn->hasFocus() || d.NoBtn->hasFocus();
            if (!focus.isEmpty())
                d.findChild<QWidget*>(focus)->setFocus(Qt::TabFocusReason);
            const auto press = [&](auto key) {
                QWidget* target = d.focusWidget() ? d.focusWidget() : &d;
                QTest::keyClick(target, key);
            };
            for (char c : {'x', 'a', '1', 'z', ' '})
                press(c);
            for (Qt::Key key : {Qt::Key_Space, Qt::Key_F1, Qt::Key_Left, Qt::Key_Tab, Qt::Key_Space})
                press(key);
            stayedOpen = d.isVisible();
            press('j');
        });
        QVERIFY(!buttonFocusedAtFirst);
        QVERIFY(stayedOpen);
        QCOMPARE(dlg.ModalResult(), 6);
    }

    // Tab reaches both buttons (and Space on them still answers nothing); a
    // screen reader presses them by their action.
    void buttonsTakeTheFocusByTabAndAScreenReadersPress()
    {
        TYesNoDlg dlg;
        QWidget* focusAfterTab = nullptr;
        QWidget* focusAfterSecondTab = nullptr;
        bool openAfterSpace = false;
        ShowAndAnswer(dlg, 4, [&](TYesNoDlg& d) {
            QTest::keyClick(&d, Qt::Key_Tab);
            focusAfterTab = d.focusWidget();
            QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
            focusAfterSecondTab = d.focusWidget();
            QTest::keyClick(d.focusWidget(), Qt::Key_Space);
            openAfterSpace = d.isVisible();
            QAccessibleInterface* no = QAccessible::queryAccessibleInterface(d.NoBtn);
            no->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        });
        QCOMPARE(focusAfterTab, dlg.NoBtn);
        QCOMPARE(focusAfterSecondTab, dlg.YesBtn);
        QVERIFY(openAfterSpace);
        QCOMPARE(dlg.ModalResult(), 7);
    }

    // The window is named by its message; the buttons by what they answer.
    void namedForScreenReaders_data()
    {
        QTest::addColumn<int>("tongue");
        QTest::addColumn<quint32>("n");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("yes");
        QTest::addColumn<QString>("no");
        QTest::newRow("question, German") << 1 << 4u << "Willst Du die Partie wirklich aufgeben?" << "Ja" << "Nein";
        QTest::newRow("question, English") << 0 << 3u << "Do you really want to go?" << "Yes" << "No";
        QTest::newRow("two lines, one button") << 0 << 12u << "Game paused. Continue?" << "OK" << "No";
        QTest::newRow("one button, German") << 1 << 8u << "Auf zur nächsten Stufe!" << "OK" << "Nein";
    }
    void namedForScreenReaders()
    {
        QFETCH(int, tongue);
        QFETCH(quint32, n);
        QFETCH(QString, name);
        QFETCH(QString, yes);
        QFETCH(QString, no);
        Tongue = tongue;
        TYesNoDlg dlg;
        QStringList seen;
        ShowAndAnswer(dlg, n, [&](TYesNoDlg& d) {
            for (QObject* o : {static_cast<QObject*>(&d), static_cast<QObject*>(d.YesBtn), static_cast<QObject*>(d.NoBtn)})
                seen << QAccessible::queryAccessibleInterface(o)->text(QAccessible::Name);
            ClickYes(d);
        });
        QCOMPARE(seen, (QStringList{name, yes, no}));
    }

    void closedByWindowSystemCountsAsNo()
    {
        TYesNoDlg dlg;
        ShowAndAnswer(dlg, 3, [](TYesNoDlg& d) { d.close(); });
        QCOMPARE(dlg.ModalResult(), 7);
    }

    void languages_data()
    {
        QTest::addColumn<int>("tongue");
        QTest::addColumn<quint32>("n");
        QTest::addColumn<QString>("text");
        QTest::newRow("8 German") << 1 << 8u << QStringLiteral("Auf zur nächsten Stufe!");
        QTest::newRow("8 English") << 0 << 8u << QStringLiteral("The next level is waiting!");
        QTest::newRow("8 not chosen") << -1 << 8u << QStringLiteral("The next level is waiting!");
        QTest::newRow("8 odd value") << 5 << 8u << QStringLiteral("The next level is waiting!");
        QTest::newRow("3 German") << 1 << 3u << QStringLiteral("Willst Du wirklich schon aufhören?");
        QTest::newRow("6 German") << 1 << 6u << QStringLiteral("Gratulation, Du hast alle Stufen gelöst.");
        QTest::newRow("5 English") << 0 << 5u << QStringLiteral("Sorry, you weren't quick enough!");
        QTest::newRow("12 German") << 1 << 12u << QStringLiteral("Spiel angehalten.\nWeitermachen?");
        QTest::newRow("12 English") << 0 << 12u << QStringLiteral("Game paused.\nContinue?");
        QTest::newRow("14 German") << 1 << 14u
                                   << QStringLiteral("Hurra, geschafft!\nMit der nächste Stufe weitermachen?");
    }
    void languages()
    {
        QFETCH(int, tongue);
        QFETCH(quint32, n);
        QFETCH(QString, text);
        Tongue = tongue;
        TYesNoDlg dlg;
        QCOMPARE(ShowAndAnswer(dlg, n, ClickYes).text, text);
    }

    void languageIsLookedUpAtEachShowing()
    {
        TYesNoDlg dlg;
        Tongue = 1;
        QCOMPARE(ShowAndAnswer(dlg, 7, ClickYes).text, QStringLiteral("Das Spiel ist leider aus."));
        Tongue = 0;
        QCOMPARE(ShowAndAnswer(dlg, 7, ClickYes).text, QStringLiteral("Sorry, game over!"));
    }

    void twoLineMessageShowsTwoCentredLines()
    {
        TYesNoDlg dlg;
        QImage shot;
        ShowAndAnswer(dlg, 12, [&](TYesNoDlg& d) {
            shot = d.txt->grab().toImage();
            ClickYes(d);
        });
        // Rows and columns with white text pixels: two bands of rows, each
        // band's text centred across the label.
        QList<QPair<int, int>> bands;  // first and last row of each band
        for (int y = 0; y < shot.height(); ++y) {
            bool white = false;
            for (int x = 0; x < shot.width() && !white; ++x)
                white = shot.pixelColor(x, y) == QColor(Qt::white);
            if (!white)
                continue;
            if (!bands.isEmpty() && bands.last().second == y - 1)
                bands.last().second = y;
            else
                bands.append({y, y});
        }
        QCOMPARE(bands.size(), 2);
        for (const auto& band : bands) {
            int left = shot.width(), right = -1;
            for (int y = band.first; y <= band.second; ++y)
                for (int x = 0; x < shot.width(); ++x)
                    if (shot.pixelColor(x, y) == QColor(Qt::white)) {
                        left = qMin(left, x);
                        right = qMax(right, x);
                    }
            QVERIFY2(qAbs(left - (shot.width() - 1 - right)) <= 3, qPrintable(QStringLiteral("%1..%2").arg(left).arg(right)));
        }
        const int top = bands.first().first, bottom = shot.height() - 1 - bands.last().second;
        QVERIFY(qAbs(top - bottom) <= 4);
    }

    void nestedShowChangesNothing()
    {
        TYesNoDlg dlg;
        bool nestedShown = true;
        Seen during;
        ShowAndAnswer(dlg, 4, [&](TYesNoDlg& d) {
            QVERIFY(d.IsShowing());
            nestedShown = d.ShowMsg(7);  // a time-out while the close question is open
            during.text = d.txt->text();
            during.noVisible = d.NoBtn->isVisible();
            ClickYes(d);
        });
        QVERIFY(!nestedShown);
        QCOMPARE(dlg.MsgNo, 4u);
        QCOMPARE(dlg.ButtonMode, 2);
        QCOMPARE(during.text, QStringLiteral("Do you really want to give up the game?"));
        QVERIFY(during.noVisible);
        QCOMPARE(dlg.ModalResult(), 6);
        QVERIFY(!dlg.IsShowing());
    }

    void placedOverTheMainWindow()
    {
        QWidget mainWindow;
        mainWindow.setGeometry(100, 50, 701, 462);
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        TYesNoDlg dlg(&mainWindow);
        QPoint at;
        ShowAndAnswer(dlg, 8, [&](TYesNoDlg& d) {
            at = d.frameGeometry().topLeft();
            ClickYes(d);
        });
        QCOMPARE(at, PlaceOverMainWindow(mainWindow, QSize(319, 158)));

        // It follows the main window to wherever it is at the next showing.
        mainWindow.move(20, 10);
        ShowAndAnswer(dlg, 8, [&](TYesNoDlg& d) {
            at = d.frameGeometry().topLeft();
            ClickYes(d);
        });
        QCOMPARE(at, PlaceOverMainWindow(mainWindow, QSize(319, 158)));
    }
};

QTEST_MAIN(TestYesNo)
#include "test_yesno.moc"
