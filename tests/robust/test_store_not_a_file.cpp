// The game with something in place of its settings store that a reader would
// block on or drown in: a FIFO, a link to a device, a sparse file of 30 GB,
// or a directory where the store's lock belongs. The game starts with its
// defaults, plays, closes and saves its placement without blocking, tells the
// player once, and leaves the thing where it was.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

#include <sys/stat.h>

#include "assets/DlgRes.h"
#include "game/mainform/main.h"
#include "settings/Globals.h"
#include "settings/TIniCtrl.h"
#include "tests/game/FakeServices.h"
#include "tests/robust/ZeroDevice.h"
#include "tests/robust/Watchdog.h"
#include "settings/ErrorReport.h"
#include "ui/highscor.h"

class StoreNotAFileTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void startPlayAndClose_data();
    void startPlayAndClose();

private:
    QString store_;
};

void StoreNotAFileTest::initTestCase()
{
    store_ = TIniCtrl().StoreLocation();
    DlgResources = new TDlgResources;
}

void StoreNotAFileTest::cleanupTestCase()
{
    delete DlgResources;
    DlgResources = nullptr;
}

void StoreNotAFileTest::cleanup()
{
    QDir(QFileInfo(store_).path()).removeRecursively();
    TIniCtrl::ResetFailureNotice();
}

void StoreNotAFileTest::startPlayAndClose_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO as the store") << QStringLiteral("fifo");
    QTest::newRow("link to a device as the store") << QStringLiteral("device");
    QTest::newRow("sparse 30 GB store") << QStringLiteral("sparse");
    QTest::newRow("directory as the lock") << QStringLiteral("lock");
}

void StoreNotAFileTest::startPlayAndClose()
{
    QFETCH(QString, kind);
    QVERIFY(QDir().mkpath(QFileInfo(store_).path()));
    QString path = store_;
    if (kind == u"fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == u"device") {
        QVERIFY(QFile::link(ZeroDevice(QFileInfo(path).path()), path));
    } else if (kind == u"sparse") {
        QFile sparse(path);
        QVERIFY(sparse.open(QIODevice::WriteOnly));
        QVERIFY(sparse.resize(qint64(30) << 30));
    } else {
        QFile good(path);
        QVERIFY(good.open(QIODevice::WriteOnly));
        good.write("[common]\ntongue=1\nbackmode=4\n");
        path += QStringLiteral(".lock");
        QVERIFY(QDir().mkdir(path));
    }
    const QFileInfo before(path);

    QStringList errors;
    SetErrorReporter([&errors](const QString& message) { errors << message; });
    FakeServices services;
    services.chooseLanguage = [] { Tongue = 0; };
    {
        const Watchdog watchdog(qPrintable(QStringLiteral("start and close with %1").arg(kind)));
        auto form = std::make_unique<Tmainform>(services, std::make_unique<UniformRandom>(5));
        form->RestorePlacement();
        form->show();
        form->Timer.stop();
        form->FormShow();
        // The defaults: the language is asked, the first background.
        QCOMPARE(services.languageAsked, 1);
        QCOMPARE(form->BackMode(), 0);
        QVERIFY(SoundOn);

        const BoardGeometry& g = form->Painter().Geometry();
        form->boxMouseDown(Qt::LeftButton, g.PreviewLeft + g.CellSize, g.PreviewTop + g.CellSize);
        QVERIFY(form->Game().InHand());

        // A result goes into the table; it cannot be stored.
        THighscoreDlg table(form->ini, form.get());
        QTimer::singleShot(0, &table, [&table] { table.OkBtnClick(); });
        table.ShowModal(300, false);

        form->Leave();
        form->hide();
    } // the placement is saved as the window goes
    SetErrorReporter({});

    // Told at the start, and at OK that the result was not stored; each
    // names the file.
    QCOMPARE(errors.size(), 2);
    QVERIFY2(errors[0].contains(QStringLiteral("cannot be read")), qPrintable(errors[0]));
    QVERIFY2(errors[1].contains(QStringLiteral("high-score table")), qPrintable(errors[1]));
    for (const QString& error : errors)
        QVERIFY2(error.contains(store_), qPrintable(error));
    const QFileInfo after(path);
    QCOMPARE(after.isSymLink(), before.isSymLink());
    QCOMPARE(after.isDir(), before.isDir());
    QCOMPARE(after.isFile(), before.isFile());
    QCOMPARE(after.size(), before.size());
}

QTEST_MAIN(StoreNotAFileTest)
#include "test_store_not_a_file.moc"
