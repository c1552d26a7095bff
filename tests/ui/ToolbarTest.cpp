// The toolbar scene: wiring of the shared hover and push pictures on creation, routing from
// the window to the toolbar's buttons and their group, and, in a framework main window driven
// by real mouse input, what hover, checked and a checked check box look like on the screen.
#include <gtest/gtest.h>

#include <memory>

#include "ButtonTestUtil.h"
#include "Canvas.h"
#include "ModelTestUtil.h"
#include "TessalyCtrl.h"
#include "TestUtil.h"
#include "XCheckButton.h"
#include "XEasyWnd.h"
#include "XRadioButton.h"
#include "XToolbar.h"
#include "XToolbarButton.h"

using namespace uitest;

using xtest::ScreenPixel;

namespace {

class Toolbar : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadTestSkin();
    CXCheckButton::ResetStrip();
    CXRadioButton::ResetStrip();
    IXUIObject* root = BuildTemplate(SceneTemplate());
    ASSERT_NE(root, nullptr);
    window = std::make_unique<SceneWindow>(root, L"toolbar", 100, 100, false);
    toolbar = dynamic_cast<CXToolbar*>(root->XUI_GetChild(L"toolbar"));
    ASSERT_NE(toolbar, nullptr);
    for (int i = 0; i < 3; ++i) {
      buttons[i] = dynamic_cast<CXToolbarButton*>(toolbar->XUI_GetChild(kIds[i]));
      ASSERT_NE(buttons[i], nullptr);
    }
  }
  void TearDown() override {
    window.reset();
    CXCheckButton::ResetStrip();
    CXRadioButton::ResetStrip();
  }
  int ClickAt(int x, int y) {
    window->Send(WM_MOUSEMOVE, x, y);
    window->Send(WM_LBUTTONDOWN, x, y);
    window->Send(WM_LBUTTONUP, x, y);
    return Clicks(window->TakePosted());
  }
  // Button i's top-left plus (dx, dy).
  CPoint At(int i, int dx, int dy) const {
    const CRect r = buttons[i]->XUI_GetRect();
    return CPoint(r.left + dx, r.top + dy);
  }

  static constexpr const wchar_t* kIds[3] = {L"tb.open", L"tb.find", L"tb.gear"};
  std::unique_ptr<SceneWindow> window;
  CXToolbar* toolbar = nullptr;
  CXToolbarButton* buttons[3] = {};
};

}  // namespace

TEST_F(Toolbar, CreationGivesEveryButtonTheSharedPictures) {
  auto* hover = dynamic_cast<CTessalyCtrl*>(toolbar->XUI_GetChild(L"hover"));
  auto* push = dynamic_cast<CTessalyCtrl*>(toolbar->XUI_GetChild(L"push"));
  ASSERT_NE(hover, nullptr);
  ASSERT_NE(push, nullptr);
  ASSERT_NE(hover->GetImage(), nullptr);
  EXPECT_EQ(buttons[0]->GetHoverImage(), nullptr);
  window->Send(WM_CREATE, 0, 0);
  for (CXToolbarButton* button : buttons) {
    EXPECT_EQ(button->GetHoverImage(), hover->GetImage());
    EXPECT_EQ(button->GetPushImage(), push->GetImage());
  }
  EXPECT_EQ(toolbar->XUI_GetStyle() & XUI_STYLE_ALLMOVES, static_cast<DWORD>(XUI_STYLE_ALLMOVES));

  // Pictures the toolbar keeps for itself: PNG pictures only, not painted.
  toolbar->SetImages(L"scene\\hover.png", L"t\\red40.png", L"t\\missing.png");
  EXPECT_NE(toolbar->GetImage(0), nullptr);
  EXPECT_NE(toolbar->GetImage(1), nullptr);
  EXPECT_EQ(toolbar->GetImage(2), nullptr);
  EXPECT_EQ(toolbar->GetImage(3), nullptr);
  toolbar->SetItemRect(CRect(1, 2, 3, 4), 5);
  EXPECT_EQ(toolbar->GetItemRect(), CRect(1, 2, 3, 4));
  EXPECT_EQ(toolbar->GetItemIndex(), 5);
}

TEST_F(Toolbar, TheToolbarRoutesTheMouseToItsButtonsWhichFormOneGroup) {
  window->Send(WM_CREATE, 0, 0);
  const CPoint find = At(1, 10, 10), gear = At(2, 10, 10);
  window->Send(WM_MOUSEMOVE, find.x, find.y);
  EXPECT_EQ(buttons[1]->GetState(), XBUTTON_HOVER);
  window->Send(WM_MOUSEMOVE, gear.x, gear.y);
  EXPECT_EQ(buttons[1]->GetState(), XBUTTON_NORMAL);
  EXPECT_EQ(buttons[2]->GetState(), XBUTTON_HOVER);
  // Leaving the window leaves the toolbar and its hovered button.
  window->Send(WM_MOUSELEAVE, -5, -5);
  EXPECT_EQ(buttons[2]->GetState(), XBUTTON_NORMAL);

  const CPoint open = At(0, 10, 10);
  EXPECT_EQ(ClickAt(open.x, open.y), 1);
  EXPECT_EQ(buttons[0]->GetCheck(), 1);
  EXPECT_EQ(ClickAt(find.x, find.y), 1);
  EXPECT_EQ(buttons[1]->GetCheck(), 1);
  EXPECT_EQ(buttons[0]->GetCheck(), 0);
  EXPECT_EQ(buttons[2]->GetCheck(), 0);
}

