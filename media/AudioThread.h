#pragma once
// The one thread that talks to the audio library. The GUI thread hands it
// what should sound (the latest effect, whether the music plays) under a
// short lock that the audio thread never holds while it calls the library;
// so a sound server that stops answering silences the game but never holds
// it.
//
// The device is open only while something sounds: it opens for an effect or
// the music and closes a moment after the last of them has played out, so
// that no stream is open and nothing wakes while the game idles. A device
// that went away, or could not be opened, is looked for again every few
// seconds, but only while the music is meant to play or an effect has just
// been asked for; music that comes back starts its piece afresh.
#include "media/AudioBackend.h"
#include "media/MusicSink.h"
#include "media/SoundOutput.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// How the audio thread paces itself.
struct AudioTiming {
    // After the last sound: the device's own buffer plays out, and a
    // quick next effect finds the device still open.
    std::chrono::milliseconds linger{1000};
    // Between two attempts to find a device.
    std::chrono::milliseconds retry{2000};
    // Music that has ended still rings (release, reverb) this long.
    std::chrono::milliseconds ringOut{1500};
    // How often the music stream is topped up: seldom enough to cost little,
    // well within the music the output holds (see OpenAlBackend).
    std::chrono::milliseconds feed{60};
    // How often a sounding effect is checked for its end.
    std::chrono::milliseconds effectCheck{100};
};

class AudioThread final : public SoundOutput, public MusicSink {
public:
    using Clock = std::chrono::steady_clock;
    using Timing = AudioTiming;

    explicit AudioThread(std::unique_ptr<AudioBackend> backend, Timing timing = Timing());
    // Ends the thread; see Finish.
    ~AudioThread() override;

    // Asks the thread to close the device and end, and waits at most
    // patience for it. False when it is still held inside the audio library
    // (a stopped server): it is then left behind, never to be joined, and
    // the backend with it.
    bool Finish(std::chrono::milliseconds patience);

    // SoundOutput
    bool HasDevice() const override;
    void Play(const QByteArray& riff) override;
    void Stop() override;

    // MusicSink
    void StartMusic(std::shared_ptr<MusicStream> stream) override;
    void StopMusic() override;
    bool MusicAudible() const override { return musicAudible_.load(); }

    // What the thread is doing, for tests: whether a device is open, and
    // how many times it has woken up.
    bool DeviceOpenForTest() const { return deviceOpen_.load(); }
    int WakeUpsForTest() const { return wakeUps_.load(); }

private:
    enum class EffectCommand { None, Play, Stop };

    // What the GUI thread asked for; guarded by mutex_.
    struct Wishes {
        EffectCommand effect = EffectCommand::None;
        QByteArray riff;
        std::shared_ptr<MusicStream> music;
        unsigned musicStarts = 0; // counts StartMusic calls
        bool quit = false;
    };

    void Run();
    // One round: brings the device, the effect and the music in line with
    // the wishes; returns when the thread must look again at the latest.
    std::optional<Clock::time_point> Step(Wishes wishes);
    bool EnsureOpen(Clock::time_point now);
    void CloseDevice();
    void Feed();
    void SetMusicSilent();

    // Shared with the GUI thread.
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    Wishes wishes_;
    bool changed_ = false;
    std::atomic<bool> musicAudible_{false};
    std::atomic<bool> deviceOpen_{false};
    std::atomic<bool> lookedInVain_{false};
    std::atomic<Clock::rep> lastFailure_{0};
    std::atomic<int> wakeUps_{0};
    std::condition_variable done_;
    bool finished_ = false; // guarded by mutex_

    // The audio thread's own.
    std::unique_ptr<AudioBackend> backend_;
    Timing timing_;
    bool effectSounding_ = false;
    std::shared_ptr<MusicStream> stream_; // the music wanted, while it is
    unsigned startsSeen_ = 0;
    std::vector<std::int16_t> chunk_;
    bool streaming_ = false;
    bool musicSilent_ = false; // the music wanted could not be heard
    std::optional<Clock::time_point> endedAt_;
    std::optional<Clock::time_point> closeAt_;

    std::thread thread_;
};
