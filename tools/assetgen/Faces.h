#pragma once
// The 50 x 50 button faces, the cartoon and the other pictures of the lists,
// rendered from the drawings in assets/art as the manifest faces.txt lists them.
#include <QImage>
#include <QString>

// Reads <artDir>/faces/faces.txt and writes <outDir>/<list>/<index>.bmp for
// every face it names; the texture sheet supplies the texture-filled faces.
// Returns an error text, empty on success.
QString WriteButtonFaces(const QString& artDir, const QString& outDir, const QImage& textureSheet);

// Renders <artDir>/cartoon.svg to 100 x 75 with pure fuchsia around it.
QString WriteCartoon(const QString& artDir, const QString& outPath);
