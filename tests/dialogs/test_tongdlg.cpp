// The language dialog: each choice sets Tongue and closes, closing otherwise
// keeps Tongue, the keyboard reaches both choices, and the pictures are drawn
// with their own transparent colours.
#include "settings/Globals.h"
#include "tests/dialogs/ModalAnswer.h"
#include "tests/dialogs/DialogTestSetup.h"
#include "ui/Tongdlg.h"
#include "ui/toolkit/PictureButton.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTest>

namespace {
// Shows the dialog modally and lets `action` answer it; returns exec()'s result.
int ShowAndAnswer(TTongueDlg& dlg, std::function<void(TTongueDlg&)> action)
{
    ModalAnswer modal([&](QWidget* w) {
        if (w == &dlg)
            action(dlg);
    });
    const int result = dlg.exec();
    if (!modal.Seen())
        qWarning("the language dialog was not shown modally");
    return result;
}

// A key to whichever button has the focus, as a real key press goes.
void PressOnFocus(TTongueDlg& dlg, Qt::Key key)
{
    QWidget* target = dlg.focusWidget() ? dlg.focusWidget() : &dlg;
    QTest::keyClick(target, key);
}
} // namespace

class TestTongueDlg : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { MakeDialogResources(); }
    void init() { Tongue = -1; }

    void buttonSetsTongueAndCloses_data()
    {
        QTest::addColumn<bool>("german");
        QTest::addColumn<int>("tongue");
        QTest::newRow("German") << true << 1;
        QTest::newRow("English") << false << 0;
    }
    void buttonSetsTongueAndCloses()
    {
        QFETCH(bool, german);
        QFETCH(int, tongue);
        TTongueDlg dlg;
        bool closed = false;
        ShowAndAnswer(dlg, [&](TTongueDlg& d) {
            QTest::mouseClick(german ? d.GermanBtn : d.EnglishBtn, Qt::LeftButton);
            closed = !d.isVisible();
        });
        QVERIFY(closed);
        QCOMPARE(Tongue, tongue);
    }

    void closingWithoutChoiceKeepsTongue_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Escape") << true;
        QTest::newRow("window closed") << false;
    }
    void closingWithoutChoiceKeepsTongue()
    {
        QFETCH(bool, escape);
        TTongueDlg dlg;
        ShowAndAnswer(dlg, [&](TTongueDlg& d) {
            if (escape)
                PressOnFocus(d, Qt::Key_Escape);
            else
                d.close();
        });
        QCOMPARE(Tongue, -1);
    }

    void keyboardChoice_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("tongue");
        QTest::newRow("Enter at once") << QList<int>{Qt::Key_Return} << 1;
        QTest::newRow("Down, Enter") << QList<int>{Qt::Key_Down, Qt::Key_Return} << 0;
        QTest::newRow("Down, Down, Enter") << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Return} << 0;
        QTest::newRow("Down, Up, Enter") << QList<int>{Qt::Key_Down, Qt::Key_Up, Qt::Key_Return} << 1;
        QTest::newRow("Tab, Enter") << QList<int>{Qt::Key_Tab, Qt::Key_Return} << 0;
        QTest::newRow("Tab, Tab, Enter") << QList<int>{Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Return} << 1;
        QTest::newRow("Tab, Space") << QList<int>{Qt::Key_Tab, Qt::Key_Space} << 0;
    }
    void keyboardChoice()
    {
        QFETCH(QList<int>, keys);
        QFETCH(int, tongue);
        TTongueDlg dlg;
        ShowAndAnswer(dlg, [&](TTongueDlg& d) {
            for (int key : keys)
                PressOnFocus(d, Qt::Key(key));
        });
        QCOMPARE(Tongue, tongue);
    }

    void captionsStayInTheirOwnLanguage()
    {
        Tongue = 1;
        TTongueDlg dlg;
        ShowAndAnswer(dlg, [](TTongueDlg& d) { QTest::mouseClick(d.EnglishBtn, Qt::LeftButton); });
        QCOMPARE(dlg.TongueLabel->text(), QStringLiteral("Ich spreche deutsch"));
        QCOMPARE(dlg.Label1->text(), QStringLiteral("I speak English"));
        QCOMPARE(Tongue, 0);
    }

    void centredOnTheScreen()
    {
        TTongueDlg dlg;
        QRect shown;
        ShowAndAnswer(dlg, [&](TTongueDlg& d) { shown = d.frameGeometry(); });
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(shown.size(), QSize(408, 162));
        QVERIFY(qAbs(shown.center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(shown.center().y() - screen.center().y()) <= 1);
    }

    void picturesLeaveOutTheirOwnTransparentColours()
    {
        // The flag faces have pure blue and pure green corners, the logo pure
        // fuchsia surroundings: none of them may show in the dialog.
        TTongueDlg dlg;
        dlg.resize(408, 162);
        const QImage shot = dlg.grab().toImage();
        const QPoint german = dlg.GermanBtn->mapTo(&dlg, QPoint(0, 0));
        const QPoint english = dlg.EnglishBtn->mapTo(&dlg, QPoint(0, 0));
        QVERIFY(shot.pixelColor(german) != QColor(0, 0, 255));
        QVERIFY(shot.pixelColor(german + QPoint(49, 49)) != QColor(0, 0, 255));
        QVERIFY(shot.pixelColor(english) != QColor(0, 255, 0));
        QVERIFY(shot.pixelColor(english + QPoint(49, 49)) != QColor(0, 255, 0));
        for (int y = 12; y < 12 + 77; ++y)
            for (int x = 0; x < 105; ++x)
                QVERIFY2(shot.pixelColor(x, y) != QColor(255, 0, 255), "fuchsia shows around the logo");
    }
};

QTEST_MAIN(TestTongueDlg)
#include "test_tongdlg.moc"
