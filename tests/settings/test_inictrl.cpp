// The settings store: text encodings, defaults, the program's own settings,
// robustness against hand-edited files, and failing writes.
#include "settings/Globals.h"
#include "settings/ProgramSettings.h"
#include "settings/TIniCtrl.h"
#include "tests/robust/Watchdog.h"
#include "tests/settings/StoreFixture.h"

#include <QElapsedTimer>
#include <QLockFile>

#include <climits>

#ifdef Q_OS_UNIX
#include "tests/robust/ZeroDevice.h"
#include <sys/stat.h>
#endif

namespace {

// Puts something other than a plain file of sane size at `path`.
void MakeInPlace(const QString& path, const QString& kind)
{
    QDir().mkpath(QFileInfo(path).path());
#ifdef Q_OS_UNIX
    if (kind == u"FIFO") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        return;
    }
    if (kind == u"device link") {
        QVERIFY(QFile::link(ZeroDevice(QFileInfo(path).path()), path));
        return;
    }
#endif
    if (kind == u"directory") {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == u"dangling link") {
        QVERIFY(QFile::link(path + QStringLiteral(".gone"), path));
    } else if (kind == u"sparse 30 GB") {
        QFile sparse(path);
        QVERIFY(sparse.open(QIODevice::WriteOnly));
        QVERIFY(sparse.resize(qint64(30) << 30));
    } else {
        QFAIL(qPrintable(kind));
    }
}

// What stands at `path`, as far as the tests tell things apart.
QString Describe(const QString& path)
{
    const QFileInfo info(path);
    return QStringLiteral("link %1 dir %2 file %3 exists %4 size %5")
        .arg(info.isSymLink())
        .arg(info.isDir())
        .arg(info.isFile())
        .arg(info.exists())
        .arg(info.isFile() ? info.size() : 0);
}

} // namespace

class TestIniCtrl : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { store_.SetUpProcess(); }
    void init()
    {
        store_.Reset();
        Tongue = 0; // English, unless a test says otherwise
    }
    void cleanup() { store_.RestoreFolder(); }

    void emptyStoreGivesDefaults();
    void integerText_data();
    void integerText();
    void booleanText_data();
    void booleanText();
    void backModeOutsideRangeReadsAsZero_data();
    void backModeOutsideRangeReadsAsZero();
    void programSettingsRoundTripAsText();
    void stringsKeepTheirText();
    void everyOperationSeesTheCurrentStore();
    void unknownValuesSurviveWritesAndDeletes();
    void hugeValueAndGarbageLinesDoNotStopAnything();
    void unwritableStoreReportsTheFirstFailureOnly();
    void readOnlyFolderStillReads();
    void severalValuesAreWrittenAllOrNone();
    void storeThatIsNoPlainFile_data();
    void storeThatIsNoPlainFile();
    void binaryValueIsPassedOver_data();
    void binaryValueIsPassedOver();
    void staleLocksDoNotHoldUpAWrite_data();
    void staleLocksDoNotHoldUpAWrite();
    void updateDoesNotWaitForeverForAnotherCopy_data();
    void updateDoesNotWaitForeverForAnotherCopy();

private:
    StoreFixture store_;
};

void TestIniCtrl::emptyStoreGivesDefaults()
{
    Tongue = 5;
    SoundOn = false;
    MusicOn = false;
    int backMode = 3;
    ReadProgramSettings(TIniCtrl(), backMode);
    QCOMPARE(Tongue, -1);
    QCOMPARE(SoundOn, true);
    QCOMPARE(MusicOn, true);
    QCOMPARE(backMode, 0);
    QCOMPARE(TIniCtrl().ReadString(CommonSection(), QStringLiteral("player"), QStringLiteral("x")), QStringLiteral("x"));
    // Reading creates nothing.
    QVERIFY(!QFileInfo::exists(store_.File()));
    QVERIFY(store_.errors.isEmpty());
}

