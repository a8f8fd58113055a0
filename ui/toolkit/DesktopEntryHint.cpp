#include "ui/toolkit/DesktopEntryHint.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

#if defined(TANGRIX_HAVE_XCB)
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>
#endif

namespace {
constexpr const char* Hints[] = {"_GTK_APPLICATION_ID", "_KDE_NET_WM_DESKTOP_FILE"};

#if defined(TANGRIX_HAVE_XCB)
xcb_connection_t* X11Connection()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, uint16_t(strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}
#endif

void SetHints(WId window)
{
#if defined(TANGRIX_HAVE_XCB)
    xcb_connection_t* connection = X11Connection();
    const QByteArray id = QGuiApplication::desktopFileName().toUtf8();
    if (!connection || id.isEmpty())
        return;
    const xcb_atom_t utf8 = Atom(connection, "UTF8_STRING");
    for (const char* hint : Hints)
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window), Atom(connection, hint), utf8, 8,
                            uint32_t(id.size()), id.constData());
    xcb_flush(connection);
#else
    Q_UNUSED(window);
#endif
}
} // namespace

void DesktopEntryHint::Install(QWidget& window)
{
    auto* hint = new DesktopEntryHint(&window);
    window.installEventFilter(hint);
    if (window.internalWinId())
        SetHints(window.internalWinId());
}

bool DesktopEntryHint::eventFilter(QObject* watched, QEvent* event)
{
    // Sent when the native window is made, before it is mapped: the desktop
    // finds the hints there when it first looks at the window.
    if (event->type() == QEvent::WinIdChange) {
        if (const WId id = static_cast<QWidget*>(watched)->internalWinId())
            SetHints(id);
    }
    return false;
}

