#pragma once
// Whole numbers as the settings store holds them: decimal text, read back with
// the same leniency as always (leading blanks, a sign, "$" for hexadecimal).
#include <QStringView>

#include <optional>

// The number the text stands for, or nothing if the text is not exactly one
// whole number in the 32-bit range. Trailing characters, blanks included,
// make the text invalid.
std::optional<int> ParseIntegerText(QStringView text);

// ParseIntegerText, with the default for anything that is not a number.
int StrToIntDef(QStringView text, int def);
