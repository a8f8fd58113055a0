#include "media/TMediaPlayer.h"

#include "media/MusicOutput.h"
#include "settings/BoundedFile.h"
#include "settings/Globals.h"

#include <QFileInfo>
#include <algorithm>
#include <vector>

namespace {

// The silent clock's longest sleep: the game's own clock ticks no faster.
constexpr int kSilentWakeMs = 500;
constexpr qint64 kChunkFrames = 1024;

QString NoDeviceText() { return QStringLiteral("Kein MCI-Gerät geöffnet"); }

}  // namespace

TMediaPlayer::TMediaPlayer(QObject* parent) : TMediaPlayer(MediaPlayerOptions{}, parent) {}

TMediaPlayer::TMediaPlayer(MediaPlayerOptions options, QObject* parent)
    : QObject(parent), options_(std::move(options)) {
    output_ = std::make_unique<MusicOutput>(engine_, options_.soundFont, options_.useAudioDevice,
                                            [this] { KeepTimeSilently(); }, this);
    silentClock_.setSingleShot(true);
    connect(&silentClock_, &QTimer::timeout, this, &TMediaPlayer::SilentTick);
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

    engine_.Load(std::make_unique<MidiSequence>(std::move(*parsed)));
    return true;
}

void TMediaPlayer::PrepareToPlay() { output_->LoadSynth(); }

bool TMediaPlayer::Play() {
    if (!IsOpen())
        return Fail(NoDeviceText());
    lastError_.clear();
    engine_.Play();
    silentClock_.stop();
    // The output thread opens a stream, or says it cannot and the silent
    // clock takes over.
    output_->Start();
    return true;
}

bool TMediaPlayer::Stop() {
    if (!IsOpen())
        return Fail(NoDeviceText());
    lastError_.clear();
    engine_.Stop();
    silentClock_.stop();
    output_->Stop();
    return true;
}

bool TMediaPlayer::Close() {
    if (!IsOpen())
        return Fail(NoDeviceText());
    lastError_.clear();
    engine_.Stop();
    silentClock_.stop();
    output_->Stop();
    engine_.Unload();
    return true;
}

TMPModes TMediaPlayer::Mode() const {
    if (!IsOpen())
        return TMPModes::mpNotReady;
    return engine_.Playing() ? TMPModes::mpPlaying : TMPModes::mpStopped;
}

bool TMediaPlayer::IsAudible() const { return output_->StreamOpen(); }

void TMediaPlayer::KeepTimeSilently() {
    if (!engine_.Playing() || output_->StreamOpen())
        return;
    silentSince_.restart();
    pendingFrames_ = 0;
    silentClock_.start(int(std::clamp<qint64>(engine_.RemainingMs(), 1, kSilentWakeMs)));
}

void TMediaPlayer::SilentTick() {
    // The time since the last wake is music time: the piece moves on by it,
    // its events reaching the synthesiser, but nothing is rendered.
    pendingFrames_ += double(silentSince_.nsecsElapsed()) * engine_.SampleRate() / 1e9;
    silentSince_.restart();
    const qint64 frames = qint64(pendingFrames_);
    pendingFrames_ -= double(frames);
    engine_.Skip(frames);
    if (engine_.Playing())
        silentClock_.start(int(std::clamp<qint64>(engine_.RemainingMs(), 1, kSilentWakeMs)));
}

int TMediaPlayer::AdvanceForTest(int ms) {
    if (!IsOpen() || ms <= 0)
        return 0;
    output_->LoadSynth();
    engine_.WaitForSynth();
    qint64 frames = qint64(ms) * engine_.SampleRate() / 1000;
    std::vector<std::int16_t> buffer(std::size_t(kChunkFrames) * 2);
    int peak = 0;
    while (frames > 0) {
        const qint64 chunk = std::min(frames, kChunkFrames);
        peak = std::max(peak, engine_.Render(chunk, buffer.data()));
        frames -= chunk;
    }
    return peak;
}
