#include "media/MusicOutput.h"

#include "media/MidiSynth.h"
#include "media/MusicEngine.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>

namespace {

constexpr int kPreferredRate = 44100;
// Sound buffered ahead in the server: enough to ride out this thread losing
// the processor for a while on a busy machine.
constexpr double kStreamBufferSeconds = 0.3;
// After the end of a piece: what is buffered plays out and the last notes'
// release and reverb die away before the stream closes.
constexpr int kDrainMs = 1500;

QAudioFormat StereoInt16(int rate) {
    QAudioFormat format;
    format.setSampleRate(rate);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

// The stream's source: every read renders the next frames of the piece.
class EngineSource : public QIODevice {
public:
    EngineSource(MusicEngine& engine, std::function<void()> afterRead)
        : engine_(engine), afterRead_(std::move(afterRead)) {}
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return qint64(1) << 30; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 frames = maxSize / 4;
        engine_.Render(frames, reinterpret_cast<std::int16_t*>(data));
        afterRead_();
        return frames * 4;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    MusicEngine& engine_;
    std::function<void()> afterRead_;
};

}  // namespace

MusicOutput::MusicOutput(MusicEngine& engine, QString soundFont, bool useAudioDevice,
                         std::function<void()> onSilent, QObject* guiContext)
    : engine_(engine),
      soundFont_(std::move(soundFont)),
      useAudioDevice_(useAudioDevice),
      onSilent_(std::move(onSilent)),
      guiContext_(guiContext) {
    closeTimer_ = new QTimer(this);
    closeTimer_->setSingleShot(true);
    closeTimer_->setInterval(kDrainMs);
    connect(closeTimer_, &QTimer::timeout, this, &MusicOutput::CloseStream);
    // Everything from here on happens on the music's thread.
    thread_.setObjectName(QStringLiteral("music"));
    moveToThread(&thread_);
}

MusicOutput::~MusicOutput() {
    if (thread_.isRunning()) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                CloseStream();
                closeTimer_->stop();
            },
            Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
    }
}

void MusicOutput::LoadSynth() {
    if (synthRequested_)
        return;
    synthRequested_ = true;
    thread_.start();
    QMetaObject::invokeMethod(this, &MusicOutput::MakeSynth, Qt::QueuedConnection);
}

void MusicOutput::Start() {
    LoadSynth();
    QMetaObject::invokeMethod(this, &MusicOutput::OpenStream, Qt::QueuedConnection);
}

void MusicOutput::Stop() {
    if (synthRequested_)
        QMetaObject::invokeMethod(this, &MusicOutput::CloseStream, Qt::QueuedConnection);
}

void MusicOutput::MakeSynth() {
    int rate = kPreferredRate;
    QString soundFont = soundFont_;
    if (useAudioDevice_) {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull())
            soundFont.clear(); // nobody to hear it: spare the memory and the time
        else if (!device.isFormatSupported(StereoInt16(rate)) &&
                 device.isFormatSupported(StereoInt16(device.preferredFormat().sampleRate())))
            rate = device.preferredFormat().sampleRate();
    }
    engine_.InstallSynth(std::make_unique<MidiSynth>(rate, soundFont));
}

void MusicOutput::OpenStream() {
    closeTimer_->stop();
    if (sink_)
        return;
    if (useAudioDevice_ && engine_.CanSound()) {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        const QAudioFormat format = StereoInt16(engine_.SampleRate());
        if (!device.isNull() && device.isFormatSupported(format)) {
            sink_ = new QAudioSink(device, format, this);
            sink_->setBufferSize(qsizetype(kStreamBufferSeconds * format.sampleRate()) * 4);
            stream_ = new EngineSource(engine_, [this] { OnPulled(); });
            stream_->open(QIODevice::ReadOnly);
            connect(sink_, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
                // The server went away or the device was unplugged.
                if (state == QAudio::StoppedState && sink_ && sink_->error() != QAudio::NoError)
                    FallSilent();
            });
            sink_->start(stream_);
            if (sink_->error() == QAudio::NoError && sink_->state() != QAudio::StoppedState) {
                streamOpen_ = true;
                return;
            }
        }
    }
    FallSilent();
}

void MusicOutput::CloseStream() {
    closeTimer_->stop();
    if (!sink_)
        return;
    streamOpen_ = false;
    sink_->disconnect(this);
    sink_->stop();
    delete sink_;
    sink_ = nullptr;
    delete stream_;
    stream_ = nullptr;
}

void MusicOutput::OnPulled() {
    // Runs on this thread, inside the stream's pull.
    if (engine_.Playing())
        closeTimer_->stop();
    else if (!closeTimer_->isActive())
        closeTimer_->start();
}

void MusicOutput::FallSilent() {
    // Later: the sink may be in the middle of delivering a signal.
    QMetaObject::invokeMethod(this, &MusicOutput::CloseStream, Qt::QueuedConnection);
    streamOpen_ = false;
    QMetaObject::invokeMethod(guiContext_, onSilent_, Qt::QueuedConnection);
}
