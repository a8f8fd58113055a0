#include "assets/MainFormAssets.h"

BitmapList MainFormBitmaps()
{
    return BitmapList::FromResourceFolder(QStringLiteral(":/assets/bmps"));
}

TWaveList MainFormWaves()
{
    return TWaveList::FromResourceFolder(QStringLiteral(":/assets/waves"));
}

SymbolPicture MaskPicture()
{
    return SymbolPicture(QStringLiteral(":/assets/symbols/masks.svg"));
}

SymbolPicture PatternPicture()
{
    return SymbolPicture(QStringLiteral(":/assets/symbols/pats.svg"));
}
