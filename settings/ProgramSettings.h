#pragma once
// The program's own settings in the store: which keys, in which order, with
// which defaults. The start-up and close code calls these and stays short.
#include <QString>

#include "settings/SettingKeys.h"
#include "settings/TIniCtrl.h"

// Sets Tongue, SoundOn and MusicOn and gives the background variant; missing
// values give -1, true, true and 0. A background variant outside 0..6 is read
// as 0, so that no drawing code ever sees a row that does not exist.
void ReadProgramSettings(const TIniCtrl& ini, int& backMode);

// SoundOn, MusicOn, Tongue and the background variant as the store keeps
// them, in this order; for a close that writes them with other values.
QList<TIniCtrl::Change> ProgramSettingsChanges(int backMode);
// Writes them, all in one write.
void WriteProgramSettings(TIniCtrl& ini, int backMode);

// "tongue" alone, as read again when the main window is first shown.
int ReadStoredTongue(const TIniCtrl& ini);
