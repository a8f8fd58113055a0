#include "ui/toolkit/DialogPlacement.h"

#include "ui/toolkit/WindowSystem.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

QPoint PlaceOverMainWindow(const QRect& mainOuter, int mainClientHeight, QSize dialogSize)
{
    // C++ division truncates toward zero, as the halvings require when the
    // main window is smaller than the dialog.
    const int left = mainOuter.left() + (mainOuter.width() - dialogSize.width()) / 2;
    const int top = mainOuter.top() + mainOuter.height() - (mainClientHeight + dialogSize.height()) / 2;
    return {left, top};
}

QPoint PlaceOverMainWindow(const QWidget& mainWindow, QSize dialogSize)
{
    return PlaceOverMainWindow(mainWindow.frameGeometry(), mainWindow.height(), dialogSize);
}

void PlaceDialog(QWidget& dialog, QWidget* mainWindow)
{
    if (mainWindow) {
        if (ProgramPlacesWindows())
            dialog.move(PlaceOverMainWindow(*mainWindow, dialog.frameGeometry().size()));
    } else {
        CentreOnScreen(dialog);
    }
}

void CentreOnScreen(QWidget& window)
{
    if (!ProgramPlacesWindows())
        return;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}
