// The window classes as real native windows under Wine: creation and registration, the
// window procedure's own answers (paint, min/max, non-client), both border hit tests at
// their exact pixels, attributes, placement, closing, and objects inside windows.
#include <gtest/gtest.h>

#include "ModelTestUtil.h"
#include "TestUtil.h"
#include "XEasyDialog.h"
#include "XEasyWnd.h"
#include "XSkinTables.h"
#include "XUIBaseWnd.h"
#include "XUIClassTable.h"

using uitest::ProbeUI;

namespace {

// Records the messages that reach the object.
template <class Base>
class Recording : public Base {
 public:
  LRESULT MessageHandle(MESSAGE_EVENT* e) override {
    seen.push_back(e->uMsg);
    return Base::MessageHandle(e);
  }
  int Count(UINT msg) const {
    int n = 0;
    for (UINT m : seen) n += m == msg;
    return n;
  }
  std::vector<UINT> seen;
};

RECT Rect(int x, int y, int w, int h) { return RECT{x, y, x + w, y + h}; }

LRESULT HitAt(HWND hwnd, int x, int y) { return SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)); }

// Drops every WM_QUIT posted to this thread by a closing window.
void DrainQuit() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

TEST(Window, CreateUsesTheClassStyleAndDefaultPlacement) {
  CXEasyWnd wnd;
  HWND hwnd = wnd.Create(nullptr, nullptr, L"Easy", 0, 0, nullptr);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(wnd.GetHWND(), hwnd);
  EXPECT_EQ(static_cast<HWND>(wnd), hwnd);
  wchar_t cls[64] = {0};
  GetClassNameW(hwnd, cls, 64);
  EXPECT_STREQ(cls, L"XEASYWND");
  const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
  EXPECT_EQ(style & 0x80CF0000u, 0x80CF0000u);
  EXPECT_FALSE(style & WS_VISIBLE);
  wchar_t title[32] = {0};
  GetWindowTextW(hwnd, title, 32);
  EXPECT_STREQ(title, L"Easy");

  // A second window of the class: the class already exists, which is success.
  CXEasyWnd second;
  RECT r = Rect(10, 20, 120, 80);
  HWND other = second.Create(nullptr, &r, L"Second", WS_POPUP, WS_EX_TOOLWINDOW, nullptr);
  ASSERT_NE(other, nullptr);
  CRect placed;
  GetWindowRect(other, &placed);
  EXPECT_EQ(placed, CRect(10, 20, 130, 100));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(other, GWL_STYLE)) & 0x00CF0000u, 0u);  // the given style
  EXPECT_TRUE(GetWindowLongW(other, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  // One native window per object.
  EXPECT_EQ(second.Create(nullptr, &r, L"Again", 0, 0, nullptr), nullptr);

  DestroyWindow(hwnd);
  EXPECT_EQ(wnd.GetHWND(), nullptr);  // cleared when the native window is gone
  DestroyWindow(other);
}

TEST(Window, PerClassConstants) {
  CXWindow plain;
  CXEasyWnd easy;
  XUIBaseWnd layered;
  CXEasyDialog dialog;
  EXPECT_STREQ(plain.XUI_GetClassName(), L"XWindowUI");
  EXPECT_EQ(plain.GetClassStyle(), 0x000Bu);
  EXPECT_EQ(plain.GetWindowStyle(), 0x96000000u);
  EXPECT_EQ(easy.GetWindowStyle(), 0x80CF0000u);
  EXPECT_STREQ(layered.XUI_GetClassName(), L"XUIBaseWnd");
  EXPECT_EQ(layered.GetWindowStyle(), 0x86000000u);
  EXPECT_EQ(layered.GetWindowExStyle(), 0x80000u);
  EXPECT_STREQ(dialog.XUI_GetClassName(), L"#32770");
  EXPECT_EQ(dialog.GetClassStyle(), 0x080Bu);
  EXPECT_EQ(dialog.GetWindowExStyle(), 0x80u);
  EXPECT_EQ(plain.XUI_GetUIType(), static_cast<DWORD>(XUI_TYPE_WINDOW));
  EXPECT_EQ(plain.GetRelayoutPtr()->IsEnable(), 1);
  EXPECT_EQ(plain.GetBkColor(), 0xFFFFFFu);
  EXPECT_EQ(plain.GetAfterStyle(), static_cast<DWORD>(XWND_AFTER_CENTER));
  EXPECT_EQ(plain.XUI_GetControlMgr()->GetRoundCorner(), 9);
  EXPECT_FALSE(plain.XUI_GetControlMgr()->IsEnableResize());
  EXPECT_EQ(plain.XUI_GetControlMgr()->GetOwner(), &plain);
  EXPECT_EQ(CXWindow::m_pThis, &dialog);  // the most recently constructed window

  // The template classes of windows are in the class-name table.
  const wchar_t* names[][2] = {{L"mainwnd", L"XEASYWND"},
                               {L"MainWndLayer", L"XUIBaseWnd"},
                               {L"dialog", L"#32770"},
                               {L"dropwnd", L"XDROPEASYWND"}};
  for (auto& row : names) {
    IXUIObject* made = CXUIClassTable::Create(row[0]);
    ASSERT_NE(made, nullptr) << xtest::Narrow(row[0]);
    EXPECT_STREQ(made->XUI_GetClassName(), row[1]);
    XDestroyUIObject(made);
  }
}

TEST(Window, PaintWithAnEmptyUpdateRegionNeverReachesTheObject) {
  Recording<CXEasyWnd> wnd;
  RECT r = Rect(40, 40, 100, 80);
  ASSERT_NE(wnd.Create(nullptr, &r, L"Paint", WS_POPUP | WS_VISIBLE, 0, nullptr), nullptr);
  UpdateWindow(wnd.GetHWND());
  ValidateRect(wnd.GetHWND(), nullptr);
  wnd.seen.clear();
  SendMessageW(wnd.GetHWND(), WM_PAINT, 0, 0);
  EXPECT_EQ(wnd.Count(WM_PAINT), 0);
  InvalidateRect(wnd.GetHWND(), nullptr, FALSE);
  UpdateWindow(wnd.GetHWND());
  EXPECT_EQ(wnd.Count(WM_PAINT), 1);
  // The procedure answers the non-client messages itself.
  EXPECT_EQ(SendMessageW(wnd.GetHWND(), WM_NCACTIVATE, 0, 0), 1);
  EXPECT_EQ(SendMessageW(wnd.GetHWND(), WM_NCACTIVATE, 1, 0), 0);
  EXPECT_EQ(wnd.Count(WM_NCACTIVATE), 0);
  // The whole window is client area.
  CRect client, window;
  GetClientRect(wnd.GetHWND(), &client);
  GetWindowRect(wnd.GetHWND(), &window);
  EXPECT_EQ(client.Size(), window.Size());
  DestroyWindow(wnd.GetHWND());
}

TEST(Window, MinMaxInfoUsesTheWorkAreaUnlessSizesAreSet) {
  CXEasyWnd wnd;
  RECT r = Rect(0, 0, 100, 80);
  ASSERT_NE(wnd.Create(nullptr, &r, L"MinMax", WS_POPUP, 0, nullptr), nullptr);
  MONITORINFO mi = {};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromWindow(wnd.GetHWND(), MONITOR_DEFAULTTONEAREST), &mi);
  const CRect work(mi.rcWork);
  MINMAXINFO info = {};
  SendMessageW(wnd.GetHWND(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMaxPosition.x, 0);
  EXPECT_EQ(info.ptMaxPosition.y, 0);
  EXPECT_EQ(info.ptMaxSize.x, work.Width());
  EXPECT_EQ(info.ptMaxSize.y, work.Height());
  EXPECT_EQ(info.ptMaxTrackSize.x, work.Width());
  EXPECT_EQ(info.ptMinTrackSize.x, 0);

  EXPECT_EQ(wnd.XUI_SetAttribute(L"minmaxsize", L"120, 90, 640, 0"), 0);
  SendMessageW(wnd.GetHWND(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 120);
  EXPECT_EQ(info.ptMinTrackSize.y, 90);
  EXPECT_EQ(info.ptMaxSize.x, 640);
  EXPECT_EQ(info.ptMaxSize.y, work.Height());  // 0: the work area's

  wnd.XUI_SetAttribute(L"MINMAXSIZE", L"120,90,640");  // three values clear all four
  EXPECT_EQ(wnd.GetMinTrackSize(), CSize(0, 0));
  EXPECT_EQ(wnd.GetMaxSize(), CSize(0, 0));
  DestroyWindow(wnd.GetHWND());
}

TEST(Window, LayeredAndDialogHitTestEdgesBeforeCorners) {
  XUIBaseWnd layered;
  RECT r = Rect(100, 100, 200, 150);  // right 300, bottom 250
  HWND hwnd = layered.Create(nullptr, &r, L"Layered", 0, 0, nullptr);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(HitAt(hwnd, 100, 100), HTCLIENT);  // resizing off
  layered.XUI_SetAttribute(L"resize", L"1");
  EXPECT_EQ(HitAt(hwnd, 100, 100), HTLEFT);
  EXPECT_EQ(HitAt(hwnd, 103, 100), HTLEFT);
  EXPECT_EQ(HitAt(hwnd, 104, 100), HTTOP);
  EXPECT_EQ(HitAt(hwnd, 105, 105), HTTOPLEFT);
  EXPECT_EQ(HitAt(hwnd, 110, 110), HTTOPLEFT);
  EXPECT_EQ(HitAt(hwnd, 111, 110), HTCLIENT);
  EXPECT_EQ(HitAt(hwnd, 297, 200), HTRIGHT);
  EXPECT_EQ(HitAt(hwnd, 296, 200), HTCLIENT);
  EXPECT_EQ(HitAt(hwnd, 290, 105), HTTOPRIGHT);
  EXPECT_EQ(HitAt(hwnd, 105, 240), HTBOTTOMLEFT);
  EXPECT_EQ(HitAt(hwnd, 290, 245), HTBOTTOMRIGHT);
  EXPECT_EQ(HitAt(hwnd, 200, 247), HTBOTTOM);
  // Maximised windows are not resized by their borders.
  SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) | WS_MAXIMIZE);
  EXPECT_EQ(HitAt(hwnd, 100, 100), HTCLIENT);
  DestroyWindow(hwnd);
  DrainQuit();

  CXEasyDialog dialog;
  hwnd = dialog.Create(nullptr, &r, L"Dialog", 0, 0, nullptr);
  ASSERT_NE(hwnd, nullptr);
  dialog.XUI_GetControlMgr()->EnableResize(TRUE);
  EXPECT_EQ(HitAt(hwnd, 100, 100), HTLEFT);
  EXPECT_EQ(HitAt(hwnd, 105, 105), HTTOPLEFT);
  DestroyWindow(hwnd);
}

