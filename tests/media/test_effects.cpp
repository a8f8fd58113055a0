// The sound effects: what PlayEffect sends to the audio output under the
// sound switch, and that a machine without sound plays on quietly.
#include "MidiFixture.h"
#include "assets/TWaveList.h"
#include "media/Effects.h"
#include "settings/Globals.h"
#include "settings/ErrorReport.h"

#include <QtTest>

namespace {

// Records what the effect player asks of the output.
class RecordingOutput : public SoundOutput {
public:
    bool device = true;
    QStringList calls;
    bool sounding = false;

    bool HasDevice() const override { return device; }
    void Play(const QByteArray& riff) override {
        calls << QStringLiteral("play %1").arg(riff.size());
        sounding = true;
    }
    void Stop() override {
        calls << QStringLiteral("stop");
        sounding = false;
    }
};

// Five items like the game's; item n-1 is effect n. Sizes tell them apart,
// and item 3 (effect 4) is empty.
TWaveList FiveWaves() {
    QList<QByteArray> items;
    for (int i = 0; i < 5; ++i)
        items << (i == 3 ? QByteArray() : RiffWave(1, 1, 8000, 8, QByteArray(10 * (i + 1), '\x80')));
    return TWaveList(items);
}

}  // namespace

class TestEffects : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        SoundOn = true;
        SetEffectOutput(nullptr);
        SetEffectWaves(nullptr);
    }

    void EffectsReachTheOutputOnlyWhenPlayable_data() {
        QTest::addColumn<bool>("soundOn");
        QTest::addColumn<bool>("device");
        QTest::addColumn<int>("effect");
        QTest::addColumn<QStringList>("expected");
        const QString effect1 = QStringLiteral("play %1").arg(RiffWave(1, 1, 8000, 8, QByteArray(10, '\x80')).size());
        const QString effect5 = QStringLiteral("play %1").arg(RiffWave(1, 1, 8000, 8, QByteArray(50, '\x80')).size());

        QTest::newRow("effect 1") << true << true << 1 << QStringList{effect1};
        QTest::newRow("effect 5") << true << true << 5 << QStringList{effect5};
        QTest::newRow("stop") << true << true << 0 << QStringList{"stop"};
        QTest::newRow("empty wave") << true << true << 4 << QStringList{};
        QTest::newRow("no such effect") << true << true << 6 << QStringList{};
        QTest::newRow("negative") << true << true << -1 << QStringList{};
        QTest::newRow("sound off") << false << true << 1 << QStringList{};
        QTest::newRow("sound off, stop") << false << true << 0 << QStringList{};
        QTest::newRow("no device") << true << false << 1 << QStringList{};
        // Silencing needs no device check: there is nothing to play.
        QTest::newRow("no device, stop") << true << false << 0 << QStringList{"stop"};
    }
    void EffectsReachTheOutputOnlyWhenPlayable() {
        QFETCH(bool, soundOn);
        QFETCH(bool, device);
        QFETCH(int, effect);
        QFETCH(QStringList, expected);
        const TWaveList waves = FiveWaves();
        RecordingOutput output;
        output.device = device;
        SetEffectWaves(&waves);
        SetEffectOutput(&output);
        SoundOn = soundOn;

        PlayEffect(effect);
        QCOMPARE(output.calls, expected);
    }

    void SwitchingSoundOffLetsTheSoundingEffectFinish() {
        const TWaveList waves = FiveWaves();
        RecordingOutput output;
        SetEffectWaves(&waves);
        SetEffectOutput(&output);

        PlayEffect(2);
        QVERIFY(output.sounding);
        SoundOn = false;
        PlayEffect(0);
        PlayEffect(3);
        QVERIFY(output.sounding);
        QCOMPARE(output.calls.size(), 1);

        SoundOn = true;
        PlayEffect(0);
        QVERIFY(!output.sounding);
    }

    void WithoutWavesEveryEffectIsSilent() {
        RecordingOutput output;
        SetEffectOutput(&output);
        PlayEffect(1);
        QVERIFY(output.calls.isEmpty());
    }

    // The real output on this machine (a test machine usually has no sound
    // device): effects, stops and broken images pass without an error.
    void TheRealOutputPlaysOnOrSkipsQuietly() {
        QStringList errors;
        const ErrorReporter previous =
            SetErrorReporter([&errors](const QString& message) { errors << message; });
        QList<QByteArray> items{RiffWave(1, 1, 8000, 16, QByteArray(1600, '\0')), QByteArray("RIFF junk")};
        const TWaveList waves(items);
        SetEffectWaves(&waves);

        PlayEffect(1);
        PlayEffect(1);  // cuts off the first
        PlayEffect(2);  // not a wave at all
        PlayEffect(0);
        QCoreApplication::processEvents();
        SetErrorReporter(previous);
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
    }
};

QTEST_MAIN(TestEffects)
#include "test_effects.moc"
