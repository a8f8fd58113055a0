// The background music's course: the first piece at start-up, the clock's
// keep-alive, and the options dialog's switch through off and the next piece.
#include "MidiFixture.h"
#include "media/MusicCycle.h"
#include "settings/Globals.h"
#include "settings/ErrorReport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// What a player hears after a start-up or a press, once the clock has ticked:
// "off", or the file name of the piece that plays.
QString Heard(const MusicCycle& cycle, const TMediaPlayer& midi) {
    if (!MusicOn) {
        if (midi.Mode() == MPModes::mpPlaying)
            return QStringLiteral("off, but playing");
        return QStringLiteral("off");
    }
    if (midi.Mode() != MPModes::mpPlaying)
        return QStringLiteral("on, but silent");
    const QString name = QFileInfo(midi.FileName()).fileName();
    if (name != cycle.CurrentFileName())
        return QStringLiteral("playing %1, label %2").arg(name, cycle.CurrentFileName());
    return name;
}

// What is heard after start-up and then after each of presses presses of
// the music button, each followed by a clock tick.
QStringList HeardAfterPresses(MusicCycle& cycle, const TMediaPlayer& midi, qsizetype presses) {
    cycle.KeepAlive();
    QStringList heard{Heard(cycle, midi)};
    for (qsizetype press = 0; press < presses; ++press) {
        if (!cycle.SwitchMusic())
            heard << QStringLiteral("(no piece would open)");
        cycle.KeepAlive();
        heard << Heard(cycle, midi);
    }
    return heard;
}

}  // namespace

