#include "settings/Globals.h"

// Defaults until the settings store has been read.
int Tongue = -1;
bool SoundOn = true;
bool MusicOn = true;
QString ProgramDir;
QString DataDir;
