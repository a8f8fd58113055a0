#pragma once
// A compiled help file opened for reading: its objects by name and its table
// of context numbers. Damage is reported, never trusted: the headers are
// checked before the CHM library sees the file, and every object's size is
// checked before it is read.
#include <QByteArray>
#include <QString>
#include <QTemporaryFile>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "help/ChmContextTable.h"

struct chmFile;

enum class ChmStatus { Ok, Missing, Damaged, NoSuchContext };

class ChmArchive {
public:
    // Larger files or objects than this are not help files of this game.
    static constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;
    static constexpr qint64 kMaxObjectBytes = 16 * 1024 * 1024;

    ChmArchive() = default;
    ~ChmArchive();
    ChmArchive(const ChmArchive&) = delete;
    ChmArchive& operator=(const ChmArchive&) = delete;

    // Missing when there is no such file, Damaged when it cannot be read as a
    // help file (the context table included). Closes a file opened before.
    ChmStatus Open(const QString& path);
    void Close();
    bool IsOpen() const { return handle_ != nullptr; }

    // The object's bytes, or nothing if the file lacks it or it cannot be read
    // whole. Names start with "/" ("/de.html").
    std::optional<QByteArray> ReadObject(const QString& name) const;

    // The object holding the topic with this context number: NoSuchContext if
    // the file does not list the number or lacks its topic.
    ChmStatus TopicForContext(quint32 context, QString& topic) const;

    const std::vector<std::string>& ObjectNames() const { return objectNames_; }

private:
    chmFile* handle_ = nullptr;
    std::unique_ptr<QTemporaryFile> checkedCopy_;
    quint64 fileSize_ = 0;
    std::vector<std::string> objectNames_;
    std::vector<ChmContextEntry> contexts_;
};
