#pragma once
// The help viewer where the platform has none: one help window of the game's
// own, opened on demand and closed by close-all. It opens centred over the
// main window the first time and where the player left it afterwards, in
// this run and the next (the place is kept through the help window host it
// is given; without one it opens where the window system puts it).
// The window system keeps it over the main window.
#include <QPoint>
#include <QPointer>
#include <optional>

#include "help/THelpViewer.h"
#include "help/THelpWindow.h"

class THelpWindowHost;

class TChmHelpViewer : public THelpViewer {
public:
    // Smaller than this, a kept help window is shown at this size.
    static constexpr QSize SmallestSize{320, 240};

    explicit TChmHelpViewer(THelpWindowHost* host = nullptr) : FHost(host) {}
    ~TChmHelpViewer() override;
    TChmHelpViewer(const TChmHelpViewer&) = delete;
    TChmHelpViewer& operator=(const TChmHelpViewer&) = delete;

    QWidget* ShowContext(const QString& helpFile, quint32 context) override;
    void CloseAll() override;
    void FollowContext(const QString& helpFile, quint32 context) override;

    // The open help window, or nullptr.
    THelpWindow* Window() const { return FWindow; }

private:
    void Place(THelpWindow& window);
    void KeepOverMainWindow(THelpWindow& window) const;
    void KeepPlace(const THelpWindow& window) const;

    THelpWindowHost* FHost;
    QPointer<THelpWindow> FWindow;
    // Where windows have no places (Wayland): the kept place, written back unchanged.
    std::optional<QPoint> FKeptTopLeft;
};
