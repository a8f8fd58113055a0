#include "media/WaveImage.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

quint32 LittleEndian(const QByteArray& bytes, qsizetype at, int count) {
    quint32 value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

constexpr quint32 kFormatPcm = 1;
constexpr quint32 kFormatFloat = 3;
constexpr quint32 kFormatExtensible = 0xFFFE;

}  // namespace

std::optional<WaveImage> WaveImage::Parse(const QByteArray& riff) {
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return std::nullopt;

    std::optional<WaveImage> format;
    QByteArray pcm;
    bool dataFound = false;
    qsizetype pos = 12;
    while (riff.size() - pos >= 8 && !dataFound) {
        const QByteArray id = riff.mid(pos, 4);
        const qsizetype length = LittleEndian(riff, pos + 4, 4);
        const qsizetype body = pos + 8;
        // A data chunk that claims more than the image holds is played as far
        // as it goes; any other chunk must be complete.
        const qsizetype available = std::min(length, riff.size() - body);
        if (id == "fmt ") {
            if (available < 16 || available < length)
                return std::nullopt;
            quint32 tag = LittleEndian(riff, body, 2);
            const int channels = int(LittleEndian(riff, body + 2, 2));
            const int rate = int(LittleEndian(riff, body + 4, 4));
            const int bits = int(LittleEndian(riff, body + 14, 2));
            if (tag == kFormatExtensible && length >= 40)
                tag = LittleEndian(riff, body + 24, 2);  // first bytes of the sub-format id
            WaveImage f;
            f.channels = channels;
            f.sampleRate = rate;
            if (tag == kFormatPcm && bits == 8)
                f.sample = Sample::UInt8;
            else if (tag == kFormatPcm && bits == 16)
                f.sample = Sample::Int16;
            else if (tag == kFormatPcm && bits == 32)
                f.sample = Sample::Int32;
            else if (tag == kFormatFloat && bits == 32)
                f.sample = Sample::Float;
            else
                return std::nullopt;
            if (channels < 1 || channels > 8 || rate < 1000 || rate > 384000)
                return std::nullopt;
            format = f;
        } else if (id == "data") {
            pcm = riff.mid(body, available);
            dataFound = true;
        }
        pos = body + length + (length & 1);  // chunks are padded to even sizes
    }
    if (!format || !dataFound)
        return std::nullopt;
    const int frameBytes = format->BytesPerFrame();
    pcm.truncate(pcm.size() - pcm.size() % frameBytes);
    format->pcm = pcm;
    return format;
}

int WaveImage::BytesPerFrame() const {
    const int bytes = sample == Sample::UInt8 ? 1 : sample == Sample::Int16 ? 2 : 4;
    return bytes * channels;
}

std::vector<std::int16_t> WaveImage::StereoInt16() const {
    const int frameBytes = BytesPerFrame();
    const qsizetype frames = pcm.size() / frameBytes;
    const int sampleBytes = frameBytes / channels;
    std::vector<std::int16_t> out(std::size_t(frames) * 2);
    const auto value = [&](qsizetype at) -> std::int16_t {
        switch (sample) {
        case Sample::UInt8:
            return std::int16_t((int(static_cast<unsigned char>(pcm[at])) - 128) * 256);
        case Sample::Int16:
            return std::int16_t(LittleEndian(pcm, at, 2));
        case Sample::Int32:
            return std::int16_t(qint32(LittleEndian(pcm, at, 4)) >> 16);
        case Sample::Float: {
            const quint32 bits = LittleEndian(pcm, at, 4);
            float f;
            std::memcpy(&f, &bits, sizeof f);
            return std::int16_t(std::lround(std::clamp(f, -1.0f, 1.0f) * 32767.0f));
        }
        }
        return 0;
    };
    for (qsizetype frame = 0; frame < frames; ++frame) {
        const qsizetype at = frame * frameBytes;
        out[std::size_t(frame) * 2] = value(at);
        out[std::size_t(frame) * 2 + 1] = value(channels > 1 ? at + sampleBytes : at);
    }
    return out;
}
