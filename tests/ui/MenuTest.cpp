// The skinned popup menu as a real window under Wine: geometry and hit bands, attributes,
// building from a packed skin template, hover painting read back from the screen, the
// choice notification, and every way the menu closes (or does not).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "ModelTestUtil.h"
#include "RichTextTestUtil.h"
#include "TestUtil.h"
#include "UiTestUtil.h"
#include "XAppTemplate.h"
#include "XMenu.h"
#include "XSkinPackage.h"
#include "XSkinRegistry.h"
#include "XUIClassTable.h"

using uitest::ColorPicture;
using uitest::Canvas;

namespace {

const int kNormalFont = 31, kHoverFont = 32;
const COLORREF kHoverBlue = RGB(0, 120, 215), kSeparatorGrey = RGB(160, 160, 160);

class TestMenu : public CXMenu {
 public:
  using CXMenu::CalcMenuRect;
  using CXMenu::GetMenuSize;
  using CXMenu::HitTest;
};

struct MenuDeleter {
  void operator()(CXMenu* menu) const { XDestroyUIObject(menu); }
};
using MenuPtr = std::unique_ptr<CXMenu, MenuDeleter>;

class Menus : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    uitest::AddTestFont(kNormalFont, RGB(0, 0, 0));
    uitest::AddTestFont(kHoverFont, RGB(255, 255, 255), -14, FW_BOLD);
    ASSERT_EQ(CXSkinPackage::Instance().Load(uitest::TestSkin(L"richtext").c_str()), 1);
    CXSkinRegistry::Instance().Clear();
    CXAppTemplate start;
    ASSERT_EQ(start.ReadFromPackage(L"oninit.x"), 1);
  }
  void SetUp() override {
    m_savedImage = CXUIClassTable::Find(L"image");
    CXUIClassTable::Register(L"image", &XCreateUIObjectOf<ColorPicture>);
  }
  void TearDown() override {
    CXUIClassTable::Unregister(L"image");
    if (m_savedImage) CXUIClassTable::Register(L"image", m_savedImage);
    ReleaseCapture();
  }

  // The skin's menu with Open / separator / Quit, shown at (300, 200).
  MenuPtr ShownMenu() {
    MenuPtr menu(CXMenu::CreateXMenu(L"traymenu"));
    if (!menu || !menu->CreateMenu()) return nullptr;
    Fill(*menu);
    menu->TrackPopupMenu(300, 200);
    xtest::PumpFor(50);
    return menu;
  }
  static void Fill(CXMenu& menu) {
    menu.InsertMenuW(0, MF_STRING, L"Open", nullptr);
    menu.InsertMenuW(1, MF_SEPARATOR, L"", nullptr);
    menu.InsertMenuW(2, MF_STRING, L"Quit", nullptr);
  }
  // Moves the cursor to a point of the shown menu's client area and sends a message there.
  static void At(CXMenu& menu, UINT msg, int cx, int cy) {
    SetCursorPos(300 + cx, 200 + cy);
    SendMessageW(menu.GetHWND(), msg, 0, MAKELPARAM(cx, cy));
  }

 private:
  PFN_XCreateUIObject m_savedImage = nullptr;
};

TEST_F(Menus, TwoItemsAroundASeparatorGiveTheirSizeAndBands) {
  TestMenu menu;
  Fill(menu);
  EXPECT_EQ(menu.GetMenuSize().cy, 48);
  const int textWidth = std::max(uitest::MeasureText(0, L"Open").cx, uitest::MeasureText(0, L"Quit").cx);
  EXPECT_EQ(menu.GetMenuSize().cx, textWidth);
  EXPECT_EQ(menu.XUI_GetRect(), CRect(0, 0, textWidth + 6, 48));
  const int w = textWidth + 6;
  ASSERT_EQ(menu.GetItemCount(), 3);
  EXPECT_EQ(CRect(menu.GetItem(0)->rect), CRect(0, 2, w, 22));
  EXPECT_EQ(CRect(menu.GetItem(1)->rect), CRect(0, 22, w, 25));
  EXPECT_EQ(CRect(menu.GetItem(2)->rect), CRect(0, 25, w, 45));
  EXPECT_EQ(menu.GetItem(1)->state, 0x1000u);

  // The bands that are drawn are the bands that are hit.
  EXPECT_EQ(menu.HitTest(POINT{5, 1}), -1);
  EXPECT_EQ(menu.HitTest(POINT{5, 2}), 0);
  EXPECT_EQ(menu.HitTest(POINT{5, 21}), 0);
  EXPECT_EQ(menu.HitTest(POINT{5, 22}), 1);
  EXPECT_EQ(menu.HitTest(POINT{w - 1, 24}), 1);
  EXPECT_EQ(menu.HitTest(POINT{5, 25}), 2);
  EXPECT_EQ(menu.HitTest(POINT{5, 46}), -1);
  EXPECT_EQ(menu.HitTest(POINT{w, 10}), -1);
}

