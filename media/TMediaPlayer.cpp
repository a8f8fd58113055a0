#include "media/TMediaPlayer.h"

#include "media/FreeMemory.h"
#include "media/ProgramAudio.h"
#include "settings/BoundedFile.h"
#include "settings/Globals.h"

#include <QFileInfo>
#include <algorithm>
#include <vector>

namespace {

// The silent clock's longest sleep: the game's own clock ticks no faster.
constexpr int kSilentWakeMs = 500;
constexpr qint64 kChunkFrames = 1024;
constexpr int kSampleRate = 44100;

QString NoDeviceText() { return QStringLiteral("Kein MCI-Gerät geöffnet"); }

}  // namespace

TMediaPlayer::TMediaPlayer(QObject* parent) : TMediaPlayer(MediaPlayerOptions{}, parent) {}

TMediaPlayer::TMediaPlayer(MediaPlayerOptions options, QObject* parent)
    : QObject(parent),
      options_(std::move(options)),
      sink_(options_.useAudioDevice ? (options_.sink ? options_.sink : &ProgramAudio()) : nullptr),
      engine_(std::make_shared<MusicEngine>()) {
    silentClock_.setSingleShot(true);
    connect(&silentClock_, &QTimer::timeout, this, &TMediaPlayer::SilentTick);
    // From the audio thread, which may not touch the player itself.
    engine_->OnSilenced([this] { QMetaObject::invokeMethod(this, &TMediaPlayer::KeepTimeSilently, Qt::QueuedConnection); });
}

TMediaPlayer::~TMediaPlayer() {
    JoinLoader();
    if (IsOpen())
        Close();
    engine_->OnSilenced({});
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
    // Plain files only, and never more than a piece can need: a FIFO, a
    // device or a huge file in a piece's place must not hang or flood the game.
    const BoundedRead read = fileName_.isEmpty() ? BoundedRead{} : ReadRegularFile(fileName_, kMaxMidiFileBytes);
    if (!read.data)
        return Fail(Lang(QStringLiteral("Die Datei \"%1\" kann nicht geöffnet werden."),
                         QStringLiteral("The file \"%1\" cannot be opened."))
                        .arg(shownName));

    MidiParseError why = MidiParseError::Damaged;
    std::optional<MidiSequence> parsed = MidiSequence::Parse(*read.data, &why);
    if (!parsed) {
        if (why == MidiParseError::NotMidi)
            return Fail(Lang(QStringLiteral("Die Datei \"%1\" ist keine MIDI-Datei."),
                             QStringLiteral("The file \"%1\" is not a MIDI file."))
                            .arg(shownName));
        return Fail(Lang(QStringLiteral("Die MIDI-Datei \"%1\" ist beschädigt."),
                         QStringLiteral("The MIDI file \"%1\" is damaged."))
                        .arg(shownName));
    }

    engine_->Load(std::make_unique<MidiSequence>(std::move(*parsed)));
    return true;
}

void TMediaPlayer::PrepareToPlay() { LoadSynth(); }

void TMediaPlayer::LoadSynth() {
    if (engine_->HasSynth() || loading_)
        return;
    JoinLoader();
    loading_ = true;
    loader_ = std::thread([this, engine = engine_, soundFont = options_.soundFont] {
        auto synth = std::make_unique<MidiSynth>(kSampleRate, soundFont);
        const MidiSynth::Trouble trouble = synth->Problem();
        engine->InstallSynth(std::move(synth));
        // The player waits for this thread before it goes.
        QMetaObject::invokeMethod(this, [this, trouble] { SynthArrived(trouble); }, Qt::QueuedConnection);
    });
}

void TMediaPlayer::JoinLoader() {
    if (loader_.joinable())
        loader_.join();
}

void TMediaPlayer::SynthArrived(MidiSynth::Trouble trouble) {
    if (!loading_)
        return; // released meanwhile; what arrived is gone again
    loading_ = false;
    if (trouble != MidiSynth::Trouble::None && options_.useAudioDevice && onTrouble_)
        onTrouble_(trouble);
    if (engine_->Playing())
        StartSound();
}

void TMediaPlayer::ReleaseSynth() {
    JoinLoader();
    loading_ = false;
    std::unique_ptr<MidiSynth> synth = engine_->TakeSynth();
    if (!synth)
        return;
    synth.reset();
    ReturnFreedMemory();
}

MidiSynth::Trouble TMediaPlayer::ProbeSynth() const {
    return options_.useAudioDevice ? MidiSynth::Probe(options_.soundFont) : MidiSynth::Trouble::None;
}

void TMediaPlayer::StartSound() {
    if (!engine_->HasSynth()) {
        // Heard once the synthesiser is there; the piece waits for it.
        LoadSynth();
        return;
    }
    if (sink_ && engine_->CanSound())
        sink_->StartMusic(engine_);
    else
        KeepTimeSilently();
}

bool TMediaPlayer::Play() {
    if (!IsOpen())
        return Fail(NoDeviceText());
    lastError_.clear();
    engine_->Play();
    silentClock_.stop();
    StartSound();
    return true;
}

bool TMediaPlayer::Stop() {
    if (!IsOpen())
        return Fail(NoDeviceText());
    lastError_.clear();
    engine_->Stop();
    silentClock_.stop();
    if (sink_)
        sink_->StopMusic();
    return true;
}

bool TMediaPlayer::Close() {
    // Closing is stopping, then letting go of the piece.
    if (!Stop())
        return false;
    engine_->Unload();
    return true;
}

MPModes TMediaPlayer::Mode() const {
    if (!IsOpen())
        return MPModes::mpNotReady;
    return engine_->Playing() ? MPModes::mpPlaying : MPModes::mpStopped;
}

bool TMediaPlayer::IsAudible() const { return sink_ && sink_->MusicAudible(); }

void TMediaPlayer::KeepTimeSilently() {
    if (!engine_->Playing() || IsAudible() || silentClock_.isActive())
        return;
    silentSince_.restart();
    pendingFrames_ = 0;
    silentClock_.start(int(std::clamp<qint64>(engine_->RemainingMs(), 1, kSilentWakeMs)));
}

void TMediaPlayer::SilentTick() {
    // Heard again: the audio thread has taken the piece back.
    if (IsAudible())
        return;
    // The time since the last wake is music time: the piece moves on by it,
    // but nothing is rendered.
    pendingFrames_ += double(silentSince_.nsecsElapsed()) * engine_->SampleRate() / 1e9;
    silentSince_.restart();
    const qint64 frames = qint64(pendingFrames_);
    pendingFrames_ -= double(frames);
    engine_->Skip(frames);
    if (engine_->Playing())
        silentClock_.start(int(std::clamp<qint64>(engine_->RemainingMs(), 1, kSilentWakeMs)));
}

int TMediaPlayer::AdvanceForTest(int ms) {
    if (!IsOpen() || ms <= 0)
        return 0;
    JoinLoader();
    if (!engine_->HasSynth())
        engine_->InstallSynth(std::make_unique<MidiSynth>(kSampleRate, options_.soundFont));
    qint64 frames = qint64(ms) * engine_->SampleRate() / 1000;
    std::vector<std::int16_t> buffer(std::size_t(kChunkFrames) * 2);
    int peak = 0;
    while (frames > 0) {
        const qint64 chunk = std::min(frames, kChunkFrames);
        peak = std::max(peak, engine_->RenderPeak(chunk, buffer.data()));
        frames -= chunk;
    }
    return peak;
}
