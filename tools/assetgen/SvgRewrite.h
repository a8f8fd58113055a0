#pragma once
// Rewrites the drawing inside an SVG file for the different versions made
// from one source: the symbol in colour, its black silhouette, or a button
// face in one of its states.
#include <QByteArray>
#include <QString>
#include <QStringList>

enum class PaintMode {
    AsDrawn,     // colours unchanged
    Silhouette,  // every painted part black, parts of class "hole" white, no gradients or opacity
    Pattern,     // colours unchanged, parts of class "hole" black
};

struct SvgFilter {
    PaintMode mode = PaintMode::AsDrawn;
    // Elements carrying one of these classes are left out with everything inside them.
    QStringList dropClasses;
    // Put before every id and every reference to one, so that drawings can share one document.
    QString idPrefix;
};

struct SvgBody {
    QString viewBox;  // of the source's root element
    QString xml;      // the root's children, rewritten
    QString error;    // empty when the source was read completely
};

SvgBody RewriteSvgBody(const QByteArray& source, const SvgFilter& filter);

// Reads a whole file; error text in *error when it cannot.
QByteArray ReadFileOrError(const QString& path, QString* error);