TEST_F(Menus, InsertsByPositionKeepsTextsBoundedAndRemembersBitmaps) {
  TestMenu menu;
  menu.InsertMenuW(0, MF_STRING, L"b", nullptr);
  menu.InsertMenuW(0, MF_STRING, L"a", nullptr);
  menu.InsertMenuW(99, MF_STRING, L"c", nullptr);
  EXPECT_EQ(menu.GetMenuStringW(0), L"a");
  EXPECT_EQ(menu.GetMenuStringW(1), L"b");
  EXPECT_EQ(menu.GetMenuStringW(2), L"c");
  EXPECT_EQ(menu.GetMenuStringW(3), L"");
  EXPECT_EQ(menu.GetMenuStringW(-1), L"");
  EXPECT_FALSE(menu.HasBitmap());
  menu.InsertMenuW(3, MF_STRING, std::wstring(300, L'x').c_str(), reinterpret_cast<HBITMAP>(1));
  EXPECT_EQ(menu.GetMenuStringW(3).GetLength(), 127);
  EXPECT_TRUE(menu.HasBitmap());
  menu.InsertMenuW(4, MF_STRING, nullptr, nullptr);
  EXPECT_EQ(menu.GetMenuStringW(4), L"");
  EXPECT_EQ(menu.XUI_GetRect().Height(), 5 * 20 + 5);
}

TEST_F(Menus, FontIdsAndItemHeightFromAttributes) {
  TestMenu menu;
  EXPECT_TRUE(menu.XUI_SetAttribute(L"fontid", L"1,2,5,6"));
  EXPECT_TRUE(menu.XUI_SetAttribute(L"FontID", L"3, 4"));
  EXPECT_EQ(menu.GetFontID(0), 3);
  EXPECT_EQ(menu.GetFontID(1), 4);
  EXPECT_EQ(menu.GetFontID(2), 5);
  EXPECT_EQ(menu.GetFontID(3), 6);
  menu.XUI_SetAttribute(L"itemheight", L"24");
  EXPECT_EQ(menu.GetItemHeight(), 24);
  menu.InsertMenuW(0, MF_STRING, L"x", nullptr);
  EXPECT_EQ(menu.XUI_GetRect().Height(), 24 + 5);
  EXPECT_STREQ(menu.XUI_GetClassName(), L"XMENU");
  EXPECT_STREQ(menu.GetClassNameW(), L"XMenu");
}

TEST_F(Menus, IsBuiltFromItsTemplateOnly) {
  EXPECT_EQ(CXMenu::CreateXMenu(L"no such template"), nullptr);
  EXPECT_EQ(CXMenu::CreateXMenu(L"notamenu"), nullptr);  // its root is an edit field
  MenuPtr menu(CXMenu::CreateXMenu(L"TrayMenu"));
  ASSERT_NE(menu, nullptr);
  EXPECT_STREQ(menu->XUI_GetID(), L"traymenu");
  EXPECT_EQ(menu->GetFontID(0), kNormalFont);
  EXPECT_EQ(menu->GetFontID(1), kHoverFont);
  EXPECT_EQ(menu->GetItemHeight(), 22);
  EXPECT_NE(dynamic_cast<ColorPicture*>(menu->XUI_GetChild(L"hover")), nullptr);
  EXPECT_NE(dynamic_cast<ColorPicture*>(menu->XUI_GetChild(L"Seperator")), nullptr);
  // The class-name table makes menus too.
  IXUIObject* made = CXUIClassTable::Create(L"menu");
  EXPECT_NE(dynamic_cast<CXMenu*>(made), nullptr);
  XDestroyUIObject(made);
}

