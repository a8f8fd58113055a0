#include "tests/e2e/ProgramCopy.h"

#include <QDir>
#include <QFile>

QString CopyProgram(const QString& intoDirectory)
{
    // The program looks for its help file and its music beside itself.
    const QDir built(QStringLiteral(TANGRIX_PROGRAM_DIR));
    const QDir into(intoDirectory);
    QStringList files{QStringLiteral("tangrix"), QStringLiteral("tngx.chm")};
    files += built.entryList({QStringLiteral("*.mid")}, QDir::Files, QDir::Name);
    for (const QString& name : files) {
        if (!QFile::copy(built.filePath(name), into.filePath(name)))
            return QStringLiteral("cannot copy %1 from %2").arg(name, built.path());
    }
    QFile::setPermissions(into.filePath(QStringLiteral("tangrix")),
                          QFile::permissions(built.filePath(QStringLiteral("tangrix"))));
    return {};
}
