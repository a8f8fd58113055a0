#include "media/MusicCycle.h"

#include "settings/Globals.h"
#include "settings/ErrorReport.h"

#include <QStringList>

bool MusicFilesFound = false;

namespace {

QStringList MusicDirectories() { return {DataDir, PlayerMusicDirectory()}; }

// The first line is what the player would look up; the second what to do.
QString TroubleText(MidiSynth::Trouble trouble) {
    if (trouble == MidiSynth::Trouble::NoLibrary)
        return Lang(QStringLiteral("Keine Musik: Der Synthesizer FluidSynth lässt sich nicht laden.\n"
                                   "Bitte FluidSynth installieren (Debian: Paket libfluidsynth3)."),
                    QStringLiteral("No music: the FluidSynth synthesiser cannot be loaded.\n"
                                   "Please install FluidSynth (Debian: package libfluidsynth3)."));
    return Lang(QStringLiteral("Keine Musik: Es ist kein General-MIDI-Soundfont installiert.\n"
                               "Bitte einen installieren (Debian: Paket timgm6mb-soundfont)."),
                QStringLiteral("No music: no General MIDI sound font is installed.\n"
                               "Please install one (Debian: package timgm6mb-soundfont)."));
}

}  // namespace

MusicCycle::MusicCycle(TMediaPlayer& midi) : midi_(midi) {
    midi_.OnTrouble([this](MidiSynth::Trouble trouble) { Unavailable(trouble); });
}

void MusicCycle::Unavailable(MidiSynth::Trouble trouble) {
    if (!MusicAvailable())
        return;
    trouble_ = trouble;
    ReportError(TroubleText(trouble));
}

bool MusicCycle::Advance(bool wrapAround) {
    return MusicSearchRec.FindNext() || (wrapAround && MusicSearchRec.FindFirst(MusicDirectories()));
}

bool MusicCycle::OpenPlayable(bool wrapAround) {
    QStringList reasons;
    bool opened = false;
    // Bounded: a directory of nothing but bad files must not loop for ever.
    const int attempts = MusicSearchRec.Count() + 1;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        midi_.SetFileName(MusicSearchRec.Path());
        if (midi_.Open()) {
            opened = true;
            break;
        }
        // Told once per file: a bad piece met again on a later round is
        // passed over without a word.
        if (!reported_.contains(MusicSearchRec.Name())) {
            reported_.insert(MusicSearchRec.Name());
            const QString reason = midi_.LastError();
            reasons << (reason.isEmpty() ? QStringLiteral("Unbekannter Fehler-Code") : reason);
        }
        if (!Advance(wrapAround))
            break;
    }
    if (!reasons.isEmpty())
        ReportError(reasons.join(QLatin1Char('\n')));
    return opened;
}

void MusicCycle::StartUp() {
    MusicFilesFound = MusicSearchRec.FindFirst(MusicDirectories()) && OpenPlayable(false);
}

void MusicCycle::WindowShown() {
    if (MusicFilesFound && MusicOn)
        midi_.PrepareToPlay();
}

void MusicCycle::KeepAlive() {
    // IsOpen: after a failed switch there is no device to play on.
    if (MusicFilesFound && MusicOn && MusicAvailable() && midi_.IsOpen() && midi_.Mode() != MPModes::mpPlaying)
        midi_.Play();
}

bool MusicCycle::SwitchMusic() {
    if (!MusicAvailable())
        return true;
    if (MusicOn) {
        midi_.Stop();
        midi_.Close();
        // The synthesiser's samples are the music's largest memory.
        midi_.ReleaseSynth();
        MusicOn = false;
        return true;
    }
    if (const MidiSynth::Trouble trouble = midi_.ProbeSynth(); trouble != MidiSynth::Trouble::None) {
        Unavailable(trouble);
        return true;
    }
    MusicOn = Advance(true);
    if (!MusicOn)
        return true;
    if (!OpenPlayable(true)) {
        // Not one piece will open: stay silent until the next press, which
        // looks again.
        MusicOn = false;
        return false;
    }
    midi_.Play();
    return true;
}
