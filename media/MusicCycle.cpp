#include "media/MusicCycle.h"

#include "settings/Globals.h"
#include "ui/StandardErrorBox.h"

bool MusicFilesFound = false;

bool TMusicCycle::OpenCurrent() {
    midi_.SetFileName(ProgramDir + MusicSearchRec.Name());
    if (midi_.Open())
        return true;
    const QString reason = midi_.LastError();
    ShowStandardError(reason.isEmpty() ? QStringLiteral("Unbekannter Fehler-Code") : reason);
    return false;
}

void TMusicCycle::StartUp() {
    MusicFilesFound = MusicSearchRec.FindFirst(ProgramDir) && OpenCurrent();
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
    MusicOn = MusicSearchRec.FindNext() || MusicSearchRec.FindFirst(ProgramDir);
    if (!MusicOn)
        return true;
    if (!OpenCurrent()) {
        // A damaged piece: say so once and stay silent until the next press,
        // which moves on to the piece after it.
        MusicOn = false;
        return false;
    }
    midi_.Play();
    return true;
}
