// The background music's course: the first piece at start-up, the clock's
// keep-alive, and the options dialog's switch through off and the next piece.
#include "MidiFixture.h"
#include "media/MusicCycle.h"
#include "settings/Globals.h"
#include "ui/StandardErrorBox.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// What a player hears after a start-up or a press, once the clock has ticked:
// "off", or the file name of the piece that plays.
QString Heard(const TMusicCycle& cycle, const TMediaPlayer& midi) {
    if (!MusicOn) {
        if (midi.Mode() == TMPModes::mpPlaying)
            return QStringLiteral("off, but playing");
        return QStringLiteral("off");
    }
    if (midi.Mode() != TMPModes::mpPlaying)
        return QStringLiteral("on, but silent");
    const QString name = QFileInfo(midi.FileName()).fileName();
    if (name != cycle.CurrentFileName())
        return QStringLiteral("playing %1, label %2").arg(name, cycle.CurrentFileName());
    return name;
}

}  // namespace

class TestMusicCycle : public QObject {
    Q_OBJECT
private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        ProgramDir = dir_->path() + '/';
        MusicOn = true;
        MusicFilesFound = false;
        errors_.clear();
        previousHandler_ = SetStandardErrorHandler([this](const QString& message) { errors_ << message; });
    }
    void cleanup() {
        SetStandardErrorHandler(previousHandler_);
        MusicOn = true;
        Tongue = -1;
    }

    void PressesAlternateBetweenOffAndTheNextPiece_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("musicOn");
        QTest::addColumn<QStringList>("heard");  // after start-up, then after each press

        const QStringList abc{"A.mid", "B.mid", "C.mid"};
        QTest::newRow("three files, music on") << abc << true
                                               << QStringList{"A.mid", "off", "B.mid", "off", "C.mid", "off", "A.mid"};
        QTest::newRow("three files, music off") << abc << false
                                                << QStringList{"off", "B.mid", "off", "C.mid", "off", "A.mid", "off"};
        QTest::newRow("one file, music on") << QStringList{"A.mid"} << true
                                            << QStringList{"A.mid", "off", "A.mid", "off", "A.mid"};
        QTest::newRow("one file, music off") << QStringList{"A.mid"} << false << QStringList{"off", "A.mid", "off"};
        // Name order, the suffix in any case; other files are no music.
        QTest::newRow("order and case") << QStringList{"c.mid", "b.MID", "A.mid", "notes.txt", "d.midi"} << true
                                        << QStringList{"A.mid", "off", "b.MID", "off", "c.mid", "off", "A.mid"};
    }
    void PressesAlternateBetweenOffAndTheNextPiece() {
        QFETCH(QStringList, files);
        QFETCH(bool, musicOn);
        QFETCH(QStringList, heard);
        for (const QString& name : files)
            WriteFile(ProgramDir + name, ShortMidi(2000));
        MusicOn = musicOn;
        TMediaPlayer midi({QString(), false});
        TMusicCycle cycle(midi);

        cycle.StartUp();
        QVERIFY(MusicFilesFound);
        // Opened even with the music off, but nothing plays before the clock.
        QVERIFY(midi.IsOpen());
        QCOMPARE(midi.Mode(), TMPModes::mpStopped);
        cycle.KeepAlive();
        QStringList actual{Heard(cycle, midi)};
        for (int press = 1; press < heard.size(); ++press) {
            QVERIFY(cycle.SwitchMusic());
            cycle.KeepAlive();
            actual << Heard(cycle, midi);
        }
        QCOMPARE(actual, heard);
        QVERIFY(errors_.isEmpty());
    }

    void KeepAliveRepeatsAPieceThatHasEnded() {
        WriteFile(ProgramDir + "A.mid", ShortMidi(300));
        TMediaPlayer midi({QString(), false});
        TMusicCycle cycle(midi);
        cycle.StartUp();
        cycle.KeepAlive();
        QCOMPARE(midi.Mode(), TMPModes::mpPlaying);

        midi.AdvanceForTest(400);
        QCOMPARE(midi.Mode(), TMPModes::mpStopped);
        cycle.KeepAlive();
        QCOMPARE(midi.Mode(), TMPModes::mpPlaying);
        midi.AdvanceForTest(100);
        QCOMPARE(midi.PositionMs(), 100);  // from the beginning again
    }

    void KeepAlivePlaysNothingWhileMusicIsOff() {
        WriteFile(ProgramDir + "A.mid", ShortMidi(300));
        MusicOn = false;
        TMediaPlayer midi({QString(), false});
        TMusicCycle cycle(midi);
        cycle.StartUp();
        cycle.KeepAlive();
        QCOMPARE(midi.Mode(), TMPModes::mpStopped);
    }

    void WithoutMusicFilesNothingIsOpenedOrPlayed() {
        WriteFile(ProgramDir + "readme.txt", "no music here");
        TMediaPlayer midi({QString(), false});
        TMusicCycle cycle(midi);
        cycle.StartUp();
        QVERIFY(!MusicFilesFound);
        QVERIFY(!midi.IsOpen());
        cycle.KeepAlive();
        QCOMPARE(midi.Mode(), TMPModes::mpNotReady);
        QVERIFY(midi.LastError().isEmpty());  // Play was never tried
        QVERIFY(errors_.isEmpty());
    }

    void AFirstPieceThatWillNotOpenIsReportedOnce() {
        WriteFile(ProgramDir + "A.mid", "not music at all");
        WriteFile(ProgramDir + "B.mid", ShortMidi(300));
        TMediaPlayer midi({QString(), false});
        TMusicCycle cycle(midi);
        cycle.StartUp();
        QCOMPARE(errors_, QStringList{"The file \"A.mid\" is not a MIDI file."});
        QVERIFY(!MusicFilesFound);
        cycle.KeepAlive();
        QCOMPARE(midi.Mode(), TMPModes::mpNotReady);
        QCOMPARE(errors_.size(), 1);
    }

    void ADamagedNextPieceIsReportedOnceAndLeavesMusicOff() {
        WriteFile(ProgramDir + "A.mid", ShortMidi(2000));
        WriteFile(ProgramDir + "B.mid", ShortMidi(2000).left(30));
        WriteFile(ProgramDir + "C.mid", ShortMidi(2000));
        Tongue = 1;
        TMediaPlayer midi({QString(), false});
        TMusicCycle cycle(midi);
        cycle.StartUp();
        cycle.KeepAlive();

        QVERIFY(cycle.SwitchMusic());  // off
        QVERIFY(!cycle.SwitchMusic()); // B will not open
        QCOMPARE(errors_, QStringList{"Die MIDI-Datei \"B.mid\" ist beschädigt."});
        QVERIFY(!MusicOn);
        for (int tick = 0; tick < 3; ++tick)
            cycle.KeepAlive();
        QCOMPARE(midi.Mode(), TMPModes::mpNotReady);
        QCOMPARE(errors_.size(), 1);

        // The next press goes on to C.
        QVERIFY(cycle.SwitchMusic());
        cycle.KeepAlive();
        QCOMPARE(Heard(cycle, midi), QStringLiteral("C.mid"));
        QCOMPARE(errors_.size(), 1);
    }

    void MusicFilesDeletedWhileRunningLeaveMusicOff_data() {
        QTest::addColumn<QStringList>("files");
        QTest::newRow("one file") << QStringList{"A.mid"};
        QTest::newRow("three files") << QStringList{"A.mid", "B.mid", "C.mid"};
    }
    void MusicFilesDeletedWhileRunningLeaveMusicOff() {
        QFETCH(QStringList, files);
        for (const QString& name : files)
            WriteFile(ProgramDir + name, ShortMidi(2000));
        MusicOn = false;
        TMediaPlayer midi({QString(), false});
        TMusicCycle cycle(midi);
        cycle.StartUp();
        for (const QString& name : files)
            QVERIFY(QFile::remove(ProgramDir + name));

        QVERIFY(cycle.SwitchMusic());
        cycle.KeepAlive();
        QVERIFY(!MusicOn);
        QVERIFY(midi.Mode() != TMPModes::mpPlaying);
        QVERIFY(errors_.isEmpty());
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QStringList errors_;
    StandardErrorHandler previousHandler_;
};

QTEST_MAIN(TestMusicCycle)
#include "test_music_cycle.moc"
