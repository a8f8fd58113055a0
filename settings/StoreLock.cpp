#include "settings/StoreLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <utility>

namespace {

// A lock holds a process number, a host and a program name; something else
// in its place (a link, a folder, a huge file) is never taken or removed.
constexpr qint64 MaxLockBytes = 64 * 1024;

bool PlainLockFile(const QString& path)
{
    const QFileInfo lock(path);
    return !lock.isSymLink() && lock.isFile() && lock.size() <= MaxLockBytes;
}

bool Present(const QString& path)
{
    const QFileInfo lock(path);
    return lock.exists() || lock.isSymLink();
}

} // namespace

StoreLock::StoreLock(const QString& gameLockPath, QString libraryLockPath, int waitMs)
    : gameLock_(gameLockPath)
    , libraryLockPath_(std::move(libraryLockPath))
    , deadline_(waitMs)
{
    if (Present(gameLockPath) && !PlainLockFile(gameLockPath))
        return;
    QDir().mkpath(QFileInfo(gameLockPath).path());
    // The game holds its lock for milliseconds; one older than the whole wait
    // was left behind, whoever it names.
    gameLock_.setStaleLockTime(waitMs);
    gameLock_.tryLock(waitMs);
}

void StoreLock::ClearLibraryLock()
{
    if (libraryLockPath_.isEmpty())
        return;
    if (!Held()) {
        while (Present(libraryLockPath_) && !deadline_.hasExpired())
            QThread::msleep(20);
    }
    if (PlainLockFile(libraryLockPath_))
        QFile::remove(libraryLockPath_);
}
