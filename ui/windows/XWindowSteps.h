// Message steps the framework's top-level window classes share. Plain functions of the
// framework, not members of the exported window class, so its exports stay as they are.
#pragma once

#include "XWindow.h"

class CControlMgr;

// Window styles of the classes. Read back by tests and by code that restyles windows.
// The base window: WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN (0x96000000).
inline constexpr DWORD XSTYLE_BASE = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
// The opaque main window: a popup with the full system frame (0x80CF0000).
inline constexpr DWORD XSTYLE_MAIN = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
// The layered window and the dialog: a hidden popup (0x86000000).
inline constexpr DWORD XSTYLE_POPUP = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
static_assert(XSTYLE_BASE == 0x96000000 && XSTYLE_MAIN == 0x80CF0000 && XSTYLE_POPUP == 0x86000000,
              "window styles are fixed");

using XBORDER_HIT_TEST = LRESULT (*)(const RECT& window, POINT point, BOOL resizable);

// WM_NCHITTEST of a borderless skinned window: the border test of the class on the window's
// rectangle, resizing only while the skin allows it and the window is not maximised.
LRESULT XSkinnedHitTest(HWND hwnd, LPARAM lParam, CControlMgr* mgr, XBORDER_HIT_TEST test);

// WM_CLOSE and command 1 of a main window: the window goes and the thread's loop ends.
void XCloseMainWindow(HWND hwnd);
