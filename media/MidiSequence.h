#pragma once
// A Standard MIDI File read into one time-ordered list of channel messages,
// with every time already converted from ticks to microseconds, so that the
// player only has to compare clocks. Files that cannot be played are refused
// here, with a reason the player can show.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

struct MidiEvent {
    qint64 micros = 0;   // from the start of the piece
    std::uint8_t status = 0;  // channel message, 0x80..0xEF
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
};

enum class MidiParseError {
    NotMidi,   // no "MThd" header: some other kind of file
    Damaged,   // header found, but chunks or events are cut off or invalid
};

class MidiSequence {
public:
    // Reads a complete file image. Formats 0 and 1 merge their tracks;
    // format 2 plays its tracks one after another.
    static std::optional<MidiSequence> Parse(const QByteArray& bytes, MidiParseError* error = nullptr);

    const std::vector<MidiEvent>& Events() const { return events_; }
    // Time of the last event or track end, whichever is later.
    qint64 LengthMicros() const { return lengthMicros_; }

private:
    std::vector<MidiEvent> events_;
    qint64 lengthMicros_ = 0;
};
