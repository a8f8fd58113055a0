#pragma once
// A private PulseAudio server for one test program: a null sink that takes
// whatever the game plays, reached through a socket of its own, with none of
// the user's configuration; and a recording of that sink's monitor, read as
// a player would hear it.
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <optional>

class SoundServer {
public:
    SoundServer() = default;
    ~SoundServer();
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    // Empty when pulseaudio and parec are installed; otherwise why the
    // tests cannot run here.
    static QString Missing();

    // Starts the server and waits until it answers. Empty on success,
    // otherwise what went wrong. After Kill it starts a new one on the same
    // socket, as a desktop's sound server comes back after a crash.
    QString Start();
    // The server stops answering (SIGSTOP) and, resumed, goes on (SIGCONT).
    void Pause();
    void Resume();
    // The server ends at once (SIGKILL), with every stream to it.
    void Kill();
    bool Running() const { return server_.state() != QProcess::NotRunning; }
    // What the game's PULSE_SERVER must say.
    QString Address() const;
    // The streams now playing into the sink (pactl's count).
    int PlayingStreams() const;

private:
    QString Pactl(const QStringList& args, bool* ok = nullptr) const;

    QTemporaryDir dir_;
    QProcess server_;
};

// What the sink played from the moment Start returns, as 16-bit stereo at
// 44.1 kHz. Positions are frames of the recording; Now() is where the
// recording stands when it is asked (a little behind the sound, never ahead).
class SoundRecording {
public:
    static constexpr int Rate = 44100;
    // A sample above this is sound (about -50 dBFS): the effects peak
    // near -22 dBFS and the music plays around -28 dBFS, while the null
    // sink gives exact zeros when nothing plays.
    static constexpr int Audible = 100;

    explicit SoundRecording(const SoundServer& server);
    ~SoundRecording();

    QString Start();
    qint64 Now() const;
    static qint64 Ms(qint64 frames) { return frames * 1000 / Rate; }

    // The largest sample magnitude in [from, to).
    int Peak(qint64 from, qint64 to) const;
    // The first frame at or after from where sound begins, if any before to.
    std::optional<qint64> FirstSound(qint64 from, qint64 to) const;
    // The first sound at or after frame from, waited for up to ms.
    std::optional<qint64> WaitForSound(qint64 from, int ms) const;
    // How long sound lasts from frame from on, allowing pauses up to 50 ms.
    qint64 SoundingMs(qint64 from, qint64 to) const;
    // The longest stretch in [from, to) without a single audible sample, in
    // milliseconds.
    qint64 LongestSilenceMs(qint64 from, qint64 to) const;

private:
    // The loudest channel of each frame in [from, to).
    QList<int> FrameLevels(qint64 from, qint64 to) const;

    const SoundServer& server_;
    QTemporaryDir dir_;
    QProcess recorder_;
};
