// Reading the sample format and PCM data out of in-memory wave images.
#include "MidiFixture.h"
#include "media/WaveImage.h"

#include <QtTest>

class TestWaveImage : public QObject {
    Q_OBJECT
private slots:
    void PlayableImagesGiveFormatAndData_data() {
        QTest::addColumn<QByteArray>("riff");
        QTest::addColumn<int>("sampleFormat");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("pcmBytes");

        const QByteArray pcm(400, '\x10');
        QTest::newRow("16-bit mono") << RiffWave(1, 1, 22050, 16, pcm) << int(WaveImage::Sample::Int16) << 1 << 22050
                                     << 400;
        QTest::newRow("8-bit stereo") << RiffWave(1, 2, 11025, 8, pcm) << int(WaveImage::Sample::UInt8) << 2 << 11025
                                      << 400;
        QTest::newRow("float stereo") << RiffWave(3, 2, 44100, 32, pcm) << int(WaveImage::Sample::Float) << 2 << 44100
                                      << 400;
        // A data chunk that claims more than there is plays what is there,
        // in whole frames only (398 bytes = 99 frames of 4 bytes + 2).
        QTest::newRow("data cut short") << RiffWave(1, 2, 22050, 16, pcm.left(398), 4000)
                                        << int(WaveImage::Sample::Int16) << 2 << 22050 << 396;
    }
    void PlayableImagesGiveFormatAndData() {
        QFETCH(QByteArray, riff);
        QFETCH(int, sampleFormat);
        QFETCH(int, channels);
        QFETCH(int, rate);
        QFETCH(int, pcmBytes);
        const auto wave = WaveImage::Parse(riff);
        QVERIFY(wave);
        QCOMPARE(int(wave->sample), sampleFormat);
        QCOMPARE(wave->channels, channels);
        QCOMPARE(wave->sampleRate, rate);
        QCOMPARE(wave->pcm.size(), pcmBytes);
    }

    void ChunksBeforeTheDataAreSkippedWithTheirPadding() {
        // An odd-sized "LIST" chunk between fmt and data is padded to even.
        QByteArray riff = RiffWave(1, 1, 8000, 8, QByteArray("\x01\x02\x03\x04", 4));
        const qsizetype dataAt = riff.indexOf("data");
        riff.insert(dataAt, QByteArray("LIST\x03\x00\x00\x00" "abc" "\x00", 12));
        const auto wave = WaveImage::Parse(riff);
        QVERIFY(wave);
        QCOMPARE(wave->pcm, QByteArray("\x01\x02\x03\x04", 4));
    }

    // What the output plays: every sample kind as 16-bit stereo, mono on
    // both sides, of more channels the front pair.
    void EverySampleKindBecomesStereoInt16_data() {
        QTest::addColumn<QByteArray>("riff");
        QTest::addColumn<QList<int>>("stereo");
        const auto bytes = [](std::initializer_list<int> values) {
            QByteArray out;
            for (int v : values)
                out.append(char(v));
            return out;
        };
        QTest::newRow("8-bit mono") << RiffWave(1, 1, 8000, 8, bytes({0x80, 0xFF, 0x00}))
                                    << QList<int>{0, 0, 32512, 32512, -32768, -32768};
        QTest::newRow("16-bit stereo") << RiffWave(1, 2, 8000, 16, bytes({0x01, 0x00, 0xFF, 0xFF}))
                                       << QList<int>{1, -1};
        QTest::newRow("32-bit mono") << RiffWave(1, 1, 8000, 32, bytes({0, 0, 0x34, 0x12}))
                                     << QList<int>{0x1234, 0x1234};
        // 0.5 and -2.0 (clipped to -1)
        QTest::newRow("float stereo") << RiffWave(3, 2, 8000, 32, bytes({0, 0, 0, 0x3F, 0, 0, 0, 0xC0}))
                                      << QList<int>{16384, -32767};
        QTest::newRow("16-bit, four channels") << RiffWave(1, 4, 8000, 16, bytes({1, 0, 2, 0, 3, 0, 4, 0}))
                                               << QList<int>{1, 2};
    }
    void EverySampleKindBecomesStereoInt16() {
        QFETCH(QByteArray, riff);
        QFETCH(QList<int>, stereo);
        const auto wave = WaveImage::Parse(riff);
        QVERIFY(wave);
        const std::vector<std::int16_t> pcm = wave->StereoInt16();
        QCOMPARE(QList<int>(pcm.begin(), pcm.end()), stereo);
    }

    void UnplayableImagesAreRefused_data() {
        QTest::addColumn<QByteArray>("riff");
        const QByteArray pcm(64, '\0');
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not RIFF") << QByteArray("MThd\0\0\0\6", 8) + pcm;
        QTest::newRow("ADPCM") << RiffWave(2, 1, 22050, 4, pcm);
        QTest::newRow("24-bit") << RiffWave(1, 1, 22050, 24, pcm);
        QTest::newRow("no channels") << RiffWave(1, 0, 22050, 16, pcm);
        QTest::newRow("no data chunk") << RiffWave(1, 1, 22050, 16, pcm).left(36);
        QTest::newRow("fmt cut off") << RiffWave(1, 1, 22050, 16, pcm).left(30);
    }
    void UnplayableImagesAreRefused() {
        QFETCH(QByteArray, riff);
        QVERIFY(!WaveImage::Parse(riff));
    }
};

QTEST_GUILESS_MAIN(TestWaveImage)
#include "test_wave_image.moc"
