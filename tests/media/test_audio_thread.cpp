// The audio thread against a scripted audio library: the device is open only
// while something sounds, nothing wakes while nothing does, a library that
// hangs never holds the caller, and a device that went away is found again
// while the music is meant to play, which then starts its piece afresh.
#include "MidiFixture.h"
#include "media/AudioThread.h"

#include <QtTest>
#include <chrono>
#include <condition_variable>
#include <mutex>

using namespace std::chrono_literals;

namespace {

// What a sound server would do, scripted by the test. Every call comes from
// the audio thread; the test reads and changes the script from its own.
class ScriptedBackend : public AudioBackend {
    template <class F> void Set(F f) {
        std::lock_guard lock(mutex_);
        f();
    }
    template <class F> auto Get(F f) const -> decltype(f()) {
        std::lock_guard lock(mutex_);
        return f();
    }

public:
    static constexpr int Chunk = 64;
    static constexpr int Capacity = 4;

    // The script.
    void SetOpenFails(bool fails) { Set([&] { openFails_ = fails; }); }
    void SetConnected(bool connected) { Set([&] { connected_ = connected; }); }
    void EndEffect() { Set([&] { effectSounding_ = false; }); }
    // Open waits until Release (a server that stopped answering).
    void Hang() { Set([&] { hanging_ = true; }); }
    void Release() {
        Set([&] { hanging_ = false; });
        released_.notify_all();
    }
    // The loudspeaker plays what is queued.
    void PlayQueued() { Set([&] { queued_ = 0; }); }

    // What happened.
    int Opens() const { return Get([&] { return opens_; }); }
    int Attempts() const { return Get([&] { return attempts_; }); }
    bool IsOpen() const { return Get([&] { return open_; }); }
    QList<QByteArray> Effects() const { return Get([&] { return effects_; }); }
    int Chunks() const { return Get([&] { return chunks_; }); }

    bool Open() override {
        std::unique_lock lock(mutex_);
        ++attempts_;
        released_.wait(lock, [this] { return !hanging_; });
        if (openFails_)
            return false;
        ++opens_;
        open_ = true;
        connected_ = true;
        return true;
    }
    void Close() override { Set([&] { open_ = false; queued_ = 0; effectSounding_ = false; }); }
    bool Connected() override { return Get([&] { return connected_; }); }
    void PlayEffect(const QByteArray& riff) override {
        Set([&] {
            effects_ << riff;
            effectSounding_ = true;
        });
    }
    void StopEffect() override { Set([&] { effectSounding_ = false; }); }
    bool EffectSounding() override { return Get([&] { return effectSounding_; }); }
    void StartStream(int) override { Set([&] { queued_ = 0; }); }
    int StreamChunkFrames() const override { return Chunk; }
    int StreamRoom() override { return Get([&] { return Capacity - queued_; }); }
    void QueueStream(const std::int16_t*) override { Set([&] { ++queued_; ++chunks_; }); }
    bool StreamSounding() override { return Get([&] { return queued_ > 0; }); }
    void StopStream() override { Set([&] { queued_ = 0; }); }

private:
    mutable std::mutex mutex_;
    std::condition_variable released_;
    bool hanging_ = false;
    bool openFails_ = false;
    bool open_ = false;
    bool connected_ = true;
    bool effectSounding_ = false;
    int queued_ = 0;
    int opens_ = 0;
    int attempts_ = 0;
    int chunks_ = 0;
    QList<QByteArray> effects_;
};

// A piece that plays until told to end, counting what happens to it.
class CountingStream : public MusicStream {
public:
    std::atomic<bool> playing{true};
    std::atomic<int> renders{0};
    std::atomic<int> rewinds{0};
    std::atomic<int> silenced{0};

