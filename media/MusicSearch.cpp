#include "media/MusicSearch.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

QString PlayerMusicDirectory() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data.isEmpty() ? QString() : data + QStringLiteral("/tangrix/music/");
}

bool MusicSearch::FindFirst(const QStringList& directories) {
    paths_.clear();
    for (const QString& directory : directories) {
        if (directory.isEmpty())
            continue;
        const QDir dir(directory);
        // Regular files only: a device or pipe named *.mid would hang the reader.
        QStringList names = dir.entryList({QStringLiteral("*.mid")}, QDir::Files | QDir::Hidden, QDir::NoSort);
        names.erase(std::remove_if(names.begin(), names.end(),
                                   [](const QString& name) { return !name.endsWith(u".mid", Qt::CaseInsensitive); }),
                    names.end());
        std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
            const int folded = a.compare(b, Qt::CaseInsensitive);
            return folded != 0 ? folded < 0 : a < b;
        });
        for (const QString& name : names)
            paths_ << dir.filePath(name);
    }
    index_ = 0;
    return !paths_.isEmpty();
}

bool MusicSearch::FindNext() {
    while (index_ < paths_.size()) {
        ++index_;
        // A file removed since the search began is passed over, not reported.
        if (index_ < paths_.size() && QFileInfo::exists(paths_[index_]))
            return true;
    }
    return false;
}

QString MusicSearch::Name() const { return QFileInfo(Path()).fileName(); }

QString MusicSearch::Path() const { return index_ < paths_.size() ? paths_[index_] : QString(); }
