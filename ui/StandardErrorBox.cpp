#include "ui/StandardErrorBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace {
QPointer<QWidget>& MainWindow()
{
    static QPointer<QWidget> window;
    return window;
}
} // namespace

void SetStandardErrorMainWindow(QWidget* mainWindow)
{
    MainWindow() = mainWindow;
}

QWidget* StandardErrorOwner()
{
    // A window system may not have activated any window yet (a compositor
    // decides that on its own), so the active window alone is not enough.
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    QWidget* main = MainWindow();
    return main && main->isVisible() ? main : nullptr;
}

void ShowStandardError(const QString& message)
{
    QMessageBox::critical(StandardErrorOwner(), QApplication::applicationDisplayName(), message);
}
