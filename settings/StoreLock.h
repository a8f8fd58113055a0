#pragma once
// The game's own lock on its settings store, taken around every write (and
// around the read before an update), and the way cleared for the store
// library's lock beneath it.
//
// Both are lock files. The library's lock is waited for until it is 30 s old
// when whoever wrote it cannot be seen to be gone: an empty one (left by a
// kill between creating and filling it) or one naming a process of another
// PID namespace (a sandboxed copy of the game) held every save up for half a
// minute. Every copy of the game writes only while it holds the game's own
// lock, so while this process holds it any library lock on disk is a
// leftover and is removed. The game's own lock is given up as stale at the
// same bound the wait has. Nothing here waits longer than the time given,
// both locks together.
#include <QDeadlineTimer>
#include <QLockFile>
#include <QString>

class StoreLock
{
public:
    // gameLockPath: the game's own lock; libraryLockPath: the store library's
    // lock beside the store (empty where it keeps none).
    StoreLock(const QString& gameLockPath, QString libraryLockPath, int waitMs);

    bool Held() const { return gameLock_.isLocked(); }

    // Makes sure the library's lock will not hold up the write that follows:
    // removes a leftover at once while the game's lock is held, and otherwise
    // (a copy that has kept the game's lock too long, or no lock could be
    // taken) waits for it to go only until the time is up.
    void ClearLibraryLock();

private:
    QLockFile gameLock_;
    QString libraryLockPath_;
    QDeadlineTimer deadline_;
};
