// The information window: it names the product and its version and goes back
// to the game by its button, Enter or Escape.
#include "settings/Globals.h"
#include "tests/dialogs/ModalAnswer.h"
#include "tests/dialogs/DialogTestSetup.h"
#include "ui/InfoDlg.h"
#include "ui/toolkit/DialogPlacement.h"
#include "ui/toolkit/PictureButton.h"
#include "ui/toolkit/RaisedLabel.h"

#include <QTest>

namespace {
int ShowAndAnswer(TInfoDlg& dlg, std::function<void(TInfoDlg&)> action)
{
    ModalAnswer modal([&](QWidget* w) {
        if (w == &dlg)
            action(dlg);
    });
    const int result = dlg.exec();
    if (!modal.Seen())
        qWarning("the information window was not shown modally");
    return result;
}

// True when the label has painted some of its white text.
bool ShowsText(QWidget& label)
{
    QImage image(label.size(), QImage::Format_RGB32);
    image.fill(Qt::blue);
    label.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == QColor(Qt::white))
                return true;
    return false;
}
} // namespace

class TestInfoDlg : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { MakeDialogResources(); }

    void namesProductAndVersion()
    {
        TInfoDlg dlg;
        bool visible = false;
        ShowAndAnswer(dlg, [&](TInfoDlg& d) {
            visible = d.ProgLabel->isVisible() && d.VersionLabel->isVisible() && d.BackBtn->isVisible();
            d.BackBtn->click();
        });
        QVERIFY(visible);
        QCOMPARE(dlg.ProgLabel->Caption(), QStringLiteral("Tangrix"));
        QCOMPARE(dlg.VersionLabel->Caption(), QStringLiteral("Version  V2.1"));
        QVERIFY(ShowsText(*dlg.ProgLabel));
        QVERIFY(ShowsText(*dlg.VersionLabel));
    }

    void goesBackToTheGame_data()
    {
        QTest::addColumn<int>("key");  // 0: click the button
        QTest::newRow("button") << 0;
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }
    void goesBackToTheGame()
    {
        QFETCH(int, key);
        TInfoDlg dlg;
        bool closed = false;
        ShowAndAnswer(dlg, [&](TInfoDlg& d) {
            if (key == 0)
                QTest::mouseClick(d.BackBtn, Qt::LeftButton);
            else
                QTest::keyClick(d.focusWidget() ? d.focusWidget() : &d, Qt::Key(key));
            closed = !d.isVisible();
        });
        QVERIFY(closed);
    }

    void buttonHintFollowsLanguage()
    {
        TInfoDlg dlg;
        Tongue = 1;
        ShowAndAnswer(dlg, [](TInfoDlg& d) { d.BackBtn->click(); });
        QCOMPARE(dlg.BackBtn->Hint(), QStringLiteral("Zurück zum Spiel"));
        Tongue = 0;
        ShowAndAnswer(dlg, [](TInfoDlg& d) { d.BackBtn->click(); });
        QCOMPARE(dlg.BackBtn->Hint(), QStringLiteral("Back to the game"));
    }

    void placedOverTheMainWindow()
    {
        QWidget mainWindow;
        mainWindow.setGeometry(100, 50, 701, 462);
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        TInfoDlg dlg(&mainWindow);
        QPoint at;
        ShowAndAnswer(dlg, [&](TInfoDlg& d) {
            at = d.frameGeometry().topLeft();
            d.BackBtn->click();
        });
        QCOMPARE(at, PlaceOverMainWindow(mainWindow, dlg.size()));
    }
};

QTEST_MAIN(TestInfoDlg)
#include "test_infodlg.moc"
