// The music player: its commands and modes, the end of a piece and the
// rewind, failures with their texts, and real sound from the soundfont.
#include "MidiFixture.h"
#include "media/MidiSynth.h"
#include "media/TMediaPlayer.h"
#include "settings/Globals.h"

#include <QDir>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif
#include <QTemporaryDir>
#include <QtTest>

namespace {

MediaPlayerOptions Silent() { return {QString(), false}; }

}  // namespace

class TestMediaPlayer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // No sound server to be found, whatever this machine has: only the
        // PulseAudio back end, pointed at nothing.
        qputenv("ALSOFT_DRIVERS", "pulse");
        qputenv("PULSE_SERVER", "unix:/nonexistent/tangrix-test");
    }
    void init() { QVERIFY(dir_.isValid()); }

    void PlayRunsToTheEndAndStartsAgain() {
        const QString file = dir_.filePath("short.mid");
        WriteFile(file, ShortMidi(400));
        TMediaPlayer midi(Silent());
        QCOMPARE(midi.Mode(), MPModes::mpNotReady);

        midi.SetFileName(file);
        QVERIFY(midi.Open());
        QVERIFY(midi.IsOpen());
        QCOMPARE(midi.Mode(), MPModes::mpStopped);
        QCOMPARE(midi.LengthMs(), 400);

        QVERIFY(midi.Play());
        QCOMPARE(midi.Mode(), MPModes::mpPlaying);
        midi.AdvanceForTest(250);
        QCOMPARE(midi.PositionMs(), 250);
        QCOMPARE(midi.Mode(), MPModes::mpPlaying);

        // Past the end: stopped, standing at the end.
        midi.AdvanceForTest(300);
        QCOMPARE(midi.Mode(), MPModes::mpStopped);
        QCOMPARE(midi.PositionMs(), 400);

        // Play at the end rewinds first.
        QVERIFY(midi.Play());
        midi.AdvanceForTest(100);
        QCOMPARE(midi.Mode(), MPModes::mpPlaying);
        QCOMPARE(midi.PositionMs(), 100);
    }

    void StopHoldsThePositionAndPlayGoesOn() {
        const QString file = dir_.filePath("short.mid");
        WriteFile(file, ShortMidi(1000));
        TMediaPlayer midi(Silent());
        midi.SetFileName(file);
        QVERIFY(midi.Open());
        midi.Play();
        midi.AdvanceForTest(300);
        QVERIFY(midi.Stop());
        QCOMPARE(midi.Mode(), MPModes::mpStopped);
        midi.AdvanceForTest(500);  // time passes, the piece does not
        QCOMPARE(midi.PositionMs(), 300);
        midi.Play();
        midi.AdvanceForTest(200);
        QCOMPARE(midi.PositionMs(), 500);

        QVERIFY(midi.Close());
        QVERIFY(!midi.IsOpen());
        QCOMPARE(midi.Mode(), MPModes::mpNotReady);
    }

    // Without a sound device the piece still moves on in real time, so that
    // it ends and repeats as it would with sound.
    void TheEventLoopMovesThePieceOnWithoutADevice() {
        WriteFile(dir_.filePath("long.mid"), ShortMidi(60000));
        TMediaPlayer midi(Silent());
        midi.SetFileName(dir_.filePath("long.mid"));
        QVERIFY(midi.Open());
        QVERIFY(midi.Play());
        QTRY_VERIFY(midi.PositionMs() > 0);
        QVERIFY(!midi.IsAudible());
    }

    // Without a device the piece still ends on time, and once it has ended
    // or stopped nothing of the player wakes any more.
    void TheSilentClockSleepsWhenNothingPlays() {
        WriteFile(dir_.filePath("short.mid"), ShortMidi(700));
        TMediaPlayer midi(Silent());
        midi.SetFileName(dir_.filePath("short.mid"));
        QVERIFY(midi.Open());
        QVERIFY(!midi.SilentClockRunningForTest());
        QVERIFY(midi.Play());
        QTRY_VERIFY(midi.SilentClockRunningForTest());
        QTRY_COMPARE(midi.Mode(), MPModes::mpStopped);
        QCOMPARE(midi.PositionMs(), 700);
        QVERIFY(!midi.SilentClockRunningForTest());

        QVERIFY(midi.Play());
        QTRY_VERIFY(midi.SilentClockRunningForTest());
        QVERIFY(midi.Stop());
        QVERIFY(!midi.SilentClockRunningForTest());
        QVERIFY(!midi.IsAudible());
    }

    // The player as the game makes it, on a machine whose sound server is
    // not there: the piece is silent, keeps its time and ends, without a
    // word to the player.
    void WithoutADeviceTheMusicKeepsTimeSilently() {
        WriteFile(dir_.filePath("short.mid"), ShortMidi(700, 72));
        TMediaPlayer midi;
        midi.SetFileName(dir_.filePath("short.mid"));
        QVERIFY(midi.Open());
        QVERIFY(midi.Play());
        QTRY_VERIFY(midi.SilentClockRunningForTest());
        QVERIFY(!midi.IsAudible());
        QTRY_COMPARE(midi.Mode(), MPModes::mpStopped);
        QCOMPARE(midi.PositionMs(), 700);
        QVERIFY(midi.LastError().isEmpty());
    }

    void OpenReplacesTheOpenPiece() {
        WriteFile(dir_.filePath("a.mid"), ShortMidi(400));
        WriteFile(dir_.filePath("b.mid"), ShortMidi(900));
        TMediaPlayer midi(Silent());
        midi.SetFileName(dir_.filePath("a.mid"));
        QVERIFY(midi.Open());
        midi.Play();
        midi.AdvanceForTest(200);

        midi.SetFileName(dir_.filePath("b.mid"));
        QVERIFY(midi.Open());
        QCOMPARE(midi.FileName(), dir_.filePath("b.mid"));
        QCOMPARE(midi.Mode(), MPModes::mpStopped);
        QCOMPARE(midi.LengthMs(), 900);
        QCOMPARE(midi.PositionMs(), 0);
    }

    void FailedOpenLeavesNoDeviceAndSaysWhy_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("german");
        QTest::newRow("missing") << "gone.mid" << QByteArray() << "The file \"gone.mid\" cannot be opened."
                                 << "Die Datei \"gone.mid\" kann nicht geöffnet werden.";
        QTest::newRow("not MIDI") << "text.mid" << QByteArray("just some words")
                                  << "The file \"text.mid\" is not a MIDI file."
                                  << "Die Datei \"text.mid\" ist keine MIDI-Datei.";
        QTest::newRow("damaged") << "cut.mid" << ShortMidi(400).left(30) << "The MIDI file \"cut.mid\" is damaged."
                                 << "Die MIDI-Datei \"cut.mid\" ist beschädigt.";
    }
    void FailedOpenLeavesNoDeviceAndSaysWhy() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, english);
        QFETCH(QString, german);
        if (!content.isEmpty())
            WriteFile(dir_.filePath(name), content);
        WriteFile(dir_.filePath("good.mid"), ShortMidi(400));

        TMediaPlayer midi(Silent());
        midi.SetFileName(dir_.filePath("good.mid"));
        QVERIFY(midi.Open());
        for (int tongue : {0, 1}) {
            Tongue = tongue;
            midi.SetFileName(dir_.filePath(name));
            QVERIFY(!midi.Open());
            QCOMPARE(midi.LastError(), tongue == 1 ? german : english);
            // The piece that was open before is closed too.
            QVERIFY(!midi.IsOpen());
            QCOMPARE(midi.Mode(), MPModes::mpNotReady);
        }
        Tongue = -1;
    }

    // Files in a piece's place that once hung the game, ate its memory or
    // aborted it: each is refused at once, and the piece before stays closed.
    void HostileFilesAreRefusedAtOnce_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("english");
        const QString cannotOpen = "The file \"%1\" cannot be opened.";
        QTest::newRow("sparse 30 GB") << "sparse" << cannotOpen.arg("00-huge.mid");
