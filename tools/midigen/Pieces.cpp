#include "tools/midigen/Pieces.h"

namespace {

// General MIDI programs (0-based).
enum Program {
    kElectricPiano1 = 4,
    kElectricPiano2 = 5,
    kVibraphone = 11,
    kMarimba = 12,
    kNylonGuitar = 24,
    kAcousticBass = 32,
    kFingeredBass = 33,
    kFretlessBass = 35,
    kStrings = 48,
    kChoir = 52,
    kFlute = 73,
    kClarinet = 71,
    kWarmPad = 89,
    kCelesta = 8,
};

// F major, unhurried: vibraphone over a music-box piano.
Piece MorningTiles() {
    Piece p;
    p.fileName = "01-morning-tiles.mid";
    p.title = "Morning Tiles";
    p.beatsPerMinute = 84;
    p.melody = {kVibraphone, 104, 70};
    p.melodyDouble = {kFlute, 80, 54};
    p.comp = {kElectricPiano1, 84, 44};
    p.pad = {kWarmPad, 70, 84};
    p.bass = {kAcousticBass, 100, 64};
    p.compStyle = CompStyle::BrokenChord;
    p.bassStyle = BassStyle::RootFifth;
    p.drumStyle = DrumStyle::Brushes;

    const Section intro{{"F", "Csus4 C"}, {"r:8", "r:8"}, false, false, -10};
    const std::vector<std::string> themeChords{"F", "Am", "Bb", "C", "Dm", "Bb", "Gm7", "C"};
    const std::vector<std::string> theme{
        "A4:2 C5:2 F5:3 E5:1", "E5:4 C5:2 A4:2",      "D5:3 C5:1 Bb4:2 D5:2", "C5:6 r:2",
        "A4:2 D5:2 F5:2 E5:2", "D5:4 F5:2 D5:2",      "Bb4:2 D5:2 F5:2 E5:1 D5:1", "E5:4 G4:4"};
    const Section bridge{{"Dm", "Am", "Bb", "F", "Gm7", "Am", "Bb", "Csus4 C"},
                         {"F5:3 E5:1 D5:2 A4:2", "C5:3 B4:1 A4:2 E5:2", "F5:4 D5:2 Bb4:2", "C5:4 A4:4",
                          "G4:2 Bb4:2 D5:2 F5:2", "E5:3 D5:1 C5:2 A4:2", "D5:2 F5:2 Bb5:2 A5:2", "G5:4 E5:4"},
                         true, false, 0};
    std::vector<std::string> closingChords = themeChords;
    std::vector<std::string> closing = theme;
    closing.back() = "E5:2 D5:2 C5:4";
    const Section outro{{"F", "F"}, {"F5:8", "r:8"}, false, false, -8};

    p.sections = {intro,
                  {themeChords, theme, true, false, -4},
                  bridge,
                  {closingChords, closing, true, true, 2},
                  outro};
    return p;
}

// A minor, slow: a flute over a picked nylon guitar.
Piece QuietGarden() {
    Piece p;
    p.fileName = "02-quiet-garden.mid";
    p.title = "Quiet Garden";
    p.beatsPerMinute = 76;
    p.melody = {kFlute, 100, 58};
    p.melodyDouble = {kClarinet, 70, 76};
    p.comp = {kNylonGuitar, 100, 72};
    p.pad = {kStrings, 58, 50};
    p.bass = {kFretlessBass, 100, 64};
    p.compStyle = CompStyle::Arpeggio;
    p.bassStyle = BassStyle::HalfNotes;
    p.drumStyle = DrumStyle::Shaker;

    const Section intro{{"Am", "F"}, {"r:8", "r:8"}, false, false, -8};
    const std::vector<std::string> themeChords{"Am", "F", "C", "G", "Am", "Dm", "F", "Esus4 E"};
    const std::vector<std::string> theme{
        "A4:2 C5:2 E5:4", "F5:3 E5:1 C5:4", "E5:2 G5:2 E5:2 D5:2", "D5:6 B4:2",
        "C5:2 E5:2 A5:4", "F5:3 E5:1 D5:2 A4:2", "C5:4 A4:2 C5:2", "B4:4 G#4:4"};
    const Section bridge{{"F", "G", "Em", "Am", "Dm", "G", "C", "Esus4 E"},
                         {"A5:4 G5:2 F5:2", "G5:4 D5:4", "E5:2 G5:2 B5:4", "A5:6 r:2",
                          "F5:3 E5:1 D5:2 F5:2", "D5:3 C5:1 B4:2 D5:2", "E5:2 C5:2 G4:2 C5:2", "B4:6 r:2"},
                         true, false, 2};
    std::vector<std::string> closing = theme;
    closing.back() = "B4:4 E5:4";
    const Section outro{{"Am", "Am"}, {"A4:8", "r:8"}, false, false, -8};

    p.sections = {intro,
                  {themeChords, theme, true, false, -4},
                  bridge,
                  {themeChords, closing, true, true, 0},
                  outro};
    return p;
}

// D major, a little livelier: marimba and electric piano over a light kit.
Piece EveningLanterns() {
    Piece p;
    p.fileName = "03-evening-lanterns.mid";
    p.title = "Evening Lanterns";
    p.beatsPerMinute = 96;
    p.melody = {kMarimba, 110, 60};
    p.melodyDouble = {kCelesta, 76, 74};
    p.comp = {kElectricPiano2, 78, 80};
    p.pad = {kChoir, 62, 48};
    p.bass = {kFingeredBass, 100, 64};
    p.compStyle = CompStyle::OffbeatChords;
    p.bassStyle = BassStyle::Eighths;
    p.drumStyle = DrumStyle::LightKit;

    const Section intro{{"D", "Asus4 A"}, {"r:8", "r:8"}, false, false, -10};
    const std::vector<std::string> themeChords{"D", "Bm", "G", "A", "D", "F#m", "G", "A"};
    const std::vector<std::string> theme{
        "F#5:2 A5:2 F#5:1 E5:1 D5:2", "D5:2 F#5:2 B4:4", "B4:2 D5:2 G5:3 F#5:1", "E5:4 C#5:2 A4:2",
        "A4:2 D5:2 F#5:2 A5:2",       "A5:3 F#5:1 C#5:2 F#5:2", "G5:2 F#5:2 E5:2 D5:2", "E5:6 r:2"};
    const Section bridge{{"Em", "A", "F#m", "Bm", "G", "D", "Em7", "Asus4 A"},
                         {"G5:3 F#5:1 E5:2 B4:2", "C#5:3 D5:1 E5:4", "F#5:2 A5:2 C#6:2 A5:2", "B5:4 F#5:4",
                          "G5:2 B5:2 D6:2 B5:2", "A5:4 F#5:4", "E5:2 G5:2 B5:2 D6:2", "D6:4 C#6:2 A5:2"},
                         true, false, 2};
    std::vector<std::string> closing = theme;
    closing.back() = "E5:2 C#5:2 A4:4";
    const Section outro{{"D", "D"}, {"D5:8", "r:8"}, false, false, -8};

    p.sections = {intro,
                  {themeChords, theme, true, false, -4},
                  bridge,
                  {themeChords, closing, true, true, 2},
                  outro};
    return p;
}

}  // namespace

std::vector<Piece> GamePieces() { return {MorningTiles(), QuietGarden(), EveningLanterns()}; }
