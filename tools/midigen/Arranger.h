#pragma once
// Turns a lead sheet (chords and melody per bar, plus a choice of
// accompaniment styles) into the tracks of a MIDI file. Everything is in 4/4.
#include "tools/midigen/SmfWriter.h"

#include <string>
#include <vector>

enum class CompStyle {
    BrokenChord,   // a music box of eighth notes over the chord
    Arpeggio,      // a guitar picking up and down two octaves
    OffbeatChords, // short syncopated chords
};
enum class BassStyle {
    RootFifth,  // root, fifth on the off-beat, root
    HalfNotes,  // root and fifth as half notes
    Eighths,    // a soft eighth-note pulse with an octave leap
};
enum class DrumStyle {
    Brushes,   // kick, side stick, soft hat
    Shaker,    // shaker and a heartbeat kick
    LightKit,  // kick, side stick, hats with an open hat now and then
};

// One instrument: General MIDI program, volume (CC 7) and pan (CC 10).
struct Voice {
    int program = 0;
    int volume = 100;
    int pan = 64;
};

struct Section {
    // One entry per bar; a bar may hold two chords ("Csus4 C"), each taking
    // half of it. Chords: root (C, F#, Bb...) then "", m, 7, m7, maj7, sus2,
    // sus4 or add9.
    std::vector<std::string> chords;
    // One entry per bar: notes as "F#5:2" (name, octave, length in eighths,
    // C4 = middle C) or rests as "r:2"; each bar adds up to 8 eighths.
    std::vector<std::string> melody;
    bool drums = true;
    bool doubled = false;  // the second melody voice joins in
    int loudness = 0;      // added to every velocity
};

struct Piece {
    std::string fileName;
    std::string title;
    int beatsPerMinute = 80;
    Voice melody, melodyDouble, comp, pad, bass;
    CompStyle compStyle = CompStyle::BrokenChord;
    BassStyle bassStyle = BassStyle::RootFifth;
    DrumStyle drumStyle = DrumStyle::Brushes;
    std::vector<Section> sections;
};

// Builds the file; throws std::invalid_argument for a chord or note it
// cannot read or a bar that does not add up.
SmfBytes Arrange(const Piece& piece);
