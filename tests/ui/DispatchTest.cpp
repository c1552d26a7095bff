// Message routing of CControlMgr over a real hidden window: hit testing in screen
// coordinates, hover and leave, capture, focus, cursor, reflection, window drag, click
// messages, tooltips, and the two painting passes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ModelTestUtil.h"
#include "TestUtil.h"

using uitest::Event;
using uitest::ProbeUI;

namespace {

// The text of the tooltip's tool (and its window), empty when it has none.
std::wstring ToolText(HWND tip, HWND* window = nullptr) {
  TOOLINFOW info = {};
  info.cbSize = sizeof info;
  wchar_t text[80] = {0};
  info.lpszText = text;
  if (!SendMessageW(tip, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&info)) &&
      !SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&info)))
    return std::wstring();
  if (window) *window = info.hwnd;
  return text;
}

// A window at (100, 100) with a manager owned by a window-typed object, and two children:
// a at (10, 10)-(60, 40), b at (50, 10)-(120, 40) overlapping a on x 50..59.
class Dispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    owner.XUI_SetRect(CRect(100, 100, 400, 300));
    mgr = owner.XUI_GetControlMgr();
    a = new ProbeUI(L"a");
    b = new ProbeUI(L"b");
    a->XUI_SetRect(CRect(10, 10, 60, 40));
    b->XUI_SetRect(CRect(50, 10, 120, 40));
    mgr->AddUI(a);
    mgr->AddUI(b);
    mgr->SetAllWnd(host.Get());
    host.TakePosted();
  }
  void TearDown() override {
    if (CXBaseUI::GetCapturedUI()) CXBaseUI::GetCapturedUI()->XUI_SetCapture(FALSE);
  }
  // Sends a message at a client point of the host window.
  LRESULT At(UINT msg, int cx, int cy, WPARAM wp = 0, LPARAM lp = 0) {
    MESSAGE_EVENT e = Event(msg, 100 + cx, 100 + cy, host.Get(), wp, lp);
    return mgr->DispatchMsg(&e);
  }

  uitest::HostWindow host;
  uitest::WindowProbe owner{L"owner"};
  CControlMgr* mgr = nullptr;
  ProbeUI* a = nullptr;
  ProbeUI* b = nullptr;
};

TEST_F(Dispatch, TheFirstChildInTheListWinsTheClickAndHidesNothingElse) {
  At(WM_LBUTTONDOWN, 55, 20);
  EXPECT_EQ(a->Count(WM_LBUTTONDOWN), 1);
  EXPECT_EQ(b->Count(WM_LBUTTONDOWN), 0);
  // The press focuses the window and posts WM_SETFOCUS, but no drag: an object was hit.
  std::vector<MSG> posted = host.TakePosted();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].message, static_cast<UINT>(WM_SETFOCUS));
  At(WM_LBUTTONDOWN, 100, 20);
  EXPECT_EQ(b->Count(WM_LBUTTONDOWN), 1);
  // The points are the event's screen points.
  EXPECT_EQ(b->Last(WM_LBUTTONDOWN)->x, 200);
}

TEST_F(Dispatch, HiddenAndDisabledChildrenTakeNoMouseAndAPressDragsTheWindow) {
  a->XUI_SetVisible(FALSE);
  b->XUI_SetEnable(FALSE);
  At(WM_MOUSEMOVE, 20, 20);
  At(WM_RBUTTONUP, 100, 20);
  At(WM_LBUTTONDOWN, 20, 20);
  EXPECT_TRUE(a->m_received.empty());
  EXPECT_TRUE(b->m_received.empty());
  std::vector<MSG> posted = host.TakePosted();
  ASSERT_EQ(posted.size(), 2u);
  EXPECT_EQ(posted[0].message, static_cast<UINT>(WM_SETFOCUS));
  EXPECT_EQ(posted[1].message, static_cast<UINT>(WM_NCLBUTTONDOWN));
  EXPECT_EQ(posted[1].wParam, static_cast<WPARAM>(HTCAPTION));
  EXPECT_EQ(posted[1].lParam, 0);

  // A windowless owner (a container) never drags its window.
  ProbeUI container(L"container");
  container.XUI_GetControlMgr()->SetWnd(host.Get());
  MESSAGE_EVENT press = Event(WM_LBUTTONDOWN, 500, 500, host.Get());
  container.XUI_GetControlMgr()->DispatchMsg(&press);
  posted = host.TakePosted();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].message, static_cast<UINT>(WM_SETFOCUS));
}

