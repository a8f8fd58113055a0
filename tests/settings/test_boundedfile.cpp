// Files beside the program as disks and players leave them: every kind that
// must be refused is refused at once, without blocking and without reading
// more than the limit.
#include <QTemporaryDir>
#include <QtTest>

#include "settings/BoundedFile.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr qint64 Limit = 1024;

void Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

class BoundedFileTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    QString At(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        Write(At("small"), "hello");
        Write(At("exact"), QByteArray(Limit, 'x'));
        Write(At("over"), QByteArray(Limit + 1, 'x'));
        // A sparse file far larger than memory: reading it whole would abort.
        QFile sparse(At("sparse"));
        QVERIFY(sparse.open(QIODevice::WriteOnly));
        QVERIFY(sparse.resize(qint64(30) << 30));
        sparse.close();
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        QCOMPARE(::mkfifo(QFile::encodeName(At("fifo")).constData(), 0600), 0);
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), At("zero-link")));
        QVERIFY(QFile::link(At("fifo"), At("fifo-link")));
        QVERIFY(QFile::link(At("small"), At("small-link")));
        QVERIFY(QFile::link(At("gone"), At("dangling-link")));
    }

    void refusesWhatIsNotAPlainFileOfBoundedSize_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("read");
        QTest::addColumn<int>("refusal");
        const auto row = [](const char* name, FileKind kind, bool read, ReadRefusal refusal = ReadRefusal::Unreadable) {
            QTest::newRow(name) << QString::fromLatin1(name) << int(kind) << read << int(refusal);
        };
        row("small", FileKind::Regular, true);
        row("exact", FileKind::Regular, true);
        row("small-link", FileKind::Regular, true);
        row("over", FileKind::Regular, false, ReadRefusal::TooLarge);
        row("sparse", FileKind::Regular, false, ReadRefusal::TooLarge);
        row("folder", FileKind::Other, false, ReadRefusal::NotRegular);
        row("fifo", FileKind::Other, false, ReadRefusal::NotRegular);
        row("fifo-link", FileKind::Other, false, ReadRefusal::NotRegular);
        row("zero-link", FileKind::Other, false, ReadRefusal::NotRegular);
        row("dangling-link", FileKind::Missing, false, ReadRefusal::Missing);
        row("absent", FileKind::Missing, false, ReadRefusal::Missing);
    }
    void refusesWhatIsNotAPlainFileOfBoundedSize()
    {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QFETCH(bool, read);
        QFETCH(int, refusal);
        const QString path = dir.filePath(name);
        QCOMPARE(int(KindOf(path)), kind);
        const BoundedRead result = ReadRegularFile(path, Limit);
        QCOMPARE(result.data.has_value(), read);
        if (read)
            QCOMPARE(result.data->size(), QFileInfo(path).size());
        else
            QCOMPARE(int(result.refusal), refusal);
    }
};

QTEST_GUILESS_MAIN(BoundedFileTest)
#include "test_boundedfile.moc"
