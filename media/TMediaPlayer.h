#pragma once
// The invisible music player of the main window: it opens one MIDI file at a
// time, plays it through the software synthesiser and reports its mode.
//
// The piece advances in real time while the event loop runs: fed to the
// machine's audio output when there is one, otherwise rendered and dropped
// on a timer, so that playing, stopping and coming to the end behave the
// same on a machine without sound. Tests move time on with AdvanceForTest.
#include "media/MidiSequence.h"
#include "media/MidiSynth.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

class QAudioSink;
class QIODevice;

// The player's modes, with the values the program compares against.
enum class TMPModes {
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
    // False keeps the music away from the audio output even if there is one.
    bool useAudioDevice = true;
};

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
    // unreadable, non-MIDI or damaged file.
    bool Open();
    // Plays from the current position; at the end of the piece it starts
    // again from the beginning.
    bool Play();
    // Stops at the current position and silences every note at once.
    bool Stop();
    bool Close();

    TMPModes Mode() const;
    bool IsOpen() const { return sequence_ != nullptr; }
    QString LastError() const { return lastError_; }

    // True when the music actually reaches a loudspeaker.
    bool IsAudible() const { return sink_ != nullptr; }
    qint64 PositionMs() const;
    qint64 LengthMs() const;

    // Moves the piece on by ms milliseconds at once, as if that much time had
    // passed; returns the largest sample magnitude it rendered.
    int AdvanceForTest(int ms);

private:
    void Pump();
    void EnsureSynth();
    void StartOutput();
    void StopOutput();
    // Renders frames into out (2 * frames samples), playing the events that
    // fall due on the way. Returns the peak sample magnitude.
    int Render(qint64 frames, std::int16_t* out);
    int RenderAndDrop(qint64 frames);
    qint64 EventFrame(std::size_t index) const;
    qint64 LengthFrames() const;
    bool Fail(const QString& message);

    MediaPlayerOptions options_;
    QString fileName_;
    QString lastError_;

    std::unique_ptr<MidiSynth> synth_;
    std::unique_ptr<MidiSequence> sequence_;  // set exactly while a device is open
    bool playing_ = false;
    qint64 positionFrames_ = 0;
    std::size_t nextEvent_ = 0;

    QTimer pumpTimer_;
    QElapsedTimer clock_;
    double pendingFrames_ = 0;
    QAudioSink* sink_ = nullptr;
    QIODevice* sinkInput_ = nullptr;
    std::vector<std::int16_t> buffer_;
};