namespace {

// Moves the real mouse (through the system's input queue) to a screen point.
void MouseTo(int x, int y) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dx = (x * 65535 + (w - 1) / 2) / (w - 1);
  in.mi.dy = (y * 65535 + (h - 1) / 2) / (h - 1);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

}  // namespace

// The whole way from real mouse input: the main window's procedure, its child list, the
// toolbar and its buttons, and the window's own painting on the screen.
TEST(ToolbarInMainWindow, RealMouseInputHoversChecksAndPaints) {
  LoadTestSkin();
  CXCheckButton::ResetStrip();
  const int x0 = 300, y0 = 260;
  IXUIObject* root = BuildTemplate(SceneTemplate("mainwnd", x0, y0));
  auto* wnd = dynamic_cast<CXEasyWnd*>(root);
  ASSERT_NE(wnd, nullptr);
  wnd->SetBkColor(RGB(0xF0, 0xF0, 0xF0));
  wnd->GetRelayoutPtr()->SetEnable(0);
  wnd->XUI_SetAttribute(L"visible", L"1");
  CRect r = wnd->XUI_GetRect();
  ASSERT_NE(wnd->Create(nullptr, &r, L"Toolbar scene", WS_POPUP, 0, nullptr), nullptr);
  wnd->RelocateWnd();
  SetForegroundWindow(wnd->GetHWND());
  auto* toolbar = dynamic_cast<CXToolbar*>(root->XUI_GetChild(L"toolbar"));
  ASSERT_NE(toolbar, nullptr);
  auto* open = dynamic_cast<CXToolbarButton*>(toolbar->XUI_GetChild(L"tb.open"));
  auto* find = dynamic_cast<CXToolbarButton*>(toolbar->XUI_GetChild(L"tb.find"));
  auto* check = dynamic_cast<CXCheckButton*>(root->XUI_GetChild(L"check.top"));
  ASSERT_TRUE(open && find && check);
  EXPECT_NE(find->GetHoverImage(), nullptr);  // wired when the window was created

  const CRect o = open->XUI_GetRect(), f = find->XUI_GetRect();
  MouseTo(x0 + o.left + 10, y0 + o.top + 10);
  EXPECT_TRUE(xtest::WaitFor([&] { return open->GetState() == XBUTTON_HOVER; }));
  xtest::SendMouseEvent(MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(xtest::WaitFor([&] { return open->GetState() == XBUTTON_PUSHED; }));
  xtest::SendMouseEvent(MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(xtest::WaitFor([&] { return open->GetCheck() == 1; }));
  MouseTo(x0 + 28, y0 + 104);
  EXPECT_TRUE(xtest::WaitFor([&] { return check->GetState() == XBUTTON_HOVER; }));
  xtest::SendMouseEvent(MOUSEEVENTF_LEFTDOWN);
  xtest::SendMouseEvent(MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(xtest::WaitFor([&] { return check->GetCheck() == 1; }));
  MouseTo(x0 + f.left + 10, y0 + f.top + 10);
  EXPECT_TRUE(xtest::WaitFor([&] { return find->GetState() == XBUTTON_HOVER && open->GetState() == XBUTTON_NORMAL; }));

  // What the window painted, read from the screen.
  const bool painted = xtest::WaitFor([&] { return ScreenPixel(x0 + f.left + 3, y0 + f.top + 3) == kHoverFill; });
  EXPECT_TRUE(painted) << std::hex << ScreenPixel(x0 + f.left + 3, y0 + f.top + 3);
  EXPECT_EQ(ScreenPixel(x0 + o.left + 3, y0 + o.top + 3), kPushFill);
  const DWORD gear = ScreenPixel(x0 + f.left + 64 + 3, y0 + f.top + 3);  // neither: the toolbar's own
  EXPECT_NE(gear, kHoverFill);
  EXPECT_NE(gear, kPushFill);
  EXPECT_NE(gear, kSceneBack);
  // Icons stay over the state pictures in every state: the magnifier's glass (its picture's
  // pixel 10, 10, centred 8 pixels below the top) on the hovered button.
  EXPECT_EQ(ScreenPixel(x0 + f.left + 18 + 10, y0 + f.top + 8 + 10), 0xCFE4F7u);
  // The check box's tick over its box, the dot of the radio button checked by the template,
  // and the push button's background in the normal state.
  EXPECT_EQ(ScreenPixel(x0 + 26, y0 + 106), kCheckTick);
  EXPECT_EQ(ScreenPixel(x0 + 28, y0 + 158), kCheckTick);
  EXPECT_NE(ScreenPixel(x0 + 28, y0 + 132), kCheckTick);
  EXPECT_EQ(ScreenPixel(x0 + 233, y0 + 143), kButtonFill[0]);

  DestroyWindow(wnd->GetHWND());
  XDestroyUIObject(root);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}
