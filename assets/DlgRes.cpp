#include "assets/DlgRes.h"

TDlgResources* DlgResources = nullptr;

TDlgResources::TDlgResources()
    : dlgs(BitmapList::FromResourceFolder(QStringLiteral(":/assets/dlgs")))
    , opts(BitmapList::FromResourceFolder(QStringLiteral(":/assets/opts")))
    , btns(BitmapList::FromResourceFolder(QStringLiteral(":/assets/btns")))
{
}