#ifdef Q_OS_UNIX // FIFOs and devices as files: POSIX only
        QTest::newRow("link to /dev/zero") << "zero" << cannotOpen.arg("x.mid");
        QTest::newRow("link to a FIFO") << "fifo" << cannotOpen.arg("x.mid");
#endif
        QTest::newRow("a directory") << "directory" << cannotOpen.arg("x.mid");
        QTest::newRow("50 MB of notes at one instant") << "flood" << "The MIDI file \"x.mid\" is damaged.";
    }
    void HostileFilesAreRefusedAtOnce() {
        QFETCH(QString, kind);
        QFETCH(QString, english);
        const Watchdog watchdog(20);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString path = dir.filePath("x.mid");
        if (kind == "sparse") {
            path = dir.filePath("00-huge.mid");
            QFile huge(path);
            QVERIFY(huge.open(QIODevice::WriteOnly));
            if (!huge.resize(qint64(30) << 30))
                QSKIP("this file system holds no sparse file of 30 GB");
#ifdef Q_OS_UNIX
        } else if (kind == "zero") {
            QVERIFY(QFile::link("/dev/zero", path));
        } else if (kind == "fifo") {
            const QString fifo = dir.filePath("pipe");
            QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
            QVERIFY(QFile::link(fifo, path));
#endif
        } else if (kind == "directory") {
            QVERIFY(QDir(dir.path()).mkdir("x.mid"));
        } else {
            WriteFile(path, NoteFlood((qint64(50) << 20) / 3, 480));
            QVERIFY(QFileInfo(path).size() > (qint64(45) << 20));
        }
        WriteFile(dir.filePath("good.mid"), ShortMidi(400));
        TMediaPlayer midi(Silent());
        midi.SetFileName(dir.filePath("good.mid"));
        QVERIFY(midi.Open());

        midi.SetFileName(path);
        QVERIFY(!midi.Open());
        QCOMPARE(midi.LastError(), english);
        QCOMPARE(midi.Mode(), MPModes::mpNotReady);
    }

    void CommandsWithoutADeviceFailAndSaySo() {
        TMediaPlayer midi(Silent());
        QVERIFY(!midi.Play());
        QCOMPARE(midi.LastError(), QStringLiteral("Kein MCI-Gerät geöffnet"));
        QVERIFY(!midi.Stop());
        QVERIFY(!midi.Close());
        QCOMPARE(midi.Mode(), MPModes::mpNotReady);

        // A successful command clears the last error.
        WriteFile(dir_.filePath("a.mid"), ShortMidi(400));
        midi.SetFileName(dir_.filePath("a.mid"));
        QVERIFY(midi.Open());
        QVERIFY(midi.LastError().isEmpty());
    }

    // With the General MIDI soundfont the piece is heard, and a stop
    // silences a note that is still held instead of letting it ring.
    void TheSoundfontMakesItAudibleAndStopSilences() {
        const QString soundFont = MidiSynth::DefaultSoundFont();
        if (soundFont.isEmpty())
            QSKIP("no General MIDI soundfont installed");
        WriteFile(dir_.filePath("long.mid"), ShortMidi(5000, 72));
        TMediaPlayer midi({soundFont, false});
        midi.SetFileName(dir_.filePath("long.mid"));
        QVERIFY(midi.Open());
        QVERIFY(midi.Play());
        QVERIFY2(midi.AdvanceForTest(500) > 1000, "no sound from the synthesiser");

        midi.Stop();
        midi.AdvanceForTest(1000);  // the reverb dies away
        // Only the synthesiser's dither is left.
        QVERIFY(midi.AdvanceForTest(200) < 30);
    }

private:
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(TestMediaPlayer)
#include "test_media_player.moc"