void TestIniCtrl::integerText_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("expected");
    const int def = -77;
    QTest::newRow("plain") << QStringLiteral("7") << 7;
    QTest::newRow("leading blanks and sign") << QStringLiteral("  -12") << -12;
    QTest::newRow("plus sign") << QStringLiteral("+5") << 5;
    QTest::newRow("hexadecimal") << QStringLiteral("$1F") << 31;
    QTest::newRow("negative hexadecimal") << QStringLiteral("-$1f") << -31;
    QTest::newRow("largest") << QStringLiteral("2147483647") << INT_MAX;
    QTest::newRow("smallest") << QStringLiteral("-2147483648") << INT_MIN;
    QTest::newRow("one above largest") << QStringLiteral("2147483648") << def;
    QTest::newRow("one below smallest") << QStringLiteral("-2147483649") << def;
    QTest::newRow("hexadecimal out of range") << QStringLiteral("$80000000") << def;
    QTest::newRow("very long digits") << QStringLiteral("99999999999999999999999") << def;
    QTest::newRow("trailing garbage") << QStringLiteral("12abc") << def;
    QTest::newRow("trailing blank") << QStringLiteral("12 ") << def;
    QTest::newRow("empty") << QString() << def;
    QTest::newRow("sign alone") << QStringLiteral("-") << def;
    QTest::newRow("dollar alone") << QStringLiteral("$") << def;
    QTest::newRow("decimal point") << QStringLiteral("1.5") << def;
    QTest::newRow("non-ASCII digits") << QString::fromUtf8("١٢") << def;
}

void TestIniCtrl::integerText()
{
    QFETCH(QString, stored);
    QFETCH(int, expected);
    TIniCtrl ini;
    ini.WriteString(CommonSection(), QStringLiteral("tongue"), stored);
    QCOMPARE(ini.ReadInteger(CommonSection(), QStringLiteral("tongue"), -77), expected);
}

void TestIniCtrl::booleanText_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("def");
    QTest::addColumn<bool>("expected");
    QTest::newRow("1") << QStringLiteral("1") << false << true;
    QTest::newRow("any non-zero") << QStringLiteral("2") << false << true;
    QTest::newRow("negative") << QStringLiteral("-1") << false << true;
    QTest::newRow("0") << QStringLiteral("0") << true << false;
    QTest::newRow("yes, default true") << QStringLiteral("yes") << true << true;
    QTest::newRow("yes, default false") << QStringLiteral("yes") << false << false;
    // As other tools write booleans into the file.
    QTest::newRow("true") << QStringLiteral("true") << false << true;
    QTest::newRow("false") << QStringLiteral("false") << true << false;
    QTest::newRow("capital True") << QStringLiteral("True") << false << true;
    QTest::newRow("truth is no word") << QStringLiteral("truth") << false << false;
}

void TestIniCtrl::booleanText()
{
    QFETCH(QString, stored);
    QFETCH(bool, def);
    QFETCH(bool, expected);
    TIniCtrl ini;
    ini.WriteString(CommonSection(), QStringLiteral("sound"), stored);
    QCOMPARE(ini.ReadBool(CommonSection(), QStringLiteral("sound"), def), expected);
}

void TestIniCtrl::backModeOutsideRangeReadsAsZero_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("in range") << QStringLiteral("6") << 6;
    QTest::newRow("above") << QStringLiteral("9") << 0;
    QTest::newRow("seven") << QStringLiteral("7") << 0;
    QTest::newRow("negative") << QStringLiteral("-1") << 0;
    QTest::newRow("garbage") << QStringLiteral("blue") << 0;
}

void TestIniCtrl::backModeOutsideRangeReadsAsZero()
{
    QFETCH(QString, stored);
    QFETCH(int, expected);
    TIniCtrl ini;
    ini.WriteString(CommonSection(), QStringLiteral("backmode"), stored);
    int backMode = -5;
    ReadProgramSettings(ini, backMode);
    QCOMPARE(backMode, expected);
}

