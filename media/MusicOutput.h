#pragma once
// The music's way to the loudspeaker, on a thread of its own: it makes the
// synthesiser (loading the soundfont takes long, and the window need not wait
// for it), and while the piece plays it keeps an audio stream open that pulls
// its sound straight from the engine. A long paint, a resize or a modal
// window on the GUI thread therefore never starves the music.
//
// The stream exists only while there is something to hear: it opens on
// Start, closes at once on Stop, and closes a moment after the piece has
// ended unless it starts again, once the last notes have died away.
#include <QObject>
#include <QString>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <functional>

class MusicEngine;
class QAudioSink;
class QIODevice;

class MusicOutput : public QObject {
    Q_OBJECT
public:
    // onSilent runs on the GUI thread when a started piece cannot be heard
    // (no device, no soundfont, the stream failed or went away): the player
    // then keeps its time on the clock instead.
    MusicOutput(MusicEngine& engine, QString soundFont, bool useAudioDevice, std::function<void()> onSilent,
                QObject* guiContext);
    // Closes the stream and ends the thread.
    ~MusicOutput() override;

    // Each returns at once; the work is done on the output thread, in order.
    void LoadSynth();
    void Start();
    void Stop();

    // True while a stream is open (read from any thread).
    bool StreamOpen() const { return streamOpen_.load(); }

private:
    void MakeSynth();
    void OpenStream();
    void CloseStream();
    void OnPulled();
    void FallSilent();

    MusicEngine& engine_;
    QString soundFont_;
    bool useAudioDevice_;
    std::function<void()> onSilent_;
    QObject* guiContext_;

    QThread thread_;
    bool synthRequested_ = false;
    // Output-thread state.
    QAudioSink* sink_ = nullptr;
    QIODevice* stream_ = nullptr;
    QTimer* closeTimer_ = nullptr;
    std::atomic<bool> streamOpen_{false};
};
