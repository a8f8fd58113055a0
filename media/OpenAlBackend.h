#pragma once
// The audio library behind the audio thread: OpenAL Soft, which reaches the
// desktop's sound server (PulseAudio, PipeWire, ALSA; WASAPI on Windows)
// through back ends it loads itself. One device, one context, a source for
// the effects and a source with a ring of buffers for the music.
#include "media/AudioBackend.h"

#include <QHash>
#include <vector>

class OpenAlBackend final : public AudioBackend {
public:
    OpenAlBackend() = default;
    ~OpenAlBackend() override;

    bool Open() override;
    void Close() override;
    bool Connected() override;

    void PlayEffect(const QByteArray& riff) override;
    void StopEffect() override;
    bool EffectSounding() override;

    void StartStream(int sampleRate) override;
    int StreamChunkFrames() const override;
    int StreamRoom() override;
    void QueueStream(const std::int16_t* stereo) override;
    bool StreamSounding() override;
    void StopStream() override;

private:
    // The device's buffer of the effect, uploaded when it is first played on
    // this device; 0 when the image cannot be played.
    unsigned EffectBuffer(const QByteArray& riff);

    void* device_ = nullptr;  // ALCdevice
    void* context_ = nullptr; // ALCcontext
    bool canTellDisconnect_ = false;
    unsigned effectSource_ = 0;
    unsigned musicSource_ = 0;
    QHash<QByteArray, unsigned> effectBuffers_;
    std::vector<unsigned> streamBuffers_;
    std::vector<unsigned> freeStreamBuffers_;
    int streamRate_ = 44100;
};