TEST_F(Dispatch, MovesReachANewObjectOnceUnlessItWantsEveryMove) {
  At(WM_MOUSEMOVE, 20, 20);
  At(WM_MOUSEMOVE, 21, 20);
  At(WM_MOUSEMOVE, 22, 21);
  EXPECT_EQ(a->Count(WM_MOUSEMOVE), 1);
  EXPECT_EQ(mgr->GetHoverUI(), a);
  At(WM_MOUSEMOVE, 200, 100);  // over nothing: a hears that the mouse left
  EXPECT_EQ(a->Count(WM_MOUSELEAVE), 1);
  EXPECT_EQ(mgr->GetHoverUI(), nullptr);

  b->XUI_SetStyle(XUI_STYLE_ALLMOVES);
  At(WM_MOUSEMOVE, 100, 20);
  At(WM_MOUSEMOVE, 101, 20);
  At(WM_MOUSEMOVE, 102, 20);
  EXPECT_EQ(b->Count(WM_MOUSEMOVE), 3);
}

TEST_F(Dispatch, MovingFromOneChildToAnotherEndsTheFirstWithTheCurrentPoint) {
  At(WM_MOUSEMOVE, 20, 20);
  At(WM_MOUSEMOVE, 100, 25);
  ASSERT_EQ(a->Count(WM_MOUSELEAVE), 1);
  const uitest::Received* leave = a->Last(WM_MOUSELEAVE);
  EXPECT_EQ(leave->x, 200);
  EXPECT_EQ(leave->y, 125);
  EXPECT_EQ(leave->wParam, 0u);
  EXPECT_EQ(leave->wnd, nullptr);
  EXPECT_EQ(b->Count(WM_MOUSEMOVE), 1);
  // The new object hears the move before the old one hears the leave.
  EXPECT_EQ(b->m_received.size(), 1u);
  EXPECT_EQ(mgr->GetHoverUI(), b);

  // The window's own leave goes to the hovered object and ends hovering.
  At(WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(b->Count(WM_MOUSELEAVE), 1);
  EXPECT_EQ(mgr->GetHoverUI(), nullptr);
  At(WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(b->Count(WM_MOUSELEAVE), 1);
}

TEST_F(Dispatch, CaptureTakesMovesAndReleasesEvenOutsideItsRectangle) {
  a->XUI_SetCapture(TRUE);
  At(WM_MOUSEMOVE, 250, 150);
  At(WM_LBUTTONUP, 100, 20);  // over b
  At(WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(a->Count(WM_MOUSEMOVE), 1);
  EXPECT_EQ(a->Count(WM_LBUTTONUP), 1);
  EXPECT_EQ(a->Count(WM_MOUSELEAVE), 1);
  EXPECT_TRUE(b->m_received.empty());
  // Other messages still go by position.
  At(WM_LBUTTONDOWN, 100, 20);
  EXPECT_EQ(b->Count(WM_LBUTTONDOWN), 1);
  a->XUI_SetCapture(TRUE);  // capturing again keeps the capture
  At(WM_LBUTTONUP, 100, 20);
  EXPECT_EQ(a->Count(WM_LBUTTONUP), 2);
  a->XUI_SetCapture(FALSE);
  At(WM_LBUTTONUP, 100, 20);
  EXPECT_EQ(b->Count(WM_LBUTTONUP), 1);
}

TEST_F(Dispatch, FocusFollowsThePointAndThePreviousObjectHearsItLost) {
  At(WM_SETFOCUS, 20, 20);
  EXPECT_EQ(mgr->GetFocusUI(), a);
  EXPECT_TRUE(a->XUI_IsFocus());
  EXPECT_EQ(a->Count(WM_SETFOCUS), 1);
  At(WM_SETFOCUS, 100, 20);
  EXPECT_EQ(mgr->GetFocusUI(), b);
  EXPECT_EQ(a->Count(WM_KILLFOCUS), 1);
  EXPECT_FALSE(a->XUI_IsFocus());
  EXPECT_EQ(a->Last(WM_KILLFOCUS)->x, 200);
  At(WM_SETFOCUS, 250, 150);  // nowhere
  EXPECT_EQ(mgr->GetFocusUI(), nullptr);
  EXPECT_EQ(b->Count(WM_KILLFOCUS), 1);

  // The window losing the focus tells its owner and every child.
  owner.XUI_SetFocus(TRUE);
  At(WM_KILLFOCUS, 0, 0);
  EXPECT_FALSE(owner.XUI_IsFocus());
  EXPECT_EQ(a->Count(WM_KILLFOCUS), 2);
  EXPECT_EQ(b->Count(WM_KILLFOCUS), 2);
}

TEST_F(Dispatch, CreateReachesEveryChildAndCursorFallsBackToTheArrow) {
  At(WM_CREATE, -50, -50);
  EXPECT_EQ(a->Count(WM_CREATE), 1);
  EXPECT_EQ(b->Count(WM_CREATE), 1);

  MESSAGE_EVENT cursor = Event(WM_SETCURSOR, 300, 300, host.Get());
  cursor.bHandled = TRUE;
  mgr->DispatchMsg(&cursor);
  EXPECT_FALSE(cursor.bHandled);
  a->m_handle = true;
  MESSAGE_EVENT over = Event(WM_SETCURSOR, 120, 120, host.Get());
  mgr->DispatchMsg(&over);
  EXPECT_TRUE(over.bHandled);
  EXPECT_EQ(a->Count(WM_SETCURSOR), 1);
}

TEST_F(Dispatch, CommandsFromControlWindowsAreReflectedToThem) {
  uitest::HostWindow control(0, 0, 10, 10);
  At(WM_COMMAND, 20, 20, MAKEWPARAM(7, EN_CHANGE), reinterpret_cast<LPARAM>(control.Get()));
  ASSERT_FALSE(control.sent.empty());
  EXPECT_EQ(control.sent.back(), static_cast<UINT>(XWM_REFLECT_COMMAND));
  EXPECT_EQ(a->Count(WM_COMMAND), 0);  // a command is no mouse message
  At(WM_COMMAND, 20, 20, 1, 0);        // a menu or accelerator command goes nowhere
  EXPECT_EQ(a->Count(WM_COMMAND), 0);
}

TEST_F(Dispatch, OtherMessagesGoToTheObjectUnderThePoint) {
  a->m_result = 42;
  EXPECT_EQ(At(WM_LBUTTONDBLCLK, 20, 20), 42);
  EXPECT_EQ(At(494, 20, 20), 42);
  EXPECT_EQ(At(WM_RBUTTONUP, 250, 150), 0);
  EXPECT_EQ(a->Count(494), 1);
}

TEST_F(Dispatch, ClickEventPostsTheCommandOfANumericIdAndThenTheClick) {
  mgr->ClickEvent(L"1", 11, 22, TRUE);
  std::vector<MSG> posted = host.TakePosted();
  ASSERT_EQ(posted.size(), 2u);
  EXPECT_EQ(posted[0].message, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(posted[0].wParam, 1u);
  EXPECT_EQ(posted[0].lParam, 0);
  EXPECT_EQ(posted[1].message, 494u);
  EXPECT_EQ(posted[1].wParam, 11u);
  EXPECT_EQ(posted[1].lParam, 22);

  mgr->ClickEvent(L"close", 0, 0, FALSE);
  posted = host.TakePosted();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].message, 495u);

  mgr->ClickEvent(L"70000", 0, 0, TRUE);  // the command id is the low 16 bits
  posted = host.TakePosted();
  ASSERT_EQ(posted.size(), 2u);
  EXPECT_EQ(posted[0].wParam, static_cast<WPARAM>(70000 & 0xFFFF));
}

TEST_F(Dispatch, HoverShowsTheTooltipOfTheObjectUnderThePoint) {
  At(WM_MOUSEHOVER, 20, 20);  // no tooltip text: no tooltip window
  EXPECT_EQ(mgr->GetTooltipWnd(), nullptr);
  a->SetTooltip(L"Open the folder");
  ShowWindow(host.Get(), SW_SHOWNOACTIVATE);
  At(WM_MOUSEMOVE, 20, 20);
  At(WM_MOUSEHOVER, 20, 20);
  HWND tip = mgr->GetTooltipWnd();
  ASSERT_NE(tip, nullptr);
  wchar_t cls[64] = {0};
  GetClassNameW(tip, cls, 64);
  EXPECT_STREQ(cls, L"tooltips_class32");
  EXPECT_EQ(a->Count(WM_MOUSEHOVER), 0);  // the object itself does not hear the hover
  HWND toolWindow = nullptr;
  EXPECT_EQ(ToolText(tip, &toolWindow), L"Open the folder");
  EXPECT_EQ(toolWindow, host.Get());
  EXPECT_TRUE(IsWindowVisible(tip));
  if (const char* hold = getenv("PINVALE_UI_HOLD_MS")) xtest::PumpFor(static_cast<DWORD>(atoi(hold)));
  At(WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(tip));  // leaving ends the tooltip
}

TEST_F(Dispatch, PaintsBackgroundChildrenFirstEachLaidOutBeforeItPaints) {
  std::vector<std::wstring> log;
  auto* back = new ProbeUI(L"back");
  auto* hidden = new ProbeUI(L"hidden");
  back->XUI_SetStyle(XUI_STYLE_BACKGROUND);
  hidden->XUI_SetStyle(XUI_STYLE_BACKGROUND | XUI_STYLE_HIDDEN);
  mgr->AddUI(back);
  mgr->AddUI(hidden);
  for (ProbeUI* p : {a, b, back, hidden}) p->m_paintLog = &log;
  b->XUI_SetEnable(FALSE);  // disabled objects still paint
  // a is placed by its rule at its first paint.
  a->XUI_SetParent(&owner);
  a->GetRelayoutPtr()->SetAlignment(L"BR");
  a->GetRelayoutPtr()->SetEnable(1);
  HDC dc = CreateCompatibleDC(nullptr);
  mgr->DoPaint(dc);
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0], L"back");
  EXPECT_EQ(log[1], L"a");
  EXPECT_EQ(log[2], L"b");
  EXPECT_EQ(a->XUI_GetRect(), CRect(250, 170, 300, 200));
  EXPECT_FALSE(a->IsNeedRelayout());

  log.clear();
  mgr->DoPaintSimple(dc);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0], L"back");
  CControlMgr orphan;  // without an owner the simple pass paints nothing
  orphan.AddUI(new ProbeUI(L"x"));
  orphan.DoPaintSimple(dc);
  DeleteDC(dc);
}

