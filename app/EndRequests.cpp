#include "app/EndRequests.h"

#include <QGuiApplication>
#include <QSessionManager>

#include <utility>

TEndRequests::TEndRequests(std::function<void()> endNow, std::function<void()> saveNow, QObject* parent)
    : QObject(parent)
    , endNow_(std::move(endNow))
    , saveNow_(std::move(saveNow))
{
    WatchEndSignals(this, [this] { Requested(); });
    // The session manager may still cancel the logout, so the game saves and
    // goes on; it is ended afterwards (on X11 with a signal).
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { saveNow_(); },
            Qt::DirectConnection);
}

TEndRequests::~TEndRequests()
{
    StopWatchingEndSignals();
}

void TEndRequests::Requested()
{
    // A second signal while the close is under way changes nothing.
    if (std::exchange(ending_, true))
        return;
    endNow_();
}