    int SampleRate() const override { return 44100; }
    void Render(int frames, std::int16_t* out) override {
        std::fill(out, out + 2 * frames, std::int16_t(0));
        ++renders;
    }
    bool Playing() const override { return playing; }
    void Rewind() override { ++rewinds; }
    void Silenced() override { ++silenced; }
};

AudioThread::Timing Quick() {
    AudioThread::Timing t;
    t.linger = 50ms;
    t.retry = 300ms;
    t.ringOut = 100ms;
    t.feed = 5ms;
    t.effectCheck = 10ms;
    return t;
}

// The thread's wake-ups over a while, once it has settled.
int WakeUpsOver(const AudioThread& audio, int ms) {
    const int before = audio.WakeUpsForTest();
    QTest::qWait(ms);
    return audio.WakeUpsForTest() - before;
}

}  // namespace

class TestAudioThread : public QObject {
    Q_OBJECT
private slots:
    void AnEffectOpensTheDeviceWhichClosesWhenItHasPlayed() {
        auto* backend = new ScriptedBackend;
        AudioThread audio(std::unique_ptr<AudioBackend>(backend), Quick());
        QCOMPARE(WakeUpsOver(audio, 100), 0);
        QVERIFY(!backend->IsOpen());

        audio.Play("click");
        QTRY_COMPARE(backend->Effects(), QList<QByteArray>{"click"});
        QVERIFY(backend->IsOpen());
        QTest::qWait(150); // longer than the linger: still sounding, still open
        QVERIFY(backend->IsOpen());

        backend->EndEffect();
        QTRY_VERIFY(!backend->IsOpen());
        QVERIFY(!audio.DeviceOpenForTest());
        QCOMPARE(WakeUpsOver(audio, 200), 0);

        // Quick effects in a row find the device open.
        audio.Play("a");
        QTRY_COMPARE(backend->Effects().size(), 2);
        audio.Play("b");
        QTRY_COMPARE(backend->Effects().size(), 3);
        QCOMPARE(backend->Opens(), 2);
    }

    // A library that hangs (a stopped sound server) holds the audio thread
    // only: every call returns, the effects asked for meanwhile come down to
    // the latest, and a stop cancels it.
    void AHangingLibraryNeverHoldsTheCaller_data() {
        QTest::addColumn<bool>("stopLast");
        QTest::addColumn<QList<QByteArray>>("played");
        QTest::newRow("the latest effect plays") << false << QList<QByteArray>{"first", "effect 49"};
        QTest::newRow("a stop ends them all") << true << QList<QByteArray>{"first"};
    }
    void AHangingLibraryNeverHoldsTheCaller() {
        QFETCH(bool, stopLast);
        QFETCH(QList<QByteArray>, played);
        const Watchdog watchdog(20);
        auto* backend = new ScriptedBackend;
        AudioThread audio(std::unique_ptr<AudioBackend>(backend), Quick());
        backend->Hang();
        audio.Play("first");
        QTRY_COMPARE(backend->Attempts(), 1);

        auto stream = std::make_shared<CountingStream>();
        for (int i = 0; i < 50; ++i) {
            audio.Play(QByteArray("effect ") + QByteArray::number(i));
            audio.StartMusic(stream);
            audio.StopMusic();
            QVERIFY(audio.HasDevice());
        }
        if (stopLast)
            audio.Stop();
        QVERIFY(!audio.MusicAudible());

        backend->Release();
        QTRY_COMPARE(backend->Effects(), played);
        QTest::qWait(100);
        QCOMPARE(backend->Effects(), played);
        QCOMPARE(stream->renders.load(), 0);
    }

    // No device: the effect is dropped, HasDevice says so until it is time
    // to look again, and nothing looks while nothing is meant to sound.
    void WithoutADeviceOnlyAWishMakesItLookAgain() {
        auto* backend = new ScriptedBackend;
        backend->SetOpenFails(true);
        AudioThread audio(std::unique_ptr<AudioBackend>(backend), Quick());
        audio.Play("click");
        QTRY_COMPARE(backend->Attempts(), 1);
        QTRY_VERIFY(!audio.HasDevice());
        audio.Play("too soon");
        QTest::qWait(1000);
        QCOMPARE(backend->Attempts(), 1);
        QCOMPARE(WakeUpsOver(audio, 200), 0);

        QVERIFY(audio.HasDevice()); // time to look again
        backend->SetOpenFails(false);
        audio.Play("click");
        QTRY_COMPARE(backend->Effects(), QList<QByteArray>{"click"});
    }

