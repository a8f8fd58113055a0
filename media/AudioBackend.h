#pragma once
// The audio library as the audio thread uses it: one output device with one
// voice for the effects and one stream for the music. Only the audio thread
// calls it, and any call may block for as long as the sound system makes it
// wait (a stopped sound server); nothing else waits for it.
#include <QByteArray>
#include <cstdint>

class AudioBackend {
public:
    virtual ~AudioBackend() = default;

    // Opens the default output device; false when there is none (or none
    // that reaches a loudspeaker).
    virtual bool Open() = 0;
    virtual void Close() = 0;
    // False once the open device has gone away (server ended, unplugged).
    virtual bool Connected() = 0;

    // Sounds riff (a RIFF WAVE image) from its start, cutting off the
    // effect before it; images that cannot be played are skipped.
    virtual void PlayEffect(const QByteArray& riff) = 0;
    virtual void StopEffect() = 0;
    virtual bool EffectSounding() = 0;

    // The music stream: started empty at a sample rate, then fed chunks of
    // StreamChunkFrames frames of 16-bit stereo while it has room.
    virtual void StartStream(int sampleRate) = 0;
    virtual int StreamChunkFrames() const = 0;
    // How many chunks can be queued now.
    virtual int StreamRoom() = 0;
    // Queues one chunk and keeps the stream playing (also after it ran dry).
    virtual void QueueStream(const std::int16_t* stereo) = 0;
    // True while queued sound is still playing.
    virtual bool StreamSounding() = 0;
    virtual void StopStream() = 0;
};
