#include "assets/MainFormAssets.h"

TBitmapList MainFormBitmaps()
{
    return TBitmapList::FromResourceFolder(QStringLiteral(":/assets/bmps"));
}

TWaveList MainFormWaves()
{
    return TWaveList::FromResourceFolder(QStringLiteral(":/assets/waves"));
}

TSymbolPicture MaskPicture()
{
    return TSymbolPicture(QStringLiteral(":/assets/symbols/masks.svg"));
}

TSymbolPicture PatternPicture()
{
    return TSymbolPicture(QStringLiteral(":/assets/symbols/pats.svg"));
}