TEST_F(Menus, ShowsAtThePointWithTheMouseCapturedAndPaintsTheHoverItem) {
  MenuPtr menu = ShownMenu();
  ASSERT_NE(menu, nullptr);
  HWND wnd = menu->GetHWND();
  ASSERT_TRUE(IsWindowVisible(wnd));
  EXPECT_EQ(GetCapture(), wnd);
  CRect r;
  GetWindowRect(wnd, &r);
  const int w = menu->XUI_GetRect().Width();
  EXPECT_EQ(r, CRect(300, 200, 300 + w, 200 + 22 + 3 + 22 + 5));
  EXPECT_EQ(static_cast<DWORD>(GetClassLongW(wnd, GCL_STYLE)), 0x20803u);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(wnd, GWL_EXSTYLE)) & WS_EX_TOOLWINDOW, static_cast<DWORD>(WS_EX_TOOLWINDOW));

  At(*menu, WM_MOUSEMOVE, 10, 30);
  EXPECT_EQ(menu->GetHoverItem(), 2);
  UpdateWindow(wnd);
  xtest::PumpFor(100);
  Canvas shot(w, 52);
  xtest::CaptureScreen(r, shot);
  // Items of 22 pixels: Open at 2-24, the separator at 24-27, Quit at 27-49. The hover
  // picture fills the hovered item inset by 2 and carries its white text; the separator
  // picture sits one pixel below its band, 2 pixels in from each side.
  EXPECT_GT(shot.Count(kHoverBlue, RECT{2, 29, w - 2, 47}), (w - 4) * 18 / 2);
  EXPECT_GT(shot.Count(RGB(255, 255, 255), RECT{4, 31, w - 4, 45}), 5);
  EXPECT_EQ(shot.Count(kHoverBlue, RECT{0, 0, w, 29}), 0);
  EXPECT_EQ(shot.Count(kSeparatorGrey, RECT{2, 25, w - 2, 28}), (w - 4) * 3);
  EXPECT_EQ(shot.Count(kSeparatorGrey, RECT{0, 0, 2, 52}), 0);
  EXPECT_GT(shot.Count(RGB(0, 0, 0), RECT{3, 2, w, 24}), 5);  // "Open" in the normal font

  // Moving onto the first item moves the highlight.
  At(*menu, WM_MOUSEMOVE, 10, 10);
  EXPECT_EQ(menu->GetHoverItem(), 0);
}

TEST_F(Menus, AClickOnTheSeparatorKeepsItOpenAndAClickOnAnItemReportsIt) {
  uitest::RecordingCallback callback;
  MenuPtr menu = ShownMenu();
  ASSERT_NE(menu, nullptr);
  HWND wnd = menu->GetHWND();
  At(*menu, WM_LBUTTONDOWN, 10, 25);  // the separator band
  EXPECT_TRUE(IsWindow(wnd));
  EXPECT_TRUE(callback.events.empty());

  At(*menu, WM_LBUTTONDOWN, 10, 30);
  EXPECT_FALSE(IsWindow(wnd));
  ASSERT_EQ(callback.events.size(), 1u);
  EXPECT_EQ(callback.senders[0], static_cast<IXUIObject*>(menu.get()));
  const NOTIFY_EVENT& e = callback.events[0];
  EXPECT_STREQ(e.szName, L"MenuClick");
  EXPECT_EQ(e.event.wParam, 2u);
  EXPECT_EQ(e.event.uMsg, 0u);
  EXPECT_EQ(e.event.hWnd, nullptr);
  EXPECT_EQ(e.event.lParam, 0);
  // Closing empties the menu and frees the mouse; the object stays usable.
  EXPECT_EQ(menu->GetItemCount(), 0);
  EXPECT_NE(GetCapture(), wnd);
  EXPECT_EQ(menu->GetHWND(), nullptr);
  Fill(*menu);
  EXPECT_TRUE(menu->TrackPopupMenu(320, 220));
  EXPECT_TRUE(IsWindowVisible(menu->GetHWND()));
}

