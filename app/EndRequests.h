#pragma once
// The system's polite requests to end the program, turned into one call on
// the event loop: SIGTERM, SIGHUP (the terminal or the session is going) and
// SIGINT where the system has them, and the end of the desktop session
// (commitDataRequest, then the session manager's order to end, which
// reaches the application as a Quit event) everywhere. A kill cannot be
// caught; these can, and the game ends on them as a confirmed close does,
// keeping the session's settings. A program ended from inside the window system's library (it
// calls exit() when the connection to the X server is lost) saves them on
// its way out.
#include <QObject>

#include <functional>

class QSessionManager;

class EndRequests : public QObject {
    Q_OBJECT
public:
    // endNow: end the program as a close does, asking nothing. saveNow: the
    // session is about to end; the program may be ended without another word.
    EndRequests(std::function<void()> endNow, std::function<void()> saveNow, QObject* parent = nullptr);
    ~EndRequests() override;

private:
    void Requested();
    static void SaveAtExit();

    std::function<void()> endNow_;
    std::function<void()> saveNow_;
    bool ending_ = false;
};

// Platform part: calls `requested` on the event loop after each end signal.
// Nothing where the system has no such signals.
void WatchEndSignals(QObject* owner, std::function<void()> requested);
void StopWatchingEndSignals();
