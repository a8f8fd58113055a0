#include "media/TMediaPlayer.h"

#include "settings/Globals.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kPreferredRate = 44100;
constexpr int kPumpIntervalMs = 20;
// Enough buffered sound to ride out the game's short busy-wait animations.
constexpr double kSinkBufferSeconds = 0.4;
// A stalled event loop is not made up for by more than this.
constexpr double kMaxCatchUpSeconds = 2.0;
constexpr qint64 kChunkFrames = 1024;

QAudioFormat StereoInt16(int rate) {
    QAudioFormat format;
    format.setSampleRate(rate);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

QString NoDeviceText() { return QStringLiteral("Kein MCI-Gerät geöffnet"); }

}  // namespace

TMediaPlayer::TMediaPlayer(QObject* parent) : TMediaPlayer(MediaPlayerOptions{}, parent) {}

TMediaPlayer::TMediaPlayer(MediaPlayerOptions options, QObject* parent)
    : QObject(parent), options_(std::move(options)) {
    pumpTimer_.setInterval(kPumpIntervalMs);
    connect(&pumpTimer_, &QTimer::timeout, this, &TMediaPlayer::Pump);
}

TMediaPlayer::~TMediaPlayer() {
    if (IsOpen())
        Close();
}

bool TMediaPlayer::Fail(const QString& message) {
    lastError_ = message;
    return false;
}

bool TMediaPlayer::Open() {
    if (IsOpen())
        Close();
    lastError_.clear();

    const QString shownName = QFileInfo(fileName_).fileName();
    QFile file(fileName_);
    if (fileName_.isEmpty() || !file.open(QIODevice::ReadOnly))
        return Fail(Lang(QStringLiteral("Die Datei \"%1\" kann nicht geöffnet werden."),
                         QStringLiteral("The file \"%1\" cannot be opened."))
                        .arg(shownName));
    const QByteArray bytes = file.readAll();

    MidiParseError why = MidiParseError::Damaged;
    std::optional<MidiSequence> parsed = MidiSequence::Parse(bytes, &why);
    if (!parsed) {
        if (why == MidiParseError::NotMidi)
            return Fail(Lang(QStringLiteral("Die Datei \"%1\" ist keine MIDI-Datei."),
                             QStringLiteral("The file \"%1\" is not a MIDI file."))
                            .arg(shownName));
        return Fail(Lang(QStringLiteral("Die MIDI-Datei \"%1\" ist beschädigt."),
                         QStringLiteral("The MIDI file \"%1\" is damaged."))
                        .arg(shownName));
    }

    EnsureSynth();
    if (!synth_->IsValid())
        return Fail(Lang(QStringLiteral("Der MIDI-Synthesizer kann nicht gestartet werden."),
                         QStringLiteral("The MIDI synthesiser cannot be started.")));

    // Instruments and controllers of the previous piece must not leak into this one.
    synth_->Reset();
    sequence_ = std::make_unique<MidiSequence>(std::move(*parsed));
    playing_ = false;
    positionFrames_ = 0;
    nextEvent_ = 0;
    StartOutput();
    return true;
}

bool TMediaPlayer::Play() {
    if (!IsOpen())
        return Fail(NoDeviceText());
    lastError_.clear();
    if (positionFrames_ >= LengthFrames()) {
        // Auto-rewind: a piece that has played to its end starts again.
        positionFrames_ = 0;
        nextEvent_ = 0;
        synth_->Reset();
    }
    playing_ = true;
    // Time spent stopped is not music time.
    clock_.restart();
    pendingFrames_ = 0;
    return true;
}

bool TMediaPlayer::Stop() {
    if (!IsOpen())
        return Fail(NoDeviceText());
    lastError_.clear();
    playing_ = false;
    // Released notes would ring on; a stop must be silent at once.
    synth_->AllSoundsOff();
    return true;
}

bool TMediaPlayer::Close() {
    if (!IsOpen())
        return Fail(NoDeviceText());
    lastError_.clear();
    playing_ = false;
    synth_->AllSoundsOff();
    StopOutput();
    sequence_.reset();
    positionFrames_ = 0;
    nextEvent_ = 0;
    return true;
}

TMPModes TMediaPlayer::Mode() const {
    if (!IsOpen())
        return TMPModes::mpNotReady;
    return playing_ ? TMPModes::mpPlaying : TMPModes::mpStopped;
}

qint64 TMediaPlayer::PositionMs() const {
    return synth_ ? positionFrames_ * 1000 / synth_->SampleRate() : 0;
}

qint64 TMediaPlayer::LengthMs() const { return sequence_ ? sequence_->LengthMicros() / 1000 : 0; }

int TMediaPlayer::AdvanceForTest(int ms) {
    if (!synth_ || ms <= 0)
        return 0;
    return RenderAndDrop(qint64(ms) * synth_->SampleRate() / 1000);
}

