#pragma once
// What the help window needs from the program around it: the main window it
// opens over the first time, and the store that keeps where the player left
// it. It outlives the main window, because the help windows are closed (and
// their place kept) after the main window has gone.
#include <QPointer>
#include <QWidget>

#include "help/HelpWindowHost.h"
#include "settings/TIniCtrl.h"

class HelpPlacementHost final : public HelpWindowHost {
public:
    // The main window, once it exists; it may go before this host does.
    void SetMainWindow(QWidget* window) { mainWindow_ = window; }

    QWidget* MainWindow() override { return mainWindow_; }
    QString HelpPlacement() override;
    void SetHelpPlacement(const QString& value) override;

private:
    TIniCtrl ini_;
    QPointer<QWidget> mainWindow_;
};
