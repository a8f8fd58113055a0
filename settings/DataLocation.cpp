#include "settings/DataLocation.h"

#include <QDir>
#include <QFileInfo>

QString DataDirFor(const QString& programDir)
{
    const QString installed = QDir::cleanPath(programDir + QStringLiteral("../share/tangrix"));
    if (QFileInfo(installed).isDir())
        return installed + QLatin1Char('/');
    return programDir;
}