void TestIniCtrl::programSettingsRoundTripAsText()
{
    TIniCtrl ini;
    Tongue = 1;
    SoundOn = false;
    MusicOn = true;
    WriteProgramSettings(ini, 4);

    // The file holds plain text, not typed values.
    const QByteArray file = store_.ReadFile();
    QVERIFY2(file.contains("[common]"), file.constData());
    for (const char* line : {"sound=0", "music=1", "tongue=1", "backmode=4"})
        QVERIFY2(file.contains(line), line);
    QVERIFY(!file.contains("@Variant"));
    QVERIFY(!file.contains("true"));

    Tongue = -1;
    SoundOn = true;
    MusicOn = false;
    int backMode = 0;
    ReadProgramSettings(ini, backMode);
    QCOMPARE(Tongue, 1);
    QCOMPARE(SoundOn, false);
    QCOMPARE(MusicOn, true);
    QCOMPARE(backMode, 4);
    QCOMPARE(ReadStoredTongue(ini), 1);
    QVERIFY(store_.errors.isEmpty());
}

void TestIniCtrl::stringsKeepTheirText()
{
    // Texts the ini syntax treats specially must come back exactly.
    const QStringList texts = {
        QStringLiteral("200,0,1,10,20,710,500"),
        QString::fromUtf8("  Jürgen ; \"quoted\" = \\ x  "),
        QStringLiteral("@Variant(not really)"),
        QString(),
    };
    TIniCtrl ini;
    for (const QString& text : texts) {
        ini.WriteString(CommonSection(), QStringLiteral("player"), text);
        QCOMPARE(ini.ReadString(CommonSection(), QStringLiteral("player"), QStringLiteral("default")), text);
    }
}

void TestIniCtrl::everyOperationSeesTheCurrentStore()
{
    TIniCtrl ini;
    TIniCtrl other;
    ini.WriteInteger(CommonSection(), QStringLiteral("tongue"), 1);
    QCOMPARE(other.ReadInteger(CommonSection(), QStringLiteral("tongue"), -1), 1);

    // A change made behind its back is seen at once. (The file is told
    // apart by size and time stamp; a same-size rewrite within the same
    // time stamp tick would go unnoticed, hence the longer value here.)
    store_.WriteFile("[common]\ntongue=10\n");
    QCOMPARE(ini.ReadInteger(CommonSection(), QStringLiteral("tongue"), -1), 10);

    other.DeleteKey(CommonSection(), QStringLiteral("tongue"));
    QCOMPARE(ini.ReadInteger(CommonSection(), QStringLiteral("tongue"), -1), -1);
}

void TestIniCtrl::unknownValuesSurviveWritesAndDeletes()
{
    store_.WriteFile("[common]\nhs3=abc\nfuture=keep me\nsound=1\n[elsewhere]\nx=y\n");
    TIniCtrl ini;
    Tongue = 0;
    SoundOn = false;
    MusicOn = false;
    WriteProgramSettings(ini, 2);
    ini.DeleteKey(CommonSection(), QStringLiteral("sound"));
    ini.DeleteKey(CommonSection(), QStringLiteral("never there"));

    QCOMPARE(ini.ReadString(CommonSection(), QStringLiteral("future"), QString()), QStringLiteral("keep me"));
    QCOMPARE(ini.ReadString(CommonSection(), QStringLiteral("hs3"), QString()), QStringLiteral("abc"));
    QCOMPARE(ini.ReadString(QStringLiteral("elsewhere"), QStringLiteral("x"), QString()), QStringLiteral("y"));
    QCOMPARE(ini.ReadString(CommonSection(), QStringLiteral("sound"), QStringLiteral("gone")), QStringLiteral("gone"));
    QCOMPARE(ini.ReadInteger(CommonSection(), QStringLiteral("backmode"), -1), 2);
    QVERIFY(store_.errors.isEmpty());
}