void TMediaPlayer::EnsureSynth() {
    if (synth_)
        return;
    int rate = kPreferredRate;
    QString soundFont = options_.soundFont;
    if (options_.useAudioDevice) {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull())
            soundFont.clear();  // nobody to hear it: spare the memory and the start-up time
        else if (!device.isFormatSupported(StereoInt16(rate)) &&
                 device.isFormatSupported(StereoInt16(device.preferredFormat().sampleRate())))
            rate = device.preferredFormat().sampleRate();
    }
    synth_ = std::make_unique<MidiSynth>(rate, soundFont);
}

void TMediaPlayer::StartOutput() {
    StopOutput();
    // A silent synthesiser gains nothing from the audio output.
    if (options_.useAudioDevice && synth_->HasSoundFont()) {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        const QAudioFormat format = StereoInt16(synth_->SampleRate());
        if (!device.isNull() && device.isFormatSupported(format)) {
            sink_ = new QAudioSink(device, format, this);
            sink_->setBufferSize(qsizetype(kSinkBufferSeconds * synth_->SampleRate()) * 4);
            sinkInput_ = sink_->start();
            if (!sinkInput_) {
                delete sink_;
                sink_ = nullptr;
            }
        }
    }
    clock_.restart();
    pendingFrames_ = 0;
    pumpTimer_.start();
}

void TMediaPlayer::StopOutput() {
    pumpTimer_.stop();
    if (sink_) {
        sink_->stop();
        delete sink_;
        sink_ = nullptr;
        sinkInput_ = nullptr;
    }
}

void TMediaPlayer::Pump() {
    if (sink_ && sink_->error() != QAudio::NoError && sink_->state() == QAudio::StoppedState) {
        // The output went away (device unplugged, server gone): keep the
        // piece going on the clock instead, silently.
        delete sink_;
        sink_ = nullptr;
        sinkInput_ = nullptr;
        clock_.restart();
        pendingFrames_ = 0;
    }
    if (sink_) {
        // The device's appetite sets the pace: what it can take now is
        // exactly the time that has passed.
        const qint64 frames = sink_->bytesFree() / 4;
        if (frames > 0) {
            buffer_.resize(std::size_t(frames) * 2);
            Render(frames, buffer_.data());
            sinkInput_->write(reinterpret_cast<const char*>(buffer_.data()), frames * 4);
        }
        return;
    }
    const qint64 elapsedNs = clock_.nsecsElapsed();
    clock_.restart();
    if (!playing_) {
        pendingFrames_ = 0;
        return;
    }
    pendingFrames_ += double(elapsedNs) * synth_->SampleRate() / 1e9;
    pendingFrames_ = std::min(pendingFrames_, kMaxCatchUpSeconds * synth_->SampleRate());
    const qint64 frames = qint64(pendingFrames_);
    pendingFrames_ -= double(frames);
    RenderAndDrop(frames);
}

int TMediaPlayer::RenderAndDrop(qint64 frames) {
    int peak = 0;
    buffer_.resize(std::size_t(kChunkFrames) * 2);
    while (frames > 0) {
        const qint64 chunk = std::min(frames, kChunkFrames);
        peak = std::max(peak, Render(chunk, buffer_.data()));
        frames -= chunk;
    }
    return peak;
}

qint64 TMediaPlayer::EventFrame(std::size_t index) const {
    return sequence_->Events()[index].micros * synth_->SampleRate() / 1000000;
}

qint64 TMediaPlayer::LengthFrames() const {
    return sequence_ ? sequence_->LengthMicros() * synth_->SampleRate() / 1000000 : 0;
}

int TMediaPlayer::Render(qint64 frames, std::int16_t* out) {
    int peak = 0;
    while (frames > 0) {
        qint64 chunk = frames;
        if (playing_) {
            const std::vector<MidiEvent>& events = sequence_->Events();
            while (nextEvent_ < events.size() && EventFrame(nextEvent_) <= positionFrames_) {
                const MidiEvent& e = events[nextEvent_++];
                synth_->Send(e.status, e.data1, e.data2);
            }
            if (positionFrames_ >= LengthFrames()) {
                playing_ = false;  // the end: the mode drops to stopped
                continue;
            }
            chunk = std::min(chunk, LengthFrames() - positionFrames_);
            if (nextEvent_ < events.size())
                chunk = std::min(chunk, EventFrame(nextEvent_) - positionFrames_);
        }
        synth_->Render(int(chunk), out);
        for (qint64 i = 0; i < chunk * 2; ++i)
            peak = std::max(peak, std::abs(int(out[i])));
        out += chunk * 2;
        if (playing_)
            positionFrames_ += chunk;
        frames -= chunk;
    }
    return peak;
}
