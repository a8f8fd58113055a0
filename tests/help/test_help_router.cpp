// The help router between the application's help requests and the viewer:
// which topic the rules button asks for, what each command does, the warning
// for a missing viewer, and the close-all calls when the game ends.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "HelpTestSupport.h"
#include "help/AppHelp.h"
#include "help/HelpWindow.h"
#include "help/hh.h"
#include "help/hh_funcs.h"
#include "settings/Globals.h"

namespace {

HelpWindow* OpenHelpWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<HelpWindow*>(widget); window && window->isVisible())
            return window;
    return nullptr;
}

} // namespace

class TestHelpRouter : public QObject {
    Q_OBJECT
    QTemporaryDir folder_;
    QString programDir_;
    QString helpFile_;
    // The game's own viewer, installed as the program installs it.
    std::unique_ptr<HelpViewer> ownViewer_ = MakeOwnHelpViewer(nullptr);

private slots:
    void initTestCase()
    {
        QVERIFY(folder_.isValid());
        programDir_ = folder_.path() + u'/';
        helpFile_ = programDir_ + QStringLiteral("tngx.chm");
        QVERIFY(QFile::copy(QStringLiteral(TANGRIX_HELP_FILE), helpFile_));
        InitHelpLayer({QStringLiteral("tangrix")}, programDir_);
        SetHelpViewer(ownViewer_.get());
    }
    void cleanupTestCase() { SetHelpViewer(nullptr); }
    void init()
    {
        HHInstalled = true;
        Tongue = 2;
    }

    void rulesButtonAsksForTheLanguagesTopic_data()
    {
        QTest::addColumn<int>("tongue");
        QTest::addColumn<quint32>("context");
        QTest::newRow("German") << 1 << 1u;
        QTest::newRow("English") << 2 << 2u;
        QTest::newRow("not chosen yet") << -1 << 2u;
        QTest::newRow("any other value") << 0 << 2u;
    }
    void rulesButtonAsksForTheLanguagesTopic()
    {
        QFETCH(int, tongue);
        QFETCH(quint32, context);
        FakeViewerInstalled fake;
        THookHelpSystem router(helpFile_, QString(), HelpHostType::HtmlHelp);
        Tongue = tongue;
        QVERIFY(AppHelpContext(RulesContext()));
        QCOMPARE(fake.viewer.shown.size(), 1);
        QCOMPARE(fake.viewer.shown[0].context, context);
        QCOMPARE(fake.viewer.shown[0].file, helpFile_);
    }

