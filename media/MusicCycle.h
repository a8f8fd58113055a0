#pragma once
// The background music's life: the first piece opened at start-up, the piece
// kept going on every clock tick, and the options dialog's switch that
// alternates between off and the next piece.
#include "media/MusicSearch.h"
#include "media/TMediaPlayer.h"

#include <QSet>
#include <QString>

// Set at start-up when a music file was found and opened; never changed after.
extern bool MusicFilesFound;

class MusicCycle {
public:
    explicit MusicCycle(TMediaPlayer& midi);

    // Start-up: opens the first playable "*.mid" of the game's music
    // directory and then the player's, whether or not the music is on; plays
    // nothing yet. Files that will not open are reported and passed over;
    // with none playable the game has no music files.
    void StartUp();
    // Once the window is on the screen: the synthesiser loads its soundfont
    // (on a thread of its own) when the music is on, ready for the first tick.
    // Loading it earlier would take a core from the window's first picture.
    void WindowShown();
    // Every clock tick: plays again what has stopped, the current piece from
    // its beginning once it has played to its end.
    void KeepAlive();
    // The options dialog's music button: off when on, otherwise on with the
    // next playable piece, after the last one with a fresh search. Pieces
    // that will not open are reported and passed over. Returns false when no
    // piece would open; music is then off. Music found unavailable is not
    // switched at all.
    bool SwitchMusic();

    // False once the synthesiser or the sound font turned out missing: the
    // player has been told (once), and the music setting is kept as it was
    // for a game that has them again.
    bool MusicAvailable() const { return trouble_ == MidiSynth::Trouble::None; }

    // The current piece's file name, without directory, for the dialog.
    QString CurrentFileName() const { return MusicSearchRec.Name(); }
    const MusicSearch& SearchRec() const { return MusicSearchRec; }

private:
    // Opens DataDir + the search's current entry, or else the next one
    // that opens, trying each entry at most once (a fresh search may follow
    // the last). Tells, in one box, why the ones passed over would not open,
    // each file only the first time it fails.
    bool OpenPlayable(bool wrapAround);
    bool Advance(bool wrapAround);
    void Unavailable(MidiSynth::Trouble trouble);

    TMediaPlayer& midi_;
    MusicSearch MusicSearchRec;
    QSet<QString> reported_;
    MidiSynth::Trouble trouble_ = MidiSynth::Trouble::None;
};
