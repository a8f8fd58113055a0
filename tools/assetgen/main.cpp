// Makes every picture and sound of the game from the reviewable sources in
// assets/art (drawings) and from the generators here (textures, sounds), so
// that no binary picture or sound has to live in the repository.
//
//   tangrix-assetgen <art directory> <output directory>
#include "Faces.h"
#include "Sounds.h"
#include "SymbolSheets.h"
#include "Textures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

namespace {

QString SaveImage(const QImage& image, const QString& path)
{
    return image.save(path) ? QString() : QStringLiteral("cannot write %1").arg(path);
}

QString WriteAll(const QString& art, const QString& out)
{
    for (const char* folder : {"bmps", "dlgs", "opts", "btns", "waves", "symbols", "icon"})
        QDir().mkpath(out + u'/' + QLatin1String(folder));

    const QImage sheet = MakeTextureSheet();
    QString error = SaveImage(sheet, out + QStringLiteral("/bmps/0.bmp"));
    if (error.isEmpty())
        error = SaveImage(MakeGranite(true), out + QStringLiteral("/dlgs/0.bmp"));
    if (error.isEmpty())
        error = SaveImage(MakeGranite(false), out + QStringLiteral("/dlgs/1.bmp"));
    if (error.isEmpty())
        error = WriteCartoon(art, out + QStringLiteral("/dlgs/2.bmp"));
    if (error.isEmpty())
        error = WriteButtonFaces(art, out, sheet);
    if (error.isEmpty())
        error = WriteSymbolPictures(art + QStringLiteral("/symbols"), out + QStringLiteral("/symbols"));
    if (error.isEmpty())
        error = WriteProgramIcons(art + QStringLiteral("/symbols"), out + QStringLiteral("/icon"));
    if (!error.isEmpty())
        return error;

    const QList<QByteArray> sounds = MakeSoundEffects();
    for (int i = 0; i < sounds.size(); ++i) {
        QFile file(QStringLiteral("%1/waves/%2.wav").arg(out).arg(i));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(sounds[i]) != sounds[i].size())
            return QStringLiteral("cannot write %1").arg(file.fileName());
    }
    return {};
}

} // namespace

int main(int argc, char** argv)
{
    // No window is opened; the offscreen platform is enough for painting into images.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: tangrix-assetgen <art directory> <output directory>\n");
        return 2;
    }
    const QString error = WriteAll(args[1], args[2]);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "tangrix-assetgen: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