TEST(Window, MainWindowHitTestUsesFivePixelBands) {
  CXEasyWnd wnd;
  RECT r = Rect(100, 100, 200, 150);
  HWND hwnd = wnd.Create(nullptr, &r, L"Easy", WS_POPUP, 0, nullptr);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(HitAt(hwnd, 100, 100), HTCLIENT);
  wnd.XUI_SetAttribute(L"Resize", L"1");
  EXPECT_EQ(HitAt(hwnd, 100, 100), HTTOPLEFT);
  EXPECT_EQ(HitAt(hwnd, 104, 104), HTTOPLEFT);
  EXPECT_EQ(HitAt(hwnd, 105, 104), HTTOP);
  EXPECT_EQ(HitAt(hwnd, 296, 104), HTTOPRIGHT);
  EXPECT_EQ(HitAt(hwnd, 295, 104), HTTOP);
  EXPECT_EQ(HitAt(hwnd, 104, 150), HTLEFT);
  EXPECT_EQ(HitAt(hwnd, 105, 150), HTCLIENT);
  EXPECT_EQ(HitAt(hwnd, 296, 150), HTRIGHT);
  EXPECT_EQ(HitAt(hwnd, 150, 246), HTBOTTOM);
  EXPECT_EQ(HitAt(hwnd, 150, 245), HTCLIENT);
  EXPECT_EQ(HitAt(hwnd, 104, 246), HTBOTTOMLEFT);
  EXPECT_EQ(HitAt(hwnd, 296, 246), HTBOTTOMRIGHT);
  SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) | WS_MAXIMIZE);
  EXPECT_EQ(HitAt(hwnd, 100, 100), HTCLIENT);
  DestroyWindow(hwnd);
  DrainQuit();
}

