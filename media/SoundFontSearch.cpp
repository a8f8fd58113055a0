#include "media/SoundFontSearch.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The system's choice first (Debian's alternative, which any General MIDI
// font package may provide), then the fonts by name.
const QStringList UsualNames{QStringLiteral("default-GM.sf2"), QStringLiteral("FluidR3_GM.sf2"),
                             QStringLiteral("TimGM6mb.sf2"), QStringLiteral("default-GM.sf3")};

QString UsualFontIn(const QString& folder)
{
    for (const QString& name : UsualNames) {
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QString AnyFontIn(const QString& folder)
{
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
    for (const char* suffix : {"sf2", "sf3"})
        for (const QFileInfo& file : files)
            if (file.suffix().compare(QLatin1String(suffix), Qt::CaseInsensitive) == 0)
                return file.filePath();
    return {};
}

} // namespace

QString FindSoundFont(const QStringList& ownFolders, const QStringList& systemFolders)
{
    for (const QString& folder : ownFolders) {
        if (folder.isEmpty())
            continue;
        if (QString font = UsualFontIn(folder); !font.isEmpty())
            return font;
        if (QString font = AnyFontIn(folder); !font.isEmpty())
            return font;
    }
    for (const QString& folder : systemFolders)
        if (QString font = UsualFontIn(folder); !font.isEmpty())
            return font;
    return {};
}

QStringList SystemSoundFontFolders()
{
#ifdef Q_OS_WIN
    return {};
#else
    return {QStringLiteral("/usr/share/sounds/sf2"), QStringLiteral("/usr/share/sounds/sf3")};
#endif
}
