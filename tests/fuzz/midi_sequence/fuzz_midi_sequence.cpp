// The MIDI reader: any bytes either give a piece the player can run through
// or a refusal, never a read outside the input, and what is accepted keeps
// the promises the player relies on.
#include "media/MidiSequence.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A copy of exactly the input's bytes, so that the sanitizer sees any
    // read past its end.
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    MidiParseError why = MidiParseError::Damaged;
    const std::optional<MidiSequence> sequence = MidiSequence::Parse(bytes, &why);
    if (!sequence) {
        FuzzRequire(why == MidiParseError::NotMidi || why == MidiParseError::Damaged, "a refusal has a reason");
        FuzzRequire((why == MidiParseError::NotMidi) == !bytes.startsWith("MThd"),
                    "only a file without the header is no MIDI file");
        return 0;
    }
    FuzzRequire(bytes.startsWith("MThd"), "a piece starts with its header");
    FuzzRequire(sequence->LengthMicros() > 0, "a piece has a length");
    FuzzRequire(sequence->LengthMicros() <= qint64(24) * 3600 * 1000000, "a piece lasts no more than a day");
    FuzzRequire(sequence->Events().size() <= 1000000, "a piece has a bounded number of events");
    qint64 previous = 0;
    for (const MidiEvent& e : sequence->Events()) {
        FuzzRequire(e.micros >= previous, "events come in the order of their times");
        FuzzRequire(e.micros <= sequence->LengthMicros(), "no event comes after the end");
        FuzzRequire(e.status >= 0x80 && e.status <= 0xEF, "only channel messages are played");
        FuzzRequire(e.data1 < 0x80 && e.data2 < 0x80, "data bytes have seven bits");
        previous = e.micros;
    }
    return 0;
}
