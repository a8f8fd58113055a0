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
    // soundFont: path of an .sf2 file, or empty for a silent synthesiser.
    MidiSynth(int sampleRate, const QString& soundFont);
    ~MidiSynth();
    MidiSynth(const MidiSynth&) = delete;
    MidiSynth& operator=(const MidiSynth&) = delete;

    // False when FluidSynth could not be set up at all.
    bool IsValid() const { return synth_ != nullptr; }
    // True when a soundfont was loaded, that is when it can make a sound.
    bool HasSoundFont() const { return soundFontId_ >= 0; }
    int SampleRate() const { return sampleRate_; }

    void Send(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
    // Cuts every voice at once (a stop).
    void AllSoundsOff();
    // Back to the power-on state: instruments, controllers, no voices.
    void Reset();
    // Renders frames of interleaved stereo into out (2 * frames samples).
    void Render(int frames, std::int16_t* out);

    // Debian's General MIDI soundfont, or empty when none is installed.
    static QString DefaultSoundFont();

private:
    int sampleRate_;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    int soundFontId_ = -1;
};
