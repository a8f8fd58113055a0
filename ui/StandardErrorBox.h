#pragma once
// The standard error box: a modal message, the program's way of telling the
// player that something outside the game went wrong. The program hands it to
// the parts below the windows as their error reporter.
//
// The box is the child of the window the player is dealing with, so that the
// window system keeps it over that window: the open modal dialog (an error of
// the options is shown over the options), else the active window, else the
// main window when it is on the screen. Before the main window is shown there
// is no window to be over, and the box stands alone.
#include <QString>

class QWidget;

void ShowStandardError(const QString& message);

// The window whose child the box is when nothing else claims it.
void SetStandardErrorMainWindow(QWidget* mainWindow);
// The window a box shown now would belong to; nullptr for none.
QWidget* StandardErrorOwner();
