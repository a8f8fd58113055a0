#pragma once
// Where the sound effects go. The effect player decides what to play; an
// output only knows how to sound one in-memory wave image at a time. Every
// call returns at once: an output never makes the game wait for its sound.
#include <QByteArray>

class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // False when the machine has no audio output to play on (as far as the
    // output knows now; it looks again from time to time).
    virtual bool HasDevice() const = 0;
    // Starts riff (a complete RIFF WAVE image); cuts off whatever this
    // output is still sounding.
    virtual void Play(const QByteArray& riff) = 0;
    // Silences the sounding effect, if any.
    virtual void Stop() = 0;
};
