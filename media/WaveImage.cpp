#include "media/WaveImage.h"

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

    std::optional<QAudioFormat> format;
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
            QAudioFormat f;
            f.setChannelCount(channels);
            f.setSampleRate(rate);
            if (tag == kFormatPcm && bits == 8)
                f.setSampleFormat(QAudioFormat::UInt8);
            else if (tag == kFormatPcm && bits == 16)
                f.setSampleFormat(QAudioFormat::Int16);
            else if (tag == kFormatPcm && bits == 32)
                f.setSampleFormat(QAudioFormat::Int32);
            else if (tag == kFormatFloat && bits == 32)
                f.setSampleFormat(QAudioFormat::Float);
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
    const int frameBytes = format->bytesPerFrame();
    pcm.truncate(pcm.size() - pcm.size() % frameBytes);
    return WaveImage{*format, pcm};
}
