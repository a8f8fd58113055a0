#pragma once
// A device that reads as endless zeros, for tests that put one where the game
// expects a file. As root the test makes its own node in `folder`: should the
// game ever write through a link to it, the store's writer would replace that
// node, not the system's /dev/zero (which it would, being allowed to). Others
// cannot write into /dev, so the system's device is safe to use for them.
#include <QFile>
#include <QString>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

inline QString ZeroDevice(const QString& folder)
{
    if (::geteuid() != 0)
        return QStringLiteral("/dev/zero");
    const QString node = folder + QStringLiteral("/zero-device");
    QFile::remove(node);
    if (::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0666, makedev(1, 5)) != 0)
        qFatal("cannot make a zero device in %s", qPrintable(folder));
    return node;
}
