#include "media/MidiSynth.h"

#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

#include "media/MusicSearch.h"
#include "media/SoundFontSearch.h"
#include "settings/Globals.h"
#include <fluidsynth.h>

namespace {

// FluidSynth, opened when the first synthesiser is made (on a thread of its
// own) or the music is switched on, rather than linked: it brings some thirty libraries of its own
// (audio drivers, SDL, JACK, Wayland) that would otherwise all be loaded and
// relocated before the window can appear.
struct FluidSynthLibrary {
    bool loaded = false;
#define TANGRIX_FLUID_FUNCTION(name) decltype(&::name) name = nullptr;
    TANGRIX_FLUID_FUNCTION(fluid_set_log_function)
    TANGRIX_FLUID_FUNCTION(new_fluid_settings)
    TANGRIX_FLUID_FUNCTION(delete_fluid_settings)
    TANGRIX_FLUID_FUNCTION(fluid_settings_setnum)
    TANGRIX_FLUID_FUNCTION(fluid_settings_setint)
    TANGRIX_FLUID_FUNCTION(new_fluid_synth)
    TANGRIX_FLUID_FUNCTION(delete_fluid_synth)
    TANGRIX_FLUID_FUNCTION(fluid_synth_sfload)
    TANGRIX_FLUID_FUNCTION(fluid_synth_noteon)
    TANGRIX_FLUID_FUNCTION(fluid_synth_noteoff)
    TANGRIX_FLUID_FUNCTION(fluid_synth_key_pressure)
    TANGRIX_FLUID_FUNCTION(fluid_synth_cc)
    TANGRIX_FLUID_FUNCTION(fluid_synth_program_change)
    TANGRIX_FLUID_FUNCTION(fluid_synth_channel_pressure)
    TANGRIX_FLUID_FUNCTION(fluid_synth_pitch_bend)
    TANGRIX_FLUID_FUNCTION(fluid_synth_all_sounds_off)
    TANGRIX_FLUID_FUNCTION(fluid_synth_system_reset)
    TANGRIX_FLUID_FUNCTION(fluid_synth_unset_program)
    TANGRIX_FLUID_FUNCTION(fluid_synth_write_s16)
#undef TANGRIX_FLUID_FUNCTION

    FluidSynthLibrary() {
#ifdef Q_OS_WIN
        // The Windows builds name the DLL after the library and its ABI
        // version: libfluidsynth-3.dll (MinGW), fluidsynth-3.dll (MSVC).
        QLibrary library;
        bool opened = false;
        for (const char* name : {"libfluidsynth-3", "fluidsynth-3", "libfluidsynth"}) {
            library.setFileName(QString::fromLatin1(name));
            if ((opened = library.load()))
                break;
        }
        if (!opened)
            return;
#else
        QLibrary library(QStringLiteral("fluidsynth"), 3);
        if (!library.load())
            return;
#endif
        bool all = true;
        auto resolve = [&](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(name));
            all = all && function;
        };
#define TANGRIX_FLUID_RESOLVE(name) resolve(name, #name);
        TANGRIX_FLUID_RESOLVE(fluid_set_log_function)
        TANGRIX_FLUID_RESOLVE(new_fluid_settings)
        TANGRIX_FLUID_RESOLVE(delete_fluid_settings)
        TANGRIX_FLUID_RESOLVE(fluid_settings_setnum)
        TANGRIX_FLUID_RESOLVE(fluid_settings_setint)
        TANGRIX_FLUID_RESOLVE(new_fluid_synth)
        TANGRIX_FLUID_RESOLVE(delete_fluid_synth)
        TANGRIX_FLUID_RESOLVE(fluid_synth_sfload)
        TANGRIX_FLUID_RESOLVE(fluid_synth_noteon)
        TANGRIX_FLUID_RESOLVE(fluid_synth_noteoff)
        TANGRIX_FLUID_RESOLVE(fluid_synth_key_pressure)
        TANGRIX_FLUID_RESOLVE(fluid_synth_cc)
        TANGRIX_FLUID_RESOLVE(fluid_synth_program_change)
        TANGRIX_FLUID_RESOLVE(fluid_synth_channel_pressure)
        TANGRIX_FLUID_RESOLVE(fluid_synth_pitch_bend)
        TANGRIX_FLUID_RESOLVE(fluid_synth_all_sounds_off)
        TANGRIX_FLUID_RESOLVE(fluid_synth_system_reset)
        TANGRIX_FLUID_RESOLVE(fluid_synth_unset_program)
        TANGRIX_FLUID_RESOLVE(fluid_synth_write_s16)
#undef TANGRIX_FLUID_RESOLVE
        if (!all)
            return;
        // FluidSynth reports missing instruments and the like on stderr; the
        // game has no console, and a silent synthesiser is an expected state.
        for (int level : {FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
        loaded = true;
    }
};

// Opened once, by whichever thread first needs it; never closed.
const FluidSynthLibrary& Fluid() {
    static const FluidSynthLibrary library;
    return library;
}

}  // namespace

MidiSynth::MidiSynth(int sampleRate, const QString& soundFont) : sampleRate_(sampleRate) {
    const FluidSynthLibrary& fluid = Fluid();
    if (!fluid.loaded)
        return;
    settings_ = fluid.new_fluid_settings();
    if (!settings_)
        return;
    fluid.fluid_settings_setnum(settings_, "synth.sample-rate", double(sampleRate));
    // The default gain of 0.2 is far quieter than the sound effects.
    fluid.fluid_settings_setnum(settings_, "synth.gain", 0.7);
    // Samples are read when an instrument is chosen, not all at once: the
    // music holds what its pieces play, not the whole font.
    fluid.fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1);
    synth_ = fluid.new_fluid_synth(settings_);
    if (synth_ && !soundFont.isEmpty() && QFileInfo::exists(soundFont)) {
        const int id = fluid.fluid_synth_sfload(synth_, QFile::encodeName(soundFont).constData(), 1);
        if (id != FLUID_FAILED)
            soundFontId_ = id;
    }
}

