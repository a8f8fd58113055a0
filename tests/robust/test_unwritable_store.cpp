// The game with a settings store it cannot write: a configuration folder that
// cannot be created (a file stands where it belongs, which stops root too)
// and a read-only one (checked as an ordinary user: run as root, the check
// runs itself again as "nobody"). The game starts, reads what it can, plays,
// takes a high score, closes, and tells the player once that the settings
// could not be saved.
//
// The store's folder is looked up once per process, so every case runs in a
// process of its own: this program started again with TANGRIX_STORE_CASE set,
// which runs playWithoutStore() alone.
#include <QDir>
#include <QScopeGuard>
#include <QFile>
#include <QLineEdit>
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
    void readOnlyFolder();
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

void UnwritableStoreTest::readOnlyFolder()
{
    if (qEnvironmentVariableIsSet(CaseVariable))
        QSKIP("runs in the first process only");
    // Root writes into read-only folders; an ordinary user is needed.
    const bool root = geteuid() == 0;
    if (root && QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        QSKIP("running as root, and setpriv is missing to run as another user");
    CheckCase(QStringLiteral("read-only"), root);
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
    const bool readOnly = storeCase == QStringLiteral("read-only");
    if (readOnly) {
        // A store that was written once and can still be read.
        const QString folder = home.path() + QStringLiteral("/Orvane");
        QVERIFY(QDir().mkpath(folder));
        QFile store(folder + QStringLiteral("/Tangrix V2.conf"));
        QVERIFY(store.open(QIODevice::WriteOnly));
        store.write("[common]\ntongue=1\nbackmode=3\nsound=0\n");
        store.close();
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
        // Writable again at the end, so that the folder can be removed.
        unlock = [folder] { QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); };
        QVERIFY(QFile::setPermissions(store.fileName(), QFile::ReadOwner | QFile::ReadOther));
        QVERIFY2(!QFile(folder + QStringLiteral("/probe")).open(QIODevice::WriteOnly), "the folder is writable");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    } else {
        QFile blocker(home.path() + QStringLiteral("/blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(blocker.fileName() + QStringLiteral("/config")));
    }
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
        // What could be read is used.
        QCOMPARE(form->BackMode(), readOnly ? 3 : 0);
        QCOMPARE(SoundOn, !readOnly);
        QCOMPARE(Tongue, readOnly ? 1 : 0);
        QCOMPARE(services.languageAsked, readOnly ? 0 : 1);

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

        // A high score taken with OK: sixteen values that cannot be stored.
        THighscoreDlg table(form->ini, form.get());
        QTimer::singleShot(0, &table, [&table] {
            table.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("Anna"));
            table.OkBtnClick();
        });
        table.ShowModal(500, false);
        QCOMPARE(table.Table().Row(0).Name, QStringLiteral("Anna"));

        // Closing writes the settings and the window's placement.
        form->Leave();
        form->hide();
    }
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().startsWith(QString::fromUtf8("Fehler beim Setzen der Daten für")), qPrintable(errors.first()));

    // Nothing was written, and the game found nothing wrong with that.
    if (readOnly)
        QCOMPARE(QDir(home.path() + QStringLiteral("/Orvane")).entryList(QDir::Files),
                 QStringList{QStringLiteral("Tangrix V2.conf")});
    delete DlgResources;
    DlgResources = nullptr;
}

QTEST_MAIN(UnwritableStoreTest)
#include "test_unwritable_store.moc"
