// The common-controls functions the program and the framework use, through comctl32 loaded at
// the first call: the first window shows without that library's start-up. The exe's manifest
// still picks version 6. Each function fails as the library's own would when it cannot be loaded.
// The library, once loaded, is never freed, and no module of the product imports it: a library
// that did would take it out of the process with itself, under windows of its classes (the
// edit and static controls of version 6 among them) that other threads made without a reference.
#pragma once

#include <windows.h>
#include <commctrl.h>

BOOL XInitCommonControlsEx(const INITCOMMONCONTROLSEX* controls);
HIMAGELIST XImageList_Create(int width, int height, UINT flags, int initial, int grow);
BOOL XImageList_Destroy(HIMAGELIST images);
int XImageList_GetImageCount(HIMAGELIST images);
BOOL XImageList_GetIconSize(HIMAGELIST images, int* width, int* height);
int XImageList_ReplaceIcon(HIMAGELIST images, int index, HICON icon);
int XImageList_Add(HIMAGELIST images, HBITMAP image, HBITMAP mask);
BOOL XImageList_Draw(HIMAGELIST images, int index, HDC dc, int x, int y, UINT style);
BOOL XSetWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data);
BOOL XRemoveWindowSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id);
LRESULT XDefSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