    // What each command does: context requests show a topic and skip the
    // application's own handling; everything else is left to it.
    void commands_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("callHelp");
        QTest::addColumn<int>("topicsShown");
        QTest::newRow("HELP_CONTEXT") << kHelpContext << false << 1;
        QTest::newRow("HELP_CONTEXTPOPUP") << kHelpContextPopup << false << 1;
        QTest::newRow("HELP_SETPOPUP_POS") << kHelpSetPopupPos << false << 0;
        QTest::newRow("HELP_QUIT") << kHelpQuit << true << 0;
        QTest::newRow("HELP_FINDER") << kHelpFinder << true << 0;
        QTest::newRow("unknown") << 99 << true << 0;
    }
    void commands()
    {
        QFETCH(int, command);
        QFETCH(bool, callHelp);
        QFETCH(int, topicsShown);
        FakeViewerInstalled fake;
        THookHelpSystem router(helpFile_, QString(), HelpHostType::HtmlHelp);
        bool call = true;
        QVERIFY(router.HelpHook(command, 2, call));
        QCOMPARE(call, callHelp);
        QCOMPARE(fake.viewer.shown.size(), topicsShown);
        QCOMPARE(fake.viewer.closeAllCount, 0);
    }

    void popupPositionIsKept()
    {
        FakeViewerInstalled fake;
        THookHelpSystem router(helpFile_, QString(), HelpHostType::HtmlHelp);
        // x 300 in the low word, y -20 in the high word
        QVERIFY(AppHelpCommand(kHelpSetPopupPos, int((quint32(quint16(-20)) << 16) | 300u)));
        QCOMPARE(router.PopupPosition(), QPoint(300, -20));
    }

    void commandNames_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("name");
        QTest::newRow("1") << 1 << "HELP_CONTEXT (1)";
        QTest::newRow("2") << 2 << "HELP_QUIT (2)";
        QTest::newRow("3") << 3 << "HELP_INDEX or HELP_CONTENTS (3)";
        QTest::newRow("5") << 5 << "HELP_SETINDEX or HELP_SETCONTENTS (5)";
        QTest::newRow("13") << 13 << "HELP_SETPOPUP_POS (13)";
        QTest::newRow("261") << 261 << "HELP_PARTIALKEY (261)";
        QTest::newRow("515") << 515 << "HELP_SETWINPOS (515)";
        QTest::newRow("6") << 6 << "?? (6)";
        QTest::newRow("-1") << -1 << "?? (-1)";
    }
    void commandNames()
    {
        QFETCH(int, command);
        QFETCH(QString, name);
        QCOMPARE(HelpCommandName(command), name);
    }

    // The path handed to the viewer: "%20" is a blank, surrounding blanks go.
    void pathIsCleanedUp()
    {
        FakeViewerInstalled fake;
        THookHelpSystem router(QStringLiteral("  /games/my%20tangrix/tngx.chm "), QString(), HelpHostType::HtmlHelp);
        QVERIFY(AppHelpContext(2));
        QCOMPARE(fake.viewer.shown.value(0).file, QStringLiteral("/games/my tangrix/tngx.chm"));
    }

    // A program folder that bears "%20" in its real name keeps the rules reachable.
    void folderNamedWithPercentTwenty()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        QVERIFY(QDir(root.path()).mkdir(QStringLiteral("my%20tangrix")));
        const QString file = root.filePath(QStringLiteral("my%20tangrix/tngx.chm"));
        QFile help(file);
        QVERIFY(help.open(QIODevice::WriteOnly));
        help.close();
        FakeViewerInstalled fake;
        THookHelpSystem router(file, QString(), HelpHostType::HtmlHelp);
        QVERIFY(AppHelpContext(2));
        QCOMPARE(fake.viewer.shown.value(0).file, file);
    }

    // A change of language asks an open window for the rules in the new
    // language, by the same path; it shows nothing new.
    void languageChangeIsFollowed()
    {
        FakeViewerInstalled fake;
        THookHelpSystem router(QStringLiteral(" /games/my%20tangrix/tngx.chm"), QString(), HelpHostType::HtmlHelp);
        for (int tongue : {1, 0, 5}) {
            Tongue = tongue;
            router.FollowLanguage();
        }
        QCOMPARE(fake.viewer.followed.size(), 3);
        const QList<quint32> contexts{fake.viewer.followed[0].context, fake.viewer.followed[1].context,
                                      fake.viewer.followed[2].context};
        QCOMPARE(contexts, (QList<quint32>{1, 2, 2}));
        QCOMPARE(fake.viewer.followed[0].file, QStringLiteral("/games/my tangrix/tngx.chm"));
        QVERIFY(fake.viewer.shown.isEmpty());
    }

    void missingViewerIsReported_data()
    {
        QTest::addColumn<int>("hostType");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("text");
        QTest::newRow("no help control") << 0 << false << "MS Html Help is not installed on this PC.";
        QTest::newRow("KeyHH") << 1 << true << "System file KeyHH.EXE was not found in the Windows folder.";
        QTest::newRow("HH") << 2 << true << "System file HH.EXE was not found in the Windows folder.";
    }
    void missingViewerIsReported()
    {
        QFETCH(int, hostType);
        QFETCH(bool, installed);
        QFETCH(QString, text);
        FakeViewerInstalled fake;
        QApplication::setApplicationDisplayName(QStringLiteral("Tangrix"));
        HHInstalled = installed;
        THookHelpSystem router(helpFile_, QString(), HelpHostType(hostType));
        AnsweredBox box;
        AnswerNextMessageBox(box);
        QVERIFY(AppHelpContext(1));
        QVERIFY(box.seen);
        QCOMPARE(box.text, text);
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.title, QStringLiteral("Tangrix"));
        QVERIFY(fake.viewer.shown.isEmpty());
    }

    void unknownErrorText() { QCOMPARE(HHErrorText(9), QStringLiteral("Unknown error returned by HHHelpContext")); }

    // The main window's part at the end: kHelpQuit when it closes (no effect),
    // then the router goes (close-all) and close-all is sent once more.
    void closingTheGame()
    {
        int earlierHandlerCalls = 0;
        const AppHelpHandler earlier = [&](int, int, bool&) {
            ++earlierHandlerCalls;
            return false;
        };
        const AppHelpHandler outside = SetAppHelpHandler(earlier);
        FakeViewerInstalled fake;
        auto router = std::make_unique<THookHelpSystem>(helpFile_, QString(), HelpHostType::HtmlHelp);
        QVERIFY(AppHelpCommand(kHelpQuit, 0));
        QVERIFY(fake.viewer.shown.isEmpty());
        QCOMPARE(fake.viewer.closeAllCount, 0);
        QCOMPARE(earlierHandlerCalls, 0);

        router.reset();
        QCOMPARE(fake.viewer.closeAllCount, 1);
        HHCloseAll();
        QCOMPARE(fake.viewer.closeAllCount, 2);

        // Help requests go back to the handler installed before the router.
        QVERIFY(!AppHelpContext(1));
        QCOMPARE(earlierHandlerCalls, 1);
        QVERIFY(fake.viewer.shown.isEmpty());
        SetAppHelpHandler(outside);
    }

    // The whole way with the game's own viewer: the rules button opens the
    // rules in the player's language, and the end of the game closes them.
    void ownViewerShowsAndCloses_data()
    {
        QTest::addColumn<int>("tongue");
        QTest::addColumn<QString>("heading");
        QTest::newRow("German") << 1 << "Die Spielregeln von Tangrix";
        QTest::newRow("English") << 2 << "The rules of Tangrix";
    }
    void ownViewerShowsAndCloses()
    {
        QFETCH(int, tongue);
        QFETCH(QString, heading);
        auto router = std::make_unique<THookHelpSystem>(helpFile_, QString(), HelpHostType::HtmlHelp);
        Tongue = tongue;
        QVERIFY(AppHelpContext(RulesContext()));
        HelpWindow* window = OpenHelpWindow();
        QVERIFY(window);
        QVERIFY(!window->ShowsNotice());
        QVERIFY(window->toPlainText().contains(heading));

        // Asking again reuses the window.
        QVERIFY(AppHelpContext(RulesContext()));
        QCOMPARE(OpenHelpWindow(), window);

        router.reset();
        QVERIFY(!OpenHelpWindow());
        HHCloseAll();
        QVERIFY(!OpenHelpWindow());
    }

    void ownViewerWithoutHelpFile()
    {
        THookHelpSystem router(programDir_ + QStringLiteral("elsewhere.chm"), QString(), HelpHostType::HtmlHelp);
        Tongue = 1;
        QVERIFY(AppHelpContext(RulesContext()));
        HelpWindow* window = OpenHelpWindow();
        QVERIFY(window);
        QVERIFY(window->ShowsNotice());
        QVERIFY(window->toPlainText().contains(QStringLiteral("wurde nicht gefunden")));
    }
};

QTEST_MAIN(TestHelpRouter)
#include "test_help_router.moc"
