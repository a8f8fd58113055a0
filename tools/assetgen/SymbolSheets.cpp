#include "SymbolSheets.h"

#include "SvgRewrite.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

namespace {

constexpr double kFrameWidth = 5066;
constexpr double kFrameHeight = 1681;
constexpr double kSymbolUnits = 100;  // every symbol file is drawn in a 100 x 100 box

QString SymbolPath(const QString& symbolDir, int n)
{
    return QStringLiteral("%1/%2.svg").arg(symbolDir).arg(n, 2, 10, QLatin1Char('0'));
}

QString WriteText(const QString& path, const QString& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QStringLiteral("cannot write %1").arg(path);
    file.write(text.toUtf8());
    return {};
}

QString BuildPicture(const QString& symbolDir, PaintMode mode, QString* xml)
{
    const bool silhouette = mode == PaintMode::Silhouette;
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<!-- Generated from assets/art/symbols; edit those files. -->\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"5066\" height=\"1681\" viewBox=\"0 0 5066 1681\">\n");
    out += QStringLiteral("<rect width=\"5066\" height=\"1681\" fill=\"%1\"/>\n").arg(silhouette ? u"#fff" : u"#000");
    const double cellWidth = kFrameWidth / 9, cellHeight = kFrameHeight / 3;
    for (int n = 1; n <= 27; ++n) {
        QString error;
        const QByteArray source = ReadFileOrError(SymbolPath(symbolDir, n), &error);
        if (!error.isEmpty())
            return error;
        // Parts of class "inside" (outlines and highlights within the shape) add
        // nothing to the silhouette, so they stay out of it: the mask is then
        // exactly what the other parts cover, however the inside is redrawn.
        const QStringList colourOnly = silhouette ? QStringList{QStringLiteral("inside")} : QStringList{};
        const SvgBody body = RewriteSvgBody(source, {mode, colourOnly, QStringLiteral("s%1-").arg(n)});
        if (!body.error.isEmpty())
            return QStringLiteral("%1: %2").arg(SymbolPath(symbolDir, n), body.error);
        if (body.viewBox.simplified() != u"0 0 100 100")
            return QStringLiteral("%1: viewBox must be \"0 0 100 100\"").arg(SymbolPath(symbolDir, n));
        const int column = (n - 1) % 9, row = (n - 1) / 9;
        out += QStringLiteral("<g id=\"symbol%1\" transform=\"translate(%2 %3) scale(%4 %5)\">\n")
                   .arg(n)
                   .arg(column * cellWidth, 0, 'f', 4)
                   .arg(row * cellHeight, 0, 'f', 4)
                   .arg(cellWidth / kSymbolUnits, 0, 'f', 6)
                   .arg(cellHeight / kSymbolUnits, 0, 'f', 6);
        out += body.xml;
        out += QStringLiteral("\n</g>\n");
    }
    out += QStringLiteral("</svg>\n");
    *xml = out;
    return {};
}

} // namespace

QString WriteSymbolPictures(const QString& symbolDir, const QString& outDir)
{
    for (auto [mode, name] : {std::pair{PaintMode::Silhouette, "masks.svg"}, std::pair{PaintMode::Pattern, "pats.svg"}}) {
        QString xml;
        QString error = BuildPicture(symbolDir, mode, &xml);
        if (error.isEmpty())
            error = WriteText(outDir + u'/' + QLatin1String(name), xml);
        if (!error.isEmpty())
            return error;
    }
    return {};
}

QString WriteProgramIcons(const QString& symbolDir, const QString& outDir)
{
    QString error;
    const QByteArray source = ReadFileOrError(SymbolPath(symbolDir, 1), &error);
    if (!error.isEmpty())
        return error;
    const SvgBody body = RewriteSvgBody(source, {PaintMode::Pattern, {}, {}});
    if (!body.error.isEmpty())
        return body.error;
    // Symbol 1 fills the square from 8 to 92; the icon shows just that square.
    const QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"8 8 84 84\">\n")
        + body.xml + QStringLiteral("\n</svg>\n");
    error = WriteText(outDir + QStringLiteral("/icon.svg"), svg);
    if (!error.isEmpty())
        return error;

    QSvgRenderer renderer(svg.toUtf8());
    if (!renderer.isValid())
        return QStringLiteral("icon.svg does not render");
    // The desktop's icon theme wants every usual size as PNG; the window's
    // own 32 px icon is the 256-colour bitmap.
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        bool saved = image.save(outDir + QStringLiteral("/icon-%1.png").arg(size));
        if (size == 32)
            saved = saved && image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither)
                                 .save(outDir + QStringLiteral("/icon-32.bmp"));
        if (!saved)
            return QStringLiteral("cannot write icon of size %1").arg(size);
    }
    return {};
}
