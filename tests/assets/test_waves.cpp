// The five sound effects: complete RIFF WAVE images, PCM mono at 11025 Hz,
// with their sample formats and lengths, and sounds rather than silence.
#include "assets/MainFormAssets.h"

#include <QtEndian>
#include <QtTest>
#include <cmath>

namespace {

quint32 U32(const QByteArray& b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }
quint16 U16(const QByteArray& b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }

// The samples of a canonical 44-byte-header image, each in [-1, 1].
QList<double> Samples(const QByteArray& riff)
{
    const int bits = U16(riff, 34);
    const int count = int(U32(riff, 40)) / (bits / 8);
    QList<double> samples;
    for (int i = 0; i < count; ++i)
        samples.append(bits == 8 ? (quint8(riff[44 + i]) - 128) / 128.0
                                 : qFromLittleEndian<qint16>(riff.constData() + 44 + 2 * i) / 32768.0);
    return samples;
}

double Rms(const QList<double>& s, double from, double to)
{
    const int a = int(from * s.size()), b = int(to * s.size());
    double sum = 0;
    for (int i = a; i < b; ++i)
        sum += s[i] * s[i];
    return std::sqrt(sum / std::max(1, b - a));
}

// Sign changes per sample: a rough pitch measure.
double CrossingRate(const QList<double>& s, double from, double to)
{
    const int a = int(from * s.size()), b = int(to * s.size());
    int crossings = 0;
    for (int i = a + 1; i < b; ++i)
        crossings += (s[i - 1] < 0) != (s[i] < 0);
    return double(crossings) / (b - a);
}

} // namespace

class TestWaves : public QObject {
    Q_OBJECT

private slots:
    void fiveSounds();
    void headerAndLength_data();
    void headerAndLength();
    void soundsHaveTheirCharacter();
};

void TestWaves::fiveSounds()
{
    QCOMPARE(MainFormWaves().Count(), 5);
}

void TestWaves::headerAndLength_data()
{
    QTest::addColumn<int>("sound");
    QTest::addColumn<int>("bits");
    QTest::addColumn<double>("seconds");
    QTest::newRow("1 level won") << 1 << 16 << 0.87;
    QTest::newRow("2 click") << 2 << 8 << 0.025;
    QTest::newRow("3 refused") << 3 << 8 << 0.75;
    QTest::newRow("4 slide") << 4 << 8 << 2.29;
    QTest::newRow("5 swish") << 5 << 8 << 0.30;
}

void TestWaves::headerAndLength()
{
    QFETCH(int, sound);
    QFETCH(int, bits);
    QFETCH(double, seconds);
    const QByteArray riff = MainFormWaves().Item(sound - 1);
    QVERIFY(riff.size() > 44);
    QCOMPARE(riff.left(4), QByteArray("RIFF"));
    QCOMPARE(qsizetype(U32(riff, 4)) + 8, riff.size());  // the whole image, nothing cut off
    QCOMPARE(riff.mid(8, 8), QByteArray("WAVEfmt "));
    QCOMPARE(U32(riff, 16), 16u);
    QCOMPARE(U16(riff, 20), 1);  // PCM
    QCOMPARE(U16(riff, 22), 1);  // mono
    QCOMPARE(U32(riff, 24), 11025u);
    QCOMPARE(U16(riff, 34), bits);
    QCOMPARE(U16(riff, 32), bits / 8);
    QCOMPARE(U32(riff, 28), 11025u * (bits / 8));
    QCOMPARE(riff.mid(36, 4), QByteArray("data"));
    const quint32 dataSize = U32(riff, 40);
    // The data chunk fits inside the image (with the pad byte RIFF asks for after an odd chunk).
    QCOMPARE(qsizetype(44 + dataSize + dataSize % 2), riff.size());
    const double length = double(dataSize) / (bits / 8) / 11025;
    QVERIFY2(std::abs(length - seconds) < 0.001, qPrintable(QString::number(length)));
}

void TestWaves::soundsHaveTheirCharacter()
{
    const TWaveList waves = MainFormWaves();
    QList<QList<double>> s;
    for (int i = 0; i < 5; ++i) {
        s.append(Samples(waves.Item(i)));
        double peak = 0;
        for (double v : s[i])
            peak = std::max(peak, std::abs(v));
        QVERIFY2(peak > 0.5 && peak < 0.99, qPrintable(QStringLiteral("sound %1 peak %2").arg(i + 1).arg(peak)));
        // Every sound ends in silence, so cutting it off or letting it end never clicks.
        QVERIFY2(std::abs(s[i].last()) < 0.02, qPrintable(QStringLiteral("sound %1 ends at %2").arg(i + 1).arg(s[i].last())));
    }
    // 1 rings out and 3 fades: loud first, quiet at the end.
    QVERIFY(Rms(s[0], 0.9, 1.0) < 0.3 * Rms(s[0], 0.0, 0.3));
    QVERIFY(Rms(s[2], 0.8, 1.0) < 0.3 * Rms(s[2], 0.0, 0.2));
    // 3 is low, 1 is bright.
    QVERIFY(CrossingRate(s[2], 0.0, 0.3) < 0.1);
    QVERIFY(CrossingRate(s[0], 0.0, 0.3) > 0.15);
    // 4 slides down: its pitch at the end is well below its pitch at the start.
    QVERIFY(CrossingRate(s[3], 0.75, 0.85) < 0.5 * CrossingRate(s[3], 0.05, 0.15));
    // 5 is noise, not a tone: many more sign changes than a tone of the same loudness.
    QVERIFY(CrossingRate(s[4], 0.2, 0.6) > 0.1);
}

QTEST_GUILESS_MAIN(TestWaves)
#include "test_waves.moc"
