#pragma once
// The store's reader decodes a value written as "@Variant(...)" or
// "@DateTime(...)" as serialised binary data, trusting every length in it: a
// single hand-made line can ask for gigabytes or nest lists until the stack
// runs out, before any of the game's code sees the value. The game only ever
// stores text (its writer turns a leading "@" into "@@"), so a store holding
// such a value is not one the game wrote and must not be handed to the reader.
#include <QByteArray>
#include <QByteArrayView>

// Whether any value in this ini text, after the reader's own unescaping
// (quotes, backslash escapes, continued lines, comma-separated lists), would
// be decoded as binary data.
bool HoldsBinaryValue(QByteArrayView iniText);

// The ini text with every line that holds such a value left out (a continued
// line as a whole), the rest byte for byte as it was: what the reader may be
// given of a store that a hand edit has partly spoilt.
QByteArray WithoutBinaryValues(QByteArrayView iniText);
