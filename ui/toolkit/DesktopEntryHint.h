#pragma once
// Tells an X11 desktop which desktop entry a window belongs to, so that a
// dock or a task switcher shows the running game under its launcher. Under
// Wayland the application's desktop file name already is every window's app
// id; X11 has no standard for it, so the window carries the two hints the
// desktops read: GNOME's _GTK_APPLICATION_ID and KDE's
// _KDE_NET_WM_DESKTOP_FILE, both the desktop file name without ".desktop".
#include <QObject>

class QWidget;

class DesktopEntryHint final : public QObject {
public:
    // Watches window (a top-level widget) and gives its native window the
    // hints as soon as it exists, before it is shown. Owned by window.
    static void Install(QWidget& window);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};

