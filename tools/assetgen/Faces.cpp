#include "Faces.h"

#include "KeyedImage.h"
#include "SvgRewrite.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QSet>
#include <QSvgRenderer>
#include <QTextStream>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kFace = 50;
const QColor kFrame(34, 30, 42);
const QRectF kInner(3, 3, 44, 44);

struct FaceLine {
    QString list;
    int index = 0;
    QString drawing;     // file name below faces/, or "-" for a texture face
    QString state;       // "up" or "over": which variant of the drawing
    bool bright = false;
    bool grey = false;
    QString background;  // sky, ochre, patches, swirl
    QColor key;
};

QString ParseLine(const QString& line, FaceLine* face)
{
    const QStringList parts = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (parts.size() != 6)
        return QStringLiteral("expected: list index drawing state background key");
    face->list = parts[0];
    bool ok = false;
    face->index = parts[1].toInt(&ok);
    if (!ok || face->index < 0)
        return QStringLiteral("bad index %1").arg(parts[1]);
    face->drawing = parts[2];
    const QStringList state = parts[3].split(u'+');
    face->state = state[0];
    if (face->state != u"up" && face->state != u"over")
        return QStringLiteral("state must start with up or over");
    face->bright = state.contains(QStringLiteral("bright"));
    face->grey = state.contains(QStringLiteral("grey"));
    face->background = parts[4];
    static const QMap<QString, QColor> keys{{QStringLiteral("white"), QColor(255, 255, 255)},
                                            {QStringLiteral("blue"), QColor(0, 0, 255)},
                                            {QStringLiteral("green"), QColor(0, 255, 0)}};
    if (!keys.contains(parts[5]))
        return QStringLiteral("key must be white, blue or green");
    face->key = keys[parts[5]];
    return {};
}

QImage TexturePatches(const QImage& sheet)
{
    // Four backgrounds side by side, as a sample card of the choice.
    QImage patches(44, 44, QImage::Format_RGB32);
    QPainter painter(&patches);
    const int rows[4] = {0, 3, 4, 5};
    for (int k = 0; k < 4; ++k)
        painter.drawImage(QPoint((k % 2) * 22, (k / 2) * 22), sheet, QRect(10, rows[k] * 100 + 10, 22, 22));
    painter.setPen(QPen(kFrame, 1.5));
    painter.drawLine(QPointF(22, 0), QPointF(22, 44));
    painter.drawLine(QPointF(0, 22), QPointF(44, 22));
    return patches;
}

QImage TextureSwirl(const QImage& sheet)
{
    // The sample card stirred round its middle: nearer the centre, more turn.
    QImage flat(44, 44, QImage::Format_RGB32);
    QPainter painter(&flat);
    const int rows[4] = {2, 3, 1, 5};
    for (int k = 0; k < 4; ++k)
        painter.drawImage(QPoint((k % 2) * 22, (k / 2) * 22), sheet, QRect(30, rows[k] * 100 + 30, 22, 22));
    painter.end();
    QImage swirl(44, 44, QImage::Format_RGB32);
    for (int y = 0; y < 44; ++y)
        for (int x = 0; x < 44; ++x) {
            const double dx = x + 0.5 - 22, dy = y + 0.5 - 22;
            const double r = std::hypot(dx, dy);
            const double turn = 3.2 * std::pow(std::max(0.0, 1.0 - r / 30.0), 2);
            const double sx = 22 + dx * std::cos(turn) - dy * std::sin(turn);
            const double sy = 22 + dx * std::sin(turn) + dy * std::cos(turn);
            swirl.setPixel(x, y, flat.pixel(std::clamp(int(sx), 0, 43), std::clamp(int(sy), 0, 43)));
        }
    return swirl;
}

void PaintBackground(QPainter& painter, const QString& background, const QImage& sheet)
{
    if (background == u"patches" || background == u"swirl") {
        painter.drawImage(kInner.topLeft(), background == u"patches" ? TexturePatches(sheet) : TextureSwirl(sheet));
        return;
    }
    QLinearGradient gradient(kInner.topLeft(), kInner.bottomLeft());
    if (background == u"ochre") {
        gradient.setColorAt(0, QColor(234, 194, 104));
        gradient.setColorAt(1, QColor(194, 140, 50));
    } else {
        gradient.setColorAt(0, QColor(172, 222, 250));
        gradient.setColorAt(1, QColor(92, 164, 226));
    }
    painter.fillRect(kInner, gradient);
}

