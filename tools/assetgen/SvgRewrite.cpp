#include "SvgRewrite.h"

#include <QFile>
#include <QList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

bool HasClass(const QXmlStreamAttributes& attributes, const QStringList& wanted)
{
    const QStringList classes = attributes.value(QLatin1String("class")).toString().split(u' ', Qt::SkipEmptyParts);
    for (const QString& c : classes)
        if (wanted.contains(c))
            return true;
    return false;
}

bool IsGradientPart(QStringView name)
{
    return name == u"defs" || name == u"linearGradient" || name == u"radialGradient";
}

QString Prefixed(QString value, const QString& prefix)
{
    if (prefix.isEmpty())
        return value;
    return value.replace(QStringLiteral("url(#"), QStringLiteral("url(#") + prefix);
}

// Skips the rest of the current element, including its children.
void SkipElement(QXmlStreamReader& reader)
{
    int depth = 1;
    while (depth > 0 && !reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement())
            ++depth;
        else if (reader.isEndElement())
            --depth;
    }
}

} // namespace

SvgBody RewriteSvgBody(const QByteArray& source, const SvgFilter& filter)
{
    SvgBody body;
    QXmlStreamReader reader(source);
    QXmlStreamWriter writer(&body.xml);
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(1);

    int depth = 0;
    QList<bool> holeStack;  // whether each open element lies inside a "hole" part

    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const QXmlStreamAttributes attributes = reader.attributes();
            if (depth == 0) {
                body.viewBox = attributes.value(QLatin1String("viewBox")).toString();
                ++depth;
                continue;
            }
            if (HasClass(attributes, filter.dropClasses)
                || (filter.mode == PaintMode::Silhouette && IsGradientPart(reader.name()))) {
                SkipElement(reader);
                continue;
            }
            const bool hole = (!holeStack.isEmpty() && holeStack.last()) || HasClass(attributes, {QStringLiteral("hole")});
            holeStack.append(hole);
            ++depth;

            writer.writeStartElement(reader.name().toString());
            const QString holeColour = filter.mode == PaintMode::Silhouette ? QStringLiteral("#fff") : QStringLiteral("#000");
            const QString solidColour = hole ? holeColour : QStringLiteral("#000");
            bool wroteFill = false;
            for (const QXmlStreamAttribute& a : attributes) {
                const QString name = a.qualifiedName().toString();
                QString value = a.value().toString();
                if (name == u"style") {
                    body.error = QStringLiteral("line %1: use fill/stroke attributes, not style").arg(reader.lineNumber());
                    return body;
                }
                if (name == u"class")
                    continue;
                if (name == u"id")
                    value = filter.idPrefix + value;
                const bool paint = name == u"fill" || name == u"stroke";
                if (paint && value != u"none"
                    && (filter.mode == PaintMode::Silhouette || (filter.mode == PaintMode::Pattern && hole)))
                    value = solidColour;
                if (filter.mode == PaintMode::Silhouette
                    && (name == u"opacity" || name == u"fill-opacity" || name == u"stroke-opacity"))
                    continue;
                wroteFill = wroteFill || name == u"fill";
                writer.writeAttribute(name, Prefixed(value, filter.idPrefix));
            }
            // A hole without its own fill would otherwise inherit the black of the symbol.
            if (hole && !wroteFill && filter.mode != PaintMode::AsDrawn && HasClass(attributes, {QStringLiteral("hole")}))
                writer.writeAttribute(QStringLiteral("fill"), holeColour);
        } else if (reader.isEndElement()) {
            --depth;
            if (depth == 0)
                break;
            holeStack.removeLast();
            writer.writeEndElement();
        }
    }
    if (reader.hasError())
        body.error = QStringLiteral("line %1: %2").arg(reader.lineNumber()).arg(reader.errorString());
    return body;
}

QByteArray ReadFileOrError(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1").arg(path);
        return {};
    }
    return file.readAll();
}
