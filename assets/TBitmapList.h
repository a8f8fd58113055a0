#pragma once
// An ordered, 0-based list of pictures, filled once when its owner is made.
#include <QImage>
#include <QList>
#include <QString>

class TBitmapList {
public:
    TBitmapList() = default;
    explicit TBitmapList(QList<QImage> items) : items_(std::move(items)) {}

    // Loads "<folder>/0.png", "<folder>/1.png", ... until one is missing.
    static TBitmapList FromResourceFolder(const QString& folder);

    int Count() const { return int(items_.size()); }
    // The picture with its width and height; every index the program uses is in range.
    const QImage& Item(int index) const { return items_.at(index); }

private:
    QList<QImage> items_;
};