TEST_F(Menus, AClickOutsideClosesItWithoutANotification) {
  uitest::RecordingCallback callback;
  MenuPtr menu = ShownMenu();
  ASSERT_NE(menu, nullptr);
  HWND wnd = menu->GetHWND();
  At(*menu, WM_LBUTTONDOWN, -50, -50);
  EXPECT_FALSE(IsWindow(wnd));
  EXPECT_TRUE(callback.events.empty());
}

TEST_F(Menus, RightClicksCloseOnlyOutside) {
  MenuPtr menu = ShownMenu();
  ASSERT_NE(menu, nullptr);
  HWND wnd = menu->GetHWND();
  At(*menu, WM_RBUTTONDOWN, 10, 10);
  EXPECT_TRUE(IsWindow(wnd));
  At(*menu, WM_RBUTTONDOWN, 10, 400);
  EXPECT_FALSE(IsWindow(wnd));
}

TEST_F(Menus, EveryClosingKeyClosesItAndOtherKeysDoNot) {
  struct Key {
    UINT msg;
    WPARAM key;
  };
  const Key closing[] = {{WM_KEYDOWN, VK_ESCAPE},   {WM_KEYDOWN, VK_LWIN},      {WM_KEYDOWN, VK_RWIN},
                         {WM_KEYDOWN, VK_LCONTROL}, {WM_KEYDOWN, VK_RCONTROL},  {WM_KEYDOWN, VK_CONTROL},
                         {WM_SYSKEYDOWN, VK_MENU},  {WM_SYSKEYDOWN, VK_RMENU}};
  for (const Key& k : closing) {
    MenuPtr menu = ShownMenu();
    ASSERT_NE(menu, nullptr);
    HWND wnd = menu->GetHWND();
    SendMessageW(wnd, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(wnd, WM_SYSKEYDOWN, 'F', 0);
    EXPECT_TRUE(IsWindow(wnd));
    SendMessageW(wnd, k.msg, k.key, 0);
    EXPECT_FALSE(IsWindow(wnd)) << "key " << k.key;
  }
}

TEST_F(Menus, ARealCtrlPressAndFocusLossCloseIt) {
  MenuPtr menu = ShownMenu();
  ASSERT_NE(menu, nullptr);
  HWND wnd = menu->GetHWND();
  ASSERT_EQ(GetFocus(), wnd);
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = VK_LCONTROL;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof in[0]);
  EXPECT_TRUE(xtest::WaitFor([&] { return !IsWindow(wnd); }, 3000));

  menu = ShownMenu();
  ASSERT_NE(menu, nullptr);
  wnd = menu->GetHWND();
  uitest::HostWindow other;
  ShowWindow(other.Get(), SW_SHOW);
  SetFocus(other.Get());
  EXPECT_FALSE(IsWindow(wnd));
}

TEST_F(Menus, DestroyingTheObjectTakesItsOpenWindowAlong) {
  MenuPtr menu = ShownMenu();
  ASSERT_NE(menu, nullptr);
  HWND wnd = menu->GetHWND();
  menu.reset();
  EXPECT_FALSE(IsWindow(wnd));
  EXPECT_NE(GetCapture(), wnd);
}

TEST_F(Menus, AnItemInsertedWhileShowingResizesTheWindow) {
  MenuPtr menu = ShownMenu();
  ASSERT_NE(menu, nullptr);
  menu->InsertMenuW(99, MF_STRING, L"A much longer item text", nullptr);
  CRect r;
  GetWindowRect(menu->GetHWND(), &r);
  EXPECT_EQ(r.Height(), 22 * 3 + 3 + 5);
  EXPECT_EQ(r, menu->XUI_GetRect());
}

}  // namespace
