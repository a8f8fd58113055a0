#include "assets/ProgramIcon.h"

#include <QFile>
#include <QPixmap>

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QString path = QStringLiteral(":/assets/icon/icon-%1.bmp").arg(size);
        if (!QFile::exists(path))
            path = QStringLiteral(":/assets/icon/icon-%1.png").arg(size);
        icon.addPixmap(QPixmap(path));
    }
    return icon;
}
