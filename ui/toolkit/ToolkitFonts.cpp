#include "ui/toolkit/ToolkitFonts.h"

namespace {
QFont PixelFont(const QString& family, int pixelSize, bool bold)
{
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}
} // namespace

QFont ArialFont(int pixelSize, bool bold)
{
    return PixelFont(QStringLiteral("Arial"), pixelSize, bold);
}

QFont CaptionFont(int pixelSize, bool bold)
{
    return PixelFont(QStringLiteral("Liberation Sans"), pixelSize, bold);
}
