#pragma once
// The invisible music player of the main window: it opens one MIDI file at a
// time, plays it through the software synthesiser and reports its mode.
//
// The GUI thread only gives commands. The piece advances in real time on the
// audio thread, which renders it as the loudspeaker plays it; where nobody
// can hear it (no device, no synthesiser) a coarse clock on the GUI thread
// moves it on instead, so that playing, stopping and coming to the end
// behave the same. Tests move time on with AdvanceForTest.
//
// The synthesiser is made on a thread of its own when the music is first to
// be heard, and freed with its samples when the music is switched off.
#include "media/MidiSynth.h"
#include "media/MusicEngine.h"
#include "media/MusicSink.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <thread>

// The player's modes, with the values the program compares against.
enum class MPModes {
    mpNotReady = 0,  // no device open
    mpStopped = 1,   // open, not playing (also after the end of the piece)
    mpPlaying = 2,
    mpRecording = 3,
    mpSeeking = 4,
    mpPaused = 5,
    mpOpen = 6,
};

struct MediaPlayerOptions {
    // Empty: a silent synthesiser.
    QString soundFont = MidiSynth::DefaultSoundFont();
    // False keeps the music away from the audio output even if there is one,
    // and a synthesiser without its font is then no trouble worth telling.
    bool useAudioDevice = true;
    // Where the music is heard; null: the program's audio output.
    MusicSink* sink = nullptr;
};

// The largest music file read. Background pieces are tens of kilobytes; the
// densest General MIDI arrangements stay below a few megabytes. The limit
// leaves room for long system-exclusive dumps and lyrics, and is read in a
// blink; whatever is larger is no piece of music.
inline constexpr qint64 kMaxMidiFileBytes = qint64(64) << 20;

class TMediaPlayer : public QObject {
    Q_OBJECT
public:
    explicit TMediaPlayer(QObject* parent = nullptr);
    explicit TMediaPlayer(MediaPlayerOptions options, QObject* parent = nullptr);
    // Closes an open device, which ends the music.
    ~TMediaPlayer() override;

    QString FileName() const { return fileName_; }
    void SetFileName(const QString& fileName) { fileName_ = fileName; }

    // Each command returns whether it succeeded and leaves LastError empty on
    // success or with a description of the failure.
    //
    // Closes an open device, then loads FileName. Fails on a missing,
    // unreadable, non-MIDI or damaged file, and on anything that is not a
    // plain file of at most kMaxMidiFileBytes. Never blocks.
    bool Open();
    // Starts making the synthesiser on a thread of its own now, so that the
    // first Play is heard without delay. Otherwise the first Play makes it
    // (and is heard once it is there), and music that stays off never costs
    // its memory.
    void PrepareToPlay();
    // Frees the synthesiser and the samples it loaded (music switched off).
    void ReleaseSynth();
    // Called on the GUI thread when a synthesiser made for listening cannot
    // sound: the library or the sound font is missing.
    void OnTrouble(std::function<void(MidiSynth::Trouble)> handler) { onTrouble_ = std::move(handler); }
    // What would stand in the way of music, found out at once.
    MidiSynth::Trouble ProbeSynth() const;
    // Plays from the current position; at the end of the piece it starts
    // again from the beginning.
    bool Play();
    // Stops at the current position and silences every note at once.
    bool Stop();
    bool Close();

    MPModes Mode() const;
    bool IsOpen() const { return engine_->Loaded(); }
    QString LastError() const { return lastError_; }

    // True while the music has an audio stream open to a loudspeaker.
    bool IsAudible() const;
    qint64 PositionMs() const { return engine_->PositionMs(); }
    qint64 LengthMs() const { return engine_->LengthMs(); }

    // Moves the piece on by ms milliseconds at once, as if that much time had
    // passed; returns the largest sample magnitude it rendered.
    int AdvanceForTest(int ms);
    // True while the clock of the silent music is set to wake.
    bool SilentClockRunningForTest() const { return silentClock_.isActive(); }

    // True while a synthesiser is there (made, not yet released).
    bool HasSynthForTest() const { return engine_->HasSynth(); }

private:
    void LoadSynth();
    void JoinLoader();
    void SynthArrived(MidiSynth::Trouble trouble);
    // Hands the playing piece to the loudspeaker, or to the silent clock.
    void StartSound();
    void KeepTimeSilently();
    void SilentTick();
    bool Fail(const QString& message);

    MediaPlayerOptions options_;
    MusicSink* sink_;
    QString fileName_;
    QString lastError_;

    std::shared_ptr<MusicEngine> engine_;
    std::thread loader_;
    bool loading_ = false;
    std::function<void(MidiSynth::Trouble)> onTrouble_;

    // Without a stream: wakes at most twice a second, and at the end.
    QTimer silentClock_;
    QElapsedTimer silentSince_;
    double pendingFrames_ = 0;
};
