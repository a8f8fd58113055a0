#pragma once
// A directory search for the music files: every "*.mid" in the game's own
// music directory, then in the player's, each sorted by name so the order is
// the same on every system; the suffix matched without regard to case
// ("Theme.MID" counts), hidden files included.
#include <QString>
#include <QStringList>

// Where the player puts music of their own: "tangrix/music" in the user's
// data folder (on Linux ~/.local/share/tangrix/music, or under
// $XDG_DATA_HOME); it is played after the game's own pieces.
QString PlayerMusicDirectory();

class MusicSearch {
public:
    // Starts a new search through directories (each with or without a
    // trailing '/'), in their order; true when it stands on a first entry.
    bool FindFirst(const QStringList& directories);
    // Moves to the next entry that still exists; false when there is none.
    bool FindNext();
    // The current entry's file name without directory; empty when the search
    // stands on nothing.
    QString Name() const;
    // The current entry's full path; empty when the search stands on nothing.
    QString Path() const;
    // How many entries the search found when it began.
    int Count() const { return int(paths_.size()); }

private:
    QStringList paths_;
    qsizetype index_ = 0;
};
