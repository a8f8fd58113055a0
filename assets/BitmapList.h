#pragma once
// An ordered, 0-based list of pictures, filled once when its owner is made.
//
// Depths as read back: the items called "24-bit" are Format_RGB32 (opaque,
// 8 bits per channel); the palette items are Format_Indexed8 with a
// 256-entry colour table.
#include <QImage>
#include <QList>
#include <QString>

class BitmapList {
public:
    BitmapList() = default;
    explicit BitmapList(QList<QImage> items) : items_(std::move(items)) {}

    // Loads "<folder>/0.bmp" (or "0.png"), "<folder>/1.bmp", ... until one is missing.
    // Bitmaps are stored as BMP so that palette pictures keep their palette.
    static BitmapList FromResourceFolder(const QString& folder);

    int Count() const { return int(items_.size()); }
    // The picture with its width and height; every index the program uses is in range.
    const QImage& Item(int index) const { return items_.at(index); }

private:
    QList<QImage> items_;
};
