#pragma once
// Where the sound effects go. The effect player decides what to play; an
// output only knows how to sound one in-memory wave image at a time.
#include <QByteArray>

class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // False when the machine has no audio output to play on.
    virtual bool HasDevice() const = 0;
    // Starts riff (a complete RIFF WAVE image) and returns at once; cuts off
    // whatever this output is still sounding.
    virtual void Play(const QByteArray& riff) = 0;
    // Silences the sounding effect, if any.
    virtual void Stop() = 0;
};
