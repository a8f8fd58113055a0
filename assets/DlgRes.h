#pragma once
// The data module with the picture lists that the dialogs and the main
// window's right-hand buttons share. It has no behaviour of its own.
#include "assets/TBitmapList.h"

class TDlgResources {
public:
    // Fills the three lists from the pictures compiled into the program.
    TDlgResources();

    // 0, 1 light and dark granite (160 x 120); 2 the cartoon (100 x 75, fuchsia
    // around); 3, 4 tick; 5, 6 cross; 7, 8 German flags (blue corners);
    // 9, 10 English flags (green corners).
    TBitmapList dlgs;
    // 0, 1 lips; 2, 3, 4 clef (4 grey, 256 colours); 5, 6 loudspeaker; 7, 8 texture.
    TBitmapList opts;
    // 0, 1 door; 2, 3 "i"; 4, 5 question mark; 6, 7 tools.
    TBitmapList btns;
};

// Created by the program entry right after the main window; lives until the end.
extern TDlgResources* DlgResources;
