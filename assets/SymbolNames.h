#pragma once
// The 27 symbols by name, in German and English, for the players who hear
// the board instead of seeing it. Short, and each different from the others
// in its language, so that four of them in a row can be told apart by ear.
#include <QString>

inline constexpr int SymbolCount = 27;

// The name of symbol image 1..27; an empty string for any other number.
QString SymbolName(int image, bool german);
