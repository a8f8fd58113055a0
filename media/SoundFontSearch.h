#pragma once
// Where the music's General MIDI sound font is found: a font the player puts
// beside the program or into their music folder comes first (on Windows there
// is no system-wide place for one), then the fonts the system installs.
#include <QString>
#include <QStringList>

// In each of ownFolders: the usual names, then any other ".sf2" and then
// ".sf3" font by name (compressed fonts last: their samples are decoded on
// loading, which takes seconds and much memory). In each of systemFolders the
// usual names only, so that a font that is not General MIDI is not taken.
// Empty when there is none.
QString FindSoundFont(const QStringList& ownFolders, const QStringList& systemFolders);

// The folders the system's sound font packages install into.
QStringList SystemSoundFontFolders();