MidiSynth::~MidiSynth() {
    if (synth_)
        Fluid().delete_fluid_synth(synth_);
    if (settings_)
        Fluid().delete_fluid_settings(settings_);
}

void MidiSynth::Send(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    if (!synth_)
        return;
    const FluidSynthLibrary& fluid = Fluid();
    const int channel = status & 0x0F;
    switch (status & 0xF0) {
    case 0x80:
        fluid.fluid_synth_noteoff(synth_, channel, data1);
        break;
    case 0x90:
        // Velocity 0 is a note-off by convention; FluidSynth knows that too.
        fluid.fluid_synth_noteon(synth_, channel, data1, data2);
        break;
    case 0xA0:
        fluid.fluid_synth_key_pressure(synth_, channel, data1, data2);
        break;
    case 0xB0:
        fluid.fluid_synth_cc(synth_, channel, data1, data2);
        break;
    case 0xC0:
        fluid.fluid_synth_program_change(synth_, channel, data1);
        break;
    case 0xD0:
        fluid.fluid_synth_channel_pressure(synth_, channel, data1);
        break;
    case 0xE0:
        fluid.fluid_synth_pitch_bend(synth_, channel, data1 | (data2 << 7));
        break;
    default:
        break;
    }
}

void MidiSynth::AllSoundsOff() {
    if (synth_)
        Fluid().fluid_synth_all_sounds_off(synth_, -1);
}

void MidiSynth::Reset() {
    if (synth_)
        Fluid().fluid_synth_system_reset(synth_);
}

void MidiSynth::LeaveUnused(std::uint16_t usedChannels) {
    if (!synth_)
        return;
    for (int channel = 0; channel < 16; ++channel)
        if (!(usedChannels & (1u << channel)))
            Fluid().fluid_synth_unset_program(synth_, channel);
}

void MidiSynth::Render(int frames, std::int16_t* out) {
    if (frames <= 0)
        return;
    if (!synth_) {
        std::fill(out, out + 2 * frames, std::int16_t(0));
        return;
    }
    Fluid().fluid_synth_write_s16(synth_, frames, out, 0, 2, out, 1, 2);
}

MidiSynth::Trouble MidiSynth::Problem() const {
    if (!synth_)
        return Trouble::NoLibrary;
    return HasSoundFont() ? Trouble::None : Trouble::NoSoundFont;
}

MidiSynth::Trouble MidiSynth::Probe(const QString& soundFont) {
    if (!Fluid().loaded)
        return Trouble::NoLibrary;
    return !soundFont.isEmpty() && QFileInfo(soundFont).isFile() ? Trouble::None : Trouble::NoSoundFont;
}

QString MidiSynth::DefaultSoundFont() {
    // A font of the player's choice (and the benchmark's, to compare fonts).
    if (const QString chosen = qEnvironmentVariable("TANGRIX_SOUND_FONT"); !chosen.isEmpty())
        return chosen;
    // One the player put beside the program or among their music, then the
    // system's.
    QStringList own{ProgramDir};
    if (DataDir != ProgramDir)
        own << DataDir;
    own << PlayerMusicDirectory();
    return FindSoundFont(own, SystemSoundFontFolders());
}
