// The records that come with the owner-drawn control messages a parent receives:
// WM_DRAWITEM, WM_MEASUREITEM, WM_DELETEITEM and WM_COMPAREITEM (their second parameter points
// at one; the first is the control's id, 0 for a menu).
#pragma once

#include "plat/paint.h"
#include "plat/types.h"

namespace plat {

struct DRAWITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;
    RECT rcItem;
    UINT_PTR itemData;
};

// Carries no window: the control is the parent's child with the id CtlID.
struct MEASUREITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemWidth;
    UINT itemHeight;
    UINT_PTR itemData;
};

struct DELETEITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    HWND hwndItem;
    UINT_PTR itemData;
};

struct COMPAREITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    HWND hwndItem;
    UINT itemID1;
    UINT_PTR itemData1;
    UINT itemID2;
    UINT_PTR itemData2;
    DWORD dwLocaleId;
};

}  // namespace plat
