// Where the music's sound font is found: the player's own fonts beside the
// program and in the music folder before the system's, the usual names first,
// and nothing that is not a font file.
#include "media/SoundFontSearch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSoundFontSearch : public QObject {
    Q_OBJECT
private slots:
    void findsTheFontInOrder_data()
    {
        QTest::addColumn<QStringList>("files"); // under program/, music/, system/
        QTest::addColumn<QString>("found");
        QTest::newRow("nothing anywhere") << QStringList{} << QString();
        QTest::newRow("beside the program before the music folder")
            << QStringList{"program/own.sf2", "music/TimGM6mb.sf2"} << "program/own.sf2";
        QTest::newRow("music folder before the system's")
            << QStringList{"music/mine.sf2", "system/default-GM.sf2"} << "music/mine.sf2";
        QTest::newRow("usual name before others in a folder")
            << QStringList{"program/aaa.sf2", "program/TimGM6mb.sf2"} << "program/TimGM6mb.sf2";
        QTest::newRow("sf2 before sf3, any case")
            << QStringList{"music/a.sf3", "music/b.SF2"} << "music/b.SF2";
        QTest::newRow("a folder named like a font is none")
            << QStringList{"program/dir.sf2/", "system/FluidR3_GM.sf2"} << "system/FluidR3_GM.sf2";
        QTest::newRow("system: usual names only")
            << QStringList{"system/piano.sf2"} << QString();
        QTest::newRow("system: in the usual order")
            << QStringList{"system/default-GM.sf3", "system/FluidR3_GM.sf2"} << "system/FluidR3_GM.sf2";
        QTest::newRow("other files are no fonts") << QStringList{"program/readme.txt", "music/a.mid"} << QString();
    }
    void findsTheFontInOrder()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, found);
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QDir dir(root.path());
        for (const char* folder : {"program", "music", "system"})
            QVERIFY(dir.mkpath(folder));
        for (const QString& file : files) {
            if (file.endsWith(u'/')) {
                QVERIFY(dir.mkpath(file));
                continue;
            }
            QFile font(dir.filePath(file));
            QVERIFY(font.open(QIODevice::WriteOnly));
            font.write("sfbk");
        }
        const QString result = FindSoundFont({dir.filePath("program"), QString(), dir.filePath("music")},
                                             {dir.filePath("system")});
        QCOMPARE(result, found.isEmpty() ? QString() : dir.filePath(found));
    }
};

QTEST_GUILESS_MAIN(TestSoundFontSearch)
#include "test_sound_font_search.moc"
