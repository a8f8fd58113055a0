#include "media/MusicCycle.h"

#include "settings/Globals.h"
#include "settings/ErrorReport.h"

#include <QStringList>

bool MusicFilesFound = false;

bool TMusicCycle::Advance(bool wrapAround) {
    return MusicSearchRec.FindNext() || (wrapAround && MusicSearchRec.FindFirst(DataDir));
}

bool TMusicCycle::OpenPlayable(bool wrapAround) {
    QStringList reasons;
    bool opened = false;
    // Bounded: a directory of nothing but bad files must not loop for ever.
    const int attempts = MusicSearchRec.Count() + 1;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        midi_.SetFileName(DataDir + MusicSearchRec.Name());
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

void TMusicCycle::StartUp() {
    MusicFilesFound = MusicSearchRec.FindFirst(DataDir) && OpenPlayable(false);
}

void TMusicCycle::WindowShown() {
    if (MusicFilesFound && MusicOn)
        midi_.PrepareToPlay();
}

void TMusicCycle::KeepAlive() {
    // IsOpen: after a failed switch there is no device to play on.
    if (MusicFilesFound && MusicOn && midi_.IsOpen() && midi_.Mode() != TMPModes::mpPlaying)
        midi_.Play();
}

bool TMusicCycle::SwitchMusic() {
    if (MusicOn) {
        midi_.Stop();
        midi_.Close();
        MusicOn = false;
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
