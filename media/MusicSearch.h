#pragma once
// A directory search for the music files: every "*.mid" in one directory,
// the suffix matched without regard to case ("Theme.MID" counts), hidden
// files included, sorted by name so the order is the same on every system.
#include <QString>
#include <QStringList>

class TMusicSearch {
public:
    // Starts a new search in directory (with or without a trailing '/');
    // true when it stands on a first entry.
    bool FindFirst(const QString& directory);
    // Moves to the next entry that still exists; false when there is none.
    bool FindNext();
    // The current entry's file name without directory; empty when the search
    // stands on nothing.
    QString Name() const;
    // How many entries the search found when it began.
    int Count() const { return int(names_.size()); }

private:
    QString directory_;
    QStringList names_;
    qsizetype index_ = 0;
};
