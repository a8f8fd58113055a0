#include "media/OpenAlBackend.h"

#include "media/WaveImage.h"

#include <QTemporaryFile>
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <cstring>

namespace {

// The music's ring: 8 buffers of 2048 frames, about 370 ms at 44.1 kHz. The
// feeding thread may lose the processor for that long on a busy machine
// before the music falters; the effects do not wait behind it.
constexpr int kStreamBuffers = 8;
constexpr int kChunkFrames = 2048;

// OpenAL Soft's stand-in when no back end finds a device: it plays to
// nowhere, which for the game is no device.
constexpr const char* kNullDeviceName = "No Output";

// The library's default buffering (3 periods of 1024 frames, about 70 ms in
// the sound server) lets the music falter when the machine is busy for a
// moment (a resize storm, other programs on every core). Six periods, about
// 140 ms, ride that out and still bring an effect within a fifth of a second.
// The library takes such settings only from a configuration file, read once
// at its first use; a player's own choice (ALSOFT_CONF) is left alone.
void PreferLongerBuffering() {
    static bool done = false;
    if (done || qEnvironmentVariableIsSet("ALSOFT_CONF"))
        return;
    done = true;
    static QTemporaryFile config;
    if (!config.open())
        return;
    config.write("[general]\nperiod_size = 1024\nperiods = 6\n");
    config.flush();
    qputenv("ALSOFT_CONF", QFile::encodeName(config.fileName()));
}

ALCdevice* Device(void* device) { return static_cast<ALCdevice*>(device); }

// A source that plays its sound as it is, at full level, wherever the
// listener is.
void MakeFlat(ALuint source) {
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
}

ALint State(ALuint source) {
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

}  // namespace

OpenAlBackend::~OpenAlBackend() { Close(); }

bool OpenAlBackend::Open() {
    Close();
    PreferLongerBuffering();
    ALCdevice* device = alcOpenDevice(nullptr);
    if (!device)
        return false;
    const ALCchar* name = alcGetString(device, ALC_DEVICE_SPECIFIER);
    ALCcontext* context = name && std::strcmp(name, kNullDeviceName) != 0 ? alcCreateContext(device, nullptr) : nullptr;
    if (!context || !alcMakeContextCurrent(context)) {
        if (context)
            alcDestroyContext(context);
        alcCloseDevice(device);
        return false;
    }
    device_ = device;
    context_ = context;
    canTellDisconnect_ = alcIsExtensionPresent(device, "ALC_EXT_disconnect");
    alGenSources(1, &effectSource_);
    alGenSources(1, &musicSource_);
    MakeFlat(effectSource_);
    MakeFlat(musicSource_);
    streamBuffers_.assign(kStreamBuffers, 0);
    alGenBuffers(kStreamBuffers, streamBuffers_.data());
    freeStreamBuffers_ = streamBuffers_;
    return alGetError() == AL_NO_ERROR;
}

void OpenAlBackend::Close() {
    if (!device_)
        return;
    alSourceStop(effectSource_);
    alSourceStop(musicSource_);
    alSourcei(effectSource_, AL_BUFFER, 0);
    alSourcei(musicSource_, AL_BUFFER, 0);
    alDeleteSources(1, &effectSource_);
    alDeleteSources(1, &musicSource_);
    for (ALuint buffer : std::as_const(effectBuffers_))
        if (buffer)
            alDeleteBuffers(1, &buffer);
    effectBuffers_.clear();
    alDeleteBuffers(ALsizei(streamBuffers_.size()), streamBuffers_.data());
    streamBuffers_.clear();
    freeStreamBuffers_.clear();
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(static_cast<ALCcontext*>(context_));
    alcCloseDevice(Device(device_));
    device_ = nullptr;
    context_ = nullptr;
    effectSource_ = musicSource_ = 0;
}

bool OpenAlBackend::Connected() {
    if (!device_)
        return false;
    if (!canTellDisconnect_)
        return true;
    ALCint connected = ALC_TRUE;
    alcGetIntegerv(Device(device_), ALC_CONNECTED, 1, &connected);
    return connected != ALC_FALSE;
}

unsigned OpenAlBackend::EffectBuffer(const QByteArray& riff) {
    const auto known = effectBuffers_.constFind(riff);
    if (known != effectBuffers_.cend())
        return *known;
    ALuint buffer = 0;
    // Stereo, so that a mono effect sounds at full level on both sides
    // instead of being panned to the middle at a lower one.
    const std::optional<WaveImage> wave = WaveImage::Parse(riff);
    const std::vector<std::int16_t> pcm = wave ? wave->StereoInt16() : std::vector<std::int16_t>();
    if (!pcm.empty()) {
        alGenBuffers(1, &buffer);
        alBufferData(buffer, AL_FORMAT_STEREO16, pcm.data(), ALsizei(pcm.size() * sizeof(std::int16_t)),
                     wave->sampleRate);
        if (alGetError() != AL_NO_ERROR) {
            alDeleteBuffers(1, &buffer);
            buffer = 0;
        }
    }
    effectBuffers_.insert(riff, buffer);
    return buffer;
}

void OpenAlBackend::PlayEffect(const QByteArray& riff) {
    if (!device_)
        return;
    alSourceStop(effectSource_);
    const ALuint buffer = EffectBuffer(riff);
    if (!buffer)
        return;
    alSourcei(effectSource_, AL_BUFFER, ALint(buffer));
    alSourcePlay(effectSource_);
}

void OpenAlBackend::StopEffect() {
    if (device_)
        alSourceStop(effectSource_);
}

bool OpenAlBackend::EffectSounding() { return device_ && State(effectSource_) == AL_PLAYING; }

void OpenAlBackend::StartStream(int sampleRate) {
    StopStream();
    streamRate_ = sampleRate;
}

int OpenAlBackend::StreamChunkFrames() const { return kChunkFrames; }

int OpenAlBackend::StreamRoom() {
    if (!device_)
        return 0;
    ALint processed = 0;
    alGetSourcei(musicSource_, AL_BUFFERS_PROCESSED, &processed);
    while (processed-- > 0) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(musicSource_, 1, &buffer);
        freeStreamBuffers_.push_back(buffer);
    }
    return int(freeStreamBuffers_.size());
}

void OpenAlBackend::QueueStream(const std::int16_t* stereo) {
    if (!device_ || freeStreamBuffers_.empty())
        return;
    const ALuint buffer = freeStreamBuffers_.back();
    freeStreamBuffers_.pop_back();
    alBufferData(buffer, AL_FORMAT_STEREO16, stereo, kChunkFrames * 4, streamRate_);
    alSourceQueueBuffers(musicSource_, 1, &buffer);
    // Starts the stream, or starts it again after it ran dry.
    if (State(musicSource_) != AL_PLAYING)
        alSourcePlay(musicSource_);
}

bool OpenAlBackend::StreamSounding() { return device_ && State(musicSource_) == AL_PLAYING; }

void OpenAlBackend::StopStream() {
    if (!device_)
        return;
    alSourceStop(musicSource_);
    // Unqueues every buffer at once.
    alSourcei(musicSource_, AL_BUFFER, 0);
    freeStreamBuffers_ = streamBuffers_;
}
