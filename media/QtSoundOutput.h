#pragma once
// Sound effects through Qt Multimedia: each effect is a fresh audio sink fed
// from a buffer over the wave's PCM data on the default output device.
#include "media/SoundOutput.h"

#include <QObject>
#include <QTimer>

class QAudioSink;
class QBuffer;

class QtSoundOutput : public QObject, public SoundOutput {
    Q_OBJECT
public:
    explicit QtSoundOutput(QObject* parent = nullptr);
    ~QtSoundOutput() override;

    bool HasDevice() const override;
    // Images the device cannot play (unknown encoding, unsupported format)
    // are skipped without a word: a missing click must not stop the game.
    void Play(const QByteArray& riff) override;
    void Stop() override;

private:
    void Release();

    QAudioSink* sink_ = nullptr;
    QBuffer* source_ = nullptr;
    // Frees a finished effect's sink once the device has played out what it
    // still holds; stopping at once would clip the effect's end.
    QTimer releaseTimer_;
};
