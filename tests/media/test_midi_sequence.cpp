// Reading MIDI files: times in real time through tempo changes, and refusal
// of what is not a playable MIDI file or no music at all.
#include "MidiFixture.h"
#include "media/MidiSequence.h"

#include <QtTest>

class TestMidiSequence : public QObject {
    Q_OBJECT
private slots:
    void TimesFollowTheTempoMapAcrossTracks() {
        // Conductor track: 1 s per quarter from the start, 0.25 s from tick 960.
        SmfTrack conductor;
        conductor.Tempo(0, 1000000);
        conductor.Tempo(960, 250000);
        SmfTrack notes;
        notes.Note(480, 480, 2, 64, 90);   // on at 1 s, off at 2 s
        notes.Note(1440, 480, 2, 67, 90);  // on at 2.25 s, off at 2.5 s
        notes.EndAt(2400);                 // 2 s + 3 quarters of 0.25 s
        const auto sequence = MidiSequence::Parse(ToBytes(WriteSmf({conductor, notes}, 480)));
        QVERIFY(sequence);

        const std::vector<MidiEvent>& events = sequence->Events();
        QCOMPARE(events.size(), std::size_t(4));
        QCOMPARE(events[0].micros, 1000000);
        QCOMPARE(events[0].status, std::uint8_t(0x92));
        QCOMPARE(events[0].data1, std::uint8_t(64));
        QCOMPARE(events[1].micros, 2000000);
        QCOMPARE(events[1].status, std::uint8_t(0x82));
        QCOMPARE(events[2].micros, 2250000);
        QCOMPARE(events[3].micros, 2500000);
        QCOMPARE(sequence->LengthMicros(), 2750000);
    }

    void RunningStatusAndMetaEventsAreRead() {
        // Format 0, 96 ticks a quarter at the default 120 bpm; the second
        // note-on reuses the status byte, a text meta event sits between.
        const QByteArray track = QByteArray::fromHex("00903c40"      // on 60
                                                     "304040"        // running status: on 64, 48 ticks later
                                                     "00ff0103616263"  // text "abc"
                                                     "30803c00"      // off 60
                                                     "00ff2f00");
        QByteArray file = QByteArray::fromHex("4d546864000000060000000100604d54726b");
        file.append(char(0)).append(char(0)).append(char(0)).append(char(track.size()));
        file.append(track);
        const auto sequence = MidiSequence::Parse(file);
        QVERIFY(sequence);
        QCOMPARE(sequence->Events().size(), std::size_t(3));
        QCOMPARE(sequence->Events()[1].status, std::uint8_t(0x90));
        QCOMPARE(sequence->Events()[1].data1, std::uint8_t(0x40));
        QCOMPARE(sequence->Events()[1].micros, 250000);  // 48 ticks of 500000/96 us
        QCOMPARE(sequence->LengthMicros(), 500000);
    }

    void UnplayableFilesAreRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("expected");
        const int notMidi = int(MidiParseError::NotMidi);
        const int damaged = int(MidiParseError::Damaged);
        const QByteArray header = QByteArray::fromHex("4d546864000000060001000101e0");
        const QByteArray goodTrack = QByteArray::fromHex("4d54726b0000000800903c40008f3c00");

        QTest::newRow("empty") << QByteArray() << notMidi;
        QTest::newRow("a wave file") << RiffWave(1, 1, 8000, 8, QByteArray(10, '\x80')) << notMidi;
        QTest::newRow("text named .mid") << QByteArray("hello, not music") << notMidi;
        QTest::newRow("header cut off") << header.left(10) << damaged;
        QTest::newRow("track missing") << header << damaged;
        QTest::newRow("no tracks declared") << QByteArray::fromHex("4d546864000000060001000001e0") + goodTrack
                                            << damaged;
        QTest::newRow("track longer than file") << header + goodTrack.left(12) << damaged;
        QTest::newRow("event cut off in track")
            << header + QByteArray::fromHex("4d54726b0000000300903c") << damaged;
        QTest::newRow("data before any status")
            << header + QByteArray::fromHex("4d54726b00000004003c4000") << damaged;
        QTest::newRow("delta time too long")
            << header + QByteArray::fromHex("4d54726b0000000880808080903c4000") << damaged;
        // Two days at the slowest tempo: no music, and times would overflow.
        QTest::newRow("absurdly long")
            << QByteArray::fromHex("4d546864000000060000000100014d54726b0000000e"
                                   "00ff5103ffffff" "8fffff7fff2f00") << damaged;
        // Played again on every tick of the clock, for nothing.
        QTest::newRow("no length") << NoteFlood(10, 0) << damaged;
        // Millions of notes at one instant, then a second of nothing: refused
        // by their number, long before the memory runs out.
        QTest::newRow("a flood of notes") << NoteFlood(3000000, 480) << damaged;
        QTest::newRow("zero division")
            << QByteArray::fromHex("4d54686400000006000000010000") + goodTrack << damaged;
    }
    void UnplayableFilesAreRefused() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, expected);
        MidiParseError why = MidiParseError::NotMidi;
        QVERIFY(!MidiSequence::Parse(bytes, &why));
        QCOMPARE(int(why), expected);
    }

    void FormatTwoPlaysTracksOneAfterAnother() {
        SmfTrack first;
        first.Note(0, 480, 0, 60, 90);
        SmfTrack second;
        second.Note(0, 480, 0, 62, 90);
        SmfBytes bytes = WriteSmf({first, second}, 480);
        bytes[9] = 2;  // format field
        const auto sequence = MidiSequence::Parse(ToBytes(bytes));
        QVERIFY(sequence);
        QCOMPARE(sequence->Events()[2].data1, std::uint8_t(62));
        QCOMPARE(sequence->Events()[2].micros, 500000);
        QCOMPARE(sequence->LengthMicros(), 1000000);
    }
};

QTEST_GUILESS_MAIN(TestMidiSequence)
#include "test_midi_sequence.moc"
