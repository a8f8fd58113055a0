// Where the program looks for its help file and music, for the places a
// game can run from: an installed tree, a build tree, a portable copy.
#include <QTemporaryDir>
#include <QtTest>

#include "settings/DataLocation.h"

class DataLocationTest : public QObject {
    Q_OBJECT

private slots:
    void findsTheDataOfEachLayout_data()
    {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("data");
        // Folders and files made under a scratch root; program and data relative to it.
        QTest::newRow("system package") << QStringList{"usr/games", "usr/share/tangrix"} << QStringList{}
                                        << "usr/games/" << "usr/share/tangrix/";
        QTest::newRow("user prefix, bin") << QStringList{"bin", "share/tangrix"} << QStringList{} << "bin/"
                                          << "share/tangrix/";
        QTest::newRow("build tree") << QStringList{"build/bin"} << QStringList{} << "build/bin/" << "build/bin/";
        QTest::newRow("portable copy beside other games' data")
            << QStringList{"games/tangrix", "games/share/other"} << QStringList{} << "games/tangrix/"
            << "games/tangrix/";
        QTest::newRow("share/tangrix a file") << QStringList{"usr/games", "usr/share"}
                                              << QStringList{"usr/share/tangrix"} << "usr/games/" << "usr/games/";
    }

    void findsTheDataOfEachLayout()
    {
        QFETCH(QStringList, folders);
        QFETCH(QStringList, files);
        QFETCH(QString, program);
        QFETCH(QString, data);
        QTemporaryDir root;
        QVERIFY(root.isValid());
        for (const QString& folder : folders)
            QVERIFY(QDir(root.path()).mkpath(folder));
        for (const QString& file : files) {
            QFile f(root.filePath(file));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const QString base = root.path() + u'/';
        QCOMPARE(DataDirFor(base + program), base + data);
    }

    // A folder name the locale cannot decode comes back from the system as
    // nothing, or as a name with replacement characters that leads nowhere:
    // never a folder to look in (before, an empty one became '/').
    void programFolderOnlyWhenItExists_data()
    {
        QTest::addColumn<QString>("reported"); // "<scratch>" stands for an existing folder
        QTest::addColumn<QString>("folder");   // empty: none
        QTest::newRow("existing") << "<scratch>" << "<scratch>/";
        QTest::newRow("root") << "/" << "/";
        QTest::newRow("nothing") << "" << "";
        QTest::newRow("relative") << "." << "";
        QTest::newRow("undecodable name") << QString::fromUtf8("<scratch>/sp\xef\xbf\xbdle") << "";
    }

    void programFolderOnlyWhenItExists()
    {
        QFETCH(QString, reported);
        QFETCH(QString, folder);
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        reported.replace(QStringLiteral("<scratch>"), scratch.path());
        folder.replace(QStringLiteral("<scratch>"), scratch.path());
        const std::optional<QString> found = ProgramDirFrom(reported);
        QCOMPARE(found.value_or(QString()), folder);
        QCOMPARE(found.has_value(), !folder.isEmpty());
    }
};

QTEST_GUILESS_MAIN(DataLocationTest)
#include "test_datalocation.moc"
