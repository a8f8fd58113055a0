#include "media/QtSoundOutput.h"

#include "media/WaveImage.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

namespace {
constexpr int kPlayOutMs = 1000;
}

QtSoundOutput::QtSoundOutput(QObject* parent) : QObject(parent) {
    releaseTimer_.setSingleShot(true);
    releaseTimer_.setInterval(kPlayOutMs);
    connect(&releaseTimer_, &QTimer::timeout, this, &QtSoundOutput::Release);
}

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
        // Idle: the buffer has run dry; the device still plays its last part.
        if (sink == sink_ && state == QAudio::IdleState)
            releaseTimer_.start();
    });
    sink_->start(source_);
}

void QtSoundOutput::Stop() { Release(); }

void QtSoundOutput::Release() {
    releaseTimer_.stop();
    if (!sink_)
        return;
    QAudioSink* sink = sink_;
    QBuffer* source = source_;
    sink_ = nullptr;
    source_ = nullptr;
    sink->disconnect(this);
    sink->stop();
    // Later: a sink may be in the middle of delivering a signal.
    sink->deleteLater();
    source->deleteLater();
}
