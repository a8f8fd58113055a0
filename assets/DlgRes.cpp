#include "assets/DlgRes.h"

TDlgResources* DlgResources = nullptr;

TDlgResources::TDlgResources()
    : dlgs(TBitmapList::FromResourceFolder(QStringLiteral(":/assets/dlgs")))
    , opts(TBitmapList::FromResourceFolder(QStringLiteral(":/assets/opts")))
    , btns(TBitmapList::FromResourceFolder(QStringLiteral(":/assets/btns")))
{
}
