#include "media/MidiSynth.h"

#include <QFileInfo>
#include <fluidsynth.h>

namespace {

// FluidSynth reports missing instruments and the like on stderr; the game
// has no console, and a silent synthesiser is an expected state here.
void QuietFluidSynthLog() {
    static const bool done = [] {
        fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
        fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
        fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
        return true;
    }();
    (void)done;
}

}  // namespace

MidiSynth::MidiSynth(int sampleRate, const QString& soundFont) : sampleRate_(sampleRate) {
    QuietFluidSynthLog();
    settings_ = new_fluid_settings();
    if (!settings_)
        return;
    fluid_settings_setnum(settings_, "synth.sample-rate", double(sampleRate));
    // The default gain of 0.2 is far quieter than the sound effects.
    fluid_settings_setnum(settings_, "synth.gain", 0.7);
    synth_ = new_fluid_synth(settings_);
    if (synth_ && !soundFont.isEmpty() && QFileInfo::exists(soundFont)) {
        const int id = fluid_synth_sfload(synth_, QFile::encodeName(soundFont).constData(), 1);
        if (id != FLUID_FAILED)
            soundFontId_ = id;
    }
}

MidiSynth::~MidiSynth() {
    if (synth_)
        delete_fluid_synth(synth_);
    if (settings_)
        delete_fluid_settings(settings_);
}

void MidiSynth::Send(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    if (!synth_)
        return;
    const int channel = status & 0x0F;
    switch (status & 0xF0) {
    case 0x80:
        fluid_synth_noteoff(synth_, channel, data1);
        break;
    case 0x90:
        // Velocity 0 is a note-off by convention; FluidSynth knows that too.
        fluid_synth_noteon(synth_, channel, data1, data2);
        break;
    case 0xA0:
        fluid_synth_key_pressure(synth_, channel, data1, data2);
        break;
    case 0xB0:
        fluid_synth_cc(synth_, channel, data1, data2);
        break;
    case 0xC0:
        fluid_synth_program_change(synth_, channel, data1);
        break;
    case 0xD0:
        fluid_synth_channel_pressure(synth_, channel, data1);
        break;
    case 0xE0:
        fluid_synth_pitch_bend(synth_, channel, data1 | (data2 << 7));
        break;
    default:
        break;
    }
}

void MidiSynth::AllSoundsOff() {
    if (synth_)
        fluid_synth_all_sounds_off(synth_, -1);
}

void MidiSynth::Reset() {
    if (synth_)
        fluid_synth_system_reset(synth_);
}

void MidiSynth::Render(int frames, std::int16_t* out) {
    if (frames <= 0)
        return;
    if (!synth_) {
        std::fill(out, out + 2 * frames, std::int16_t(0));
        return;
    }
    fluid_synth_write_s16(synth_, frames, out, 0, 2, out, 1, 2);
}

QString MidiSynth::DefaultSoundFont() {
    for (const char* path : {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2"}) {
        const QString candidate = QString::fromLatin1(path);
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return {};
}
