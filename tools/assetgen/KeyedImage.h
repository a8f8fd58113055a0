#pragma once
// Pictures that the program draws with one colour left out ("transparent
// colour") must have exactly that colour outside the drawing and never inside.
#include <QColor>
#include <QImage>

// Turns an anti-aliased drawing with alpha into an opaque Format_RGB32 picture:
// pixels less than half covered become exactly the key colour; the others are
// laid over the underlay colour (so edges blend into a dark outline, not into
// the key). No pixel of the drawing itself is left equal to the key.
QImage FlattenOnKey(const QImage& drawing, QColor key, QColor underlay);

// The 256-grey version of an opaque picture, in Format_Indexed8, for disabled
// buttons: faded towards light grey; the key colour (white) stays exactly white.
QImage GreyDisabled(const QImage& picture, QColor key);
