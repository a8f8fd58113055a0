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

#include "help/HelpViewer.h"
#include "help/HelpWindow.h"

class HelpWindowHost;

class ChmHelpViewer : public HelpViewer {
public:
    // Smaller than this, a kept help window is shown at this size.
    static constexpr QSize SmallestSize{320, 240};

    explicit ChmHelpViewer(HelpWindowHost* host = nullptr) : host_(host) {}
    ~ChmHelpViewer() override;
    ChmHelpViewer(const ChmHelpViewer&) = delete;
    ChmHelpViewer& operator=(const ChmHelpViewer&) = delete;

    QWidget* ShowContext(const QString& helpFile, quint32 context) override;
    void CloseAll() override;
    void FollowContext(const QString& helpFile, quint32 context) override;

    // The open help window, or nullptr.
    HelpWindow* Window() const { return window_; }

private:
    void Place(HelpWindow& window);
    void KeepOverMainWindow(HelpWindow& window) const;
    void KeepPlace(const HelpWindow& window) const;

    HelpWindowHost* host_;
    QPointer<HelpWindow> window_;
    // Where windows have no places (Wayland): the kept place, written back unchanged.
    std::optional<QPoint> keptTopLeft_;
};
