// Windows ends a desktop program through its session (commitDataRequest),
// which the caller watches on every system; there are no end signals to turn
// into calls here.
#include "app/EndRequests.h"

void WatchEndSignals(QObject*, std::function<void()>) {}

void StopWatchingEndSignals() {}
