#pragma once
// The software synthesiser behind the music: FluidSynth with a General MIDI
// soundfont, rendering 16-bit stereo on demand. Without a soundfont it still
// takes every message and renders silence, so the music's timing does not
// depend on the sound installation.
#include <QString>
#include <cstdint>
#include <fluidsynth/types.h>

class MidiSynth {
public:
    // Why a synthesiser cannot make music, if it cannot.
    enum class Trouble {
        None,
        NoLibrary,   // FluidSynth is not installed (or not complete)
        NoSoundFont, // no General MIDI sound font, or it would not load
    };

    // soundFont: path of an .sf2 file, or empty for a silent synthesiser.
    // Only the samples of the instruments in use are read from it, so a
    // large font costs little more memory than a small one.
    MidiSynth(int sampleRate, const QString& soundFont);
    ~MidiSynth();
    MidiSynth(const MidiSynth&) = delete;
    MidiSynth& operator=(const MidiSynth&) = delete;

    // False when FluidSynth could not be set up at all.
    bool IsValid() const { return synth_ != nullptr; }
    // True when a soundfont was loaded, that is when it can make a sound.
    bool HasSoundFont() const { return soundFontId_ >= 0; }
    Trouble Problem() const;
    int SampleRate() const { return sampleRate_; }

    void Send(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    // Cuts every voice at once (a stop).
    void AllSoundsOff();
    // Back to the power-on state: instruments, controllers, no voices.
    void Reset();
    // Channels outside usedChannels (bit n for channel n) get no instrument,
    // so that the samples of their default piano or drum kit are not loaded.
    void LeaveUnused(std::uint16_t usedChannels);
    // Renders frames of interleaved stereo into out (2 * frames samples).
    void Render(int frames, std::int16_t* out);

    // The General MIDI sound font: TANGRIX_SOUND_FONT, else one beside the
    // program or in the player's music folder, else the system's; empty when
    // there is none.
    static QString DefaultSoundFont();
    // What stands in the way of music with soundFont, found without making
    // a synthesiser: loads the library (once per run) and looks for the file.
    static Trouble Probe(const QString& soundFont);

private:
    int sampleRate_;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    int soundFontId_ = -1;
};
