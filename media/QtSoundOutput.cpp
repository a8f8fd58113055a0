#include "media/QtSoundOutput.h"

#include "media/WaveImage.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

QtSoundOutput::QtSoundOutput(QObject* parent) : QObject(parent) {}

QtSoundOutput::~QtSoundOutput() { Release(); }

bool QtSoundOutput::HasDevice() const { return !QMediaDevices::defaultAudioOutput().isNull(); }

void QtSoundOutput::Play(const QByteArray& riff) {
    Release();
    const std::optional<WaveImage> wave = WaveImage::Parse(riff);
    if (!wave || wave->pcm.isEmpty())
        return;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull() || !device.isFormatSupported(wave->format))
        return;

    source_ = new QBuffer(this);
    source_->setData(wave->pcm);
    source_->open(QIODevice::ReadOnly);
    sink_ = new QAudioSink(device, wave->format, this);
    QAudioSink* sink = sink_;
    connect(sink_, &QAudioSink::stateChanged, this, [this, sink](QAudio::State state) {
        // Idle: the buffer has run dry, the effect is over.
        if (sink == sink_ && state == QAudio::IdleState)
            Release();
    });
    sink_->start(source_);
}

void QtSoundOutput::Stop() { Release(); }

void QtSoundOutput::Release() {
    if (!sink_)
        return;
    QAudioSink* sink = sink_;
    QBuffer* source = source_;
    sink_ = nullptr;
    source_ = nullptr;
    sink->disconnect(this);
    sink->stop();
    // Called from the sink's own signal as well, so it goes later.
    sink->deleteLater();
    source->deleteLater();
}
