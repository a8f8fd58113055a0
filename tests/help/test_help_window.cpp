// The game's own help window as the player handles it: where it opens (over
// the main window the first time, then where it was left, also in the next
// run), how it closes (Escape, its own button), and that an open window
// follows a change of language.
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QScreen>
#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTemporaryDir>
#include <QtTest>

#include "help/ChmHelpViewer.h"
#include "help/HelpWindowHost.h"
#include "help/hh.h"
#include "settings/Globals.h"

namespace {

const QString kGermanHeading = QStringLiteral("Die Spielregeln von Tangrix");
const QString kEnglishHeading = QStringLiteral("The rules of Tangrix");

// The program around the window: a main window and the kept placement.
struct FakeHost : HelpWindowHost {
    QWidget* main = nullptr;
    QString placement;
    int stores = 0;

    QWidget* MainWindow() override { return main; }
    QString HelpPlacement() override { return placement; }
    void SetHelpPlacement(const QString& value) override
    {
        placement = value;
        ++stores;
    }
};

QRect Desktop()
{
    return QGuiApplication::primaryScreen()->availableVirtualGeometry();
}

} // namespace

class TestHelpWindow : public QObject {
    Q_OBJECT
    QTemporaryDir folder_;
    QString helpFile_;
    FakeHost host_;
    QWidget main_;

private slots:
    void initTestCase()
    {
        QVERIFY(folder_.isValid());
        helpFile_ = folder_.filePath(QStringLiteral("tngx.chm"));
        QVERIFY(QFile::copy(QStringLiteral(TANGRIX_HELP_FILE), helpFile_));
        main_.setGeometry(200, 300, 701, 462);
        main_.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main_));
        host_.main = &main_;
    }
    void init()
    {
        host_.placement.clear();
        host_.stores = 0;
        Tongue = 0;
    }

    void opensOverTheMainWindowThenWhereItWasLeft()
    {
        ChmHelpViewer viewer(&host_);
        auto* window = qobject_cast<HelpWindow*>(viewer.ShowContext(helpFile_, 2));
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // Centred over the main window; its own frame may shift it a little.
        const QPoint offset = window->frameGeometry().center() - main_.frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 8, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));

        const QRect moved(30, 20, 500, 400);
        window->setGeometry(moved);
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(!window->isVisible());
        QCOMPARE(host_.placement, QStringLiteral("200,0,1,30,20,530,420"));

        // Opened again in this run, and by the next run's viewer.
        QTRY_VERIFY(!viewer.Window());
        QCOMPARE(viewer.ShowContext(helpFile_, 2)->geometry(), moved);
        viewer.CloseAll();
        ChmHelpViewer nextRun(&host_);
        QCOMPARE(nextRun.ShowContext(helpFile_, 1)->geometry(), moved);
    }

    void keptPlaceIsFittedToTheDesktop_data()
    {
        QTest::addColumn<QString>("kept");
        QTest::newRow("largest extent") << QStringLiteral("200,0,1,0,0,16777215,16777215");
        QTest::newRow("far off the bottom right") << QStringLiteral("200,0,1,90000,90000,90600,90500");
        QTest::newRow("a pixel") << QStringLiteral("200,0,1,5,5,6,6");
    }
    void keptPlaceIsFittedToTheDesktop()
    {
        QFETCH(QString, kept);
        host_.placement = kept;
        ChmHelpViewer viewer(&host_);
        QWidget* window = viewer.ShowContext(helpFile_, 2);
        QVERIFY(Desktop().contains(window->geometry()));
        QVERIFY(window->width() >= ChmHelpViewer::SmallestSize.width());
        QVERIFY(window->height() >= ChmHelpViewer::SmallestSize.height());
    }

    // Closed by its button or by close-all at the end, its place is kept too.
    void closedByItsButtonOrAtTheEnd_data()
    {
        QTest::addColumn<bool>("button");
        QTest::newRow("its close button") << true;
        QTest::newRow("close-all") << false;
    }
    void closedByItsButtonOrAtTheEnd()
    {
        QFETCH(bool, button);
        Tongue = 1;
        ChmHelpViewer viewer(&host_);
        HelpWindow* window = qobject_cast<HelpWindow*>(viewer.ShowContext(helpFile_, 1));
        QVERIFY(window);
        QCOMPARE(window->CloseButton()->text(), QStringLiteral("Schließen"));
        // The button lies above the page, not over it nor over the scroll bar.
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(!window->viewport()->geometry().intersects(window->CloseButton()->geometry()));
        QVERIFY(window->verticalScrollBar()->isVisible());
        QVERIFY(!window->verticalScrollBar()->geometry().intersects(window->CloseButton()->geometry()));
        if (button)
            QTest::mouseClick(window->CloseButton(), Qt::LeftButton);
        else
            viewer.CloseAll();
        QTRY_VERIFY(!viewer.Window() || !viewer.Window()->isVisible());
        QCOMPARE(host_.stores, 1);
        QVERIFY(host_.placement.startsWith(QStringLiteral("200,")));
    }

    // The close button lies clear of the scroll bar and the page, and shows
    // its whole text, at any window size and with a large font too (CTest
    // runs this at 150 % and 200 % as well).
    void closeButtonClearAndReadable_data()
    {
        QTest::addColumn<int>("fontPixels");
        QTest::newRow("the usual font") << 0;
        QTest::newRow("a large font") << 28;
    }
    void closeButtonClearAndReadable()
    {
        QFETCH(int, fontPixels);
        // The game's style sheet (for its hints) makes every widget polished
        // by the style sheet style, with sizes of its own.
        qApp->setStyleSheet(QStringLiteral("QToolTip { border: 1px solid black; }"));
        const QFont usual = QApplication::font();
        if (fontPixels > 0) {
            QFont large = usual;
            large.setPixelSize(fontPixels);
            QApplication::setFont(large);
        }
        ChmHelpViewer viewer;
        auto* window = qobject_cast<HelpWindow*>(viewer.ShowContext(helpFile_, 2));
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QPushButton* button = window->CloseButton();
        // The first size is the first opening's; then narrower, wider, shorter.
        for (const QSize size : {window->size(), QSize(420, 600), QSize(900, 700), QSize(680, 200)}) {
            window->resize(size);
            QCoreApplication::processEvents();
            const QString at = QStringLiteral("window %1x%2, button %3,%4 %5x%6")
                                   .arg(window->width())
                                   .arg(window->height())
                                   .arg(button->x())
                                   .arg(button->y())
                                   .arg(button->width())
                                   .arg(button->height());
            QVERIFY2(window->rect().contains(button->geometry()), qPrintable(at));
            QVERIFY2(!window->viewport()->geometry().intersects(button->geometry()), qPrintable(at));
            const QScrollBar* bar = window->verticalScrollBar();
            QVERIFY2(!bar->isVisible() || !bar->geometry().intersects(button->geometry()), qPrintable(at));
            QVERIFY2(button->width() >= button->sizeHint().width() && button->height() >= button->sizeHint().height(),
                     qPrintable(at));
            QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) < button->width(), qPrintable(at));
        }
        QVERIFY(window->verticalScrollBar()->isVisible()); // the short window needs it
        QApplication::setFont(usual);
        qApp->setStyleSheet(QString());
        viewer.CloseAll();
    }

    // A switch of language keeps the reader in the section being read.
    void languageSwitchKeepsTheSection()
    {
        const auto headingTops = [](HelpWindow& window) {
            QList<int> tops;
            QTextDocument* page = window.document();
            for (QTextBlock block = page->begin(); block.isValid(); block = block.next())
                if (block.blockFormat().headingLevel() > 0)
                    tops << int(page->documentLayout()->blockBoundingRect(block).top());
            return tops;
        };
        ChmHelpViewer viewer;
        auto* window = qobject_cast<HelpWindow*>(viewer.ShowContext(helpFile_, 2));
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->resize(680, 400);
        QCoreApplication::processEvents();
        const QList<int> english = headingTops(*window);
        QVERIFY(english.size() > 8);
        const int section = 6;
        window->verticalScrollBar()->setValue(english[section] + 3);
        QCOMPARE(window->verticalScrollBar()->value(), english[section] + 3);

        Tongue = 1;
        viewer.FollowContext(helpFile_, 1);
        QVERIFY(window->toPlainText().contains(kGermanHeading));
        const QList<int> german = headingTops(*window);
        QCOMPARE(german.size(), english.size());
        const int top = window->verticalScrollBar()->value();
        QVERIFY2(top >= german[section] && top < german[section + 1],
                 qPrintable(QStringLiteral("view at %1, section %2 from %3 to %4")
                                .arg(top)
                                .arg(section)
                                .arg(german[section])
                                .arg(german[section + 1])));
        viewer.CloseAll();
    }

    void openWindowFollowsTheLanguage()
    {
        ChmHelpViewer viewer(&host_);
        viewer.FollowContext(helpFile_, 1);
        QVERIFY2(!viewer.Window(), "a change of language opened the help");

        auto* window = qobject_cast<HelpWindow*>(viewer.ShowContext(helpFile_, 2));
        QVERIFY(window->toPlainText().contains(kEnglishHeading));
        Tongue = 1;
        viewer.FollowContext(helpFile_, 1);
        QCOMPARE(viewer.Window(), window);
        QVERIFY(window->toPlainText().contains(kGermanHeading));
        QCOMPARE(window->windowTitle(), QStringLiteral("Tangrix – Spielregeln"));
        QCOMPARE(window->CloseButton()->text(), QStringLiteral("Schließen"));

        // The same language again (a background change) leaves the page as it is.
        window->verticalScrollBar()->setValue(window->verticalScrollBar()->maximum());
        const int scrolled = window->verticalScrollBar()->value();
        QVERIFY(scrolled > 0);
        viewer.FollowContext(helpFile_, 1);
        QCOMPARE(window->verticalScrollBar()->value(), scrolled);
    }
};

QTEST_MAIN(TestHelpWindow)
#include "test_help_window.moc"