void TestIniCtrl::hugeValueAndGarbageLinesDoNotStopAnything()
{
    const QByteArray huge(1024 * 1024, 'Z');
    store_.WriteFile("\x01\x02 no equals sign here\n"
                      "[common\n"
                      "===\n"
                      "[common]\n"
                      "player=" + huge + "\n"
                      "just words\n"
                      "tongue=1\n"
                      "odd=@Rect(1 2\n"
                      "MainForm=200,0,1,10,20,710,500\n"
                      "sound=0\n");
    TIniCtrl ini;
    QCOMPARE(ini.ReadInteger(CommonSection(), QStringLiteral("tongue"), -1), 1);
    QCOMPARE(ini.ReadBool(CommonSection(), QStringLiteral("sound"), true), false);
    QCOMPARE(ini.ReadString(CommonSection(), QStringLiteral("player"), QString()).size(), huge.size());
    // A typed value that is not text reads as missing.
    QCOMPARE(ini.ReadString(CommonSection(), QStringLiteral("odd"), QStringLiteral("def")), QStringLiteral("@Rect(1 2"));
    // A hand-written list without quotes still reads as its text.
    QCOMPARE(ini.ReadString(CommonSection(), QStringLiteral("MainForm"), QString()),
             QStringLiteral("200,0,1,10,20,710,500"));

    // Writing still works, is not reported as a failure, and keeps the rest.
    ini.WriteInteger(CommonSection(), QStringLiteral("backmode"), 5);
    QVERIFY2(store_.errors.isEmpty(), qPrintable(store_.errors.join(u'\n')));
    QCOMPARE(ini.ReadInteger(CommonSection(), QStringLiteral("backmode"), 0), 5);
    QCOMPARE(ini.ReadInteger(CommonSection(), QStringLiteral("tongue"), -1), 1);
    QCOMPARE(ini.ReadString(CommonSection(), QStringLiteral("player"), QString()), QString::fromLatin1(huge));
}

void TestIniCtrl::unwritableStoreReportsTheFirstFailureOnly()
{
    store_.BlockFolderWithFile();
    TIniCtrl ini;
    Tongue = 1;
    SoundOn = true;
    MusicOn = true;
    WriteProgramSettings(ini, 3);
    // Another component of the same run fails as well, and stays silent.
    TIniCtrl other;
    other.WriteString(CommonSection(), QStringLiteral("MainForm"), QStringLiteral("200,0,1,0,0,640,480"));
    other.DeleteKey(CommonSection(), QStringLiteral("MainFormFont"));

    // In the game's language (German here), naming the file.
    store_.CheckTold("gespeichert");

    // Reads of an unusable store are those of an empty one.
    int backMode = 6;
    ReadProgramSettings(ini, backMode);
    QCOMPARE(Tongue, -1);
    QCOMPARE(backMode, 0);
    QCOMPARE(store_.errors.size(), 1);

    // The next run is told again.
    TIniCtrl::ResetFailureNotice();
    ini.WriteInteger(CommonSection(), QStringLiteral("backmode"), 2);
    store_.CheckTold("saved", 2);
}

void TestIniCtrl::readOnlyFolderStillReads()
{
    TIniCtrl ini;
    ini.WriteInteger(CommonSection(), QStringLiteral("tongue"), 1);
    ini.WriteString(CommonSection(), QStringLiteral("MainFormFont"), QStringLiteral("x"));
    if (!store_.MakeFolderReadOnly())
        QSKIP("this user can write into read-only folders");

    ini.WriteInteger(CommonSection(), QStringLiteral("tongue"), 0);
    ini.DeleteKey(CommonSection(), QStringLiteral("MainFormFont"));
    store_.CheckTold("saved");
    // Reads show what is stored, not the changes that could not be written.
    QCOMPARE(ini.ReadInteger(CommonSection(), QStringLiteral("tongue"), -1), 1);
    QCOMPARE(ini.ReadString(CommonSection(), QStringLiteral("MainFormFont"), QString()), QStringLiteral("x"));
}

