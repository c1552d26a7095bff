// The toolbar scene in a real (hidden) window: wiring of the shared hover and push pictures on
// creation, routing from the window to the toolbar's buttons, their group, and the painted
// result of hover, checked and a checked check box (written out when BUTTON_SCENE names a
// .bmp file, for looking at).
#include <gtest/gtest.h>

#include <memory>

#include "ButtonTestUtil.h"
#include "Canvas.h"
#include "ModelTestUtil.h"
#include "TessalyCtrl.h"
#include "XCheckButton.h"
#include "XRadioButton.h"
#include "XToolbar.h"
#include "XToolbarButton.h"

using namespace uitest;
using xtest::Canvas;

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

TEST_F(Toolbar, PaintsHoverCheckedAndACheckedCheckBox) {
  window->Send(WM_CREATE, 0, 0);
  const CPoint openButton = At(0, 10, 10), find = At(1, 10, 10);
  EXPECT_EQ(ClickAt(openButton.x, openButton.y), 1);
  EXPECT_EQ(ClickAt(28, 104), 1);  // the check box
  window->Send(WM_MOUSEMOVE, find.x, find.y);
  auto* check = dynamic_cast<CXCheckButton*>(window->Root()->XUI_GetChild(L"check.top"));
  ASSERT_NE(check, nullptr);
  EXPECT_EQ(check->GetCheck(), 1);

  Canvas c(360, 190);
  dynamic_cast<CXBaseUI*>(window->Root())->DoPaint(c.Dc());
  wchar_t path[MAX_PATH] = {0};
  if (GetEnvironmentVariableW(L"BUTTON_SCENE", path, MAX_PATH) > 0) {
    EXPECT_TRUE(c.SaveBmp(path));
  }

  const CPoint openFill = At(0, 3, 3), findFill = At(1, 3, 3), gearFill = At(2, 3, 3);
  EXPECT_EQ(c.At(openFill.x, openFill.y), kPushFill);    // checked: the push picture
  EXPECT_EQ(c.At(findFill.x, findFill.y), kHoverFill);   // in hover: the hover picture
  const DWORD gearBack = c.At(gearFill.x, gearFill.y);   // neither: the toolbar's background
  EXPECT_NE(gearBack, kHoverFill);
  EXPECT_NE(gearBack, kPushFill);
  EXPECT_NE(gearBack, kSceneBack);
  // The icons lie over the state pictures, centred 8 pixels below the top, in every state:
  // the magnifier's glass (its picture's pixel 10, 10) on the hovered button.
  const CPoint open = At(0, 30, 8 + 12), glass = At(1, 18 + 10, 8 + 10);
  EXPECT_NE(c.At(open.x, open.y), kPushFill);
  EXPECT_EQ(c.At(glass.x, glass.y), 0xCFE4F7u);
  // The check box: the checked frame's tick over the box.
  EXPECT_EQ(c.At(20 + 6, 96 + 10), kCheckTick);
  // The second radio button of group 7 is checked by its template: its dot.
  EXPECT_EQ(c.At(20 + 8, 150 + 8), kCheckTick);
  EXPECT_NE(c.At(20 + 8, 124 + 8), kCheckTick);
  // The push button's background in the normal state.
  EXPECT_EQ(c.At(233, 143), kButtonFill[0]);
}