class TestMusicCycle : public QObject {
    Q_OBJECT
private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        DataDir = dir_->path() + QStringLiteral("/game/");
        QVERIFY(QDir().mkpath(DataDir));
        // The player's own music folder lies under the data home.
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir_->path() + QStringLiteral("/home-data")));
        playerDir_ = PlayerMusicDirectory();
        QVERIFY(playerDir_.startsWith(dir_->path() + QStringLiteral("/home-data/tangrix/music")));
        QVERIFY(QDir().mkpath(playerDir_));
        MusicOn = true;
        MusicFilesFound = false;
        errors_.clear();
        previousHandler_ = SetErrorReporter([this](const QString& message) { errors_ << message; });
    }
    void cleanup() {
        SetErrorReporter(previousHandler_);
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
            WriteFile(DataDir + name, ShortMidi(2000));
        MusicOn = musicOn;
        TMediaPlayer midi({QString(), false});
        MusicCycle cycle(midi);

        cycle.StartUp();
        QVERIFY(MusicFilesFound);
        // Opened even with the music off, but nothing plays before the clock.
        QVERIFY(midi.IsOpen());
        QCOMPARE(midi.Mode(), MPModes::mpStopped);
        QCOMPARE(HeardAfterPresses(cycle, midi, heard.size() - 1), heard);
        QVERIFY(errors_.isEmpty());
    }

    void KeepAliveRepeatsAPieceThatHasEnded() {
        WriteFile(DataDir + "A.mid", ShortMidi(300));
        TMediaPlayer midi({QString(), false});
        MusicCycle cycle(midi);
        cycle.StartUp();
        cycle.KeepAlive();
        QCOMPARE(midi.Mode(), MPModes::mpPlaying);

        midi.AdvanceForTest(400);
        QCOMPARE(midi.Mode(), MPModes::mpStopped);
        cycle.KeepAlive();
        QCOMPARE(midi.Mode(), MPModes::mpPlaying);
        midi.AdvanceForTest(100);
        QCOMPARE(midi.PositionMs(), 100);  // from the beginning again
    }

    void KeepAlivePlaysNothingWhileMusicIsOff() {
        WriteFile(DataDir + "A.mid", ShortMidi(300));
        MusicOn = false;
        TMediaPlayer midi({QString(), false});
        MusicCycle cycle(midi);
        cycle.StartUp();
        cycle.KeepAlive();
        QCOMPARE(midi.Mode(), MPModes::mpStopped);
    }

    void WithoutMusicFilesNothingIsOpenedOrPlayed() {
        WriteFile(DataDir + "readme.txt", "no music here");
        TMediaPlayer midi({QString(), false});
        MusicCycle cycle(midi);
        cycle.StartUp();
        QVERIFY(!MusicFilesFound);
        QVERIFY(!midi.IsOpen());
        cycle.KeepAlive();
        QCOMPARE(midi.Mode(), MPModes::mpNotReady);
        QVERIFY(midi.LastError().isEmpty());  // Play was never tried
        QVERIFY(errors_.isEmpty());
    }

    // A piece that will not open is told once and passed over, at start-up
    // and on the music button; the others keep their order.
    void UnplayablePiecesAreToldOnceAndPassedOver_data() {
        QTest::addColumn<QStringList>("bad");  // of A, B and C
        QTest::addColumn<bool>("musicOn");
        QTest::addColumn<QStringList>("heard");
        QTest::addColumn<QStringList>("errors");
        const QString badA = "The file \"A.mid\" is not a MIDI file.";
        const QString badB = "The MIDI file \"B.mid\" is damaged.";
        QTest::newRow("first bad, at start-up") << QStringList{"A"} << true
                                                << QStringList{"B.mid", "off", "C.mid", "off", "B.mid", "off", "C.mid"}
                                                << QStringList{badA};
        QTest::newRow("middle bad, on a press") << QStringList{"B"} << true
                                                << QStringList{"A.mid", "off", "C.mid", "off", "A.mid", "off", "C.mid"}
                                                << QStringList{badB};
        QTest::newRow("music off, two bad") << QStringList{"A", "B"} << false
                                            << QStringList{"off", "C.mid", "off", "C.mid", "off"}
                                            << QStringList{badA + '\n' + badB};
    }
    void UnplayablePiecesAreToldOnceAndPassedOver() {
        QFETCH(QStringList, bad);
        QFETCH(bool, musicOn);
        QFETCH(QStringList, heard);
        QFETCH(QStringList, errors);
        for (const QString name : {"A", "B", "C"}) {
            QByteArray bytes = ShortMidi(2000);
            if (bad.contains(name))
                bytes = name == QStringLiteral("A") ? QByteArray("not music at all") : bytes.left(30);
            WriteFile(DataDir + name + ".mid", bytes);
        }
        MusicOn = musicOn;
        TMediaPlayer midi({QString(), false});
        MusicCycle cycle(midi);
        cycle.StartUp();
        QVERIFY(MusicFilesFound);
        QCOMPARE(HeardAfterPresses(cycle, midi, heard.size() - 1), heard);
        QCOMPARE(errors_, errors);
    }

    void WithNoPlayablePieceTheMusicStaysOff() {
        WriteFile(DataDir + "A.mid", "not music at all");
        WriteFile(DataDir + "B.mid", ShortMidi(2000).left(30));
        TMediaPlayer midi({QString(), false});
        MusicCycle cycle(midi);
        cycle.StartUp();
        QVERIFY(!MusicFilesFound);
        QCOMPARE(errors_.size(), 1);
        cycle.KeepAlive();
        QCOMPARE(midi.Mode(), MPModes::mpNotReady);

        // On the button, with the music off: every press looks through the
        // files once, finds nothing to play, and tells nothing new.
        MusicOn = false;
        for (int press = 0; press < 3; ++press) {
            QVERIFY(!cycle.SwitchMusic());
            QVERIFY(!MusicOn);
        }
        QCOMPARE(midi.Mode(), MPModes::mpNotReady);
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
            WriteFile(DataDir + name, ShortMidi(2000));
        MusicOn = false;
        TMediaPlayer midi({QString(), false});
        MusicCycle cycle(midi);
        cycle.StartUp();
        for (const QString& name : files)
            QVERIFY(QFile::remove(DataDir + name));

        QVERIFY(cycle.SwitchMusic());
        cycle.KeepAlive();
        QVERIFY(!MusicOn);
        QVERIFY(midi.Mode() != MPModes::mpPlaying);
        QVERIFY(errors_.isEmpty());
    }

    // The player's pieces come after the game's, each folder in name order.
    void ThePlayersPiecesFollowTheGames() {
        for (const char* name : {"b.mid", "a.mid"})
            WriteFile(DataDir + name, ShortMidi(2000));
        for (const char* name : {"0-mine.mid", "Z-mine.mid"})
            WriteFile(playerDir_ + name, ShortMidi(2000));
        TMediaPlayer midi({QString(), false});
        MusicCycle cycle(midi);
        cycle.StartUp();
        QCOMPARE(HeardAfterPresses(cycle, midi, 8),
                 (QStringList{"a.mid", "off", "b.mid", "off", "0-mine.mid", "off", "Z-mine.mid", "off", "a.mid"}));
        QCOMPARE(midi.FileName(), DataDir + "a.mid");
    }

    void OnlyThePlayersPiecesAreMusicToo() {
        WriteFile(playerDir_ + "mine.mid", ShortMidi(2000));
        TMediaPlayer midi({QString(), false});
        MusicCycle cycle(midi);
        cycle.StartUp();
        QVERIFY(MusicFilesFound);
        QCOMPARE(HeardAfterPresses(cycle, midi, 2), (QStringList{"mine.mid", "off", "mine.mid"}));
    }

    // Without a sound font (or without the synthesiser) the player is told
    // once, the music is unavailable and its setting stays as it was.
    void MissingSoundFontIsToldOnceAndKeepsTheSetting_data() {
        QTest::addColumn<bool>("musicOn");
        QTest::addColumn<int>("tongue");
        QTest::addColumn<QString>("told");
        QTest::newRow("on at start, English") << true << 0 << "No music: no General MIDI sound font is installed.";
        QTest::newRow("off, switched on, German")
            << false << 1 << QString::fromUtf8("Keine Musik: Es ist kein General-MIDI-Soundfont installiert.");
    }
    void MissingSoundFontIsToldOnceAndKeepsTheSetting() {
        QFETCH(bool, musicOn);
        QFETCH(int, tongue);
        QFETCH(QString, told);
        WriteFile(DataDir + "A.mid", ShortMidi(2000));
        WriteFile(DataDir + "B.mid", ShortMidi(2000));
        MusicOn = musicOn;
        Tongue = tongue;
        RecordingSink sink;
        TMediaPlayer midi({dir_->filePath("no-such-font.sf2"), true, &sink});
        MusicCycle cycle(midi);
        cycle.StartUp();
        QVERIFY(cycle.MusicAvailable());
        cycle.WindowShown();
        cycle.KeepAlive();
        if (!musicOn)
            QVERIFY(cycle.SwitchMusic());
        QTRY_VERIFY(!cycle.MusicAvailable());
        QCOMPARE(errors_.size(), 1);
        QCOMPARE(errors_[0].split('\n').first(), told);
        QCOMPARE(MusicOn, musicOn);

        // The button does nothing now, the clock plays nothing, nothing is
        // told again.
        for (int press = 0; press < 3; ++press)
            QVERIFY(cycle.SwitchMusic());
        cycle.KeepAlive();
        QTest::qWait(100);
        QCOMPARE(MusicOn, musicOn);
        QCOMPARE(errors_.size(), 1);
        QCOMPARE(sink.starts, 0);
    }

private:
    // A loudspeaker that hears nothing, counting what it is asked.
    struct RecordingSink : MusicSink {
        int starts = 0;
        void StartMusic(std::shared_ptr<MusicStream>) override { ++starts; }
        void StopMusic() override {}
        bool MusicAudible() const override { return false; }
    };

    std::unique_ptr<QTemporaryDir> dir_;
    QString playerDir_;
    QStringList errors_;
    ErrorReporter previousHandler_;
};

QTEST_MAIN(TestMusicCycle)
#include "test_music_cycle.moc"