void TestIniCtrl::severalValuesAreWrittenAllOrNone()
{
    TIniCtrl ini;
    ini.WriteStrings(CommonSection(), {{QStringLiteral("player"), QStringLiteral("Anna")},
                                       {QStringLiteral("hs0"), QStringLiteral("one")},
                                       {QStringLiteral("hs1"), QStringLiteral("two")}});
    QCOMPARE(ini.ReadString(CommonSection(), QStringLiteral("player"), QString()), QStringLiteral("Anna"));
    QCOMPARE(ini.ReadString(CommonSection(), QStringLiteral("hs1"), QString()), QStringLiteral("two"));
    QVERIFY(store_.errors.isEmpty());

    // A read-only folder keeps the old values; where the user may write
    // anyway (root), a file in place of the folder leaves none at all.
    const bool readOnly = store_.MakeFolderReadOnly();
    if (!readOnly) {
        store_.Reset();
        store_.BlockFolderWithFile();
    }
    ini.WriteStrings(CommonSection(), {{QStringLiteral("player"), QStringLiteral("Bert")},
                                       {QStringLiteral("hs0"), QStringLiteral("uno")},
                                       {QStringLiteral("hs2"), QStringLiteral("new")}});
    // Nothing of a failed write shows, not even the values that were new,
    // and the failure is told once.
    const QString none = QStringLiteral("none");
    QCOMPARE(ini.ReadString(CommonSection(), QStringLiteral("player"), none), readOnly ? QStringLiteral("Anna") : none);
    QCOMPARE(ini.ReadString(CommonSection(), QStringLiteral("hs0"), none), readOnly ? QStringLiteral("one") : none);
    QCOMPARE(ini.ReadString(CommonSection(), QStringLiteral("hs2"), none), none);
    store_.CheckTold("saved");
}

void TestIniCtrl::storeThatIsNoPlainFile_data()
{
    QTest::addColumn<QString>("place"); // the store itself or its lock
    QTest::addColumn<QString>("kind");
#ifdef Q_OS_UNIX // FIFOs and devices as files: POSIX only
    for (const char* kind : {"FIFO", "device link"})
        QTest::addRow("store: %s", kind) << QStringLiteral("store") << QString::fromLatin1(kind);
    QTest::addRow("lock: FIFO") << QStringLiteral("lock") << QStringLiteral("FIFO");
#endif
    for (const char* kind : {"directory", "sparse 30 GB"})
        QTest::addRow("store: %s", kind) << QStringLiteral("store") << QString::fromLatin1(kind);
    for (const char* kind : {"directory", "dangling link", "sparse 30 GB"})
        QTest::addRow("lock: %s", kind) << QStringLiteral("lock") << QString::fromLatin1(kind);
}

