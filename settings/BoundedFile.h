#pragma once
// Files the game finds beside itself or in the player's folders are read only
// when they are plain files, and never more of them than their kind can need.
// A FIFO, a device or a directory in their place is refused without opening it
// in a way that could block, and a file that grows past the limit while it is
// read is refused too (the reported size of devices and growing files lies).
#include <QByteArray>
#include <QString>
#include <optional>

enum class FileKind {
    Missing, // nothing there, or a link to nothing
    Regular, // a plain file, possibly behind links
    Other,   // a directory, FIFO, socket or device, possibly behind links
};

// What the path names once links are followed. Never opens it.
FileKind KindOf(const QString& path);

enum class ReadRefusal {
    Missing,
    NotRegular, // a directory, FIFO, socket or device
    TooLarge,   // more than the limit
    Unreadable, // no permission or a read error
};

struct BoundedRead {
    std::optional<QByteArray> data; // set when the whole file was read
    ReadRefusal refusal = ReadRefusal::Unreadable;
};

// The whole of a regular file of at most maxBytes bytes.
BoundedRead ReadRegularFile(const QString& path, qint64 maxBytes);
