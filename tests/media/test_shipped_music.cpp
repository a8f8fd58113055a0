// The music that ships beside the program: each piece opens, lasts about a
// minute and is heard through the General MIDI soundfont.
#include "media/MidiSynth.h"
#include "media/TMediaPlayer.h"

#include <QDir>
#include <QtTest>

class TestShippedMusic : public QObject {
    Q_OBJECT
private slots:
    void EveryPieceOpensAndSounds_data() {
        QTest::addColumn<QString>("path");
        const QDir dir(QStringLiteral(TANGRIX_PROGRAM_DIR));
        const QStringList pieces = dir.entryList({QStringLiteral("*.mid")}, QDir::Files, QDir::Name);
        QCOMPARE(pieces.size(), 3);
        for (const QString& name : pieces)
            QTest::newRow(qPrintable(name)) << dir.filePath(name);
    }
    void EveryPieceOpensAndSounds() {
        QFETCH(QString, path);
        const QString soundFont = MidiSynth::DefaultSoundFont();
        TMediaPlayer midi({soundFont, false});
        midi.SetFileName(path);
        QVERIFY2(midi.Open(), qPrintable(midi.LastError()));
        QVERIFY(midi.LengthMs() > 50000);
        QVERIFY(midi.LengthMs() < 120000);
        if (soundFont.isEmpty())
            QSKIP("no General MIDI soundfont installed to listen with");
        QVERIFY(midi.Play());
        // Past the intro, into the theme: clearly audible, not clipping.
        midi.AdvanceForTest(6000);
        const int peak = midi.AdvanceForTest(4000);
        QVERIFY2(peak > 2000, qPrintable(QString::number(peak)));
        QVERIFY2(peak < 32000, qPrintable(QString::number(peak)));
    }
};

QTEST_GUILESS_MAIN(TestShippedMusic)
#include "test_shipped_music.moc"
