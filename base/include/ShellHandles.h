// Owning holders for the USER and shell objects the program makes: icons, popup menus, image
// lists and shell item id lists. Each is destroyed exactly once, by its holder, whatever way
// the scope is left (CXHolder of XWin.h).
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include "XComCtl.h"
#include "XWin.h"

inline void XDestroyIcon(HICON icon) { DestroyIcon(icon); }
using CXIcon = CXHolder<XNullableTraits<HICON, &XDestroyIcon>>;

// A popup menu handle (not the framework's skinned menu control, CXMenu).
inline void XDestroyMenu(HMENU menu) { DestroyMenu(menu); }
using CXMenuHandle = CXHolder<XNullableTraits<HMENU, &XDestroyMenu>>;

inline void XDestroyImageList(HIMAGELIST images) { XImageList_Destroy(images); }
using CXImageList = CXHolder<XNullableTraits<HIMAGELIST, &XDestroyImageList>>;

// An item id list handed out by the shell (freed with the task allocator).
inline void XFreeItemIdList(ITEMIDLIST* list) { CoTaskMemFree(list); }
using CXItemIdList = CXHolder<XNullableTraits<ITEMIDLIST*, &XFreeItemIdList>>;
