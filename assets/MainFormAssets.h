#pragma once
// What only the main window uses: the picture list `bmps` (texture sheet and
// the faces of the three left-hand tool-strip buttons), the symbol pictures
// `masks` and `pats`, and the sound list `waves`.
#include "assets/TBitmapList.h"
#include "assets/TSymbolPicture.h"
#include "assets/TWaveList.h"

// 10 items: 0 texture sheet (300 x 700, 7 rows x 3 grades of 100 x 100 tiles),
// 1-3 rocket, 4-6 trophy, 7-9 cup (up, mouse-over, grey disabled).
TBitmapList MainFormBitmaps();
// 5 items: sound effect n is item n - 1, each a complete RIFF WAVE image.
TWaveList MainFormWaves();
// Silhouettes black on white, and the same symbols in colour on black.
TSymbolPicture MaskPicture();
TSymbolPicture PatternPicture();