TEST(Window, AttributesOfTheTable) {
  CXEasyWnd wnd;
  CXColorTable::Instance().Set(7001, RGB(10, 20, 30), L"test");
  EXPECT_EQ(wnd.XUI_SetAttribute(L"roundcorner", L"14"), 1);
  EXPECT_EQ(wnd.XUI_GetControlMgr()->GetRoundCorner(), 14);
  EXPECT_EQ(wnd.XUI_SetAttribute(L"center", L"0"), 1);
  EXPECT_EQ(wnd.GetAfterStyle(), 0u);
  EXPECT_EQ(wnd.XUI_SetAttribute(L"TopMost", L"1"), 1);
  EXPECT_EQ(wnd.XUI_SetAttribute(L"toolwindow", L"1"), 1);
  EXPECT_EQ(wnd.GetWndExStyle(), static_cast<DWORD>(WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
  wnd.XUI_SetAttribute(L"topmost", L"0");
  EXPECT_EQ(wnd.GetWndExStyle(), static_cast<DWORD>(WS_EX_TOOLWINDOW));
  EXPECT_EQ(wnd.XUI_SetAttribute(L"visible", L"1"), 1);
  EXPECT_EQ(wnd.GetAfterStyle(), static_cast<DWORD>(XWND_AFTER_VISIBLE));
  EXPECT_EQ(wnd.XUI_SetAttribute(L"bkcolor", L"7001"), 0);
  EXPECT_EQ(wnd.GetBkColor(), static_cast<COLORREF>(RGB(10, 20, 30)));
  wnd.XUI_SetAttribute(L"bkcolor", L"7002");
  EXPECT_EQ(wnd.GetBkColor(), 0xFFFFFFu);
  EXPECT_EQ(wnd.XUI_SetAttribute(L"unknown", L"1"), 0);
}

TEST(Window, RelocatePlacesByTheRuleTellsTheObjectsAndShows) {
  CXEasyWnd wnd;
  auto* child = new ProbeUI(L"child");
  wnd.XUI_AddChild(child);
  auto* grandchild = new ProbeUI(L"grandchild");
  child->XUI_AddChild(grandchild);
  wnd.XUI_SetRect(CRect(0, 0, 200, 100));
  wnd.GetRelayoutPtr()->SetAlignment(L"CC");
  wnd.XUI_SetAttribute(L"visible", L"1");
  CRect r = wnd.XUI_GetRect();
  ASSERT_NE(wnd.Create(nullptr, &r, L"Relocate", WS_POPUP, 0, nullptr), nullptr);
  wnd.RelocateWnd();
  CRect work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  CRect placed;
  GetWindowRect(wnd.GetHWND(), &placed);
  EXPECT_EQ(placed.left, work.left + (work.Width() - 200) / 2);
  EXPECT_EQ(placed.top, work.top + (work.Height() - 100) / 2);
  EXPECT_EQ(wnd.XUI_GetRect(), placed);
  EXPECT_TRUE(IsWindowVisible(wnd.GetHWND()));
  EXPECT_EQ(grandchild->XUI_GetControlMgr()->GetWnd(), wnd.GetHWND());

  // Centring over the work area keeps the size.
  MoveWindow(wnd.GetHWND(), 0, 0, 120, 60, FALSE);
  wnd.CenterWindow();
  GetWindowRect(wnd.GetHWND(), &placed);
  EXPECT_EQ(placed, CRect(work.left + (work.Width() - 120) / 2, work.top + (work.Height() - 60) / 2,
                          work.left + (work.Width() - 120) / 2 + 120, work.top + (work.Height() - 60) / 2 + 60));
  DestroyWindow(wnd.GetHWND());
  DrainQuit();
}

TEST(Window, ClosingTheMainWindowEndsTheLoopButClosingADialogDoesNot) {
  CXEasyWnd wnd;
  RECT r = Rect(0, 0, 50, 50);
  ASSERT_NE(wnd.Create(nullptr, &r, L"Close", WS_POPUP, 0, nullptr), nullptr);
  DrainQuit();
  SendMessageW(wnd.GetHWND(), WM_CLOSE, 0, 0);
  EXPECT_EQ(wnd.GetHWND(), nullptr);
  MSG msg;
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));

  CXEasyWnd byCommand;
  ASSERT_NE(byCommand.Create(nullptr, &r, L"Command", WS_POPUP, 0, nullptr), nullptr);
  SendMessageW(byCommand.GetHWND(), WM_COMMAND, 1, 0);
  EXPECT_EQ(byCommand.GetHWND(), nullptr);
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));

  CXEasyDialog dialog;
  dialog.SetWndStyle(WS_BORDER);
  const DWORD style = dialog.GetWindowStyle() | dialog.GetWndStyle();
  ASSERT_NE(dialog.Create(nullptr, &r, L"Dialog", style, 0, nullptr), nullptr);
  EXPECT_FALSE(GetWindowLongW(dialog.GetHWND(), GWL_STYLE) & WS_BORDER);  // removed on creation
  wchar_t cls[16] = {0};
  GetClassNameW(dialog.GetHWND(), cls, 16);
  EXPECT_STREQ(cls, L"#32770");
  SendMessageW(dialog.GetHWND(), WM_COMMAND, 6, 0);
  EXPECT_EQ(dialog.GetHWND(), nullptr);
  ASSERT_NE(dialog.Create(nullptr, &r, L"Dialog", 0, 0, nullptr), nullptr);
  SendMessageW(dialog.GetHWND(), WM_CLOSE, 0, 0);
  EXPECT_EQ(dialog.GetHWND(), nullptr);
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(Window, MessagesReachTheObjectsAndTheApplication) {
  uitest::RecordingCallback cb;
  CXEasyWnd wnd;
  wnd.XUI_SetID(L"main");
  auto* child = new ProbeUI(L"child");
  child->m_eventStep = true;
  child->XUI_SetRect(CRect(10, 10, 60, 40));
  wnd.XUI_AddChild(child);
  RECT r = Rect(300, 300, 200, 100);
  wnd.GetRelayoutPtr()->SetEnable(0);  // stay where created
  HWND hwnd = wnd.Create(nullptr, &r, L"Route", WS_POPUP, 0, nullptr);
  ASSERT_NE(hwnd, nullptr);
  wnd.RelocateWnd();
  EXPECT_EQ(wnd.XUI_GetRect(), CRect(300, 300, 500, 400));  // stored by WM_SIZE
  // Creation: the window's notification comes before its children's.
  ASSERT_GE(cb.events.size(), 2u);
  size_t windowCreate = cb.events.size(), childCreate = cb.events.size();
  for (size_t i = 0; i < cb.events.size(); ++i) {
    if (cb.events[i].event.uMsg != WM_CREATE) continue;
    if (cb.senders[i] == static_cast<IXUIObject*>(&wnd) && windowCreate == cb.events.size()) windowCreate = i;
    if (cb.senders[i] == static_cast<IXUIObject*>(child) && childCreate == cb.events.size()) childCreate = i;
  }
  ASSERT_LT(windowCreate, cb.events.size());
  ASSERT_LT(childCreate, cb.events.size());
  EXPECT_LT(windowCreate, childCreate);
  EXPECT_EQ(child->Count(WM_CREATE), 1);

  // A window message above WM_USER is told to the application by the window.
  cb.events.clear();
  cb.senders.clear();
  SendMessageW(hwnd, WM_USER + 3, 1, 2);
  ASSERT_EQ(cb.events.size(), 1u);
  EXPECT_EQ(cb.senders[0], static_cast<IXUIObject*>(&wnd));
  EXPECT_EQ(cb.events[0].event.hWnd, hwnd);
  EXPECT_EQ(cb.events[0].event.wParam, 1u);

  // The window's children and the window's own rectangle.
  EXPECT_EQ(wnd.XUI_GetChild(L"CHILD"), child);
  EXPECT_EQ(wnd.XUI_GetClientRect(), CRect(0, 0, 200, 100));
  EXPECT_EQ(child->XUI_GetWindowRect(), CRect(310, 310, 360, 340));
  DestroyWindow(hwnd);
  DrainQuit();
}

TEST(Window, AnObjectDestroyedBeforeItsWindowLeavesAWorkingWindow) {
  auto* wnd = new CXEasyWnd;
  RECT r = Rect(0, 0, 40, 40);
  HWND hwnd = wnd->Create(nullptr, &r, L"Orphan", WS_POPUP, 0, nullptr);
  ASSERT_NE(hwnd, nullptr);
  XDestroyUIObject(wnd);
  EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_USERDATA), 0);
  SendMessageW(hwnd, WM_SIZE, 0, MAKELPARAM(40, 40));
  InvalidateRect(hwnd, nullptr, TRUE);
  UpdateWindow(hwnd);
  EXPECT_TRUE(DestroyWindow(hwnd));
}

}  // namespace
