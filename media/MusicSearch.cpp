#include "media/MusicSearch.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

bool TMusicSearch::FindFirst(const QString& directory) {
    directory_ = directory;
    // Regular files only: a device or pipe named *.mid would hang the reader.
    names_ = QDir(directory).entryList({QStringLiteral("*.mid")}, QDir::Files | QDir::Hidden, QDir::NoSort);
    names_.erase(std::remove_if(names_.begin(), names_.end(),
                                [](const QString& name) { return !name.endsWith(u".mid", Qt::CaseInsensitive); }),
                 names_.end());
    std::sort(names_.begin(), names_.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    index_ = 0;
    return !names_.isEmpty();
}

bool TMusicSearch::FindNext() {
    while (index_ < names_.size()) {
        ++index_;
        // A file removed since the search began is passed over, not reported.
        if (index_ < names_.size() && QFileInfo::exists(QDir(directory_).filePath(names_[index_])))
            return true;
    }
    return false;
}

QString TMusicSearch::Name() const { return index_ < names_.size() ? names_[index_] : QString(); }
