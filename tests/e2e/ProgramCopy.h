#pragma once
// The built game as a player finds it installed: the program with its help
// file and its music beside it, copied into a directory of the test's own.
#include <QString>

// Empty on success, otherwise what went wrong.
QString CopyProgram(const QString& intoDirectory);
