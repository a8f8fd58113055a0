#pragma once
// Puts the 27 symbol drawings (each its own 100 x 100 SVG file) into the two
// symbol pictures: silhouettes black on white, and colour on black.
#include <QString>

// Reads <symbolDir>/01.svg .. 27.svg and writes <outDir>/masks.svg and
// <outDir>/pats.svg. Returns an error text, empty on success.
QString WriteSymbolPictures(const QString& symbolDir, const QString& outDir);

// Writes <outDir>/icon.svg (symbol 1 in colour) and the icon bitmaps
// icon-16.png ... icon-256.png, and icon-32.bmp in 256 colours.
QString WriteProgramIcons(const QString& symbolDir, const QString& outDir);
