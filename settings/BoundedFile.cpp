#include "settings/BoundedFile.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef Q_OS_UNIX
FileKind KindOf(const QString& path)
{
    struct stat st{};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return FileKind::Missing;
    return S_ISREG(st.st_mode) ? FileKind::Regular : FileKind::Other;
}

BoundedRead ReadRegularFile(const QString& path, qint64 maxBytes)
{
    BoundedRead result;
    // Non-blocking, so that opening a FIFO returns at once instead of waiting
    // for a writer; the type is then checked on what was really opened.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        result.refusal = errno == ENOENT ? ReadRefusal::Missing : ReadRefusal::Unreadable;
        return result;
    }
    struct stat st{};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        result.refusal = ReadRefusal::NotRegular;
        return result;
    }
    // A plain file already past the limit is refused without reading it; the
    // limit is still checked while reading, for a file that grows meanwhile.
    if (st.st_size > maxBytes) {
        ::close(fd);
        result.refusal = ReadRefusal::TooLarge;
        return result;
    }
    QByteArray data;
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            result.refusal = ReadRefusal::Unreadable;
            return result;
        }
        if (n == 0)
            break;
        if (data.size() + n > maxBytes) {
            ::close(fd);
            result.refusal = ReadRefusal::TooLarge;
            return result;
        }
        data.append(chunk, qsizetype(n));
    }
    ::close(fd);
    result.data = std::move(data);
    return result;
}
#else
FileKind KindOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return FileKind::Missing;
    return info.isFile() ? FileKind::Regular : FileKind::Other;
}

BoundedRead ReadRegularFile(const QString& path, qint64 maxBytes)
{
    BoundedRead result;
    switch (KindOf(path)) {
    case FileKind::Missing:
        result.refusal = ReadRefusal::Missing;
        return result;
    case FileKind::Other:
        result.refusal = ReadRefusal::NotRegular;
        return result;
    case FileKind::Regular:
        break;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.refusal = ReadRefusal::Unreadable;
        return result;
    }
    QByteArray data = file.read(maxBytes + 1);
    if (data.size() > maxBytes) {
        result.refusal = ReadRefusal::TooLarge;
        return result;
    }
    result.data = std::move(data);
    return result;
}
#endif