    // The server goes away while the music plays: it is silent (and says
    // so once) while the device is looked for every few moments; when one
    // opens, the piece starts afresh and is heard.
    void MusicComesBackAtTheStartOfItsPiece() {
        auto* backend = new ScriptedBackend;
        AudioThread audio(std::unique_ptr<AudioBackend>(backend), Quick());
        auto stream = std::make_shared<CountingStream>();
        audio.StartMusic(stream);
        QTRY_VERIFY(audio.MusicAudible());
        QTRY_COMPARE(backend->Chunks(), ScriptedBackend::Capacity);
        backend->PlayQueued();
        QTRY_COMPARE(backend->Chunks(), 2 * ScriptedBackend::Capacity);

        backend->SetOpenFails(true);
        backend->SetConnected(false);
        QTRY_COMPARE(stream->silenced.load(), 1);
        QVERIFY(!audio.MusicAudible());
        QTRY_VERIFY(backend->Attempts() >= 4); // looked for again and again
        QCOMPARE(stream->silenced.load(), 1);
        QCOMPARE(stream->rewinds.load(), 0);

        backend->SetOpenFails(false);
        QTRY_VERIFY(audio.MusicAudible());
        QCOMPARE(stream->rewinds.load(), 1);
        QTRY_COMPARE(backend->Chunks(), 3 * ScriptedBackend::Capacity);

        // Stopped, the music is not looked for any more.
        backend->SetOpenFails(true);
        backend->SetConnected(false);
        QTRY_COMPARE(stream->silenced.load(), 2);
        audio.StopMusic();
        QTest::qWait(100);
        const int attempts = backend->Attempts();
        QCOMPARE(WakeUpsOver(audio, 700), 0);
        QCOMPARE(backend->Attempts(), attempts);
    }

    // A piece that ends rings out, then the device closes and all sleeps.
    void EndedMusicRingsOutAndTheDeviceCloses() {
        auto* backend = new ScriptedBackend;
        AudioThread audio(std::unique_ptr<AudioBackend>(backend), Quick());
        auto stream = std::make_shared<CountingStream>();
        audio.StartMusic(stream);
        QTRY_VERIFY(audio.MusicAudible());
        stream->playing = false;
        const int rendered = stream->renders;
        backend->PlayQueued();
        QTRY_VERIFY(stream->renders > rendered); // the ring-out is rendered
        QTRY_VERIFY(!backend->IsOpen());
        QVERIFY(!audio.MusicAudible());
        QCOMPARE(WakeUpsOver(audio, 200), 0);
        QCOMPARE(stream->silenced.load(), 0);

        // Started again (the clock's next tick), it is heard again.
        stream->playing = true;
        audio.StartMusic(stream);
        QTRY_VERIFY(audio.MusicAudible());
        QCOMPARE(backend->Opens(), 2);
    }

    // Ending while the library hangs: the caller is let go after its
    // patience; the thread is left behind and ends once the library lets it.
    void FinishGivesUpOnAHangingLibrary() {
        auto* backend = new ScriptedBackend;
        auto* audio = new AudioThread(std::unique_ptr<AudioBackend>(backend), Quick());
        backend->Hang();
        audio->Play("click");
        QTRY_COMPARE(backend->Attempts(), 1);
        QVERIFY(!audio->Finish(200ms));
        // The thread still uses both: they stay.
        backend->Release();
        QTest::qWait(200);

        auto* calm = new ScriptedBackend;
        AudioThread quiet(std::unique_ptr<AudioBackend>(calm), Quick());
        quiet.Play("click");
        QTRY_VERIFY(calm->IsOpen());
        QVERIFY(quiet.Finish(5000ms));
        QVERIFY(!calm->IsOpen());
    }
};

QTEST_GUILESS_MAIN(TestAudioThread)
#include "test_audio_thread.moc"
