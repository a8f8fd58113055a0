#pragma once
// The sequencer and synthesiser of the background music, shared by two
// threads: the player's commands come from the GUI thread, the rendering from
// the thread that feeds the audio output (or from the GUI thread's silent
// clock when nobody can hear it). One lock guards the piece and the
// synthesiser; the mode and the position can be read without it.
#include "media/MidiSequence.h"
#include "media/MidiSynth.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

class MusicEngine {
public:
    // The synthesiser arrives once, from whichever thread made it; until
    // then nothing renders. Waiters of WaitForSynth are woken.
    void InstallSynth(std::unique_ptr<MidiSynth> synth);
    bool HasSynth() const { return hasSynth_.load(); }
    // True when the installed synthesiser has a soundfont to sound with.
    bool CanSound() const { return canSound_.load(); }
    void WaitForSynth() const;

    // A new piece, stopped at its beginning; instruments and controllers of
    // the previous piece are reset.
    void Load(std::unique_ptr<MidiSequence> sequence);
    void Unload();
    bool Loaded() const { return loaded_.load(); }

    // Plays on from the current position; at the end first rewinds.
    void Play();
    // Stops where it is and silences every note at once.
    void Stop();
    bool Playing() const { return playing_.load(); }

    qint64 PositionMs() const;
    qint64 LengthMs() const { return lengthMs_.load(); }
    // Milliseconds of the piece still to play (0 when stopped at its end).
    qint64 RemainingMs() const;
    int SampleRate() const { return sampleRate_.load(); }

    // Renders frames of interleaved stereo into out (2 * frames samples),
    // playing the events that fall due on the way; returns the peak sample
    // magnitude. Without a synthesiser out is filled with silence.
    int Render(qint64 frames, std::int16_t* out);
    // Moves the piece on by frames, sending its events but rendering
    // nothing: the piece's time passes where no one listens.
    void Skip(qint64 frames);

private:
    // With the lock held: the events due now, then how many of frames can
    // pass before the next one (or the end). Ends the piece at its length.
    qint64 DueChunk(qint64 frames);
    qint64 EventFrame(std::size_t index) const;
    qint64 LengthFrames() const;

    mutable std::mutex mutex_;
    mutable std::condition_variable synthArrived_;
    std::unique_ptr<MidiSynth> synth_;
    std::unique_ptr<MidiSequence> sequence_;
    std::size_t nextEvent_ = 0;

    std::atomic<bool> hasSynth_{false};
    std::atomic<bool> canSound_{false};
    std::atomic<bool> loaded_{false};
    std::atomic<bool> playing_{false};
    std::atomic<qint64> positionFrames_{0};
    std::atomic<qint64> lengthMs_{0};
    std::atomic<int> sampleRate_{44100};
};
