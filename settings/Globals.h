#pragma once
// Program-wide settings that every window reads: the language and the two
// sound switches, and the directory the program looks for its files in.
#include <QString>

// 1 German, -1 not yet chosen, any other value English.
extern int Tongue;
extern bool SoundOn;
extern bool MusicOn;
// The executable's directory with a trailing '/'.
extern QString ProgramDir;
// Where the program's own data lies (help file, music), with a trailing '/'
// (see DataDirFor).
extern QString DataDir;

inline bool German() { return Tongue == 1; }
// Picks the text of the current language at the moment it is shown.
inline QString Lang(const QString& german, const QString& english) { return German() ? german : english; }
