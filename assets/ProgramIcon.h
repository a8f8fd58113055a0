#pragma once
// The program's icon: symbol 1, the square in four coloured quarters.
#include <QIcon>

// All sizes from 16 to 256 pixels; the 32 x 32 one has a 256-colour palette.
// Needs a QGuiApplication.
QIcon ProgramIcon();
