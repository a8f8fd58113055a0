#include "tools/midigen/Arranger.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace {

constexpr int kTicksPerQuarter = 480;
constexpr long kEighth = kTicksPerQuarter / 2;
constexpr long kBeat = kTicksPerQuarter;
constexpr long kBar = 4 * kBeat;

enum Channel { kMelody = 0, kComp = 1, kPad = 2, kBass = 3, kDouble = 4, kDrums = 9 };

// General MIDI percussion keys.
enum Drum { kKick = 36, kSideStick = 37, kClosedHat = 42, kOpenHat = 46, kShaker = 70 };

struct Chord {
    int root = 0;                // pitch class, C = 0
    std::vector<int> intervals;  // above the root, ascending
};

struct ChordSpan {
    Chord chord;
    long start = 0;
    long length = 0;
};

// A tiny deterministic random source for the humanising of velocities, so
// that every build writes the same files.
class Wobble {
public:
    explicit Wobble(unsigned seed) : state_(seed) {}
    int Next(int range) {
        state_ = state_ * 1103515245u + 12345u;
        return int((state_ >> 16) % unsigned(2 * range + 1)) - range;
    }

private:
    unsigned state_;
};

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

// Reads "C", "F#", "Bb" at the start of text; returns the pitch class and
// how many characters it took.
std::pair<int, std::size_t> ReadPitchClass(const std::string& text) {
    static const int natural[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (text.empty() || text[0] < 'A' || text[0] > 'G')
        throw std::invalid_argument("no note name in '" + text + "'");
    int pc = natural[text[0] - 'A'];
    std::size_t used = 1;
    if (text.size() > 1 && (text[1] == '#' || text[1] == 'b')) {
        pc += text[1] == '#' ? 1 : -1;
        used = 2;
    }
    return {(pc + 12) % 12, used};
}

Chord ReadChord(const std::string& text) {
    const auto [root, used] = ReadPitchClass(text);
    const std::string quality = text.substr(used);
    Chord chord{root, {}};
    if (quality.empty())
        chord.intervals = {0, 4, 7};
    else if (quality == "m")
        chord.intervals = {0, 3, 7};
    else if (quality == "7")
        chord.intervals = {0, 4, 7, 10};
    else if (quality == "m7")
        chord.intervals = {0, 3, 7, 10};
    else if (quality == "maj7")
        chord.intervals = {0, 4, 7, 11};
    else if (quality == "sus2")
        chord.intervals = {0, 2, 7};
    else if (quality == "sus4")
        chord.intervals = {0, 5, 7};
    else if (quality == "add9")
        chord.intervals = {0, 4, 7, 14};
    else
        throw std::invalid_argument("unknown chord '" + text + "'");
    return chord;
}

// The root's key number within [low, low + 11].
int RootIn(const Chord& chord, int low) { return low + ((chord.root - low) % 12 + 12) % 12; }

std::vector<int> Voicing(const Chord& chord, int low) {
    std::vector<int> keys;
    const int root = RootIn(chord, low);
    for (int interval : chord.intervals)
        keys.push_back(root + interval);
    return keys;
}

class Arrangement {
public:
    explicit Arrangement(const Piece& piece) : piece_(piece), wobble_(unsigned(piece.beatsPerMinute) * 7919u) {}

    SmfBytes Build() {
        SmfTrack conductor;
        conductor.Name(0, piece_.title);
        conductor.Tempo(0, 60000000 / piece_.beatsPerMinute);

        Setup(melody_, kMelody, piece_.melody, 50);
        Setup(double_, kDouble, piece_.melodyDouble, 45);
        Setup(comp_, kComp, piece_.comp, 40);
        Setup(pad_, kPad, piece_.pad, 60);
        Setup(bass_, kBass, piece_.bass, 20);
        drums_.Control(0, kDrums, 7, 90);
        drums_.Control(0, kDrums, 91, 35);

        long bar = 0;
        for (const Section& section : piece_.sections) {
            if (section.chords.size() != section.melody.size())
                throw std::invalid_argument(piece_.title + ": chords and melody differ in length");
            for (std::size_t i = 0; i < section.chords.size(); ++i, ++bar) {
                const long start = bar * kBar;
                Melody(section, section.melody[i], start);
                for (const ChordSpan& span : Spans(section.chords[i], start)) {
                    Comp(span, section.loudness);
                    Pad(span, section.loudness);
                    Bass(span, section.loudness);
                }
                if (section.drums)
                    Drums(start, bar, section.loudness);
            }
        }
        // One bar of silence lets the last chord die away before a repeat.
        const long end = (bar + 1) * kBar;
        for (SmfTrack* track : {&conductor, &melody_, &double_, &comp_, &pad_, &bass_, &drums_})
            track->EndAt(end);
        return WriteSmf({conductor, melody_, double_, comp_, pad_, bass_, drums_}, kTicksPerQuarter);
    }

private:
    void Setup(SmfTrack& track, int channel, const Voice& voice, int reverb) {
        track.Program(0, channel, voice.program);
        track.Control(0, channel, 7, voice.volume);
        track.Control(0, channel, 10, voice.pan);
        track.Control(0, channel, 91, reverb);
        track.Control(0, channel, 93, 20);
    }

    int Velocity(int base, int loudness) { return std::clamp(base + loudness + wobble_.Next(4), 1, 127); }

    std::vector<ChordSpan> Spans(const std::string& bar, long start) {
        const std::vector<std::string> names = Words(bar);
        if (names.empty() || names.size() > 2)
            throw std::invalid_argument(piece_.title + ": a bar needs one or two chords: '" + bar + "'");
        std::vector<ChordSpan> spans;
        const long length = kBar / long(names.size());
        for (std::size_t i = 0; i < names.size(); ++i)
            spans.push_back({ReadChord(names[i]), start + long(i) * length, length});
        return spans;
    }

    void Melody(const Section& section, const std::string& bar, long start) {
        long at = start;
        for (const std::string& token : Words(bar)) {
            const std::size_t colon = token.find(':');
            if (colon == std::string::npos)
                throw std::invalid_argument(piece_.title + ": note without length: '" + token + "'");
            const long length = std::stol(token.substr(colon + 1)) * kEighth;
            const std::string name = token.substr(0, colon);
            if (name != "r") {
                const auto [pc, used] = ReadPitchClass(name);
                const int octave = std::stoi(name.substr(used));
                const int key = 12 * (octave + 1) + pc;
                // The first beat leans a little; notes are played legato.
                const int base = (at - start) % kBar == 0 ? 92 : ((at - start) % kBeat == 0 ? 86 : 80);
                melody_.Note(at, length - 12, kMelody, key, Velocity(base, section.loudness));
                if (section.doubled)
                    double_.Note(at, length - 12, kDouble, key, Velocity(base - 22, section.loudness));
            }
            at += length;
        }
        if (at - start != kBar)
            throw std::invalid_argument(piece_.title + ": bar does not add up to 8 eighths: '" + bar + "'");
    }

    void Comp(const ChordSpan& span, int loudness) {
        std::vector<int> keys = Voicing(span.chord, 55);
        switch (piece_.compStyle) {
        case CompStyle::BrokenChord: {
            keys.push_back(keys.front() + 12);
            const int order[] = {0, 2, 1, 2, 3, 2, 1, 2};
            for (long i = 0; i * kEighth < span.length; ++i) {
                const int key = keys[std::min<std::size_t>(std::size_t(order[i % 8]), keys.size() - 1)];
                comp_.Note(span.start + i * kEighth, kEighth * 2, kComp, key, Velocity(i % 2 ? 48 : 56, loudness));
            }
            break;
        }
        case CompStyle::Arpeggio: {
            const int root = RootIn(span.chord, 45);
            const int third = root + span.chord.intervals[1];
            const int fifth = root + span.chord.intervals[2];
            const int up[] = {root, fifth, root + 12, third + 12, fifth + 12, third + 12, root + 12, fifth};
            for (long i = 0; i * kEighth < span.length; ++i)
                comp_.Note(span.start + i * kEighth, kEighth * 3, kComp, up[i % 8], Velocity(i % 4 ? 50 : 62, loudness));
            break;
        }
        case CompStyle::OffbeatChords: {
            // On the beat, then pushed: 1, 2-and, 3-and within every half bar pair.
            const long hits[] = {0, 3 * kEighth, 5 * kEighth};
            const long lengths[] = {kBeat, kEighth, kEighth + kEighth / 2};
            for (int h = 0; h < 3; ++h) {
                if (hits[h] >= span.length)
                    break;
                for (int key : keys)
                    comp_.Note(span.start + hits[h], lengths[h], kComp, key, Velocity(h ? 50 : 58, loudness));
            }
            break;
        }
        }
    }

    void Pad(const ChordSpan& span, int loudness) {
        for (int key : Voicing(span.chord, 52))
            pad_.Note(span.start, span.length - 6, kPad, key, Velocity(52, loudness));
    }

    void Bass(const ChordSpan& span, int loudness) {
        const int root = RootIn(span.chord, 33);
        const int fifth = root + 7;
        const bool half = span.length < kBar;
        switch (piece_.bassStyle) {
        case BassStyle::RootFifth:
            if (half) {
                bass_.Note(span.start, span.length - 20, kBass, root, Velocity(80, loudness));
            } else {
                bass_.Note(span.start, 3 * kEighth, kBass, root, Velocity(82, loudness));
                bass_.Note(span.start + 3 * kEighth, kEighth, kBass, fifth, Velocity(66, loudness));
                bass_.Note(span.start + 2 * kBeat, 2 * kBeat - 20, kBass, root, Velocity(74, loudness));
            }
            break;
        case BassStyle::HalfNotes:
            bass_.Note(span.start, 2 * kBeat - 20, kBass, root, Velocity(76, loudness));
            if (!half)
                bass_.Note(span.start + 2 * kBeat, 2 * kBeat - 20, kBass, fifth, Velocity(68, loudness));
            break;
        case BassStyle::Eighths: {
            const int line[] = {root, root, root + 12, root, fifth, root, root + 12, fifth};
            for (long i = 0; i * kEighth < span.length; ++i)
                bass_.Note(span.start + i * kEighth, kEighth - 30, kBass, line[i % 8],
                           Velocity(i % 2 ? 60 : 72, loudness));
            break;
        }
        }
    }

    void Drums(long start, long bar, int loudness) {
        auto hit = [&](long at, int key, int velocity) {
            drums_.Note(start + at, kEighth / 2, kDrums, key, Velocity(velocity, loudness));
        };
        switch (piece_.drumStyle) {
        case DrumStyle::Brushes:
            hit(0, kKick, 62);
            hit(2 * kBeat, kKick, 52);
            hit(kBeat, kSideStick, 44);
            hit(3 * kBeat, kSideStick, 48);
            for (long i = 0; i < 8; ++i)
                hit(i * kEighth, kClosedHat, i % 2 ? 24 : 34);
            break;
        case DrumStyle::Shaker:
            hit(0, kKick, 54);
            hit(5 * kEighth, kKick, 40);
            for (long i = 0; i < 8; ++i)
                hit(i * kEighth, kShaker, i % 2 ? 28 : 40);
            break;
        case DrumStyle::LightKit:
            hit(0, kKick, 66);
            hit(2 * kBeat, kKick, 56);
            hit(5 * kEighth, kKick, 44);
            hit(kBeat, kSideStick, 50);
            hit(3 * kBeat, kSideStick, 54);
            for (long i = 0; i < 8; ++i) {
                if (i == 7 && bar % 4 == 3)
                    hit(i * kEighth, kOpenHat, 38);
                else
                    hit(i * kEighth, kClosedHat, i % 2 ? 28 : 40);
            }
            break;
        }
    }

    const Piece& piece_;
    Wobble wobble_;
    SmfTrack melody_, double_, comp_, pad_, bass_, drums_;
};

}  // namespace

SmfBytes Arrange(const Piece& piece) { return Arrangement(piece).Build(); }
