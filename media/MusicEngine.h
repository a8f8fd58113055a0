#pragma once
// The sequencer and synthesiser of the background music, shared by two
// threads: the player's commands come from the GUI thread, the rendering from
// the audio thread (or from the GUI thread's silent clock when nobody can
// hear it). One lock guards the piece and the synthesiser; the mode and the
// position can be read without it.
#include "media/MidiSequence.h"
#include "media/MidiSynth.h"
#include "media/MusicSink.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

class MusicEngine final : public MusicStream {
public:
    // The synthesiser arrives once, from whichever thread made it; until
    // then nothing renders. Waiters of WaitForSynth are woken.
    void InstallSynth(std::unique_ptr<MidiSynth> synth);
    bool HasSynth() const { return hasSynth_.load(); }
    // Takes the synthesiser out (to free it with its samples); the engine
    // renders silence until the next one is installed.
    std::unique_ptr<MidiSynth> TakeSynth();
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
    bool Playing() const override { return playing_.load(); }
    // Back to the beginning, instruments reset; plays on if it played.
    void Rewind() override;

    qint64 PositionMs() const;
    qint64 LengthMs() const { return lengthMs_.load(); }
    // Milliseconds of the piece still to play (0 when stopped at its end).
    qint64 RemainingMs() const;
    int SampleRate() const override { return sampleRate_.load(); }

    // Renders frames of interleaved stereo into out (2 * frames samples),
    // playing the events that fall due on the way; returns the peak sample
    // magnitude. Without a synthesiser out is filled with silence.
    int RenderPeak(qint64 frames, std::int16_t* out);
    void Render(int frames, std::int16_t* out) override { RenderPeak(frames, out); }
    // Moves the piece on by frames and renders nothing: the piece's time
    // passes where no one listens. Its notes do not reach the synthesiser,
    // which therefore loads no instrument for them.
    void Skip(qint64 frames);

    // What Silenced does: runs on the audio thread; the player hands it on
    // to its own. Set empty before the player goes.
    void OnSilenced(std::function<void()> handler);
    void Silenced() override;

private:
    // With the lock held: the events due now, then how many of frames can
    // pass before the next one (or the end). Ends the piece at its length.
    // Sends the events due to the synthesiser only when sounding.
    qint64 DueChunk(qint64 frames, bool sounding);
    qint64 EventFrame(std::size_t index) const;
    qint64 LengthFrames() const;
    // With the lock held: the synthesiser to its power-on state, with
    // instruments only on the channels the piece uses.
    void ResetSynth();

    mutable std::mutex mutex_;
    mutable std::condition_variable synthArrived_;
    std::unique_ptr<MidiSynth> synth_;
    std::unique_ptr<MidiSequence> sequence_;
    std::mutex silencedMutex_;
    std::function<void()> onSilenced_;
    std::size_t nextEvent_ = 0;
    std::uint16_t usedChannels_ = 0xFFFF;

    std::atomic<bool> hasSynth_{false};
    std::atomic<bool> canSound_{false};
    std::atomic<bool> loaded_{false};
    std::atomic<bool> playing_{false};
    std::atomic<qint64> positionFrames_{0};
    std::atomic<qint64> lengthMs_{0};
    std::atomic<int> sampleRate_{44100};
};
