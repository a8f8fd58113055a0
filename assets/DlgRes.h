#pragma once
// The data module with the picture lists that the dialogs and the main
// window's right-hand buttons share. It has no behaviour of its own.
#include "assets/BitmapList.h"

// The pictures of `dlgs`, by role.
enum DialogPicture : int {
    LightGranite = 0, // 160 x 120, the outer panels
    DarkGranite = 1,  // 160 x 120, the inner panels
    Cartoon = 2,      // 100 x 75, fuchsia around: the dialogs' logo
    TickUp = 3,
    TickOver = 4,
    CrossUp = 5,
    CrossOver = 6,
    GermanFlagUp = 7, // blue corners
    GermanFlagOver = 8,
    EnglishFlagUp = 9, // green corners
    EnglishFlagOver = 10,
};

// The pictures of `opts`, by role.
enum OptionPicture : int {
    LipsUp = 0,
    LipsOver = 1,
    ClefUp = 2,
    ClefOver = 3,
    ClefDisabled = 4, // grey, 256 colours
    LoudspeakerUp = 5,
    LoudspeakerOver = 6,
    TextureUp = 7,
    TextureOver = 8,
};

// The pictures of `btns`, by role: the main window's right-hand buttons.
enum ToolButtonPicture : int {
    DoorUp = 0,
    DoorOver = 1,
    InfoUp = 2,
    InfoOver = 3,
    QuestionMarkUp = 4,
    QuestionMarkOver = 5,
    ToolsUp = 6,
    ToolsOver = 7,
};

class TDlgResources {
public:
    // Fills the three lists from the pictures compiled into the program.
    TDlgResources();

    BitmapList dlgs; // DialogPicture
    BitmapList opts; // OptionPicture
    BitmapList btns; // ToolButtonPicture
};

// Created by the program entry right after the main window; lives until the end.
extern TDlgResources* DlgResources;