void TestIniCtrl::storeThatIsNoPlainFile()
{
    QFETCH(QString, place);
    QFETCH(QString, kind);
    const bool lock = place == u"lock";
    if (lock) // a good store beside the bad lock: it is not touched either
        store_.WriteFile("[common]\ntongue=1\nsound=0\n");
    const QString path = lock ? store_.File() + QStringLiteral(".lock") : store_.File();
    MakeInPlace(path, kind);
    const QString before = Describe(path);
    const QByteArray storeBefore = lock ? store_.ReadFile() : QByteArray();

    const Watchdog watchdog(qPrintable(QStringLiteral("the store with a %1 as its %2").arg(kind, place)));
    TIniCtrl ini;
    Tongue = 5;
    SoundOn = false;
    int backMode = 3;
    ReadProgramSettings(ini, backMode);
    QCOMPARE(Tongue, -1);
    QCOMPARE(SoundOn, true);
    QCOMPARE(backMode, 0);
    store_.CheckTold("cannot be read");

    // Writing at the close, and a high-score entry, fail without a word more.
    WriteProgramSettings(ini, 2);
    ini.DeleteKey(CommonSection(), QStringLiteral("MainFormFont"));
    QStringList seen;
    ini.UpdateStrings(CommonSection(), {QStringLiteral("player"), QStringLiteral("hs0")},
                      [&](const QStringList& stored) {
                          seen = stored;
                          return QList<std::pair<QString, QString>>{{QStringLiteral("hs0"), QStringLiteral("x")}};
                      });
    QCOMPARE(seen, QStringList({QString(), QString()}));
    store_.CheckTold("cannot be read");
    QCOMPARE(Describe(path), before);
    if (lock)
        QCOMPARE(store_.ReadFile(), storeBefore);
}

void TestIniCtrl::binaryValueIsPassedOver_data()
{
    // A line that the store's reader would decode as binary data; the list
    // of 2^31 strings it announces cannot be allocated.
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("binary");
    const QByteArray payload = "\\0\\0\\0\\xb\\x7f\\xff\\xff\\xff)";
    QTest::newRow("plain") << "hs3=@Variant(" + payload << true;
    QTest::newRow("date form") << QByteArray("hs3=@DateTime(\\0\\0\\0\\x10)") << true;
    QTest::newRow("quoted in parts") << "hs3=  \"@Var\"\"iant(\"" + payload << true;
    QTest::newRow("escaped at sign") << "hs3=\\x40Variant(" + payload << true;
    QTest::newRow("octal at sign") << "hs3=\\100Variant(" + payload << true;
    QTest::newRow("second list element") << "hs3=1, @Variant(" + payload << true;
    QTest::newRow("continued line") << "hs3=1,\\\n@Variant(" + payload << true;
    QTest::newRow("another section") << "[elsewhere]\nx=@Variant(" + payload << true;
    // Texts the game may well have stored, and must go on reading.
    QTest::newRow("doubled at sign") << "player=@@Variant(" + payload << false;
    QTest::newRow("quoted comma") << QByteArray("hs3=\"xY,@Variant(1)\"") << false;
    QTest::newRow("inside a text") << QByteArray("player=Bob@Variant(1)") << false;
    QTest::newRow("comment") << QByteArray("; x=@Variant(1)") << false;
    QTest::newRow("escaped comma") << QByteArray("hs3=a\\,@Variant(1)") << false;
}

void TestIniCtrl::binaryValueIsPassedOver()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, binary);
    const QByteArray content = "[common]\ntongue=1\n" + line + "\n[common]\nsound=0\n";
    store_.WriteFile(content);

    TIniCtrl ini;
    int backMode = 3;
    ReadProgramSettings(ini, backMode);
    // The rest of the store is read either way.
    QCOMPARE(Tongue, 1);
    QCOMPARE(SoundOn, false);
    WriteProgramSettings(ini, 2);
    if (binary) {
        // Told once, in the stored language; the file stays as it was, for
        // the player to mend.
        store_.CheckTold("nicht sicher lesen");
        QCOMPARE(store_.ReadFile(), content);
        // An update is refused too, and always told.
        const bool stored = ini.UpdateStrings(
            CommonSection(), {QStringLiteral("hs0")},
            [](const QStringList&) { return QList<std::pair<QString, QString>>{{QStringLiteral("hs0"), QStringLiteral("x")}}; },
            [](const QString& file) { return QStringLiteral("not stored in ") + file; });
        QVERIFY(!stored);
        store_.CheckTold("not stored", 2);
        QCOMPARE(store_.ReadFile(), content);
    } else {
        QVERIFY2(store_.errors.isEmpty(), qPrintable(store_.errors.join(u'\n')));
        QCOMPARE(ini.ReadInteger(CommonSection(), QStringLiteral("backmode"), -1), 2);
    }
}

