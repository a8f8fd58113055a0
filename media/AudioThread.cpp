#include "media/AudioThread.h"

#include <algorithm>

AudioThread::AudioThread(std::unique_ptr<AudioBackend> backend, Timing timing)
    : backend_(std::move(backend)), timing_(timing) {
    thread_ = std::thread([this] { Run(); });
}

AudioThread::~AudioThread() {
    if (thread_.joinable())
        Finish(std::chrono::hours(24));
}

bool AudioThread::Finish(std::chrono::milliseconds patience) {
    std::unique_lock lock(mutex_);
    wishes_.quit = true;
    wake_.notify_all();
    const bool finished = done_.wait_for(lock, patience, [this] { return finished_; });
    lock.unlock();
    if (finished)
        thread_.join();
    else
        thread_.detach();
    return finished;
}

bool AudioThread::HasDevice() const {
    if (!lookedInVain_.load())
        return true;
    // Looked in vain: effects stay silent until it is time to look again.
    const Clock::duration since = Clock::now().time_since_epoch() - Clock::duration(lastFailure_.load());
    return since >= timing_.retry;
}

void AudioThread::Play(const QByteArray& riff) {
    {
        std::lock_guard lock(mutex_);
        wishes_.effect = EffectCommand::Play;
        wishes_.riff = riff;
        changed_ = true;
    }
    wake_.notify_one();
}

void AudioThread::Stop() {
    {
        std::lock_guard lock(mutex_);
        wishes_.effect = EffectCommand::Stop;
        wishes_.riff.clear();
        changed_ = true;
    }
    wake_.notify_one();
}

void AudioThread::StartMusic(std::shared_ptr<MusicStream> stream) {
    {
        std::lock_guard lock(mutex_);
        wishes_.music = std::move(stream);
        ++wishes_.musicStarts;
        changed_ = true;
    }
    wake_.notify_one();
}

void AudioThread::StopMusic() {
    {
        std::lock_guard lock(mutex_);
        wishes_.music.reset();
        changed_ = true;
    }
    wake_.notify_one();
}

void AudioThread::Run() {
    std::optional<Clock::time_point> wakeAt;
    for (;;) {
        Wishes wishes;
        {
            std::unique_lock lock(mutex_);
            const auto asked = [this] { return changed_ || wishes_.quit; };
            if (wakeAt)
                wake_.wait_until(lock, *wakeAt, asked);
            else
                wake_.wait(lock, asked);
            wishes = wishes_;
            // An effect is asked for once; the music stays wished for.
            wishes_.effect = EffectCommand::None;
            wishes_.riff.clear();
            changed_ = false;
        }
        ++wakeUps_;
        if (wishes.quit)
            break;
        wakeAt = Step(std::move(wishes));
    }
    CloseDevice();
    stream_.reset();
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
    }
    done_.notify_all();
}

std::optional<AudioThread::Clock::time_point> AudioThread::Step(Wishes wishes) {
    const Clock::time_point now = Clock::now();
    if (deviceOpen_ && !backend_->Connected())
        CloseDevice();

    // The effect: the latest wish only; a new one cuts the one before.
    if (wishes.effect == EffectCommand::Stop) {
        if (deviceOpen_)
            backend_->StopEffect();
        effectSounding_ = false;
    } else if (wishes.effect == EffectCommand::Play && EnsureOpen(now)) {
        backend_->PlayEffect(wishes.riff);
        effectSounding_ = true;
    }

    // The music: a new start takes the stream as it stands; a stop ends it.
    if (wishes.musicStarts != startsSeen_) {
        startsSeen_ = wishes.musicStarts;
        if (streaming_ && stream_ != wishes.music) {
            backend_->StopStream();
            streaming_ = false;
        }
        stream_ = wishes.music;
        musicSilent_ = false;
        endedAt_.reset();
    } else if (!wishes.music && stream_) {
        if (streaming_)
            backend_->StopStream();
        streaming_ = false;
        stream_.reset();
    }
    // Music that ended while nobody could hear it is not looked for again.
    if (stream_ && !streaming_ && !stream_->Playing())
        stream_.reset();
    if (stream_ && !streaming_) {
        if (EnsureOpen(now)) {
            // Back after it was lost: the piece starts afresh.
            if (musicSilent_)
                stream_->Rewind();
            musicSilent_ = false;
            backend_->StartStream(stream_->SampleRate());
            streaming_ = true;
            endedAt_.reset();
        } else {
            SetMusicSilent();
        }
    }
    if (streaming_) {
        Feed();
        if (stream_->Playing()) {
            endedAt_.reset();
        } else if (!endedAt_) {
            endedAt_ = now;
        } else if (now - *endedAt_ >= timing_.ringOut) {
            backend_->StopStream();
            streaming_ = false;
            stream_.reset();
        }
    }
    musicAudible_ = streaming_;

    // The device stays open only while something sounds.
    if (effectSounding_ && deviceOpen_)
        effectSounding_ = backend_->EffectSounding();
    if (deviceOpen_ && !effectSounding_ && !streaming_) {
        if (!closeAt_)
            closeAt_ = now + timing_.linger;
        else if (now >= *closeAt_)
            CloseDevice();
    } else {
        closeAt_.reset();
    }

    // When to look again: never, while nothing sounds and nothing waits.
    std::optional<Clock::time_point> next;
    const auto atLatest = [&next](Clock::time_point t) { next = next ? std::min(*next, t) : t; };
    if (streaming_)
        atLatest(now + timing_.feed);
    if (effectSounding_)
        atLatest(now + timing_.effectCheck);
    if (closeAt_)
        atLatest(*closeAt_);
    if (stream_ && !streaming_)
        atLatest(Clock::time_point(Clock::duration(lastFailure_.load())) + timing_.retry);
    return next;
}

bool AudioThread::EnsureOpen(Clock::time_point now) {
    if (deviceOpen_)
        return true;
    if (lookedInVain_ && now - Clock::time_point(Clock::duration(lastFailure_.load())) < timing_.retry)
        return false;
    if (backend_->Open()) {
        deviceOpen_ = true;
        lookedInVain_ = false;
        return true;
    }
    // Stamped after the attempt, which may have waited long for an answer.
    lastFailure_ = Clock::now().time_since_epoch().count();
    lookedInVain_ = true;
    return false;
}

void AudioThread::CloseDevice() {
    if (!deviceOpen_)
        return;
    backend_->Close();
    deviceOpen_ = false;
    closeAt_.reset();
    effectSounding_ = false;
    streaming_ = false;
    musicAudible_ = false;
}

void AudioThread::Feed() {
    const int frames = backend_->StreamChunkFrames();
    chunk_.resize(std::size_t(frames) * 2);
    for (int room = backend_->StreamRoom(); room > 0; --room) {
        stream_->Render(frames, chunk_.data());
        backend_->QueueStream(chunk_.data());
    }
}

void AudioThread::SetMusicSilent() {
    if (musicSilent_)
        return;
    musicSilent_ = true;
    musicAudible_ = false;
    stream_->Silenced();
}
