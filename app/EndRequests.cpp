#include "app/EndRequests.h"

#include "app/GameApplication.h"

#include <QGuiApplication>
#include <QSessionManager>

#include <cstdlib>
#include <utility>

namespace {
// The one watcher, while it lives: exit() may come from deep inside a
// library at any moment of the event loop.
EndRequests* living = nullptr;
} // namespace

EndRequests::EndRequests(std::function<void()> endNow, std::function<void()> saveNow, QObject* parent)
    : QObject(parent)
    , endNow_(std::move(endNow))
    , saveNow_(std::move(saveNow))
{
    WatchEndSignals(this, [this] { Requested(); });
    static const bool atExit = std::atexit(&EndRequests::SaveAtExit) == 0;
    Q_UNUSED(atExit);
    living = this;
    // The session manager may still cancel the logout, so the game saves and
    // goes on; it is ended afterwards (on X11 with a signal).
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { saveNow_(); },
            Qt::DirectConnection);
    // The session manager's order to end comes as a Quit to the application,
    // which then closes every window: the main window must not ask first.
    if (auto* app = dynamic_cast<GameApplication*>(qGuiApp))
        app->OnQuitRequest([this] { Requested(); });
}

EndRequests::~EndRequests()
{
    if (auto* app = dynamic_cast<GameApplication*>(qGuiApp))
        app->OnQuitRequest({});
    living = nullptr;
    StopWatchingEndSignals();
}

void EndRequests::SaveAtExit()
{
    // Only for an exit while the game runs: an ended close has saved already.
    if (living && !living->ending_)
        living->saveNow_();
}

void EndRequests::Requested()
{
    // A second signal while the close is under way changes nothing.
    if (std::exchange(ending_, true))
        return;
    endNow_();
}
