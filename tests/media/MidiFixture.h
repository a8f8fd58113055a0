#pragma once
// Small MIDI and wave files made on the spot for the media tests.
#include "tools/midigen/SmfWriter.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// Ends the test program when a step that must finish at once hangs instead
// (a read blocked on a FIFO): a generous bound, not a measure of speed.
class Watchdog {
public:
    explicit Watchdog(int seconds)
        : thread_([this, seconds] {
              std::unique_lock lock(mutex_);
              if (!done_.wait_for(lock, std::chrono::seconds(seconds), [this] { return finished_; }))
                  qFatal("hung for %d s", seconds);
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        done_.notify_all();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

inline QByteArray ToBytes(const SmfBytes& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

// One piano note of the given key lasting lengthMs, at 120 beats a minute
// (480 ticks a quarter, so one tick is about one millisecond).
inline QByteArray ShortMidi(int lengthMs, int key = 60) {
    SmfTrack track;
    track.Program(0, 0, 0);
    const long ticks = long(lengthMs) * 480 / 500;
    track.Note(0, ticks, 0, key, 100);
    track.EndAt(ticks);
    return ToBytes(WriteSmf({track}, 480));
}

// A format-0 file whose one track holds `notes` note-ons, all at tick 0 in
// running status, and ends endTicks later: the flood of a hostile file.
inline QByteArray NoteFlood(qint64 notes, quint32 endTicks) {
    QByteArray track = QByteArray::fromHex("00903c40") + QByteArray::fromHex("003c40").repeated(notes - 1);
    QByteArray delta(1, char(endTicks & 0x7F));
    for (endTicks >>= 7; endTicks > 0; endTicks >>= 7)
        delta.prepend(char(0x80 | (endTicks & 0x7F)));
    track += delta + QByteArray::fromHex("ff2f00");
    QByteArray file = QByteArray::fromHex("4d546864000000060000000101e04d54726b");
    const quint32 size = quint32(track.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        file.append(char((size >> shift) & 0xFF));
    return file + track;
}

inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// A complete RIFF WAVE image: fmt chunk with the given encoding tag, then
// the data chunk; dataClaim overrides the data chunk's stated size.
inline QByteArray RiffWave(int tag, int channels, int rate, int bits, const QByteArray& pcm, int dataClaim = -1) {
    auto le = [](QByteArray& out, quint32 value, int count) {
        for (int i = 0; i < count; ++i)
            out.append(char((value >> (8 * i)) & 0xFF));
    };
    QByteArray fmt;
    le(fmt, quint32(tag), 2);
    le(fmt, quint32(channels), 2);
    le(fmt, quint32(rate), 4);
    le(fmt, quint32(rate * channels * bits / 8), 4);
    le(fmt, quint32(channels * bits / 8), 2);
    le(fmt, quint32(bits), 2);
    QByteArray body("WAVE");
    body.append("fmt ");
    le(body, quint32(fmt.size()), 4);
    body.append(fmt);
    body.append("data");
    le(body, quint32(dataClaim >= 0 ? dataClaim : pcm.size()), 4);
    body.append(pcm);
    QByteArray riff("RIFF");
    le(riff, quint32(body.size()), 4);
    riff.append(body);
    return riff;
}
