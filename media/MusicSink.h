#pragma once
// Where the background music goes: one stream of 16-bit stereo, pulled from
// its source on the audio side as fast as the loudspeaker plays it. The GUI
// thread only starts and stops it; neither call waits for the sound system.
#include <cstdint>
#include <memory>

// The music's side of the stream. Called on the audio side, from one thread.
class MusicStream {
public:
    virtual ~MusicStream() = default;
    virtual int SampleRate() const = 0;
    // Renders the next frames of interleaved stereo (2 * frames samples).
    virtual void Render(int frames, std::int16_t* out) = 0;
    // True while the piece plays; after its end the last notes still ring
    // out for a moment.
    virtual bool Playing() const = 0;
    // Back to the beginning of the piece: after the sound system came back,
    // the piece starts afresh rather than somewhere in the middle.
    virtual void Rewind() = 0;
    // The stream cannot be heard (no device, or it went away): the music's
    // time must be kept another way until it is heard again.
    virtual void Silenced() = 0;
};

class MusicSink {
public:
    virtual ~MusicSink() = default;
    // Plays stream from where it stands, replacing any other; the sink keeps
    // it until StopMusic or until the piece has ended and rung out.
    virtual void StartMusic(std::shared_ptr<MusicStream> stream) = 0;
    // Silences the music at once.
    virtual void StopMusic() = 0;
    // True while the music goes to a loudspeaker.
    virtual bool MusicAudible() const = 0;
};
