#include "tools/midigen/SmfWriter.h"

#include <algorithm>

namespace {

void PutBigEndian(SmfBytes& out, std::uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i)
        out.push_back(std::uint8_t(value >> (8 * i)));
}

void PutVarLen(SmfBytes& out, std::uint32_t value) {
    std::uint8_t groups[4];
    int n = 0;
    do {
        groups[n++] = std::uint8_t(value & 0x7F);
        value >>= 7;
    } while (value && n < 4);
    while (n-- > 0)
        out.push_back(std::uint8_t(groups[n] | (n > 0 ? 0x80 : 0)));
}

std::uint8_t Clamp7(int value) { return std::uint8_t(std::clamp(value, 0, 127)); }

}  // namespace

void SmfTrack::Add(long tick, Order order, SmfBytes bytes) {
    events_.push_back({std::max(0L, tick), order, std::move(bytes)});
}

void SmfTrack::Note(long tick, long length, int channel, int key, int velocity) {
    NoteOn(tick, channel, key, velocity);
    NoteOff(tick + std::max(1L, length), channel, key);
}

void SmfTrack::NoteOn(long tick, int channel, int key, int velocity) {
    Add(tick, Order::NoteOn, {std::uint8_t(0x90 | (channel & 15)), Clamp7(key), Clamp7(std::max(1, velocity))});
}

void SmfTrack::NoteOff(long tick, int channel, int key) {
    Add(tick, Order::NoteOff, {std::uint8_t(0x80 | (channel & 15)), Clamp7(key), 64});
}

void SmfTrack::Program(long tick, int channel, int program) {
    Add(tick, Order::Setup, {std::uint8_t(0xC0 | (channel & 15)), Clamp7(program)});
}

void SmfTrack::Control(long tick, int channel, int controller, int value) {
    Add(tick, Order::Setup, {std::uint8_t(0xB0 | (channel & 15)), Clamp7(controller), Clamp7(value)});
}

void SmfTrack::Tempo(long tick, int microsPerQuarter) {
    SmfBytes bytes{0xFF, 0x51, 0x03};
    PutBigEndian(bytes, std::uint32_t(microsPerQuarter), 3);
    Add(tick, Order::Meta, bytes);
}

void SmfTrack::Name(long tick, const std::string& text) {
    SmfBytes bytes{0xFF, 0x03};
    PutVarLen(bytes, std::uint32_t(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
    Add(tick, Order::Meta, bytes);
}

SmfBytes SmfTrack::Encode() const {
    std::vector<Event> sorted = events_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    SmfBytes out;
    long now = 0;
    for (const Event& e : sorted) {
        PutVarLen(out, std::uint32_t(e.tick - now));
        out.insert(out.end(), e.bytes.begin(), e.bytes.end());
        now = e.tick;
    }
    PutVarLen(out, std::uint32_t(std::max(0L, end_ - now)));
    out.insert(out.end(), {0xFF, 0x2F, 0x00});
    return out;
}

SmfBytes WriteSmf(const std::vector<SmfTrack>& tracks, int ticksPerQuarter) {
    SmfBytes out{'M', 'T', 'h', 'd'};
    PutBigEndian(out, 6, 4);
    PutBigEndian(out, tracks.size() == 1 ? 0 : 1, 2);
    PutBigEndian(out, std::uint32_t(tracks.size()), 2);
    PutBigEndian(out, std::uint32_t(ticksPerQuarter), 2);
    for (const SmfTrack& track : tracks) {
        const SmfBytes body = track.Encode();
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        PutBigEndian(out, std::uint32_t(body.size()), 4);
        out.insert(out.end(), body.begin(), body.end());
    }
    return out;
}
