// The object model without message routing: child lists, lookup, capture, styles and
// attributes, recursive moves, the event table, bound events, notifications to the
// application, placeholders and the class-name table.
#include <gtest/gtest.h>

#include <cstdio>

#include "ModelTestUtil.h"
#include "TestUtil.h"
#include "XTempUI.h"
#include "XUIClassTable.h"

using uitest::ProbeUI;
using uitest::WindowProbe;

namespace {

TEST(ControlMgr, AddFindAndReplaceChildren) {
  CControlMgr mgr;
  auto* a = new ProbeUI(L"ok");
  auto* b = new ProbeUI(L"b");
  EXPECT_EQ(mgr.AddUI(nullptr), -1);
  EXPECT_EQ(mgr.AddUI(a), 0);
  EXPECT_EQ(mgr.AddUI(b), 1);
  EXPECT_EQ(mgr.AddUI(a), 0);  // already present: its index, nothing added
  EXPECT_EQ(mgr.GetCount(), 2);
  EXPECT_EQ(mgr.GetUI(1), b);
  EXPECT_EQ(mgr.GetUI(2), nullptr);
  EXPECT_EQ(mgr.GetUI(-1), nullptr);

  // Lookup ignores case and does not recurse.
  auto* grandchild = new ProbeUI(L"deep");
  b->XUI_AddChild(grandchild);
  EXPECT_EQ(mgr.FindUI(L"OK"), a);
  EXPECT_EQ(mgr.GetUI(L"Ok"), a);
  EXPECT_EQ(mgr.FindUI(L"deep"), nullptr);
  EXPECT_EQ(b->XUI_GetChild(L"DEEP"), grandchild);
  EXPECT_EQ(a->XUI_GetChild(L"deep"), nullptr);  // no child list yet

  // SetUI hands back the old child, which the caller then owns.
  auto* c = new ProbeUI(L"c");
  EXPECT_EQ(mgr.SetUI(5, c), nullptr);
  IXUIObject* old = mgr.SetUI(0, c);
  EXPECT_EQ(old, a);
  EXPECT_EQ(mgr.GetUI(0), c);
  XDestroyUIObject(old);
}

TEST(ControlMgr, DestroysChildrenAndPlaceholdersByTheirOwnDestructors) {
  struct CountedPlaceholder : CXTempUI {
    explicit CountedPlaceholder(int* n) : count(n) {}
    ~CountedPlaceholder() override { ++*count; }
    int* count;
  };
  int destroyed = 0, placeholders = 0;
  {
    auto* root = new ProbeUI(L"root");
    root->m_destroyed = &destroyed;
    auto* child = new ProbeUI(L"child");
    child->m_destroyed = &destroyed;
    root->XUI_AddChild(child);
    child->XUI_AddChild(new CountedPlaceholder(&placeholders));
    XDestroyUIObject(root);
  }
  EXPECT_EQ(destroyed, 2);
  EXPECT_EQ(placeholders, 1);

  // Replacing a child list destroys the old one with its children.
  auto* owner = new ProbeUI(L"owner");
  auto* first = new ProbeUI(L"first");
  first->m_destroyed = &destroyed;
  owner->XUI_AddChild(first);
  owner->XUI_SetControlMgr(new CControlMgr(owner));
  EXPECT_EQ(destroyed, 3);
  EXPECT_EQ(owner->XUI_GetControlMgr()->GetCount(), 0);
  XDestroyUIObject(owner);
}

TEST(BaseUI, StylesAttributesAndFields) {
  ProbeUI ui(L"x");
  EXPECT_EQ(ui.XUI_GetUIType(), static_cast<DWORD>(XUI_TYPE_WINDOWLESS));
  EXPECT_STREQ(ui.CXBaseUI::XUI_GetClassName(), L"XBASEUI");
  EXPECT_TRUE(ui.XUI_IsVisible());
  ui.XUI_SetVisible(FALSE);
  ui.XUI_SetEnable(FALSE);
  EXPECT_EQ(ui.XUI_GetStyle(), static_cast<DWORD>(XUI_STYLE_HIDDEN | XUI_STYLE_DISABLED));
  ui.XUI_SetVisible(TRUE);
  EXPECT_EQ(ui.XUI_GetStyle(), static_cast<DWORD>(XUI_STYLE_DISABLED));
  EXPECT_FALSE(ui.XUI_IsEnable());

  EXPECT_TRUE(ui.XUI_SetAttribute(L"FontID", L"3, 4"));
  EXPECT_EQ(ui.GetFontID(0), 3);
  EXPECT_EQ(ui.GetFontID(1), 4);
  EXPECT_EQ(ui.GetFontID(2), 0);
  EXPECT_EQ(ui.GetFontID(4), 0);
  EXPECT_TRUE(ui.XUI_SetAttribute(L"fontid", L"1,2,3,4,5"));
  EXPECT_EQ(ui.GetFontID(3), 4);
  EXPECT_TRUE(ui.XUI_SetAttribute(L"tooltip", L"Hint"));
  EXPECT_EQ(ui.GetTooltip(), L"Hint");
  EXPECT_FALSE(ui.XUI_SetAttribute(L"color", L"1"));

  ui.XUI_SetCheck(1);
  EXPECT_EQ(ui.GetCheck(), 1);
  ui.XUI_SetID(L"New");
  EXPECT_EQ(ui.GetID(), L"New");
  EXPECT_STREQ(ui.XUI_GetID(), L"New");
  ui.XUI_SetWindowText(L"plain caption");
  EXPECT_EQ(ui.XUI_GetWindowText(), L"plain caption");
  EXPECT_EQ(ui.GetRichText(), nullptr);
  ui.XUI_SetRect(CRect(1, 2, 3, 4));
  EXPECT_EQ(ui.XUI_GetClientRect(), CRect(1, 2, 3, 4));
}

TEST(BaseUI, CaptureMovesBetweenObjectsAndDiesWithItsObject) {
  ProbeUI a(L"a"), b(L"b");
  a.XUI_SetCapture(TRUE);
  EXPECT_EQ(CXBaseUI::GetCapturedUI(), &a);
  a.XUI_SetCapture(TRUE);  // again: kept
  EXPECT_TRUE(a.XUI_IsCaptured());
  b.XUI_SetCapture(TRUE);
  EXPECT_FALSE(a.XUI_IsCaptured());
  EXPECT_EQ(CXBaseUI::GetCapturedUI(), &b);
  a.XUI_SetCapture(FALSE);  // releasing clears the pointer whoever held it
  EXPECT_EQ(CXBaseUI::GetCapturedUI(), nullptr);

  auto* doomed = new ProbeUI(L"doomed");
  doomed->XUI_SetCapture(TRUE);
  XDestroyUIObject(doomed);
  EXPECT_EQ(CXBaseUI::GetCapturedUI(), nullptr);
}

TEST(BaseUI, MovingAContainerMovesEveryDescendant) {
  uitest::HostWindow host;
  auto* box = new ProbeUI(L"box");
  auto* child = new ProbeUI(L"child");
  auto* grandchild = new ProbeUI(L"grandchild");
  box->XUI_SetRect(CRect(10, 10, 110, 60));
  child->XUI_SetRect(CRect(20, 20, 50, 40));
  grandchild->XUI_SetRect(CRect(25, 25, 30, 30));
  box->XUI_AddChild(child);
  child->XUI_AddChild(grandchild);
  box->XUI_GetControlMgr()->SetAllWnd(host.Get());
  ShowWindow(host.Get(), SW_SHOWNOACTIVATE);  // only a visible window keeps an update region
  ValidateRect(host.Get(), nullptr);
  box->XUI_MoveWindow(CRect(20, 10, 120, 60));
  EXPECT_EQ(box->XUI_GetRect(), CRect(20, 10, 120, 60));
  EXPECT_EQ(child->XUI_GetRect(), CRect(30, 20, 60, 40));
  EXPECT_EQ(grandchild->XUI_GetRect(), CRect(35, 25, 40, 30));
  // The move invalidated the new rectangle of the host window.
  RECT update;
  ASSERT_TRUE(GetUpdateRect(host.Get(), &update, FALSE));
  EXPECT_EQ(CRect(update), CRect(20, 10, 120, 60));
  XDestroyUIObject(box);
}

TEST(BaseUI, NeedRelayoutReachesEveryDescendant) {
  ProbeUI root(L"root");
  auto* child = new ProbeUI(L"child");
  auto* grandchild = new ProbeUI(L"grandchild");
  root.XUI_AddChild(child);
  child->XUI_AddChild(grandchild);
  root.NeedRelayout(FALSE);
  EXPECT_FALSE(grandchild->IsNeedRelayout());
  root.NeedRelayout(TRUE);
  EXPECT_TRUE(child->IsNeedRelayout());
  EXPECT_TRUE(grandchild->IsNeedRelayout());
}

TEST(EventTable, NamesMasksAndWindowMessages) {
  EXPECT_EQ(CXEvent::GetEventCount(), 24);
  EXPECT_STREQ(CXEvent::GetEventStrFromMsg(494), L"WM_LBUTTONCLICK");
  EXPECT_STREQ(CXEvent::GetEventStrFromMsg(495), L"WM_RBUTTONCLICK");
  EXPECT_STREQ(CXEvent::GetEventStrFromMsg(1), L"WM_CREATE");
  EXPECT_STREQ(CXEvent::GetEventStrFromMsg(786), L"WM_HOTKEY");
  EXPECT_STREQ(CXEvent::GetEventStrFromMsg(3), L"");
  EXPECT_STREQ(CXEvent::GetEventStrFromMsg(2000), L"");

  ProbeUI ui;
  int supported = 0;
  for (UINT m = 0; m < 1100; ++m) supported += ui.IsMsgSupport(m) ? 1 : 0;
  EXPECT_EQ(supported, 24);
  EXPECT_TRUE(ui.IsMsgSupport(675));
  EXPECT_FALSE(ui.IsMsgSupport(WM_PAINT));
  EXPECT_TRUE(CXEvent::IsMsgForWindowHandle(WM_COPYDATA));
  EXPECT_TRUE(CXEvent::IsMsgForWindowHandle(WM_COMMAND));
  EXPECT_TRUE(CXEvent::IsMsgForWindowHandle(WM_USER + 1));
  EXPECT_FALSE(CXEvent::IsMsgForWindowHandle(WM_USER));
}

TEST(EventTable, BoundEventsAreCutToFitAndComparedExactly) {
  ProbeUI ui;
  ui.AttachEvent(L"btn", L"WM_LBUTTONCLICK", L"OnClick");
  ui.AttachEvent(L"btn", L"WM_LBUTTONCLICK", L"OnClickAgain");  // replaces
  ASSERT_NE(ui.FindEvent(L"WM_LBUTTONCLICK"), nullptr);
  EXPECT_STREQ(ui.FindEvent(L"WM_LBUTTONCLICK")->szFunc, "OnClickAgain");
  EXPECT_STREQ(ui.FindEvent(L"WM_LBUTTONCLICK")->szID, L"btn");
  EXPECT_EQ(ui.FindEvent(L"wm_lbuttonclick"), nullptr);
  EXPECT_EQ(ui.GetEventRecordCount(), 1);

  std::wstring longName(300, L'f');
  ui.AttachEvent(longName.c_str(), L"WM_CHAR", longName.c_str());
  const XEVENT_RECORD* r = ui.FindEvent(L"WM_CHAR");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(strlen(r->szFunc), 127u);
  EXPECT_EQ(wcslen(r->szID), 127u);
  ui.RemoveEvent(L"WM_CHAR");
  EXPECT_EQ(ui.FindEvent(L"WM_CHAR"), nullptr);
  ui.RemoveAllEvent();
  EXPECT_EQ(ui.GetEventRecordCount(), 0);
}

TEST(Notify, ReachesTheApplicationCallbackWithATerminatedName) {
  ProbeUI ui(L"n");
  MESSAGE_EVENT e = uitest::Event(WM_LBUTTONDOWN, 5, 6, nullptr, 7, 8);
  EXPECT_FALSE(ui.FireNotify(&ui, &e, L"x"));  // no callback: 0
  uitest::RecordingCallback cb;
  cb.result = 1;
  EXPECT_TRUE(ui.FireNotify(&ui, &e, L"DropFiles"));
  ASSERT_EQ(cb.events.size(), 1u);
  EXPECT_EQ(cb.senders[0], &ui);
  EXPECT_STREQ(cb.events[0].szName, L"DropFiles");
  EXPECT_EQ(cb.events[0].event.uMsg, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(cb.events[0].event.wParam, 7u);
  EXPECT_EQ(cb.events[0].event.lParam, 8);
  std::wstring longName(40, L'n');
  ui.FireNotify(&ui, &e, longName.c_str());
  EXPECT_EQ(wcslen(cb.events[1].szName), 31u);
}

TEST(Notify, EventStepNotifiesTableMessagesAndWindowMessages) {
  uitest::RecordingCallback cb;
  ProbeUI control(L"c");
  WindowProbe window(L"w");
  MESSAGE_EVENT click = uitest::Event(494, 0, 0);
  control.DoEventStep(&click);
  MESSAGE_EVENT copy = uitest::Event(WM_COPYDATA, 0, 0);
  control.DoEventStep(&copy);  // windowless: not told
  MESSAGE_EVENT paint = uitest::Event(WM_PAINT, 0, 0);
  window.DoEventStep(&paint);  // neither a table message nor a window message
  window.DoEventStep(&copy);
  MESSAGE_EVENT user = uitest::Event(WM_USER + 5, 0, 0);
  window.DoEventStep(&user);
  ASSERT_EQ(cb.events.size(), 3u);
  EXPECT_EQ(cb.senders[0], static_cast<IXUIObject*>(&control));
  EXPECT_EQ(cb.events[0].event.uMsg, 494u);
  EXPECT_EQ(cb.senders[1], static_cast<IXUIObject*>(&window));
  EXPECT_EQ(cb.events[1].event.uMsg, static_cast<UINT>(WM_COPYDATA));
  EXPECT_EQ(cb.events[2].event.uMsg, static_cast<UINT>(WM_USER + 5));
}

TEST(ClassTable, MakesRegisteredClassesAndListsTheAbsentOnes) {
  IXUIObject* placeholder = CXUIClassTable::Create(L"INCLUDE");
  ASSERT_NE(placeholder, nullptr);
  EXPECT_STREQ(placeholder->XUI_GetClassName(), L"XTEMPUI");
  EXPECT_EQ(placeholder->XUI_GetUIType(), static_cast<DWORD>(XUI_TYPE_WINDOWLESS));
  EXPECT_EQ(placeholder->XUI_GetControlMgr(), nullptr);
  EXPECT_FALSE(placeholder->XUI_SetAttribute(L"rect", L"1,2,3,4"));
  XDestroyUIObject(placeholder);
  EXPECT_EQ(CXUIClassTable::Create(L"no such class"), nullptr);
  EXPECT_EQ(CXUIClassTable::Create(L""), nullptr);

  // Classes of the template grammar; those built elsewhere join the table when they exist.
  const wchar_t* names[] = {L"mainwnd", L"mainwndlayer", L"Dialog", L"dropwnd", L"menu", L"include",
                            L"button", L"toolbar", L"text", L"image", L"checkbutton", L"radiobutton",
                            L"edit", L"toolbarbutton", L"list", L"scrollbar", L"container", L"scrollcontainer"};
  std::wstring absent;
  for (const wchar_t* name : names) {
    if (!CXUIClassTable::IsRegistered(name)) {
      absent += absent.empty() ? L"" : L", ";
      absent += name;
      continue;
    }
    IXUIObject* made = CXUIClassTable::Create(name);
    EXPECT_NE(made, nullptr) << xtest::Narrow(name);
    XDestroyUIObject(made);
  }
  printf("class-name table: absent for now: %s\n", xtest::Narrow(absent).c_str());
}

}  // namespace
