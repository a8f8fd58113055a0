#include "ui/toolkit/DialogPlacement.h"

#include <QWidget>

QPoint PlaceOverMainWindow(const QWidget& mainWindow, QSize dialogSize)
{
    const QRect outer = mainWindow.frameGeometry();
    const int clientHeight = mainWindow.height();
    // C++ division truncates toward zero, as the layout's halvings require
    // when the main window is smaller than the dialog.
    const int left = outer.left() + (outer.width() - dialogSize.width()) / 2;
    const int top = outer.top() + outer.height() - (clientHeight + dialogSize.height()) / 2;
    return {left, top};
}
