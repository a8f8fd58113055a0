#pragma once
// The background music's life: the first piece opened at start-up, the piece
// kept going on every clock tick, and the options dialog's switch that
// alternates between off and the next piece.
#include "media/MusicSearch.h"
#include "media/TMediaPlayer.h"

#include <QString>

// Set at start-up when a music file was found and opened; never changed after.
extern bool MusicFilesFound;

class TMusicCycle {
public:
    explicit TMusicCycle(TMediaPlayer& midi) : midi_(midi) {}

    // Start-up: opens the first "*.mid" beside the program, whether or not
    // the music is on; plays nothing yet. A file that will not open is
    // reported once and leaves the game without music files.
    void StartUp();
    // Every clock tick: plays again what has stopped, the current piece from
    // its beginning once it has played to its end.
    void KeepAlive();
    // The options dialog's music button: off when on, otherwise on with the
    // next piece, after the last one with a fresh search. Returns false when
    // the next piece would not open; that was reported, and music is off.
    bool SwitchMusic();

    // The current piece's file name, without directory, for the dialog.
    QString CurrentFileName() const { return MusicSearchRec.Name(); }
    const TMusicSearch& SearchRec() const { return MusicSearchRec; }

private:
    // Opens ProgramDir + the search's current entry; reports a failure.
    bool OpenCurrent();

    TMediaPlayer& midi_;
    TMusicSearch MusicSearchRec;
};
