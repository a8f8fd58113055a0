#pragma once
// The playable content of an in-memory RIFF WAVE image: its sample format
// and its PCM data. Anything else (other codecs, cut-off headers) is refused.
#include <QByteArray>
#include <cstdint>
#include <optional>
#include <vector>

struct WaveImage {
    enum class Sample { UInt8, Int16, Int32, Float };

    Sample sample = Sample::Int16;
    int channels = 1;
    int sampleRate = 0;
    QByteArray pcm;  // whole frames only

    // Empty when riff is not a WAVE image with PCM or float samples.
    static std::optional<WaveImage> Parse(const QByteArray& riff);

    int BytesPerFrame() const;
    // The sound as 16-bit stereo, as the output plays it: mono on both
    // sides, of more channels the front pair.
    std::vector<std::int16_t> StereoInt16() const;
};
