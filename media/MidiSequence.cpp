#include "media/MidiSequence.h"

#include <algorithm>

namespace {

enum class EntryKind { Message, Tempo, End };

struct TickEntry {
    qint64 tick = 0;
    EntryKind kind = EntryKind::Message;
    quint32 tempo = 0;  // microseconds per quarter note, for Tempo
    MidiEvent message;
};

// Bounds-checked big-endian reader over one chunk; a read past the end
// marks it failed instead of reading foreign memory.
class ByteReader {
public:
    ByteReader(const QByteArray& bytes, qsizetype begin, qsizetype end)
        : bytes_(bytes), pos_(begin), end_(end) {}

    bool AtEnd() const { return pos_ >= end_; }
    bool Failed() const { return failed_; }
    qsizetype Position() const { return pos_; }

    int Byte() {
        if (pos_ >= end_) {
            failed_ = true;
            return 0;
        }
        return static_cast<unsigned char>(bytes_[pos_++]);
    }
    quint32 BigEndian(int count) {
        quint32 value = 0;
        for (int i = 0; i < count; ++i)
            value = (value << 8) | quint32(Byte());
        return value;
    }
    // Variable-length quantity: at most four bytes of seven bits each.
    quint32 VarLen() {
        quint32 value = 0;
        for (int i = 0; i < 4; ++i) {
            const int b = Byte();
            value = (value << 7) | quint32(b & 0x7F);
            if (!(b & 0x80))
                return value;
        }
        failed_ = true;
        return 0;
    }
    void Skip(quint32 count) {
        if (qsizetype(count) > end_ - pos_) {
            failed_ = true;
            pos_ = end_;
            return;
        }
        pos_ += count;
    }

private:
    const QByteArray& bytes_;
    qsizetype pos_;
    qsizetype end_;
    bool failed_ = false;
};

constexpr qint64 kMaxTick = 0x7FFFFFFF;
// Longer pieces are taken for damaged files rather than music.
constexpr qint64 kMaxLengthMicros = qint64(24) * 3600 * 1000000;
// A dense piece sends a few hundred messages a second; a million is hours of
// music. More is a flood (millions of notes at one instant) that would only
// eat memory and stall the synthesiser, so the reading stops there.
constexpr std::size_t kMaxEntries = 1000000;

int DataBytesOf(int status) {
    const int kind = status & 0xF0;
    return (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
}

// Appends one track's messages and tempo changes; returns false when the
// track is damaged. endTick receives the tick at which the track ends.
bool ReadTrack(ByteReader& in, qint64 tickOffset, std::vector<TickEntry>& out, qint64& endTick) {
    qint64 tick = tickOffset;
    int runningStatus = 0;
    while (!in.AtEnd()) {
        tick += in.VarLen();
        // Keeps the conversion to microseconds clear of overflow.
        if (tick > kMaxTick)
            return false;
        int status = in.Byte();
        if (in.Failed())
            return false;
        if (status < 0x80) {
            // Running status: the byte just read is already the first data byte.
            if (runningStatus == 0)
                return false;
            const int first = status;
            status = runningStatus;
            TickEntry entry{tick, EntryKind::Message, 0, {}};
            entry.message.status = std::uint8_t(status);
            entry.message.data1 = std::uint8_t(first);
            if (DataBytesOf(status) == 2)
                entry.message.data2 = std::uint8_t(in.Byte() & 0x7F);
            out.push_back(entry);
        } else if (status < 0xF0) {
            runningStatus = status;
            TickEntry entry{tick, EntryKind::Message, 0, {}};
            entry.message.status = std::uint8_t(status);
            entry.message.data1 = std::uint8_t(in.Byte() & 0x7F);
            if (DataBytesOf(status) == 2)
                entry.message.data2 = std::uint8_t(in.Byte() & 0x7F);
            out.push_back(entry);
        } else if (status == 0xFF) {
            const int type = in.Byte();
            const quint32 length = in.VarLen();
            if (type == 0x2F) {  // end of track
                in.Skip(length);
                break;
            }
            if (type == 0x51 && length == 3) {
                const quint32 tempo = in.BigEndian(3);
                if (tempo > 0)
                    out.push_back({tick, EntryKind::Tempo, tempo, {}});
            } else {
                in.Skip(length);
            }
        } else if (status == 0xF0 || status == 0xF7) {
            // System exclusive data: not needed for General MIDI playback.
            in.Skip(in.VarLen());
            runningStatus = 0;
        } else {
            return false;  // real-time and common messages do not belong in a file
        }
        if (in.Failed() || out.size() > kMaxEntries)
            return false;
    }
    endTick = tick;
    return !in.Failed();
}

}  // namespace

std::optional<MidiSequence> MidiSequence::Parse(const QByteArray& bytes, MidiParseError* error) {
    auto fail = [error](MidiParseError why) -> std::optional<MidiSequence> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (!bytes.startsWith("MThd"))
        return fail(MidiParseError::NotMidi);

    ByteReader header(bytes, 4, bytes.size());
    const quint32 headerLength = header.BigEndian(4);
    const int format = int(header.BigEndian(2));
    const int trackCount = int(header.BigEndian(2));
    const int division = int(header.BigEndian(2));
    if (header.Failed() || headerLength < 6 || qsizetype(headerLength) > bytes.size() - 8 || format > 2 ||
        trackCount == 0)
        return fail(MidiParseError::Damaged);

    // Microseconds per tick: fixed for SMPTE time, otherwise set by the tempo.
    double smpteMicrosPerTick = 0;
    if (division & 0x8000) {
        const int framesPerSecond = 256 - (division >> 8);
        const int ticksPerFrame = division & 0xFF;
        if (framesPerSecond <= 0 || ticksPerFrame == 0)
            return fail(MidiParseError::Damaged);
        smpteMicrosPerTick = 1e6 / (double(framesPerSecond) * ticksPerFrame);
    } else if (division == 0) {
        return fail(MidiParseError::Damaged);
    }

    std::vector<TickEntry> entries;
    qint64 lastTick = 0;
    qint64 formatTwoOffset = 0;
    int tracksRead = 0;
    qsizetype pos = 8 + qsizetype(headerLength);
    while (tracksRead < trackCount) {
        if (bytes.size() - pos < 8)
            return fail(MidiParseError::Damaged);
        ByteReader chunkHeader(bytes, pos + 4, pos + 8);
        const quint32 chunkLength = chunkHeader.BigEndian(4);
        const qsizetype bodyBegin = pos + 8;
        if (qsizetype(chunkLength) > bytes.size() - bodyBegin)
            return fail(MidiParseError::Damaged);
        if (bytes.mid(pos, 4) == "MTrk") {
            ByteReader track(bytes, bodyBegin, bodyBegin + chunkLength);
            qint64 endTick = 0;
            if (!ReadTrack(track, format == 2 ? formatTwoOffset : 0, entries, endTick))
                return fail(MidiParseError::Damaged);
            lastTick = std::max(lastTick, endTick);
            formatTwoOffset = endTick;
            ++tracksRead;
        }
        pos = bodyBegin + chunkLength;  // unknown chunks are skipped
    }

    entries.push_back({lastTick, EntryKind::End, 0, {}});
    std::stable_sort(entries.begin(), entries.end(),
                     [](const TickEntry& a, const TickEntry& b) { return a.tick < b.tick; });

    MidiSequence sequence;
    quint32 tempo = 500000;  // 120 beats a minute until the file says otherwise
    qint64 tempoTick = 0;
    qint64 tempoMicros = 0;
    auto microsAt = [&](qint64 tick) {
        if (smpteMicrosPerTick > 0)
            return qint64(double(tick) * smpteMicrosPerTick);
        return tempoMicros + (tick - tempoTick) * qint64(tempo) / division;
    };
    for (const TickEntry& entry : entries) {
        const qint64 micros = microsAt(entry.tick);
        switch (entry.kind) {
        case EntryKind::Message: {
            MidiEvent event = entry.message;
            event.micros = micros;
            sequence.events_.push_back(event);
            break;
        }
        case EntryKind::Tempo:
            tempoMicros = micros;
            tempoTick = entry.tick;
            tempo = entry.tempo;
            break;
        case EntryKind::End:
            sequence.lengthMicros_ = micros;
            break;
        }
    }
    // A piece without length would be played again on every tick of the clock.
    if (sequence.lengthMicros_ <= 0 || sequence.lengthMicros_ > kMaxLengthMicros)
        return fail(MidiParseError::Damaged);
    return sequence;
}