void TestIniCtrl::staleLocksDoNotHoldUpAWrite_data()
{
    // Either lock left behind: empty (a kill between creating and filling
    // it), or naming a live process of this program on this host. A copy in
    // a sandbox (a PID namespace of its own) runs under the same small
    // number every time, so it finds its killed predecessor's lock naming
    // itself; the lock library takes that for a live holder.
    QTest::addColumn<QString>("lock");
    QTest::addColumn<bool>("empty");
    for (const char* lock : {".lock", ".update.lock"}) {
        QTest::addRow("%s empty", lock) << QString::fromLatin1(lock) << true;
        QTest::addRow("%s of a live process", lock) << QString::fromLatin1(lock) << false;
    }
}

void TestIniCtrl::staleLocksDoNotHoldUpAWrite()
{
    QFETCH(QString, lock);
    QFETCH(bool, empty);
    TIniCtrl ini;
    ini.WriteString(CommonSection(), QStringLiteral("hs0"), QStringLiteral("old"));
    const QString lockPath = store_.File() + lock;
    QByteArray content;
    if (!empty) {
        // What a live lock of this process holds.
        QLockFile sample(lockPath);
        QVERIFY(sample.tryLock());
        QFile file(lockPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        content = file.readAll();
        sample.unlock();
    }
    QFile file(lockPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    QElapsedTimer clock;
    clock.start();
    const Watchdog watchdog("a write behind a stale lock", std::chrono::seconds(60));
    const bool stored = ini.UpdateStrings(CommonSection(), {QStringLiteral("hs0")}, [](const QStringList& stored) {
        return QList<std::pair<QString, QString>>{{QStringLiteral("hs0"), stored.first() + QStringLiteral("+new")}};
    });
    ini.WriteString(CommonSection(), QStringLiteral("player"), QStringLiteral("Anna"));
    // Generous against the library's half a minute; the promise is 3 s each.
    QVERIFY2(clock.elapsed() < 10000, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
    QVERIFY(stored);
    QCOMPARE(ini.ReadString(CommonSection(), QStringLiteral("hs0"), QString()), QStringLiteral("old+new"));
    QCOMPARE(ini.ReadString(CommonSection(), QStringLiteral("player"), QString()), QStringLiteral("Anna"));
    QVERIFY(store_.errors.isEmpty());
}

void TestIniCtrl::updateDoesNotWaitForeverForAnotherCopy_data()
{
    QTest::addColumn<QString>("lock");
    QTest::newRow("held by another copy") << QStringLiteral("held");
    QTest::newRow("a directory") << QStringLiteral("directory");
}

void TestIniCtrl::updateDoesNotWaitForeverForAnotherCopy()
{
    QFETCH(QString, lock);
    TIniCtrl ini;
    ini.WriteString(CommonSection(), QStringLiteral("hs0"), QStringLiteral("old"));
    const QString lockPath = store_.File() + QStringLiteral(".update.lock");
    // Held by this process under another lock object: never stale, so only
    // the time limit ends the wait.
    QLockFile other(lockPath);
    if (lock == u"held")
        QVERIFY(other.tryLock());
    else
        MakeInPlace(lockPath, QStringLiteral("directory"));

    const Watchdog watchdog("an update behind a lock that is never given up");
    ini.UpdateStrings(CommonSection(), {QStringLiteral("hs0")}, [](const QStringList& stored) {
        return QList<std::pair<QString, QString>>{{QStringLiteral("hs0"), stored.first() + QStringLiteral("+new")}};
    });
    QCOMPARE(ini.ReadString(CommonSection(), QStringLiteral("hs0"), QString()), QStringLiteral("old+new"));
    QVERIFY(store_.errors.isEmpty());
}

QTEST_GUILESS_MAIN(TestIniCtrl)
#include "test_inictrl.moc"
