#pragma once
// Where a dialog goes when it opens over the main window: centred across the
// main window, and centred up and down on the part of it below the caption.
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

class QWidget;

// Left = main left + (main width - dialog width) / 2;
// Top  = main top + main height - (main client height + dialog height) / 2,
// with the main window's outer frame and integer halvings toward zero.
QPoint PlaceOverMainWindow(const QRect& mainOuter, int mainClientHeight, QSize dialogSize);
QPoint PlaceOverMainWindow(const QWidget& mainWindow, QSize dialogSize);

// The dialog's outer size as it will show: a window not yet given a size
// takes the one its layout asks for first.
QSize FinalFrameSize(QWidget& dialog);

// Places the dialog where where() says, now, and again from its size at each
// step until it is on the screen (see KeepPlacementKnown). A dialog whose
// place follows its own rule gives it here. Nothing under Wayland.
void KeepPlaced(QWidget& dialog, std::function<QPoint()> where);

// Where a dialog opens.
enum class DialogSpot {
    // Over the main window as above (the message, information and options dialogs).
    OverMainWindow,
    // Centred on the main window's outer rectangle, two pixels higher (the high-score table).
    OverMainWindowRaised,
    // Centred on the primary screen's available area (the language dialog).
    Screen,
};

// Puts a dialog at its spot, and keeps it there from its size at each step
// until it is on the screen (KeepPlaced). Without a main window a dialog is centred on the
// screen; while the main window is hidden it stays where it is. Under
// Wayland, where the compositor places every window, it does nothing: a
// dialog stays over the window that is its parent, and that is all a program
// can ask for there.
void CentreDialog(QWidget& dialog, const QWidget* mainWindow, DialogSpot spot);

// A window manager that frames a dialog as it appears can leave the window
// system's record of its place at 0,0 while the dialog shows where it was
// put; everything that asks the window system, screen readers too, would
// then find the dialog and all its parts in the wrong place. Called when the
// dialog is shown (after it has been placed), this places the dialog again,
// from the size it has by then, if its size changes before it shows, and
// tells the window system the place again when the dialog has come onto
// the screen and the record differs from it.
void KeepPlacementKnown(QWidget& dialog);
