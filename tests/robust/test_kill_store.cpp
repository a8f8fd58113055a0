// Nothing lost: the store writer (the high-score window's OK and the program
// settings, the game's own writing code) is killed with SIGKILL at random
// moments, many times over. After every kill the store must still read, and
// every value must be either the one of the generation being written or the
// one before it; the next writer must carry on from there.
//
// TANGRIX_KILLS sets the number of kills (default 25; tools/soak.sh runs more).
#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QThread>
#include <QtTest>

#include <random>

#include "cipher/qt/ChiffreQString.h"
#include "settings/ProgramSettings.h"
#include "settings/TIniCtrl.h"
#include "settings/WindowPlacement.h"
#include "tests/robust/StoreGenerations.h"
#include "ui/HighscoreTable.h"

using namespace StoreGenerations;

namespace {

struct StoreState {
    int generation = 0;          // the generation of the table
    bool settingsBehind = false; // killed after the table, before its settings
};

// The entry of row `row` when generation `generation` is in row 0.
HighscoreEntry ExpectedRow(int generation, int row)
{
    const int g = generation - row;
    return g >= 1 ? HighscoreEntry{NameOf(g), ScoreOf(g)} : HighscoreTable::EmptyEntry();
}

// The writer runs headless, with this test's store.
void StartWriter(QProcess& writer, const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    writer.setProcessEnvironment(environment);
    writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    writer.start(QStringLiteral(TANGRIX_STORE_WRITER), arguments);
}

} // namespace

class KillStoreTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void writerLeftAloneWritesEveryGeneration();
    void killedWriterLeavesOldOrNewValues();

private:
    // Reads the store as the game does and checks it; tells what it found.
    void CheckStore(StoreState& state);
    void KillOnce(std::mt19937& random);
};

void KillStoreTest::CheckStore(StoreState& state)
{
    TIniCtrl ini;
    QSettings raw(ini.StoreLocation(), QSettings::IniFormat);
    QCOMPARE(raw.status(), QSettings::NoError);

    HighscoreTable table;
    for (int row = 0; row < HighscoreTable::RowCount; ++row) {
        const QString stored = ini.ReadString(CommonSection(), QStringLiteral("hs%1").arg(row), QString());
        table.SetRow(row, HighscoreTable::ParseEntry(Decipher(ScoreCipher, stored)).value_or(HighscoreTable::EmptyEntry()));
    }
    state.generation = GenerationOf(table.Row(0).Name).value_or(0);
    const int g = state.generation;
    QVERIFY2(g >= 1, "row 0 holds no generation");
    // The name and the rows are written in one go: the whole table is the
    // one of generation g, none of it older.
    for (int row = 0; row < HighscoreTable::RowCount; ++row) {
        const HighscoreEntry& entry = table.Row(row);
        QVERIFY2(entry == ExpectedRow(g, row), qPrintable(QStringLiteral("row %1 with generation %2 in row 0 is \"%3\" %4")
                                                                .arg(row)
                                                                .arg(g)
                                                                .arg(entry.Name)
                                                                .arg(entry.Score)));
    }

    QCOMPARE(ini.ReadString(CommonSection(), QStringLiteral("player"), QString()), NameOf(g));
    // The settings follow the table, one value at a time: each is the one of
    // generation g or still of g - 1.
    const int settingsGeneration = ini.ReadInteger(CommonSection(), QStringLiteral("tongue"), -1);
    QVERIFY2(settingsGeneration == g || settingsGeneration == g - 1 || (g == 1 && settingsGeneration == -1),
             qPrintable(QStringLiteral("tongue %1 with generation %2").arg(settingsGeneration).arg(g)));
    state.settingsBehind = settingsGeneration != g;
    const auto fromEither = [g](auto of, auto value) { return value == of(g) || value == of(g - 1); };
    if (g > 1) {
        QVERIFY(fromEither(SoundOf, ini.ReadBool(CommonSection(), QStringLiteral("sound"), !SoundOf(g))));
        QVERIFY(fromEither(MusicOf, ini.ReadBool(CommonSection(), QStringLiteral("music"), !MusicOf(g))));
        QVERIFY(fromEither(BackModeOf, ini.ReadInteger(CommonSection(), QStringLiteral("backmode"), -1)));
        const auto placement = ParsePlacement(ini.ReadString(CommonSection(), QStringLiteral("MainForm"), QString()));
        QVERIFY(placement);
        QVERIFY(placement->left == g || placement->left == g - 1);
    }
}

void KillStoreTest::KillOnce(std::mt19937& random)
{
    QProcess writer;
    StartWriter(writer, {});
    QVERIFY(writer.waitForStarted());
    // Once it has written a whole generation, it is killed at any moment.
    while (!writer.canReadLine())
        QVERIFY2(writer.waitForReadyRead(60000), "the writer never got going");
    QVERIFY(writer.readLine().startsWith("ready"));
    QThread::msleep(std::uniform_int_distribution<int>(0, 120)(random));
    writer.kill(); // SIGKILL
    QVERIFY(writer.waitForFinished());
    QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
}

void KillStoreTest::init()
{
    ScoreCipher.Init(std::u32string(), 0);
    QDir(QFileInfo(TIniCtrl().StoreLocation()).path()).removeRecursively();
}

void KillStoreTest::writerLeftAloneWritesEveryGeneration()
{
    // Two runs one after the other, each ending on its own: the second goes
    // on from where the first stopped.
    for (int run = 1; run <= 2; ++run) {
        QProcess writer;
        StartWriter(writer, {QStringLiteral("20")});
        QVERIFY(writer.waitForFinished(120000));
        QCOMPARE(writer.exitCode(), 0);
        StoreState state;
        CheckStore(state);
        QCOMPARE(state.generation, 20 * run);
        QVERIFY(!state.settingsBehind);
    }
}

void KillStoreTest::killedWriterLeavesOldOrNewValues()
{
    bool ok = false;
    const int kills = qEnvironmentVariableIntValue("TANGRIX_KILLS", &ok);
    const int total = ok ? kills : 25;

    std::mt19937 random(std::random_device{}());
    int lastGeneration = 0;
    int settingsBehind = 0;
    for (int kill = 0; kill < total; ++kill) {
        KillOnce(random);
        if (QTest::currentTestFailed())
            return;
        StoreState state;
        CheckStore(state);
        if (QTest::currentTestFailed())
            return;
        // Every writer finished at least one generation before it was killed.
        QVERIFY2(state.generation > lastGeneration,
                 qPrintable(QStringLiteral("generation %1 after %2").arg(state.generation).arg(lastGeneration)));
        lastGeneration = state.generation;
        settingsBehind += state.settingsBehind;
    }
    const QStringList leftovers = QDir(QFileInfo(TIniCtrl().StoreLocation()).path()).entryList(QDir::Files);
    qInfo("%d kills survived, %d generations written, %d kills between a table and its settings; files left: %s",
          total, lastGeneration, settingsBehind, qPrintable(leftovers.join(QStringLiteral(", "))));
}

QTEST_GUILESS_MAIN(KillStoreTest)
#include "test_kill_store.moc"
