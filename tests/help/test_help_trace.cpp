// The help layer's trace "HHDebug.txt": when it is switched on, what it
// holds, and that a trace of an earlier run never survives the start.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "HelpTestSupport.h"
#include "help/AppHelp.h"
#include "help/HelpTrace.h"
#include "help/hh.h"
#include "help/hh_funcs.h"

namespace {

QStringList ReadLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

bool Touch(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("old trace\n") > 0;
}

// A line written with the time of day in front.
bool IsTimedLine(const QString& line, const QString& text)
{
    static const QRegularExpression timed(QStringLiteral("^\\d{1,2}[:.]\\d{2}[:.]\\d{2}\\S*   (.*)$"));
    const QRegularExpressionMatch match = timed.match(line);
    return match.hasMatch() && match.captured(1) == text;
}

} // namespace

class TestHelpTrace : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> folder_;
    QString programDir_;

    QString TraceFile() const { return programDir_ + QStringLiteral("HHDebug.txt"); }

private slots:
    void init()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
        programDir_ = folder_->path() + u'/';
        HHInstalled = true;
    }

    void switches_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("switchFile");
        QTest::addColumn<bool>("traced");
        QTest::newRow("-DEBUG") << QStringList{"tangrix", "-DEBUG"} << false << true;
        QTest::newRow("/debug") << QStringList{"tangrix", "/debug"} << false << true;
        QTest::newRow("-Debug among others") << QStringList{"tangrix", "x", "-Debug"} << false << true;
        QTest::newRow("debug.debug beside the program") << QStringList{"tangrix"} << true << true;
        QTest::newRow("no switch") << QStringList{"tangrix"} << false << false;
        QTest::newRow("--debug") << QStringList{"tangrix", "--debug"} << false << false;
        QTest::newRow("debug") << QStringList{"tangrix", "debug"} << false << false;
        QTest::newRow("-debugx") << QStringList{"tangrix", "-debugx"} << false << false;
        QTest::newRow("only the program named so") << QStringList{"-debug"} << false << false;
    }
    void switches()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, switchFile);
        QFETCH(bool, traced);
        if (switchFile)
            QVERIFY(Touch(programDir_ + QStringLiteral("debug.debug")));
        // A trace of an earlier run is gone either way.
        QVERIFY(Touch(TraceFile()));
        InitHelpLayer(arguments, programDir_);
        QCOMPARE(HelpTraceOn(), traced);
        QCOMPARE(HelpTraceFile(), TraceFile());
        QCOMPARE(QFile::exists(TraceFile()), traced);
        if (traced)
            QVERIFY(!ReadLines(TraceFile()).join(u'\n').contains(QStringLiteral("old trace")));
    }

    void headerAndRouterLines()
    {
        FakeViewerInstalled fake;
        InitHelpLayer({QStringLiteral("tangrix"), QStringLiteral("-DEBUG"), QStringLiteral("x y")}, programDir_);
        const QString helpFile = programDir_ + QStringLiteral("tngx.chm");
        auto router = std::make_unique<THookHelpSystem>(helpFile, QString(), HelpHostType::HtmlHelp);
        AppHelpContext(2);
        AppHelpCommand(kHelpQuit, 0);
        router.reset();

        const QStringList lines = ReadLines(TraceFile());
        QVERIFY2(lines.size() > 24, qPrintable(lines.join(u'\n')));
        // The header: a rule of "=", the system part, a rule of "-", the program part.
        const QStringList header = {
            QString(80, u'='),          "Log File:             ", "Date:                 ",
            "Operating System:      ",  "SysLocale.DefaultLCID: ", "SysLocale.PriLangID:   ",
            "SysLocale.SubLangID:   ",  "DecimalSeparator:      ", QString(80, u'-'),
            "EXE Path =          ",     "EXE Version =       ",    "Cmdline Param(s) =  ",
            "Actual CmdLine =  ",       "_RunDir =           ",    "_ModuleName =       ",
            "_ModuleDir =        ",     "_ModulePath =        ",   "Module Version =       ",
            "_hhInstalled =      ",     "_hhVerStr =         ",    "_hhFriendlyVerStr = ",
            "_ieInstalled =      ",     "_ieVerStr =         ",    "_ieFriendlyVerStr = ",
        };
        for (int i = 0; i < header.size(); ++i)
            QVERIFY2(lines[i].startsWith(header[i]), qPrintable(QStringLiteral("line %1: %2").arg(i).arg(lines[i])));
        QCOMPARE(lines[1], QStringLiteral("Log File:             ") + QDir::toNativeSeparators(TraceFile()));
        QVERIFY(lines[3].contains(QStringLiteral("(Build ")));
        QCOMPARE(lines[11], QStringLiteral("Cmdline Param(s) =  -DEBUG | x y"));
        QCOMPARE(lines[18], QStringLiteral("_hhInstalled =      True"));

        const QStringList expected = {
            QStringLiteral("THookHelpSystem.Create(\"%1\",\"\", 0)").arg(helpFile),
            QStringLiteral("THookHelpSystem.HelpHook(HELP_CONTEXT (1), 2)"),
            QStringLiteral("HHHelpContext(\"%1\", 2, \"\", 0)").arg(helpFile),
            QStringLiteral("ShowContext(\"%1\", 2)").arg(helpFile),
            QStringLiteral("  returned - 0"),
            QStringLiteral("THookHelpSystem.HelpHook(HELP_QUIT (2), 0)"),
            QStringLiteral("THookHelpSystem.Destroy"),
        };
        const QStringList traced = lines.mid(header.size());
        QCOMPARE(traced.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QVERIFY2(IsTimedLine(traced[i], expected[i]), qPrintable(traced[i]));
    }

    void errorIsTraced()
    {
        FakeViewerInstalled fake;
        InitHelpLayer({QStringLiteral("tangrix"), QStringLiteral("/debug")}, programDir_);
        HHInstalled = false;
        THookHelpSystem router(QStringLiteral("tngx.chm"), QString(), HelpHostType::HtmlHelp);
        AnsweredBox box;
        AnswerNextMessageBox(box);
        AppHelpContext(1);
        QVERIFY(box.seen);
        const QStringList lines = ReadLines(TraceFile());
        QVERIFY(IsTimedLine(lines.value(lines.size() - 2), QStringLiteral("  returned - 1")));
        QVERIFY(IsTimedLine(lines.value(lines.size() - 1),
                            QStringLiteral("HHShowError(1), \"MS Html Help is not installed on this PC.\"")));
    }

    void noSwitchNoTrace()
    {
        FakeViewerInstalled fake;
        QVERIFY(Touch(TraceFile()));
        InitHelpLayer({QStringLiteral("tangrix")}, programDir_);
        QVERIFY(!QFile::exists(TraceFile()));
        {
            THookHelpSystem router(programDir_ + QStringLiteral("tngx.chm"), QString(), HelpHostType::HtmlHelp);
            AppHelpContext(1);
        }
        DebugOut(QStringLiteral("anything"));
        QVERIFY(!QFile::exists(TraceFile()));
    }

    // Beside the program if that folder can be written, else in the temporary folder.
    void unwritableProgramFolder()
    {
        QTemporaryDir temp;
        QVERIFY(temp.isValid());
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
        InitHelpLayer({QStringLiteral("tangrix"), QStringLiteral("-debug")}, programDir_ + QStringLiteral("gone/"));
        qunsetenv("TMPDIR");
        QCOMPARE(HelpTraceFile(), QDir(temp.path()).filePath(QStringLiteral("HHDebug.txt")));
        QVERIFY(HelpTraceOn());
        QVERIFY(ReadLines(HelpTraceFile()).value(0) == QString(80, u'='));
    }

    // In the shared temporary folder an old trace of the game's own is
    // deleted at the start; a file of that name that is someone else's stays.
    void sharedTemporaryFolderKeepsOthersFiles_data()
    {
        QTest::addColumn<bool>("own");
        QTest::newRow("the game's own trace") << true;
        QTest::newRow("someone else's file") << false;
    }
    void sharedTemporaryFolderKeepsOthersFiles()
    {
        QFETCH(bool, own);
        QTemporaryDir temp;
        QVERIFY(temp.isValid());
        const QString trace = QDir(temp.path()).filePath(QStringLiteral("HHDebug.txt"));
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
        if (own) { // an earlier run's trace
            InitHelpLayer({QStringLiteral("tangrix"), QStringLiteral("-debug")}, programDir_ + QStringLiteral("gone/"));
            DebugOut(QStringLiteral("earlier run"));
        } else {
            QFile other(trace);
            QVERIFY(other.open(QIODevice::WriteOnly));
            other.write("someone's notes\n");
        }
        InitHelpLayer({QStringLiteral("tangrix")}, programDir_ + QStringLiteral("gone/"));
        qunsetenv("TMPDIR");
        QCOMPARE(HelpTraceFile(), trace);
        if (own)
            QVERIFY(!QFile::exists(trace));
        else
            QCOMPARE(ReadLines(trace), QStringList{QStringLiteral("someone's notes")});
    }

    // The writability probe and the trace are made new: whatever bears their
    // names already, a link to someone's file above all, is not followed,
    // emptied or deleted.
    void existingNamesAreLeftAlone_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("link");
        QTest::addColumn<bool>("nameKept");
        QTest::newRow("probe linked to a victim") << QStringLiteral("$_Temp_$.$$$") << true << true;
        QTest::newRow("probe left by a crash") << QStringLiteral("$_Temp_$.$$$") << false << true;
        // An old trace is deleted at every start, but a link goes, not its target.
        QTest::newRow("trace linked to a victim") << QStringLiteral("HHDebug.txt") << true << false;
    }
    void existingNamesAreLeftAlone()
    {
        QFETCH(QString, name);
        QFETCH(bool, link);
        QFETCH(bool, nameKept);
        QTemporaryDir elsewhere;
        QVERIFY(elsewhere.isValid());
        const QString victim = elsewhere.filePath(QStringLiteral("victim"));
        QVERIFY(Touch(victim));
        const QString placed = programDir_ + name;
        QVERIFY(link ? QFile::link(victim, placed) : Touch(placed));

        qputenv("TMPDIR", QFile::encodeName(elsewhere.path()));
        InitHelpLayer({QStringLiteral("tangrix"), QStringLiteral("-debug")}, programDir_);
        qunsetenv("TMPDIR");
        DebugOut(QStringLiteral("traced"));

        QCOMPARE(ReadLines(victim), QStringList{QStringLiteral("old trace")});
        QVERIFY(QFileInfo(placed).isSymLink() || QFileInfo::exists(placed));
        if (nameKept) {
            QCOMPARE(QFileInfo(placed).isSymLink(), link);
            // The program folder counts as not writable; the trace goes elsewhere.
            QCOMPARE(HelpTraceFile(), elsewhere.filePath(QStringLiteral("HHDebug.txt")));
        } else {
            QVERIFY(!QFileInfo(placed).isSymLink());
            QCOMPARE(HelpTraceFile(), placed);
        }
        QVERIFY(IsTimedLine(ReadLines(HelpTraceFile()).last(), QStringLiteral("traced")));
    }

    // "-" and "=" alone become rules; "!", "-", "=" in front are dropped with the time.
    void lineForms()
    {
        InitHelpLayer({QStringLiteral("tangrix"), QStringLiteral("-debug")}, programDir_);
        const int before = ReadLines(TraceFile()).size();
        DebugOut(QStringLiteral("="));
        DebugOut(QStringLiteral("-"));
        DebugOut(QStringLiteral("!plain"));
        DebugOut(QStringLiteral("-dash"));
        DebugOut(QStringLiteral("=equals"));
        DebugOut(QStringLiteral("timed !"));
        const QStringList lines = ReadLines(TraceFile()).mid(before);
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines[0], QString(80, u'='));
        QCOMPARE(lines[1], QString(80, u'-'));
        QCOMPARE(lines[2], QStringLiteral("plain"));
        QCOMPARE(lines[3], QStringLiteral("dash"));
        QCOMPARE(lines[4], QStringLiteral("equals"));
        QVERIFY(IsTimedLine(lines[5], QStringLiteral("timed !")));
    }
};

QTEST_MAIN(TestHelpTrace)
#include "test_help_trace.moc"
