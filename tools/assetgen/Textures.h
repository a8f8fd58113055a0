#pragma once
// The seamless textures: the texture sheet (7 backgrounds in 3 grades) and
// the two grades of granite for the dialog panels.
#include <QImage>

// 300 x 700, Format_RGB32: row r is background r, columns normal, darker, lighter.
QImage MakeTextureSheet();
// 160 x 120, Format_RGB32; light for the outer panels, dark for the inner ones.
QImage MakeGranite(bool light);
