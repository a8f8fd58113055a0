#pragma once
// Every value the program keeps in the settings store, named once: the
// section, the keys, the defaults a missing value gives, and the ranges.
#include <QString>

// The one section the program keeps its values in.
inline QString CommonSection() { return QStringLiteral("common"); }

namespace SettingKey {
inline QString Tongue() { return QStringLiteral("tongue"); }
inline QString Sound() { return QStringLiteral("sound"); }
inline QString Music() { return QStringLiteral("music"); }
inline QString BackMode() { return QStringLiteral("backmode"); }
// The main window's placement, and the rules window's beside it in the same format.
inline QString MainWindowPlacement() { return QStringLiteral("MainForm"); }
inline QString HelpPlacement() { return QStringLiteral("HelpForm"); }
// The last name typed into the high-score table.
inline QString Player() { return QStringLiteral("player"); }
// The fifteen enciphered rows are this prefix followed by 0 … 14.
inline QString HighscoreRowPrefix() { return QStringLiteral("hs"); }
} // namespace SettingKey

namespace SettingDefault {
inline constexpr int Tongue = -1; // not yet chosen: the language question comes
inline constexpr bool Sound = true;
inline constexpr bool Music = true;
inline constexpr int BackMode = 0;
inline QString Player() { return QStringLiteral("Mr.Quill"); }
} // namespace SettingDefault

// Background variants 0..6 (the rows of the background sheet).
inline constexpr int BackModeCount = 7;