TEST_F(Dispatch, ReplacedChildrenAreForgottenAsHoverAndFocus) {
  At(WM_MOUSEMOVE, 20, 20);
  At(WM_SETFOCUS, 20, 20);
  IXUIObject* old = mgr->SetUI(0, new ProbeUI(L"new"));
  EXPECT_EQ(mgr->GetHoverUI(), nullptr);
  EXPECT_EQ(mgr->GetFocusUI(), nullptr);
  XDestroyUIObject(old);
  At(WM_MOUSEMOVE, 100, 20);  // no leave reaches the destroyed object
  At(WM_SETFOCUS, 100, 20);
}

// A toolbar's buttons carry their own tooltips: the innermost object with one wins, and an
// inner object without one leaves its holder's.
TEST_F(Dispatch, TheTooltipOfAnObjectInsideAnotherIsShown) {
  ProbeUI* bar = new ProbeUI(L"bar");
  bar->XUI_SetRect(CRect(10, 60, 200, 100));
  mgr->AddUI(bar);
  ProbeUI* button = new ProbeUI(L"button");
  button->XUI_SetRect(CRect(20, 64, 50, 96));
  bar->XUI_GetControlMgr()->AddUI(button);
  ProbeUI* icon = new ProbeUI(L"icon");
  icon->XUI_SetRect(CRect(20, 64, 50, 96));
  button->XUI_GetControlMgr()->AddUI(icon);
  button->SetTooltip(L"Add a folder");
  mgr->SetAllWnd(host.Get());
  ShowWindow(host.Get(), SW_SHOWNOACTIVATE);
  At(WM_MOUSEMOVE, 30, 80);
  At(WM_MOUSEHOVER, 30, 80);
  HWND tip = mgr->GetTooltipWnd();
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(ToolText(tip), L"Add a folder");
  EXPECT_TRUE(IsWindowVisible(tip));
  At(WM_MOUSEMOVE, 40, 80);  // still over the button
  EXPECT_TRUE(IsWindowVisible(tip));
  // Over the bar beside its buttons (the window's hovered child is still the bar): the
  // button's tooltip goes, and the bar has none of its own.
  At(WM_MOUSEMOVE, 150, 80);
  EXPECT_FALSE(IsWindowVisible(tip));
  At(WM_MOUSEHOVER, 150, 80);
  EXPECT_FALSE(IsWindowVisible(tip));
}

}  // namespace
