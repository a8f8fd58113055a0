#include "assets/BitmapList.h"

#include <QFile>

BitmapList BitmapList::FromResourceFolder(const QString& folder)
{
    QList<QImage> items;
    for (int index = 0;; ++index) {
        QString path = QStringLiteral("%1/%2.bmp").arg(folder).arg(index);
        if (!QFile::exists(path))
            path = QStringLiteral("%1/%2.png").arg(folder).arg(index);
        if (!QFile::exists(path))
            break;
        QImage image(path);
        if (image.isNull())
            break;
        items.append(image);
    }
    return BitmapList(std::move(items));
}
