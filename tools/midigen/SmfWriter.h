#pragma once
// Writes Standard MIDI Files: tracks of timed events in, file bytes out.
// Events may be added in any order; at the same tick a note-off goes before
// a note-on, so that a repeated note is not cut short.
#include <cstdint>
#include <string>
#include <vector>

using SmfBytes = std::vector<std::uint8_t>;

class SmfTrack {
public:
    void Note(long tick, long length, int channel, int key, int velocity);
    void NoteOn(long tick, int channel, int key, int velocity);
    void NoteOff(long tick, int channel, int key);
    void Program(long tick, int channel, int program);
    void Control(long tick, int channel, int controller, int value);
    // Microseconds per quarter note.
    void Tempo(long tick, int microsPerQuarter);
    void Name(long tick, const std::string& text);
    // Where the track ends; by default at its last event.
    void EndAt(long tick) { end_ = tick; }

    // The chunk body without the "MTrk" header, ending with end-of-track.
    SmfBytes Encode() const;

private:
    enum class Order { Meta, Setup, NoteOff, NoteOn };
    struct Event {
        long tick;
        Order order;
        SmfBytes bytes;
    };
    void Add(long tick, Order order, SmfBytes bytes);

    std::vector<Event> events_;
    long end_ = 0;
};

// A format 1 file (format 0 for a single track) with the given ticks per
// quarter note.
SmfBytes WriteSmf(const std::vector<SmfTrack>& tracks, int ticksPerQuarter);
