#pragma once
// The shared picture lists that every dialog draws, made once per test program.
#include "assets/DlgRes.h"

inline void MakeDialogResources()
{
    if (!DlgResources)
        DlgResources = new TDlgResources;
}
