#pragma once
// The playable content of an in-memory RIFF WAVE image: its sample format
// and its PCM data. Anything else (other codecs, cut-off headers) is refused.
#include <QAudioFormat>
#include <QByteArray>
#include <optional>

struct WaveImage {
    QAudioFormat format;
    QByteArray pcm;  // whole frames only

    // Empty when riff is not a WAVE image with PCM or float samples.
    static std::optional<WaveImage> Parse(const QByteArray& riff);
};