QImage Brighter(const QImage& face)
{
    QImage out = face;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = out.pixel(x, y);
            if (qAlpha(p) < 255)
                continue;  // leave the rounded edge as it is
            auto lift = [](int v) { return std::min(255, int(std::lround(v * 1.05 + (255 - v) * 0.12))); };
            out.setPixel(x, y, qRgb(lift(qRed(p)), lift(qGreen(p)), lift(qBlue(p))));
        }
    return out;
}

QString RenderFace(const QString& artDir, const FaceLine& line, const QImage& sheet, QImage* result)
{
    QImage face(kFace, kFace, QImage::Format_ARGB32_Premultiplied);
    face.fill(Qt::transparent);
    QPainter painter(&face);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath outer;
    outer.addRoundedRect(QRectF(0, 0, kFace, kFace), 10, 10);
    painter.fillPath(outer, kFrame);
    QPainterPath inner;
    inner.addRoundedRect(kInner, 6.5, 6.5);
    painter.setClipPath(inner);
    PaintBackground(painter, line.background, sheet);
    if (line.drawing != u"-") {
        QString error;
        const QString path = artDir + QStringLiteral("/faces/") + line.drawing;
        const QByteArray source = ReadFileOrError(path, &error);
        if (!error.isEmpty())
            return error;
        const QString other = line.state == u"up" ? QStringLiteral("over") : QStringLiteral("up");
        const SvgBody body = RewriteSvgBody(source, {PaintMode::AsDrawn, {other}, {}});
        if (!body.error.isEmpty())
            return path + QStringLiteral(": ") + body.error;
        const QString svg = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"%1\">%2</svg>")
                                .arg(body.viewBox, body.xml);
        QSvgRenderer renderer(svg.toUtf8());
        if (!renderer.isValid())
            return path + QStringLiteral(": does not render");
        renderer.render(&painter, QRectF(0, 0, kFace, kFace));
    }
    // A faint glint along the top of the coloured square gives the button some depth.
    painter.setClipping(false);
    painter.setPen(QPen(QColor(255, 255, 255, 70), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(kInner.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    painter.end();

    if (line.bright)
        face = Brighter(face);
    QImage flat = FlattenOnKey(face, line.key, kFrame);
    *result = line.grey ? GreyDisabled(flat, line.key) : flat;
    return {};
}

} // namespace

QString WriteButtonFaces(const QString& artDir, const QString& outDir, const QImage& textureSheet)
{
    QFile manifest(artDir + QStringLiteral("/faces/faces.txt"));
    if (!manifest.open(QIODevice::ReadOnly | QIODevice::Text))
        return QStringLiteral("cannot read faces/faces.txt");
    QTextStream in(&manifest);
    int lineNumber = 0;
    QSet<QString> written;
    while (!in.atEnd()) {
        const QString text = in.readLine().trimmed();
        ++lineNumber;
        if (text.isEmpty() || text.startsWith(u'#'))
            continue;
        FaceLine line;
        QString error = ParseLine(text, &line);
        QImage face;
        if (error.isEmpty())
            error = RenderFace(artDir, line, textureSheet, &face);
        if (!error.isEmpty())
            return QStringLiteral("faces.txt line %1: %2").arg(lineNumber).arg(error);
        QDir().mkpath(outDir + u'/' + line.list);
        const QString path = QStringLiteral("%1/%2/%3.bmp").arg(outDir, line.list).arg(line.index);
        if (written.contains(path))
            return QStringLiteral("faces.txt line %1: %2 named twice").arg(lineNumber).arg(path);
        if (!face.save(path))
            return QStringLiteral("cannot write %1").arg(path);
        written.insert(path);
    }
    return {};
}

QString WriteCartoon(const QString& artDir, const QString& outPath)
{
    QSvgRenderer renderer(artDir + QStringLiteral("/cartoon.svg"));
    if (!renderer.isValid())
        return QStringLiteral("cartoon.svg does not render");
    QImage drawing(100, 75, QImage::Format_ARGB32_Premultiplied);
    drawing.fill(Qt::transparent);
    QPainter painter(&drawing);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, 100, 75));
    painter.end();
    if (!FlattenOnKey(drawing, QColor(255, 0, 255), Qt::black).save(outPath))
        return QStringLiteral("cannot write %1").arg(outPath);
    return {};
}
