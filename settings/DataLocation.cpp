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

std::optional<QString> ProgramDirFrom(const QString& applicationDirPath)
{
    if (!QDir::isAbsolutePath(applicationDirPath) || !QFileInfo(applicationDirPath).isDir())
        return std::nullopt;
    return applicationDirPath.endsWith(u'/') ? applicationDirPath : applicationDirPath + u'/';
}
