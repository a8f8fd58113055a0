#include "media/MusicEngine.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

void MusicEngine::InstallSynth(std::unique_ptr<MidiSynth> synth) {
    {
        std::lock_guard lock(mutex_);
        synth_ = std::move(synth);
        // A new synthesiser starts with every channel on its default.
        if (sequence_)
            synth_->LeaveUnused(usedChannels_);
        sampleRate_ = synth_->SampleRate();
        canSound_ = synth_->HasSoundFont();
        hasSynth_ = true;
    }
    synthArrived_.notify_all();
}

std::unique_ptr<MidiSynth> MusicEngine::TakeSynth() {
    std::lock_guard lock(mutex_);
    hasSynth_ = false;
    canSound_ = false;
    return std::move(synth_);
}

void MusicEngine::WaitForSynth() const {
    std::unique_lock lock(mutex_);
    synthArrived_.wait(lock, [this] { return synth_ != nullptr; });
}

void MusicEngine::ResetSynth() {
    if (!synth_)
        return;
    synth_->Reset();
    synth_->LeaveUnused(usedChannels_);
}

void MusicEngine::Load(std::unique_ptr<MidiSequence> sequence) {
    std::lock_guard lock(mutex_);
    usedChannels_ = 0;
    for (const MidiEvent& e : sequence->Events())
        usedChannels_ |= std::uint16_t(1u << (e.status & 0x0F));
    lengthMs_ = sequence->LengthMicros() / 1000;
    sequence_ = std::move(sequence);
    ResetSynth();
    nextEvent_ = 0;
    positionFrames_ = 0;
    playing_ = false;
    loaded_ = true;
}

void MusicEngine::Unload() {
    std::lock_guard lock(mutex_);
    if (synth_)
        synth_->AllSoundsOff();
    sequence_.reset();
    nextEvent_ = 0;
    positionFrames_ = 0;
    lengthMs_ = 0;
    playing_ = false;
    loaded_ = false;
}

void MusicEngine::Play() {
    std::lock_guard lock(mutex_);
    if (!sequence_)
        return;
    if (positionFrames_ >= LengthFrames()) {
        // Auto-rewind: a piece that has played to its end starts again.
        positionFrames_ = 0;
        nextEvent_ = 0;
        ResetSynth();
    }
    playing_ = true;
}

void MusicEngine::Stop() {
    std::lock_guard lock(mutex_);
    playing_ = false;
    // Released notes would ring on; a stop must be silent at once.
    if (synth_)
        synth_->AllSoundsOff();
}

void MusicEngine::Rewind() {
    std::lock_guard lock(mutex_);
    positionFrames_ = 0;
    nextEvent_ = 0;
    ResetSynth();
}

void MusicEngine::OnSilenced(std::function<void()> handler) {
    std::lock_guard lock(silencedMutex_);
    onSilenced_ = std::move(handler);
}

void MusicEngine::Silenced() {
    // Under the lock: the player cannot go while its handler runs.
    std::lock_guard lock(silencedMutex_);
    if (onSilenced_)
        onSilenced_();
}

qint64 MusicEngine::PositionMs() const { return positionFrames_.load() * 1000 / sampleRate_.load(); }

qint64 MusicEngine::RemainingMs() const { return std::max<qint64>(0, LengthMs() - PositionMs()); }

qint64 MusicEngine::EventFrame(std::size_t index) const {
    return sequence_->Events()[index].micros * sampleRate_ / 1000000;
}

qint64 MusicEngine::LengthFrames() const {
    return sequence_ ? sequence_->LengthMicros() * sampleRate_ / 1000000 : 0;
}

qint64 MusicEngine::DueChunk(qint64 frames, bool sounding) {
    if (!playing_ || !sequence_)
        return frames;
    const std::vector<MidiEvent>& events = sequence_->Events();
    while (nextEvent_ < events.size() && EventFrame(nextEvent_) <= positionFrames_) {
        const MidiEvent& e = events[nextEvent_++];
        if (synth_ && sounding)
            synth_->Send(e.status, e.data1, e.data2);
    }
    if (positionFrames_ >= LengthFrames()) {
        playing_ = false; // the end: the mode drops to stopped
        return 0;
    }
    qint64 chunk = std::min(frames, LengthFrames() - positionFrames_);
    if (nextEvent_ < events.size())
        chunk = std::min(chunk, EventFrame(nextEvent_) - positionFrames_);
    return chunk;
}

int MusicEngine::RenderPeak(qint64 frames, std::int16_t* out) {
    std::lock_guard lock(mutex_);
    int peak = 0;
    while (frames > 0) {
        const qint64 chunk = DueChunk(frames, true);
        if (chunk == 0)
            continue; // the piece ended here; the synthesiser's tail follows
        if (synth_)
            synth_->Render(int(chunk), out);
        else
            std::fill(out, out + 2 * chunk, std::int16_t(0));
        for (qint64 i = 0; i < chunk * 2; ++i)
            peak = std::max(peak, std::abs(int(out[i])));
        out += chunk * 2;
        if (playing_)
            positionFrames_ += chunk;
        frames -= chunk;
    }
    return peak;
}

void MusicEngine::Skip(qint64 frames) {
    std::lock_guard lock(mutex_);
    while (frames > 0 && playing_) {
        const qint64 chunk = DueChunk(frames, false);
        positionFrames_ += chunk;
        frames -= chunk;
    }
}
