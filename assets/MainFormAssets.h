#pragma once
// What only the main window uses: the picture list `bmps` (texture sheet and
// the faces of the three left-hand tool-strip buttons), the symbol pictures
// `masks` and `pats`, and the sound list `waves`.
#include "assets/BitmapList.h"
#include "assets/SymbolPicture.h"
#include "assets/TWaveList.h"

// The pictures of `bmps`, by role: the buttons' faces up, mouse-over and
// grey disabled.
enum MainFormPicture : int {
    TextureSheet = 0, // 300 x 700: a row per background, 3 grades of 100 x 100 tiles
    RocketUp = 1,
    RocketOver = 2,
    RocketDisabled = 3,
    TrophyUp = 4,
    TrophyOver = 5,
    TrophyDisabled = 6,
    CupUp = 7,
    CupOver = 8,
    CupDisabled = 9,
};
// The grades of a background, one a column of the texture sheet.
enum TextureGrade : int { WindowGrade = 0, ToolStripGrade = 1, BoardGrade = 2 };
inline constexpr int TextureGradeCount = 3;

BitmapList MainFormBitmaps();
// 5 items: sound effect n is item n - 1, each a complete RIFF WAVE image.
TWaveList MainFormWaves();
// Silhouettes black on white, and the same symbols in colour on black.
SymbolPicture MaskPicture();
SymbolPicture PatternPicture();
