// The game with a settings store it cannot write: a configuration folder that
// cannot be created (a file stands where it belongs, which stops root too)
// and a read-only one; and with one it cannot read: a file or a folder this
// user may not read (checked as an ordinary user: run as root, the check runs
// itself again as "nobody"). The game starts, reads what it can, tells at the
// start what it cannot read, plays, and tells at the high score's OK that the
// entry could not be stored; the close adds no further word.
//
// The store's folder is looked up once per process, so every case runs in a
// process of its own: this program started again with TANGRIX_STORE_CASE set,
// which runs playWithoutStore() alone.
#include <QDir>
#include <QScopeGuard>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

#include <unistd.h>

#include "assets/DlgRes.h"
#include "game/mainform/main.h"
#include "settings/Globals.h"
#include "tests/game/FakeServices.h"
#include "settings/ErrorReport.h"
#include "ui/highscor.h"

namespace {

const char* const CaseVariable = "TANGRIX_STORE_CASE";

// Runs this program again for one case; gives its exit code and output.
int RunCase(const QString& storeCase, bool asNobody, QByteArray& output)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(CaseVariable), storeCase);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    const QString self = QCoreApplication::applicationFilePath();
    if (asNobody)
        child.start(QStringLiteral("setpriv"), {QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                                                QStringLiteral("--clear-groups"), self,
                                                QStringLiteral("playWithoutStore")});
    else
        child.start(self, {QStringLiteral("playWithoutStore")});
    if (!child.waitForFinished(300000))
        return -1;
    output = child.readAll();
    return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
}

} // namespace

class UnwritableStoreTest : public QObject {
    Q_OBJECT

private slots:
    void folderThatCannotBeCreated();
    void notForThisUser_data();
    void notForThisUser();
    void playWithoutStore();

private:
    void CheckCase(const QString& storeCase, bool asNobody);
};

void UnwritableStoreTest::CheckCase(const QString& storeCase, bool asNobody)
{
    QByteArray output;
    const int exitCode = RunCase(storeCase, asNobody, output);
    QVERIFY2(exitCode == 0, output.constData());
    QVERIFY2(output.contains("PASS   : UnwritableStoreTest::playWithoutStore()"), output.constData());
}

void UnwritableStoreTest::folderThatCannotBeCreated()
{
    if (qEnvironmentVariableIsSet(CaseVariable))
        QSKIP("runs in the first process only");
    CheckCase(QStringLiteral("blocked"), false);
}

void UnwritableStoreTest::notForThisUser_data()
{
    QTest::addColumn<QString>("storeCase");
    QTest::newRow("read-only folder") << QStringLiteral("read-only");
    QTest::newRow("unreadable file") << QStringLiteral("unreadable file");
    QTest::newRow("folder not to be looked into") << QStringLiteral("hidden folder");
}

