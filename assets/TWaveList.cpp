#include "assets/TWaveList.h"

#include <QFile>

TWaveList TWaveList::FromResourceFolder(const QString& folder)
{
    QList<QByteArray> items;
    for (int index = 0;; ++index) {
        QFile file(QStringLiteral("%1/%2.wav").arg(folder).arg(index));
        if (!file.open(QIODevice::ReadOnly))
            break;
        items.append(file.readAll());
    }
    return TWaveList(std::move(items));
}
