// The settings store on a full disk: a small file system of its own (tmpfs,
// mounted in a mount namespace of this test alone) and filled up. A new high
// score's OK tells the player, in the game's language and naming the file,
// that the table could not be stored; the store keeps its old content whole.
//
// The test runs itself again inside the namespace, with TANGRIX_FULL_STORE
// naming the mounted folder, which runs storeOnFullDisk() alone.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

#include "assets/DlgRes.h"
#include "cipher/qt/ChiffreQString.h"
#include "settings/ErrorReport.h"
#include "settings/Globals.h"
#include "settings/TIniCtrl.h"
#include "ui/HighscoreTable.h"
#include "ui/highscor.h"

namespace {
const char* const FolderVariable = "TANGRIX_FULL_STORE";
}

class FullStoreTest : public QObject {
    Q_OBJECT

private slots:
    void fullDiskIsToldAtOk();
    void storeOnFullDisk();
};

void FullStoreTest::fullDiskIsToldAtOk()
{
    if (qEnvironmentVariableIsSet(FolderVariable))
        QSKIP("runs in the first process only");
    // As root a mount namespace is enough; otherwise a user namespace in
    // which the user is root.
    QStringList unshare;
    if (geteuid() != 0)
        unshare << QStringLiteral("--user") << QStringLiteral("--map-root-user");
    unshare << QStringLiteral("--mount") << QStringLiteral("--propagation") << QStringLiteral("private");
    QProcess probe;
    probe.setProcessChannelMode(QProcess::MergedChannels);
    probe.start(QStringLiteral("unshare"), unshare + QStringList{QStringLiteral("true")});
    if (!probe.waitForFinished(30000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0) {
        const QByteArray why = "no mount namespace for a small file system: " + probe.readAll();
        // CI must try everything; elsewhere the reason is shown.
        if (qEnvironmentVariableIsSet("CI"))
            QFAIL(why.constData());
        QSKIP(why.constData());
    }

    QTemporaryDir mountPoint;
    QVERIFY(mountPoint.isValid());
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(FolderVariable), mountPoint.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QStringLiteral("unshare"),
                unshare + QStringList{QStringLiteral("--"), QStringLiteral("sh"), QStringLiteral("-c"),
                                      QStringLiteral("mount -t tmpfs -o size=64k tangrix-full \"$0\" && exec \"$1\" "
                                                     "storeOnFullDisk"),
                                      mountPoint.path(), QCoreApplication::applicationFilePath()});
    QVERIFY(child.waitForFinished(120000));
    const QByteArray output = child.readAll();
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output.constData());
    QVERIFY2(output.contains("PASS   : FullStoreTest::storeOnFullDisk()"), output.constData());
}

void FullStoreTest::storeOnFullDisk()
{
    const QString home = qEnvironmentVariable(FolderVariable);
    if (home.isEmpty())
        QSKIP("runs only inside the mount namespace");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home));
    ScoreCipher.Init(std::u32string(), 0);
    TIniCtrl ini;
    const QString storeFile = ini.StoreLocation();
    QVERIFY(QDir().mkpath(QFileInfo(storeFile).path()));
    const QByteArray before = "[common]\ntongue=1\nplayer=Anna\nhs0="
        + Encipher(ScoreCipher, HighscoreTable::FormatEntry({QStringLiteral("Anna"), 900})).toUtf8() + "\n";
    {
        QFile store(storeFile);
        QVERIFY(store.open(QIODevice::WriteOnly));
        QCOMPARE(store.write(before), before.size());
    }
    // Every block of the small file system taken.
    {
        QFile filler(home + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
        QFile probe(home + QStringLiteral("/probe"));
        QVERIFY(probe.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        QVERIFY2(probe.write(block) <= 0, "the file system is not full");
        probe.remove();
    }

    QStringList errors;
    SetErrorReporter([&errors](const QString& message) { errors << message; });
    Tongue = 1;
    DlgResources = new TDlgResources;
    {
        THighscoreDlg table(ini, nullptr);
        QTimer::singleShot(0, &table, [&table] {
            table.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("Bert"));
            table.OkBtnClick();
        });
        table.ShowModal(1000, false);
    }
    delete DlgResources;
    DlgResources = nullptr;

    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(QStringLiteral("Bestenliste")) && errors.first().contains(storeFile),
             qPrintable(errors.first()));
    QFile store(storeFile);
    QVERIFY(store.open(QIODevice::ReadOnly));
    QCOMPARE(store.readAll(), before);
}

QTEST_MAIN(FullStoreTest)
#include "test_full_store.moc"