void UnwritableStoreTest::notForThisUser()
{
    QFETCH(QString, storeCase);
    if (qEnvironmentVariableIsSet(CaseVariable))
        QSKIP("runs in the first process only");
    // Root reads and writes everything; an ordinary user is needed.
    const bool root = geteuid() == 0;
    if (root && QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        QSKIP("running as root, and setpriv is missing to run as another user");
    CheckCase(storeCase, root);
}

void UnwritableStoreTest::playWithoutStore()
{
    const QString storeCase = qEnvironmentVariable(CaseVariable);
    if (storeCase.isEmpty())
        QSKIP("runs only in a process started for one case");

    QTemporaryDir home;
    QVERIFY(home.isValid());
    std::function<void()> unlock = [] {};
    const auto restore = qScopeGuard([&unlock] { unlock(); });
    // Which permissions the store's folder and file end with.
    struct Locked {
        QFile::Permissions folder;
        QFile::Permissions file;
    };
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
    const QMap<QString, Locked> lockedCases = {
        {QStringLiteral("read-only"), {readOnly, QFile::ReadOwner | QFile::ReadOther}},
        {QStringLiteral("unreadable file"), {QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner, {}}},
        {QStringLiteral("hidden folder"), {{}, QFile::ReadOwner | QFile::WriteOwner}},
    };
    const bool readable = storeCase == QStringLiteral("read-only");
    const QString folder = home.path() + QStringLiteral("/Orvane");
    const QString storeFile = folder + QStringLiteral("/Tangrix V2.conf");
    if (lockedCases.contains(storeCase)) {
        // A store that was written once.
        QVERIFY(QDir().mkpath(folder));
        QFile store(storeFile);
        QVERIFY(store.open(QIODevice::WriteOnly));
        store.write("[common]\ntongue=1\nbackmode=3\nsound=0\n");
        store.close();
        const Locked locked = lockedCases.value(storeCase);
        QVERIFY(QFile::setPermissions(store.fileName(), locked.file));
        QVERIFY(QFile::setPermissions(folder, locked.folder));
        // Open again at the end, so that the folder can be removed.
        unlock = [folder] { QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); };
        if (readable)
            QVERIFY2(!QFile(folder + QStringLiteral("/probe")).open(QIODevice::WriteOnly), "the folder is writable");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    } else {
        QFile blocker(home.path() + QStringLiteral("/blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(blocker.fileName() + QStringLiteral("/config")));
    }
    const bool toldAtStart = !readable && storeCase != QStringLiteral("blocked");
    QStringList errors;
    SetErrorReporter([&errors](const QString& message) { errors << message; });

    DlgResources = new TDlgResources;
    FakeServices services;
    services.chooseLanguage = [] { Tongue = 0; };
    {
        auto form = std::make_unique<Tmainform>(services, std::make_unique<UniformRandom>(7));
        form->show();
        form->Timer.stop();
        form->FormShow();
        // What could be read is used; what could not is told now, naming the file.
        QCOMPARE(form->BackMode(), readable ? 3 : 0);
        QCOMPARE(SoundOn, !readable);
        QCOMPARE(Tongue, readable ? 1 : 0);
        QCOMPARE(services.languageAsked, readable ? 0 : 1);
        QCOMPARE(errors.size(), toldAtStart ? 1 : 0);
        if (toldAtStart)
            QVERIFY2(errors.first().contains(storeFile) && errors.first().contains(QStringLiteral("cannot be read")),
                     qPrintable(errors.first()));

        // Some play: take the tile, throw it away, take the next.
        const BoardGeometry& g = form->Painter().Geometry();
        form->boxMouseDown(Qt::LeftButton, g.PreviewLeft + g.CellSize, g.PreviewTop + g.CellSize);
        QVERIFY(form->Game().InHand());
        form->boxMouseDown(Qt::LeftButton, g.PreviewLeft + g.CellSize, g.PreviewTop + 4 * g.CellSize);
        form->FinishAnimation();
        QCOMPARE(form->Game().Score(), -10);
        form->boxMouseDown(Qt::RightButton, g.PreviewLeft + g.CellSize, g.PreviewTop + g.CellSize);
        QVERIFY(form->Game().InHand());
        for (int tick = 0; tick < 10; ++tick)
            form->TimerTimer();

        // A high score taken with OK: told at once, in the game's language.
        THighscoreDlg table(form->ini, form.get());
        QTimer::singleShot(0, &table, [&table] {
            table.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("Anna"));
            table.OkBtnClick();
        });
        table.ShowModal(500, false);
        QCOMPARE(table.Table().Row(0).Name, QStringLiteral("Anna"));
        QCOMPARE(errors.size(), toldAtStart ? 2 : 1);
        QVERIFY2(errors.last().contains(readable ? QStringLiteral("Bestenliste") : QStringLiteral("high-score table"))
                     && errors.last().contains(QStringLiteral("Tangrix V2.conf")),
                 qPrintable(errors.last()));

        // Closing writes the settings and the window's placement, and fails
        // without a further word.
        form->Leave();
        form->hide();
    }
    QCOMPARE(errors.size(), toldAtStart ? 2 : 1);

    // Nothing was written, and the game found nothing wrong with that.
    unlock();
    if (storeCase != QStringLiteral("blocked")) {
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("Tangrix V2.conf")});
        QFile::setPermissions(storeFile, QFile::ReadOwner);
        QFile store(storeFile);
        QVERIFY(store.open(QIODevice::ReadOnly));
        QCOMPARE(store.readAll(), QByteArray("[common]\ntongue=1\nbackmode=3\nsound=0\n"));
    }
    delete DlgResources;
    DlgResources = nullptr;
}

QTEST_MAIN(UnwritableStoreTest)
#include "test_unwritable_store.moc"
