#pragma once
// What the window system lets a program do with the places of its windows.
//
// Under X11 (and on Windows) a program puts its windows where it wants and
// reads back where they are. Under Wayland the compositor places every window
// and tells no client where: a window can only say which window it belongs
// over (its transient parent), and its size is all that it sets.

// False under Wayland: positions are neither set nor known there.
bool ProgramPlacesWindows();
